// Obsolete properties: accepted from old streams (discarded or mapped), never written.
#include <gtest/gtest.h>

#include "framework/core/component.h"
#include "framework/typeinfo/class_info.h"
#include "framework/typeinfo/obsolete_property.h"
#include "formstream/stream_writer.h"
#include "tests/formstream/form_helpers.h"

namespace {
// A control that once had "SegSpacing" (dropped) and "Flat" (now a frame style).
class TLegacyLed : public TComponent {
 public:
  VM_CLASS()
  explicit TLegacyLed(TComponent* owner) : TComponent(owner) {}
  int FFrameStyle = 0;
  int FDots = 0;
  void DeclareStoredData(TFiler& filer) override {
    TComponent::DeclareStoredData(filer);
    DeclareObsoleteProperty(filer, "SegSpacing");
    DeclareObsoleteProperty(filer, "Flat", [this](TReader& r) { FFrameStyle = r.ReadBoolean() ? 1 : 6; });
    // A faulty mapping of the kind the reader must catch: it reads two values.
    DeclareObsoleteProperty(filer, "Greedy", [this](TReader& r) {
      FDots = r.ReadInteger();
      FDots += r.ReadInteger();
    });
    // And one that reads none.
    DeclareObsoleteProperty(filer, "Lazy", [](TReader&) {});
  }
};

class TLegacyForm : public TComponent {
 public:
  VM_CLASS()
  explicit TLegacyForm(TComponent* owner = nullptr) : TComponent(owner) {}
  ~TLegacyForm() override { Destroying(); }
  TLegacyLed* Led1 = nullptr;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) override {
    for (int i = 0; i < ComponentCount(); ++i) proc(Components(i));
  }
};

const TClassInfo& TLegacyLed::ClassInfo() {
  static const TClassInfo info =
      DefineClass<TLegacyLed, TComponent>("TLegacyLed").Property("Dots", &TLegacyLed::FDots, Default(0));
  return info;
}

const TClassInfo& TLegacyForm::ClassInfo() {
  static const TClassInfo info = DefineClass<TLegacyForm, TComponent>("TLegacyForm").Field("Led1", &TLegacyForm::Led1);
  return info;
}
}  // namespace

TEST(ObsoleteProperty, OldValuesOfAnyKindAreAcceptedAndTheNextPropertyStillReads) {
  TLegacyForm form;
  ASSERT_EQ(LoadInto(form, "object F: TLegacyForm\n object Led1: TLegacyLed\n"
                           "  SegSpacing = (\n 1\n 2\n 'x')\n  Flat = True\n  Dots = 7\n end\nend\n"),
            "");
  ASSERT_NE(form.Led1, nullptr);
  EXPECT_EQ(form.Led1->FFrameStyle, 1);  // mapped
  EXPECT_EQ(form.Led1->FDots, 7);        // not derailed by the skipped list
}

TEST(ObsoleteProperty, AMappingMustReadExactlyOneValue) {
  TLegacyForm form;
  EXPECT_EQ(LoadInto(form, "object F: TLegacyForm\n object Led1: TLegacyLed\n  Greedy = 1\n  Dots = 2\n end\nend\n"),
            "Error reading Led1.Greedy: Invalid property value");
  TLegacyForm other;
  EXPECT_EQ(LoadInto(other, "object F: TLegacyForm\n object Led1: TLegacyLed\n  Lazy = 1\n end\nend\n"),
            "Error reading Led1.Lazy: Invalid property value");
  TLegacyForm third;
  EXPECT_EQ(LoadInto(third, "object F: TLegacyForm\n object Led1: TLegacyLed\n  Flat = 3\n end\nend\n"),
            "Error reading Led1.Flat: Invalid property value");
}

TEST(ObsoleteProperty, NeverWritten) {
  TLegacyForm form;
  ASSERT_EQ(LoadInto(form, "object F: TLegacyForm\n object Led1: TLegacyLed\n  SegSpacing = 3\n  Flat = True\n"
                           "  Dots = 4\n end\nend\n"),
            "");
  TMemoryStream out;
  TStreamWriter writer(out);
  writer.WriteRootComponent(form);
  out.SetPosition(0);
  EXPECT_EQ(BinaryToText(out), "object F: TLegacyForm\n  object Led1: TLegacyLed\n    Dots = 4\n  end\nend\n");
}
