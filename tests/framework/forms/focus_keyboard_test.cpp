// Focus and keyboard routing through a form: tab order across nested containers, arrows
// among siblings, accelerators, default and cancel keys, and the focus notifications.
#include "framework/core/exceptions.h"
#include "tests/framework/forms/forms_helpers.h"

namespace {
class FocusTest : public FormsTest {
 protected:
  // A (tab 0), B (tab 1), a container P (no tab stop) holding C and D, E disabled, F hidden.
  void SetUp() override {
    App->CreateForm(Form);
    Form->SetName("Main");
    Form->SetBounds(100, 100, 300, 200);
    A = AddButton(Form, "A", "&Alpha", {10, 10, 80, 30});
    B = AddButton(Form, "B", "&Beta", {90, 10, 160, 30});
    P = AddButton(Form, "P", "", {10, 50, 200, 150});
    P->SetTabStop(false);
    C = AddButton(P, "C", "&Gamma", {5, 5, 60, 25});
    D = AddButton(P, "D", "&Delta", {70, 5, 130, 25});
    E = AddButton(Form, "E", "&Echo", {170, 10, 230, 30});
    E->SetEnabled(false);
    F = AddButton(Form, "F", "&Foxtrot", {240, 10, 290, 30});
    F->SetVisible(false);
    Graphic = new TFormsTestGraphic(Form);
    Graphic->SetParent(Form);
    Form->Show();
  }
  std::string Focus() const { return NameOf(Form->FocusedControl()); }

  TForm* Form = nullptr;
  TFormsTestButton *A, *B, *P, *C, *D, *E, *F;
  TFormsTestGraphic* Graphic;
};
}  // namespace

TEST_F(FocusTest, ActivationFocusesTheFirstTabStopAndKeysGoToIt) {
  EXPECT_TRUE(Form->Active());
  EXPECT_EQ(Screen()->ActiveForm(), Form);
  EXPECT_EQ(Focus(), "A");
  EXPECT_TRUE(A->Focused());
  EXPECT_EQ(Screen()->ActiveControl(), A);
  Log.clear();
  Key('X');
  Char('x');
  EXPECT_EQ(Log, (Strings{"A key 88", "A char x"}));
}

TEST_F(FocusTest, TabAndShiftTabWalkTheTabOrderThroughNestedContainersAndWrap) {
  Strings forward, backward;
  for (int i = 0; i < 5; ++i) {
    Key(vkTab);
    forward.push_back(Focus());
  }
  EXPECT_EQ(forward, (Strings{"B", "C", "D", "A", "B"})) << "P is no tab stop; E disabled and F hidden are passed over";
  for (int i = 0; i < 5; ++i) {
    Key(vkTab, imShift);
    backward.push_back(Focus());
  }
  EXPECT_EQ(backward, (Strings{"A", "D", "C", "B", "A"}));
}

TEST_F(FocusTest, TabOrderPropertyDecidesTheSequence) {
  B->SetTabOrder(0);
  Key(vkTab);
  EXPECT_EQ(Focus(), "C") << "A is now second: the next tab stop is inside P";
  Key(vkTab, imShift);
  Key(vkTab, imShift);
  EXPECT_EQ(Focus(), "B");
}

TEST_F(FocusTest, ArrowsMoveAmongSiblingsOnlyAndWrap) {
  C->SetFocus();
  Key(vkRight);
  EXPECT_EQ(Focus(), "D");
  Key(vkDown);
  EXPECT_EQ(Focus(), "C") << "wraps inside the container";
  Key(vkUp);
  EXPECT_EQ(Focus(), "D");
  Key(vkLeft);
  EXPECT_EQ(Focus(), "C");
  C->WantsArrows = true;
  Log.clear();
  Key(vkRight);
  EXPECT_EQ(Focus(), "C") << "a control that wants the arrows gets them as keys";
  EXPECT_EQ(Log, (Strings{"C key 39"}));
}

TEST_F(FocusTest, FocusMoveSendsKillExitEnterSetFocusAndBroadcasts) {
  const int before = Graphic->FocusChanges;
  Log.clear();
  D->SetFocus();
  EXPECT_EQ(Log, (Strings{"A killfocus", "A exit", "P enter", "D enter", "D setfocus"}));
  EXPECT_EQ(Graphic->FocusChanges, before + 1) << "window-less controls hear the broadcast too";
  EXPECT_EQ(B->LastFocusChange, D);
  Log.clear();
  C->SetFocus();
  EXPECT_EQ(Log, (Strings{"D killfocus", "D exit", "C enter", "C setfocus"})) << "P keeps the focus inside it";
}

TEST_F(FocusTest, AltLetterFocusesTheControlWithThatAccelerator) {
  Char('d', imAlt);
  EXPECT_EQ(Focus(), "D");
  Char('B', imAlt);
  EXPECT_EQ(Focus(), "B") << "compared without regard to case";
  Char('e', imAlt);
  EXPECT_EQ(Focus(), "B") << "a disabled control's accelerator does nothing";
  Log.clear();
  Char('z', imAlt);
  EXPECT_EQ(Focus(), "B");
  EXPECT_TRUE(Log.empty()) << "an unclaimed accelerator is not typed into the control";
}

TEST_F(FocusTest, EnterClicksTheFocusedOrDefaultButtonAndEscapeTheCancelButton) {
  Key(vkReturn);
  EXPECT_EQ(A->Clicks, 1) << "the focused button answers Enter";
  D->Default = true;
  C->Cancel = true;
  B->SetFocus();
  Key(vkReturn);
  EXPECT_EQ(B->Clicks, 1) << "the focused control is asked before the rest of the form";
  EXPECT_EQ(D->Clicks, 0);
  B->SetFocus();
  Key(vkEscape);
  EXPECT_EQ(C->Clicks, 1);
  Key(vkEscape, imShift);
  EXPECT_EQ(C->Clicks, 1) << "a modifier keeps Escape from clicking";
  EXPECT_EQ(Focus(), "B") << "Enter and Escape never navigate";
}

TEST_F(FocusTest, HidingDisablingOrDestroyingTheFocusedControlMovesTheFocusAway) {
  D->SetFocus();
  Log.clear();
  D->SetVisible(false);
  EXPECT_EQ(Focus(), "P") << "the focus stays in the family: the parent takes it";
  EXPECT_EQ(Log, (Strings{"D killfocus", "D exit", "P setfocus"}));
  P->SetEnabled(false);
  EXPECT_EQ(Focus(), "(none)");
  EXPECT_EQ(Form->ActiveControl(), nullptr);
  B->SetFocus();
  delete B;
  EXPECT_EQ(Focus(), "(none)");
  Log.clear();
  Key(vkTab);
  EXPECT_EQ(Focus(), "A") << "with nothing focused, Tab starts at the first tab stop";
  EXPECT_EQ(Log, (Strings{"A enter", "A setfocus"}));
}

TEST_F(FocusTest, FocusingAControlThatCannotTakeItFails) {
  try {
    E->SetFocus();
    FAIL() << "a disabled control took the focus";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "Cannot focus a disabled or invisible window");
  }
  EXPECT_EQ(Focus(), "A");
  EXPECT_FALSE(F->CanFocus());
  TFormsTestButton loose(nullptr);
  EXPECT_FALSE(loose.CanFocus()) << "a control outside any form";
}

TEST_F(FocusTest, SwitchingFormsMovesTheKeyboardAndRestoresTheActiveControl) {
  B->SetFocus();
  TForm* other = nullptr;
  App->CreateForm(other);
  TFormsTestButton* x = AddButton(other, "X", "", {0, 0, 20, 20});
  Log.clear();
  other->Show();
  EXPECT_EQ(Screen()->ActiveForm(), other);
  EXPECT_FALSE(Form->Active());
  EXPECT_EQ(Log, (Strings{"B killfocus", "X enter", "X setfocus"}));
  Key('K');
  EXPECT_EQ(Log.back(), "X key 75");
  x->Log = nullptr;
  Log.clear();
  other->Hide();
  EXPECT_TRUE(Form->Active()) << "hiding the active form hands the keyboard back to the main form";
  EXPECT_EQ(Focus(), "B");
  EXPECT_EQ(Log, (Strings{"B setfocus"})) << "returning is no new enter";
}

TEST_F(FocusTest, KeyPreviewShowsTheFormEveryKeyFirstAndAZeroedKeyStopsThere) {
  Form->FOnKeyDown = [&](TObject*, int& key, TShiftState) {
    Log.push_back("Main key " + std::to_string(key));
    if (key == 'Q') key = 0;
  };
  Form->FOnKeyUp = [&](TObject*, int& key, TShiftState) { Log.push_back("Main up " + std::to_string(key)); };
  Form->FOnKeyPress = [&](TObject*, char& c) { Log.push_back(std::string("Main char ") + c); };
  Log.clear();
  Key('X');
  EXPECT_EQ(Log, (Strings{"A key 88"})) << "without KeyPreview the focused control alone sees it";
  Form->SetKeyPreview(true);
  Log.clear();
  Key('X');
  Char('x');
  Key('Q');
  EXPECT_EQ(Log, (Strings{"Main key 88", "A key 88", "Main up 88", "Main char x", "A char x", "Main key 81", "Main up 81"}));
  Log.clear();
  Key(vkTab);
  EXPECT_EQ(Focus(), "B") << "a key the form leaves alone still navigates";
}
