#pragma once
// How a stretching copy maps destination indices to source indices, one axis at a time.
#include <cstdint>
#include <vector>

// Enlarging (D >= S): destination d takes source floor(((2d + 1) S - 1) / (2D)).
int EnlargeSourceIndex(int d, int s, int dExtent);
// Shrinking by dropping: destination d takes the first source of its group,
// floor((2dS - D) / (2D)) + 1 clamped to [0, S - 1].
int ShrinkSourceIndex(int d, int s, int dExtent);
// The source index of every destination index for a colour-on-colour copy of S onto D.
std::vector<int> StretchIndexMap(int sExtent, int dExtent);

// The source pixels under one destination pixel and their overlap, in units where the whole
// destination pixel weighs S (the box filter of halftone stretching).
struct TBoxTaps {
  int First = 0;
  std::vector<int> Weights;
};
std::vector<TBoxTaps> BoxFilterTaps(int sExtent, int dExtent);
