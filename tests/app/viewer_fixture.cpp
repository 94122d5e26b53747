#include "tests/app/viewer_fixture.h"

#include "framework/controls/keys.h"
#include "framework/controls/timer.h"
#include "framework/typeinfo/class_info.h"
#include "pictures/image.h"
#include "widgets/page_control.h"
#include "widgets/radio_buttons.h"

void ViewerTest::SetUp() {
  Backend = CreateHeadlessBackend(StartScreen);
  App = std::make_unique<TApplication>();
  StartVelmorath(*App, *Backend, kProgramPath);
  ASSERT_NE(Form1, nullptr);
  ASSERT_NE(Form2, nullptr);
}

void ViewerTest::TearDown() {
  App.reset();
  EXPECT_EQ(Form1, nullptr) << "the global references are cleared with their windows";
  EXPECT_EQ(Form2, nullptr);
}

void ViewerTest::ShowMainWindow() {
  Form1->SetVisible(true);
  Form1->Show();
  Settle();
}

bool ViewerTest::RunUntilTheLoopEnds(int virtualMs) {
  bool timedOut = false;
  TTimer guard(App.get());
  guard.SetInterval(virtualMs);
  guard.FOnTimer = [&](TObject*) {
    timedOut = true;
    App->Terminate();
  };
  App->Run();
  return !timedOut;
}

void ViewerTest::ClickAt(const TControl& control, TPoint client) {
  Backend->Click(control.ClientToScreen(client));
  Settle();
}

void ViewerTest::ClickControl(const TControl& control) {
  ClickAt(control, {control.Width() / 2, control.Height() / 2});
}

void ViewerTest::Key(int key, uint32_t modifiers) {
  Backend->SetModifiers(modifiers);
  Backend->PressKey(key);
  Backend->ReleaseKey(key);
  Backend->SetModifiers(0);
  Settle();
}

void ViewerTest::ClickTab(int tabIndex) {
  TWkPageControl& pages = *Form1->WkPageControl1;
  // The lower half of the scroller brings earlier tabs into view, the upper half later ones.
  const int part = tabIndex < pages.FirstVisibleTab() ? TWkTabScroller::partDownLeft : TWkTabScroller::partUpRight;
  for (int step = 0; step < 8 && !pages.TabInView(tabIndex); ++step) {
    TWkTabScroller& scroller = *pages.Scroller();
    const TRect half = scroller.PartRect(part);
    ClickAt(scroller, {(half.Left + half.Right) / 2, (half.Top + half.Bottom) / 2});
  }
  ASSERT_TRUE(pages.TabInView(tabIndex)) << "tab " << tabIndex;
  const TRect tab = pages.TabRect(tabIndex);
  ClickAt(pages, {(tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2});
}

void ViewerTest::CloseBox(TCustomForm& form) {
  Backend->InjectWindowEvent(form.PlatformWindow(), TInputKind::WindowClose);
  Settle();
}

bool ViewerTest::Checked(int n) const { return Form1->TestPointButton(n)->Checked(); }

std::string ViewerTest::VisibleImages() const {
  std::string names;
  for (int n = 1; n <= kTestPointCount; ++n)
    if (Form1->TestPointImage(n)->Visible()) names += (names.empty() ? "" : " ") + Form1->TestPointImage(n)->Name();
  return names;
}

uint32_t ViewerTest::MainPixel(int x, int y) const { return WindowOf(*Form1).Presented().PixelRGB(x, y); }

THeadlessWindow& ViewerTest::WindowOf(const TCustomForm& form) const {
  return *static_cast<THeadlessWindow*>(form.PlatformWindow());
}

void ViewerTest::SaveMainWindow(const std::string& name) const {
  Backend->SaveWindowImage(WindowOf(*Form1), "/tmp/" + name + ".png");
}
