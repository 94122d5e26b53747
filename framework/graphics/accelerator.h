#pragma once
// Accelerator marks in captions: "&x" marks x as the caption's accelerator (shown
// underlined, typed with Alt), "&&" is a plain "&", a lone "&" at the end is dropped. The
// text engine draws by the same rule; controls ask these functions instead of scanning.
#include <string>
#include <string_view>

// The character after the first single "&", or 0 when the caption has none.
char AcceleratorOf(std::string_view caption);
// Whether typing `c` picks the caption: its accelerator, letters in either case.
bool IsAccelerator(char c, std::string_view caption);

// A caption line cut at its accelerator: the text shown before it, the marked character
// (empty when there is none) and the text shown after it, every mark resolved.
struct TAcceleratorSplit {
  std::string Before, Marked, After;
  std::string Shown() const { return Before + Marked + After; }
};
TAcceleratorSplit SplitAtAccelerator(std::string_view line);
// The caption as shown, without its marks.
inline std::string StripAccelerators(std::string_view caption) { return SplitAtAccelerator(caption).Shown(); }
