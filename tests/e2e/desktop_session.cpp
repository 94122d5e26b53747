#include "desktop_session.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <png.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {
// In the child after fork from `parent`: standard output and error into files, then the
// program. The child is killed when the test process ends without its destructors (a crash,
// the test runner's timeout): a display server, compositor or viewer left behind would keep
// a core busy for the tests that come after.
[[noreturn]] void ExecChild(pid_t parent, const std::vector<std::string>& argv, const std::vector<std::string>& env,
                            const std::string& outPath, const std::string& errPath) {
  if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) _exit(127);
  const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out < 0 || err < 0) _exit(127);
  dup2(out, 1);
  dup2(err, 2);
  for (const std::string& e : env) {
    const size_t eq = e.find('=');
    if (eq == std::string::npos) unsetenv(e.c_str());
    else setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
  }
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}
}  // namespace

TChildProcess::TChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                             const std::string& outPath, const std::string& errPath) {
  const pid_t parent = getpid();
  FPid = fork();
  if (FPid == 0) ExecChild(parent, argv, env, outPath, errPath);
}

TChildProcess::~TChildProcess() {
  if (FPid <= 0 || FReaped) return;
  kill(FPid, SIGKILL);
  waitpid(FPid, nullptr, 0);
}

int TChildProcess::WaitExit(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!FReaped && FPid > 0) {
    int status = 0;
    if (waitpid(FPid, &status, WNOHANG) == FPid) {
      FReaped = true;
      FStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      break;
    }
    if (std::chrono::steady_clock::now() >= end) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return FStatus;
}

double TChildProcess::CpuSeconds() const {
  std::ifstream in("/proc/" + std::to_string(FPid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return -1;
  // After the command name: state is field 3, user time 14 and system time 15.
  std::istringstream fields(stat.substr(close + 2));
  std::string field;
  long long user = 0, system = 0;
  for (int n = 3; n <= 15 && fields >> field; ++n) {
    if (n == 14) user = std::stoll(field);
    if (n == 15) system = std::stoll(field);
  }
  return double(user + system) / double(sysconf(_SC_CLK_TCK));
}

// ---- the virtual display ----

TVirtualDisplay::TVirtualDisplay(const std::string& screen) {
  if (!ProgramAvailable("Xvfb")) {
    FFailure = "Xvfb is not installed";
    return;
  }
  int fds[2];
  if (pipe(fds) != 0) {
    FFailure = "no pipe for Xvfb";
    return;
  }
  const pid_t parent = getpid();
  FPid = fork();
  if (FPid == 0) {
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    // No reset when the last client leaves: a program that opens the display, closes it and
    // opens it again (SDL's start-up does) would otherwise meet a server in its reset.
    ExecChild(parent, {"Xvfb", "-displayfd", fd, "-screen", "0", screen, "-nolisten", "tcp", "-br", "-noreset"}, {},
              "/dev/null", "/dev/null");
  }
  close(fds[1]);
  // The server writes its display number once it accepts clients.
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  while (number.find('\n') == std::string::npos && poll(&p, 1, 10000) > 0) {
    char buffer[16];
    const ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n <= 0) break;
    number.append(buffer, size_t(n));
  }
  close(fds[0]);
  if (number.find('\n') == std::string::npos) {
    FFailure = "Xvfb did not start";
    return;
  }
  FName = ":" + number.substr(0, number.find('\n'));
}

TVirtualDisplay::~TVirtualDisplay() {
  if (FPid <= 0) return;
  kill(FPid, SIGTERM);
  waitpid(FPid, nullptr, 0);
}

// ---- tools ----

int RunOnDisplay(const std::string& display, const std::string& command, std::string* output) {
  const std::string line = "DISPLAY=" + display + " " + command + " 2>/dev/null";
  FILE* pipe = popen(line.c_str(), "r");
  if (pipe == nullptr) return -1;
  char buffer[256];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
    if (output != nullptr) output->append(buffer, n);
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool ProgramAvailable(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

bool TakeScreenshot(const std::string& display, const std::string& pngPath, TScreenshot& shot) {
  if (RunOnDisplay(display, "import -window root png:'" + pngPath + "'") != 0) return false;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, pngPath.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return false;
  shot.Width = int(image.width);
  shot.Height = int(image.height);
  shot.Pixels.resize(size_t(shot.Width) * size_t(shot.Height));
  for (size_t i = 0; i < shot.Pixels.size(); ++i)
    shot.Pixels[i] = (uint32_t(rgb[3 * i]) << 16) | (uint32_t(rgb[3 * i + 1]) << 8) | rgb[3 * i + 2];
  return true;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string WorkPath(const std::string& name, const std::string& folder) {
  const std::filesystem::path dir = std::filesystem::current_path() / folder;
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

// A parameterised test's name holds a "/", which a file name cannot.
std::string TestName() {
  std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  std::replace(name.begin(), name.end(), '/', '_');
  return name;
}

bool Eventually(const std::function<bool()>& condition, int ms, int pollMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(pollMs));
  }
  return true;
}

// ---- windows and window managers ----

std::string VisibleWindowId(const std::string& display, const std::string& caption) {
  std::string id;
  RunOnDisplay(display, "xdotool search --onlyvisible --name '^" + caption + "$'", &id);
  return id.substr(0, id.find('\n'));
}

TClientGeometry ClientGeometryOf(const std::string& display, const std::string& windowId) {
  TClientGeometry g;
  std::string info;
  if (windowId.empty() || RunOnDisplay(display, "xwininfo -id " + windowId, &info) != 0) return g;
  std::istringstream lines(info);
  for (std::string line; std::getline(lines, line);) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string key = line.substr(0, colon);
    const int value = std::atoi(line.c_str() + colon + 1);
    if (key.find("Absolute upper-left X") != std::string::npos) g.X = value;
    if (key.find("Absolute upper-left Y") != std::string::npos) g.Y = value;
    if (key.find("  Width") == 0) g.Width = value;
    if (key.find("  Height") == 0) g.Height = value;
  }
  return g;
}

std::unique_ptr<TChildProcess> StartWindowManager(const std::string& display, std::string& failure) {
  // openbox claims the screen long before it has set itself up, and a window mapped in
  // between is never managed: it stays unmapped, and the display library waits for it to
  // map forever. The command it runs once it has set up is the sign that it is ready.
  const std::string ready = WorkPath(TestName() + ".openbox.ready", "wm_work");
  std::filesystem::remove(ready);
  // The first synthetic key on a new display switches the keyboard to the test device, and
  // the keymap notice that follows makes openbox drop and take its key bindings again: a
  // binding pressed in between reaches the focused window instead. So that switch is made
  // before openbox runs.
  if (RunOnDisplay(display, "xdotool key shift") != 0) {
    failure = "the first key could not be sent";
    return nullptr;
  }
  auto manager = std::make_unique<TChildProcess>(std::vector<std::string>{"openbox", "--startup", "touch '" + ready + "'"},
                                                 std::vector<std::string>{"DISPLAY=" + display, kNoSessionBus},
                                                 WorkPath(TestName() + ".openbox.out", "wm_work"),
                                                 WorkPath(TestName() + ".openbox.err", "wm_work"));
  const bool managing = manager->Started() && Eventually([&] { return std::filesystem::exists(ready); });
  if (!managing) failure = "openbox never took the screen";
  return manager;
}
