#include "imaging/core/quantize.h"

#include <climits>
#include <cstring>

namespace {
constexpr int kCycles = 100;
constexpr int kNetBiasShift = 4;  // colours are held × 16
constexpr int kIntBiasShift = 16;
constexpr int kIntBias = 1 << kIntBiasShift;
constexpr int kGammaShift = 10;
constexpr int kBetaShift = 10;
constexpr int kBeta = kIntBias >> kBetaShift;
constexpr int kBetaGamma = kIntBias << (kGammaShift - kBetaShift);
constexpr int kRadiusBiasShift = 6;
constexpr int kRadiusBias = 1 << kRadiusBiasShift;
constexpr int kRadiusDec = 30;
constexpr int kAlphaBiasShift = 10;
constexpr int kInitAlpha = 1 << kAlphaBiasShift;
constexpr int kRadBiasShift = 8;
constexpr int kRadBias = 1 << kRadBiasShift;
constexpr int kAlphaRadBias = 1 << (kAlphaBiasShift + kRadBiasShift);
constexpr int kPrimes[4] = {499, 491, 487, 503};

int Abs(int v) { return v < 0 ? -v : v; }
}  // namespace

TNeuQuant::TNeuQuant(const uint8_t* pixels, int length, int sampleFactor, int netSize)
    : pixels_(pixels),
      length_(pixels && length > 0 ? length - length % 3 : 0),
      sampleFactor_(sampleFactor < 1 ? 1 : sampleFactor > 30 ? 30 : sampleFactor),
      netSize_(netSize < 1 ? 1 : netSize > kMaxNetSize ? kMaxNetSize : netSize) {
  std::memset(network_, 0, sizeof network_);
  std::memset(netIndex_, 0, sizeof netIndex_);
  std::memset(bias_, 0, sizeof bias_);
  std::memset(freq_, 0, sizeof freq_);
  std::memset(radPower_, 0, sizeof radPower_);
}

int TNeuQuant::PixelStep(int length) {
  for (int i = 0; i < 3; ++i)
    if (length % kPrimes[i] != 0) return 3 * kPrimes[i];
  return 3 * kPrimes[3];
}

void TNeuQuant::InitNet() {
  for (int i = 0; i < netSize_; ++i) {
    const int v = (i << (kNetBiasShift + 8)) / netSize_;
    network_[i][0] = network_[i][1] = network_[i][2] = v;
    network_[i][3] = i;
    freq_[i] = kIntBias / netSize_;
    bias_[i] = 0;
  }
}

void TNeuQuant::Contest(int b, int g, int r, int& winner) {
  int bestd = INT_MAX, bestBiasd = INT_MAX, bestPos = 0, bestBiasPos = 0;
  for (int i = 0; i < netSize_; ++i) {
    const int* n = network_[i];
    const int dist = Abs(n[0] - b) + Abs(n[1] - g) + Abs(n[2] - r);
    if (dist < bestd) {
      bestd = dist;
      bestPos = i;
    }
    const int biasDist = dist - (bias_[i] >> (kIntBiasShift - kNetBiasShift));
    if (biasDist < bestBiasd) {
      bestBiasd = biasDist;
      bestBiasPos = i;
    }
    const int betaFreq = freq_[i] >> kBetaShift;
    freq_[i] -= betaFreq;
    bias_[i] += betaFreq << kGammaShift;
  }
  freq_[bestPos] += kBeta;
  bias_[bestPos] -= kBetaGamma;
  winner = bestBiasPos;
}

void TNeuQuant::AlterSingle(int alpha, int i, int b, int g, int r) {
  int* n = network_[i];
  n[0] -= (alpha * (n[0] - b)) / kInitAlpha;
  n[1] -= (alpha * (n[1] - g)) / kInitAlpha;
  n[2] -= (alpha * (n[2] - r)) / kInitAlpha;
}

void TNeuQuant::AlterNeighbours(int rad, int i, int b, int g, int r) {
  const int lo = i - rad < -1 ? -1 : i - rad;
  const int hi = i + rad > netSize_ ? netSize_ : i + rad;
  int j = i + 1, k = i - 1, m = 1;
  while (j < hi || k > lo) {
    const int a = radPower_[m++];
    if (j < hi) {
      int* p = network_[j++];
      p[0] -= (a * (p[0] - b)) / kAlphaRadBias;
      p[1] -= (a * (p[1] - g)) / kAlphaRadBias;
      p[2] -= (a * (p[2] - r)) / kAlphaRadBias;
    }
    if (k > lo) {
      int* p = network_[k--];
      p[0] -= (a * (p[0] - b)) / kAlphaRadBias;
      p[1] -= (a * (p[1] - g)) / kAlphaRadBias;
      p[2] -= (a * (p[2] - r)) / kAlphaRadBias;
    }
  }
}

void TNeuQuant::Learn() {
  if (length_ < 3) return;
  const int alphaDec = 30 + (sampleFactor_ - 1) / 3;
  const int samplePixels = length_ / (3 * sampleFactor_);
  // Small pictures would give no cycle length at all.
  const int delta = samplePixels / kCycles > 0 ? samplePixels / kCycles : 1;
  int alpha = kInitAlpha;
  int radius = (netSize_ >> 3) * kRadiusBias;
  int rad = radius >> kRadiusBiasShift;
  if (rad <= 1) rad = 0;
  for (int i = 0; i < rad; ++i) radPower_[i] = alpha * (((rad * rad - i * i) * kRadBias) / (rad * rad));
  const int step = PixelStep(length_);
  int pos = 0;
  for (int i = 0; i < samplePixels;) {
    const int b = pixels_[pos] << kNetBiasShift;
    const int g = pixels_[pos + 1] << kNetBiasShift;
    const int r = pixels_[pos + 2] << kNetBiasShift;
    int j = 0;
    Contest(b, g, r, j);
    AlterSingle(alpha, j, b, g, r);
    if (rad) AlterNeighbours(rad, j, b, g, r);
    // Wrapping by the remainder keeps a step longer than the picture inside it.
    pos = int((int64_t(pos) + step) % length_);
    ++i;
    if (i % delta == 0) {
      alpha -= alpha / alphaDec;
      radius -= radius / kRadiusDec;
      rad = radius >> kRadiusBiasShift;
      if (rad <= 1) rad = 0;
      for (int k = 0; k < rad; ++k) radPower_[k] = alpha * (((rad * rad - k * k) * kRadBias) / (rad * rad));
    }
  }
}

void TNeuQuant::Unbias() {
  for (int i = 0; i < netSize_; ++i) {
    for (int j = 0; j < 3; ++j) {
      int v = network_[i][j] >> kNetBiasShift;
      network_[i][j] = v < 0 ? 0 : v > 255 ? 255 : v;
    }
    network_[i][3] = i;
  }
}

void TNeuQuant::BuildIndex() {
  int previous = 0, start = 0;
  for (int i = 0; i < netSize_; ++i) {
    int smallPos = i, smallVal = network_[i][1];
    for (int j = i + 1; j < netSize_; ++j)
      if (network_[j][1] < smallVal) {
        smallPos = j;
        smallVal = network_[j][1];
      }
    if (i != smallPos)
      for (int k = 0; k < 4; ++k) {
        const int t = network_[i][k];
        network_[i][k] = network_[smallPos][k];
        network_[smallPos][k] = t;
      }
    if (smallVal != previous) {
      netIndex_[previous] = (start + i) >> 1;
      for (int j = previous + 1; j < smallVal; ++j) netIndex_[j] = i;
      previous = smallVal;
      start = i;
    }
  }
  const int maxPos = netSize_ - 1;
  netIndex_[previous] = (start + maxPos) >> 1;
  for (int j = previous + 1; j < 256; ++j) netIndex_[j] = maxPos;
}

int TNeuQuant::Search(int b, int g, int r) const {
  int bestd = 1000, best = 0;
  int i = netIndex_[g < 0 ? 0 : g > 255 ? 255 : g];
  int j = i - 1;
  while (i < netSize_ || j >= 0) {
    if (i < netSize_) {
      const int* p = network_[i];
      int dist = p[1] - g;
      if (dist >= bestd) {
        i = netSize_;
      } else {
        ++i;
        dist = Abs(dist) + Abs(p[0] - b);
        if (dist < bestd) {
          dist += Abs(p[2] - r);
          if (dist < bestd) {
            bestd = dist;
            best = p[3];
          }
        }
      }
    }
    if (j >= 0) {
      const int* p = network_[j];
      int dist = g - p[1];
      if (dist >= bestd) {
        j = -1;
      } else {
        --j;
        dist = Abs(dist) + Abs(p[0] - b);
        if (dist < bestd) {
          dist += Abs(p[2] - r);
          if (dist < bestd) {
            bestd = dist;
            best = p[3];
          }
        }
      }
    }
  }
  return best;
}

void TNeuQuant::ColourMap(tsl::DibRgbQuad out[256]) const {
  std::memset(out, 0, 256 * sizeof out[0]);
  for (int i = 0; i < netSize_; ++i) {
    const int k = network_[i][3];
    if (k < 0 || k >= 256) continue;
    out[k] = {uint8_t(network_[i][0]), uint8_t(network_[i][1]), uint8_t(network_[i][2]), 0};
  }
}

void TNeuQuant::Run() {
  InitNet();
  Learn();
  Unbias();
  BuildIndex();
}

struct TOctreeQuantizer::Node {
  bool leaf = false;
  uint32_t count = 0;
  uint64_t r = 0, g = 0, b = 0;
  Node* child[8] = {};
  Node* nextReducible = nullptr;
  ~Node() {
    for (Node* c : child) delete c;
  }
};

TOctreeQuantizer::TOctreeQuantizer(uint32_t maxColours, uint32_t colourBits)
    : max_(maxColours < 1 ? 1 : maxColours), bits_(colourBits > 8 ? 8 : colourBits) {
  root_ = NewNode(0);
}

TOctreeQuantizer::~TOctreeQuantizer() { delete root_; }

TOctreeQuantizer::Node* TOctreeQuantizer::NewNode(uint32_t level) {
  Node* n = new Node;
  if (level == bits_) {
    n->leaf = true;
    ++leaves_;
  } else {
    n->nextReducible = reducible_[level];
    reducible_[level] = n;
  }
  return n;
}

bool TOctreeQuantizer::ReduceOnce() {
  int level = int(bits_) - 1;
  while (level >= 0 && !reducible_[level]) --level;
  if (level < 0) return false;
  Node* n = reducible_[level];
  reducible_[level] = n->nextReducible;
  n->nextReducible = nullptr;
  uint32_t children = 0;
  for (Node*& c : n->child) {
    if (!c) continue;
    n->count += c->count;
    n->r += c->r;
    n->g += c->g;
    n->b += c->b;
    delete c;
    c = nullptr;
    ++children;
  }
  n->leaf = true;
  leaves_ = leaves_ + 1 - children;
  return true;
}

void TOctreeQuantizer::Add(uint8_t r, uint8_t g, uint8_t b) {
  Node* n = root_;
  uint32_t level = 0;
  while (!n->leaf) {
    const int shift = 7 - int(level);
    const int i = ((r >> shift) & 1) << 2 | ((g >> shift) & 1) << 1 | ((b >> shift) & 1);
    if (!n->child[i]) n->child[i] = NewNode(level + 1);
    n = n->child[i];
    ++level;
  }
  ++n->count;
  n->r += r;
  n->g += g;
  n->b += b;
  while (leaves_ > max_ && ReduceOnce()) {
  }
}

void TOctreeQuantizer::Colours(std::vector<tsl::DibRgbQuad>& out) const {
  out.clear();
  struct Walk {
    static void Go(const Node* n, std::vector<tsl::DibRgbQuad>& out) {
      if (!n) return;
      if (n->leaf) {
        if (n->count)
          out.push_back({uint8_t(n->b / n->count), uint8_t(n->g / n->count), uint8_t(n->r / n->count), 0});
        return;
      }
      for (const Node* c : n->child) Go(c, out);
    }
  };
  Walk::Go(root_, out);
}

namespace tsl {

namespace {
// Shift and width of a colour mask, to bring its field to 8 bits.
struct MaskField {
  uint32_t mask = 0;
  int shift = 0;
  int width = 0;
  explicit MaskField(uint32_t m) : mask(m) {
    if (!m) return;
    while (!((m >> shift) & 1)) ++shift;
    while (shift + width < 32 && ((m >> (shift + width)) & 1)) ++width;
  }
  uint8_t Get(uint32_t v) const {
    if (!mask) return 0;
    uint32_t f = (v & mask) >> shift;
    if (width < 8) f <<= 8 - width;
    else if (width > 8) f >>= width - 8;
    return uint8_t(f);
  }
};
}  // namespace

bool OctreeColours(const DibView& dib, uint32_t maxColours, uint32_t colourBits, std::vector<DibRgbQuad>& out) {
  out.clear();
  if (!dib.header || dib.Compressed() || colourBits > 8 || maxColours < 1) return false;
  const uint16_t bpp = dib.bitCount;
  if (bpp != 16 && bpp != 24 && bpp != 32) return false;
  uint32_t rm = bpp == 16 ? 0x7C00 : 0xFF0000, gm = bpp == 16 ? 0x3E0 : 0xFF00, bm = bpp == 16 ? 0x1F : 0xFF;
  if (dib.masks) {
    rm = dib.masks[0];
    gm = dib.masks[1];
    bm = dib.masks[2];
  }
  const MaskField R(rm), G(gm), B(bm);
  TOctreeQuantizer tree(maxColours > 256 ? 256 : maxColours, colourBits);
  for (int32_t y = 0; y < dib.height; ++y) {
    const uint8_t* p = dib.Row(y);
    for (int32_t x = 0; x < dib.width; ++x) {
      if (bpp == 24) {
        tree.Add(p[2], p[1], p[0]);
        p += 3;
      } else if (bpp == 16) {
        const uint32_t v = GetLe16(p);
        tree.Add(R.Get(v), G.Get(v), B.Get(v));
        p += 2;
      } else {
        const uint32_t v = GetLe32(p);
        tree.Add(R.Get(v), G.Get(v), B.Get(v));
        p += 4;
      }
    }
  }
  tree.Colours(out);
  return true;
}

}  // namespace tsl
