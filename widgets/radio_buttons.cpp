#include "widgets/radio_buttons.h"

#include <algorithm>

#include "framework/controls/custom_form.h"
#include "framework/controls/keys.h"
#include "framework/core/filer.h"
#include "framework/graphics/accelerator.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/text_layout.h"
#include "framework/graphics/text_measure.h"
#include "framework/typeinfo/class_info.h"
#include "framework/typeinfo/class_registry.h"
#include "framework/typeinfo/obsolete_property.h"
#include "widgets/frame_drawing.h"
#include "widgets/property_write.h"

namespace {
constexpr int kTemplateSize = 13;
// Between the glyph and the caption.
constexpr int kCaptionGap = 4;
// The caption keeps one pixel from the edges for its focus frame, whose dots take the
// text's width and a little more.
constexpr int kCaptionInset = 1;
constexpr int kFocusFrameSlack = 3;
// Glyph offset from the top or bottom edge with avTop and avBottom.
constexpr int kGlyphEdgeOffset = 2;
// Marks the ring's outer anti-aliasing pixels, blended half and half with the background
// when composed.
constexpr uint32_t kBlendMarker = 0x008000;
constexpr uint8_t kHalfMix = 128;
constexpr uint32_t kFrameGrey = 0x808080;

// The radio templates as role maps: 'T' is see-through, 0-9, A, B, C are colour roles.
constexpr const char* kUncheckedTemplate[kTemplateSize] = {
    "TTTTC212CTTTT", "TTC1368631CTT", "TC268888862CT", "T16889098851T", "C38800000774C",
    "2689000009752", "1880000000771", "2689000009752", "C38800000774C", "T16879097751T",
    "TC257777752CT", "TTC1457541CTT", "TTTTC212CTTTT",
};
constexpr const char* kCheckedTemplate[kTemplateSize] = {
    "TTTTC212CTTTT", "TTC1368631CTT", "TC268888862CT", "T16889098851T", "C3880BAB0774C",
    "2689BAAAB9752", "1880AAAAA0771", "2689BAAAB9752", "C3880BAB0774C", "T16879097751T",
    "TC257777752CT", "TTC1457541CTT", "TTTTC212CTTTT",
};

int RoleOf(char c) { return c >= '0' && c <= '9' ? c - '0' : c - 'A' + 10; }

uint32_t Rgb(TColor c) { return uint32_t(ColorToRGB(c)); }

void ReplaceColor(TBitmap& bitmap, uint32_t from, uint32_t to) {
  TBitmapImage& image = bitmap.Image();
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Width; ++x)
      if (image.PixelValue(x, y) == from) image.SetPixelValue(x, y, to);
  bitmap.NotifyChanged(&bitmap);
}

void Make24Bit(TBitmap& bitmap, int width, int height) {
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(width, height);
}

std::string Trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}
}  // namespace

// ======================================================================================
// TWkCustomGlyphButton
// ======================================================================================

const TClassInfo& TWkCustomGlyphButton::ClassInfo() {
  using B = TWkCustomGlyphButton;
  static const TClassInfo info =
      DefineClass<B, TWkCustomButton>("TWkCustomGlyphButton")
          .Property("Alignment", &B::Alignment, &B::SetAlignment, ::Default(taRightJustify))
          .Property("FrameColor", &B::FrameColor, &B::SetFrameColor, ::Default(clBtnShadow))
          .Property("DisabledColor", &B::DisabledColor, &B::SetDisabledColor, ::Default(clBtnFace))
          .Property("TransparentColor", &B::TransparentColor, &B::SetTransparentColor, ::Default(0x008080))
          .Property("WinMaskColor", &B::WinMaskColor, &B::SetWinMaskColor, ::Default(0x00FF00))
          .Property("UseCustomGlyphs", &B::UseCustomGlyphs, &B::SetUseCustomGlyphs, ::Default(0))
          .Property("CustomGlyphs", &B::CustomGlyphs, &B::SetCustomGlyphs)
          .Property("Transparent", &B::Transparent, &B::SetTransparent, ::Default(0))
          .Property("TabOnEnter", &B::TabOnEnter, &B::SetTabOnEnter, ::Default(0));
  return info;
}

TWkCustomGlyphButton::TWkCustomGlyphButton(TComponent* owner)
    : TWkCustomButton(owner),
      FCustomGlyphs(std::make_unique<TBitmap>()),
      FBackgroundCache(std::make_unique<TBitmap>()) {
  FCustomGlyphs->OnChange = [this](TObject*) { CustomGlyphsChanged(); };
  FControlStyle.Include(csSetCaption);
  FControlStyle.Include(csReplicatable);
}

// ---- properties ----

void TWkCustomGlyphButton::SetAlignment(TAlignment v) { WriteProperty(*this, FAlignment, v, weInvalidate); }
void TWkCustomGlyphButton::SetFrameColor(TColor v) { WriteProperty(*this, FFrameColor, v, weInvalidate); }
void TWkCustomGlyphButton::SetDisabledColor(TColor v) { WriteProperty(*this, FDisabledColor, v, weInvalidate); }
void TWkCustomGlyphButton::SetTransparentColor(TColor v) { WriteProperty(*this, FTransparentColor, v, weInvalidate); }
void TWkCustomGlyphButton::SetWinMaskColor(TColor v) { WriteProperty(*this, FWinMaskColor, v, weInvalidate); }
void TWkCustomGlyphButton::SetUseCustomGlyphs(bool v) {
  WriteProperty(*this, FUseCustomGlyphs, v, weRelayout | weInvalidate);
}
void TWkCustomGlyphButton::SetStateCount(int v) { WriteProperty(*this, FStateCount, std::max(1, v), weRelayout); }

void TWkCustomGlyphButton::SetTransparent(bool value) {
  if (value != Transparent()) MarkBackgroundStale();
  TWkCustomButton::SetTransparent(value);
}

void TWkCustomGlyphButton::SetCustomGlyphs(TBitmap* value) {
  if (value != nullptr) FCustomGlyphs->CopyFrom(value);
  else FCustomGlyphs->SetSize(0, 0);
}

void TWkCustomGlyphButton::CustomGlyphsChanged() {
  SetUseCustomGlyphs(!FCustomGlyphs->Empty());
  Relayout();
  MarkBackgroundStale();
  Invalidate();
}

void TWkCustomGlyphButton::DeclareStoredData(TFiler& filer) {
  TWkCustomButton::DeclareStoredData(filer);
  DeclareObsoleteProperty(filer, "Flat", [this](TReader& reader) { SetHotTrack(reader.ReadBoolean()); });
}

std::unique_ptr<TActionLink> TWkCustomGlyphButton::CreateActionLink() {
  return std::make_unique<TWkCheckedActionLink>(this);
}

void TWkCustomGlyphButton::ActionChange(TBasicAction* sender, bool checkDefaults) {
  TWkCustomButton::ActionChange(sender, checkDefaults);
  auto* action = dynamic_cast<TCustomAction*>(sender);
  if (action != nullptr && (!checkDefaults || !Checked())) SetChecked(action->Checked());
}

// ---- geometry ----

// A strip narrower than its cell count gives cells 0 wide, which show nothing.
void TWkCustomGlyphButton::Relayout() {
  FGlyphCellWidth = FUseCustomGlyphs ? FCustomGlyphs->Width() / FStateCount : kTemplateSize;
  FGlyphCellHeight = FUseCustomGlyphs ? FCustomGlyphs->Height() : kTemplateSize;
}

TRect TWkCustomGlyphButton::GlyphRect() const {
  const int x = FAlignment == taRightJustify ? 0 : Width() - FGlyphCellWidth;
  int y = kGlyphEdgeOffset;
  if (AlignmentVertical() == avCenter) y = (Height() - FGlyphCellHeight) / 2;
  else if (AlignmentVertical() == avBottom) y = Height() - FGlyphCellHeight - kGlyphEdgeOffset;
  return {x, y, x + FGlyphCellWidth, y + FGlyphCellHeight};
}

TRect TWkCustomGlyphButton::CaptionRect() const {
  TRect r{kCaptionInset, kCaptionInset, Width() - kCaptionInset, Height() - kCaptionInset};
  if (FAlignment == taRightJustify) r.Left += FGlyphCellWidth + kCaptionGap;
  else r.Right -= FGlyphCellWidth + kCaptionGap;
  return r;
}

TRect TWkCustomGlyphButton::FocusFrameRect() const {
  const TRect caption = CaptionRect();
  TRect r = caption.Inflate(kCaptionInset, kCaptionInset);
  const int width = std::min(r.Width(), MeasureLine(*Font(), Trimmed(Caption())).cx + kFocusFrameSlack);
  r.Right = r.Left + width;
  return r;
}

// ---- paint ----

TColor TWkCustomGlyphButton::AvoidMaskColor(TColor color) const {
  const uint32_t rgb = Rgb(color);
  if (rgb == Rgb(FTransparentColor) || rgb == Rgb(FWinMaskColor) || rgb == kFrameGrey) return TColor(rgb + 1);
  return color;
}

void TWkCustomGlyphButton::ExtractGlyphCell(int index, TBitmap& target) const {
  Make24Bit(target, FGlyphCellWidth, FGlyphCellHeight);
  if (FGlyphCellWidth <= 0 || FGlyphCellHeight <= 0) return;
  target.Canvas().Handle().BitBlt(0, 0, FGlyphCellWidth, FGlyphCellHeight, *FCustomGlyphs, index * FGlyphCellWidth, 0,
                                  cmSrcCopy);
  target.NotifyChanged(&target);
}

// The state glyph over what lies under it, its window-mask pixels in the window colour and
// the ring's outer pixels blended with the background.
void TWkCustomGlyphButton::DrawStateGlyph(TCanvas& canvas) {
  const TRect g = GlyphRect();
  const int w = g.Width(), h = g.Height();
  if (w <= 0 || h <= 0) return;
  TBitmap glyph;
  Make24Bit(glyph, w, h);
  BuildStateGlyph(glyph);
  TBitmap composed;
  Make24Bit(composed, w, h);
  if (Transparent()) {
    composed.Canvas().CopyRect({0, 0, w, h}, canvas, g);
    DrawMaskedBitmap(composed.Canvas(), glyph, {0, 0, w, h}, FTransparentColor, {0, 0, w, h});
  } else {
    composed.CopyFrom(&glyph);
    composed.SetPixelFormat(pf24bit);
    ReplaceColor(composed, Rgb(FTransparentColor), Rgb(Color()));
  }
  ReplaceColor(composed, Rgb(FWinMaskColor), Rgb(clWindow));
  const TColor background = canvas.Pixel(0, 0);
  ReplaceColor(composed, kBlendMarker, Rgb(MixColors(FFrameColor, background, kHalfMix)));
  canvas.Draw(g.Left, g.Top, composed);
}

void TWkCustomGlyphButton::PaintNow() {
  InvalidateRect(ClientRect(), false);
  Update();
}

// All of it into a bitmap of the control's size, copied to the window in one operation.
void TWkCustomGlyphButton::Paint() {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  TBitmap buffer;
  Make24Bit(buffer, w, h);
  TCanvas& canvas = buffer.Canvas();
  canvas.Font().CopyFrom(Font());
  canvas.Brush().SetColor(Color());
  if (FBackgroundStale) {
    Make24Bit(*FBackgroundCache, w, h);
    // When transparent, the erase has just painted the parent's image into the window.
    if (Transparent()) {
      FBackgroundCache->Canvas().CopyRect({0, 0, w, h}, Canvas(), {0, 0, w, h});
    } else {
      FBackgroundCache->Canvas().Brush().SetColor(Color());
      FBackgroundCache->Canvas().FillRect({0, 0, w, h});
    }
    FBackgroundStale = false;
  }
  canvas.Handle().BitBlt(0, 0, w, h, *FBackgroundCache, 0, 0, cmSrcCopy);
  DrawStateGlyph(canvas);
  DrawCaption(canvas, CaptionRect(), tfLeft | tfWordBreak | tfExpandTabs);
  if (Focused() && !Caption().empty()) DrawFocusFrame(canvas, FocusFrameRect());
  Canvas().Draw(0, 0, buffer);
}

void TWkCustomGlyphButton::EraseBackground(TMessage& m) {
  MarkBackgroundStale();
  TWkCustomButton::EraseBackground(m);
}

void TWkCustomGlyphButton::EnabledChanged(TMessage& m) {
  MarkBackgroundStale();
  TWkCustomButton::EnabledChanged(m);
}

void TWkCustomGlyphButton::ParentColorChanged(TMessage& m) {
  MarkBackgroundStale();
  TWkCustomButton::ParentColorChanged(m);
  Invalidate();
}

void TWkCustomGlyphButton::Dispatch(TMessage& m) {
  if (m.Msg == msgSize) MarkBackgroundStale();
  TWkCustomButton::Dispatch(m);
}

// Enter moves on as Tab does: the Tab key-down is posted to this window.
void TWkCustomGlyphButton::KeyPress(char& key) {
  if (FTabOnEnter && key == char(vkReturn)) {
    key = 0;
    PostMessage(msgKeyDown, vkTab, 0);
    return;
  }
  TWkCustomButton::KeyPress(key);
}

// ======================================================================================
// TWkRadioButton
// ======================================================================================

namespace {
// A custom glyph strip's cells: unchecked and checked, each up and pressed, then both
// disabled.
constexpr int kRadioGlyphCells = 6;
constexpr int kPressedCellOffset = 2;
constexpr int kFirstDisabledCell = 4;
// The template's colour roles, and how the ring and the dot mix them (weights of 255).
constexpr int kRoleCount = 13;
constexpr uint8_t kRingEdgeMix = 80;
constexpr uint8_t kDotRimMix = 153;
constexpr uint8_t kFrameLightStep = 10;
constexpr uint8_t kPressedInsideShade = 20;
}  // namespace

const TClassInfo& TWkRadioButton::ClassInfo() {
  using B = TWkRadioButton;
  static const TClassInfo info =
      DefineClass<B, TWkCustomGlyphButton>("TWkRadioButton")
          .Property("Checked", &B::Checked, &B::SetChecked, ::Default(0), &B::CheckedStored)
          .Property("AlignmentVertical", &B::AlignmentVertical, &B::SetAlignmentVertical, ::Default(avTop))
          .Property("TabStop", &B::TabStop, &B::SetTabStop, ::Default(0));
  return info;
}

TWkRadioButton::TWkRadioButton(TComponent* owner) : TWkCustomGlyphButton(owner) {
  SetAlignmentVertical(avTop);
  SetStateCount(kRadioGlyphCells);
  SetTabStop(false);
}

// ---- properties ----

bool TWkRadioButton::CheckedStored() const { return ActionLink() == nullptr || !ActionLink()->IsCheckedLinked(); }

void TWkRadioButton::SetChecked(bool value) {
  if (!WriteProperty(*this, FChecked, value)) return;
  SetTabStop(value);  // only the checked button of a group is a tab stop
  RepaintFace();
  if (!value) return;
  if (TWinControl* parent = Parent()) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      auto* sibling = dynamic_cast<TWkRadioButton*>(parent->Controls(i));
      if (sibling != nullptr && sibling != this) sibling->SetChecked(false);
    }
  }
  Click();
}

// ---- paint: the state glyph ----

void TWkRadioButton::BuildStateGlyph(TBitmap& glyph) {
  if (UseCustomGlyphs()) {
    const int checked = FChecked ? 1 : 0;
    const int cell = Enabled() ? checked + (FPressedLook ? kPressedCellOffset : 0) : kFirstDisabledCell + checked;
    ExtractGlyphCell(cell, glyph);
    return;
  }
  // Without a themed or platform-drawn radio element the colour-mapped template stands in.
  BuildTemplateGlyph(glyph);
}

void TWkRadioButton::BuildTemplateGlyph(TBitmap& glyph) const {
  Make24Bit(glyph, kTemplateSize, kTemplateSize);
  const auto& rows = FChecked ? kCheckedTemplate : kUncheckedTemplate;
  uint32_t roles[kRoleCount];
  for (int role = 0; role < kRoleCount; ++role) roles[role] = Rgb(RoleColor(role));
  for (int y = 0; y < kTemplateSize; ++y)
    for (int x = 0; x < kTemplateSize; ++x) {
      const char c = rows[y][x];
      glyph.Image().SetPixelValue(x, y, c == 'T' ? Rgb(TransparentColor()) : roles[RoleOf(c)]);
    }
  glyph.NotifyChanged(&glyph);
}

// Disabled wins over pressed, pressed over mouse-over.
TColor TWkRadioButton::RoleColor(int role) const {
  const TColor window = clWindow, frame = FrameColor(), highlight = HighlightColor(), disabled = DisabledColor();
  const TColor pressedInside = DarkenColor(window, kPressedInsideShade);
  const THotTrackShades hot = HotTrackShades();
  const TColor hotLight = hot.Light, hotDark = hot.Dark;
  const bool trueColor = HasTrueColorDisplay();
  enum { normal, pressed, hover, off } state = normal;
  if (!Enabled()) state = off;
  else if (FPressedLook) state = pressed;
  else if (FPointerInside) state = hover;
  if (!trueColor && state != off) state = normal;
  if (!trueColor) {
    if (role == 1 || role == 2 || role == 12) return AvoidMaskColor(frame);
    if (state == normal) return role >= 10 ? AvoidMaskColor(highlight) : window;
  }
  // The inside colour each role mixes with, by state: light and dark hover halves differ.
  const TColor inside = state == off ? disabled : state == pressed ? pressedInside : window;
  const TColor lightSide = state == hover ? hotLight : inside;
  const TColor darkSide = state == hover ? hotDark : inside;
  switch (role) {
    case 0: return inside;
    case 1: return AvoidMaskColor(frame);
    case 2: return LightenColor(frame, kFrameLightStep);
    case 3: return MixColors(frame, darkSide, kHalfMix);
    case 4: return MixColors(frame, lightSide, kHalfMix);
    case 5: return MixColors(frame, darkSide, kRingEdgeMix);
    case 6: return MixColors(frame, lightSide, kRingEdgeMix);
    case 7: return darkSide;
    case 8: return lightSide;
    case 9: return state == hover ? MixColors(hotLight, window, kHalfMix) : inside;
    case 10: return state == off ? clBtnShadow : AvoidMaskColor(highlight);
    case 11:
      if (state == off) return MixColors(highlight, disabled, kHalfMix);
      return MixColors(highlight, state == pressed ? pressedInside : window, kDotRimMix);
    default: return TColor(kBlendMarker);
  }
}

// ---- input ----

// Clicking the checked button again changes nothing and fires nothing.
void TWkRadioButton::Press() {
  if (!FChecked) SetChecked(true);
}

void TWkRadioButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  FMouseSelecting = true;
  TWkCustomGlyphButton::MouseDown(button, shift, x, y);
}

void TWkRadioButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TWkCustomGlyphButton::MouseUp(button, shift, x, y);
  FMouseSelecting = false;
}

// The keyboard's focus checks the button; a mouse press leaves that to its release.
void TWkRadioButton::FocusGained(TMessage& m) {
  TWkCustomGlyphButton::FocusGained(m);
  if (!FMouseSelecting) SetChecked(true);
}

void TWkRadioButton::DialogChar(TMessage& m) {
  if (IsAccelerator(char(m.WParam), Caption()) && CanFocus()) {
    SetFocus();
    m.Result = 1;
    return;
  }
  TWkCustomGlyphButton::DialogChar(m);
}

// Down fires the click again without changing the state.
void TWkRadioButton::DialogKey(TMessage& m) {
  const TShiftState shift = KeysToShiftState(m.LParam);
  const bool plain = !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
  if (m.WParam == vkDown && plain && CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  TWkCustomGlyphButton::DialogKey(m);
}

// The second press of a double click is a press like any other; then OnDblClick fires.
void TWkRadioButton::Dispatch(TMessage& m) {
  TWkCustomGlyphButton::Dispatch(m);
  if (m.Msg == msgLButtonDblClk) DblClick();
}

// ======================================================================================
// TWkCheckedActionLink
// ======================================================================================

TWkCheckedActionLink::TWkCheckedActionLink(TWkCustomGlyphButton* client)
    : TWinControlActionLink(client), FGlyphClient(client) {}

bool TWkCheckedActionLink::IsCheckedLinked() const {
  auto* action = dynamic_cast<TCustomAction*>(Action());
  return TWinControlActionLink::IsCheckedLinked() && action != nullptr && FGlyphClient->Checked() == action->Checked();
}

void TWkCheckedActionLink::SetChecked(bool value) {
  if (IsCheckedLinked()) FGlyphClient->SetChecked(value);
}

void RegisterRadioButtonClasses() {
  RegisterStreamClass(TWkRadioButton::ClassInfo());
  RegisterStreamClass(TAction::ClassInfo());
}
