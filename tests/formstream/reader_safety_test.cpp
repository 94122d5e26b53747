// Crafted streams that once made the reader reach freed memory or read the wrong bytes.
#include <gtest/gtest.h>

#include "formstream/fixups.h"
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
