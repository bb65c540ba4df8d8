#include "imaging/core/transition.h"

#include <algorithm>
#include <utility>

namespace tsl {

namespace {

const uint32_t kFixedSteps[kTransitionTableRows] = {1,  16, 16, 16, 16, 0,  0,  0,  0,  24, 24, 16,
                                                    16, 24, 32, 32, 16, 16, 28, 32, 16, 31, 20, 0};

int32_t CeilDiv(int32_t a, int32_t b) { return a / b + (a % b != 0 ? 1 : 0); }

int32_t Width(const TransitionRect& r) { return r.right > r.left ? r.right - r.left : 0; }
int32_t Height(const TransitionRect& r) { return r.bottom > r.top ? r.bottom - r.top : 0; }

// Kinds that step in the same way are one routine with a direction.
bool Vertical(uint32_t index) { return index == 3 || index == 4 || index == 7 || index == 8; }

}  // namespace

TransitionRect ClipTransitionRect(const TransitionRect& r, const TransitionRect& clip) {
  TransitionRect c{std::max(r.left, clip.left), std::max(r.top, clip.top), std::min(r.right, clip.right),
                   std::min(r.bottom, clip.bottom)};
  if (c.Empty()) return TransitionRect{};
  return c;
}

uint32_t TransitionColumns(const TransitionRect& area) {
  return static_cast<uint32_t>(CeilDiv(Width(area), kTransitionBlock));
}

uint32_t TransitionRows(const TransitionRect& area) {
  return static_cast<uint32_t>(CeilDiv(Height(area), kTransitionBlock));
}

uint32_t TransitionKindIndex(uint32_t kind) { return kind >= 1 && kind <= kTransitionKinds ? kind - 1 : 0; }

uint32_t TransitionStepCount(uint32_t kindIndex, uint32_t columns, uint32_t rows) {
  if (kindIndex >= kTransitionTableRows) return 0;
  if (kindIndex == 5 || kindIndex == 6) return rows + 16;
  if (kindIndex == 7 || kindIndex == 8) return columns + 16;
  return kFixedSteps[kindIndex];
}

uint32_t TransitionInterval(uint32_t duration, uint32_t steps) {
  const uint32_t interval = steps ? duration / steps : duration;
  return std::max(interval, kTransitionMinInterval);
}

void ShuffleTransitionCells(std::vector<TransitionRect>& cells, uint32_t kind, std::minstd_rand& random) {
  const size_t count = cells.size();
  // Too small a rectangle holds no cell: nothing to mix, and no "mod 0".
  if (count == 0) return;
  auto pick = [&] { return static_cast<size_t>(random() % count); };
  for (size_t round = 0; round < count; ++round) {
    if (kind == 13) {
      const size_t a = pick(), b = pick();
      std::swap(cells[a], cells[b]);
      continue;
    }
    const size_t a = pick(), b = pick(), c = pick();
    const TransitionRect saved = cells[a];
    if (kind == 16) {
      cells[a] = cells[b];
      cells[b] = cells[c];
      cells[c] = saved;
    } else {
      cells[a] = cells[c];
      cells[c] = cells[b];
      cells[b] = saved;
    }
  }
}

uint32_t TransitionPattern::SetKind(uint32_t kind, const TransitionRect& area) {
  Effect = area;
  // An inverted rectangle is an empty one.
  Effect.right = std::max(Effect.right, Effect.left);
  Effect.bottom = std::max(Effect.bottom, Effect.top);
  Cols = TransitionColumns(Effect);
  RowCount = TransitionRows(Effect);
  Index = TransitionKindIndex(kind);
  Steps = TransitionStepCount(Index, Cols, RowCount);
  Cells.clear();
  Cells.shrink_to_fit();
  Position = 0;
  return Steps;
}

void TransitionPattern::BlitRect(TransitionCanvas& canvas, const TransitionRect& r) const {
  const TransitionRect c = ClipTransitionRect(r, Effect);
  if (!c.Empty()) canvas.PaintRect(c);
}

void TransitionPattern::BlitLine(TransitionCanvas& canvas, TransitionPoint a, TransitionPoint b) const {
  TransitionRect r{a.x, a.y, b.x, b.y};
  if (a.x == b.x) r.right = r.left + 1;
  if (a.y == b.y) r.bottom = r.top + 1;
  BlitRect(canvas, r);
}

void TransitionPattern::BlitFrame(TransitionCanvas& canvas, const TransitionRect& r, int32_t mx, int32_t my) const {
  // A rectangle no wider than both margins is all ring; the four strips
  // would each be empty once it is exactly one margin wide or high.
  if (r.right - r.left <= 2 * mx || r.bottom - r.top <= 2 * my) {
    BlitRect(canvas, r);
    return;
  }
  const int32_t w = r.right - r.left - mx;
  const int32_t h = r.bottom - r.top - my;
  BlitRect(canvas, {r.left, r.top, r.left + mx, r.top + h});
  BlitRect(canvas, {r.left + mx, r.top, r.right, r.top + my});
  BlitRect(canvas, {r.left, r.top + h, r.left + w, r.bottom});
  BlitRect(canvas, {r.left + w, r.top + my, r.right, r.bottom});
}

void TransitionPattern::Step(uint32_t s, TransitionCanvas& canvas) {
  if (s >= Steps) return;
  switch (Index + 1) {
    case 1:
      if (!Effect.Empty()) canvas.FillBlack(Effect);
      break;
    case 2: case 3: case 4: case 5: Blinds(s, canvas); break;
    case 6: case 7: case 8: case 9: Staggered(s, canvas); break;
    case 10: case 11: Split(s, canvas); break;
    case 12: Checkerboard(s, canvas); break;
    case 13: case 14: case 15: case 16: RandomCells(s, canvas); break;
    case 17: case 18: Boxes(s, canvas); break;
    case 19: SpiralOut(s, canvas); break;
    case 20: SpiralIn(s, canvas); break;
    case 21: Squares(s, canvas); break;
    case 22: SpiralLines(s, canvas); break;
    case 23: Discs(s, canvas); break;
    default: break;
  }
}

// Kinds 2 to 5: one line per band and step; 3 and 5 run the other way,
// from one band past the last down to the first.
void TransitionPattern::Blinds(uint32_t s, TransitionCanvas& canvas) {
  const bool vertical = Vertical(Index);
  const bool backwards = Index == 2 || Index == 4;
  const int32_t bands = static_cast<int32_t>(vertical ? Cols : RowCount);
  const int32_t offset = backwards ? static_cast<int32_t>(Steps - 1 - s) : static_cast<int32_t>(s);
  auto line = [&](int32_t band) {
    if (vertical) {
      const int32_t x = Effect.left + kTransitionBlock * band + offset;
      BlitLine(canvas, {x, Effect.top}, {x, Effect.bottom});
    } else {
      const int32_t y = Effect.top + kTransitionBlock * band + offset;
      BlitLine(canvas, {Effect.left, y}, {Effect.right, y});
    }
  };
  if (backwards) {
    for (int32_t band = bands; band >= 0; --band) line(band);
  } else {
    for (int32_t band = 0; band < bands; ++band) line(band);
  }
}

// Kinds 6 to 9: a window of bands moves over the rectangle; every band in
// it gets the step's line. A band stays in the window for at least 16
// steps, so it gets all 16 of its lines also when there are fewer than 16
// bands.
void TransitionPattern::Staggered(uint32_t s, TransitionCanvas& canvas) {
  const bool vertical = Vertical(Index);
  const bool fromEnd = Index == 6 || Index == 8;
  const int32_t bands = static_cast<int32_t>(vertical ? Cols : RowCount);
  const int32_t step = static_cast<int32_t>(s);
  const int32_t offset = step % kTransitionBlock;
  auto line = [&](int32_t band) {
    if (vertical) {
      const int32_t x = Effect.left + kTransitionBlock * band + offset;
      BlitLine(canvas, {x, Effect.top}, {x, Effect.bottom});
    } else {
      const int32_t y = Effect.top + kTransitionBlock * band + offset;
      BlitLine(canvas, {Effect.left, y}, {Effect.right, y});
    }
  };
  if (!fromEnd) {
    // [first, last): last grows while s < bands, first once s >= hold.
    const int32_t hold = std::max(bands, kTransitionBlock);
    const int32_t last = std::min(step + 1, std::max(bands, 1));
    const int32_t first = step >= hold ? step - hold + 1 : 0;
    for (int32_t band = first; band < last; ++band) line(band);
  } else {
    // (low, high]: low falls while s <= bands, high once s > hold.
    const int32_t hold = std::max(bands, kTransitionBlock - 1);
    const int32_t low = bands - 1 - std::min(step, bands);
    const int32_t high = bands - std::max(0, step - hold);
    for (int32_t band = high; band > low; --band) line(band);
  }
}

// Kinds 10 and 11: two strips per step, from the centre out or from the
// sides in. The strip width is W / 2n rounded up, so that n steps reach
// the edges (or the centre) for every width.
void TransitionPattern::Split(uint32_t s, TransitionCanvas& canvas) {
  const int32_t n = static_cast<int32_t>(Steps);
  const int32_t w = CeilDiv(Width(Effect), 2 * n);
  const int32_t i = static_cast<int32_t>(s);
  if (Index == 9) {
    const int32_t cx = Effect.left + Width(Effect) / 2;
    BlitRect(canvas, {cx - (i + 1) * w, Effect.top, cx - i * w, Effect.bottom});
    BlitRect(canvas, {cx + i * w, Effect.top, cx + (i + 1) * w, Effect.bottom});
  } else {
    BlitRect(canvas, {Effect.left + i * w, Effect.top, Effect.left + (i + 1) * w, Effect.bottom});
    BlitRect(canvas, {Effect.right - (i + 1) * w, Effect.top, Effect.right - i * w, Effect.bottom});
  }
}

// Kind 12: n/2 x n/2 cells, a column per step, out and back, each pass
// painting every other cell. The cell size is W / (n/2) rounded up, so the
// cells reach the right and bottom edges for every size.
void TransitionPattern::Checkerboard(uint32_t s, TransitionCanvas& canvas) {
  const int32_t half = static_cast<int32_t>(Steps / 2);
  const int32_t cw = CeilDiv(Width(Effect), half);
  const int32_t ch = CeilDiv(Height(Effect), half);
  const int32_t i = static_cast<int32_t>(s);
  const int32_t column = i < half ? i : static_cast<int32_t>(Steps) - 1 - i;
  const int32_t parity = i % 2 == 1 ? 0 : 1;
  for (int32_t r = parity; r < half; r += 2)
    BlitRect(canvas, {Effect.left + column * cw, Effect.top + r * ch, Effect.left + (column + 1) * cw,
                      Effect.top + (r + 1) * ch});
}

void TransitionPattern::BuildCells() {
  Cells.clear();
  const int32_t cols = static_cast<int32_t>(Cols), rows = static_cast<int32_t>(RowCount);
  const int32_t l = Effect.left, t = Effect.top;
  auto grid = [&](int32_t across, int32_t down, int32_t size) {
    Cells.reserve(static_cast<size_t>(across) * static_cast<size_t>(down));
    for (int32_t r = 0; r < down; ++r)
      for (int32_t c = 0; c < across; ++c) Cells.push_back({l + c * size, t + r * size, l + (c + 1) * size, t + (r + 1) * size});
  };
  switch (Index + 1) {
    case 13: grid(cols / 2, rows / 2, 2 * kTransitionBlock); break;  // an odd last band stays as it is
    case 14: grid(cols, rows, kTransitionBlock); break;
    case 15: grid(2 * cols, 2 * rows, kTransitionBlock / 2); break;
    case 16:
      Cells.reserve(8 * static_cast<size_t>(cols + rows));
      for (int32_t i = 0; i < 8 * cols; ++i) {
        const int32_t x = l + (kTransitionBlock * i) / 8;
        Cells.push_back({x, t, x + 2, Effect.bottom});
      }
      for (int32_t j = 0; j < 8 * rows; ++j) {
        const int32_t y = t + (kTransitionBlock * j) / 8;
        Cells.push_back({l, y, Effect.right, y + 2});
      }
      break;
    default: break;
  }
}

// Kinds 13 to 16: a shuffled list of cells, an even share per step.
void TransitionPattern::RandomCells(uint32_t s, TransitionCanvas& canvas) {
  if (s == 0) {
    BuildCells();
    std::minstd_rand random(Seed);
    ShuffleTransitionCells(Cells, Index + 1, random);
    Position = 0;
  }
  const size_t count = Cells.size();
  const size_t per = count / Steps + (count % Steps != 0 ? 1 : 0);
  const size_t end = std::min(count, Position + per);
  for (; Position < end; ++Position) BlitRect(canvas, Cells[Position]);
  if (s + 1 == Steps) {
    Cells.clear();
    Cells.shrink_to_fit();
  }
}

// Kinds 17 and 18: a frame per step growing from the centre or closing in
// from the edges. Its width is W / 2n rounded up, so that n frames reach
// the edges for every size.
void TransitionPattern::Boxes(uint32_t s, TransitionCanvas& canvas) {
  const int32_t n = static_cast<int32_t>(Steps);
  const int32_t hw = CeilDiv(Width(Effect), 2 * n);
  const int32_t hh = CeilDiv(Height(Effect), 2 * n);
  const int32_t i = static_cast<int32_t>(s);
  if (Index == 16) {
    const int32_t cx = Effect.left + Width(Effect) / 2, cy = Effect.top + Height(Effect) / 2;
    BlitFrame(canvas, {cx - (i + 1) * hw, cy - (i + 1) * hh, cx + (i + 1) * hw, cy + (i + 1) * hh}, hw, hh);
    return;
  }
  BlitFrame(canvas, {Effect.left + i * hw, Effect.top + i * hh, Effect.right - i * hw, Effect.bottom - i * hh}, hw,
            hh);
  if (i == n - 1)
    BlitRect(canvas, {Effect.left + n * hw, Effect.top + n * hh, Effect.right - n * hw, Effect.bottom - n * hh});
}

// Kind 19: the centre, then a ring at a time in four strips, growing.
// The right strip runs the ring's full height: the top strip stops short
// of the right edge, so the corner is the right strip's.
void TransitionPattern::SpiralOut(uint32_t s, TransitionCanvas& canvas) {
  const int32_t n = static_cast<int32_t>(Steps);
  const int32_t dx = CeilDiv(2 * Width(Effect), n), dy = CeilDiv(2 * Height(Effect), n);
  TransitionRect& c = Current;
  if (s == 0) {
    const int32_t cx = Effect.left + Width(Effect) / 2, cy = Effect.top + Height(Effect) / 2;
    c = {cx - dx, cy - dy, cx + dx, cy + dy};
    BlitRect(canvas, c);
    c = {c.left - dx, c.top - dy, c.right + dx, c.bottom + dy};
    return;
  }
  switch ((s - 1) % 4) {
    case 0: BlitRect(canvas, {c.left + dx, c.bottom - dy, c.right - dx, c.bottom}); break;
    case 1: BlitRect(canvas, {c.right - dx, c.top, c.right, c.bottom}); break;
    case 2: BlitRect(canvas, {c.left + dx, c.top, c.right - dx, c.top + dy}); break;
    default:
      BlitRect(canvas, {c.left, c.top, c.left + dx, c.bottom});
      c = {c.left - dx, c.top - dy, c.right + dx, c.bottom + dy};
      break;
  }
}

// Kind 20: a ring at a time in four strips from the edges inwards; the
// last step fills what is left inside.
void TransitionPattern::SpiralIn(uint32_t s, TransitionCanvas& canvas) {
  const int32_t n = static_cast<int32_t>(Steps);
  const int32_t dx = 2 * Width(Effect) / n, dy = 2 * Height(Effect) / n;
  TransitionRect& c = Current;
  if (s == 0) c = Effect;
  switch (s % 4) {
    case 0: BlitRect(canvas, {c.left, c.top, c.right, c.top + dy}); break;
    case 1: BlitRect(canvas, {c.right - dx, c.top, c.right, c.bottom}); break;
    case 2: BlitRect(canvas, {c.left, c.bottom - dy, c.right - dx, c.bottom}); break;
    default:
      BlitRect(canvas, {c.left, c.top + dy, c.left + dx, c.bottom - dy});
      if (s + 1 == Steps) BlitRect(canvas, {c.left + dx, c.top + dy, c.right - dx, c.bottom - dy});
      c = {c.left + dx, c.top + dy, c.right - dx, c.bottom - dy};
      break;
  }
}

// Kind 21: a square growing from every block's corner.
void TransitionPattern::Squares(uint32_t s, TransitionCanvas& canvas) {
  const int32_t size = static_cast<int32_t>(s) + 1;
  for (uint32_t r = 0; r < RowCount; ++r)
    for (uint32_t c = 0; c < Cols; ++c) {
      const int32_t x = Effect.left + kTransitionBlock * static_cast<int32_t>(c);
      const int32_t y = Effect.top + kTransitionBlock * static_cast<int32_t>(r);
      BlitRect(canvas, {x, y, x + size, y + size});
    }
}

// Kind 22: a square spiral line from every block's middle, its arms
// 1, 1, 2, 2, ... long, turning left, up, right, down.
void TransitionPattern::SpiralLines(uint32_t s, TransitionCanvas& canvas) {
  if (Effect.Empty()) return;
  if (s == 0) PenOffset = {kTransitionBlock / 2, kTransitionBlock / 2};
  static const int32_t kDx[4] = {-1, 0, 1, 0};
  static const int32_t kDy[4] = {0, -1, 0, 1};
  const int32_t arm = static_cast<int32_t>(s / 2 + 1);
  const TransitionPoint from = PenOffset;
  const TransitionPoint to{from.x + kDx[s % 4] * arm, from.y + kDy[s % 4] * arm};
  PenOffset = to;
  auto clamp = [&](int32_t x, int32_t y) {
    return TransitionPoint{std::min(std::max(x, Effect.left), Effect.right - 1),
                           std::min(std::max(y, Effect.top), Effect.bottom - 1)};
  };
  for (uint32_t r = 0; r < RowCount; ++r)
    for (uint32_t c = 0; c < Cols; ++c) {
      const int32_t x = Effect.left + kTransitionBlock * static_cast<int32_t>(c);
      const int32_t y = Effect.top + kTransitionBlock * static_cast<int32_t>(r);
      canvas.PenLine(clamp(x + from.x, y + from.y), clamp(x + to.x, y + to.y));
    }
}

// Kind 23: a disc growing from every block's corner; the last step fills
// the whole rectangle.
void TransitionPattern::Discs(uint32_t s, TransitionCanvas& canvas) {
  if (Effect.Empty()) return;
  if (s + 1 == Steps) {
    canvas.FillBlack(Effect);
    return;
  }
  const int32_t size = static_cast<int32_t>(s) + 1;
  for (uint32_t r = 0; r < RowCount; ++r)
    for (uint32_t c = 0; c < Cols; ++c) {
      const int32_t x = Effect.left + kTransitionBlock * static_cast<int32_t>(c);
      const int32_t y = Effect.top + kTransitionBlock * static_cast<int32_t>(r);
      const TransitionRect disc = ClipTransitionRect({x, y, x + size, y + size}, Effect);
      if (!disc.Empty()) canvas.Disc(disc);
    }
}

}  // namespace tsl
