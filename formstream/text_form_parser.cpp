// The text form compiler.
//
// A text form is one object declaration:
//
//   object Form1: TForm1                     (also "inherited" / "inline"; "Name:" may be left out;
//     Left = 257                              an optional "[n]" after the class is the child position)
//     Caption = 'About'#13#10'box'           strings: '...' with '' for a quote, #n for character n,
//     Hint = 'a long line ' +                 pieces joined directly or by '+'; a #n above 255
//       'continued'                           makes a wide string
//     Font.Style = [fsBold, fsItalic]         sets; [] is the empty set
//     Visible = True                          identifiers; True, False, nil and Null have their own tags
//     Ratio = 1.5                             floats (80-bit); suffix s single, c currency, d date;
//     Odd = {0000000000000080FF7F}e            exact float bytes: e 80-bit, s single, d date (infinities,
//                                             NaNs and values a double cannot hold)
//     Timer = Owner->Timer1                   references may use "->" between names
//     Big = 5000000000                        integers (decimal or $hex) take the smallest tag that holds them
//     DesignSize = (                          lists of values
//       273
//       169)
//     Blob = {0A0B0C}                         a byte block in hexadecimal
//     Glyph.Data = file "x.bmp"               a graphic's stored data: 32-bit count, then the file
//     Picture.Data = file "p.jpg" class TJPEGImage   a picture's: class name, count, file
//     Items = <                               collections: "item" ["[n]" order value] properties "end"
//       item
//         Caption = 'x'
//       end>
//     object Button1: TButton                 children
//     end
//   end
//
// The source is UTF-8; quoted text is stored in the 8-bit code page (cp1252), and a
// character it cannot hold is an error naming its line and column. A property may be named
// like a keyword (End, Object): a name followed by '=' is always a property.
// Files are named relative to the source's folder.
#include <cctype>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iterator>

#include "framework/core/stream.h"
#include "framework/core/text.h"
#include "formstream/stream_reader.h"
#include "formstream/stream_writer.h"
#include "formstream/text_form.h"
#include "formstream/value_codec.h"

namespace {
enum class TToken { End, Symbol, Ident, Integer, Float, String, Hex, RawFloat };

class TTextFormParser {
 public:
  TTextFormParser(std::string_view text, TStreamWriter& writer, const std::string& baseDir,
                  std::vector<std::string>* filesRead)
      : FText(text), FWriter(writer), FBaseDir(baseDir), FFilesRead(filesRead) {
    Next();
  }

  void ParseForm() {
    FWriter.WriteSignature();
    ParseObject(0);
    if (FToken != TToken::End) Error(Format(rs::SCharExpected, std::string("end of file")));
  }

 private:
  // --- tokens ---
  void SkipBlanks() {
    while (FPos < FText.size()) {
      char c = FText[FPos];
      if (c != ' ' && c != '\t' && c != '\r' && c != '\n') break;
      ++FPos;
      if (c == '\n') {
        ++FLine;
        FLineStart = FPos;
      }
    }
  }

  void Next() {
    SkipBlanks();
    FTokenLine = FLine;
    FValue.clear();
    if (FPos >= FText.size()) {
      FToken = TToken::End;
      return;
    }
    char c = FText[FPos];
    if (const size_t length = IdentifierLength(FText, FPos); length > 0) {
      FToken = TToken::Ident;
      FValue = std::string(FText.substr(FPos, length));
      FPos += length;
    } else if (std::isdigit(uint8_t(c)) || c == '$' || (c == '-' && FPos + 1 < FText.size() &&
                                                        (std::isdigit(uint8_t(FText[FPos + 1])) || FText[FPos + 1] == '$'))) {
      ScanNumber();
    } else if (c == '\'' || c == '#') {
      ScanString();
    } else if (c == '{') {
      ScanHex();
      if (FPos < FText.size() && (FText[FPos] == 'e' || FText[FPos] == 's' || FText[FPos] == 'd')) {
        FToken = TToken::RawFloat;
        FValue = std::string(1, FText[FPos++]);
      }
    } else {
      FToken = TToken::Symbol;
      FValue = std::string(1, c);
      ++FPos;
    }
  }

  void ScanNumber() {
    size_t start = FPos;
    if (FText[FPos] == '-') ++FPos;
    if (FPos < FText.size() && FText[FPos] == '$') {
      ++FPos;
      while (FPos < FText.size() && std::isxdigit(uint8_t(FText[FPos]))) ++FPos;
      FToken = TToken::Integer;
    } else {
      FToken = TToken::Integer;
      while (FPos < FText.size()) {
        char c = FText[FPos];
        bool exponentSign = (c == '+' || c == '-') && (FText[FPos - 1] == 'e' || FText[FPos - 1] == 'E');
        if (c == '.' || c == 'e' || c == 'E') FToken = TToken::Float;
        else if (!std::isdigit(uint8_t(c)) && !exponentSign) break;
        ++FPos;
      }
      if (FPos < FText.size() && (FText[FPos] == 's' || FText[FPos] == 'c' || FText[FPos] == 'd')) {
        FToken = TToken::Float;
        ++FPos;
      }
    }
    FValue = std::string(FText.substr(start, FPos - start));
  }

  // One UTF-8 character of quoted text, as its byte in the code page.
  char16_t ScanQuotedChar() {
    const size_t start = FPos;
    const uint8_t lead = uint8_t(FText[FPos]);
    const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || start + length > FText.size()) ErrorAtColumn(rs::SInvalidUtf8, start);
    FPos += length;
    const std::u16string wide = Utf8ToWide(FText.substr(start, length));
    if (wide.empty() || wide[0] == u'\xFFFD') ErrorAtColumn(rs::SInvalidUtf8, start);
    const std::string ansi = WideToAnsi(wide);
    if (ansi.size() != 1 || (ansi[0] == '?' && wide[0] != u'?')) ErrorAtColumn(rs::SUnmappableChar, start);
    return char16_t(uint8_t(ansi[0]));
  }

  void ScanString() {
    FToken = TToken::String;
    FWide.clear();
    FFromCode.clear();
    for (;;) {
      if (FPos < FText.size() && FText[FPos] == '\'') {
        ++FPos;
        for (;;) {
          if (FPos >= FText.size() || FText[FPos] == '\n') Error(rs::SStringExpected);
          if (FText[FPos] == '\'') {
            ++FPos;
            if (FPos < FText.size() && FText[FPos] == '\'') ++FPos;
            else break;
            FWide.push_back(u'\'');
          } else {
            FWide.push_back(ScanQuotedChar());
          }
          FFromCode.push_back(false);
        }
      } else if (FPos < FText.size() && FText[FPos] == '#') {
        ++FPos;
        size_t start = FPos;
        while (FPos < FText.size() && std::isdigit(uint8_t(FText[FPos]))) ++FPos;
        unsigned code = 0;
        auto r = std::from_chars(FText.data() + start, FText.data() + FPos, code);
        if (r.ec != std::errc() || FPos == start || code > 0xFFFF) Error(rs::SInvalidNumber);
        FWide.push_back(char16_t(code));
        FFromCode.push_back(true);
      } else {
        // A '+' continues the string on the next piece.
        size_t save = FPos;
        int saveLine = FLine;
        SkipBlanks();
        if (FPos < FText.size() && FText[FPos] == '+') {
          ++FPos;
          SkipBlanks();
          if (FPos < FText.size() && (FText[FPos] == '\'' || FText[FPos] == '#')) continue;
          Error(rs::SStringExpected);
        }
        FPos = save;
        FLine = saveLine;
        return;
      }
    }
  }

  void ScanHex() {
    FToken = TToken::Hex;
    ++FPos;
    FBytes.clear();
    int pending = -1;
    for (;;) {
      if (FPos >= FText.size()) Error(rs::SInvalidBinary);
      char c = FText[FPos++];
      if (c == '}') break;
      if (c == '\n') ++FLine;
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
      if (!std::isxdigit(uint8_t(c))) Error(rs::SInvalidBinary);
      int nibble = std::isdigit(uint8_t(c)) ? c - '0' : (std::tolower(uint8_t(c)) - 'a' + 10);
      if (pending < 0) {
        pending = nibble;
      } else {
        FBytes.push_back(uint8_t(pending << 4 | nibble));
        pending = -1;
      }
    }
    if (pending >= 0) Error(rs::SInvalidBinary);
  }

  [[noreturn]] void Error(const std::string& message) const { ErrorAt(message, FTokenLine); }
  // Columns count characters, as an editor shows them, not bytes.
  [[noreturn]] void ErrorAtColumn(const char* message, size_t pos) const {
    int column = 1;
    for (size_t i = FLineStart; i < pos; ++i) column += (uint8_t(FText[i]) & 0xC0) != 0x80;
    throw EParserError(rs::SParseErrorAt, message, FLine, column);
  }
  [[noreturn]] static void ErrorAt(const std::string& message, int line) {
    throw EParserError(rs::SParseError, message, line);
  }

  bool IsSymbol(char c) const { return FToken == TToken::Symbol && FValue[0] == c; }
  bool IsKeyword(const char* word) const { return FToken == TToken::Ident && SameText(FValue, word); }

  void Expect(char c) {
    if (!IsSymbol(c)) Error(Format(rs::SCharExpected, std::string(1, c)));
    Next();
  }

  std::string TakeIdent() {
    if (FToken != TToken::Ident) Error(rs::SIdentifierExpected);
    std::string s = FValue;
    Next();
    return s;
  }

  // --- structure ---
  void ParseObject(int depth) {
    if (depth > TStreamReader::kMaxDepth) Error(rs::SInvalidStreamFormat);
    int flags = IsKeyword("inherited") ? ffInherited : IsKeyword("inline") ? ffInline : 0;
    if (flags == 0 && !IsKeyword("object")) Error(Format(rs::SCharExpected, std::string("object")));
    Next();
    std::string name;
    std::string className = TakeIdent();
    if (IsSymbol(':')) {
      Next();
      name = className;
      className = TakeIdent();
    }
    int childPos = 0;
    if (IsSymbol('[')) {
      Next();
      childPos = int(ParseIntegerToken());
      Expect(']');
      flags |= ffChildPos;
    }
    FWriter.WritePrefix(flags, childPos);
    FWriter.WriteStr(className);
    FWriter.WriteStr(name);
    while (FToken == TToken::Ident && (PropertyFollows() || (!IsKeyword("end") && !IsObjectStart())))
      ParseProperty(depth);
    FWriter.WriteListEnd();
    while (IsObjectStart()) ParseObject(depth + 1);
    FWriter.WriteListEnd();
    if (!IsKeyword("end")) Error(Format(rs::SCharExpected, std::string("end")));
    Next();
  }

  // The identifier just read is a property name (it may be spelled like a keyword).
  bool PropertyFollows() const {
    size_t p = FPos;
    while (p < FText.size() && (FText[p] == ' ' || FText[p] == '\t' || FText[p] == '\r' || FText[p] == '\n')) ++p;
    return p < FText.size() && FText[p] == '=';
  }

  bool IsObjectStart() const { return IsKeyword("object") || IsKeyword("inherited") || IsKeyword("inline"); }

  void ParseProperty(int depth) {
    FWriter.WriteStr(TakeIdent());
    Expect('=');
    ParseValue(depth);
  }

  int64_t ParseIntegerToken() {
    if (FToken != TToken::Integer) Error(rs::SNumberExpected);
    std::string_view digits = FValue;
    bool negative = !digits.empty() && digits[0] == '-';
    if (negative) digits.remove_prefix(1);
    int base = 10;
    if (!digits.empty() && digits[0] == '$') {
      digits.remove_prefix(1);
      base = 16;
    }
    uint64_t magnitude = 0;
    auto r = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
    bool fits = negative ? magnitude <= uint64_t(INT64_MAX) + 1 : magnitude <= uint64_t(INT64_MAX);
    if (r.ec != std::errc() || r.ptr != digits.data() + digits.size() || digits.empty() || !fits)
      Error(rs::SInvalidNumber);
    Next();
    return negative ? int64_t(0 - magnitude) : int64_t(magnitude);
  }

  void ParseValue(int depth) {
    if (depth > TStreamReader::kMaxDepth) Error(rs::SInvalidStreamFormat);
    switch (FToken) {
      case TToken::Integer: FWriter.WriteInteger(ParseIntegerToken()); return;
      case TToken::Float: ParseFloat(); return;
      case TToken::String: WriteText(); Next(); return;
      case TToken::Hex: FWriter.WriteBinary(FBytes.data(), FBytes.size()); Next(); return;
      case TToken::RawFloat: WriteRawFloat(); Next(); return;
      case TToken::Ident:
        if (IsKeyword("file")) ParseFile();
        else FWriter.WriteIdent(TakeIdent());
        return;
      default: break;
    }
    if (IsSymbol('[')) ParseSet();
    else if (IsSymbol('(')) ParseList(depth);
    else if (IsSymbol('<')) ParseCollection(depth);
    else Error(rs::SValueExpected);
  }

  void ParseFloat() {
    std::string text = FValue;
    char suffix = text.back();
    if (suffix == 's' || suffix == 'c' || suffix == 'd') text.pop_back();
    else suffix = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    if (suffix == 'c') {
      FWriter.WriteCurrency(ParseCurrency(text));
    } else if (suffix == 's') {
      float f = 0;
      auto r = std::from_chars(first, last, f);
      if (r.ec != std::errc() || r.ptr != last) Error(rs::SInvalidNumber);
      FWriter.WriteSingle(f);
    } else {
      double d = 0;
      auto r = std::from_chars(first, last, d);
      if (r.ec != std::errc() || r.ptr != last) Error(rs::SInvalidNumber);
      if (suffix == 'd') FWriter.WriteDate(d);
      else FWriter.WriteFloat(d);
    }
    Next();
  }

  void WriteRawFloat() {
    const size_t size = FValue[0] == 'e' ? 10 : FValue[0] == 's' ? 4 : 8;
    if (FBytes.size() != size) Error(rs::SInvalidNumber);
    const TValueType tag = FValue[0] == 'e' ? TValueType::vaExtended : FValue[0] == 's' ? TValueType::vaSingle
                                                                                        : TValueType::vaDate;
    FWriter.WriteValue(tag);
    FWriter.Write(FBytes.data(), int64_t(size));
  }

  // Currency is exact: at most four decimals, kept as a count of 1/10000 units, over the
  // whole signed 64-bit range.
  int64_t ParseCurrency(const std::string& text) {
    bool negative = text[0] == '-';
    std::string body = text.substr(negative ? 1 : 0);
    size_t dot = body.find('.');
    std::string whole = body.substr(0, dot);
    std::string fraction = dot == std::string::npos ? "" : body.substr(dot + 1);
    if (whole.empty() || fraction.size() > 4 || body.find_first_not_of("0123456789.") != std::string::npos ||
        fraction.find('.') != std::string::npos)
      Error(rs::SInvalidNumber);
    fraction.resize(4, '0');
    uint64_t units = 0;
    auto r = std::from_chars(whole.data(), whole.data() + whole.size(), units);
    const unsigned __int128 total = (unsigned __int128)units * 10000 + std::stoull(fraction);
    const unsigned __int128 limit = negative ? (unsigned __int128)INT64_MAX + 1 : (unsigned __int128)INT64_MAX;
    if (r.ec != std::errc() || total > limit) Error(rs::SInvalidNumber);
    return negative ? int64_t(0 - uint64_t(total)) : int64_t(uint64_t(total));
  }

  void WriteText() {
    bool wide = false;
    for (size_t i = 0; i < FWide.size(); ++i) wide = wide || (FFromCode[i] && FWide[i] > 0xFF);
    if (wide) {
      // Quoted characters were taken into the code page; a wide string holds them as text.
      std::u16string text = FWide;
      for (size_t i = 0; i < text.size(); ++i)
        if (!FFromCode[i]) text[i] = AnsiToWide(std::string(1, char(text[i])))[0];
      FWriter.WriteWideString(text);
      return;
    }
    std::string bytes;
    for (char16_t c : FWide) bytes.push_back(char(uint8_t(c)));
    FWriter.WriteString(bytes);
  }

  void ParseFile() {
    Next();
    if (FToken != TToken::String && !IsSymbol('"')) Error(rs::SStringExpected);
    std::string fileName = IsSymbol('"') ? ScanQuotedName() : NarrowValue();
    int fileLine = FTokenLine;
    Next();
    std::string className;
    if (IsKeyword("class")) {
      Next();
      className = TakeIdent();
    }
    std::vector<uint8_t> content = ReadFile(fileName, fileLine);
    std::vector<uint8_t> block;
    if (!className.empty()) {
      if (className.size() > 255) Error(rs::SIdentifierExpected);
      block.push_back(uint8_t(className.size()));
      block.insert(block.end(), className.begin(), className.end());
    }
    uint32_t count = uint32_t(content.size());
    for (int i = 0; i < 4; ++i) block.push_back(uint8_t(count >> (8 * i)));
    block.insert(block.end(), content.begin(), content.end());
    FWriter.WriteBinary(block.data(), block.size());
  }

  // "name" in double quotes: the symbol '"' was just read, the name runs to the next '"'.
  std::string ScanQuotedName() {
    size_t end = FText.find('"', FPos);
    if (end == std::string_view::npos || FText.substr(FPos, end - FPos).find('\n') != std::string_view::npos)
      Error(rs::SStringExpected);
    std::string name(FText.substr(FPos, end - FPos));
    FPos = end + 1;
    return name;
  }

  std::string NarrowValue() const {
    std::string s;
    for (char16_t c : FWide) s.push_back(char(c));
    return s;
  }

  std::vector<uint8_t> ReadFile(const std::string& fileName, int line) {
    std::string path = fileName.starts_with('/') || FBaseDir.empty() ? fileName : FBaseDir + "/" + fileName;
    std::ifstream in(path, std::ios::binary);
    if (!in) ErrorAt(Format(rs::SFOpenError, path), line);
    if (FFilesRead) FFilesRead->push_back(path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  void ParseSet() {
    Next();
    std::vector<std::string> names;
    if (!IsSymbol(']')) {
      names.push_back(TakeIdent());
      while (IsSymbol(',')) {
        Next();
        names.push_back(TakeIdent());
      }
    }
    Expect(']');
    FWriter.WriteSet(names);
  }

  void ParseList(int depth) {
    Next();
    FWriter.WriteListBegin();
    while (!IsSymbol(')')) {
      if (FToken == TToken::End) Error(Format(rs::SCharExpected, std::string(")")));
      ParseValue(depth + 1);
    }
    Next();
    FWriter.WriteListEnd();
  }

  void ParseCollection(int depth) {
    Next();
    FWriter.WriteValue(TValueType::vaCollection);
    while (!IsSymbol('>')) {
      if (!IsKeyword("item")) Error(Format(rs::SCharExpected, std::string("item")));
      Next();
      if (IsSymbol('[')) {
        Next();
        FWriter.WriteInteger(ParseIntegerToken());
        Expect(']');
      }
      FWriter.WriteListBegin();
      while (FToken == TToken::Ident && (PropertyFollows() || !IsKeyword("end"))) ParseProperty(depth + 1);
      if (!IsKeyword("end")) Error(Format(rs::SCharExpected, std::string("end")));
      Next();
      FWriter.WriteListEnd();
    }
    Next();
    FWriter.WriteListEnd();
  }

  std::string_view FText;
  TStreamWriter& FWriter;
  std::string FBaseDir;
  std::vector<std::string>* FFilesRead;
  size_t FPos = 0;
  int FLine = 1;
  int FTokenLine = 1;
  size_t FLineStart = 0;  // position of the current line's first character
  std::vector<bool> FFromCode;  // per character of FWide: written as #n, not quoted
  TToken FToken = TToken::End;
  std::string FValue;
  std::u16string FWide;
  std::vector<uint8_t> FBytes;
};
}  // namespace

namespace {
bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9') || c == '.'; }
}  // namespace

size_t IdentifierLength(std::string_view text, size_t from) {
  if (from >= text.size() || !IsIdentStart(text[from])) return 0;
  size_t at = from;
  for (;;) {
    while (at < text.size() && IsIdentChar(text[at])) ++at;
    // "Owner->Timer1": the arrow joins names of one reference.
    if (at + 2 < text.size() && text[at] == '-' && text[at + 1] == '>' && IsIdentStart(text[at + 2])) at += 2;
    else return at - from;
  }
}

void TextToBinary(std::string_view text, TStream& output, const std::string& baseDir,
                  std::vector<std::string>* filesRead) {
  TStreamWriter writer(output);
  TTextFormParser(text, writer, baseDir, filesRead).ParseForm();
  writer.FlushBuffer();
}
