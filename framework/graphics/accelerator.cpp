#include "framework/graphics/accelerator.h"

#include <cctype>

char AcceleratorOf(std::string_view caption) {
  const TAcceleratorSplit split = SplitAtAccelerator(caption);
  return split.Marked.empty() ? 0 : split.Marked[0];
}

bool IsAccelerator(char c, std::string_view caption) {
  const char accel = AcceleratorOf(caption);
  return accel != 0 && std::toupper(uint8_t(accel)) == std::toupper(uint8_t(c));
}

TAcceleratorSplit SplitAtAccelerator(std::string_view line) {
  TAcceleratorSplit split;
  std::string* part = &split.Before;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '&') {
      *part += line[i];
    } else if (i + 1 < line.size()) {
      ++i;
      if (line[i] == '&' || !split.Marked.empty()) {
        *part += line[i];
      } else {
        split.Marked = line[i];
        part = &split.After;
      }
    }
  }
  return split;
}
