#pragma once
// What the end-to-end tests drive a program with: a virtual display of their own, child
// processes with their output in files, the desktop tools (xdotool, import) and decoded
// screenshots of the whole virtual screen.
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Added to a child's environment: no session bus here, so the display library does not try one.
inline constexpr const char* kNoSessionBus = "DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent";
// How long a desktop test waits for a state at most. Only an upper bound: a state that comes
// sooner ends the wait, and a busy machine may need most of it.
inline constexpr int kDesktopWaitMs = 30000;

// `name` in the folder `folder` below the working directory (made when missing).
std::string WorkPath(const std::string& name, const std::string& folder = "e2e_work");
// The name of the running GoogleTest test.
std::string TestName();
// Polls `condition` every `pollMs` until it holds (true) or `ms` have passed (false).
bool Eventually(const std::function<bool()>& condition, int ms = kDesktopWaitMs, int pollMs = 50);

// A child process; killed when still running at destruction.
class TChildProcess {
 public:
  // Runs `argv` with `env` added to (or, for "NAME" without "=", removed from) this
  // process's environment; standard output and error go to the two files.
  TChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                const std::string& outPath, const std::string& errPath);
  ~TChildProcess();
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  pid_t Pid() const { return FPid; }
  bool Started() const { return FPid > 0; }
  // Waits up to `ms` for the process to end; answers its exit status, or -1 when it is
  // still running (or was killed by a signal).
  int WaitExit(int ms);
  // Total user and system CPU seconds the process has used so far.
  double CpuSeconds() const;

 private:
  pid_t FPid = -1;
  bool FReaped = false;
  int FStatus = -1;
};

// An X server in memory, on a display number it picked itself.
class TVirtualDisplay {
 public:
  // `screen`: width x height x depth of its one screen.
  explicit TVirtualDisplay(const std::string& screen = "1280x1024x24");
  ~TVirtualDisplay();
  // Empty when the server runs; else why it could not be started.
  const std::string& Failure() const { return FFailure; }
  const std::string& Name() const { return FName; }  // ":N"

 private:
  pid_t FPid = -1;
  std::string FName;
  std::string FFailure;
};

// A screenshot of the whole virtual screen, 0xRRGGBB per pixel.
struct TScreenshot {
  int Width = 0, Height = 0;
  std::vector<uint32_t> Pixels;
  uint32_t At(int x, int y) const { return Pixels[size_t(y) * size_t(Width) + size_t(x)]; }
};

// Runs a shell command line with DISPLAY set; answers its exit status and, when asked,
// its standard output.
int RunOnDisplay(const std::string& display, const std::string& command, std::string* output = nullptr);
bool ProgramAvailable(const std::string& name);
// Takes a screenshot with `import` into `pngPath` and decodes it; false on failure.
bool TakeScreenshot(const std::string& display, const std::string& pngPath, TScreenshot& shot);
// The lines of a text file.
std::vector<std::string> ReadLines(const std::string& path);

// The id of the visible window with exactly this caption, or "".
std::string VisibleWindowId(const std::string& display, const std::string& caption);
// Where a window's client area lies on the screen, inside any frame a window manager drew
// around it (X -1 when the window is not found).
struct TClientGeometry {
  int X = -1, Y = -1, Width = 0, Height = 0;
};
TClientGeometry ClientGeometryOf(const std::string& display, const std::string& windowId);
// Sends the display its first key, then starts openbox on it and waits until it manages the
// screen; `failure` says why when it never does.
std::unique_ptr<TChildProcess> StartWindowManager(const std::string& display, std::string& failure);
