// Both windows built from their embedded descriptions on the headless screen: every stored
// component is created with its class, its parent and its owner, every published setting
// it stores reads back from the loaded control, events are bound to the window's methods,
// fields point at their controls, and the page control's reference is resolved.
#include <gtest/gtest.h>

#include <functional>

#include "app/form1.h"
#include "app/form2.h"
#include "app/program.h"
#include "formstream/loader.h"
#include "formstream/resources.h"
#include "framework/controls/application.h"
#include "framework/controls/custom_form.h"
#include "framework/core/color.h"
#include "framework/typeinfo/class_info.h"
#include "framework/typeinfo/ident_maps.h"
#include "pictures/image.h"
#include "pictures/picture.h"
#include "platform/headless/headless_backend.h"
#include "tests/app/stored_form.h"
#include "widgets/led_display.h"
#include "widgets/page_control.h"
#include "widgets/push_buttons.h"
#include "widgets/radio_buttons.h"
#include "widgets/status_panes.h"

namespace loading_test {
#define VM_CONTROL_FIELDS(X)                                                                                       \
  X(WkLEDDisplay1) X(WkBitBtn1) X(WkBitBtn2) X(Image1) X(Image2) X(Image3) X(Image4) X(Image5) X(Image6) X(Image7) \
  X(Image8) X(Image9) X(Image10) X(Image11) X(Image12) X(Image13) X(WkPageControl1) X(WkTabSheet1)                \
  X(WkRadioButton1) X(WkRadioButton2) X(WkTabSheet2) X(WkRadioButton3) X(WkRadioButton4) X(TabSheet1)            \
  X(WkRadioButton5) X(WkRadioButton6) X(TabSheet2) X(WkRadioButton7) X(WkRadioButton8) X(TabSheet3)              \
  X(WkRadioButton9) X(WkRadioButton10) X(WkRadioButton11) X(TabSheet4) X(WkRadioButton12) X(WkRadioButton13)    \
  X(TabSheet5) X(TabSheet6) X(WkRadioButton14) X(WkRadioButton15) X(Image14) X(Image15) X(WkRadioButton16)       \
  X(Image16) X(WkClockStatus1)

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
    RegisterApplicationClasses();
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
  for (int n = 1; n <= kTestPointCount; ++n) {
    const TImage& image = *form->TestPointImage(n);
    EXPECT_EQ(image.Name(), "Image" + std::to_string(n));
    EXPECT_EQ(form->TestPointButton(n)->Name(), "WkRadioButton" + std::to_string(n)) << "button n belongs to image n";
    EXPECT_FALSE(image.Visible());
    ASSERT_NE(image.Picture()->Graphic(), nullptr) << n;
    EXPECT_EQ(image.Picture()->Graphic()->GetClassInfo().Name, "TJPEGImage") << n;
  }
  for (int n = 1; n <= kTestPointCount; ++n) EXPECT_FALSE(form->TestPointButton(n)->Checked()) << n;
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
