// Crafted streams that once made the reader reach freed memory or read the wrong bytes.
#include <gtest/gtest.h>

#include "formstream/fixups.h"
#include "framework/typeinfo/class_registry.h"
#include "formstream/loader.h"
#include "tests/formstream/form_helpers.h"
#include "tests/formstream/test_components.h"

TEST(ReaderSafety, ACollectionStoredTwiceDropsTheReferencesOfItsFirstItems) {
  const int freedBefore = TLinkHolder::WritesToFreed;
  TTestForm form;
  ASSERT_EQ(LoadInto(form, "object Form1: TTestForm\n object Widget1: TTestWidget\n"
                           "  Items = <\n item\n Link = Panel1\n end>\n"
                           "  Items = <\n item\n Caption = 'second'\n end>\n end\n"
                           " object Panel1: TTestPanel\n end\nend\n"),
            "");
  EXPECT_EQ(TLinkHolder::WritesToFreed, freedBefore);
  ASSERT_EQ(form.Widget1->Items()->Count(), 1);
  auto* item = static_cast<TTestItem*>(form.Widget1->Items()->Items(0));
  EXPECT_EQ(item->FCaption, "second");
  EXPECT_EQ(item->Link(), nullptr);
}

TEST(ReaderSafety, AReferenceIntoAnotherWindowIsDroppedWithTheObjectHoldingIt) {
  const int freedBefore = TLinkHolder::WritesToFreed;
  const size_t pendingBefore = GlobalFixupCount();
  TTestForm form;
  ASSERT_EQ(LoadInto(form, "object Holders: TTestForm\n object Widget1: TTestWidget\n"
                           "  Font.Link = Later1.Target\n  Items = <\n item\n Link = Later1.Target\n end>\n end\nend\n"),
            "");
  EXPECT_EQ(GlobalFixupCount(), pendingBefore + 2);
  form.Widget1->Items()->Clear();  // the item goes on its own
  EXPECT_EQ(GlobalFixupCount(), pendingBefore + 1);
  delete form.Widget1;  // the font goes with its component
  EXPECT_EQ(GlobalFixupCount(), pendingBefore);
  TTestForm later;
  ASSERT_EQ(LoadInto(later, "object Later1: TTestForm\n object Target: TTestWidget\n end\nend\n"), "");
  EXPECT_EQ(TLinkHolder::WritesToFreed, freedBefore);
}

TEST(ReaderSafety, AReferenceIntoAnotherWindowFromASubObjectIsResolved) {
  TTestForm form;
  ASSERT_EQ(LoadInto(form, "object Holders2: TTestForm\n object Widget1: TTestWidget\n"
                           "  Font.Link = Later2.Target\n end\nend\n"),
            "");
  TTestForm later;
  ASSERT_EQ(LoadInto(later, "object Later2: TTestForm\n object Target: TTestWidget\n end\nend\n"), "");
  EXPECT_EQ(form.Widget1->Font()->Link(), later.FindComponent("Target"));
}

TEST(ReaderSafety, AWindowThatFailsInsideAnOuterScopeLeavesNothingOfItInTheScope) {
  TLoadingScope scope;
  TTestForm survivor;
  ASSERT_EQ(LoadInto(survivor, "object Survivor: TTestForm\nend\n"), "");
  ASSERT_EQ(TLoadingScope::Current()->size(), 1u);
  auto* failing = new TTestForm;
  EXPECT_EQ(LoadInto(*failing, "object Failing: TTestForm\n object Widget1: TTestWidget\n end\n"
                               " object Panel1: TTestPanel\n  Bogus = 1\n end\nend\n"),
            "Error reading Panel1.Bogus: Property Bogus does not exist");
  delete failing;  // as its constructor does
  EXPECT_EQ(*TLoadingScope::Current(), (std::vector<TComponent*>{&survivor}));
  scope.NotifyLoaded();
  EXPECT_EQ(survivor.LoadOrder, (std::vector<std::string>{"Survivor"}));
}

TEST(ReaderSafety, IntegersBeyondThePropertysRangeAreInvalidNotCut) {
  struct TCase {
    const char* Property;
    const char* Message;
  };
  const TCase cases[] = {
      {"Left = 5000000000", "Error reading Widget1.Left: Invalid property value"},       // 64-bit tag, 32-bit property
      {"Left = -2147483649", "Error reading Widget1.Left: Invalid property value"},
      {"Width = 40000", "Error reading Widget1.Width: Invalid property value"},         // 16-bit property
      {"Small = 128", "Error reading Widget1.Small: Invalid property value"},           // 8-bit property
      {"Left = 2147483647", ""},
      {"Left = -2147483648", ""},
      {"Width = -32768", ""},
      {"Big = 5000000000", ""},                                                          // a 64-bit property
  };
  for (const TCase& c : cases) {
    TTestForm form;
    std::string text = std::string("object Form1: TTestForm\n object Widget1: TTestWidget\n  ") + c.Property +
                       "\n end\nend\n";
    EXPECT_EQ(LoadInto(form, text), c.Message) << c.Property;
  }
}

TEST(ReaderSafety, FailuresOfTheLanguageLibraryAreWrappedAndOfferedLikeAnyOther) {
  const std::pair<int, const char*> cases[] = {{1, "Out of system resources"}, {2, "Out of system resources"}, {3, "boom"}};
  for (const auto& [kind, message] : cases) {
    TTestForm form;
    const std::string text = "object Form1: TTestForm\n object Widget1: TTestWidget\n  Throws = " + std::to_string(kind) +
                             "\n  Left = 5\n end\nend\n";
    EXPECT_EQ(LoadInto(form, text), std::string("Error reading Widget1.Throws: ") + message);
    // Offered to ContinueAfterError like the framework's own failures.
    TTestForm tolerant;
    TMemoryStream stream = Compile(text);
    TStreamReader reader(stream);
    std::vector<std::string> offered;
    reader.OnError = [&](const std::string& m) {
      offered.push_back(m);
      return true;
    };
    reader.ReadRootComponent(tolerant);
    EXPECT_EQ(offered, (std::vector<std::string>{std::string("Error reading Widget1.Throws: ") + message}));
    ASSERT_NE(tolerant.Widget1, nullptr);
    EXPECT_EQ(tolerant.Widget1->FLeft, 5);
  }
}

TEST(ReaderSafety, MessagesNameWhatWasBeingRead) {
  TTestForm items;
  EXPECT_EQ(LoadInto(items, "object Form1: TTestForm\n object Widget1: TTestWidget\n"
                            "  Items = <\n item\n Bogus = 1\n end>\n end\nend\n"),
            "Error reading Widget1.Items: Property Bogus does not exist")
      << "wrapped once, by the collection's component";
  TBytes cut;
  cut << "TPF0";
  cut.Str("TTestForm").Str("Form1") << 7 << "Capt";
  TMemoryStream s = cut.Stream();
  TTestForm form;
  try {
    TStreamReader reader(s);
    reader.ReadRootComponent(form);
    FAIL() << "loaded";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Stream read error") << "a name cut short names no property";
  }
}

TEST(ReaderSafety, AComponentOfAnotherClassThanItsFieldFailsTheLoad) {
  TTestForm form;
  EXPECT_EQ(LoadInto(form, "object Form1: TTestForm\n object Panel1: TTestWidget\n end\nend\n"),
            "Component Panel1 is a TTestWidget, not the TTestPanel its field is");
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_EQ(form.Panel1, nullptr);
}

TEST(ReaderSafety, ChildrenOfAnOwnedChildStayWithTheCurrentOwner) {
  RegisterStreamClass(TTestFrame::ClassInfo());
  TTestForm form;
  ASSERT_EQ(LoadInto(form, "object Form1: TTestForm\n object Frame1: TTestFrame\n"
                           "  object Box: TTestWidget\n   object Deep: TTestWidget\n   end\n  end\n end\nend\n"),
            "");
  UnregisterStreamClass(TTestFrame::ClassInfo());
  TComponent* frame = form.FindComponent("Frame1");
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(frame->FindComponent("Box"), nullptr);
  EXPECT_NE(frame->FindComponent("Deep"), nullptr) << "owned like its parent, by the frame";
  EXPECT_EQ(form.FindComponent("Deep"), nullptr);
}

TEST(ReaderSafety, AnInheritedRecordDoesNotChangeWhereItsSiblingsGo) {
  TTestForm form;
  ASSERT_EQ(LoadInto(form, "object F: TTestForm\n object Panel1: TTestPanel\n  object Inner: TTestWidget\n  end\n end\nend\n"),
            "");
  ASSERT_EQ(LoadInto(form, "inherited F: TTestForm\n inherited Inner: TTestWidget\n  Left = 3\n end\n"
                           " object After: TTestWidget\n end\nend\n"),
            "");
  auto* after = static_cast<TTestWidget*>(form.FindComponent("After"));
  ASSERT_NE(after, nullptr);
  EXPECT_EQ(after->GetParentComponent(), &form);
  EXPECT_EQ(form.Panel1->Children.size(), 1u);
}
