// The application: form creation, running and closing, the title, and failure reports.
#include "framework/controls/message_box.h"
#include "framework/controls/timer.h"
#include "framework/core/exceptions.h"
#include "framework/typeinfo/class_info.h"
#include "tests/framework/forms/forms_helpers.h"

namespace {
// Notes every message box instead of only showing it.
class TRecordingApplication : public TApplication {
 public:
  Strings Boxes;
  TModalResult MessageBox(const std::string& text, const std::string& caption, TMessageBoxIcon icon) override {
    Boxes.push_back(caption + "|" + text + "|" + std::to_string(int(icon)));
    return TApplication::MessageBox(text, caption, icon);
  }
};

class TFailingForm : public TForm {
 public:
  VM_CLASS()
  explicit TFailingForm(TComponent* owner) : TForm(owner) { throw EReadError(rs::SReadError); }
};
}  // namespace

const TClassInfo& TFailingForm::ClassInfo() {
  static const TClassInfo info = DefineClass<TFailingForm, TForm>("TFailingForm");
  return info;
}

TEST(ApplicationTitle, NameAfterTheLastSeparatorCutAtTheFirstDotLowerCasedAfterTheFirst) {
  EXPECT_EQ(TitleFromProgramPath("C:\\Tools\\VELMORATH.EXE"), "Velmorath");
  EXPECT_EQ(TitleFromProgramPath("/opt/app/velmorath"), "velmorath");
  EXPECT_EQ(TitleFromProgramPath("/a.b/MyTool.v2.exe"), "Mytool") << "the dot in a folder name does not count";
  EXPECT_EQ(TitleFromProgramPath("x/y\\zED.TXT"), "zed");
  EXPECT_EQ(TitleFromProgramPath(".hidden"), "");
  EXPECT_EQ(TitleFromProgramPath("dir/"), "");
}

TEST(ApplicationExceptionText, DotAddedOnlyAfterACharacterSortingAfterIt) {
  EXPECT_EQ(ExceptionMessageText("Oops"), "Oops.");
  EXPECT_EQ(ExceptionMessageText("Done."), "Done.");
  EXPECT_EQ(ExceptionMessageText("Stop!"), "Stop!");
  EXPECT_EQ(ExceptionMessageText("Why?"), "Why?.");
  EXPECT_EQ(ExceptionMessageText(""), "");
  EXPECT_EQ(ExceptionMessageText("Caf\xE9"), "Caf\xE9.") << "characters above 127 sort after '.'";
}

TEST_F(FormsTest, TitleComesFromTheProgramPathAndTheFirstFormIsMainWithItsWindowAtOnce) {
  EXPECT_EQ(App->Title(), "Velmorath");
  TForm *first = nullptr, *second = nullptr;
  App->CreateForm(first);
  App->CreateForm(second);
  EXPECT_EQ(App->MainForm(), first);
  EXPECT_NE(first->PlatformWindow(), nullptr);
  EXPECT_EQ(second->PlatformWindow(), nullptr) << "other forms get their window when first shown";
  EXPECT_FALSE(first->Visible());
  EXPECT_EQ(first->Owner(), App.get());
}

TEST_F(FormsTest, AFailingConstructorLeavesTheReferenceEmpty) {
  TFailingForm* form = reinterpret_cast<TFailingForm*>(this);
  EXPECT_THROW(App->CreateForm(form), EReadError);
  EXPECT_EQ(form, nullptr);
  EXPECT_EQ(App->MainForm(), nullptr);
  EXPECT_EQ(App->ComponentCount(), 0);
}

namespace {
struct ShowCommandCase {
  TShowCommand Command;
  TWindowShowState State;
  bool Active;
};
class ShowCommandTest : public FormsTest, public ::testing::WithParamInterface<ShowCommandCase> {
 protected:
  ShowCommandTest() : FormsTest(Screen(GetParam().Command)) {}
  static THeadlessScreen Screen(TShowCommand command) {
    THeadlessScreen s;
    s.ShowCommand = command;
    return s;
  }
};
}  // namespace

TEST_P(ShowCommandTest, RunShowsTheMainFormAsTheProgramWasStarted) {
  TForm* main = nullptr;
  App->CreateForm(main);
  App->WindowSystem().PostMessage(main, msgClose);
  App->Run();
  auto& window = static_cast<THeadlessWindow&>(*main->PlatformWindow());
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(window.ShowState(), GetParam().State);
  EXPECT_EQ(main->Active(), GetParam().Active);
  EXPECT_TRUE(App->Terminated()) << "closing the main form ended the loop";
}

// What controls put off to the loop while the windows are made (a layout) is done before
// the main window first shows, so that its first frame is whole.
namespace {
class TLaterLayout : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  static constexpr uint32_t kLayoutRequest = msgUser + 1;
  std::vector<bool> FormShownAtLayout;

 protected:
  void Dispatch(TMessage& m) override {
    if (m.Msg == kLayoutRequest) {
      FormShownAtLayout.push_back(GetParentForm(this)->PlatformWindow()->Visible());
      return;
    }
    TCustomControl::Dispatch(m);
  }
};
}  // namespace

TEST_F(FormsTest, RunDeliversWhatTheWindowsPostedWhileMadeBeforeTheMainWindowShows) {
  TForm* main = nullptr;
  App->CreateForm(main);
  auto* control = new TLaterLayout(main);
  control->SetParent(main);
  control->PostMessage(TLaterLayout::kLayoutRequest);
  TTimer closer(App.get());
  closer.SetInterval(50);
  closer.FOnTimer = [&](TObject*) {
    control->PostMessage(TLaterLayout::kLayoutRequest);
    App->WindowSystem().PostMessage(main, msgClose);
  };
  App->Run();
  EXPECT_EQ(control->FormShownAtLayout, (std::vector<bool>{false, true}))
      << "the request made with the windows arrived before the show, the later one in the loop";
}

INSTANTIATE_TEST_SUITE_P(Commands, ShowCommandTest,
                         ::testing::Values(ShowCommandCase{scShowNormal, TWindowShowState::Normal, true},
                                           ShowCommandCase{scShowMaximized, TWindowShowState::Maximized, true},
                                           ShowCommandCase{scShowMinNoActive, TWindowShowState::Minimized, false},
                                           ShowCommandCase{scShowMinimized, TWindowShowState::Normal, true}));

namespace {
class ReportTest : public ::testing::Test {
 protected:
  ReportTest() { App->Initialize(*Backend, "/bin/Velmorath.exe"); }
  std::unique_ptr<THeadlessBackend> Backend = CreateHeadlessBackend();
  std::unique_ptr<TRecordingApplication> App = std::make_unique<TRecordingApplication>();
  Strings Log;
};
}  // namespace

TEST_F(ReportTest, AnExceptionFromAHandlerIsShownInAnErrorBoxAndTheLoopGoesOn) {
  TForm* main = nullptr;
  App->CreateForm(main);
  auto* button = new TFormsTestButton(main);
  button->SetName("Button");
  button->SetBounds(0, 0, 50, 20);
  button->SetParent(main);
  button->Log = &Log;
  std::string message = "Oops";
  button->FOnKeyDown = [&](TObject*, int& key, TShiftState) {
    if (key == 'Q') throw EInvalidOperation(message);
  };
  main->Show();
  button->SetMouseCapture(true);
  Backend->PressKey('Q');
  Backend->PressKey(vkReturn);  // closes the box
  App->ProcessMessages();
  Backend->PressKey('W');  // reaches the button again afterwards
  App->ProcessMessages();
  EXPECT_EQ(App->Boxes, (Strings{"Velmorath|Oops.|1"}));
  EXPECT_FALSE(button->MouseCapture()) << "a held capture is cancelled before the box";
  EXPECT_EQ(Log.back(), "Button key 87");
  EXPECT_TRUE(main->Active()) << "the keyboard came back to the main form";
  EXPECT_EQ(button->Clicks, 0) << "Enter went to the box, not to the button";

  message = "Why?";
  Backend->PressKey('Q');
  Backend->PressKey(vkEscape);
  App->ProcessMessages();
  EXPECT_EQ(App->Boxes.back(), "Velmorath|Why?.|1");
}

TEST_F(ReportTest, AbortIsDroppedSilently) {
  TForm* main = nullptr;
  App->CreateForm(main);
  int after = 0;
  auto* button = new TFormsTestButton(main);
  button->SetParent(main);
  button->FOnKeyDown = [&](TObject*, int&, TShiftState) { throw EAbort(""); };
  button->FOnKeyPress = [&](TObject*, char&) { ++after; };
  main->Show();
  Backend->PressKey('A');
  Backend->TypeChar('a');
  App->ProcessMessages();
  EXPECT_TRUE(App->Boxes.empty());
  EXPECT_EQ(after, 1);
}

TEST_F(FormsTest, TheApplicationIconReachesTheBackendWhenSetAndWhenInstalled) {
  TBitmap icon;
  icon.SetPixelFormat(pf32bit);
  icon.SetSize(16, 16);
  App->SetIcon(icon);
  EXPECT_EQ(Backend->Icon().Width(), 16) << "set after start-up";
  App.reset();
  auto backend = CreateHeadlessBackend();
  TApplication early;
  icon.SetSize(32, 32);
  early.SetIcon(icon);
  early.Initialize(*backend, "early");
  EXPECT_EQ(backend->Icon().Width(), 32) << "set before start-up";
}

TEST_F(FormsTest, ScreenTellsDepthPointerAndAProgramWideCursor) {
  EXPECT_EQ(Screen()->ColorDepth(), 32);
  Backend->MoveMouse({321, 123});
  EXPECT_EQ(Screen()->CursorPos(), (TPoint{321, 123}));
  TForm* form = nullptr;
  App->CreateForm(form);
  form->SetBounds(300, 100, 100, 100);
  form->SetCursor(crHandPoint);
  form->Show();
  App->ProcessMessages();
  EXPECT_EQ(Backend->CursorShape(), TCursorShape::HandPoint);
  Screen()->SetCursor(crHourGlass);
  EXPECT_EQ(Backend->CursorShape(), TCursorShape::Wait) << "the screen's cursor wins";
  Screen()->SetCursor(crDefault);
  EXPECT_EQ(Backend->CursorShape(), TCursorShape::HandPoint);
}

class PaletteScreenTest : public FormsTest {
 protected:
  PaletteScreenTest() : FormsTest(THeadlessScreen{1280, 1024, 8}) {}
};

TEST_F(PaletteScreenTest, ColorDepthOfAPaletteScreen) { EXPECT_EQ(Screen()->ColorDepth(), 8); }

TEST_F(FormsTest, AModalLoopTakesTheMouseFromWhoeverHoldsIt) {
  TForm* main = nullptr;
  App->CreateForm(main);
  main->SetBounds(100, 100, 200, 200);
  main->Show();
  TFormsTestButton* button = AddButton(main, "Button", "B", {10, 10, 60, 40});
  App->ProcessMessages();
  Backend->PressMouse(ibLeft, main->ClientToScreen({20, 20}));
  App->ProcessMessages();
  ASSERT_EQ(App->WindowSystem().CaptureControl(), button);
  TForm dialog(App.get());
  dialog.FOnShow = [&](TObject*) { dialog.SetModalResult(mrOk); };
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_EQ(App->WindowSystem().CaptureControl(), nullptr);
  Backend->ReleaseMouse(ibLeft, main->ClientToScreen({20, 20}));
  App->ProcessMessages();
  EXPECT_EQ(button->Clicks, 0) << "the press was cancelled by the modal loop";
}
