#pragma once
// Building streams for the tests: from text forms, or byte by byte for damaged input.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/stream.h"
#include "formstream/stream_reader.h"
#include "formstream/text_form.h"

inline TMemoryStream Compile(std::string_view text, const std::string& baseDir = "") {
  TMemoryStream stream;
  TextToBinary(text, stream, baseDir);
  stream.SetPosition(0);
  return stream;
}

// Reads `text` into `root`, answering the message of the exception it raised ("" for none).
template <class Root>
std::string LoadInto(Root& root, std::string_view text) {
  TMemoryStream stream = Compile(text);
  try {
    TStreamReader reader(stream);
    reader.ReadRootComponent(root);
  } catch (const Exception& e) {
    return e.Message();
  }
  return {};
}

// Raw bytes: integers are bytes, strings are appended as they are.
class TBytes {
 public:
  TBytes& operator<<(int byte) {
    FData.push_back(uint8_t(byte));
    return *this;
  }
  TBytes& operator<<(std::string_view text) {
    FData.insert(FData.end(), text.begin(), text.end());
    return *this;
  }
  // A short string: length byte, then the characters.
  TBytes& Str(std::string_view text) { return *this << int(text.size()) << text; }
  TMemoryStream Stream() const {
    TMemoryStream s;
    s.WriteBuffer(FData.data(), int64_t(FData.size()));
    s.SetPosition(0);
    return s;
  }

 private:
  std::vector<uint8_t> FData;
};
