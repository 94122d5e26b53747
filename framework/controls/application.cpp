#include "framework/controls/application.h"

#include "framework/controls/message_box.h"
#include "framework/controls/screen.h"
#include "framework/controls/window_system.h"
#include "framework/core/exceptions.h"
#include "framework/core/text.h"
#include "framework/port/backend_port.h"
#include "framework/typeinfo/class_info.h"

namespace {
TApplication*& CurrentApplication() {
  static TApplication* current = nullptr;
  return current;
}
}  // namespace

TApplication* Application() { return CurrentApplication(); }

const TClassInfo& TApplication::ClassInfo() {
  static const TClassInfo info = DefineClass<TApplication, TComponent>("TApplication");
  return info;
}

std::string TitleFromProgramPath(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  name = name.substr(0, name.find('.'));
  if (name.empty()) return {};
  return std::string(name.substr(0, 1)) + LowerCase(name.substr(1));
}

std::string ExceptionMessageText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
  if (CurrentApplication() != nullptr) throw EInvalidOperation(rs::SApplicationInstalled);
  CurrentApplication() = this;
}

TApplication::~TApplication() {
  Destroying();
  // The forms go while the window system and the screen they report to still exist.
  DestroyComponents();
  FScreen.reset();
  FWindowSystem.reset();
  CurrentApplication() = nullptr;
}

void TApplication::Initialize(TPlatformBackend& backend, std::string_view programPath) {
  if (FWindowSystem != nullptr) throw EInvalidOperation(rs::SApplicationInstalled);
  FWindowSystem = std::make_unique<TWindowSystem>(backend);
  FScreen = std::make_unique<TScreen>(backend);
  FWindowSystem->SetExceptionHandler([this](std::exception_ptr e) { HandleException(e); });
  FTitle = TitleFromProgramPath(programPath);
  if (!FIcon.Empty()) backend.SetIcon(&FIcon.Image());
}

void TApplication::SetIcon(const TBitmap& icon) {
  FIcon.CopyFrom(&icon);
  if (FWindowSystem != nullptr) FWindowSystem->Backend().SetIcon(&FIcon.Image());
}

TWindowSystem& TApplication::WindowSystem() const {
  if (FWindowSystem == nullptr) throw EInvalidOperation(rs::SWindowSystemMissing);
  return *FWindowSystem;
}

// ---- forms ----

void TApplication::FormCreated(TCustomForm* form) {
  if (FMainForm != nullptr) return;
  FMainForm = form;
  form->EnsurePlatformWindow();
}

void TApplication::FormDestroyed(TCustomForm* form) {
  if (FMainForm == form) FMainForm = nullptr;
}

// ---- the loop ----

void TApplication::Run() {
  TWindowSystem& ws = WindowSystem();
  if (FMainForm != nullptr) {
    // What the windows asked the loop for while they were made (the layouts their controls
    // put off) is done before the main window shows, so that its first frame is whole.
    ws.DeliverPostedMessages();
    const TShowCommand command = ws.Backend().StartupShowCommand();
    if (command == scShowMaximized) FMainForm->SetWindowState(wsMaximized);
    else if (command == scShowMinNoActive) FMainForm->SetWindowState(wsMinimized);
    FMainForm->SetVisible(true);
    if (command != scShowMinNoActive) FMainForm->Show();
  }
  while (!ws.Terminated()) ws.HandleMessage();
}

void TApplication::Terminate() { WindowSystem().Terminate(); }
bool TApplication::Terminated() const { return WindowSystem().Terminated(); }
void TApplication::ProcessMessages() { WindowSystem().ProcessMessages(); }
void TApplication::HandleMessage() { WindowSystem().HandleMessage(); }

// ---- failure reports ----

void TApplication::HandleException(std::exception_ptr failure) {
  // A control holding the mouse would otherwise keep it through the message box.
  if (FWindowSystem != nullptr) FWindowSystem->CancelCapture();
  try {
    std::rethrow_exception(failure);
  } catch (const EAbort&) {
  } catch (const Exception& e) {
    ShowException(e.Message());
  } catch (const std::exception& e) {
    ShowException(e.what());
  }
}

void TApplication::ShowException(const std::string& message) {
  MessageBox(ExceptionMessageText(message), FTitle, mbiError);
}

TModalResult TApplication::MessageBox(const std::string& text, const std::string& caption, TMessageBoxIcon icon) {
  TMessageBoxForm box(nullptr, text, caption, icon);
  return box.ShowModal();
}
