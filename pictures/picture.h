#pragma once
// TPicture: the container of at most one graphic, with the process-wide registry of graphic
// classes by file extension, and the stored form of a picture ("Data": the graphic's class
// name, then the graphic's own stored data).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/graphics/graphic.h"

class TClassInfo;

// One row of the graphic class registry.
struct TFileFormat {
  std::string Extension;  // lower-cased
  std::string Description;
  const TClassInfo* GraphicClass = nullptr;
};

// The registry in registration order; made on first use with the framework's own rows.
const std::vector<TFileFormat>& GraphicFileFormats();
// Appends a row; `graphicClass` must describe a TGraphic that can be constructed.
void RegisterFileFormat(std::string_view extension, std::string_view description, const TClassInfo& graphicClass);
// Removes every row whose class is `graphicClass` or derives from it.
void UnregisterGraphicClass(const TClassInfo& graphicClass);
// The registered class whose name is exactly `className` (case-sensitive), searching from the
// last row to the first; none when no row names it.
const TClassInfo* FindGraphicClass(std::string_view className);

// Told after every change of a picture, after its change callback.
class IChangeNotifier {
 public:
  virtual ~IChangeNotifier() = default;
  virtual void Changed() = 0;
};

class TPicture : public TInterfacedPersistent {
 public:
  VM_CLASS()
  TPicture();
  ~TPicture() override;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  // The graphic, owned; none when the picture is empty.
  TGraphic* Graphic() const { return FGraphic.get(); }
  // Takes a copy of `graphic` (none empties the picture).
  void SetGraphic(const TGraphic* graphic);
  // The graphic's size, 0 when there is none.
  int Width() const;
  int Height() const;

  // From a picture: a copy of its graphic; from a graphic: a copy of it; from nothing: empty.
  void CopyFrom(const TPersistent* source) override;
  // "Data", stored when the graphic differs from the ancestor's (or, without one, exists).
  void DeclareStoredData(TFiler& filer) override;
  // The stored value: class name length and characters, then the graphic's own data.
  // An unregistered class name leaves the picture empty and the rest unread.
  void ReadData(TStream& stream);
  void WriteData(TStream& stream) const;

  void SetNotifier(IChangeNotifier* notifier) { FNotifier = notifier; }

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

 private:
  // Frees the old graphic, takes `graphic` with its callbacks hooked, and runs the change handling.
  void TakeGraphic(std::unique_ptr<TGraphic> graphic);
  void Changed();

  std::unique_ptr<TGraphic> FGraphic;
  IChangeNotifier* FNotifier = nullptr;
};
