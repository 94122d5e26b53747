#include "platform/sdl/wayland_probe.h"

#ifdef VELMORATH_HAVE_WAYLAND
#include <wayland-client.h>

#include <cstdint>
#include <cstring>

namespace {
void OnGlobal(void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
  if (std::strcmp(interface, "wl_seat") == 0) *static_cast<bool*>(data) = true;
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemove};
}  // namespace

bool WaylandCompositorHasSeat() {
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) return false;
  bool seat = false;
  wl_registry* registry = wl_display_get_registry(display);
  // One round trip delivers every global the compositor offers at connection time.
  if (registry != nullptr && wl_registry_add_listener(registry, &kRegistryListener, &seat) == 0)
    if (wl_display_roundtrip(display) < 0) seat = false;
  if (registry != nullptr) wl_registry_destroy(registry);
  wl_display_disconnect(display);
  return seat;
}
#else
bool WaylandCompositorHasSeat() { return false; }
#endif
