#pragma once
// Close-up photographs of phone boards with one test point marked: a solder-masked board
// with its traces, vias, parts and gold pads under uneven light, with lens softness and
// sensor grain, then the technician's marking (a red ring, an arrow and a label).
#include <cstdint>
#include <string>
#include <vector>

#include "tools/assets/raster.h"

enum TBoardEdge { beNone, beLeft, beRight, beTop, beBottom };

struct TPhotoPlan {
  std::string File;       // file name beside the form source
  int Width = 0, Height = 0;
  size_t Bytes = 0;       // exact size of the JPEG file
  std::string Group;      // the model group, as its tab reads
  std::string Point;      // the test point, as its radio button reads
  TRgb Mask;              // solder-mask colour
  uint64_t Seed = 0;
  float PointX = 0.5f, PointY = 0.5f;  // where the test point lies, as fractions of the size
  bool KeypadSide = false;  // the side with the key contacts rather than the parts
  bool Shield = false;      // a shield can along one side
  TBoardEdge Edge = beNone; // the board's edge in view, with the bench beyond it
};

// The sixteen photographs of the catalogue, in image-view order.
const std::vector<TPhotoPlan>& CataloguePhotos();

// Draws the photograph of `plan` at its pixel size; `grain` scales the sensor noise.
TRaster RenderBoardPhoto(const TPhotoPlan& plan, float grain = 1);
