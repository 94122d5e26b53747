// Loading component trees: properties by kind, creation, names, events, references.
#include <gtest/gtest.h>

#include "framework/typeinfo/class_registry.h"
#include "formstream/fixups.h"
#include "formstream/loader.h"
#include "formstream/resources.h"
#include "tests/formstream/form_helpers.h"
#include "tests/formstream/test_components.h"

namespace {
const char* kForm = R"(object Form1: TTestForm
  Caption = 'Main'
  object Widget1: TTestWidget
    Left = 257
    Width = -300
    Small = -11
    Shape = shTriangle
    Sides = [sdLeft, sdBottom]
    Color = clSkyBlue
    Visible = False
    Caption = 'It''s'
    Wide = 'A'#8364
    Accel = 'k'
    Ratio = 2.5
    Big = 5000000000
    Buddy = Panel1
    OnClick = Widget1Click
    Font.Name = 'Verdana'
    Font.Height = -13
    Font.Style = []
    DesignSize = (
      273
      169)
    Items = <
      item
        Caption = 'one'
      end
      item [7]
        Caption = 'two'
        Value = 2
      end>
  end
  object Panel1: TTestPanel
    object Inner: TTestWidget
      Color = 255
    end
  end
end
)";
}  // namespace

TEST(Loader, SetsEveryKindOfProperty) {
  TTestForm form;
  ASSERT_EQ(LoadInto(form, kForm), "");
  ASSERT_NE(form.Widget1, nullptr);  // fields follow the names
  ASSERT_NE(form.Panel1, nullptr);
  TTestWidget& w = *form.Widget1;
  EXPECT_EQ(form.Name(), "Form1");
  EXPECT_EQ(form.FCaption, "Main");
  EXPECT_EQ(w.FLeft, 257);
  EXPECT_EQ(w.FWidth, -300);
  EXPECT_EQ(w.FSmall, -11);
  EXPECT_EQ(w.FShape, shTriangle);
  EXPECT_EQ(w.FSides, (TSides{sdLeft, sdBottom}));
  EXPECT_EQ(w.FColor, clSkyBlue);
  EXPECT_FALSE(w.FVisible);
  EXPECT_EQ(w.FCaption, "It's");
  EXPECT_EQ(w.FWide, u"A\u20AC");
  EXPECT_EQ(w.FAccel, 'k');
  EXPECT_EQ(w.FRatio, 2.5);
  EXPECT_EQ(w.FBig, 5000000000);
  EXPECT_EQ(w.FBuddy, form.Panel1);  // a reference to a component further on
  EXPECT_EQ(w.Font()->FName, "Verdana");
  EXPECT_EQ(w.Font()->FHeight, -13);
  EXPECT_TRUE(w.Font()->FStyle.Empty());
  EXPECT_EQ(w.DesignSize, (std::vector<int>{273, 169}));
  ASSERT_EQ(w.Items()->Count(), 2);
  EXPECT_EQ(static_cast<TTestItem*>(w.Items()->Items(1))->FCaption, "two");
  EXPECT_EQ(static_cast<TTestItem*>(w.Items()->Items(1))->FValue, 2);
  w.FOnClick(&w);
  EXPECT_EQ(form.FClicks, 1);  // bound to the form's published method
  EXPECT_EQ(form.Panel1->Children.size(), 1u);
  EXPECT_EQ(form.FindComponent("Inner")->Owner(), &form);  // owned by the window, parented by the panel
  EXPECT_EQ(static_cast<TTestWidget*>(form.FindComponent("Inner"))->FColor, clRed);
  // The window first, then each component after its children.
  EXPECT_EQ(form.LoadOrder, (std::vector<std::string>{"Form1", "Widget1", "Inner", "Panel1"}));
  EXPECT_FALSE(form.ComponentState().Contains(csLoading));
  EXPECT_FALSE(w.ComponentState().Contains(csLoading));
}

TEST(Loader, PropertyFailuresAreWrappedWithComponentAndPropertyName) {
  struct TCase {
    const char* Property;
    const char* Message;
  };
  const TCase cases[] = {
      {"Bogus = 1", "Error reading Widget1.Bogus: Property Bogus does not exist"},
      {"Font.Bogus = 1", "Error reading Widget1.Font.Bogus: Property Bogus does not exist"},
      {"Nothing.Name = 1", "Error reading Widget1.Nothing.Name: Property Nothing does not exist"},
      {"Caption.Name = 1", "Error reading Widget1.Caption.Name: Invalid property path"},
      {"OnClick = NoSuchMethod", "Error reading Widget1.OnClick: Invalid property value"},
      {"Shape = shHexagon", "Error reading Widget1.Shape: Invalid property value"},
      {"Sides = [sdLeft, sdMiddle, sdTop]", "Error reading Widget1.Sides: Invalid property value"},
      {"Color = clNoSuchColour", "Error reading Widget1.Color: Invalid property value"},
      {"Left = 'text'", "Error reading Widget1.Left: Invalid property value"},
      {"Accel = ''", "Error reading Widget1.Accel: Invalid property value"},
      {"ChildCount = 3", "Error reading Widget1.ChildCount: Property is read-only"},
      {"Visible = 1", "Error reading Widget1.Visible: Invalid property value"},
  };
  for (const TCase& c : cases) {
    TTestForm form;
    std::string text = std::string("object Form1: TTestForm\n object Widget1: TTestWidget\n  ") + c.Property +
                       "\n end\nend\n";
    EXPECT_EQ(LoadInto(form, text), c.Message) << c.Property;
  }
}

TEST(Loader, EmptyComponentNameUsesTheClassNameInMessages) {
  TTestForm form;
  EXPECT_EQ(LoadInto(form, "object TTestForm\n Bogus = 1\nend\n"),
            "Error reading TTestForm.Bogus: Property Bogus does not exist");
}

TEST(Loader, ComponentClassesComeFromFieldsThenTheRegistry) {
  TTestForm form;
  EXPECT_EQ(LoadInto(form, "object F: TTestForm\n object S: TStrayWidget\n end\nend\n"), "Class TStrayWidget not found");
  EXPECT_EQ(form.ComponentCount(), 0);
  RegisterStreamClass(TTestFont::ClassInfo());  // found, but not a component
  EXPECT_EQ(LoadInto(form, "object F: TTestForm\n object S: TTestFont\n end\nend\n"), "Class TTestFont not found");
  UnregisterStreamClass(TTestFont::ClassInfo());

  RegisterStreamClass(TStrayWidget::ClassInfo());
  TTestForm other;
  EXPECT_EQ(LoadInto(other, "object F: TTestForm\n object S: TStrayWidget\n end\nend\n"), "");
  EXPECT_NE(dynamic_cast<TStrayWidget*>(other.FindComponent("S")), nullptr);
  UnregisterStreamClass(TStrayWidget::ClassInfo());
}

TEST(Loader, NamingFailuresFreeTheNewComponent) {
  TTestForm form;
  EXPECT_EQ(LoadInto(form, "object F: TTestForm\n object W: TTestWidget\n end\n object w: TTestWidget\n end\nend\n"),
            "A component named w already exists");
  EXPECT_EQ(form.ComponentCount(), 1);
}

TEST(Loader, UnresolvedReferencesStayEmptyOrWaitForTheirWindow) {
  TTestForm form;
  ASSERT_EQ(LoadInto(form, "object RefA: TTestForm\n object Widget1: TTestWidget\n Buddy = Nowhere\n end\n"
                           " object W2: TTestWidget\n Buddy = RefB.Target\n end\nend\n"),
            "");
  EXPECT_EQ(form.Widget1->FBuddy, nullptr);
  auto* w2 = static_cast<TTestWidget*>(form.FindComponent("W2"));
  EXPECT_EQ(w2->FBuddy, nullptr);
  size_t pending = GlobalFixupCount();
  EXPECT_GE(pending, 1u);
  {
    TTestForm other;
    ASSERT_EQ(LoadInto(other, "object RefB: TTestForm\n object Target: TTestWidget\n end\nend\n"), "");
    EXPECT_EQ(w2->FBuddy, other.FindComponent("Target"));  // resolved once RefB exists
    EXPECT_EQ(GlobalFixupCount(), pending - 1);
  }
  EXPECT_EQ(w2->FBuddy, nullptr);  // freed with its window
}

TEST(Loader, PendingReferencesGoWithTheirWindow) {
  size_t before = GlobalFixupCount();
  {
    TTestForm form;
    ASSERT_EQ(LoadInto(form, "object RefC: TTestForm\n object W: TTestWidget\n Buddy = Later.X\n end\nend\n"), "");
    EXPECT_EQ(GlobalFixupCount(), before + 1);
  }
  EXPECT_EQ(GlobalFixupCount(), before);
  TTestForm failing;
  EXPECT_NE(LoadInto(failing, "object RefD: TTestForm\n object W: TTestWidget\n Buddy = Later.X\n Bogus = 1\n end\nend\n"), "");
  EXPECT_EQ(GlobalFixupCount(), before);
}

TEST(Loader, DuplicateWindowNamesGetASuffix) {
  const char* text = "object Dup: TTestForm\nend\n";
  TTestForm a, b, c;
  ASSERT_EQ(LoadInto(a, text), "");
  ASSERT_EQ(LoadInto(b, text), "");
  EXPECT_EQ(a.Name(), "Dup");
  EXPECT_EQ(b.Name(), "Dup_1");
  {
    TTestForm d;
    ASSERT_EQ(LoadInto(d, "object DUP: TTestForm\nend\n"), "");
    EXPECT_EQ(d.Name(), "DUP_2");
  }
  ASSERT_EQ(LoadInto(c, text), "");
  EXPECT_EQ(c.Name(), "Dup_2");  // free again once its holder is gone
  ASSERT_EQ(LoadInto(a, text), "");
  EXPECT_EQ(a.Name(), "Dup");  // a window read again keeps its own name
}

TEST(Loader, UnknownGraphicInAByteBlockIsSkippedAndReadingGoesOn) {
  TTestForm form;
  // 05 "TFoo?" then junk the picture ignores; the block's length still moves the reader past it.
  ASSERT_EQ(LoadInto(form, "object F: TTestForm\n object Widget1: TTestWidget\n"
                           "  Picture.Data = {0554466F6F3F01020304FFFF}\n  Caption = 'after'\n end\nend\n"),
            "");
  EXPECT_TRUE(form.Widget1->Picture()->GraphicClass.empty());
  EXPECT_EQ(form.Widget1->FCaption, "after");

  TTestForm known;
  ASSERT_EQ(LoadInto(known, "object F: TTestForm\n object Widget1: TTestWidget\n"
                            "  Picture.Data = {0C5454657374477261706869630200000041FF}\n end\nend\n"),
            "");
  EXPECT_EQ(known.Widget1->Picture()->Bytes, (std::vector<uint8_t>{0x41, 0xFF}));
}

TEST(Loader, ContinueAfterErrorSkipsTheFailedPartExactly) {
  TTestForm form;
  TMemoryStream s = Compile(
      "object F: TTestForm\n object Widget1: TTestWidget\n  Bogus = (1 2 (3))\n  OnClick = Nope\n"
      "  Sides = [sdLeft, sdNope, sdTop]\n  Left = 5\n end\n object S: TStrayWidget\n  Left = 1\n"
      "  object Child: TTestWidget\n  end\n end\n object Panel1: TTestPanel\n  Left = 9\n end\nend\n");
  std::vector<std::string> errors;
  TStreamReader reader(s);
  reader.OnError = [&errors](const std::string& m) {
    errors.push_back(m);
    return true;
  };
  reader.ReadRootComponent(form);
  EXPECT_EQ(errors, (std::vector<std::string>{"Error reading Widget1.Bogus: Property Bogus does not exist",
                                              "Error reading Widget1.OnClick: Invalid property value",
                                              "Error reading Widget1.Sides: Invalid property value",
                                              "Class TStrayWidget not found"}));
  EXPECT_EQ(form.Widget1->FLeft, 5);
  EXPECT_EQ(form.FindComponent("S"), nullptr);
  ASSERT_NE(form.Panel1, nullptr);
  EXPECT_EQ(form.Panel1->FLeft, 9);
}

TEST(Loader, PrefixFlagsPositionAndInheritedComponents) {
  TTestForm form;
  ASSERT_EQ(LoadInto(form, "object F: TTestForm\n object Panel1: TTestPanel\n"
                           "  object A: TTestWidget\n  end\n  object B: TTestWidget [0]\n  end\n end\nend\n"),
            "");
  ASSERT_EQ(form.Panel1->Children.size(), 2u);
  EXPECT_EQ(form.Panel1->Children[0]->Name(), "B");  // moved to position 0

  // A second level read into the same window finds its components by name.
  ASSERT_EQ(LoadInto(form, "object F: TTestForm\n inherited A: TTestWidget\n  Left = 77\n end\nend\n"), "");
  EXPECT_EQ(static_cast<TTestWidget*>(form.FindComponent("A"))->FLeft, 77);
  EXPECT_EQ(form.ComponentCount(), 3);
  EXPECT_EQ(LoadInto(form, "object F: TTestForm\n inherited Zed: TTestWidget\n end\nend\n"),
            "Ancestor for 'Zed' not found");
}

TEST(Loader, DamagedStreamsFailCleanly) {
  TTestForm form;
  TMemoryStream bad = (TBytes() << "TPF1" << 9 << "TTestForm" << 0 << 0 << 0).Stream();
  TStreamReader r(bad);
  try {
    r.ReadRootComponent(form);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Invalid stream format");
  }
  EXPECT_EQ(form.ComponentCount(), 0);

  // Components nested deeper than any real form (the compiler refuses to write these).
  TBytes deep;
  deep << "TPF0";
  deep.Str("TTestForm").Str("F") << 0;
  for (int i = 0; i < 80; ++i) deep.Str("TTestWidget").Str("W" + std::to_string(i)) << 0;
  for (int i = 0; i < 81; ++i) deep << 0;
  TMemoryStream deepStream = deep.Stream();
  TTestForm deepForm;
  TStreamReader deepReader(deepStream);
  try {
    deepReader.ReadRootComponent(deepForm);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Invalid stream format");
  }
  EXPECT_EQ(deepForm.ComponentCount(), 0);

  TMemoryStream good = Compile(kForm);
  for (int64_t cut : {int64_t(10), good.Size() / 2, good.Size() - 1}) {
    TMemoryStream truncated;
    truncated.WriteBuffer(good.Memory(), cut);
    truncated.SetPosition(0);
    TTestForm partial;
    TStreamReader reader(truncated);
    EXPECT_THROW(reader.ReadRootComponent(partial), EReadError) << cut;
  }
}

TEST(Loader, LoadingScopeDefersAfterLoadToTheEnd) {
  TTestForm form;
  TLoadingScope scope;
  ASSERT_EQ(LoadInto(form, "object Scoped: TTestForm\n object W: TTestWidget\n end\nend\n"), "");
  EXPECT_TRUE(form.LoadOrder.empty());
  EXPECT_TRUE(form.ComponentState().Contains(csLoading));
  scope.NotifyLoaded();
  EXPECT_EQ(form.LoadOrder, (std::vector<std::string>{"Scoped", "W"}));
}

TEST(Loader, ResourcesAreFoundByClassNameIgnoringCase) {
  TMemoryStream bytes = Compile("object ResForm: TTestForm\n Caption = 'from resource'\nend\n");
  RegisterResource("TTESTFORM", bytes.Memory(), bytes.Bytes().size());
  ASSERT_TRUE(FindResource("tTestForm"));
  TTestForm form;
  LoadComponentResource(form, TComponent::ClassInfo());
  EXPECT_EQ(form.FCaption, "from resource");
  EXPECT_EQ(form.LoadOrder, (std::vector<std::string>{"ResForm"}));
  UnregisterResource("TTestForm");

  TTestForm missing;
  try {
    LoadComponentResource(missing, TComponent::ClassInfo());
    FAIL();
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), "Resource TTestForm not found");
  }
}

TEST(Loader, EmbeddedFormIsCompiledIntoTheProgram) {
  // tests/formstream/data/embedded_form.txt, embedded by the build as TEMBEDDEDFORM.
  TEmbeddedForm form;
  LoadComponentResource(form, TTestForm::ClassInfo());
  EXPECT_EQ(form.Name(), "Embedded");
  ASSERT_NE(form.Widget1, nullptr);
  EXPECT_EQ(form.Widget1->FCaption, "Embedded widget");
  EXPECT_EQ(form.Widget1->Picture()->Bytes.size(), 6u);
}
