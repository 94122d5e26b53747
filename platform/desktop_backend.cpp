#include "platform/desktop_backend.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/core/resource_strings.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_scale.h"

std::unique_ptr<TPlatformBackend> CreateDesktopBackend() {
  std::string refusal;
  const int scale = ScaleFromEnvironment(std::getenv("VELMORATH_SCALE"), std::getenv("GDK_SCALE"), refusal);
  if (!refusal.empty()) std::fprintf(stderr, "%s\n", refusal.c_str());
  if (std::unique_ptr<TPlatformBackend> backend = CreateSdlBackend(scale)) return backend;
  std::fprintf(stderr, "%s\n", rs::SNoDisplay);
  std::exit(2);
}
