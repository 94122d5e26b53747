#pragma once
// Text form sources: the readable form of a form-description stream, compiled by formc
// and printed by formdump. Both work on the stream's structure and value syntax alone,
// so no component class needs to be known. The syntax is described in text_form_parser.cpp.
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/exceptions.h"

class TStream;

VM_EXCEPTION(EParserError, Exception);

// Compiles `text` into a binary stream. Files named by `file "..."` values are read from
// `baseDir`; their paths are appended to `filesRead` when given.
void TextToBinary(std::string_view text, TStream& output, const std::string& baseDir,
                  std::vector<std::string>* filesRead = nullptr);

// Prints a binary stream as text; a stream that cannot be parsed raises the reader's error,
// and one holding a name the text cannot spell raises "Invalid stream format".
std::string BinaryToText(TStream& input);

// The length of the identifier that starts at `from` in `text`, 0 for none: a letter or
// '_', then letters, digits, '_' and '.'; names joined by "->" (a reference) count in.
size_t IdentifierLength(std::string_view text, size_t from);
