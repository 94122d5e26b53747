#pragma once
// The kit's check-style buttons. TWkCustomGlyphButton places a state glyph beside the
// caption and paints through an off-screen bitmap over a cached background, composing the
// glyph with its see-through, window-mask and anti-aliasing colours; TWkRadioButton is the
// radio button: checking it unchecks the other radio buttons of its parent and clicks it.
#include <memory>

#include "widgets/push_buttons.h"

class TWkCustomGlyphButton : public TWkCustomButton {
 public:
  VM_CLASS()
  explicit TWkCustomGlyphButton(TComponent* owner);

  // taRightJustify: glyph at the left, caption to its right; taLeftJustify: the reverse.
  TAlignment Alignment() const { return FAlignment; }
  virtual void SetAlignment(TAlignment value);
  virtual bool Checked() const { return false; }
  virtual void SetChecked(bool) {}
  TBitmap* CustomGlyphs() const { return FCustomGlyphs.get(); }
  virtual void SetCustomGlyphs(TBitmap* value);
  bool UseCustomGlyphs() const { return FUseCustomGlyphs; }
  virtual void SetUseCustomGlyphs(bool value);
  TColor FrameColor() const { return FFrameColor; }
  virtual void SetFrameColor(TColor value);
  TColor DisabledColor() const { return FDisabledColor; }
  virtual void SetDisabledColor(TColor value);
  TColor TransparentColor() const { return FTransparentColor; }
  virtual void SetTransparentColor(TColor value);
  TColor WinMaskColor() const { return FWinMaskColor; }
  virtual void SetWinMaskColor(TColor value);
  bool TabOnEnter() const { return FTabOnEnter; }
  void SetTabOnEnter(bool value) { FTabOnEnter = value; }
  void SetTransparent(bool value) override;

  int GlyphCellWidth() const { return FGlyphCellWidth; }
  int GlyphCellHeight() const { return FGlyphCellHeight; }
  int StateCount() const { return FStateCount; }
  bool BackgroundStale() const { return FBackgroundStale; }

  // "Flat", a property of older descriptions, turns HotTrack on or off.
  void DeclareStoredData(TFiler& filer) override;

  // Geometry, in client coordinates. Relayout sizes the glyph cell from the glyphs in use.
  void Relayout();
  TRect GlyphRect() const;
  TRect CaptionRect() const;
  // The focus frame round the caption: as wide as its text, at most the caption's width.
  TRect FocusFrameRect() const;
  TRect GetHotTrackRect() const override { return GlyphRect(); }

  // `color`, moved off the colours the composition treats specially (see-through, window
  // mask, and the grey of the frame) by adding 1 to its RGB value.
  TColor AvoidMaskColor(TColor color) const;
  // Fills `glyph` (sized to the glyph cell) with the picture of the current state.
  virtual void BuildStateGlyph(TBitmap& glyph) = 0;
  // Composes the state glyph onto `canvas` (the paint bitmap's) at the glyph rectangle.
  virtual void DrawStateGlyph(TCanvas& canvas);
  // Copies cell `index` of the custom glyph strip into `target`.
  void ExtractGlyphCell(int index, TBitmap& target) const;

 protected:
  void Paint() override;
  // State and focus changes paint at once, over the cached background.
  void InvalidateFace() override { PaintNow(); }
  void RepaintFace() override { PaintNow(); }
  void EraseBackground(TMessage& m) override;
  void EnabledChanged(TMessage& m) override;
  void ParentColorChanged(TMessage& m) override;
  void KeyPress(char& key) override;
  void Dispatch(TMessage& m) override;
  std::unique_ptr<TActionLink> CreateActionLink() override;
  // A linked action's checked state is taken unless only defaults apply and this is checked.
  void ActionChange(TBasicAction* sender, bool checkDefaults) override;
  void MarkBackgroundStale() { FBackgroundStale = true; }
  void SetStateCount(int value);

 private:
  void PaintNow();
  void CustomGlyphsChanged();

  int FGlyphCellWidth = 13;
  int FGlyphCellHeight = 13;
  int FStateCount = 2;
  std::unique_ptr<TBitmap> FCustomGlyphs;
  bool FUseCustomGlyphs = false;
  std::unique_ptr<TBitmap> FBackgroundCache;
  bool FBackgroundStale = true;
  TAlignment FAlignment = taRightJustify;
  TColor FFrameColor = clBtnShadow;
  TColor FDisabledColor = clBtnFace;
  TColor FTransparentColor = TColor(0x008080);
  TColor FWinMaskColor = TColor(0x00FF00);
  bool FTabOnEnter = false;
};

class TWkRadioButton : public TWkCustomGlyphButton {
 public:
  VM_CLASS()
  explicit TWkRadioButton(TComponent* owner);

  bool Checked() const override { return FChecked; }
  // Checking unchecks the parent's other radio buttons (silently), then clicks this one.
  void SetChecked(bool value) override;
  bool MouseSelecting() const { return FMouseSelecting; }
  // Not stored while a linked action supplies it.
  bool CheckedStored() const;

  void BuildStateGlyph(TBitmap& glyph) override;
  // The colour of template role `role` (0 to 12) in the current state.
  TColor RoleColor(int role) const;

 protected:
  void Press() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void FocusGained(TMessage& m) override;
  void DialogChar(TMessage& m) override;
  void DialogKey(TMessage& m) override;
  void Dispatch(TMessage& m) override;

 private:
  void BuildTemplateGlyph(TBitmap& glyph) const;

  bool FChecked = false;
  bool FMouseSelecting = false;
};

// Links a glyph button's checked state to its action's.
class TWkCheckedActionLink : public TWinControlActionLink {
 public:
  explicit TWkCheckedActionLink(TWkCustomGlyphButton* client);
  // Linked while the button is in step with the action.
  bool IsCheckedLinked() const override;
  void SetChecked(bool value) override;

 private:
  TWkCustomGlyphButton* FGlyphClient;
};

// Registers the radio-button classes for streaming.
void RegisterRadioButtonClasses();
