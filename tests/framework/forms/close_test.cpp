// Closing forms: secondary forms hide, the main form ends the loop, handlers can veto or
// choose another action, and a modal form answers with mrCancel.
#include "framework/controls/message_box.h"
#include "tests/framework/forms/forms_helpers.h"

namespace {
class CloseTest : public FormsTest {
 protected:
  void SetUp() override {
    App->CreateForm(Main);
    App->CreateForm(About);
    Main->Show();
  }
  TForm* Main = nullptr;
  TForm* About = nullptr;
};
}  // namespace

TEST_F(CloseTest, ClosingASecondaryFormHidesItAndShowingItAgainKeepsItsPlace) {
  About->SetBounds(257, 194, 543, 64);
  About->Show();
  About->Close();
  EXPECT_FALSE(About->Visible());
  EXPECT_FALSE(App->Terminated());
  EXPECT_TRUE(Main->Active());
  About->SetVisible(true);
  EXPECT_EQ(About->PlatformWindow()->ScreenBounds(), (TRect{257, 194, 800, 258}));
  EXPECT_EQ(App->ComponentCount(), 2) << "the same form, not a new one";
}

TEST_F(CloseTest, ClosingTheMainFormEndsTheLoopEvenWithASecondaryFormVisible) {
  About->Show();
  App->WindowSystem().PostMessage(Main, msgClose);
  App->Run();
  EXPECT_TRUE(App->Terminated());
  EXPECT_TRUE(About->Visible()) << "only the loop ends; the forms go with the application";
}

TEST_F(CloseTest, CloseQueryAndCaNoneVetoAndOtherActionsAreFollowed) {
  About->Show();
  Strings seen;
  bool allow = false;
  About->FOnCloseQuery = [&](TObject*, bool& canClose) {
    seen.push_back("query");
    canClose = allow;
  };
  About->FOnClose = [&](TObject*, TCloseAction& action) {
    seen.push_back("close " + std::to_string(int(action)));
    action = caMinimize;
  };
  About->Close();
  EXPECT_EQ(seen, (Strings{"query"}));
  EXPECT_TRUE(About->Visible());
  allow = true;
  About->Close();
  EXPECT_EQ(seen.back(), "close 1") << "the proposed action is caHide";
  EXPECT_EQ(About->WindowState(), wsMinimized);
  EXPECT_TRUE(About->Visible());

  Main->FOnClose = [](TObject*, TCloseAction& action) { action = caNone; };
  Main->Close();
  EXPECT_FALSE(App->Terminated()) << "caNone keeps even the main form open";
}

TEST_F(CloseTest, CaFreeDestroysTheFormFromTheLoop) {
  About->Show();
  bool gone = false;
  auto* probe = new TFormsTestGraphic(About);
  probe->FOnClick = [](TObject*) {};
  About->FOnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  About->FOnHide = [&](TObject*) { gone = App->ComponentCount() == 1; };
  About->Close();
  EXPECT_FALSE(gone) << "still alive while its close handler runs";
  EXPECT_EQ(App->ComponentCount(), 2);
  App->ProcessMessages();
  EXPECT_EQ(App->ComponentCount(), 1);
  EXPECT_EQ(Screen()->Forms().size(), 1u);
}

TEST_F(CloseTest, AModalFormClosesWithCancelAndTheOthersIgnoreInputMeanwhile) {
  TMessageBoxForm box(nullptr, "Text", "Title", mbiError);
  Main->FOnActivate = [&](TObject*) {};
  // The close box of the modal form (a posted close) ends it with mrCancel.
  App->WindowSystem().PostMessage(&box, msgClose);
  bool mainEnabledDuring = true;
  box.FOnShow = [&](TObject*) { mainEnabledDuring = Main->Enabled(); };
  EXPECT_EQ(box.ShowModal(), mrCancel);
  EXPECT_FALSE(mainEnabledDuring);
  EXPECT_TRUE(Main->Enabled());
  EXPECT_FALSE(box.Visible());
  EXPECT_TRUE(Main->Active());
}
