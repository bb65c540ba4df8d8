// Colour quantisers for showing true-colour pictures with 256 colours: the
// NeuQuant neural network (Dekker's published method) and the octree
// colour reduction. They give colour tables; the Win32 side makes palettes
// of them (imaging/halftone.h). Portable.
#pragma once
#include <cstdint>
#include <vector>

#include "imaging/core/dib.h"

class TNeuQuant {
public:
  static constexpr int kMaxNetSize = 256;

  // pixels: blue, green, red triples, `length` bytes; netSize 1..256;
  // sampleFactor 1 (every pixel) to 30.
  TNeuQuant(const uint8_t* pixels, int length, int sampleFactor, int netSize = kMaxNetSize);

  // In the order of use.
  void InitNet();
  void Learn();
  void Unbias();
  void BuildIndex();
  // Index (into the colour map) of the neuron nearest to a colour.
  int Search(int b, int g, int r) const;
  // 256 entries: the neurons' colours first, the rest zero.
  void ColourMap(tsl::DibRgbQuad out[256]) const;
  // All of it: init, learn, unbias, index.
  void Run();

  // Bytes between two samples for a picture of `length` bytes.
  static int PixelStep(int length);
  int NetSize() const { return netSize_; }

private:
  void Contest(int b, int g, int r, int& winner);
  void AlterSingle(int alpha, int i, int b, int g, int r);
  void AlterNeighbours(int rad, int i, int b, int g, int r);

  const uint8_t* pixels_;
  int length_;
  int sampleFactor_;
  int netSize_;
  int network_[kMaxNetSize][4];  // blue, green, red, original index
  int netIndex_[256];
  int bias_[kMaxNetSize];
  int freq_[kMaxNetSize];
  int radPower_[kMaxNetSize >> 3];
};

// Octree colour reduction: colours go in one by one; whenever the tree has
// more leaves than allowed, the deepest reducible node most recently made
// folds its children into itself.
class TOctreeQuantizer {
public:
  // maxColours at least 1; colourBits 0..8 (the depth of the leaves).
  TOctreeQuantizer(uint32_t maxColours, uint32_t colourBits);
  ~TOctreeQuantizer();
  TOctreeQuantizer(const TOctreeQuantizer&) = delete;
  TOctreeQuantizer& operator=(const TOctreeQuantizer&) = delete;

  void Add(uint8_t r, uint8_t g, uint8_t b);
  uint32_t LeafCount() const { return leaves_; }
  // The leaves' mean colours, children 0 to 7 depth first.
  void Colours(std::vector<tsl::DibRgbQuad>& out) const;

private:
  struct Node;
  Node* NewNode(uint32_t level);
  bool ReduceOnce();

  uint32_t max_;
  uint32_t bits_;
  uint32_t leaves_ = 0;
  Node* root_ = nullptr;
  Node* reducible_[8] = {};
};

namespace tsl {

// The octree palette of a 16-, 24- or 32-bit DIB: at most maxColours
// (1..256) mean colours of its leaves, in tree order. False for other
// depths, colourBits above 8 or a block that is not a DIB.
bool OctreeColours(const DibView& dib, uint32_t maxColours, uint32_t colourBits, std::vector<DibRgbQuad>& out);

}  // namespace tsl
