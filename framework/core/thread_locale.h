#pragma once
// The C locale for the calling thread while it lives. The C library's number and text
// functions read the process's locale, which the display's set-up changes for a moment on
// another thread at start-up; a thread reading or parsing meanwhile uses its own.
#include <locale.h>

class TThreadCLocale {
 public:
  TThreadCLocale() : FOwn(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr))) {
    if (FOwn != nullptr) FBefore = uselocale(FOwn);
  }
  ~TThreadCLocale() {
    if (FOwn == nullptr) return;
    uselocale(FBefore);
    freelocale(FOwn);
  }
  TThreadCLocale(const TThreadCLocale&) = delete;
  TThreadCLocale& operator=(const TThreadCLocale&) = delete;

 private:
  locale_t FOwn;
  locale_t FBefore = nullptr;
};
