// The text form printer: any well-formed stream as the text the compiler reads back.
#include <charconv>
#include <cmath>
#include <cstdio>

#include "formstream/stream_reader.h"
#include "formstream/text_form.h"
#include "formstream/value_codec.h"
#include "framework/core/text.h"

namespace {
class TTextFormPrinter {
 public:
  explicit TTextFormPrinter(TStream& input) : FReader(input) {}

  std::string Print() {
    FReader.ReadSignature();
    PrintObject(0, 0);
    // The text would not compile back to bytes that follow the form.
    if (FReader.BytesLeft() != 0) throw EReadError(rs::SInvalidStreamFormat);
    return std::move(FOut);
  }

 private:
  void Indent(int indent) { FOut.append(size_t(indent), ' '); }

  // A name goes into the text only as one identifier the compiler reads back whole; the
  // text has no way to spell another (an empty one, or one with blanks or control bytes).
  static const std::string& Spellable(const std::string& name) {
    if (name.empty() || IdentifierLength(name, 0) != name.size()) throw EReadError(rs::SInvalidStreamFormat);
    return name;
  }
  // An identifier value the compiler would read as another value or as the start of one.
  static const std::string& IdentValue(const std::string& value) {
    Spellable(value);
    if (value == "False" || value == "True" || value == "nil" || value == "Null" || SameText(value, "file"))
      throw EReadError(rs::SInvalidStreamFormat);
    return value;
  }

  // Depths are counted as the compiler counts them, so that whatever is printed compiles.
  void PrintObject(int indent, int depth) {
    if (depth > TStreamReader::kMaxDepth) throw EReadError(rs::SInvalidStreamFormat);
    int flags = 0, childPos = 0;
    FReader.ReadPrefix(flags, childPos);
    std::string className = Spellable(FReader.ReadStr());
    std::string name = FReader.ReadStr();
    if (!name.empty()) Spellable(name);
    Indent(indent);
    FOut += (flags & ffInherited) ? "inherited " : (flags & ffInline) ? "inline " : "object ";
    FOut += name.empty() ? className : name + ": " + className;
    if (flags & ffChildPos) FOut += " [" + std::to_string(childPos) + "]";
    FOut += '\n';
    PrintProperties(indent + 2, depth);
    while (!FReader.EndOfList()) PrintObject(indent + 2, depth + 1);
    FReader.ReadListEnd();
    Indent(indent);
    FOut += "end\n";
  }

  void PrintProperties(int indent, int depth) {
    while (!FReader.EndOfList()) {
      Indent(indent);
      FOut += Spellable(FReader.ReadStr()) + " = ";
      PrintValue(indent, depth);
      FOut += '\n';
    }
    FReader.ReadListEnd();
  }

  void PrintValue(int indent, int depth) {
    if (depth > TStreamReader::kMaxDepth) throw EReadError(rs::SInvalidStreamFormat);
    TValueType tag = FReader.ReadValue();
    switch (tag) {
      case TValueType::vaNull: FOut += "Null"; break;
      case TValueType::vaList: PrintList(indent, depth); break;
      case TValueType::vaInt8:
      case TValueType::vaInt16:
      case TValueType::vaInt32:
      case TValueType::vaInt64: PrintIntegerPayload(tag); break;
      case TValueType::vaExtended: PrintExtended(); break;
      case TValueType::vaSingle: PrintExact<float>('s'); break;
      case TValueType::vaCurrency: FOut += CurrencyText(FReader.ReadCurrencyPayload()) + "c"; break;
      case TValueType::vaDate: PrintExact<double>('d'); break;
      case TValueType::vaString: FOut += Quoted(FReader.ReadStr()); break;
      case TValueType::vaLString: FOut += Quoted(FReader.ReadLongStringPayload()); break;
      case TValueType::vaWString: FOut += Quoted(FReader.ReadWideStringPayload()); break;
      case TValueType::vaUTF8String: FOut += Quoted(Utf8Payload()); break;
      case TValueType::vaIdent: FOut += IdentValue(FReader.ReadStr()); break;
      case TValueType::vaFalse: FOut += "False"; break;
      case TValueType::vaTrue: FOut += "True"; break;
      case TValueType::vaNil: FOut += "nil"; break;
      case TValueType::vaBinary: PrintBinary(FReader.ReadBinaryPayload(), indent); break;
      case TValueType::vaSet: PrintSet(); break;
      case TValueType::vaCollection: PrintCollection(indent, depth); break;
    }
  }

  void PrintIntegerPayload(TValueType tag) {
    // Re-read through the value reader: it knows every integer width.
    FReader.SetPosition(FReader.Position() - 1);
    FOut += std::to_string(tag == TValueType::vaInt64 ? FReader.ReadInt64() : FReader.ReadInteger());
  }

  std::u16string Utf8Payload() { return Utf8ToWide(FReader.ReadUtf8Payload()); }

  // A float in decimal when that gives back its bytes, else its bytes: {...} and the suffix.
  void PrintExtended() {
    TExtended80 bytes;
    FReader.Read(bytes.data(), 10);
    const double value = ExtendedToDouble(bytes);
    if (std::isfinite(value) && DoubleToExtended(value) == bytes) FOut += FloatText(value);
    else FOut += RawText(bytes.data(), bytes.size()) + "e";
  }

  template <class F>
  void PrintExact(char suffix) {
    F value;
    FReader.Read(&value, sizeof value);
    if (std::isfinite(value)) FOut += FloatText(value) + suffix;
    else FOut += RawText(reinterpret_cast<const uint8_t*>(&value), sizeof value) + suffix;
  }

  static std::string RawText(const uint8_t* bytes, size_t size) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = "{";
    for (size_t i = 0; i < size; ++i) {
      out += kHex[bytes[i] >> 4];
      out += kHex[bytes[i] & 15];
    }
    return out + "}";
  }

  void PrintList(int indent, int depth) {
    FOut += "(";
    while (!FReader.EndOfList()) {
      FOut += '\n';
      Indent(indent + 2);
      PrintValue(indent + 2, depth + 1);
    }
    FReader.ReadListEnd();
    FOut += ")";
  }

  void PrintSet() {
    FOut += "[";
    std::vector<std::string> names = FReader.ReadSetPayload();
    for (size_t i = 0; i < names.size(); ++i) FOut += (i ? ", " : "") + Spellable(names[i]);
    FOut += "]";
  }

  void PrintBinary(const std::vector<uint8_t>& bytes, int indent) {
    static const char kHex[] = "0123456789ABCDEF";
    FOut += "{";
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (i % 32 == 0) {
        FOut += '\n';
        Indent(indent + 2);
      }
      FOut += kHex[bytes[i] >> 4];
      FOut += kHex[bytes[i] & 15];
    }
    FOut += "}";
  }

  void PrintCollection(int indent, int depth) {
    FOut += "<";
    while (!FReader.EndOfList()) {
      FOut += '\n';
      Indent(indent + 2);
      FOut += "item";
      TValueType tag = FReader.NextValue();
      if (tag == TValueType::vaInt8 || tag == TValueType::vaInt16 || tag == TValueType::vaInt32)
        FOut += " [" + std::to_string(FReader.ReadInteger()) + "]";
      FOut += '\n';
      FReader.ReadListBegin();
      PrintProperties(indent + 4, depth + 1);
      Indent(indent + 2);
      FOut += "end";
    }
    FReader.ReadListEnd();
    FOut += ">";
  }

  template <class F>
  static std::string FloatText(F value) {
    char buffer[64];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, r.ptr);
    if (text.find_first_of(".en") == std::string::npos) text += ".0";  // keeps it a float
    return text;
  }

  static std::string CurrencyText(int64_t units) {
    uint64_t magnitude = units < 0 ? 0 - uint64_t(units) : uint64_t(units);
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, "%04u", unsigned(magnitude % 10000));
    std::string f = fraction;
    while (f.size() > 1 && f.back() == '0') f.pop_back();
    return (units < 0 ? "-" : "") + std::to_string(magnitude / 10000) + "." + f;
  }

  // Printable ASCII in quotes, everything else as #n.
  template <class S>
  static std::string Quoted(const S& text) {
    std::string out;
    bool open = false;
    for (auto ch : text) {
      unsigned c = unsigned(std::make_unsigned_t<typename S::value_type>(ch));
      if (c >= 32 && c < 127) {
        if (!open) out += '\'';
        open = true;
        out += char(c);
        if (c == '\'') out += '\'';
      } else {
        if (open) out += '\'';
        open = false;
        out += "#" + std::to_string(c);
      }
    }
    if (open) out += '\'';
    return out.empty() ? "''" : out;
  }

  TStreamReader FReader;
  std::string FOut;
};

}  // namespace

std::string BinaryToText(TStream& input) { return TTextFormPrinter(input).Print(); }
