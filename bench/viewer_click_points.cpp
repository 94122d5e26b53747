// The clicks that show every photograph once, played on the headless screen and printed
// for the desktop run of bench/measure_viewer.sh to play again: one "x y n" line per click,
// in the main window's client coordinates, n the test point the click chooses or 0 for a
// scroller half or a tab (test points 1 to 16 in turn). Fails when a click does not show
// the photograph it should.
#include <cstdio>
#include <string>

#include "app/form1.h"
#include "bench/headless_viewer.h"
#include "framework/controls/application.h"
#include "pictures/image.h"
#include "platform/headless/headless_backend.h"
#include "widgets/page_control.h"
#include "widgets/radio_buttons.h"

namespace {
struct TClicker {
  THeadlessBackend& Backend;
  TApplication& Application;

  void At(const TControl& control, TPoint client, int testPoint = 0) {
    const TPoint screen = control.ClientToScreen(client);
    const TPoint origin = Form1->ClientToScreen({0, 0});
    std::printf("%d %d %d\n", screen.X - origin.X, screen.Y - origin.Y, testPoint);
    Backend.Click(screen);
    Application.ProcessMessages();
  }
  void Centre(const TControl& control, const TRect& r, int testPoint = 0) {
    At(control, {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}, testPoint);
  }

  // The lower half of the scroller brings earlier tabs into view, the upper half later ones.
  bool OpenTab(int tab) {
    TWkPageControl& pages = *Form1->WkPageControl1;
    for (int part : {TWkTabScroller::partDownLeft, TWkTabScroller::partUpRight})
      for (int step = 0; step < 8 && !pages.TabInView(tab); ++step) Centre(*pages.Scroller(), pages.Scroller()->PartRect(part));
    if (!pages.TabInView(tab)) return false;
    Centre(pages, pages.TabRect(tab));
    return true;
  }
};
}  // namespace

int main() {
  THeadlessViewer viewer;
  TClicker click{*viewer.Backend, *viewer.App};
  for (int n = 1; n <= kTestPointCount; ++n) {
    TWkRadioButton& button = *Form1->TestPointButton(n);
    auto* page = static_cast<TWkTabSheet*>(button.Parent());
    if (page != Form1->WkPageControl1->ActivePage() && !click.OpenTab(page->GetTabIndex())) {
      std::fprintf(stderr, "viewer_click_points: no way to the tab of test point %d\n", n);
      return 1;
    }
    click.Centre(button, {0, 0, button.Width(), button.Height()}, n);
    int shown = 0;
    for (int other = 1; other <= kTestPointCount; ++other) shown += Form1->TestPointImage(other)->Visible();
    if (!Form1->TestPointImage(n)->Visible() || shown != 1) {
      std::fprintf(stderr, "viewer_click_points: test point %d does not show its photograph alone\n", n);
      return 1;
    }
  }
  return 0;
}
