#include "pictures/picture.h"

#include <algorithm>
#include <mutex>

#include "framework/core/filer.h"
#include "framework/core/stream.h"
#include "framework/core/text.h"
#include "framework/graphics/bitmap.h"
#include "framework/typeinfo/class_info.h"

namespace rs {
inline constexpr const char* SBitmaps = "Bitmaps";
inline constexpr const char* SGraphicNotCreatable = "Cannot create a graphic of class %s";
}  // namespace rs

namespace {
// A stored class name is cut to this many characters.
constexpr size_t kMaxStoredClassName = 63;

struct TFormatRegistry {
  std::mutex Lock;
  std::vector<TFileFormat> Formats;
};

// Metafiles and icons are not supported, so the framework's own rows are only the bitmaps;
// their class names then load as empty pictures, like any name not registered.
TFormatRegistry& Registry() {
  static TFormatRegistry registry{{}, {{"bmp", rs::SBitmaps, &TBitmap::ClassInfo()}}};
  return registry;
}

std::unique_ptr<TGraphic> NewGraphic(const TClassInfo& cls) {
  std::unique_ptr<TObject> made(cls.Create ? cls.Create(nullptr) : nullptr);
  auto* graphic = dynamic_cast<TGraphic*>(made.get());
  if (graphic == nullptr) throw EInvalidGraphic(rs::SGraphicNotCreatable, cls.Name);
  made.release();
  return std::unique_ptr<TGraphic>(graphic);
}

std::unique_ptr<TGraphic> CopyOf(const TGraphic& source) {
  std::unique_ptr<TGraphic> copy = NewGraphic(source.GetClassInfo());
  copy->CopyFrom(&source);
  return copy;
}
}  // namespace

const std::vector<TFileFormat>& GraphicFileFormats() { return Registry().Formats; }

void RegisterFileFormat(std::string_view extension, std::string_view description, const TClassInfo& graphicClass) {
  if (graphicClass.Create == nullptr || !graphicClass.InheritsFrom(TGraphic::ClassInfo()))
    throw EInvalidGraphic(rs::SGraphicNotCreatable, graphicClass.Name);
  TFormatRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  r.Formats.push_back({LowerCase(extension), std::string(description), &graphicClass});
}

void UnregisterGraphicClass(const TClassInfo& graphicClass) {
  TFormatRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  std::erase_if(r.Formats, [&](const TFileFormat& f) { return f.GraphicClass->InheritsFrom(graphicClass); });
}

const TClassInfo* FindGraphicClass(std::string_view className) {
  TFormatRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  for (auto it = r.Formats.rbegin(); it != r.Formats.rend(); ++it)
    if (it->GraphicClass->Name == className) return it->GraphicClass;
  return nullptr;
}

const TClassInfo& TPicture::ClassInfo() {
  static const TClassInfo info = DefineClass<TPicture, TInterfacedPersistent>("TPicture");
  return info;
}

TPicture::TPicture() { GraphicFileFormats(); }

TPicture::~TPicture() = default;

int TPicture::Width() const { return FGraphic ? FGraphic->Width() : 0; }

int TPicture::Height() const { return FGraphic ? FGraphic->Height() : 0; }

void TPicture::SetGraphic(const TGraphic* graphic) {
  if (graphic == FGraphic.get() && graphic != nullptr) return;
  TakeGraphic(graphic ? CopyOf(*graphic) : nullptr);
}

void TPicture::CopyFrom(const TPersistent* source) {
  if (source == nullptr) return SetGraphic(nullptr);
  if (const auto* picture = dynamic_cast<const TPicture*>(source)) {
    if (picture != this) SetGraphic(picture->Graphic());
    return;
  }
  if (const auto* graphic = dynamic_cast<const TGraphic*>(source)) return SetGraphic(graphic);
  TInterfacedPersistent::CopyFrom(source);
}

void TPicture::DeclareStoredData(TFiler& filer) {
  bool hasData = FGraphic != nullptr;
  if (auto* writer = dynamic_cast<TWriter*>(&filer); writer != nullptr && writer->Ancestor() != nullptr) {
    hasData = true;
    if (const auto* ancestor = dynamic_cast<const TPicture*>(writer->Ancestor())) {
      const TGraphic* theirs = ancestor->Graphic();
      const bool same = theirs == FGraphic.get() || (theirs && FGraphic && FGraphic->SameAs(*theirs));
      hasData = !same;
    }
  }
  filer.DeclareByteBlockProperty(
      "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, hasData);
}

void TPicture::ReadData(TStream& stream) {
  uint8_t length = 0;
  stream.ReadBuffer(&length, 1);
  std::string className(length, '\0');
  stream.ReadBuffer(className.data(), length);
  std::unique_ptr<TGraphic> graphic;
  if (const TClassInfo* cls = FindGraphicClass(className)) {
    graphic = NewGraphic(*cls);
    graphic->ReadStoredData(stream);  // on failure the new graphic goes with the unwinding
  } else {
    stream.Seek(0, TSeekOrigin::End);
  }
  TakeGraphic(std::move(graphic));
}

void TPicture::WriteData(TStream& stream) const {
  if (!FGraphic) {
    const uint8_t none = 0;
    stream.WriteBuffer(&none, 1);
    return;
  }
  const std::string& name = FGraphic->ClassName();
  const auto length = uint8_t(std::min(name.size(), kMaxStoredClassName));
  stream.WriteBuffer(&length, 1);
  stream.WriteBuffer(name.data(), length);
  FGraphic->WriteStoredData(stream);
}

void TPicture::TakeGraphic(std::unique_ptr<TGraphic> graphic) {
  if (graphic) {
    graphic->OnChange = [this](TObject*) { Changed(); };
    graphic->OnProgress = [this](TObject* sender, TProgressStage stage, uint8_t percent, bool redrawNow,
                                 const TRect& rect, const std::string& message) {
      OnProgress(sender, stage, percent, redrawNow, rect, message);
    };
  }
  FGraphic = std::move(graphic);
  Changed();
}

void TPicture::Changed() {
  OnChange(this);
  if (FNotifier != nullptr) FNotifier->Changed();
}
