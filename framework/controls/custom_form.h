#pragma once
// TCustomForm / TForm: a top-level window with a frame, a caption and the keyboard
// focus of the controls inside it. The form routes dialog keys and accelerators to its
// controls, closes through the close query and close action, runs modally, and adapts
// the sizes stored in its form description to the screen's text metrics after reading.
#include <string>

#include "framework/controls/win_control.h"

class TCustomForm;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
VM_DECLARE_ENUM(TFormBorderStyle);
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
VM_DECLARE_ENUM(TPosition);
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
VM_DECLARE_ENUM(TWindowState);
enum TCloseAction { caNone, caHide, caFree, caMinimize };
VM_DECLARE_ENUM(TCloseAction);

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;

using TCloseEvent = TEvent<void(TObject*, TCloseAction&)>;
using TCloseQueryEvent = TEvent<void(TObject*, bool&)>;

// The form a control lies in: its top-level window when that is a form.
TCustomForm* GetParentForm(const TControl* control);

class TCustomForm : public TWinControl {
 public:
  VM_CLASS()
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition value) { FPosition = value; }
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState value);
  // The client area is the whole window: the platform draws the frame outside it.
  void SetClientWidth(int value);
  void SetClientHeight(int value);
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int value) { FPixelsPerInch = value; }
  // The design-time height of a line of the form's font ("TextHeight" in the stream).
  int TextHeight() const { return FTextHeight; }
  void SetTextHeight(int value) { FTextHeight = value; }
  bool OldCreateOrder() const { return FOldCreateOrder; }
  void SetOldCreateOrder(bool value) { FOldCreateOrder = value; }

  // Showing. A form's platform window is made when it is first shown (or by the
  // application for its main form); Show also activates it.
  void SetVisible(bool value) override;
  void Show();
  void Hide() { SetVisible(false); }
  void EnsurePlatformWindow();

  // Closing: modal forms answer with mrCancel; others ask CloseQuery, choose caHide, let
  // OnClose change it, then end the application (main form), hide, minimise or free.
  void Close();
  virtual bool CloseQuery();
  // Runs a message loop until ModalResult is set; answers it.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult value) { FModalResult = value; }
  bool Modal() const { return FModal; }

  // Focus. ActiveControl is the control that has (or gets, once the form is active) the focus.
  bool Active() const { return FActive; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* control);
  // The control with the keyboard focus while the form is active; none otherwise.
  TWinControl* FocusedControl() const { return FActive ? FFocusedControl : nullptr; }
  void FocusControl(TWinControl* control);
  // Moves the focus out of `control` (which is being hidden, disabled or removed).
  void DefocusControl(TWinControl* control, bool removing);
  // Makes this the active form; the first focusable control in tab order takes the
  // focus when none is active yet.
  void Activate();
  void Deactivate();
  void SetFocus() override;
  // Sends the focus-changed notification to every control again (a default button changed).
  void BroadcastFocusChanged();

  // With KeyPreview the form's key handling sees every key before the focused control.
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool value) { FKeyPreview = value; }

  // Keyboard routing, called by the focused control for keys it did not use.
  bool OfferDialogKey(int key, TShiftState shift);
  bool OfferDialogChar(char c, TShiftState shift);

  void DeclareStoredData(TFiler& filer) override;
  void ReadOwnState(TReader& reader) override;
  void AfterLoad() override;

  TNotifyEvent FOnActivate;
  TNotifyEvent FOnDeactivate;
  TNotifyEvent FOnShow;
  TNotifyEvent FOnHide;
  TCloseEvent FOnClose;
  TCloseQueryEvent FOnCloseQuery;

 protected:
  virtual void DoClose(TCloseAction& action) { FOnClose(this, action); }
  void Dispatch(TMessage& m) override;
  void TextChanged(TMessage& m) override;
  // After the stream is read: scale by pixels per inch and by the measured text height.
  virtual void ScaleForScreen();
  // A form keeps its screen position when scaled; only its client size changes.
  void ScaleOwnBounds(int m, int d) override;

 private:
  void SetFocusedControl(TWinControl* control);
  void SendEnterExit(TWinControl* oldControl, TWinControl* newControl);
  void ApplyWindowState();
  void SelectFirst();
  void Broadcast(TMessage& m, TControl* skip);

  TFormBorderStyle FBorderStyle = bsSizeable;
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  int FPixelsPerInch = 0;
  int FTextHeight = 0;
  bool FOldCreateOrder = false;
  bool FKeyPreview = false;
  bool FLoadedVisible = false;
  TModalResult FModalResult = mrNone;
  bool FModal = false;
  bool FActive = false;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  // The control whose enter notifications were last sent (for the exit/enter chain).
  TWinControl* FEnteredControl = nullptr;
};

// The form class that form descriptions derive from; the loader stops at it.
class TForm : public TCustomForm {
 public:
  VM_CLASS()
  using TCustomForm::TCustomForm;
};
