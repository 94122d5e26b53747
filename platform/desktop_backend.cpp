#include "platform/desktop_backend.h"

#include <cstdio>
#include <cstdlib>

#include "framework/core/resource_strings.h"
#include "platform/sdl/sdl_backend.h"

std::unique_ptr<TPlatformBackend> OpenDesktopBackend() { return CreateSdlBackend(); }

int ReportNoDisplay() {
  std::fprintf(stderr, "%s\n", rs::SNoDisplay);
  return 2;
}

std::unique_ptr<TPlatformBackend> CreateDesktopBackend() {
  if (std::unique_ptr<TPlatformBackend> backend = OpenDesktopBackend()) return backend;
  std::exit(ReportNoDisplay());
}
