#include "framework/controls/custom_form.h"

#include "framework/controls/application.h"
#include "framework/controls/screen.h"
#include "framework/controls/window_system.h"
#include "framework/core/exceptions.h"
#include "framework/core/filer.h"
#include "framework/graphics/font.h"
#include "framework/port/backend_port.h"
#include "framework/typeinfo/class_info.h"

VM_ENUM_INFO(TFormBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin")
VM_ENUM_INFO(TPosition, "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
             "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter")
VM_ENUM_INFO(TWindowState, "wsNormal", "wsMinimized", "wsMaximized")
VM_ENUM_INFO(TCloseAction, "caNone", "caHide", "caFree", "caMinimize")

const TClassInfo& TCustomForm::ClassInfo() {
  static const TClassInfo info =
      DefineClass<TCustomForm, TWinControl>("TCustomForm")
          .Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle, Default(bsSizeable))
          .Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition, Default(poDesigned))
          .Property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState, Default(wsNormal))
          .Property("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth, StoredNever())
          .Property("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight, StoredNever())
          .Property("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch, NoDefault())
          .Property("OldCreateOrder", &TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder, Default(0))
          .Property("Visible", &TCustomForm::Visible, &TCustomForm::SetVisible, Default(0))
          .Property("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
          .Event("OnActivate", &TCustomForm::FOnActivate)
          .Event("OnDeactivate", &TCustomForm::FOnDeactivate)
          .Event("OnShow", &TCustomForm::FOnShow)
          .Event("OnHide", &TCustomForm::FOnHide)
          .Event("OnClose", &TCustomForm::FOnClose)
          .Event("OnCloseQuery", &TCustomForm::FOnCloseQuery);
  return info;
}

const TClassInfo& TForm::ClassInfo() {
  static const TClassInfo info = DefineClass<TForm, TCustomForm>("TForm");
  return info;
}

TCustomForm* GetParentForm(const TControl* control) {
  if (control == nullptr) return nullptr;
  while (control->Parent() != nullptr) control = control->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(control));
}

namespace {
TWindowFrame FrameOf(TFormBorderStyle style) {
  switch (style) {
    case bsNone: return TWindowFrame::None;
    case bsSingle: return TWindowFrame::Single;
    case bsDialog: return TWindowFrame::Dialog;
    case bsToolWindow: return TWindowFrame::ToolWindow;
    case bsSizeToolWin: return TWindowFrame::SizeableToolWindow;
    default: return TWindowFrame::Sizeable;
  }
}

TWindowShowState ShowStateOf(TWindowState state) {
  switch (state) {
    case wsMinimized: return TWindowShowState::Minimized;
    case wsMaximized: return TWindowShowState::Maximized;
    default: return TWindowShowState::Normal;
  }
}
}  // namespace

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  if (TScreen* screen = Screen()) screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  Destroying();
  FActiveControl = FFocusedControl = FEnteredControl = nullptr;
  if (TScreen* screen = Screen()) screen->RemoveForm(this);
  if (TApplication* app = Application()) app->FormDestroyed(this);
}

// ---- window ----

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
  FBorderStyle = value;
  if (PlatformWindow() != nullptr) PlatformWindow()->SetFrame(FrameOf(value));
}

void TCustomForm::SetWindowState(TWindowState value) {
  FWindowState = value;
  ApplyWindowState();
}

void TCustomForm::ApplyWindowState() {
  if (PlatformWindow() != nullptr) PlatformWindow()->SetShowState(ShowStateOf(FWindowState));
}

void TCustomForm::SetClientWidth(int value) { SetWidth(value); }
void TCustomForm::SetClientHeight(int value) { SetHeight(value); }

void TCustomForm::EnsurePlatformWindow() {
  TWindowSystem* ws = TWindowSystem::Current();
  if (PlatformWindow() != nullptr || ws == nullptr) return;
  if (FPosition == poScreenCenter || FPosition == poDesktopCenter || FPosition == poMainFormCenter) {
    const TSize screen = ws->Backend().ScreenSize();
    SetBounds((screen.cx - Width()) / 2, (screen.cy - Height()) / 2, Width(), Height());
  }
  CreatePlatformWindow(ws->Backend());
  PlatformWindow()->SetFrame(FrameOf(FBorderStyle));
  ApplyWindowState();
}

void TCustomForm::TextChanged(TMessage& m) {
  TWinControl::TextChanged(m);
  if (PlatformWindow() != nullptr) PlatformWindow()->SetCaption(Caption());
}

// A form read with Visible set is shown once loading has finished.
void TCustomForm::SetVisible(bool value) {
  if (ComponentState().Contains(csLoading)) {
    FLoadedVisible = value;
    return;
  }
  if (value == Visible()) return;
  if (value) EnsurePlatformWindow();
  else Deactivate();
  TWinControl::SetVisible(value);
  if (value) {
    FOnShow(this);
    return;
  }
  FOnHide(this);
  // The keyboard goes back to the main form, or else to any other form still usable.
  if (TScreen* screen = Screen(); screen != nullptr && screen->ActiveForm() == nullptr) {
    TApplication* app = Application();
    TCustomForm* main = app != nullptr ? app->MainForm() : nullptr;
    if (main != nullptr && main != this && main->Visible() && main->Enabled()) {
      main->Activate();
      return;
    }
    for (TCustomForm* f : screen->Forms())
      if (f != this && f->Visible() && f->Enabled()) {
        f->Activate();
        return;
      }
  }
}

void TCustomForm::Show() {
  SetVisible(true);
  if (PlatformWindow() != nullptr) PlatformWindow()->BringToFront();
  Activate();
}

// ---- closing ----

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  FOnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  TApplication* app = Application();
  if (app != nullptr && app->MainForm() == this) {
    app->Terminate();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree:
      Hide();
      // Destroyed from the loop, once the handler that closed it has returned.
      PostMessage(msgRelease);
      break;
    default: break;
  }
}

TModalResult TCustomForm::ShowModal() {
  TWindowSystem* ws = TWindowSystem::Current();
  if (Visible() || FModal || ws == nullptr) throw EInvalidOperation(rs::SCannotShowModal);
  ws->CancelCapture();
  TScreen* screen = Screen();
  TCustomForm* previous = screen != nullptr ? screen->ActiveForm() : nullptr;
  // Every other form ignores input while this one runs.
  std::vector<TCustomForm*> disabled;
  if (screen != nullptr)
    for (TCustomForm* f : screen->Forms())
      if (f != this && f->Visible() && f->Enabled()) {
        f->SetEnabled(false);
        disabled.push_back(f);
      }
  struct TRestore {
    TCustomForm* Self;
    std::vector<TCustomForm*>& Disabled;
    TCustomForm* Previous;
    ~TRestore() {
      Self->FModal = false;
      Self->Hide();
      TScreen* s = Screen();
      for (TCustomForm* f : Disabled)
        if (s != nullptr && std::find(s->Forms().begin(), s->Forms().end(), f) != s->Forms().end())
          f->SetEnabled(true);
      if (Previous != nullptr && s != nullptr &&
          std::find(s->Forms().begin(), s->Forms().end(), Previous) != s->Forms().end() && Previous->Visible())
        Previous->Activate();
    }
  } restore{this, disabled, previous};
  FModal = true;
  FModalResult = mrNone;
  Show();
  while (FModalResult == mrNone) {
    ws->HandleMessage();
    if (ws->Terminated() && FModalResult == mrNone) FModalResult = mrCancel;
  }
  return FModalResult;
}

// ---- messages ----

void TCustomForm::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case msgMouseActivate:
      if (!FActive && Visible() && Enabled()) Activate();
      return;
    // The desktop gave the form's window the keyboard; losing it changes nothing here,
    // since the forms hand the activation among themselves.
    case msgActivate:
      if (m.WParam != 0 && !FActive && Visible() && Enabled()) Activate();
      return;
    case msgClose: Close(); return;
    case msgRelease: delete this; return;
    default: TWinControl::Dispatch(m);
  }
}

// ---- stored values and scaling at load ----

void TCustomForm::DeclareStoredData(TFiler& filer) {
  TWinControl::DeclareStoredData(filer);
  filer.DeclareValueProperty(
      "TextHeight", [this](TReader& r) { FTextHeight = r.ReadInteger(); },
      [this](TWriter& w) { w.WriteInteger(FTextHeight); }, FTextHeight > 0);
}

void TCustomForm::ReadOwnState(TReader& reader) {
  FPixelsPerInch = 0;
  FTextHeight = 0;
  TWinControl::ReadOwnState(reader);
  ScaleForScreen();
}

void TCustomForm::ScaleForScreen() {
  // A stored resolution of zero or below is no design resolution: scaling by it would flip
  // the font's height.
  if (FPixelsPerInch <= 0 || FTextHeight <= 0) return;
  TScreen* screen = Screen();
  const int screenPpi = screen != nullptr ? screen->PixelsPerInch() : TFont::kPixelsPerInch;
  if (screenPpi != FPixelsPerInch) Font()->SetHeight(MulDiv(Font()->Height(), screenPpi, FPixelsPerInch));
  FPixelsPerInch = screenPpi;
  const std::optional<int> measured = screen != nullptr ? screen->FontLineHeight(*Font()) : std::nullopt;
  if (!measured || *measured <= 0 || *measured == FTextHeight) return;
  ScaleBy(*measured, FTextHeight);
  FTextHeight = *measured;
}

void TCustomForm::ScaleOwnBounds(int m, int d) {
  SetBounds(Left(), Top(), MulDiv(Width(), m, d), MulDiv(Height(), m, d));
}

void TCustomForm::AfterLoad() {
  TWinControl::AfterLoad();
  if (FLoadedVisible) {
    FLoadedVisible = false;
    SetVisible(true);
  }
}
