#pragma once
// The root of the object model: every streamable class has a class info.
#include <string>

class TClassInfo;
class TFiler;

// Declares a class's class info; place in the public section of every described class.
#define VM_CLASS()                          \
  static const TClassInfo& ClassInfo();     \
  const TClassInfo& GetClassInfo() const override { return ClassInfo(); }

class TObject {
 public:
  virtual ~TObject() = default;
  static const TClassInfo& ClassInfo();
  virtual const TClassInfo& GetClassInfo() const { return ClassInfo(); }
  const std::string& ClassName() const;
  bool InheritsFrom(const TClassInfo& cls) const;
};

// An object whose state can be copied from another and streamed.
class TPersistent : public TObject {
 public:
  VM_CLASS()
  // Takes the state of `source`; a source that cannot give it raises EConvertError.
  virtual void CopyFrom(const TPersistent* source);
  // Declares stored values that are not published properties.
  virtual void DeclareStoredData(TFiler& filer);

 protected:
  // Gives this object's state to `dest`; the base raises EConvertError.
  virtual void CopyTo(TPersistent* dest) const;
  // Raises the conversion failure for copying `source` (or nothing) into this object.
  [[noreturn]] void CopyError(const TPersistent* source) const;
};

// A persistent object that is reference-counted when used through an interface;
// owned plainly here, so it only marks the base of the graphic classes.
class TInterfacedPersistent : public TPersistent {
 public:
  VM_CLASS()
};
