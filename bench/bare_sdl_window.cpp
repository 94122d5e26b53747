// The yardstick for the viewer's idle cost: a bare SDL window of the main window's size
// and place, sky blue, whose banner rectangle (945 x 49 at 8, 8) is refilled and presented
// every 100 ms, sleeping in SDL between the fills as the viewer's loop does. It ends on a
// close request. With VELMORATH_REPORT_FIRST_FRAME set it reports its first complete frame
// as the viewer does ("first frame <ns>" of the monotonic clock on the error output).
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

int main() {
  // The window surface in plain memory sent to the X server, as the viewer's backend asks.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "bare_sdl_window: %s\n", SDL_GetError());
    return 2;
  }
  SDL_Window* window = SDL_CreateWindow("bare", 140, 96, 959, 614, 0);
  SDL_Surface* surface = window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
  if (surface == nullptr) {
    std::fprintf(stderr, "bare_sdl_window: %s\n", SDL_GetError());
    return 2;
  }
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0xA6, 0xCA, 0xF0));
  SDL_UpdateWindowSurface(window);
  if (std::getenv("VELMORATH_REPORT_FIRST_FRAME") != nullptr) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "first frame %lld\n", now.tv_sec * 1000000000LL + now.tv_nsec);
  }
  SDL_Rect banner{8, 8, 945, 49};
  Uint32 next = SDL_GetTicks() + 100;
  for (int phase = 0;; ) {
    const Uint32 now = SDL_GetTicks();
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, now < next ? int(next - now) : 0)) {
      if (event.type == SDL_QUIT) break;
      continue;
    }
    if (SDL_GetTicks() < next) continue;
    next += 100;
    phase ^= 1;
    SDL_FillRect(surface, &banner, SDL_MapRGB(surface->format, 0, phase ? 0xFF : 0x40, 0));
    SDL_UpdateWindowSurfaceRects(window, &banner, 1);
  }
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
