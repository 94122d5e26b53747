#pragma once
// The kit's push buttons. TWkCustomButton is the base of every custom-drawn button of the
// kit (press tracking by mouse, hot-track notifications, focus repaint, caption drawing
// with text effects); TWkButton draws a push-button face and answers Enter, Escape and
// Space, with modal results and latching groups; TWkBitBtn adds a glyph beside the
// caption, from a bitmap of up to four cells or from an image list, and the stock kinds.
#include <array>
#include <memory>
#include <string>

#include "framework/controls/actions.h"
#include "framework/controls/custom_control.h"
#include "framework/controls/image_list.h"
#include "framework/graphics/bitmap.h"
#include "widgets/frame_types.h"

enum TAlignmentVertical { avTop, avCenter, avBottom };
VM_DECLARE_ENUM(TAlignmentVertical);
enum TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
VM_DECLARE_ENUM(TTextStyle);
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
VM_DECLARE_ENUM(TButtonLayout);
enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
VM_DECLARE_ENUM(TBitBtnKind);

class TWkCustomButton : public TCustomControl {
 public:
  VM_CLASS()
  explicit TWkCustomButton(TComponent* owner);

  TAlignmentVertical AlignmentVertical() const { return FAlignmentVertical; }
  virtual void SetAlignmentVertical(TAlignmentVertical value);
  bool HotTrack() const { return FHotTrack; }
  virtual void SetHotTrack(bool value);
  TColor HotTrackColor() const { return FHotTrackColor; }
  void SetHotTrackColor(TColor value);
  TWkHotTrackColorType HotTrackColorType() const { return FHotTrackColorType; }
  void SetHotTrackColorType(TWkHotTrackColorType value);
  TColor HighlightColor() const { return FHighlightColor; }
  virtual void SetHighlightColor(TColor value);
  bool LightTextStyle() const { return FLightTextStyle; }
  virtual void SetLightTextStyle(bool value);
  TTextStyle TextStyle() const { return FTextStyle; }
  virtual void SetTextStyle(TTextStyle value);
  TColor TextHighlightColor() const { return FTextHighlightColor; }
  virtual void SetTextHighlightColor(TColor value);
  TColor TextShadowColor() const { return FTextShadowColor; }
  virtual void SetTextShadowColor(TColor value);
  int TextShadowDepth() const { return FTextShadowDepth; }
  virtual void SetTextShadowDepth(int value);
  bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool value);
  // The click runs OnClick when one is bound, else the action.
  TBasicAction* Action() const { return FActionLink != nullptr ? FActionLink->Action() : nullptr; }
  void SetAction(TBasicAction* value);
  TActionLink* ActionLink() const { return FActionLink.get(); }

  // Press state, for painting and for tests.
  bool PressedLook() const { return FPressedLook; }
  bool Tracking() const { return FTracking; }
  bool PointerInside() const { return FPointerInside; }

  // Draws the caption into `rect` with the text effects and the disabled look; `flags`
  // are text format flags (alignment, word break, tab expansion).
  virtual void DrawCaption(TCanvas& canvas, TRect rect, unsigned flags);
  // The height the caption takes when wrapped to `rect`'s width.
  int CaptionHeight(const TRect& rect) const;
  // The mouse-over pair: light and dark shades of the hot-track colour, or of the hue
  // opposite it on the colour circle.
  struct THotTrackShades {
    TColor Light;
    TColor Dark;
  };
  THotTrackShades HotTrackShades() const;
  // The area a hover change repaints.
  virtual TRect GetHotTrackRect() const { return ClientRect(); }

  TNotifyEvent FOnMouseEnter;
  TNotifyEvent FOnMouseLeave;

 protected:
  virtual void InvalidateFace() {}
  virtual void RepaintFace() { Repaint(); }
  // A completed press: released inside, or Space released.
  virtual void Press() = 0;
  void Click() override;
  virtual std::unique_ptr<TActionLink> CreateActionLink();
  // The action's settings changed; with `checkDefaults` only settings still at their
  // defaults are taken (the action is being loaded).
  virtual void ActionChange(TBasicAction* sender, bool checkDefaults);

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void FocusGained(TMessage& m) override;
  void FocusLost(TMessage& m) override;
  void EraseBackground(TMessage& m) override;
  void TextChanged(TMessage& m) override;
  void MouseEnter(TMessage& m) override;
  void MouseLeave(TMessage& m) override;

  bool FPressedLook = false;
  bool FTracking = false;
  bool FPointerInside = false;

 private:
  void InvalidateHotTrack();

  TAlignmentVertical FAlignmentVertical = avCenter;
  bool FHotTrack = false;
  TColor FHotTrackColor = clHighlight;
  TWkHotTrackColorType FHotTrackColorType = htctComplement;
  TColor FHighlightColor = clHighlight;
  bool FLightTextStyle = false;
  TTextStyle FTextStyle = tsNormal;
  TColor FTextHighlightColor = clBtnHighlight;
  TColor FTextShadowColor = clBtnShadow;
  int FTextShadowDepth = 2;
  bool FTransparent = false;
  std::unique_ptr<TActionLink> FActionLink;
};

class TWkButton : public TWkCustomButton {
 public:
  VM_CLASS()
  explicit TWkButton(TComponent* owner);

  void SetHotTrack(bool value) override;
  TAlignment Alignment() const { return FAlignment; }
  virtual void SetAlignment(TAlignment value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool value) { FCancel = value; }
  bool Default() const { return FDefault; }
  virtual void SetDefault(bool value);
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int value) { FModalResult = value; }
  int GroupIndex() const { return FGroupIndex; }
  virtual void SetGroupIndex(int value);
  bool Down() const { return FDown; }
  virtual void SetDown(bool value);
  bool AllowAllUp() const { return FAllowAllUp; }
  virtual void SetAllowAllUp(bool value);
  bool ShowDownPattern() const { return FShowDownPattern; }
  virtual void SetShowDownPattern(bool value);
  bool ShowFocusRect() const { return FShowFocusRect; }
  virtual void SetShowFocusRect(bool value);

  bool ActiveDefault() const { return FActiveDefault; }
  bool Clicking() const { return FClicking; }

  void SetParent(TWinControl* parent) override;
  // "FrameFlat", a property of older descriptions, turns HotTrack on or off.
  void DeclareStoredData(TFiler& filer) override;

  // Geometry, in client coordinates.
  TRect FocusRect() const;
  virtual TRect GetCaptionRect() const;
  // The latched look's 8 x 8 brush: `Color` with silver on the pixels whose x and y have
  // equal parity (grey when the face itself is silver).
  virtual void MakeDownPattern(TBitmap& pattern) const;

 protected:
  void Paint() override;
  void InvalidateFace() override { Invalidate(); }
  void Press() override;
  void Click() override;
  virtual void DrawFaceContent();
  void KeyDown(int& key, TShiftState shift) override;
  void KeyUp(int& key, TShiftState shift) override;
  void DialogKey(TMessage& m) override;
  void DialogChar(TMessage& m) override;
  void FocusChanged(TMessage& m) override;
  void Dispatch(TMessage& m) override;

 private:
  // Our window system has no native window per control: a control "has its window" once
  // it lies in a form whose platform window exists.
  bool WindowCreated() const;
  // Each paints the face and answers the rectangle inside its edge.
  TRect PaintHotTrackFace(const TRect& client);
  TRect PaintClassicFace(const TRect& client);
  void PaintHotTrackRings(const TRect& face, TColor light, TColor dark);
  void PaintPlainFace(const TRect& face);
  void PaintDownPattern(const TRect& face);
  void BroadcastGroupPressed();
  void GroupButtonPressedMessage(TMessage& m);

  TAlignment FAlignment = taCenter;
  bool FCancel = false;
  bool FDefault = false;
  int FModalResult = 0;
  int FGroupIndex = 0;
  bool FDown = false;
  bool FAllowAllUp = false;
  bool FShowDownPattern = true;
  bool FShowFocusRect = true;
  bool FActiveDefault = false;
  bool FClicking = false;
  bool FSpaceSeen = false;
};

// The process-wide table of stock glyphs, one slot per kind, each loaded from the
// program's bitmap resources on first use and kept until the program ends.
class TKindGlyphCache {
 public:
  // A copy of the glyph of `kind` goes into `target`; bkCustom has none and leaves it alone.
  void CopyGlyph(TBitBtnKind kind, TBitmap& target);
  bool Loaded(TBitBtnKind kind) const { return FSlots[size_t(kind)] != nullptr; }

 private:
  std::array<std::unique_ptr<TBitmap>, 11> FSlots;
};
TKindGlyphCache& KindGlyphCache();

class TWkBitBtn : public TWkButton {
 public:
  VM_CLASS()
  explicit TWkBitBtn(TComponent* owner);
  ~TWkBitBtn() override;

  TBitmap* Glyph() const { return FGlyph.get(); }
  // Copies `value` and counts as a glyph of the user's own (the kind becomes custom).
  virtual void SetGlyph(TBitmap* value);
  int NumGlyphs() const { return FNumGlyphs; }
  virtual void SetNumGlyphs(int value);
  TButtonLayout Layout() const { return FLayout; }
  virtual void SetLayout(TButtonLayout value);
  int Margin() const { return FMargin; }
  virtual void SetMargin(int value);
  int Spacing() const { return FSpacing; }
  virtual void SetSpacing(int value);
  // A stock kind reads back only while the settings it made are unchanged.
  TBitBtnKind Kind() const;
  virtual void SetKind(TBitBtnKind value);
  TCustomImageList* Images() const { return FImages; }
  virtual void SetImages(TCustomImageList* value);
  int ImageIndex() const { return FImageIndex; }
  virtual void SetImageIndex(int value);
  int DisabledIndex() const { return FDisabledIndex; }
  virtual void SetDisabledIndex(int value);
  bool GlyphUserSet() const { return FGlyphUserSet; }

  TRect GetCaptionRect() const override;
  TSize GetGlyphSize() const;
  TRect GetGlyphRect() const;

  void Notification(TComponent* component, TOperation operation) override;

  bool StoredWhenCustom() const { return Kind() == bkCustom; }
  bool CaptionStored() const;

 protected:
  void DrawFaceContent() override;
  void ActionChange(TBasicAction* sender, bool checkDefaults) override;
  virtual void DrawImageListGlyph(const TRect& rect);
  virtual void DrawBitmapGlyph(const TRect& rect);
  void ChangeScale(int m, int d) override;

 private:
  bool ImageListGlyphApplies() const { return FImages != nullptr && FImageIndex != -1; }
  void GlyphChanged();
  void ImagesChanged();

  std::unique_ptr<TBitmap> FGlyph;
  int FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = 2;
  int FSpacing = 4;
  mutable TBitBtnKind FKind = bkCustom;
  TCustomImageList* FImages = nullptr;
  TChangeLink FImageChangeLink;
  int FImageIndex = -1;
  int FDisabledIndex = -1;
  bool FGlyphUserSet = false;
};

// Registers the push-button classes for streaming.
void RegisterPushButtonClasses();
