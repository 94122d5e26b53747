#include "widgets/status_panes.h"

#include <algorithm>

#include "framework/controls/local_time.h"
#include "framework/controls/timer.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/canvas_text.h"
#include "framework/graphics/text_layout.h"
#include "framework/graphics/text_measure.h"
#include "framework/typeinfo/class_info.h"
#include "framework/typeinfo/class_registry.h"
#include "widgets/frame_drawing.h"
#include "widgets/kit_messages.h"
#include "widgets/property_write.h"

namespace {
// The pane's own geometry.
constexpr int kPaneWidth = 100;
constexpr int kPaneHeight = 20;
constexpr int kClockWidth = 150;
// AutoSize adds this to the text, the caption offset and the border on both sides.
constexpr int kAutoSizeSlack = 6;
// The shared timers' period when their list is created.
constexpr uint16_t kPollPeriod = 500;
constexpr int kFirstBlinkPeriod = 500;

std::unique_ptr<TWkPollingList>& PollingListSlot() {
  static std::unique_ptr<TWkPollingList> list;
  return list;
}
std::unique_ptr<TWkBlinkingControlsList>& BlinkingListSlot() {
  static std::unique_ptr<TWkBlinkingControlsList> list;
  return list;
}

template <class TList>
TList& Join(std::unique_ptr<TList>& slot, TWkCustomStatusPane* pane) {
  if (!slot) slot = std::make_unique<TList>();
  slot->Add(pane);
  return *slot;
}
template <class TList>
void Leave(std::unique_ptr<TList>& slot, TWkCustomStatusPane* pane) {
  if (!slot) return;
  slot->Remove(pane);
  if (slot->PaneCount() == 0) slot.reset();
}

// A list's timer. The list, and this timer with it, may be destroyed inside the tick (a
// handler frees the last pane), so nothing of the timer is touched after the call.
template <class TList>
class TListTimer : public TTimer {
 public:
  TListTimer(TList& list, void (TList::*tick)(), int interval) : TTimer(nullptr), FList(list), FTick(tick) {
    SetInterval(interval);
  }

 protected:
  void Timer() override {
    TList& list = FList;
    const auto tick = FTick;
    (list.*tick)();
  }

 private:
  TList& FList;
  void (TList::*FTick)();
};

unsigned TextAlignOf(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify: return talRight;
    case taCenter: return talCenter;
    case taLeftJustify: break;
  }
  return talLeft;
}
}  // namespace

TWkPollingList* PollingList() { return PollingListSlot().get(); }
TWkBlinkingControlsList* BlinkingList() { return BlinkingListSlot().get(); }

// ---- TWkCustomStatusPane ----

const TClassInfo& TWkCustomStatusPane::ClassInfo() {
  using P = TWkCustomStatusPane;
  static const TClassInfo info =
      DefineClass<P, TGraphicControl>("TWkCustomStatusPane")
          .Property("Height", &P::Height, &P::SetHeight, Default(kPaneHeight))
          .Property("FillColor", &P::FillColor, &P::SetFillColor, Default(clBtnFace))
          .Property("FrameStyle", &P::FrameStyle, &P::SetFrameStyle, Default(fsFlat))
          .Property("FlatColor", &P::FlatColor, &P::SetFlatColor, Default(clBtnShadow))
          .Property("FlatColorAdjustment", &P::FlatColorAdjustment, &P::SetFlatColorAdjustment, Default(30))
          .Property("BorderWidth", &P::BorderWidth, &P::SetBorderWidth, Default(1))
          .Property("FrameController", &P::FrameController, &P::SetFrameController)
          .Event("OnMouseEnter", &P::FOnMouseEnter)
          .Event("OnMouseLeave", &P::FOnMouseLeave);
  return info;
}

// The pane covers its whole area (the frame fill), so the parent paints nothing under it.
TWkCustomStatusPane::TWkCustomStatusPane(TComponent* owner) : TGraphicControl(owner) {
  auto style = ControlStyle();
  style.Include(csOpaque);
  SetControlStyle(style);
  SetBounds(Left(), Top(), kPaneWidth, kPaneHeight);
  TakeFontColor();
  Join(BlinkingListSlot(), this);
}

TWkCustomStatusPane::~TWkCustomStatusPane() {
  SetFrameController(nullptr);
  Leave(BlinkingListSlot(), this);
}

// ---- properties ----

void TWkCustomStatusPane::SetFillColor(TColor value) { WriteProperty(*this, FFillColor, value, weInvalidate); }
void TWkCustomStatusPane::SetFrameStyle(TFrameStyle value) { WriteProperty(*this, FFrameStyle, value, weInvalidate); }
void TWkCustomStatusPane::SetFlatColor(TColor value) { WriteProperty(*this, FFlatColor, value, weInvalidate); }
void TWkCustomStatusPane::SetFlatColorAdjustment(int value) {
  WriteProperty(*this, FFlatColorAdjustment, value, weInvalidate);
}
void TWkCustomStatusPane::SetBorderWidth(int value) { WriteProperty(*this, FBorderWidth, value, weInvalidate); }
void TWkCustomStatusPane::SetAlignment(TAlignment value) { WriteProperty(*this, FAlignment, value, weInvalidate); }
void TWkCustomStatusPane::SetBlinkColor(TColor value) { WriteProperty(*this, FBlinkColor, value, weInvalidate); }
void TWkCustomStatusPane::SetCaptionOffset(int value) {
  WriteProperty(*this, FCaptionOffset, value, weRelayout | weInvalidate);
}
void TWkCustomStatusPane::SetAutoSize(bool value) { WriteProperty(*this, FAutoSize, value, weRelayout); }
void TWkCustomStatusPane::SetDefaultWidth(int value) { WriteProperty(*this, FDefaultWidth, value, weRelayout); }

// Taking effect at the list's next phase change.
uint16_t TWkCustomStatusPane::BlinkIntervalOn() const { return BlinkingList()->BlinkIntervalOn(); }
void TWkCustomStatusPane::SetBlinkIntervalOn(uint16_t value) { BlinkingList()->SetBlinkIntervalOn(value); }
uint16_t TWkCustomStatusPane::BlinkIntervalOff() const { return BlinkingList()->BlinkIntervalOff(); }
void TWkCustomStatusPane::SetBlinkIntervalOff(uint16_t value) { BlinkingList()->SetBlinkIntervalOff(value); }

// Switching off shows the font colour at once; switching on waits for the next phase.
void TWkCustomStatusPane::SetBlinking(bool value) {
  if (WriteProperty(*this, FBlinking, value) && !value) ShowTextColor(FNormalTextColor);
}

void TWkCustomStatusPane::SetPaneText(const std::string& value) {
  if (WriteProperty(*this, FPaneText, value)) Perform(ntTextChanged);
}

void TWkCustomStatusPane::SetFrameController(TWkFrameController* value) {
  if (value == FFrameController) return;
  if (FFrameController != nullptr) FFrameController->RemoveControl(this);
  FFrameController = value;
  if (value != nullptr) value->AddControl(this, this);
}

void TWkCustomStatusPane::ApplyFrameController() {
  if (FFrameController == nullptr || !FFrameController->FrameVisible()) return;
  FFrameStyle = FFrameController->FrameStyle();
  FFlatColor = FFrameController->FrameColor();
  FFlatColorAdjustment = 0;
  FFillColor = FFrameController->Color();
  SetParentColor(FFrameController->ParentColor());
  Invalidate();
}

void TWkCustomStatusPane::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == FFrameController) FFrameController = nullptr;
}

void TWkCustomStatusPane::AfterLoad() {
  TGraphicControl::AfterLoad();
  TakeFontColor();
  Relayout();
}

void TWkCustomStatusPane::TakeFontColor() {
  FNormalTextColor = Font()->Color();
  FCurrentTextColor = FNormalTextColor;
}

void TWkCustomStatusPane::ShowTextColor(TColor color) {
  FCurrentTextColor = color;
  Repaint();
}

// ---- geometry ----

TRect TWkCustomStatusPane::FrameRect() const {
  return ClientRect().Inflate(-FBorderWidth, -FBorderWidth);
}

// The text keeps off the frame by its width: one pixel for the one-line frames, two for
// the etched and edged ones.
TRect TWkCustomStatusPane::GetTextRect() const {
  int inset = FBorderWidth + 2;
  switch (FFrameStyle) {
    case fsFlat: case fsStatus: case fsPopup: inset = FBorderWidth + 1; break;
    case fsNone: case fsFlatBold: inset = FBorderWidth; break;
    default: break;
  }
  return ClientRect().Inflate(-inset, -inset);
}

// Measured without a length limit: single line, tabs expanded, "&" an ordinary character.
int TWkCustomStatusPane::GetPreferredWidth() const {
  if (FPaneText.empty()) return FDefaultWidth;
  const int text = MeasureBlock(*Font(), FPaneText, tfSingleLine | tfExpandTabs | tfNoPrefix).cx;
  return 2 * FBorderWidth + text + FCaptionOffset + kAutoSizeSlack;
}

void TWkCustomStatusPane::Relayout() {
  if (!FAutoSize || ComponentState().Contains(csLoading)) return;
  SetWidth(GetPreferredWidth());
}

// ---- paint ----

void TWkCustomStatusPane::Paint() {
  DrawPaneFrame();
  DrawPaneText(FPaneText);
}

// The flat ring leaves its four corner pixels in the pane's colour.
void TWkCustomStatusPane::DrawPaneFrame() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(Color());
  canvas.FillRect(ClientRect());
  canvas.Pen().SetWidth(1);
  const TRect r = FrameRect();
  if (FFrameStyle != fsFlat) {
    DrawFrame(canvas, r, FFrameStyle);
    return;
  }
  canvas.Pen().SetColor(ShiftLightness(FFlatColor, FFlatColorAdjustment));
  canvas.MoveTo(r.Left, r.Top + 1);
  canvas.LineTo(r.Left, r.Bottom - 1);
  canvas.MoveTo(r.Left + 1, r.Top);
  canvas.LineTo(r.Right - 1, r.Top);
  canvas.MoveTo(r.Right - 1, r.Top + 1);
  canvas.LineTo(r.Right - 1, r.Bottom - 1);
  canvas.MoveTo(r.Left + 1, r.Bottom - 1);
  canvas.LineTo(r.Right - 1, r.Bottom - 1);
}

// A disabled pane draws the text embossed: highlight one pixel right and down, then the
// shadow over it without a background.
void TWkCustomStatusPane::DrawPaneText(const std::string& text) {
  TCanvas& canvas = Canvas();
  canvas.Font().CopyFrom(Font());
  canvas.Font().SetColor(FCurrentTextColor);
  const TRect t = GetTextRect();
  canvas.SetTextAlign(int(TextAlignOf(FAlignment)));
  int x = t.Left + (t.Right - t.Left) / 2;
  if (FAlignment == taLeftJustify) x = t.Left + FCaptionOffset + 1;
  else if (FAlignment == taRightJustify) x = t.Right - FCaptionOffset - 1;
  const int y = t.Top + (t.Bottom - t.Top - MeasureLine(canvas.Font(), "Pp").cy) / 2;
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(FFillColor);
  if (!Enabled()) {
    canvas.Font().SetColor(clBtnHighlight);
    canvas.TextRect(t, x + 1, y + 1, text);
    canvas.Font().SetColor(clBtnShadow);
    canvas.Brush().SetStyle(bsClear);
  }
  canvas.TextRect(t, x, y, text);
}

// ---- the blink phase, messages and the pointer ----

void TWkCustomStatusPane::SetBlinkPhase(bool showBlinkColor) {
  ShowTextColor(showBlinkColor ? FBlinkColor : FNormalTextColor);
}

void TWkCustomStatusPane::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case BlinkQuery: message.Result = FBlinking ? 1 : 0; return;
    case BlinkPhaseChanged:
      if (FBlinking) SetBlinkPhase(message.WParam == 1);
      return;
    default: TGraphicControl::Dispatch(message);
  }
}

void TWkCustomStatusPane::FontChanged(TMessage& message) {
  TGraphicControl::FontChanged(message);
  if (ComponentState().Contains(csLoading)) return;
  FNormalTextColor = Font()->Color();
  if (!FBlinking) FCurrentTextColor = FNormalTextColor;
  Relayout();
}

void TWkCustomStatusPane::TextChanged(TMessage& message) {
  TGraphicControl::TextChanged(message);
  Invalidate();
  Relayout();
}

void TWkCustomStatusPane::MouseEnter(TMessage&) {
  if (!ComponentState().Contains(csDesigning)) FOnMouseEnter(this);
}

void TWkCustomStatusPane::MouseLeave(TMessage&) {
  if (!ComponentState().Contains(csDesigning)) FOnMouseLeave(this);
}

// ---- TWkPollingStatus ----

const TClassInfo& TWkPollingStatus::ClassInfo() {
  using P = TWkPollingStatus;
  static const TClassInfo info = DefineClass<P, TWkCustomStatusPane>("TWkPollingStatus")
                                     .Property("Active", &P::Active, &P::SetActive, Default(1))
                                     .Property("Interval", &P::Interval, &P::SetInterval, Default(kPollPeriod))
                                     .Event("OnTimerExpired", &P::FOnTimerExpired);
  return info;
}

TWkPollingStatus::TWkPollingStatus(TComponent* owner) : TWkCustomStatusPane(owner) { Join(PollingListSlot(), this); }

TWkPollingStatus::~TWkPollingStatus() { Leave(PollingListSlot(), this); }

bool TWkPollingStatus::Active() const { return PollingList()->TimerEnabled(); }
void TWkPollingStatus::SetActive(bool value) { PollingList()->SetTimerEnabled(value); }
uint16_t TWkPollingStatus::Interval() const { return PollingList()->TimerPeriod(); }
void TWkPollingStatus::SetInterval(uint16_t value) { PollingList()->SetTimerPeriod(value); }

void TWkPollingStatus::TimerExpired() { FOnTimerExpired(this); }

// ---- TWkClockStatus ----

const TClassInfo& TWkClockStatus::ClassInfo() {
  using P = TWkClockStatus;
  static const TClassInfo info =
      DefineClass<P, TWkPollingStatus>("TWkClockStatus")
          .Property("Width", &P::Width, &P::SetWidth, Default(kClockWidth))
          .Property("Alignment", &P::Alignment, &P::SetAlignment, Default(taLeftJustify))
          .Property("AutoSize", &P::AutoSize, &P::SetAutoSize, Default(0))
          .Property("Blinking", &P::Blinking, &P::SetBlinking, Default(0))
          .Property("BlinkColor", &P::BlinkColor, &P::SetBlinkColor, Default(clHighlight))
          .Property("BlinkIntervalOff", &P::BlinkIntervalOff, &P::SetBlinkIntervalOff, Default(500))
          .Property("BlinkIntervalOn", &P::BlinkIntervalOn, &P::SetBlinkIntervalOn, Default(500))
          .Property("CaptionOffset", &P::CaptionOffset, &P::SetCaptionOffset, Default(2))
          .Property("DefaultWidth", &P::DefaultWidth, &P::SetDefaultWidth, Default(40))
          .Property("Format", &P::Format, &P::SetFormat)
          .Event("OnGetDateTime", &P::FOnGetDateTime);
  return info;
}

TWkClockStatus::TWkClockStatus(TComponent* owner) : TWkPollingStatus(owner) { SetWidth(kClockWidth); }

void TWkClockStatus::SetFormat(const std::string& value) {
  if (WriteProperty(*this, FFormat, value, weInvalidate)) UpdateTime();
}

// Only the text is drawn, at once; the pane text follows it, so the next paint shows
// the same and does not ask for another.
void TWkClockStatus::UpdateTime() {
  TDateTime now = Now();
  FOnGetDateTime(this, now);
  std::string text = FormatDateTime(FFormat, now);
  if (text == FTimeText) return;
  FTimeText = std::move(text);
  FPaneText = FTimeText;
  Relayout();
  DrawPaneText(FTimeText);
}

void TWkClockStatus::TimerExpired() {
  UpdateTime();
  TWkPollingStatus::TimerExpired();
}

void TWkClockStatus::AfterLoad() {
  TWkPollingStatus::AfterLoad();
  UpdateTime();
  SetPaneText(FTimeText);
}

// ---- the shared lists ----

TWkPaneList::TWkPaneList() : FAlive(std::make_shared<bool>(true)) {}

TWkPaneList::~TWkPaneList() { *FAlive = false; }

void TWkPaneList::Add(TWkCustomStatusPane* pane) {
  if (std::find(FPanes.begin(), FPanes.end(), pane) == FPanes.end()) FPanes.push_back(pane);
}

void TWkPaneList::Remove(TWkCustomStatusPane* pane) { std::erase(FPanes, pane); }

template <class F>
void TWkPaneList::ForEachPane(F&& visit) {
  const std::shared_ptr<bool> alive = FAlive;
  const std::vector<TWkCustomStatusPane*> panes = FPanes;
  for (TWkCustomStatusPane* pane : panes) {
    if (!*alive) return;
    if (std::find(FPanes.begin(), FPanes.end(), pane) != FPanes.end()) visit(*pane);
  }
}

TWkPollingList::TWkPollingList()
    : FTimer(std::make_unique<TListTimer<TWkPollingList>>(*this, &TWkPollingList::PollTick, kPollPeriod)) {}

TWkPollingList::~TWkPollingList() = default;

bool TWkPollingList::TimerEnabled() const { return FTimer->Enabled(); }
void TWkPollingList::SetTimerEnabled(bool value) { FTimer->SetEnabled(value); }
uint16_t TWkPollingList::TimerPeriod() const { return uint16_t(FTimer->Interval()); }
void TWkPollingList::SetTimerPeriod(uint16_t value) { FTimer->SetInterval(value); }

// Invisible panes keep their last text.
void TWkPollingList::PollTick() {
  ForEachPane([](TWkCustomStatusPane& pane) {
    if (pane.Visible()) static_cast<TWkPollingStatus&>(pane).TimerExpired();
  });
}

TWkBlinkingControlsList::TWkBlinkingControlsList()
    : FTimer(std::make_unique<TListTimer<TWkBlinkingControlsList>>(*this, &TWkBlinkingControlsList::BlinkTick,
                                                                    kFirstBlinkPeriod)) {}

TWkBlinkingControlsList::~TWkBlinkingControlsList() = default;

int TWkBlinkingControlsList::TimerPeriod() const { return FTimer->Interval(); }

// The phase just ended sets the length of the next one.
void TWkBlinkingControlsList::BlinkTick() {
  FBlinkColorShown = !FBlinkColorShown;
  FTimer->SetInterval(FBlinkColorShown ? FBlinkIntervalOn : FBlinkIntervalOff);
  const intptr_t phase = FBlinkColorShown ? 1 : 0;
  ForEachPane([phase](TWkCustomStatusPane& pane) {
    if (pane.Perform(BlinkQuery) == 1) pane.Perform(BlinkPhaseChanged, phase);
  });
}

void RegisterStatusPaneClasses() {
  RegisterStreamClass(TWkFrameController::ClassInfo());
  RegisterStreamClass(TWkPollingStatus::ClassInfo());
  RegisterStreamClass(TWkClockStatus::ClassInfo());
}
