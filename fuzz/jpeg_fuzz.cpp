// libFuzzer entry for FuzzJpeg; see fuzz_inputs.h and README.md.
#include "fuzz/fuzz_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzJpeg(data, size);
  return 0;
}
