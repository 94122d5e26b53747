#pragma once
// TApplication: the program's object. It installs the window system and the screen over
// a backend, creates the forms (the first becomes the main form), runs the message loop
// and reports exceptions that escape a message's handling. While it lives, Application()
// answers it.
#include <memory>
#include <string>
#include <string_view>

#include "framework/controls/custom_form.h"
#include "framework/graphics/bitmap.h"

class TPlatformBackend;
class TScreen;
class TWindowSystem;

// Message box styles: the icon shown beside the text.
enum TMessageBoxIcon { mbiNone, mbiError, mbiWarning, mbiInformation };

// The title a program gets from its file: the name after the last path separator, cut
// at its first ".", every character after the first in lower case.
std::string TitleFromProgramPath(std::string_view path);
// The text an exception's message is shown with: a "." is added when the message is
// not empty and its last character sorts after ".".
std::string ExceptionMessageText(const std::string& message);

class TApplication : public TComponent {
 public:
  VM_CLASS()
  explicit TApplication(TComponent* owner = nullptr);
  ~TApplication() override;

  // Installs the window system and the screen; the title comes from `programPath`.
  void Initialize(TPlatformBackend& backend, std::string_view programPath);
  TWindowSystem& WindowSystem() const;

  // Constructs a form owned by the application into `reference`. The first form becomes
  // the main form and gets its platform window at once. When the constructor fails the
  // reference stays empty and the failure passes on.
  template <class F>
  void CreateForm(F*& reference) {
    reference = nullptr;
    F* form = new F(this);
    reference = form;
    FormCreated(form);
  }
  TCustomForm* MainForm() const { return FMainForm; }

  // Shows the main form as the show command says, then handles messages until Terminate.
  void Run();
  void Terminate();
  bool Terminated() const;
  void ProcessMessages();
  // Waits for and handles the next message.
  void HandleMessage();

  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& value) { FTitle = value; }
  const TBitmap& Icon() const { return FIcon; }
  // Every window of the program shows it (the backend gets it now or at Initialize).
  void SetIcon(const TBitmap& icon);

  // Reports the exception the loop caught: EAbort silently, any other in an error box.
  void HandleException(std::exception_ptr failure);
  void ShowException(const std::string& message);
  // Shows a modal message box titled `caption`; answers how it was closed.
  virtual TModalResult MessageBox(const std::string& text, const std::string& caption, TMessageBoxIcon icon);

  // Called by forms.
  void FormCreated(TCustomForm* form);
  void FormDestroyed(TCustomForm* form);

 private:
  std::unique_ptr<TWindowSystem> FWindowSystem;
  std::unique_ptr<TScreen> FScreen;
  TCustomForm* FMainForm = nullptr;
  std::string FTitle;
  TBitmap FIcon;
};

// The living application, or none.
TApplication* Application();
