// Velmorath: the test-point viewer. Without a graphical display it says so and ends with
// status 2; a window that cannot be read ends start-up with the error report and status 1.
#include <exception>
#include <memory>
#include <thread>

#include "app/program.h"
#include "framework/controls/application.h"
#include "framework/core/thread_locale.h"
#include "platform/desktop_backend.h"

int main(int, char** argv) {
  // The first frame waits for three things that can run side by side on two cores: the
  // display's set-up (here, on the thread that runs the loop), the fonts, and the reading of
  // the windows, which waits for the display only to put its window on the desktop.
  TOpeningDesktop desktop;  // first: it sets environment variables
  std::jthread fonts(PrepareVelmorathFonts);
  TApplication application;
  std::exception_ptr failure;
  std::jthread windows([&] {
    const TThreadCLocale locale;
    try {
      StartVelmorath(application, desktop.Backend(), argv[0]);
    } catch (...) {
      failure = std::current_exception();
    }
  });
  const bool opened = desktop.Open();
  windows.join();
  if (!opened) return ReportNoDisplay();
  if (failure) {
    application.HandleException(failure);
    return 1;
  }
  fonts.join();
  application.Run();
  return 0;
}
