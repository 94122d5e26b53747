// Velmorath: the test-point viewer. Without a graphical display it says so and ends with
// status 2; a window that cannot be read ends start-up with the error report and status 1.
#include <exception>
#include <memory>

#include "app/program.h"
#include "framework/controls/application.h"
#include "platform/desktop_backend.h"

int main(int, char** argv) {
  std::unique_ptr<TPlatformBackend> backend = CreateDesktopBackend();
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
