#pragma once
// The yardstick of showing a photograph: the bare JPEG library decoding the file into a
// buffer kept between runs, then a plain nearest-neighbour scale of it to the shown size as
// 32-bit surface words (blue, green, red, 0).
#include <cstdint>
#include <vector>

class TBareDecodeAndScale {
 public:
  TBareDecodeAndScale(std::vector<uint8_t> file, int shownWidth, int shownHeight);
  void Decode();
  void Scale();
  const uint8_t* Decoded() const { return FDecoded.data(); }
  const uint32_t* Shown() const { return FShown.data(); }

 private:
  std::vector<uint8_t> FFile;
  int FWidth = 0, FHeight = 0, FShownWidth = 0, FShownHeight = 0;
  std::vector<uint8_t> FDecoded;
  std::vector<uint32_t> FShown;
};
