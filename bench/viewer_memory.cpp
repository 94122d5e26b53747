// Peak resident memory of the viewer's windows after every photograph has been shown once:
// the program started as main() starts it, on the headless screen (whose window surfaces
// cost what the desktop's do), each test point chosen on its page in turn, every paint
// run. Prints the peak in KiB before the first choice and after the last.
#include <sys/resource.h>

#include <cstdio>

#include "app/form1.h"
#include "bench/headless_viewer.h"
#include "pictures/image.h"
#include "widgets/page_control.h"
#include "widgets/radio_buttons.h"

namespace {
long PeakKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}
}  // namespace

int main() {
  THeadlessViewer viewer;
  const long started = PeakKiB();
  int shown = 0;
  for (int n = 1; n <= kTestPointCount; ++n) {
    TWkRadioButton& button = *Form1->TestPointButton(n);
    Form1->WkPageControl1->SetActivePage(static_cast<TWkTabSheet*>(button.Parent()));
    button.SetChecked(true);
    viewer.App->ProcessMessages();
    shown += Form1->TestPointImage(n)->Visible();
  }
  std::printf("photographs shown: %d; peak resident memory: %ld KiB after start, %ld KiB after all\n", shown, started,
              PeakKiB());
  return shown == kTestPointCount ? 0 : 1;
}
