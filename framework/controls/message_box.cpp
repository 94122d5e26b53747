#include "framework/controls/message_box.h"

#include <algorithm>
#include <cmath>

#include "framework/controls/keys.h"
#include "framework/core/exceptions.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/text_layout.h"
#include "framework/port/backend_port.h"
#include "framework/typeinfo/class_info.h"

namespace {
constexpr int kIconSize = 32;
constexpr int kMargin = 11;
constexpr int kTextWidth = 240;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
}  // namespace

// ---- icon ----

const TClassInfo& TMessageIcon::ClassInfo() {
  static const TClassInfo info = DefineClass<TMessageIcon, TGraphicControl>("TMessageIcon");
  return info;
}

TMessageIcon::TMessageIcon(TComponent* owner, TMessageBoxIcon kind) : TGraphicControl(owner), FKind(kind) {
  SetBounds(0, 0, kIconSize, kIconSize);
}

void TMessageIcon::Paint() {
  if (FKind == mbiNone) return;
  const TColor disc = FKind == mbiError ? TColor(0x0000E0) : FKind == mbiWarning ? TColor(0x00D0FF) : TColor(0xC06000);
  TCanvas& c = Canvas();
  c.Brush().SetColor(disc);
  // The disc, row by row: a pixel belongs when its centre lies inside the circle.
  const double r = kIconSize / 2.0 - 1, centre = kIconSize / 2.0;
  for (int y = 0; y < kIconSize; ++y) {
    const double dy = y + 0.5 - centre;
    if (std::abs(dy) > r) continue;
    const double half = std::sqrt(r * r - dy * dy);
    c.FillRect({int(std::ceil(centre - half - 0.5)), y, int(std::ceil(centre + half - 0.5)), y + 1});
  }
  if (FKind != mbiError) return;
  // The cross: two diagonals three pixels thick from (10, 10) to (21, 21).
  c.Brush().SetColor(clWhite);
  for (int i = 10; i <= 21; ++i) {
    c.FillRect({i - 1, i, i + 2, i + 1});
    c.FillRect({31 - i - 1, i, 31 - i + 2, i + 1});
  }
}

// ---- text ----

const TClassInfo& TMessageText::ClassInfo() {
  static const TClassInfo info = DefineClass<TMessageText, TGraphicControl>("TMessageText");
  return info;
}

void TMessageText::Paint() {
  TCanvas& c = Canvas();
  c.Brush().SetStyle(bsClear);
  TRect r = ClientRect();
  c.DrawTextBlock(Caption(), r, kFormat);
}

// ---- button ----

const TClassInfo& TMessageButton::ClassInfo() {
  static const TClassInfo info = DefineClass<TMessageButton, TCustomControl>("TMessageButton");
  return info;
}

TMessageButton::TMessageButton(TComponent* owner, TModalResult result) : TCustomControl(owner), FResult(result) {
  SetBounds(0, 0, kButtonWidth, kButtonHeight);
  SetTabStop(true);
  SetCaption(rs::SOKButton);
}

void TMessageButton::Paint() {
  TCanvas& c = Canvas();
  const TRect r = ClientRect();
  c.Brush().SetColor(clBtnFace);
  c.FillRect(r);
  // A raised edge, sunken while pressed; a focused button has a dark outer ring.
  TRect edge = r;
  if (Focused()) {
    c.Brush().SetColor(clWindowFrame);
    c.FrameRect(edge);
    edge = {edge.Left + 1, edge.Top + 1, edge.Right - 1, edge.Bottom - 1};
  }
  const TColor light = FPressed ? clBtnShadow : clBtnHighlight, dark = FPressed ? clBtnHighlight : cl3DDkShadow;
  c.Brush().SetColor(light);
  c.FillRect({edge.Left, edge.Top, edge.Right - 1, edge.Top + 1});
  c.FillRect({edge.Left, edge.Top, edge.Left + 1, edge.Bottom - 1});
  c.Brush().SetColor(dark);
  c.FillRect({edge.Left, edge.Bottom - 1, edge.Right, edge.Bottom});
  c.FillRect({edge.Right - 1, edge.Top, edge.Right, edge.Bottom});
  c.Brush().SetStyle(bsClear);
  c.Font().SetColor(clBtnText);
  TRect caption = r;
  if (FPressed) caption = {r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
  c.DrawTextBlock(Caption(), caption, tfCenter | tfVCenter | tfSingleLine);
}

void TMessageButton::Click() {
  TCustomControl::Click();
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FResult);
}

void TMessageButton::KeyDown(int& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == vkSpace && !FPressed) {
    FPressed = true;
    Invalidate();
  }
}

void TMessageButton::KeyUp(int& key, TShiftState shift) {
  TCustomControl::KeyUp(key, shift);
  if (key != vkSpace || !FPressed) return;
  FPressed = false;
  Invalidate();
  Click();
}

void TMessageButton::FocusGained(TMessage& m) {
  TCustomControl::FocusGained(m);
  Invalidate();
}

void TMessageButton::FocusLost(TMessage& m) {
  TCustomControl::FocusLost(m);
  FPressed = false;
  Invalidate();
}

// The only button of its box answers both Enter and Escape.
void TMessageButton::DialogKey(TMessage& m) {
  const int key = int(m.WParam);
  const bool plain = (m.LParam & (imShift | imCtrl | imAlt)) == 0;
  if (plain && (key == vkReturn || key == vkEscape) && CanFocus()) {
    Click();
    m.Result = 1;
  }
}

// ---- the box ----

const TClassInfo& TMessageBoxForm::ClassInfo() {
  static const TClassInfo info = DefineClass<TMessageBoxForm, TCustomForm>("TMessageBoxForm");
  return info;
}

TMessageBoxForm::TMessageBoxForm(TComponent* owner, const std::string& text, const std::string& caption,
                                 TMessageBoxIcon icon)
    : TCustomForm(owner), FText(text) {
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetCaption(caption);
  // The text wraps at a fixed width; the box grows downwards to hold it.
  TBitmap measure;
  measure.SetSize(1, 1);
  measure.Canvas().Font().CopyFrom(Font());
  TRect textRect{0, 0, kTextWidth, 0};
  const int textHeight = measure.Canvas().DrawTextBlock(text, textRect, TMessageText::kFormat | tfCalcRect);
  const int textLeft = kMargin + kIconSize + kMargin;
  const int width = textLeft + kTextWidth + kMargin;
  const int buttonTop = kMargin + std::max(kIconSize, textHeight) + kMargin;
  SetBounds(0, 0, width, buttonTop + kButtonHeight + kMargin);
  FIcon = new TMessageIcon(this, icon);
  FIcon->SetLeft(kMargin);
  FIcon->SetTop(kMargin);
  FIcon->SetParent(this);
  FTextControl = new TMessageText(this);
  FTextControl->SetCaption(text);
  // A single line stands level with the middle of the icon.
  const int textTop = kMargin + std::max(0, (kIconSize - textHeight) / 2);
  FTextControl->SetBounds(textLeft, textTop, kTextWidth, textHeight);
  FTextControl->SetParent(this);
  FButton = new TMessageButton(this, mrOk);
  FButton->SetLeft((width - kButtonWidth) / 2);
  FButton->SetTop(buttonTop);
  FButton->SetParent(this);
  SetActiveControl(FButton);
}
