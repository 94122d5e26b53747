#include "widgets/push_buttons.h"

#include <algorithm>

#include "framework/controls/custom_form.h"
#include "framework/controls/keys.h"
#include "framework/core/filer.h"
#include "framework/graphics/accelerator.h"
#include "framework/graphics/bitmap_file.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/text_layout.h"
#include "framework/graphics/text_measure.h"
#include "framework/typeinfo/class_info.h"
#include "framework/typeinfo/class_registry.h"
#include "framework/typeinfo/obsolete_property.h"
#include "widgets/frame_drawing.h"
#include "widgets/kit_messages.h"
#include "widgets/property_write.h"
#include "widgets/stock_glyphs.h"

VM_ENUM_INFO(TAlignmentVertical, "avTop", "avCenter", "avBottom")
VM_ENUM_INFO(TTextStyle, "tsNormal", "tsRaised", "tsRecessed", "tsShadow")
VM_ENUM_INFO(TButtonLayout, "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom")
VM_ENUM_INFO(TBitBtnKind, "bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort", "bkRetry",
             "bkIgnore", "bkAll")

namespace {
// The caption is measured wrapped and centred, as it will be drawn.
constexpr unsigned kCaptionLayout = tfWordBreak | tfExpandTabs | tfCenter;

// Lightness steps (on the 0 to 240 scale) between a colour and its shades.
// The mouse-over pair: a light and a dark shade of the hot-track colour.
constexpr uint8_t kHotTrackShade = 30;
// Hue of the mouse-over rings for htctComplement: opposite on the 240-step circle.
constexpr int kHalfTurn = 120;
constexpr uint8_t kRingSaturation = 220;
constexpr uint8_t kComplementLightness = 180;
constexpr uint8_t kFocusLightness = 220;

void FillArea(TCanvas& canvas, int left, int top, int right, int bottom, TColor color) {
  canvas.Brush().SetColor(color);
  canvas.FillRect({left, top, right, bottom});
}

TRect Shrunk(const TRect& r, int by) { return {r.Left + by, r.Top + by, r.Right - by, r.Bottom - by}; }

bool NoModifiers(intptr_t keys) {
  const TShiftState shift = KeysToShiftState(keys);
  return !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
}
}  // namespace

// ======================================================================================
// TWkCustomButton
// ======================================================================================

namespace {
constexpr int kCustomButtonWidth = 115;
constexpr int kCustomButtonHeight = 17;
}  // namespace

const TClassInfo& TWkCustomButton::ClassInfo() {
  using B = TWkCustomButton;
  static const TClassInfo info =
      DefineClass<B, TCustomControl>("TWkCustomButton")
          .Property("AlignmentVertical", &B::AlignmentVertical, &B::SetAlignmentVertical, ::Default(avCenter))
          .Property("HotTrack", &B::HotTrack, &B::SetHotTrack, ::Default(0))
          .Property("HotTrackColor", &B::HotTrackColor, &B::SetHotTrackColor, ::Default(clHighlight))
          .Property("HotTrackColorType", &B::HotTrackColorType, &B::SetHotTrackColorType, ::Default(htctComplement))
          .Property("HighlightColor", &B::HighlightColor, &B::SetHighlightColor, ::Default(clHighlight))
          .Property("LightTextStyle", &B::LightTextStyle, &B::SetLightTextStyle, ::Default(0))
          .Property("TextStyle", &B::TextStyle, &B::SetTextStyle, ::Default(tsNormal))
          .Property("TextHighlightColor", &B::TextHighlightColor, &B::SetTextHighlightColor, ::Default(clBtnHighlight))
          .Property("TextShadowColor", &B::TextShadowColor, &B::SetTextShadowColor, ::Default(clBtnShadow))
          .Property("TextShadowDepth", &B::TextShadowDepth, &B::SetTextShadowDepth, ::Default(2))
          .Property("TabStop", &B::TabStop, &B::SetTabStop, ::Default(1))
          .Property("Action", &B::Action, &B::SetAction)
          .Event("OnMouseEnter", &B::FOnMouseEnter)
          .Event("OnMouseLeave", &B::FOnMouseLeave);
  return info;
}

// Clicks come from the press logic, not from the framework's click on release, and the
// second press of a double click is a press like any other: a double click clicks twice.
TWkCustomButton::TWkCustomButton(TComponent* owner) : TCustomControl(owner) {
  FControlStyle.Include(csCaptureMouse);
  FControlStyle.Include(csSetCaption);
  FControlStyle.Exclude(csClickEvents);
  FControlStyle.Exclude(csDoubleClicks);
  SetTabStop(true);
  SetBounds(Left(), Top(), kCustomButtonWidth, kCustomButtonHeight);
}

// ---- properties ----

void TWkCustomButton::SetAlignmentVertical(TAlignmentVertical v) {
  WriteProperty(*this, FAlignmentVertical, v, weInvalidate);
}
void TWkCustomButton::SetHotTrack(bool v) { WriteProperty(*this, FHotTrack, v, weInvalidate); }
void TWkCustomButton::SetHotTrackColor(TColor v) { WriteProperty(*this, FHotTrackColor, v, weInvalidate); }
void TWkCustomButton::SetHotTrackColorType(TWkHotTrackColorType v) {
  WriteProperty(*this, FHotTrackColorType, v, weInvalidate);
}
void TWkCustomButton::SetHighlightColor(TColor v) { WriteProperty(*this, FHighlightColor, v, weInvalidate); }
void TWkCustomButton::SetLightTextStyle(bool v) { WriteProperty(*this, FLightTextStyle, v, weInvalidate); }
void TWkCustomButton::SetTextStyle(TTextStyle v) { WriteProperty(*this, FTextStyle, v, weInvalidate); }
void TWkCustomButton::SetTextHighlightColor(TColor v) { WriteProperty(*this, FTextHighlightColor, v, weInvalidate); }
void TWkCustomButton::SetTextShadowColor(TColor v) { WriteProperty(*this, FTextShadowColor, v, weInvalidate); }
void TWkCustomButton::SetTextShadowDepth(int v) { WriteProperty(*this, FTextShadowDepth, v, weInvalidate); }
void TWkCustomButton::SetTransparent(bool v) { WriteProperty(*this, FTransparent, v, weInvalidate); }

void TWkCustomButton::SetAction(TBasicAction* value) {
  if (value == nullptr) {
    FActionLink.reset();
    return;
  }
  if (FActionLink == nullptr) {
    FActionLink = CreateActionLink();
    FActionLink->OnChange = [this](TBasicAction* action) { ActionChange(action, false); };
  }
  FActionLink->SetAction(value);
  ActionChange(value, value->ComponentState().Contains(csLoading));
}

std::unique_ptr<TActionLink> TWkCustomButton::CreateActionLink() {
  return std::make_unique<TWinControlActionLink>(this);
}

void TWkCustomButton::ActionChange(TBasicAction* sender, bool checkDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(sender);
  if (action == nullptr) return;
  if (!checkDefaults || Caption().empty()) SetCaption(action->Caption());
  if (!checkDefaults || Enabled()) SetEnabled(action->Enabled());
}

// ---- geometry ----

int TWkCustomButton::CaptionHeight(const TRect& rect) const {
  return MeasureBlock(*Font(), Caption(), kCaptionLayout, rect.Width()).cy;
}

// ---- paint ----

void TWkCustomButton::DrawCaption(TCanvas& canvas, TRect rect, unsigned flags) {
  canvas.Brush().SetStyle(bsClear);
  canvas.Font().CopyFrom(Font());
  const int t = CaptionHeight(rect);
  if (FAlignmentVertical == avCenter) {
    rect.Top = (rect.Top + rect.Bottom - t) / 2;
    rect.Bottom = rect.Top + t;
  } else if (FAlignmentVertical == avBottom) {
    rect.Top = rect.Bottom - t - 1;
  }
  const std::string& text = Caption();
  auto copyAt = [&](TColor color, int dx, int dy) {
    TRect r = rect.Offset(dx, dy);
    canvas.Font().SetColor(color);
    canvas.DrawTextBlock(text, r, flags);
  };
  if (!Enabled()) {
    copyAt(clBtnHighlight, 1, 1);
    copyAt(clBtnShadow, 0, 0);
  } else {
    const bool rightAligned = (flags & tfRight) != 0;
    if (FTextStyle == tsRaised || FTextStyle == tsRecessed) {
      const bool raised = FTextStyle == tsRaised;
      const TColor upperLeft = raised ? FTextHighlightColor : FTextShadowColor;
      const TColor lowerRight = raised ? FTextShadowColor : FTextHighlightColor;
      if (!raised || !FLightTextStyle) copyAt(lowerRight, 1, 1);
      if (raised || !FLightTextStyle) copyAt(upperLeft, -1, -1);
    } else if (FTextStyle == tsShadow) {
      copyAt(FTextShadowColor, rightAligned ? 0 : FTextShadowDepth, FTextShadowDepth);
    }
    copyAt(Font()->Color(), rightAligned ? -FTextShadowDepth : 0, 0);
  }
  canvas.Font().SetColor(Font()->Color());
  canvas.Brush().SetStyle(bsSolid);
}

TWkCustomButton::THotTrackShades TWkCustomButton::HotTrackShades() const {
  if (FHotTrackColorType == htctActual)
    return {LightenColor(FHotTrackColor, kHotTrackShade), DarkenColor(FHotTrackColor, kHotTrackShade)};
  const int hue = HueOfColor(FHotTrackColor);
  const int opposite = hue >= kHalfTurn ? hue - kHalfTurn : hue + kHalfTurn;
  const TColor light = HslToRgb(uint8_t(opposite), kRingSaturation, kComplementLightness);
  return {light, DarkenColor(light, kHotTrackShade)};
}

// A transparent button shows its parent's image under it, so its corners blend in.
void TWkCustomButton::EraseBackground(TMessage& m) {
  auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
  if (FTransparent) {
    PaintParentBackground(*this, *canvas, true);
  } else {
    canvas->Brush().SetColor(Color());
    canvas->FillRect(ClientRect());
  }
  m.Result = 1;
}

// ---- input ----

void TWkCustomButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  if (CanFocus()) SetFocus();
  if (!Focused()) return;
  FPressedLook = true;
  InvalidateFace();
  FTracking = true;
}

void TWkCustomButton::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (!FTracking) return;
  const bool inside = ClientRect().Contains({x, y});
  if (inside == FPressedLook) return;
  FPressedLook = inside;
  InvalidateFace();
}

void TWkCustomButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (!FTracking) return;
  FTracking = false;
  FPressedLook = false;
  if (ClientRect().Contains({x, y})) Press();
  InvalidateFace();
}

void TWkCustomButton::Click() {
  if (!FOnClick && FActionLink != nullptr && FActionLink->Action() != nullptr) FActionLink->Execute();
  else TCustomControl::Click();
}

void TWkCustomButton::FocusGained(TMessage& m) {
  TCustomControl::FocusGained(m);
  RepaintFace();
}

void TWkCustomButton::FocusLost(TMessage& m) {
  TCustomControl::FocusLost(m);
  RepaintFace();
}

// Hover repaints draw the face over itself: no erase, the corners keep their pixels.
void TWkCustomButton::InvalidateHotTrack() {
  if (FHotTrack) InvalidateRect(GetHotTrackRect(), false);
}

void TWkCustomButton::MouseEnter(TMessage& m) {
  TCustomControl::MouseEnter(m);
  if (ComponentState().Contains(csDesigning)) return;
  FPointerInside = true;
  FOnMouseEnter(this);
  InvalidateHotTrack();
}

void TWkCustomButton::MouseLeave(TMessage& m) {
  TCustomControl::MouseLeave(m);
  if (ComponentState().Contains(csDesigning)) return;
  FPointerInside = false;
  FOnMouseLeave(this);
  InvalidateHotTrack();
}

void TWkCustomButton::TextChanged(TMessage& m) {
  TCustomControl::TextChanged(m);
  Repaint();
}

// ======================================================================================
// TWkButton
// ======================================================================================

namespace {
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
// The caption keeps this far from every edge: inside the edge and the focus frame.
constexpr int kCaptionInset = 5;
// The focus frame lies just inside the face: two rings on the hot-track face, the edge
// and the default ring on the classic one.
constexpr int kHotTrackFocusInset = 3;
constexpr int kClassicFocusInset = 4;
// The latched look's brush: 8 x 8 pixels of the face with every other one silver.
constexpr int kDownPatternSize = 8;
constexpr uint32_t kDownPatternSilver = 0xC0C0C0;
constexpr uint32_t kDownPatternGrey = 0x808080;

// The hot-track face, by lightness steps from its colours: two rings round the face
// (the outer one the same on every face colour), then the face by its state.
constexpr int kHotTrackRings = 2;
constexpr uint8_t kOuterRingShade = 20;
constexpr uint8_t kInnerRingShade = 150;
constexpr uint8_t kDisabledRingLight = 30;
constexpr uint8_t kDisabledRingShade = 80;
constexpr uint8_t kPressedFaceShade = 10;
constexpr uint8_t kInnerBandShift = 10;  // the second ring of a lit face, toward the face
// The plain face: three light rows fading in from the top, three dark steps deepening
// toward the bottom right.
constexpr uint8_t kPlainTopRows[] = {20, 15, 10};
constexpr uint8_t kPlainShadowSteps[] = {10, 20, 30};
}  // namespace

const TClassInfo& TWkButton::ClassInfo() {
  using B = TWkButton;
  static const TClassInfo info =
      DefineClass<B, TWkCustomButton>("TWkButton")
          .Property("Height", &B::Height, &B::SetHeight, ::Default(kButtonHeight))
          .Property("Width", &B::Width, &B::SetWidth, ::Default(kButtonWidth))
          .Property("Alignment", &B::Alignment, &B::SetAlignment, ::Default(taCenter))
          .Property("Cancel", &B::Cancel, &B::SetCancel, ::Default(0))
          .Property("Default", &B::Default, &B::SetDefault, ::Default(0))
          .Property("ModalResult", &B::ModalResult, &B::SetModalResult, ::Default(0))
          .Property("GroupIndex", &B::GroupIndex, &B::SetGroupIndex, ::Default(0))
          .Property("Down", &B::Down, &B::SetDown, ::Default(0))
          .Property("AllowAllUp", &B::AllowAllUp, &B::SetAllowAllUp, ::Default(0))
          .Property("ShowDownPattern", &B::ShowDownPattern, &B::SetShowDownPattern, ::Default(1))
          .Property("ShowFocusRect", &B::ShowFocusRect, &B::SetShowFocusRect, ::Default(1));
  return info;
}

TWkButton::TWkButton(TComponent* owner) : TWkCustomButton(owner) {
  SetBounds(Left(), Top(), kButtonWidth, kButtonHeight);
  SetColor(clBtnFace);
}

// ---- properties ----

// The hot-track face leaves its corners to the parent's image.
void TWkButton::SetHotTrack(bool value) {
  if (value == HotTrack()) return;
  TWkCustomButton::SetHotTrack(value);
  SetTransparent(value);
}

void TWkButton::SetAlignment(TAlignment v) { WriteProperty(*this, FAlignment, v, weInvalidate); }
void TWkButton::SetShowDownPattern(bool v) { WriteProperty(*this, FShowDownPattern, v, weInvalidate); }
void TWkButton::SetShowFocusRect(bool v) { WriteProperty(*this, FShowFocusRect, v, weInvalidate); }
// The group's other buttons take the new setting.
void TWkButton::SetAllowAllUp(bool v) { if (WriteProperty(*this, FAllowAllUp, v)) BroadcastGroupPressed(); }
void TWkButton::SetGroupIndex(int v) {
  if (WriteProperty(*this, FGroupIndex, v, weInvalidate)) BroadcastGroupPressed();
}

// Every button re-evaluates whether it answers Enter, even when the value stays.
void TWkButton::SetDefault(bool value) {
  FDefault = value;
  if (WindowCreated()) GetParentForm(this)->BroadcastFocusChanged();
}

// Only a grouped button latches; a latched one stays down unless its group allows all up.
void TWkButton::SetDown(bool value) {
  if (FGroupIndex == 0) value = false;
  if (FDown && FGroupIndex != 0 && !FAllowAllUp) return;
  if (WriteProperty(*this, FDown, value, weInvalidate) && value) BroadcastGroupPressed();
}

bool TWkButton::WindowCreated() const {
  const TCustomForm* form = GetParentForm(this);
  return form != nullptr && form->PlatformWindow() != nullptr;
}

// Where a native window would be created, our control gets its place in a shown form:
// from then on it answers Enter by its Default setting until the focus moves.
void TWkButton::SetParent(TWinControl* parent) {
  TWkCustomButton::SetParent(parent);
  if (WindowCreated()) FActiveDefault = FDefault;
}

void TWkButton::DeclareStoredData(TFiler& filer) {
  TWkCustomButton::DeclareStoredData(filer);
  DeclareObsoleteProperty(filer, "FrameFlat", [this](TReader& reader) { SetHotTrack(reader.ReadBoolean()); });
}

// ---- geometry ----

TRect TWkButton::FocusRect() const {
  TRect f = Shrunk(ClientRect(), HotTrack() ? kHotTrackFocusInset : kClassicFocusInset);
  if (FGroupIndex != 0 && (FDown || FPressedLook)) f = f.Offset(1, 1);
  return f;
}

// The classic face moves its caption with the pressed look; the hot-track face does not.
TRect TWkButton::GetCaptionRect() const {
  TRect r = Shrunk(ClientRect(), kCaptionInset);
  if (!HotTrack() && ((FGroupIndex != 0 && FDown) || FPressedLook)) r = r.Offset(1, 1);
  return r;
}

void TWkButton::MakeDownPattern(TBitmap& pattern) const {
  pattern.SetPixelFormat(pf24bit);
  pattern.SetSize(kDownPatternSize, kDownPatternSize);
  const uint32_t face = uint32_t(ColorToRGB(Color()));
  const uint32_t dots = face == kDownPatternSilver ? kDownPatternGrey : kDownPatternSilver;
  for (int y = 0; y < kDownPatternSize; ++y)
    for (int x = 0; x < kDownPatternSize; ++x) pattern.Image().SetPixelValue(x, y, (x % 2 == y % 2) ? dots : face);
  pattern.NotifyChanged(&pattern);
}

// ---- paint ----

void TWkButton::Paint() {
  TCanvas& canvas = Canvas();
  const TRect client = ClientRect();
  const TRect face = HotTrack() ? PaintHotTrackFace(client) : PaintClassicFace(client);
  if (FGroupIndex != 0 && FDown && FShowDownPattern) PaintDownPattern(face);
  canvas.Font().CopyFrom(Font());
  canvas.Brush().SetColor(Color());
  DrawFaceContent();
  if (Focused() && FShowFocusRect) DrawFocusFrame(canvas, FocusRect());
}

void TWkButton::DrawFaceContent() {
  const unsigned align = FAlignment == taLeftJustify ? tfLeft : FAlignment == taRightJustify ? tfRight : tfCenter;
  DrawCaption(Canvas(), GetCaptionRect(), align | tfWordBreak | tfExpandTabs);
}

// Two one-pixel rings of the face's own look (the colour of Color only inside them),
// then the face by the first state that applies.
TRect TWkButton::PaintHotTrackFace(const TRect& c) {
  TCanvas& canvas = Canvas();
  const int w = c.Width(), h = c.Height();
  const TRect face = Shrunk(c, kHotTrackRings);
  const bool plainFace = Color() == clBtnFace;
  auto innerRing = [&](TColor color) {
    FillArea(canvas, 1, 2, 2, h - 2, color);
    FillArea(canvas, 2, 1, w - 2, 2, color);
    FillArea(canvas, w - 2, 2, w - 1, h - 2, color);
    FillArea(canvas, 2, h - 2, w - 2, h - 1, color);
  };
  if (!Enabled()) {
    innerRing(plainFace ? LightenColor(clBtnShadow, kDisabledRingLight) : DarkenColor(Color(), kDisabledRingShade));
    FillArea(canvas, face.Left, face.Top, face.Right, face.Bottom, Color());
    return face;
  }
  // The outer ring's corners stay unpainted.
  const TColor dark = DarkenColor(clBtnFace, kOuterRingShade), light = LightenColor(clBtnFace, kOuterRingShade);
  FillArea(canvas, 0, 2, 1, h - 2, dark);
  FillArea(canvas, 2, 0, w - 2, 1, dark);
  FillArea(canvas, w - 1, 2, w, h - 2, light);
  FillArea(canvas, 2, h - 1, w - 2, h, light);
  canvas.SetPixel(1, 1, dark);
  canvas.SetPixel(w - 2, 1, dark);
  canvas.SetPixel(1, h - 2, dark);
  canvas.SetPixel(w - 2, h - 2, light);
  innerRing(plainFace ? cl3DDkShadow : DarkenColor(Color(), kInnerRingShade));

  if ((FGroupIndex != 0 && FDown) || FPressedLook) {
    FillArea(canvas, face.Left, face.Top, face.Right, face.Bottom, DarkenColor(Color(), kPressedFaceShade));
  } else if (FPointerInside) {
    const THotTrackShades shades = HotTrackShades();
    PaintHotTrackRings(face, shades.Light, shades.Dark);
  } else if (FGroupIndex == 0 && (FActiveDefault || Focused())) {
    const TColor ring = HslToRgb(HueOfColor(HighlightColor()), kRingSaturation, kFocusLightness);
    PaintHotTrackRings(face, ring, DarkenColor(ring, kHotTrackShade));
  } else {
    PaintPlainFace(face);
  }
  return face;
}

void TWkButton::PaintHotTrackRings(const TRect& face, TColor light, TColor dark) {
  TCanvas& canvas = Canvas();
  const TRect r1 = DrawBevelBand(canvas, face, light, dark, 1, AllSides);
  const TRect r2 =
      DrawBevelBand(canvas, r1, DarkenColor(light, kInnerBandShift), LightenColor(dark, kInnerBandShift), 1, AllSides);
  FillArea(canvas, r2.Left, r2.Top, r2.Right, r2.Bottom, Color());
}

void TWkButton::PaintPlainFace(const TRect& f) {
  TCanvas& canvas = Canvas();
  const TColor face = Color();
  const int l = f.Left, t = f.Top, r = f.Right, b = f.Bottom;
  for (int row = 0; row < 3; ++row)
    FillArea(canvas, l, t + row, r, t + row + 1, LightenColor(face, kPlainTopRows[row]));
  FillArea(canvas, l, b - 3, r - 2, b - 2, DarkenColor(face, kPlainShadowSteps[0]));
  FillArea(canvas, r - 2, t + 3, r - 1, b - 2, DarkenColor(face, kPlainShadowSteps[0]));
  FillArea(canvas, l, b - 2, r - 1, b - 1, DarkenColor(face, kPlainShadowSteps[1]));
  FillArea(canvas, r - 1, t + 3, r, b - 1, DarkenColor(face, kPlainShadowSteps[1]));
  FillArea(canvas, l, b - 1, r, b, DarkenColor(face, kPlainShadowSteps[2]));
  FillArea(canvas, l, t + 3, r - 2, b - 3, face);
}

// The interior is left to the background erase, which filled it with Color.
TRect TWkButton::PaintClassicFace(const TRect& client) {
  TCanvas& canvas = Canvas();
  TRect c = client;
  if (FGroupIndex == 0 && (((FActiveDefault || Focused()) && !FPressedLook) || FClicking))
    c = DrawBevelStep(canvas, c, clWindowFrame, clWindowFrame, AllSides);
  const bool down = FDown || FPressedLook;
  if (Color() == clBtnFace) {
    if (FGroupIndex == 0) return DrawButtonEdge(canvas, c, FPressedLook);
    return DrawFrame(canvas, c, down ? fsLowered : fsButtonUp);
  }
  if (FGroupIndex == 0) return DrawTintedButtonEdge(canvas, c, Color(), FPressedLook);
  if (down) return DrawTintedFrame(canvas, c, Color(), fsLowered);
  return DrawTintedButtonEdge(canvas, c, Color(), false);
}

void TWkButton::PaintDownPattern(const TRect& face) {
  TBitmap pattern;
  MakeDownPattern(pattern);
  TCanvas& canvas = Canvas();
  canvas.Brush().SetBitmap(&pattern);
  canvas.FillRect(face);
  canvas.Brush().SetBitmap(nullptr);
}

// ---- clicks, keys and focus ----

void TWkButton::Press() {
  if (FGroupIndex != 0) SetDown(!FDown);
  else InvalidateFace();
  FClicking = true;
  struct TClickingScope {
    bool& Flag;
    ~TClickingScope() { Flag = false; }
  } scope{FClicking};
  Click();
}

void TWkButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TWkCustomButton::Click();
}

void TWkButton::KeyDown(int& key, TShiftState shift) {
  if (key == vkSpace && !shift.Contains(ssAlt)) {
    FSpaceSeen = true;
    FPressedLook = true;
    InvalidateFace();
  }
  TWkCustomButton::KeyDown(key, shift);
}

// A Space released clicks once any Space went down on this button.
void TWkButton::KeyUp(int& key, TShiftState shift) {
  if (key == vkSpace) {
    FPressedLook = false;
    if (FSpaceSeen) Press();
    InvalidateFace();
  }
  TWkCustomButton::KeyUp(key, shift);
}

// Enter and Escape click without the press: no toggling and no pressed look.
void TWkButton::DialogKey(TMessage& m) {
  const int key = int(m.WParam);
  const bool meant = (key == vkReturn && FActiveDefault) || (key == vkEscape && FCancel);
  if (meant && NoModifiers(m.LParam) && CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  TWkCustomButton::DialogKey(m);
}

void TWkButton::DialogChar(TMessage& m) {
  if (IsAccelerator(char(m.WParam), Caption()) && CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  TWkCustomButton::DialogChar(m);
}

// A focused kit push button answers Enter itself; otherwise the Default one does.
void TWkButton::FocusChanged(TMessage& m) {
  auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
  const bool answersEnter = dynamic_cast<TWkButton*>(focused) != nullptr ? focused == this : FDefault;
  if (WriteProperty(*this, FActiveDefault, answersEnter)) RepaintFace();
  TWkCustomButton::FocusChanged(m);
}

// ---- groups ----

void TWkButton::BroadcastGroupPressed() {
  if (FGroupIndex == 0 || Parent() == nullptr) return;
  TWinControl* parent = Parent();
  for (int i = 0; i < parent->ControlCount(); ++i)
    parent->Controls(i)->Perform(GroupButtonPressed, FGroupIndex, reinterpret_cast<intptr_t>(this));
}

// Another button of the group went down (or changed AllowAllUp): this one comes up.
void TWkButton::GroupButtonPressedMessage(TMessage& m) {
  auto* sender = reinterpret_cast<TWkButton*>(m.LParam);
  if (sender == this || m.WParam != FGroupIndex) return;
  if (sender->Down()) WriteProperty(*this, FDown, false, weInvalidate);
  FAllowAllUp = sender->AllowAllUp();
}

void TWkButton::Dispatch(TMessage& m) {
  if (m.Msg == GroupButtonPressed) {
    GroupButtonPressedMessage(m);
    return;
  }
  TWkCustomButton::Dispatch(m);
}

// ======================================================================================
// Stock kinds
// ======================================================================================

namespace {
struct TKindInfo {
  const char* Caption;
  int ModalResult;
  const char* Resource;
};

// Indexed by TBitBtnKind; bkCustom changes nothing.
constexpr TKindInfo kKinds[] = {
    {"", 0, ""},
    {"OK", 1, "WKCOMMON_OK"},
    {"Cancel", 2, "WKCOMMON_CANCEL"},
    {"&Help", 0, "WKCOMMON_HELP"},
    {"&Yes", 6, "WKCOMMON_YES"},
    {"&No", 7, "WKCOMMON_NO"},
    {"&Close", 0, "WKCOMMON_CLOSE"},
    {"Abort", 3, "WKCOMMON_ABORT"},
    {"&Retry", 4, "WKCOMMON_RETRY"},
    {"&Ignore", 5, "WKCOMMON_IGNORE"},
    {"&All", 8, "WKCOMMON_ALL"},
};

bool KindIsDefault(TBitBtnKind kind) { return kind == bkOK || kind == bkYes; }
bool KindIsCancel(TBitBtnKind kind) { return kind == bkCancel || kind == bkNo; }
}  // namespace

TKindGlyphCache& KindGlyphCache() {
  static TKindGlyphCache cache;
  return cache;
}

void TKindGlyphCache::CopyGlyph(TBitBtnKind kind, TBitmap& target) {
  if (kind == bkCustom) return;
  std::unique_ptr<TBitmap>& slot = FSlots[size_t(kind)];
  if (slot == nullptr) {
    const std::span<const uint8_t> bytes = StockGlyphResource(kKinds[kind].Resource);
    auto loaded = std::make_unique<TBitmap>();
    loaded->SetImage(ReadBitmapFile(bytes.data(), bytes.size()));
    slot = std::move(loaded);
  }
  target.CopyFrom(slot.get());
}

// ======================================================================================
// TWkBitBtn
// ======================================================================================

namespace {
// Margin -1 asks for no fixed margin: glyph and caption centred together.
constexpr int kNoFixedMargin = -1;
// A glyph bitmap holds one to four cells side by side.
constexpr int kMaxGlyphCells = 4;
// A stock kind's glyph has the enabled and the disabled cell.
constexpr int kStockGlyphCells = 2;
}  // namespace

const TClassInfo& TWkBitBtn::ClassInfo() {
  using B = TWkBitBtn;
  static const TClassInfo info =
      DefineClass<B, TWkButton>("TWkBitBtn")
          .Property("Caption", &B::Caption, &B::SetCaption, &B::CaptionStored)
          .Property("Cancel", &B::Cancel, &B::SetCancel, ::Default(0), &B::StoredWhenCustom)
          .Property("Default", &B::Default, &B::SetDefault, ::Default(0), &B::StoredWhenCustom)
          .Property("ModalResult", &B::ModalResult, &B::SetModalResult, ::Default(0), &B::StoredWhenCustom)
          .Property("Glyph", &B::Glyph, &B::SetGlyph, &B::StoredWhenCustom)
          .Property("NumGlyphs", &B::NumGlyphs, &B::SetNumGlyphs, ::Default(1), &B::StoredWhenCustom)
          .Property("Layout", &B::Layout, &B::SetLayout, ::Default(blGlyphLeft))
          .Property("Margin", &B::Margin, &B::SetMargin, ::Default(2))
          .Property("Spacing", &B::Spacing, &B::SetSpacing, ::Default(4))
          .Property("Kind", &B::Kind, &B::SetKind, ::Default(bkCustom))
          .Property("Images", &B::Images, &B::SetImages)
          .Property("ImageIndex", &B::ImageIndex, &B::SetImageIndex, ::Default(-1))
          .Property("DisabledIndex", &B::DisabledIndex, &B::SetDisabledIndex, ::Default(-1));
  return info;
}

TWkBitBtn::TWkBitBtn(TComponent* owner) : TWkButton(owner), FGlyph(std::make_unique<TBitmap>()) {
  FGlyph->OnChange = [this](TObject*) { GlyphChanged(); };
  FImageChangeLink.OnChange = [this](TObject* sender) {
    if (sender == FImages) ImagesChanged();
  };
}

TWkBitBtn::~TWkBitBtn() { FGlyph->OnChange = nullptr; }

// ---- properties ----

void TWkBitBtn::SetLayout(TButtonLayout v) { WriteProperty(*this, FLayout, v, weInvalidate); }
void TWkBitBtn::SetSpacing(int v) { WriteProperty(*this, FSpacing, v, weInvalidate); }
void TWkBitBtn::SetImageIndex(int v) { WriteProperty(*this, FImageIndex, v, weInvalidate); }
void TWkBitBtn::SetDisabledIndex(int v) { WriteProperty(*this, FDisabledIndex, v, weInvalidate); }
// Anything below "no fixed margin" is refused.
void TWkBitBtn::SetMargin(int v) { if (v >= kNoFixedMargin) WriteProperty(*this, FMargin, v, weInvalidate); }
// The cell width divides by the count, so only 1 to 4 cells are taken.
void TWkBitBtn::SetNumGlyphs(int v) {
  if (v >= 1 && v <= kMaxGlyphCells) WriteProperty(*this, FNumGlyphs, v, weInvalidate);
}

void TWkBitBtn::SetGlyph(TBitmap* value) {
  if (value != nullptr) FGlyph->CopyFrom(value);
  else FGlyph->SetSize(0, 0);
  FGlyphUserSet = true;
}

// A glyph of square cells counts its cells itself; more than four cells count as one.
void TWkBitBtn::GlyphChanged() {
  const int w = FGlyph->Width(), h = FGlyph->Height();
  if (h != 0 && w % h == 0) {
    const int cells = w / h;
    if (cells > kMaxGlyphCells) SetNumGlyphs(1);
    else if (cells >= 1) SetNumGlyphs(cells);
  }
  Invalidate();
}

void TWkBitBtn::SetImages(TCustomImageList* value) {
  if (value == FImages) return;
  if (FImages != nullptr) {
    FImages->UnRegisterChanges(&FImageChangeLink);
    RemoveFreeNotification(FImages);
  }
  FImages = value;
  if (FImages != nullptr) {
    FImages->RegisterChanges(&FImageChangeLink);
    FreeNotification(FImages);
  }
  Invalidate();
}

// The changed images show at once rather than at the next paint.
void TWkBitBtn::ImagesChanged() { Repaint(); }

void TWkBitBtn::Notification(TComponent* component, TOperation operation) {
  TWkButton::Notification(component, operation);
  if (operation == opRemove && component == FImages) {
    FImages = nullptr;
    Invalidate();
  }
}

TBitBtnKind TWkBitBtn::Kind() const {
  if (FKind == bkCustom) return FKind;
  const bool unchanged = Default() == KindIsDefault(FKind) && Cancel() == KindIsCancel(FKind) &&
                         ModalResult() == kKinds[FKind].ModalResult && !FGlyphUserSet;
  if (!unchanged) FKind = bkCustom;
  return FKind;
}

void TWkBitBtn::SetKind(TBitBtnKind value) {
  if (value == FKind) return;
  if (value != bkCustom) {
    SetDefault(KindIsDefault(value));
    SetCancel(KindIsCancel(value));
    // A caption read from the description wins over the kind's.
    if (!ComponentState().Contains(csLoading) || Caption().empty()) SetCaption(kKinds[value].Caption);
    SetModalResult(kKinds[value].ModalResult);
    KindGlyphCache().CopyGlyph(value, *FGlyph);
    SetNumGlyphs(kStockGlyphCells);
    FGlyphUserSet = false;
  }
  FKind = value;
  Invalidate();
}

bool TWkBitBtn::CaptionStored() const {
  const TBitBtnKind kind = Kind();
  return kind == bkCustom ? !Caption().empty() : Caption() != kKinds[kind].Caption;
}

// An action's image is taken, unless only defaults are applied and an image is set.
void TWkBitBtn::ActionChange(TBasicAction* sender, bool checkDefaults) {
  TWkButton::ActionChange(sender, checkDefaults);
  auto* action = dynamic_cast<TCustomAction*>(sender);
  if (action != nullptr && (!checkDefaults || FImageIndex == -1)) SetImageIndex(action->ImageIndex());
}

// Margin and spacing follow the bounds; "no fixed margin" stays what it is.
void TWkBitBtn::ChangeScale(int m, int d) {
  TWkButton::ChangeScale(m, d);
  if (m == d || d == 0) return;
  if (FMargin != kNoFixedMargin) FMargin = MulDiv(FMargin, m, d);
  FSpacing = MulDiv(FSpacing, m, d);
}

// ---- geometry ----

TSize TWkBitBtn::GetGlyphSize() const {
  if (ImageListGlyphApplies()) return {FImages->Width(), FImages->Height()};
  return {FGlyph->Width() / FNumGlyphs, FGlyph->Height()};
}

TRect TWkBitBtn::GetCaptionRect() const {
  TRect r = TWkButton::GetCaptionRect();
  if (!ImageListGlyphApplies() && FGlyph->Empty()) return r;
  const TSize glyph = GetGlyphSize();
  const int w = glyph.cx, h = glyph.cy;
  const int t = FMargin < 0 ? CaptionHeight(r) : 0;
  const int centred = (Height() - (h + t + FSpacing)) / 2;
  switch (FLayout) {
    case blGlyphLeft: r.Left += FMargin + w + FSpacing; break;
    case blGlyphRight: r.Right -= FMargin + w + FSpacing; break;
    case blGlyphTop:
      if (FMargin >= 0) {
        r.Top += FMargin + h + FSpacing;
      } else {
        r.Top += h + centred;
        r.Bottom = r.Top + t;
      }
      break;
    case blGlyphBottom:
      if (FMargin >= 0) {
        r.Bottom -= FMargin + h + FSpacing;
      } else {
        r.Top += centred;
        r.Bottom = r.Top + t;
      }
      break;
  }
  return r;
}

// The glyph keeps its place under the hot-track face's pressed look and moves with the
// caption on the classic face.
TRect TWkBitBtn::GetGlyphRect() const {
  TRect r = TWkButton::GetCaptionRect();
  if (FPressedLook) r = r.Offset(-1, -1);
  const TSize glyph = GetGlyphSize();
  const int w = glyph.cx, h = glyph.cy;
  const bool vertical = FLayout == blGlyphTop || FLayout == blGlyphBottom;
  const int t = FMargin < 0 && vertical ? CaptionHeight(TWkButton::GetCaptionRect()) : 0;
  const int centred = (Height() - (h + t + FSpacing)) / 2;
  switch (FLayout) {
    case blGlyphLeft:
      if (FMargin >= 0) r.Left += FMargin;
      break;
    case blGlyphRight: r.Left = FMargin >= 0 ? r.Right - FMargin - w : r.Right - w; break;
    case blGlyphTop: r.Top = FMargin >= 0 ? r.Top + FMargin : centred; break;
    case blGlyphBottom: r.Top = FMargin >= 0 ? r.Bottom - FMargin - h : r.Top + t + centred; break;
  }
  if (vertical) r.Left += (r.Right - r.Left - w + 1) / 2;
  else r.Top += (r.Bottom - r.Top - h + 1) / 2;
  r.Right = r.Left + w;
  r.Bottom = r.Top + h;
  if (FPressedLook) r = r.Offset(1, 1);
  return r;
}

// ---- paint ----

void TWkBitBtn::DrawFaceContent() {
  TWkButton::DrawFaceContent();
  const TRect g = GetGlyphRect();
  if (Kind() != bkCustom || !ImageListGlyphApplies()) {
    if (!FGlyph->Empty()) DrawBitmapGlyph(g);
  } else {
    DrawImageListGlyph(g);
  }
}

// One cell composed over the face in a bitmap of its own: the face copied in, the glyph
// put over it without its see-through colour, the result drawn back.
void TWkBitBtn::DrawBitmapGlyph(const TRect& g) {
  const int w = g.Width(), h = g.Height();
  if (w <= 0 || h <= 0) return;
  TCanvas& canvas = Canvas();
  const bool disabledCell = FNumGlyphs > 1 && !Enabled();
  const TRect source = disabledCell ? TRect{w, 0, 2 * w, h} : TRect{0, 0, w, h};
  // The bottom-left pixel of the first cell; an image-list size taller than the bitmap
  // (a stock kind with images set) must not read past the bitmap's last row.
  const int seeThroughRow = std::min(h, FGlyph->Height()) - 1;
  const TColor seeThrough = TColor(FGlyph->PixelRGB(0, seeThroughRow));
  TBitmap cell;
  cell.SetPixelFormat(pf24bit);
  cell.SetSize(w, h);
  cell.Canvas().Brush().SetColor(Color());
  cell.Canvas().CopyRect({0, 0, w, h}, canvas, g);
  DrawMaskedBitmap(cell.Canvas(), *FGlyph, {0, 0, w, h}, seeThrough, source);
  canvas.Draw(g.Left, g.Top, cell);
}

void TWkBitBtn::DrawImageListGlyph(const TRect& g) {
  if (FImages == nullptr) return;
  if (FDisabledIndex == -1) {
    if (FImageIndex != -1) FImages->Draw(Canvas(), g.Left, g.Top, FImageIndex, Enabled());
    return;
  }
  const int index = Enabled() ? FImageIndex : FDisabledIndex;
  if (index != -1) FImages->Draw(Canvas(), g.Left, g.Top, index, true);
}

void RegisterPushButtonClasses() {
  RegisterStreamClass(TWkButton::ClassInfo());
  RegisterStreamClass(TWkBitBtn::ClassInfo());
  RegisterStreamClass(TImageList::ClassInfo());
}
