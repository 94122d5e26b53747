#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/component.h"
#include "framework/core/exceptions.h"
#include "framework/typeinfo/class_info.h"

namespace {

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

// A component that records its destruction and the notifications it receives.
class TProbe : public TComponent {
 public:
  VM_CLASS()
  explicit TProbe(TComponent* owner) : TComponent(owner) {}
  ~TProbe() override { Log().push_back("free " + Name()); }
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    Seen.push_back((operation == opInsert ? "+" : "-") + component->Name());
  }
  std::vector<std::string> Seen;
};

class TOtherProbe : public TProbe {
 public:
  VM_CLASS()
  using TProbe::TProbe;
};

// An owner with published fields, as a window class has for its controls.
class THolder : public TProbe {
 public:
  VM_CLASS()
  using TProbe::TProbe;
  TProbe* Probe1 = nullptr;
  TOtherProbe* Other1 = nullptr;
};

const TClassInfo& TProbe::ClassInfo() {
  static const TClassInfo info = DefineClass<TProbe, TComponent>("TProbe");
  return info;
}
const TClassInfo& TOtherProbe::ClassInfo() {
  static const TClassInfo info = DefineClass<TOtherProbe, TProbe>("TOtherProbe");
  return info;
}
const TClassInfo& THolder::ClassInfo() {
  static const TClassInfo info =
      DefineClass<THolder, TProbe>("THolder").Field("Probe1", &THolder::Probe1).Field("Other1", &THolder::Other1);
  return info;
}

TProbe* Make(TComponent* owner, const std::string& name) {
  auto* p = new TProbe(owner);
  p->SetName(name);
  return p;
}

}  // namespace

TEST(Component, OwnerFreesItsComponentsLastFirst) {
  Log().clear();
  {
    THolder owner(nullptr);
    owner.SetName("Owner");
    Make(&owner, "A");
    Make(&owner, "B");
    TProbe* c = Make(&owner, "C");
    Make(c, "C1");  // owned in turn
    ASSERT_EQ(owner.ComponentCount(), 3);
    EXPECT_EQ(owner.Components(2), c);
    EXPECT_EQ(c->ComponentIndex(), 2);
  }
  EXPECT_EQ(Log(), (std::vector<std::string>{"free Owner", "free C", "free C1", "free B", "free A"}));
}

TEST(Component, FreeingAComponentTakesItFromItsOwnerAndTellsTheOthers) {
  THolder owner(nullptr);
  TProbe* a = Make(&owner, "A");
  TProbe* b = Make(&owner, "B");
  EXPECT_EQ(owner.Seen, (std::vector<std::string>{"+", "+"}));  // inserted before being named
  delete a;
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), b);
  EXPECT_EQ(owner.Seen.back(), "-A");
  EXPECT_EQ(b->Seen.back(), "-A");  // the owner passes notifications on to what it owns
}

TEST(Component, FreeNotificationReachesComponentsOutsideTheOwner) {
  THolder first(nullptr);
  THolder second(nullptr);
  TProbe* watched = Make(&first, "Watched");
  second.FreeNotification(watched);
  delete watched;
  EXPECT_EQ(second.Seen.back(), "-Watched");
  // Once freed, the link is gone on both sides: freeing `second` later must not touch it.
}

TEST(Component, NamesAreValidatedAndUniqueWithinTheOwner) {
  THolder owner(nullptr);
  TProbe* a = Make(&owner, "Button1");
  TProbe* b = Make(&owner, "");
  TProbe* c = new TProbe(&owner);  // several unnamed components are fine

  try {
    b->SetName("1abc");
    FAIL() << "an invalid name was accepted";
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "''1abc'' is not a valid component name");
  }
  try {
    b->SetName("BUTTON1");
    FAIL() << "a duplicate name was accepted";
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "A component named BUTTON1 already exists");
  }
  EXPECT_EQ(b->Name(), "");

  a->SetName("button1");  // a case variant of its own name
  EXPECT_EQ(a->Name(), "button1");
  EXPECT_EQ(owner.FindComponent("BUTTON1"), a);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  c->SetName("_x9");
  EXPECT_EQ(owner.FindComponent("_X9"), c);

  // Components without an owner are not checked against anyone.
  TProbe loose1(nullptr), loose2(nullptr);
  loose1.SetName("Same");
  loose2.SetName("Same");
  EXPECT_EQ(loose2.Name(), "Same");
}

TEST(Component, OwnerFieldFollowsTheComponentsName) {
  THolder owner(nullptr);
  TProbe* p = Make(&owner, "Probe1");
  EXPECT_EQ(owner.Probe1, p);

  p->SetName("Renamed");
  EXPECT_EQ(owner.Probe1, nullptr);
  p->SetName("PROBE1");  // field names compare case-insensitively
  EXPECT_EQ(owner.Probe1, p);

  TProbe* wrongClass = Make(&owner, "Other1");  // a TProbe is not a TOtherProbe
  EXPECT_EQ(owner.Other1, nullptr);
  delete wrongClass;
  auto* other = new TOtherProbe(&owner);
  other->SetName("Other1");
  EXPECT_EQ(owner.Other1, other);

  delete p;
  EXPECT_EQ(owner.Probe1, nullptr);
}

TEST(Component, InsertingMovesOwnershipAndChecksTheName) {
  THolder first(nullptr), second(nullptr);
  TProbe* a = Make(&first, "A");
  Make(&second, "A");
  EXPECT_THROW(second.InsertComponent(a), EComponentError);
  EXPECT_EQ(a->Owner(), &first);

  a->SetName("Probe1");
  second.InsertComponent(a);
  EXPECT_EQ(a->Owner(), &second);
  EXPECT_EQ(first.ComponentCount(), 0);
  EXPECT_EQ(first.Probe1, nullptr);
  EXPECT_EQ(second.Probe1, a);
}

TEST(Component, LoadingStateAndAfterLoad) {
  TProbe p(nullptr);
  p.SetComponentState(csLoading, true);
  p.SetComponentState(csReading, true);
  EXPECT_TRUE(p.ComponentState().Contains(csLoading));
  p.SetComponentState(csReading, false);
  p.AfterLoad();
  EXPECT_TRUE(p.ComponentState().Empty());
}

TEST(Persistent, CopyingFromAnUnsupportedSourceFails) {
  TProbe a(nullptr);
  TOtherProbe b(nullptr);
  try {
    a.CopyFrom(&b);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TOtherProbe to a TProbe");
  }
  try {
    a.CopyFrom(nullptr);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a nil to a TProbe");
  }
}

TEST(Object, ClassNamesAndInheritance) {
  TOtherProbe p(nullptr);
  EXPECT_EQ(p.ClassName(), "TOtherProbe");
  EXPECT_TRUE(p.InheritsFrom(TProbe::ClassInfo()));
  EXPECT_TRUE(p.InheritsFrom(TPersistent::ClassInfo()));
  EXPECT_FALSE(p.InheritsFrom(THolder::ClassInfo()));
  EXPECT_EQ(TComponent::ClassInfo().Parent, &TPersistent::ClassInfo());
}
