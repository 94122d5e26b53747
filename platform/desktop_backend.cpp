#include "platform/desktop_backend.h"

#include <cstdio>
#include <cstdlib>

#include "framework/core/resource_strings.h"
#include "platform/sdl/sdl_backend.h"

std::unique_ptr<TPlatformBackend> CreateDesktopBackend() {
  if (std::unique_ptr<TPlatformBackend> backend = CreateSdlBackend()) return backend;
  std::fprintf(stderr, "%s\n", rs::SNoDisplay);
  std::exit(2);
}
