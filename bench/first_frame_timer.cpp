// Times a program from just before it is started to its first complete frame: the child
// reads the monotonic clock, writes it to what becomes the program's error output and
// replaces itself with the program, which (asked by VELMORATH_REPORT_FIRST_FRAME) writes
// "first frame <ns>" there once its first frame is on the display. Prints the difference
// in milliseconds and ends the program.
//   first_frame_timer <program> [arguments...]
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
long long MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// The number after `key` on a line of the program's error output, or -1.
long long ValueAfter(const std::string& line, const char* key) {
  if (line.rfind(key, 0) != 0) return -1;
  return std::atoll(line.c_str() + std::strlen(key));
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: first_frame_timer <program> [arguments...]\n");
    return 2;
  }
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return 2;
  setenv("VELMORATH_REPORT_FIRST_FRAME", "1", 1);
  const pid_t child = fork();
  if (child < 0) return 2;
  if (child == 0) {
    dup2(pipeEnds[1], STDERR_FILENO);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    std::fprintf(stderr, "started %lld\n", MonotonicNs());
    execv(argv[1], argv + 1);
    std::fprintf(stderr, "exec failed\n");
    _exit(127);
  }
  close(pipeEnds[1]);
  FILE* output = fdopen(pipeEnds[0], "r");
  long long started = -1, shown = -1;
  char buffer[512];
  while (shown < 0 && std::fgets(buffer, sizeof buffer, output) != nullptr) {
    const std::string line = buffer;
    if (long long v = ValueAfter(line, "started "); v >= 0) started = v;
    if (long long v = ValueAfter(line, "first frame "); v >= 0) shown = v;
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  if (started < 0 || shown < 0) {
    std::fprintf(stderr, "first_frame_timer: %s reported no first frame\n", argv[1]);
    return 1;
  }
  std::printf("%.2f\n", double(shown - started) / 1e6);
  return 0;
}
