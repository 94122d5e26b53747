#include "platform/desktop_backend.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/core/resource_strings.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_scale.h"

// The scale comes from the environment, refused with a message when it cannot be taken.
TOpeningDesktop::TOpeningDesktop() {
  std::string refusal;
  const int scale = ScaleFromEnvironment(std::getenv("VELMORATH_SCALE"), std::getenv("GDK_SCALE"), refusal);
  if (!refusal.empty()) std::fprintf(stderr, "%s\n", refusal.c_str());
  FBackend = NewSdlBackend(scale);
}

TOpeningDesktop::~TOpeningDesktop() = default;

TPlatformBackend& TOpeningDesktop::Backend() { return *FBackend; }

bool TOpeningDesktop::Open() { return FBackend->Open(); }

std::unique_ptr<TPlatformBackend> OpenDesktopBackend() {
  TOpeningDesktop desktop;
  if (!desktop.Open()) return nullptr;
  return std::move(desktop.FBackend);
}

int ReportNoDisplay() {
  std::fprintf(stderr, "%s\n", rs::SNoDisplay);
  return 2;
}

std::unique_ptr<TPlatformBackend> CreateDesktopBackend() {
  if (std::unique_ptr<TPlatformBackend> backend = OpenDesktopBackend()) return backend;
  std::exit(ReportNoDisplay());
}
