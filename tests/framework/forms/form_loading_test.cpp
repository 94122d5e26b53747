// Forms built from their embedded descriptions: the parent chain of nested controls,
// the missing-resource failure, and scaling by the measured text height.
#include "framework/core/exceptions.h"
#include "framework/graphics/font.h"
#include "formstream/loader.h"
#include "framework/typeinfo/class_info.h"
#include "tests/framework/forms/forms_helpers.h"

TEST_F(FormsTest, NestedWindowedAndWindowlessControlsGetTheirParentsFromTheStream) {
  TScaledForm* form = nullptr;
  App->CreateForm(form);
  ASSERT_NE(form->Dot, nullptr);
  EXPECT_EQ(form->Name(), "ScaledForm");
  EXPECT_EQ(form->Banner->Parent(), form);
  EXPECT_EQ(form->Panel->Parent(), form);
  EXPECT_EQ(form->Inner->Parent(), form->Panel);
  EXPECT_EQ(form->Dot->Parent(), form->Inner);
  EXPECT_EQ(form->Dot->Owner(), form) << "every component is owned by the form";
  EXPECT_EQ(form->BorderStyle(), bsDialog);
  EXPECT_EQ(form->ClientWidth(), 260);
  EXPECT_EQ(form->ClientHeight(), 130);
  EXPECT_EQ(form->Left(), 140);
  EXPECT_EQ(form->TextHeight(), 13);
  EXPECT_EQ(form->Inner->Font()->Height(), -13);
  EXPECT_EQ(form->Panel->Font()->Height(), -11) << "parent font from the form";
  EXPECT_FALSE(form->Visible());
  form->Show();
  EXPECT_EQ(Screen()->ActiveControl(), form->Panel) << "the first tab stop in tab order";
}

TEST_F(FormsTest, AFormClassWithoutADescriptionFailsToConstruct) {
  TMissingForm* form = nullptr;
  try {
    App->CreateForm(form);
    FAIL() << "constructed without a description";
  } catch (const EResNotFound& e) {
    EXPECT_STREQ(e.what(), "Resource TMissingForm not found");
  }
  EXPECT_EQ(form, nullptr);
  EXPECT_EQ(App->ComponentCount(), 0);
}

TEST_F(FormsTest, TheWindowFontMeasuresTheDesignHeightAndWithoutAMeasureNothingIsScaled) {
  TFont windowFont;
  ASSERT_EQ(Screen()->FontLineHeight(windowFont), 13) << "the text engine's line of \"MS Sans Serif\" -11";
  TScaledForm* form = nullptr;
  App->CreateForm(form);
  Screen()->SetLineHeightMeasure(nullptr);
  TScaledForm* second = nullptr;
  App->CreateForm(second);
  for (TScaledForm* f : {form, second}) {
    EXPECT_EQ(f->Inner->BoundsRect(), (TRect{13, 13, 65, 39}));
    EXPECT_EQ(f->ClientWidth(), 260);
  }
}

TEST_F(FormsTest, AMeasuredTextHeightOtherThanTheDesignOneScalesEveryControl) {
  std::vector<int> measuredFonts;
  Screen()->SetLineHeightMeasure([&](const TFont& font) {
    measuredFonts.push_back(font.Height());
    return 26;
  });
  TScaledForm* form = nullptr;
  App->CreateForm(form);
  EXPECT_EQ(measuredFonts, (std::vector<int>{-11})) << "the form's own font is measured, once";
  EXPECT_EQ(form->ClientWidth(), 520);
  EXPECT_EQ(form->ClientHeight(), 260);
  EXPECT_EQ(form->Left(), 140) << "the screen position stays";
  EXPECT_EQ(form->Banner->BoundsRect(), (TRect{16, 16, 276, 68}));
  EXPECT_EQ(form->Panel->BoundsRect(), (TRect{26, 78, 260, 208}));
  EXPECT_EQ(form->Inner->BoundsRect(), (TRect{26, 26, 130, 78}));
  EXPECT_EQ(form->Dot->BoundsRect(), (TRect{4, 4, 24, 24}));
  EXPECT_EQ(form->Inner->Font()->Height(), -26) << "a control's own font is scaled";
  EXPECT_EQ(form->Font()->Height(), -11) << "the form's font is not";
  EXPECT_EQ(form->Panel->Font()->Height(), -11) << "parent fonts follow the form's";
  EXPECT_EQ(form->TextHeight(), 26);
}

TEST_F(FormsTest, ScalingRoundsEachEdgeSoNeighboursStayAdjacent) {
  Screen()->SetLineHeightMeasure([](const TFont&) { return 16; });
  TScaledForm* form = nullptr;
  App->CreateForm(form);
  // 8 * 16 / 13 = 9.85 -> 10; (8 + 130) * 16 / 13 = 169.8 -> 170.
  EXPECT_EQ(form->Banner->BoundsRect(), (TRect{10, 10, 170, 42}));
  EXPECT_EQ(form->ClientWidth(), 320);
  EXPECT_EQ(form->Inner->Font()->Height(), -16);
}

namespace {
class HighDpiTest : public FormsTest {
 protected:
  HighDpiTest() : FormsTest(Dpi()) {}
  static THeadlessScreen Dpi() {
    THeadlessScreen s;
    s.PixelsPerInch = 120;
    return s;
  }
};
}  // namespace

TEST_F(HighDpiTest, TheFormFontFollowsTheScreenResolutionBeforeItIsMeasured) {
  TScaledForm* form = nullptr;
  App->CreateForm(form);
  EXPECT_EQ(form->Font()->Height(), -14) << "-11 * 120 / 96 = -13.75";
  EXPECT_EQ(form->PixelsPerInch(), 120);
  const int measured = *Screen()->FontLineHeight(*form->Font());
  ASSERT_NE(measured, 13) << "a 14-pixel em needs a taller line";
  EXPECT_EQ(form->TextHeight(), measured);
  EXPECT_EQ(form->Inner->BoundsRect(), (TRect{MulDiv(13, measured, 13), MulDiv(13, measured, 13),
                                              MulDiv(65, measured, 13), MulDiv(39, measured, 13)}));
  EXPECT_EQ(form->ClientWidth(), MulDiv(260, measured, 13));
}

namespace {
// A form whose description nests client-aligned windows; it notes where they are when shown.
class TAlignedForm : public TForm {
 public:
  VM_CLASS()
  explicit TAlignedForm(TComponent* owner) : TForm(owner) {
    FOnShow = [this](TObject*) {
      SheetWhenShown = Sheet->BoundsRect();
      BarWhenShown = Bar->BoundsRect();
    };
    LoadComponentResource(*this, TForm::ClassInfo());
  }
  TFormsTestButton* Pages = nullptr;
  TFormsTestButton* Sheet = nullptr;
  TFormsTestGraphic* Bar = nullptr;
  TRect SheetWhenShown;
  TRect BarWhenShown;
};
}  // namespace

const TClassInfo& TAlignedForm::ClassInfo() {
  static const TClassInfo info = DefineClass<TAlignedForm, TForm>("TAlignedForm")
                                     .Field("Pages", &TAlignedForm::Pages)
                                     .Field("Sheet", &TAlignedForm::Sheet)
                                     .Field("Bar", &TAlignedForm::Bar);
  return info;
}

TEST_F(FormsTest, ClientAlignedChildrenReadFromAStreamAreAlignedBeforeTheFormShows) {
  TAlignedForm* form = nullptr;
  App->CreateForm(form);
  ASSERT_TRUE(form->Visible());
  EXPECT_EQ(form->Pages->BoundsRect(), (TRect{0, 0, 200, 100}));
  EXPECT_EQ(form->SheetWhenShown, (TRect{0, 0, 200, 100})) << "a sheet inside a client-aligned parent";
  EXPECT_EQ(form->BarWhenShown, (TRect{0, 0, 200, 20}));
  form->SetBounds(10, 10, 300, 150);
  EXPECT_EQ(form->Bar->BoundsRect(), (TRect{0, 0, 300, 20})) << "and they follow the form afterwards";
}
