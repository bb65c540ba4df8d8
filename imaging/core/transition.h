// The block transition effect's patterns: which parts of the effect
// rectangle each of the 23 kinds paints at which step, over a grid of
// 16 x 16 blocks. The shapes go to a canvas, which paints them black or
// from a snapshot; the Win32 effect (imaging/transition.h) is one such
// canvas, tests have others. Portable.
#pragma once
#include <cstdint>
#include <random>
#include <vector>

namespace tsl {

constexpr int32_t kTransitionBlock = 16;
constexpr uint32_t kTransitionKinds = 23;
// Rows of the kind table: the 23 kinds and an empty last row.
constexpr uint32_t kTransitionTableRows = 24;
constexpr uint32_t kTransitionMinInterval = 55;

struct TransitionRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return left >= right || top >= bottom; }
  bool operator==(const TransitionRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

struct TransitionPoint {
  int32_t x = 0, y = 0;
};

// The part of `r` inside `clip`; empty (all zero) when they do not meet or
// `r` is inverted.
TransitionRect ClipTransitionRect(const TransitionRect& r, const TransitionRect& clip);

// Blocks across and down: the quotient by 16, plus one for a remainder.
uint32_t TransitionColumns(const TransitionRect& area);
uint32_t TransitionRows(const TransitionRect& area);

// Row of the kind table: kind - 1 for 1..23; every other value (0, negative
// values widened, 24 and above) is kind 1.
uint32_t TransitionKindIndex(uint32_t kind);
// Steps of a kind table row for the grid; 0 for the empty last row.
uint32_t TransitionStepCount(uint32_t kindIndex, uint32_t columns, uint32_t rows);
// Milliseconds between steps: duration / steps, never below 55.
uint32_t TransitionInterval(uint32_t duration, uint32_t steps);

// Where the shapes of a step go.
class TransitionCanvas {
public:
  virtual ~TransitionCanvas() = default;
  // A non-empty part of the effect rectangle: black, or back from the
  // snapshot, by the effect's paint mode.
  virtual void PaintRect(const TransitionRect& r) = 0;
  // Filled with the black brush whatever the paint mode.
  virtual void FillBlack(const TransitionRect& r) = 0;
  // A horizontal or vertical line with the black pen, both end points
  // drawn; both lie inside the effect rectangle.
  virtual void PenLine(TransitionPoint from, TransitionPoint to) = 0;
  // A disc with the black pen and brush, in its bounding rectangle (inside
  // the effect rectangle).
  virtual void Disc(const TransitionRect& r) = 0;
};

// The random kinds' mixing of their cell list, as many rounds as it has
// entries, each drawing "random value mod count": kind 13 swaps two
// entries, kinds 14 and 15 rotate three one way, kind 16 the other way.
// An empty list is left alone.
void ShuffleTransitionCells(std::vector<TransitionRect>& cells, uint32_t kind, std::minstd_rand& random);

// One kind over one effect rectangle, stepped from 0. Holds what the
// stateful kinds carry from step to step, so every effect has its own.
class TransitionPattern {
public:
  // Selects the kind (out-of-range values select kind 1) for the effect
  // rectangle and returns its step count; the next step is 0.
  uint32_t SetKind(uint32_t kind, const TransitionRect& area);
  // Seed of the random kinds' generator, taken at their step 0.
  void SetSeed(uint32_t seed) { Seed = seed; }
  // Paints step s (0 .. StepCount() - 1); steps come in order.
  void Step(uint32_t s, TransitionCanvas& canvas);

  uint32_t KindIndex() const { return Index; }
  uint32_t Columns() const { return Cols; }
  uint32_t Rows() const { return RowCount; }
  uint32_t StepCount() const { return Steps; }
  const TransitionRect& Area() const { return Effect; }

  // The painting primitives, all clipped to the effect rectangle.
  void BlitRect(TransitionCanvas& canvas, const TransitionRect& r) const;
  // From a to b; one pixel wide when a.x = b.x, one pixel high when a.y = b.y.
  void BlitLine(TransitionCanvas& canvas, TransitionPoint a, TransitionPoint b) const;
  // The ring of width mx, my just inside r, as four strips.
  void BlitFrame(TransitionCanvas& canvas, const TransitionRect& r, int32_t mx, int32_t my) const;

private:
  void Blinds(uint32_t s, TransitionCanvas& canvas);
  void Staggered(uint32_t s, TransitionCanvas& canvas);
  void Split(uint32_t s, TransitionCanvas& canvas);
  void Checkerboard(uint32_t s, TransitionCanvas& canvas);
  void RandomCells(uint32_t s, TransitionCanvas& canvas);
  void Boxes(uint32_t s, TransitionCanvas& canvas);
  void SpiralOut(uint32_t s, TransitionCanvas& canvas);
  void SpiralIn(uint32_t s, TransitionCanvas& canvas);
  void Squares(uint32_t s, TransitionCanvas& canvas);
  void SpiralLines(uint32_t s, TransitionCanvas& canvas);
  void Discs(uint32_t s, TransitionCanvas& canvas);
  void BuildCells();

  uint32_t Index = 0;
  uint32_t Cols = 0;
  uint32_t RowCount = 0;
  uint32_t Steps = 0;
  uint32_t Seed = 1;
  TransitionRect Effect;
  // Random kinds: the cell list and the next entry to paint.
  std::vector<TransitionRect> Cells;
  size_t Position = 0;
  // Spirals: the current rectangle; spiral lines: the pen offset.
  TransitionRect Current;
  TransitionPoint PenOffset;
};

}  // namespace tsl
