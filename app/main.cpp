// Velmorath: the test-point viewer. Without a graphical display it says so and ends with
// status 2; a window that cannot be read ends start-up with the error report and status 1.
#include <exception>
#include <memory>
#include <thread>

#include "app/program.h"
#include "framework/controls/application.h"
#include "platform/desktop_backend.h"

int main(int, char** argv) {
  // Fonts are found beside the display's set-up: both are work the first frame waits for,
  // and they can run on two cores.
  std::thread fonts(PrepareVelmorathFonts);
  std::unique_ptr<TPlatformBackend> backend = OpenDesktopBackend();
  fonts.join();
  if (backend == nullptr) return ReportNoDisplay();
  TApplication application;
  try {
    StartVelmorath(application, *backend, argv[0]);
  } catch (...) {
    application.HandleException(std::current_exception());
    return 1;
  }
  application.Run();
  return 0;
}
