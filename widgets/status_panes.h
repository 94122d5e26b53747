#pragma once
// Status panes: small framed text fields drawn on the parent's surface. TWkPollingStatus
// panes share one polling timer (TWkPollingList); TWkClockStatus shows the local date and
// time and redraws its text at once, and only, when it changes. Every pane joins the
// shared blink timer (TWkBlinkingControlsList), which alternates the text colour of the
// panes that blink.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls/graphic_control.h"
#include "framework/core/date_time.h"
#include "widgets/frame_controller.h"
#include "widgets/frame_types.h"

class TTimer;

class TWkCustomStatusPane : public TGraphicControl, public TWkFrameControlled {
 public:
  VM_CLASS()
  explicit TWkCustomStatusPane(TComponent* owner);
  ~TWkCustomStatusPane() override;

  TColor FillColor() const { return FFillColor; }
  void SetFillColor(TColor value);
  TFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle value);
  TColor FlatColor() const { return FFlatColor; }
  void SetFlatColor(TColor value);
  int FlatColorAdjustment() const { return FFlatColorAdjustment; }
  void SetFlatColorAdjustment(int value);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  int CaptionOffset() const { return FCaptionOffset; }
  void SetCaptionOffset(int value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  int DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(int value);
  bool Blinking() const { return FBlinking; }
  void SetBlinking(bool value);
  TColor BlinkColor() const { return FBlinkColor; }
  void SetBlinkColor(TColor value);
  // Shared by every pane: they read and write the blinking list's phase lengths.
  uint16_t BlinkIntervalOn() const;
  void SetBlinkIntervalOn(uint16_t value);
  uint16_t BlinkIntervalOff() const;
  void SetBlinkIntervalOff(uint16_t value);
  TWkFrameController* FrameController() const { return FFrameController; }
  void SetFrameController(TWkFrameController* value);

  const std::string& PaneText() const { return FPaneText; }
  void SetPaneText(const std::string& value);
  TColor NormalTextColor() const { return FNormalTextColor; }
  TColor CurrentTextColor() const { return FCurrentTextColor; }

  // The width AutoSize gives for the current text (DefaultWidth when it is empty).
  virtual int GetPreferredWidth() const;
  // Where the text goes: the client rectangle inside the frame.
  virtual TRect GetTextRect() const;
  // The frame ring's rectangle: the pane less BorderWidth on every side.
  TRect FrameRect() const;
  void ApplyFrameController() override;
  // Takes the width of the text when AutoSize is on (not while loading).
  void Relayout();

  void AfterLoad() override;
  void Notification(TComponent* component, TOperation operation) override;

  TNotifyEvent FOnMouseEnter;
  TNotifyEvent FOnMouseLeave;

 protected:
  void Paint() override;
  virtual void DrawPaneFrame();
  // Draws `text` into the text rectangle on the pane's canvas, filling the rectangle
  // first, so it replaces what was there. Outside a paint the canvas draws on the screen
  // at once (nothing shows of a hidden pane).
  virtual void DrawPaneText(const std::string& text);
  virtual void SetBlinkPhase(bool showBlinkColor);

  void Dispatch(TMessage& message) override;
  void FontChanged(TMessage& message) override;
  void TextChanged(TMessage& message) override;
  void MouseEnter(TMessage& message) override;
  void MouseLeave(TMessage& message) override;

  std::string FPaneText;  // a clock keeps it in step with the text it drew

 private:
  void TakeFontColor();
  // The text shows in `color` from now on, at once.
  void ShowTextColor(TColor color);

  TColor FFillColor = clBtnFace;
  TFrameStyle FFrameStyle = fsFlat;
  TColor FFlatColor = clBtnShadow;
  int FFlatColorAdjustment = 30;
  int FBorderWidth = 1;
  TAlignment FAlignment = taLeftJustify;
  int FCaptionOffset = 2;
  bool FAutoSize = false;
  int FDefaultWidth = 40;
  bool FBlinking = false;
  TColor FBlinkColor = clHighlight;
  TWkFrameController* FFrameController = nullptr;
  TColor FNormalTextColor = clWindowText;
  TColor FCurrentTextColor = clWindowText;
};

class TWkPollingStatus : public TWkCustomStatusPane {
 public:
  VM_CLASS()
  explicit TWkPollingStatus(TComponent* owner);
  ~TWkPollingStatus() override;

  // Shared by every polling pane: they read and write the polling list's timer.
  bool Active() const;
  void SetActive(bool value);
  uint16_t Interval() const;
  void SetInterval(uint16_t value);

  // Called on every polling tick while the pane is visible.
  virtual void TimerExpired();

  TNotifyEvent FOnTimerExpired;
};

using TWkGetDateTimeEvent = TEvent<void(TObject*, TDateTime&)>;

class TWkClockStatus : public TWkPollingStatus {
 public:
  VM_CLASS()
  explicit TWkClockStatus(TComponent* owner);

  const std::string& Format() const { return FFormat; }
  void SetFormat(const std::string& value);
  const std::string& TimeText() const { return FTimeText; }

  // Formats the local time now and, when the text changed, draws it at once.
  void UpdateTime();
  void TimerExpired() override;
  void AfterLoad() override;

  TWkGetDateTimeEvent FOnGetDateTime;

 private:
  std::string FFormat;
  std::string FTimeText;
};

// The process-wide registrations behind the two shared timers.
class TWkPaneList {
 public:
  TWkPaneList();
  virtual ~TWkPaneList();
  TWkPaneList(const TWkPaneList&) = delete;
  TWkPaneList& operator=(const TWkPaneList&) = delete;

  virtual int PaneCount() const { return int(FPanes.size()); }
  void Add(TWkCustomStatusPane* pane);
  void Remove(TWkCustomStatusPane* pane);

 protected:
  // Visits the panes registered when the walk starts, in order, skipping any that left
  // meanwhile; stops when the list itself is destroyed by a visit (its last pane freed).
  template <class F>
  void ForEachPane(F&& visit);

 private:
  std::vector<TWkCustomStatusPane*> FPanes;
  std::shared_ptr<bool> FAlive;
};

class TWkPollingList : public TWkPaneList {
 public:
  TWkPollingList();
  ~TWkPollingList() override;

  virtual bool TimerEnabled() const;
  virtual void SetTimerEnabled(bool value);
  virtual uint16_t TimerPeriod() const;
  virtual void SetTimerPeriod(uint16_t value);
  void PollTick();

 private:
  std::unique_ptr<TTimer> FTimer;
};

class TWkBlinkingControlsList : public TWkPaneList {
 public:
  TWkBlinkingControlsList();
  ~TWkBlinkingControlsList() override;

  uint16_t BlinkIntervalOn() const { return FBlinkIntervalOn; }
  void SetBlinkIntervalOn(uint16_t value) { FBlinkIntervalOn = value; }
  uint16_t BlinkIntervalOff() const { return FBlinkIntervalOff; }
  void SetBlinkIntervalOff(uint16_t value) { FBlinkIntervalOff = value; }
  bool BlinkColorShown() const { return FBlinkColorShown; }
  int TimerPeriod() const;
  void BlinkTick();

 private:
  std::unique_ptr<TTimer> FTimer;
  uint16_t FBlinkIntervalOn = 500;
  uint16_t FBlinkIntervalOff = 500;
  bool FBlinkColorShown = true;
};

// The shared lists exist while a pane needs them: none before the first pane (polling
// pane) is created and after the last one is freed.
TWkPollingList* PollingList();
TWkBlinkingControlsList* BlinkingList();

// Makes the status panes and the frame controller known to the form loader.
void RegisterStatusPaneClasses();
