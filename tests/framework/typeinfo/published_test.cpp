#include <gtest/gtest.h>

#include <memory>

#include "framework/core/color.h"
#include "framework/core/component.h"
#include "framework/typeinfo/class_info.h"
#include "framework/typeinfo/class_registry.h"
#include "framework/typeinfo/ident_maps.h"

namespace {

enum TShape { shCircle, shSquare, shTriangle };
VM_DECLARE_ENUM(TShape);
VM_ENUM_INFO(TShape, "shCircle", "shSquare", "shTriangle")
using TShapes = TSet<TShape>;

class TGadget : public TComponent {
 public:
  VM_CLASS()
  explicit TGadget(TComponent* owner) : TComponent(owner) {}
  int Size() const { return FSize; }
  void SetSize(int v) {
    FSize = v;
    ++Writes;
  }
  TComponent* Buddy() const { return FBuddy; }
  void SetBuddy(TComponent* b) { FBuddy = b; }
  TGadget* Self() const { return const_cast<TGadget*>(this); }
  bool ColorStored() const { return FColor != clBtnFace; }

  int FSize = 5;
  int16_t FSmall = 0;
  TColor FColor = clBtnFace;
  TShape FShape = shCircle;
  TShapes FShapes;
  bool FFlag = false;
  std::string FCaption;
  double FRatio = 0;
  TComponent* FBuddy = nullptr;
  TNotifyEvent FOnClick;
  int Writes = 0;
};

class TBigGadget : public TGadget {
 public:
  VM_CLASS()
  using TGadget::TGadget;
  int FExtra = 0;
};

class TPanelForm : public TComponent {
 public:
  VM_CLASS()
  using TComponent::TComponent;
  void Gadget1Click(TObject* sender) { LastSender = sender; }
  void Resized(TObject*, int w) { LastSender = reinterpret_cast<TObject*>(intptr_t(w)); }
  TObject* LastSender = nullptr;
};

const TClassInfo& TGadget::ClassInfo() {
  static const TClassInfo info = DefineClass<TGadget, TComponent>("TGadget")
                                     .Property("Size", &TGadget::Size, &TGadget::SetSize, Default(5))
                                     .Property("Small", &TGadget::FSmall)
                                     .Property("Color", &TGadget::FColor, &TGadget::ColorStored)
                                     .Property("Shape", &TGadget::FShape, Default(shCircle))
                                     .Property("Shapes", &TGadget::FShapes)
                                     .Property("Flag", &TGadget::FFlag, Default(false))
                                     .Property("Caption", &TGadget::FCaption)
                                     .Property("Ratio", &TGadget::FRatio)
                                     .Property("Buddy", &TGadget::Buddy, &TGadget::SetBuddy)
                                     .Property("Self", &TGadget::Self)
                                     .Event("OnClick", &TGadget::FOnClick);
  return info;
}
const TClassInfo& TBigGadget::ClassInfo() {
  static const TClassInfo info = DefineClass<TBigGadget, TGadget>("TBigGadget")
                                     .Property("Extra", &TBigGadget::FExtra)
                                     .Property("Size", &TGadget::Size, &TGadget::SetSize, Default(7));
  return info;
}
const TClassInfo& TPanelForm::ClassInfo() {
  static const TClassInfo info = DefineClass<TPanelForm, TComponent>("TPanelForm")
                                     .Method("Gadget1Click", &TPanelForm::Gadget1Click)
                                     .Method("Resized", &TPanelForm::Resized);
  return info;
}

}  // namespace

TEST(PublishedProperties, LookupWalksAncestorsIgnoringCase) {
  const TClassInfo& big = TBigGadget::ClassInfo();
  EXPECT_EQ(big.FindProperty("extra")->Name, "Extra");
  EXPECT_EQ(big.FindProperty("CAPTION")->Name, "Caption");
  EXPECT_EQ(big.FindProperty("name")->Name, "Name");  // from TComponent
  EXPECT_EQ(big.FindProperty("Siz"), nullptr);
  EXPECT_EQ(big.FindProperty("Sizes"), nullptr);
  // A redeclaration in the descendant is found first and replaces the ancestor's in the full list.
  EXPECT_EQ(*big.FindProperty("size")->Default, 7);
  int sizes = 0;
  for (const TPropInfo* p : big.AllProperties()) sizes += p->Name == "Size";
  EXPECT_EQ(sizes, 1);
  EXPECT_EQ(TGadget::ClassInfo().FindProperty("extra"), nullptr);
}

TEST(PublishedProperties, KindsAndStorageWidthsAreDeduced) {
  const TClassInfo& c = TGadget::ClassInfo();
  auto kind = [&](const char* n) { return c.FindProperty(n)->PropType->Kind; };
  EXPECT_EQ(kind("Size"), TTypeKind::Integer);
  EXPECT_EQ(c.FindProperty("Small")->PropType->OrdSize(), 2);
  EXPECT_EQ(c.FindProperty("Small")->PropType->MinValue, -32768);
  EXPECT_EQ(c.FindProperty("Color")->PropType, &TypeInfoFor<TColor>());
  EXPECT_EQ(kind("Shape"), TTypeKind::Enumeration);
  EXPECT_EQ(kind("Shapes"), TTypeKind::Set);
  EXPECT_EQ(c.FindProperty("Shapes")->PropType->ElementType, &TypeInfoFor<TShape>());
  EXPECT_EQ(c.FindProperty("Flag")->PropType, &BooleanTypeInfo());
  EXPECT_EQ(kind("Caption"), TTypeKind::String);
  EXPECT_EQ(kind("Ratio"), TTypeKind::Float);
  EXPECT_EQ(kind("Buddy"), TTypeKind::Class);
  EXPECT_EQ(c.FindProperty("Buddy")->PropType->ClassType(), &TComponent::ClassInfo());
  EXPECT_EQ(kind("OnClick"), TTypeKind::Method);
  EXPECT_TRUE(c.FindProperty("Self")->IsReadOnly());
  EXPECT_FALSE(c.FindProperty("Size")->IsReadOnly());
}

TEST(PublishedProperties, ValuesGoThroughReadersAndWriters) {
  TGadget g(nullptr);
  const TClassInfo& c = g.GetClassInfo();
  c.FindProperty("Size")->Set(g, int64_t(42));
  EXPECT_EQ(g.FSize, 42);
  EXPECT_EQ(g.Writes, 1);  // the writer method ran, not a field store
  c.FindProperty("Small")->Set(g, int64_t(-11));
  EXPECT_EQ(g.FSmall, -11);
  c.FindProperty("Shape")->Set(g, int64_t(shTriangle));
  EXPECT_EQ(g.FShape, shTriangle);
  c.FindProperty("Shapes")->Set(g, int64_t(0b101));
  EXPECT_EQ(g.FShapes, (TShapes{shCircle, shTriangle}));
  c.FindProperty("Flag")->Set(g, int64_t(1));
  EXPECT_TRUE(g.FFlag);
  c.FindProperty("Caption")->Set(g, std::string("Test point 1"));
  EXPECT_EQ(std::get<std::string>(c.FindProperty("caption")->Get(g)), "Test point 1");
  c.FindProperty("Ratio")->Set(g, int64_t(3));  // integers are accepted where a float is expected
  EXPECT_DOUBLE_EQ(g.FRatio, 3.0);
  EXPECT_EQ(std::get<int64_t>(c.FindProperty("Color")->Get(g)), int64_t(clBtnFace));
  EXPECT_EQ(std::get<TObject*>(c.FindProperty("Self")->Get(g)), &g);

  TComponent other(nullptr);
  c.FindProperty("Buddy")->Set(g, static_cast<TObject*>(&other));
  EXPECT_EQ(g.FBuddy, &other);
  TObject plain;
  EXPECT_THROW(c.FindProperty("Buddy")->Set(g, &plain), EPropertyError);  // not a component
  EXPECT_EQ(g.FBuddy, &other);
}

TEST(PublishedProperties, StoredRulesAndDefaults) {
  TGadget g(nullptr);
  const TPropInfo* color = g.GetClassInfo().FindProperty("Color");
  EXPECT_FALSE(color->IsStored(g));
  g.FColor = clSkyBlue;
  EXPECT_TRUE(color->IsStored(g));
  EXPECT_FALSE(g.GetClassInfo().FindProperty("Name")->IsStored(g));
  EXPECT_EQ(*g.GetClassInfo().FindProperty("Shape")->Default, shCircle);
  EXPECT_FALSE(g.GetClassInfo().FindProperty("Caption")->Default.has_value());
}

TEST(PublishedMethods, EventsBindToTheRootsMethodByName) {
  TPanelForm form(nullptr);
  TGadget g(&form);
  const TMethodInfo* m = form.GetClassInfo().FindMethod("GADGET1CLICK");
  ASSERT_NE(m, nullptr);
  const TPropInfo* onClick = g.GetClassInfo().FindProperty("OnClick");
  EXPECT_FALSE(onClick->IsStored(g));
  onClick->Set(g, TMethod{&form, m});
  g.FOnClick(&g);
  EXPECT_EQ(form.LastSender, &g);
  EXPECT_TRUE(onClick->IsStored(g));
  EXPECT_EQ(std::get<TMethod>(onClick->Get(g)).Code->Name, "Gadget1Click");

  // A method of another signature does not fit the event.
  const TMethodInfo* resized = form.GetClassInfo().FindMethod("Resized");
  try {
    onClick->Set(g, TMethod{&form, resized});
    FAIL();
  } catch (const EPropertyError& e) {
    EXPECT_STREQ(e.what(), "Invalid property value");
  }
  onClick->Set(g, TMethod{});  // nil clears it
  EXPECT_FALSE(bool(g.FOnClick));
  EXPECT_EQ(form.GetClassInfo().FindMethod("Gadget2Click"), nullptr);
}

TEST(TypeInfo, EnumerationsAndSets) {
  const TTypeInfo& shape = TypeInfoFor<TShape>();
  EXPECT_EQ(shape.Name, "TShape");
  EXPECT_EQ(shape.EnumValue("SHSQUARE"), 1);
  EXPECT_EQ(shape.EnumValue("shHexagon"), -1);
  EXPECT_EQ(shape.EnumName(2), "shTriangle");
  EXPECT_EQ(shape.EnumName(3), "");
  EXPECT_EQ(shape.OrdSize(), 1);
  EXPECT_EQ(BooleanTypeInfo().EnumValue("true"), 1);
  EXPECT_EQ(BooleanTypeInfo().EnumName(0), "False");

  TShapes s{shSquare};
  s.Include(shTriangle).Exclude(shSquare);
  EXPECT_EQ(s.Bits(), 0b100u);
  EXPECT_TRUE((TShapes{shCircle, shSquare} * TShapes{shSquare}).Contains(shSquare));
  EXPECT_TRUE(TShapes{}.Empty());
}

TEST(IdentMaps, ColoursCharsetsAndTheLastRegistrationWins) {
  auto toInt = FindIdentToInt(TypeInfoFor<TColor>());
  auto toIdent = FindIntToIdent(TypeInfoFor<TColor>());
  ASSERT_TRUE(toInt && toIdent);
  for (const auto& e : ColorIdentTable()) {
    EXPECT_EQ(toInt(e.Name), e.Value) << e.Name;
    EXPECT_EQ(toIdent(e.Value), std::string(e.Name));
  }
  EXPECT_FALSE(toInt("clNotAColour"));
  EXPECT_EQ(FindIdentToInt(TypeInfoFor<TFontCharset>())("DEFAULT_CHARSET"), 1);
  EXPECT_EQ(FindIntToIdent(TypeInfoFor<TCursor>())(-21), "crHandPoint");

  static const TTypeInfo widthType = IntegerTypeInfo(TOrdType::SLong);
  EXPECT_FALSE(FindIdentToInt(widthType));
  RegisterIntegerConsts(widthType, [](std::string_view) { return std::optional<int32_t>(1); }, nullptr);
  RegisterIntegerConsts(widthType, [](std::string_view) { return std::optional<int32_t>(2); }, nullptr);
  EXPECT_EQ(FindIdentToInt(widthType)("wide"), 2);
}

namespace {
class TRegisteredLeaf : public TGadget {
 public:
  VM_CLASS()
  using TGadget::TGadget;
};
class TImpostor : public TComponent {
 public:
  VM_CLASS()
  using TComponent::TComponent;
};
const TClassInfo& TRegisteredLeaf::ClassInfo() {
  static const TClassInfo info = DefineClass<TRegisteredLeaf, TGadget>("TRegisteredLeaf");
  return info;
}
const TClassInfo& TImpostor::ClassInfo() {
  static const TClassInfo info = DefineClass<TImpostor, TComponent>("TGADGET");
  return info;
}
}  // namespace

TEST(ClassRegistry, RegistersTheChainUpToPersistentAndRejectsDuplicates) {
  EXPECT_EQ(LookupStreamClass("TRegisteredLeaf"), nullptr);
  RegisterStreamClass(TRegisteredLeaf::ClassInfo());
  EXPECT_EQ(LookupStreamClass("tregisteredleaf"), &TRegisteredLeaf::ClassInfo());
  EXPECT_EQ(LookupStreamClass("TGadget"), &TGadget::ClassInfo());
  EXPECT_EQ(LookupStreamClass("TComponent"), &TComponent::ClassInfo());
  EXPECT_EQ(LookupStreamClass("TPersistent"), &TPersistent::ClassInfo());
  EXPECT_EQ(LookupStreamClass("TObject"), nullptr);
  RegisterStreamClass(TRegisteredLeaf::ClassInfo());  // again: nothing changes, no error

  try {
    RegisterStreamClass(TImpostor::ClassInfo());
    FAIL();
  } catch (const EFilerError& e) {
    EXPECT_STREQ(e.what(), "A class named TGADGET already exists");
  }
  try {
    RequireStreamClass("TNoSuchThing");
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_STREQ(e.what(), "Class TNoSuchThing not found");
  }
  TObject* made = RequireStreamClass("TRegisteredLeaf").Create(nullptr);
  EXPECT_EQ(made->ClassName(), "TRegisteredLeaf");
  delete made;
  std::unique_ptr<TObject> persistent(TPersistent::ClassInfo().Create(nullptr));
  EXPECT_EQ(persistent->ClassName(), "TPersistent");
}
