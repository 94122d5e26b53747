// Both windows built from their embedded descriptions on the headless screen: every stored
// component is created with its class, its parent and its owner, every published setting
// it stores reads back from the loaded control, events are bound to the window's methods,
// fields point at their controls, and the page control's reference is resolved.
//
// Not built yet: it needs the widget kit's classes (TWkLEDDisplay, TWkBitBtn, TWkRadioButton,
// TWkPageControl, TWkTabSheet, TWkClockStatus) and TImage registered for streaming. To
// enable it, add `app/with_widgets` to the DIRS of app_tests and `platform_headless` to its
// LINK in tests/CMakeLists.txt. Once the program's own TForm1 and TForm2 exist, replace the
// two stand-in window classes below by them.
#include <gtest/gtest.h>

#include <functional>

#include "formstream/loader.h"
#include "formstream/resources.h"
#include "framework/controls/application.h"
#include "framework/controls/custom_form.h"
#include "framework/core/color.h"
#include "framework/typeinfo/class_info.h"
#include "framework/typeinfo/ident_maps.h"
#include "platform/headless/headless_backend.h"
#include "tests/app/stored_form.h"
#include "widgets/widget_classes.h"

namespace loading_test {
// Stand-ins with the published interface of the program's windows: one field per control
// (typed by the framework's base classes, so that the classes come from the registry) and
// the handlers the descriptions bind, which only count their calls.
#define VM_CONTROL_FIELDS(X)                                                                                       \
  X(WkLEDDisplay1) X(WkBitBtn1) X(WkBitBtn2) X(Image1) X(Image2) X(Image3) X(Image4) X(Image5) X(Image6) X(Image7) \
  X(Image8) X(Image9) X(Image10) X(Image11) X(Image12) X(Image13) X(WkPageControl1) X(WkTabSheet1)                \
  X(WkRadioButton1) X(WkRadioButton2) X(WkTabSheet2) X(WkRadioButton3) X(WkRadioButton4) X(TabSheet1)            \
  X(WkRadioButton5) X(WkRadioButton6) X(TabSheet2) X(WkRadioButton7) X(WkRadioButton8) X(TabSheet3)              \
  X(WkRadioButton9) X(WkRadioButton10) X(WkRadioButton11) X(TabSheet4) X(WkRadioButton12) X(WkRadioButton13)    \
  X(TabSheet5) X(TabSheet6) X(WkRadioButton14) X(WkRadioButton15) X(Image14) X(Image15) X(WkRadioButton16)       \
  X(Image16) X(WkClockStatus1)
#define VM_HANDLERS(X)                                                                                        \
  X(WkBitBtn1Click) X(WkBitBtn2Click) X(WkRadioButton1Click) X(WkRadioButton2Click) X(WkRadioButton3Click)     \
  X(WkRadioButton4Click) X(WkRadioButton5Click) X(WkRadioButton6Click) X(WkRadioButton7Click)                  \
  X(WkRadioButton8Click) X(WkRadioButton9Click) X(WkRadioButton10Click) X(WkRadioButton11Click)                \
  X(WkRadioButton12Click) X(WkRadioButton13Click) X(WkRadioButton14Click) X(WkRadioButton15Click)              \
  X(WkRadioButton16Click)

class TForm1 : public TForm {
 public:
  VM_CLASS()
  explicit TForm1(TComponent* owner) : TForm(owner) { LoadComponentResource(*this, TForm::ClassInfo()); }
#define VM_DECLARE_FIELD(name) TControl* name = nullptr;
  VM_CONTROL_FIELDS(VM_DECLARE_FIELD)
#define VM_DECLARE_HANDLER(name) \
  void name(TObject*) { ++Calls; }
  VM_HANDLERS(VM_DECLARE_HANDLER)
  int Calls = 0;
};

const TClassInfo& TForm1::ClassInfo() {
  static const TClassInfo info = [] {
    auto builder = DefineClass<TForm1, TForm>("TForm1");
#define VM_PUBLISH_FIELD(name) builder.Field(#name, &TForm1::name);
    VM_CONTROL_FIELDS(VM_PUBLISH_FIELD)
#define VM_PUBLISH_HANDLER(name) builder.Method(#name, &TForm1::name);
    VM_HANDLERS(VM_PUBLISH_HANDLER)
    return TClassInfo(builder);
  }();
  return info;
}

class TForm2 : public TForm {
 public:
  VM_CLASS()
  explicit TForm2(TComponent* owner) : TForm(owner) { LoadComponentResource(*this, TForm::ClassInfo()); }
  TControl* WkLEDDisplay1 = nullptr;
  TControl* WkLEDDisplay2 = nullptr;
};

const TClassInfo& TForm2::ClassInfo() {
  static const TClassInfo info = DefineClass<TForm2, TForm>("TForm2")
                                     .Field("WkLEDDisplay1", &TForm2::WkLEDDisplay1)
                                     .Field("WkLEDDisplay2", &TForm2::WkLEDDisplay2);
  return info;
}

// Stored only through the classes' own declarations or accepted and discarded: these do
// not read back as published properties.
bool IsDeclaredOrObsolete(const std::string& property) {
  for (const char* name : {"DesignSize", "TextHeight", "FixedDimension", "Picture.Data", "Glyph.Data", "SegSpacing",
                           "DisplayCells", "Flat", "FrameFlat"})
    if (property == name) return true;
  return false;
}

// A loaded property in the text form's spelling; "<no property>" when the path is not published.
std::string LoadedSetting(TObject& root, const std::string& path) {
  TObject* object = &root;
  size_t start = 0;
  for (;;) {
    const size_t dot = path.find('.', start);
    const std::string segment = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    const TPropInfo* prop = object->GetClassInfo().FindProperty(segment);
    if (prop == nullptr) return "<no property>";
    const TValue value = prop->Get(*object);
    if (dot != std::string::npos) {
      object = std::get<TObject*>(value);
      if (object == nullptr) return "<no object>";
      start = dot + 1;
      continue;
    }
    const TTypeInfo& type = *prop->PropType;
    switch (type.Kind) {
      case TTypeKind::Enumeration: return type.EnumName(std::get<int64_t>(value));
      case TTypeKind::Set: {
        std::string s = "[";
        const auto bits = uint64_t(std::get<int64_t>(value));
        for (int e = 0; e < 32; ++e)
          if (bits & (uint64_t(1) << e)) s += (s.size() > 1 ? ", " : "") + type.ElementType->EnumName(e);
        return s + "]";
      }
      case TTypeKind::String: return "'" + std::get<std::string>(value) + "'";
      case TTypeKind::Class: {
        auto* c = dynamic_cast<TComponent*>(std::get<TObject*>(value));
        return c != nullptr ? c->Name() : "nil";
      }
      case TTypeKind::Method: {
        const TMethod m = std::get<TMethod>(value);
        return m ? m.Code->Name : "nil";
      }
      default: {
        const auto n = int32_t(std::get<int64_t>(value));
        if (TIntToIdent toIdent = FindIntToIdent(type))
          if (auto ident = toIdent(n)) return *ident;
        return std::to_string(n);
      }
    }
  }
}

// The stored value in the same spelling (see the stream tests for the tags involved).
std::string StoredSetting(const TStoredValue& v) {
  switch (v.Tag) {
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32: return std::to_string(v.Integer);
    case TValueType::vaString: return "'" + v.Text + "'";
    case TValueType::vaSet: {
      std::string s = "[";
      for (const std::string& e : v.Set) s += (s.size() > 1 ? ", " : "") + e;
      return s + "]";
    }
    default: return v.Text;
  }
}

class WindowLoading : public ::testing::Test {
 protected:
  WindowLoading() : Backend(CreateHeadlessBackend({})) {
    RegisterWidgetClasses();
    App->Initialize(*Backend, "/usr/lib/velmorath/Velmorath.bin");
  }
  std::unique_ptr<THeadlessBackend> Backend;
  std::unique_ptr<TApplication> App = std::make_unique<TApplication>();

  // Every stored component exists with its class, parent and owner, and reads back its settings.
  static void ExpectLoadedAsStored(TCustomForm& form, const TStoredComponent& stored) {
    std::function<void(const TStoredComponent&, TComponent&)> check = [&](const TStoredComponent& record,
                                                                          TComponent& parent) {
      for (const TStoredComponent& child : record.Children) {
        TComponent* loaded = form.FindComponent(child.Name);
        ASSERT_NE(loaded, nullptr) << child.Name;
        EXPECT_EQ(loaded->GetClassInfo().Name, child.ClassName);
        EXPECT_EQ(loaded->Owner(), &form) << "every component belongs to its window";
        auto* control = dynamic_cast<TControl*>(loaded);
        ASSERT_NE(control, nullptr) << child.Name;
        EXPECT_EQ(control->Parent(), &parent) << child.Name;
        for (const auto& [property, value] : child.Properties) {
          if (IsDeclaredOrObsolete(property)) continue;
          EXPECT_EQ(LoadedSetting(*loaded, property), StoredSetting(value)) << child.Name << "." << property;
        }
        check(child, *loaded);
      }
    };
    for (const auto& [property, value] : stored.Properties) {
      if (IsDeclaredOrObsolete(property)) continue;
      EXPECT_EQ(LoadedSetting(form, property), StoredSetting(value)) << form.Name() << "." << property;
    }
    check(stored, form);
  }
};

TEST_F(WindowLoading, TheMainWindowHoldsEveryControlWithItsSettings) {
  TForm1* form = nullptr;
  App->CreateForm(form);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Name(), "Form1");
  ExpectLoadedAsStored(*form, ReadStoredForm(*FindResource("TFORM1")));

#define VM_EXPECT_FIELD(name) EXPECT_EQ(form->name, form->FindComponent(#name)) << #name;
  VM_CONTROL_FIELDS(VM_EXPECT_FIELD)
  EXPECT_EQ(LoadedSetting(*form->WkPageControl1, "ActivePage"), "TabSheet5");
  EXPECT_EQ(LoadedSetting(*form->WkPageControl1, "TabIndex"), "6");
  EXPECT_EQ(LoadedSetting(*form->WkRadioButton3, "Checked"), "False");
  EXPECT_EQ(LoadedSetting(*form->WkRadioButton3, "Font.Name"), "'Verdana'") << "from its page";
  EXPECT_EQ(LoadedSetting(*form->WkBitBtn1, "OnClick"), "WkBitBtn1Click");
  EXPECT_EQ(std::get<TMethod>(form->WkRadioButton7->GetClassInfo().FindProperty("OnClick")->Get(*form->WkRadioButton7)).Data,
            form)
      << "events are bound to the window";
  for (int i = 1; i <= 16; ++i) {
    TComponent* image = form->FindComponent("Image" + std::to_string(i));
    EXPECT_EQ(LoadedSetting(*image, "Visible"), "False");
    EXPECT_NE(LoadedSetting(*image, "Picture"), "nil");
  }
  EXPECT_EQ(form->Calls, 0) << "loading fires no click";
}

TEST_F(WindowLoading, TheAboutWindowHoldsItsTwoDisplaysAndStaysHidden) {
  TForm1* main = nullptr;
  App->CreateForm(main);
  TForm2* about = nullptr;
  App->CreateForm(about);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->Name(), "Form2");
  ExpectLoadedAsStored(*about, ReadStoredForm(*FindResource("TFORM2")));
  EXPECT_EQ(about->WkLEDDisplay1, about->FindComponent("WkLEDDisplay1"));
  EXPECT_EQ(about->WkLEDDisplay2, about->FindComponent("WkLEDDisplay2"));
  EXPECT_FALSE(about->Visible());
  EXPECT_EQ(App->MainForm(), main) << "the first window created is the main one";
}
}  // namespace loading_test
