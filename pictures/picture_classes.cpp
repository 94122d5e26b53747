#include "pictures/picture_classes.h"

#include <algorithm>
#include <mutex>

#include "framework/core/resource_strings.h"
#include "framework/typeinfo/class_registry.h"
#include "pictures/image.h"
#include "pictures/jpeg_image.h"
#include "pictures/jpeg_settings.h"
#include "pictures/picture.h"

namespace {
bool Registered(const TClassInfo& cls) {
  const std::vector<TFileFormat>& formats = GraphicFileFormats();
  return std::any_of(formats.begin(), formats.end(), [&](const TFileFormat& f) { return f.GraphicClass == &cls; });
}
}  // namespace

void RegisterPictureClasses() {
  // The output depth is chosen once, from the screen the program starts on.
  static std::once_flag depthChosen;
  std::call_once(depthChosen, InitializeJpegDefaults);
  RegisterStreamClass(TImage::ClassInfo());
  if (!Registered(TJPEGImage::ClassInfo())) {
    RegisterFileFormat("jpeg", rs::SJPEGImageFile, TJPEGImage::ClassInfo());
    RegisterFileFormat("jpg", rs::SJPEGImageFile, TJPEGImage::ClassInfo());
  }
}
