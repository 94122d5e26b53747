// formdump STREAM
// Prints a binary form stream as a text form on stdout. A stream that cannot be parsed
// prints the reader's message on stderr and exits with 1.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/core/stream.h"
#include "formstream/text_form.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: formdump STREAM\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "formdump: %s\n", Format(rs::SFOpenError, std::string(argv[1])).c_str());
    return 1;
  }
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TReadOnlyMemoryStream stream(bytes.data(), bytes.size());
  try {
    std::string text = BinaryToText(stream);
    std::fwrite(text.data(), 1, text.size(), stdout);
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.Message().c_str());
    return 1;
  }
  return 0;
}
