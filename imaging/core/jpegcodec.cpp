#include "imaging/core/jpegcodec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

extern "C" {
#include <jpeglib.h>
#include <jerror.h>
}

namespace tsl {

namespace {

// libjpeg's standard error manager whose exit jumps back to the caller.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  std::string* message;
};

void ErrorExit(j_common_ptr c) {
  auto* e = reinterpret_cast<ErrorManager*>(c->err);
  (*c->err->output_message)(c);
  std::longjmp(e->jump, 1);
}

void OutputMessage(j_common_ptr c) {
  auto* e = reinterpret_cast<ErrorManager*>(c->err);
  char text[JMSG_LENGTH_MAX];
  (*c->err->format_message)(c, text);
  if (e->message)
    *e->message = text;
  else
    std::fprintf(stderr, "%s\n", text);
}

void InitErrors(ErrorManager& e, std::string* message) {
  jpeg_std_error(&e.pub);
  e.pub.error_exit = ErrorExit;
  e.pub.output_message = OutputMessage;
  e.message = message;
}

constexpr size_t kBufferBytes = 16384;

struct Source {
  jpeg_source_mgr pub;
  ByteStream* in;
  JOCTET buffer[kBufferBytes];
};

void InitSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr c) {
  auto* s = reinterpret_cast<Source*>(c->src);
  uint32_t n = s->in->Read(s->buffer, kBufferBytes);
  if (n == 0) {
    // Ends a cut-off stream with an end-of-image marker, as the stdio source
    // does, after a warning.
    WARNMS(c, JWRN_JPEG_EOF);
    s->buffer[0] = 0xFF;
    s->buffer[1] = JPEG_EOI;
    n = 2;
  }
  s->pub.next_input_byte = s->buffer;
  s->pub.bytes_in_buffer = n;
  return TRUE;
}

void SkipInput(j_decompress_ptr c, long count) {
  auto* s = reinterpret_cast<Source*>(c->src);
  while (count > 0) {
    if (size_t(count) <= s->pub.bytes_in_buffer) {
      s->pub.next_input_byte += count;
      s->pub.bytes_in_buffer -= size_t(count);
      return;
    }
    count -= long(s->pub.bytes_in_buffer);
    FillInput(c);
  }
}

void TermSource(j_decompress_ptr) {}

struct Destination {
  jpeg_destination_mgr pub;
  ByteStream* out;
  JOCTET buffer[kBufferBytes];
};

void InitDestination(j_compress_ptr c) {
  auto* d = reinterpret_cast<Destination*>(c->dest);
  d->pub.next_output_byte = d->buffer;
  d->pub.free_in_buffer = kBufferBytes;
}

boolean EmptyOutput(j_compress_ptr c) {
  auto* d = reinterpret_cast<Destination*>(c->dest);
  if (d->out->Write(d->buffer, kBufferBytes) != kBufferBytes) ERREXIT(c, JERR_FILE_WRITE);
  d->pub.next_output_byte = d->buffer;
  d->pub.free_in_buffer = kBufferBytes;
  return TRUE;
}

void TermDestination(j_compress_ptr c) {
  auto* d = reinterpret_cast<Destination*>(c->dest);
  const uint32_t n = uint32_t(kBufferBytes - d->pub.free_in_buffer);
  if (n && d->out->Write(d->buffer, n) != n) ERREXIT(c, JERR_FILE_WRITE);
}

// All that the jump may leave behind lives here, in memory the jump does
// not touch.
struct ReadState {
  jpeg_decompress_struct info;
  ErrorManager errors;
  Source source;
  DibHandle dib = nullptr;
  uint8_t* base = nullptr;
};

bool Decode(const DibPlatform& p, ReadState& s) {
  jpeg_read_header(&s.info, TRUE);
  // Whole-picture buffers (progressive pictures) stay within reason.
  s.info.mem->max_memory_to_use = 512L << 20;
#ifdef JCS_EXTENSIONS
  if (s.info.out_color_space == JCS_RGB) s.info.out_color_space = JCS_EXT_BGR;
#endif
  jpeg_calc_output_dimensions(&s.info);
  const J_COLOR_SPACE space = s.info.out_color_space;
  const bool grey = space == JCS_GRAYSCALE;
#ifdef JCS_EXTENSIONS
  const bool colour = space == JCS_EXT_BGR || space == JCS_RGB;
#else
  const bool colour = space == JCS_RGB;
#endif
  if (!grey && !colour) return false;
  const bool mapped = colour && s.info.quantize_colors;
  const uint16_t bits = grey || mapped ? 8 : 24;
  const uint32_t colours = bits == 8 ? 256 : 0;
  const int64_t w = s.info.output_width, h = s.info.output_height;
  const uint64_t row = RowBytesFor(w, bits);
  const uint64_t total = kInfoHeaderBytes + 4ull * colours + row * uint64_t(h);
  if (w <= 0 || h <= 0 || total > kMaxDibBytes) return false;
  // The library writes every pixel; only the header, the table and the row
  // padding are filled here, and rows it leaves out are cleared below.
  s.dib = p.Alloc(size_t(total), false);
  if (!s.dib) return false;
  s.base = p.Lock(s.dib);
  if (!s.base) return false;
  std::memset(s.base, 0, kInfoHeaderBytes + 4 * size_t(colours));
  auto* header = reinterpret_cast<DibInfoHeader*>(s.base);
  *header = DibInfoHeader{kInfoHeaderBytes, int32_t(w), int32_t(h), 1, bits, kBiRgb, uint32_t(row * uint64_t(h)),
                          kDefaultPelsPerMeter, kDefaultPelsPerMeter, colours, 0};
  auto* table = reinterpret_cast<DibRgbQuad*>(s.base + kInfoHeaderBytes);
  if (grey)
    for (uint32_t i = 0; i < 256; ++i) table[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
  uint8_t* rows = s.base + kInfoHeaderBytes + 4 * colours;
  jpeg_start_decompress(&s.info);
  if (int64_t(s.info.output_width) != w || int64_t(s.info.output_height) != h) return false;
  const bool swap = colour && !mapped && space == JCS_RGB;
  const uint64_t used = uint64_t(w) * (bits / 8);
  // Several rows a call: with fewer than the upsampler's row group the
  // library decodes into a spare buffer and copies.
  constexpr JDIMENSION kRowsPerCall = 16;
  while (s.info.output_scanline < s.info.output_height) {
    JSAMPROW r[kRowsPerCall];
    const JDIMENSION first = s.info.output_scanline;
    const JDIMENSION n = std::min<JDIMENSION>(kRowsPerCall, s.info.output_height - first);
    for (JDIMENSION i = 0; i < n; ++i) {
      r[i] = rows + (uint64_t(h) - 1 - first - i) * row;
      if (used < row) std::memset(r[i] + used, 0, size_t(row - used));
    }
    const JDIMENSION got = jpeg_read_scanlines(&s.info, r, n);
    if (got == 0) break;
    if (swap)
      for (JDIMENSION i = 0; i < got; ++i)
        for (int64_t x = 0; x < w; ++x) std::swap(r[i][3 * x], r[i][3 * x + 2]);
  }
  // Rows the library did not deliver show black.
  std::memset(rows, 0, size_t(uint64_t(h) - s.info.output_scanline) * size_t(row));
  if (mapped && s.info.colormap) {
    const int n = s.info.actual_number_of_colors < 256 ? s.info.actual_number_of_colors : 256;
    for (int i = 0; i < n; ++i)
      table[i] = {s.info.colormap[2][i], s.info.colormap[1][i], s.info.colormap[0][i], 0};
  }
  jpeg_finish_decompress(&s.info);
  return true;
}

struct WriteState {
  jpeg_compress_struct info;
  ErrorManager errors;
  Destination dest;
};

void Encode(WriteState& s, const uint8_t* rgb, int width, int height, int quality) {
  s.info.image_width = JDIMENSION(width);
  s.info.image_height = JDIMENSION(height);
  s.info.input_components = 3;
  s.info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&s.info);
  jpeg_set_quality(&s.info, quality, TRUE);
  jpeg_start_compress(&s.info, TRUE);
  while (s.info.next_scanline < s.info.image_height) {
    JSAMPROW r = const_cast<uint8_t*>(rgb) + size_t(s.info.next_scanline) * size_t(width) * 3;
    jpeg_write_scanlines(&s.info, &r, 1);
  }
  jpeg_finish_compress(&s.info);
}

}  // namespace

DibHandle ReadJpegDib(const DibPlatform& p, ByteStream& in, std::string* message) {
  auto s = std::make_unique<ReadState>();
  InitErrors(s->errors, message);
  s->info.err = &s->errors.pub;
  if (setjmp(s->errors.jump)) {
    jpeg_destroy_decompress(&s->info);
    if (s->dib) {
      if (s->base) p.Unlock(s->dib);
      p.Free(s->dib);
    }
    return nullptr;
  }
  jpeg_CreateDecompress(&s->info, JPEG_LIB_VERSION, sizeof s->info);
  s->source.in = &in;
  s->source.pub.init_source = InitSource;
  s->source.pub.fill_input_buffer = FillInput;
  s->source.pub.skip_input_data = SkipInput;
  s->source.pub.resync_to_restart = jpeg_resync_to_restart;
  s->source.pub.term_source = TermSource;
  s->source.pub.bytes_in_buffer = 0;
  s->source.pub.next_input_byte = nullptr;
  s->info.src = &s->source.pub;
  const bool ok = Decode(p, *s);
  jpeg_destroy_decompress(&s->info);
  if (s->base) p.Unlock(s->dib);
  if (!ok && s->dib) {
    p.Free(s->dib);
    s->dib = nullptr;
  }
  return s->dib;
}

bool WriteJpegRgb(ByteStream& out, const uint8_t* rgb, int width, int height, int quality, std::string* message) {
  if (!rgb || width <= 0 || height <= 0 || width > 65500 || height > 65500) return false;
  auto s = std::make_unique<WriteState>();
  InitErrors(s->errors, message);
  s->info.err = &s->errors.pub;
  if (setjmp(s->errors.jump)) {
    jpeg_destroy_compress(&s->info);
    return false;
  }
  jpeg_CreateCompress(&s->info, JPEG_LIB_VERSION, sizeof s->info);
  s->dest.out = &out;
  s->dest.pub.init_destination = InitDestination;
  s->dest.pub.empty_output_buffer = EmptyOutput;
  s->dest.pub.term_destination = TermDestination;
  s->info.dest = &s->dest.pub;
  Encode(*s, rgb, width, height, quality);
  jpeg_destroy_compress(&s->info);
  return true;
}

}  // namespace tsl
