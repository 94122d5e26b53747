// The desktop backend made before its display opens: windows made meanwhile on another
// thread wait for the display before they reach the desktop, and learn when there is none.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "framework/core/exceptions.h"
#include "platform/sdl/sdl_backend.h"

TEST(SdlOpening, AWindowShownBeforeTheDisplayAnswersWaitsAndLearnsThereIsNone) {
  // Each test runs in a process of its own: the environment is this test's.
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) unsetenv(name);
  std::unique_ptr<TSdlBackend> backend = NewSdlBackend();
  std::unique_ptr<TPlatformWindow> window = backend->CreateWindow({10, 10, 110, 60});
  window->SetCaption("made before the display");
  std::atomic<bool> done = false;
  bool refused = false;
  std::thread shower([&] {
    try {
      window->SetVisible(true);
    } catch (const EOutOfResources&) {
      refused = true;
    }
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(done) << "showing went on before the display answered";
  EXPECT_FALSE(backend->Open());
  shower.join();
  EXPECT_TRUE(refused);
  EXPECT_THROW(backend->ScreenSize(), EOutOfResources);
}

TEST(SdlOpening, WithoutADisplayTheFactoryAnswersNone) {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) unsetenv(name);
  EXPECT_EQ(CreateSdlBackend(), nullptr);
}
