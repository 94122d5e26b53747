#pragma once
// The exception hierarchy. Every exception carries the message the user is shown.
#include <stdexcept>
#include <string>

#include "framework/core/resource_strings.h"

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  template <class... Args>
  Exception(const char* fmt, const Args&... args) : FMessage(Format(fmt, args...)) {}
  const char* what() const noexcept override { return FMessage.c_str(); }
  const std::string& Message() const { return FMessage; }
  void SetMessage(std::string m) { FMessage = std::move(m); }

 private:
  std::string FMessage;
};

#define VM_EXCEPTION(Name, Base)        \
  class Name : public Base {            \
   public:                              \
    using Base::Base;                   \
  }

// The silent exception: the application drops it without a message.
VM_EXCEPTION(EAbort, Exception);
VM_EXCEPTION(EConvertError, Exception);
VM_EXCEPTION(EPropertyError, Exception);
VM_EXCEPTION(EListError, Exception);
VM_EXCEPTION(EInvalidOperation, Exception);
VM_EXCEPTION(EOutOfResources, Exception);
VM_EXCEPTION(EStreamError, Exception);
VM_EXCEPTION(EFilerError, EStreamError);
VM_EXCEPTION(EReadError, EFilerError);
VM_EXCEPTION(EWriteError, EFilerError);
VM_EXCEPTION(EClassNotFound, EFilerError);
VM_EXCEPTION(EResNotFound, Exception);
VM_EXCEPTION(EComponentError, Exception);
VM_EXCEPTION(EInvalidGraphic, Exception);
VM_EXCEPTION(EInvalidGraphicOperation, Exception);

// A libjpeg failure; Code is the library's message code.
class EJPEG : public EInvalidGraphic {
 public:
  explicit EJPEG(int code) : EInvalidGraphic(rs::SJPEGError, code), Code(code) {}
  int Code;
};
