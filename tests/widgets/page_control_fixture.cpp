#include "tests/widgets/page_control_fixture.h"

#include <algorithm>
#include <sstream>

#include "framework/graphics/canvas.h"
#include "framework/typeinfo/class_info.h"
#include "framework/typeinfo/class_registry.h"
#include "tests/formstream/form_helpers.h"
#include "widgets/widget_classes.h"

const TClassInfo& TFocusRadio::ClassInfo() {
  static const TClassInfo info = DefineClass<TFocusRadio, TCustomControl>("TFocusRadio");
  return info;
}

TFocusRadio::TFocusRadio(TComponent* owner) : TCustomControl(owner) {}

void TFocusRadio::SetChecked(bool value) {
  if (value == FChecked) return;
  FChecked = value;
  SetTabStop(value);
  if (value && Parent() != nullptr)
    for (int i = 0; i < Parent()->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TFocusRadio*>(Parent()->Controls(i)); other != nullptr && other != this)
        other->SetChecked(false);
  if (value) ++Clicks;
  Invalidate();
}

void TFocusRadio::FocusGained(TMessage&) {
  if (!FPressing) SetChecked(true);
  Invalidate();
}

void TFocusRadio::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  FPressing = true;
  if (CanFocus()) SetFocus();
  FPressing = false;
  TCustomControl::MouseDown(button, shift, x, y);
}

void TFocusRadio::Click() {
  SetChecked(true);
  TCustomControl::Click();
}

void TFocusRadio::Paint() {
  Canvas().Brush().SetStyle(bsSolid);
  Canvas().Brush().SetColor(FChecked ? kCheckedColor : kUncheckedColor);
  Canvas().FillRect(ClientRect());
  if (Focused()) {
    Canvas().Brush().SetColor(clBlack);
    Canvas().FrameRect(ClientRect());
  }
}

const TClassInfo& TStopButton::ClassInfo() {
  static const TClassInfo info = DefineClass<TStopButton, TCustomControl>("TStopButton");
  return info;
}

TStopButton::TStopButton(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }

// ---- the fixture ----

const std::vector<std::string>& PageControlTest::Captions() {
  static const std::vector<std::string> captions = {"T610-T630", "Z600", "Z800", "K300-K500-K700",
                                                     "K600",      "P900", "W550-W600-W900"};
  return captions;
}

namespace {
std::string PageText(int index, const std::string& caption, bool hidden) {
  std::ostringstream s;
  s << "    object Sheet" << index + 1 << ": TWkTabSheet\n";
  if (!hidden) s << "      Caption = '" << caption << "'\n";
  s << "      Color = clGradientInactiveCaption\n";
  if (hidden) s << "      TabVisible = False\n      DisabledIndex = 0\n";
  for (int r = 0; r < (hidden ? 0 : 2); ++r) {
    s << "      object Radio" << index + 1 << "_" << r + 1 << ": TFocusRadio\n"
      << "        Left = 16\n        Top = " << 32 + 48 * r << "\n        Width = 115\n        Height = 17\n"
      << "        TabOrder = " << r << "\n      end\n";
  }
  s << "    end\n";
  return s.str();
}

std::string FormText(const std::string& overrides) {
  std::ostringstream s;
  s << "object Main: TForm\n  Left = 140\n  Top = 96\n  ClientWidth = 400\n  ClientHeight = 614\n"
    << "  Color = clSkyBlue\n"
    << "  object Close: TStopButton\n    Left = 8\n    Top = 584\n    Width = 105\n    Height = 25\n"
    << "    TabOrder = 0\n  end\n"
    << "  object Pages: TWkPageControl\n"
    << "    Left = 8\n    Top = 64\n    Width = 242\n    Height = 505\n"
    << "    ActivePage = Sheet7\n    Color = clGradientInactiveCaption\n    ParentColor = False\n"
    << "    Font.Charset = DEFAULT_CHARSET\n    Font.Color = clWindowText\n    Font.Height = -13\n"
    << "    Font.Name = 'Verdana'\n    Font.Style = [fsBold]\n    ParentFont = False\n"
    << "    FlatColor = clBackground\n    HotTrackColor = clActiveCaption\n    ImagePosition = ipBottom\n"
    << "    ShowFocusRect = False\n    ShowShadow = False\n    TextOrientation = orVertical\n"
    << "    TabOrientation = toLeft\n    TabIndex = 6\n    TabOrder = 2\n    TabStop = False\n"
    << "    FixedDimension = 23\n"
    << overrides;
  for (int i = 0; i < 8; ++i) s << PageText(i, i < 7 ? PageControlTest::Captions()[size_t(i)] : "", i == 7);
  s << "  end\nend\n";
  return s.str();
}
}  // namespace

PageControlTest::PageControlTest() : Backend(CreateHeadlessBackend()) {
  App->Initialize(*Backend, "/usr/lib/velmorath/Velmorath.bin");
  RegisterWidgetClasses();
  RegisterStreamClass(TFocusRadio::ClassInfo());
  RegisterStreamClass(TStopButton::ClassInfo());
}

PageControlTest::~PageControlTest() { delete Form; }

void PageControlTest::Load(const std::string& overrides, TForm* form) {
  Form = form != nullptr ? form : new TForm(nullptr);
  const std::string failure = LoadInto(*Form, FormText(overrides));
  ASSERT_EQ(failure, "");
  Control = dynamic_cast<TWkPageControl*>(Form->FindComponent("Pages"));
  ASSERT_NE(Control, nullptr);
  Form->Show();
  Settle();
}

TStripNumbers PageControlTest::Expected() const {
  TStripNumbers n;
  TCanvas canvas;
  canvas.Font().SetName("Verdana");
  canvas.Font().SetHeight(-13);
  canvas.Font().SetStyle(TFontStyles{fsBold});
  n.L = canvas.TextExtent("A").cy;
  n.F = std::max(n.L, 13) + 6;
  n.S = n.F / 2;
  n.A = std::min(n.L + 2, n.F - 2);
  int x = 0;
  for (const std::string& caption : Captions()) {
    const int length = canvas.TextExtent(caption).cx + 2 + 6 + 2 * n.S;
    n.Start.push_back(x);
    n.End.push_back(x + length);
    x += length - n.S + 1;
  }
  while (n.End[6] - n.Start[size_t(n.FirstVisible)] > 504 - 2 * n.A) ++n.FirstVisible;
  return n;
}

TFocusRadio* PageControlTest::Radio(const std::string& name) const {
  return dynamic_cast<TFocusRadio*>(Form->FindComponent(name));
}

TPoint PageControlTest::InsideTab(int index) const {
  const TRect r = Control->TabRect(index);
  return {r.Left + r.Width() / 2, r.Top + r.Height() / 2};
}

void PageControlTest::Click(TPoint p) {
  Backend->Click(ScreenOf(p));
  Settle();
}

void PageControlTest::Key(int key, uint32_t modifiers) {
  Backend->SetModifiers(modifiers);
  Backend->PressKey(key);
  Backend->ReleaseKey(key);
  Backend->SetModifiers(0);
  Settle();
}

void PageControlTest::Tick(uint64_t ms) {
  Backend->AdvanceClock(ms);
  Settle();
}

uint32_t PageControlTest::ShownAt(TPoint formPoint) const {
  return static_cast<THeadlessWindow&>(*Form->PlatformWindow()).Presented().PixelRGB(formPoint.X, formPoint.Y);
}

std::string PageControlTest::FocusName() const {
  const TWinControl* c = Form->FocusedControl();
  return c != nullptr ? c->Name() : "(none)";
}
