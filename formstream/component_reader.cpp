// TStreamReader: component records, properties by kind, class lookup and fixups.
#include <algorithm>
#include <new>
#include <stdexcept>
#include <utility>

#include "framework/core/component.h"
#include "framework/core/exceptions.h"
#include "framework/core/text.h"
#include "framework/typeinfo/class_info.h"
#include "framework/typeinfo/class_registry.h"
#include "framework/typeinfo/ident_maps.h"
#include "formstream/collection.h"
#include "formstream/loader.h"
#include "formstream/stream_reader.h"
#include "formstream/value_codec.h"

namespace {
// Bounds nesting (components, collections) so that a damaged stream cannot recurse without end.
class TDepthGuard {
 public:
  explicit TDepthGuard(int& depth) : FDepth(depth) {
    if (++FDepth > TStreamReader::kMaxDepth) {
      --FDepth;
      throw EReadError(rs::SInvalidStreamFormat);
    }
  }
  ~TDepthGuard() { --FDepth; }

 private:
  int& FDepth;
};

std::string DisplayName(const TPersistent& instance) {
  auto* component = dynamic_cast<const TComponent*>(&instance);
  if (component != nullptr && !component->Name().empty()) return component->Name();
  return instance.ClassName();
}

const TClassInfo* FindFieldClass(const TComponent& root, const std::string& className) {
  for (const TClassInfo* c = &root.GetClassInfo(); c != nullptr; c = c->Parent)
    for (const TFieldInfo& f : c->Fields)
      if (SameText(f.FieldClass().Name, className)) return &f.FieldClass();
  return nullptr;
}

// The message a failure is reported with. A failure of the language's own library (memory,
// a container length) is reported like the framework's own shortage of resources.
std::string FailureMessage(const std::exception& e) {
  if (auto* own = dynamic_cast<const Exception*>(&e)) return own->Message();
  if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr || dynamic_cast<const std::length_error*>(&e) != nullptr)
    return rs::SOutOfResources;
  return e.what();
}

// Passes a failure on as the framework's exception, so callers need catch only those.
[[noreturn]] void RaiseAsFrameworkError(const std::exception& e) {
  if (dynamic_cast<const Exception*>(&e) != nullptr) throw;
  if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr || dynamic_cast<const std::length_error*>(&e) != nullptr)
    throw EOutOfResources(rs::SOutOfResources);
  throw EReadError(e.what());
}

// A published field of the owner named like the component but of another class would stay
// empty: code using it would fail later, far from the stream that caused it.
void CheckFieldBinding(const TComponent& component) {
  const TComponent* owner = component.Owner();
  if (owner == nullptr || component.Name().empty()) return;
  const TFieldInfo* field = owner->GetClassInfo().FindField(component.Name());
  if (field != nullptr && field->Get(*owner) != &component)
    throw EReadError(rs::SFieldClassMismatch, component.Name(), component.ClassName(), field->FieldClass().Name);
}

bool IsSubComponentProp(const TPersistent& instance, const TPropInfo& prop) {
  if (prop.PropType->Kind != TTypeKind::Class) return false;
  TValue v = prop.Get(instance);
  auto* held = std::get_if<TObject*>(&v);
  auto* component = held ? dynamic_cast<TComponent*>(*held) : nullptr;
  return component != nullptr && component->ComponentStyle().Contains(csSubComponent);
}
}  // namespace

bool TStreamReader::ContinueAfterError(const std::string& message) { return OnError && OnError(message); }

void TStreamReader::ReadRootComponent(TComponent& root) {
  ReadSignature();
  int flags = 0, childPos = 0;
  ReadPrefix(flags, childPos);
  root.SetComponentState(csLoading, true);
  root.SetComponentState(csReading, true);
  try {
    ReadStr();  // the class name; the object is given
    root.SetName(UniqueRootName(ReadStr(), &root));
    AddLoadedRoot(&root);
    FRoot = FLookupRoot = FOwner = &root;
    std::vector<TComponent*>* scopeList = TLoadingScope::Current();
    FLoaded = scopeList ? scopeList : &FOwnLoaded;
    AddLoaded(&root, true);
    root.ReadOwnState(*this);
    root.SetComponentState(csReading, false);
    if (!scopeList) {
      for (size_t i = 0; i < FOwnLoaded.size(); ++i) FOwnLoaded[i]->AfterLoad();
      FOwnLoaded.clear();
    }
    ResolveGlobalFixups([this](const std::string& message) { return ContinueAfterError(message); });
  } catch (...) {
    root.SetComponentState(csReading, false);
    RemoveGlobalFixups(&root);
    ForgetLoaded(root);
    throw;
  }
}

// The window that failed is freed by its constructor with all it owns: nothing of it may
// stay in a loading scope that outlives this read.
void TStreamReader::ForgetLoaded(TComponent& root) {
  auto ownedByRoot = [&root](const TComponent* c) {
    for (; c != nullptr; c = c->Owner())
      if (c == &root) return true;
    return false;
  };
  std::erase_if(*FLoaded, ownedByRoot);
}

void TStreamReader::ReadComponentData(TComponent& component) {
  bool outermost = !FReadingFixupScope;
  FReadingFixupScope = true;
  TComponent* oldParent = FParent;
  TComponent* oldOwner = FOwner;
  TComponent* oldHolder = std::exchange(FHolder, &component);
  try {
    while (!EndOfList()) ReadProperty(component);
    ReadListEnd();
    FHolder = oldHolder;
    FParent = component.GetChildParent();
    FOwner = component.GetChildOwner();
    if (FOwner == nullptr) FOwner = oldOwner;
    while (!EndOfList()) ReadComponent();
    ReadListEnd();
    FParent = oldParent;
    FOwner = oldOwner;
    if (outermost) ResolveFixups();
  } catch (...) {
    FParent = oldParent;
    FOwner = oldOwner;
    FHolder = oldHolder;
    if (outermost) FFixups.clear();
    if (outermost) FReadingFixupScope = false;
    throw;
  }
  if (outermost) FReadingFixupScope = false;
}

TComponent* TStreamReader::ReadComponent() {
  TDepthGuard depth(FDepth);
  int flags = 0, childPos = 0;
  ReadPrefix(flags, childPos);
  std::string className = ReadStr();
  std::string name = ReadStr();
  int64_t bodyStart = Position();
  size_t fixupMark = FFixups.size();
  size_t loadedMark = FLoaded->size();
  TComponent* oldParent = FParent;
  TComponent* component = nullptr;
  bool created = false;
  try {
    if (flags & ffInherited) {
      component = FindAncestorComponent(name, className);
    } else {
      component = CreateComponent(className, flags);
      created = true;
    }
    component->SetComponentState(csLoading, true);
    if (created) {
      component->SetParentComponent(FParent);
      SetComponentName(*component, name);
    }
    ReadComponentBody(*component, flags, childPos);
    FParent = oldParent;  // an inherited record read inside its own parent
  } catch (const std::exception& e) {
    if (created) delete component;
    // What was read inside the record may point into the freed component.
    FFixups.erase(FFixups.begin() + ptrdiff_t(fixupMark), FFixups.end());
    FLoaded->resize(loadedMark);
    FParent = oldParent;
    if (!ContinueAfterError(FailureMessage(e))) RaiseAsFrameworkError(e);
    SetPosition(bodyStart);
    SkipComponent(false);
    return nullptr;
  }
  return component;
}

void TStreamReader::ReadComponentBody(TComponent& component, int flags, int childPos) {
  TComponent* oldLookupRoot = FLookupRoot;
  if (component.ComponentState().Contains(csInline)) FLookupRoot = &component;
  component.SetComponentState(csReading, true);
  try {
    component.ReadOwnState(*this);
  } catch (...) {
    component.SetComponentState(csReading, false);
    FLookupRoot = oldLookupRoot;
    throw;
  }
  component.SetComponentState(csReading, false);
  FLookupRoot = oldLookupRoot;
  if ((flags & ffChildPos) && FParent != nullptr) FParent->SetChildOrder(&component, childPos);
  AddLoaded(&component, (flags & ffInherited) || component.ComponentState().Contains(csInline));
}

void TStreamReader::AddLoaded(TComponent* component, bool once) {
  if (once && std::find(FLoaded->begin(), FLoaded->end(), component) != FLoaded->end()) return;
  FLoaded->push_back(component);
}

void TStreamReader::SkipComponent(bool skipHeader) {
  TDepthGuard depth(FDepth);
  if (skipHeader) {
    int flags = 0, childPos = 0;
    ReadPrefix(flags, childPos);
    ReadStr();
    ReadStr();
  }
  SkipPropertyList();
  while (!EndOfList()) SkipComponent(true);
  ReadListEnd();
}

const TClassInfo& TStreamReader::FindComponentClass(const std::string& className) {
  auto fromRoot = [&className](const TComponent* root) -> const TClassInfo* {
    if (root == nullptr) return nullptr;
    const TClassInfo* cls = FindFieldClass(*root, className);
    return cls ? cls : LookupStreamClass(className);
  };
  const TClassInfo* cls = FRoot ? fromRoot(FRoot) : LookupStreamClass(className);
  if (cls == nullptr && FLookupRoot != FRoot) cls = fromRoot(FLookupRoot);
  if (cls == nullptr && OnFindComponentClass) cls = OnFindComponentClass(className);
  if (cls == nullptr || !cls->InheritsFrom(TComponent::ClassInfo())) throw EClassNotFound(rs::SClassNotFound, className);
  return *cls;
}

TComponent* TStreamReader::CreateComponent(const std::string& className, int flags) {
  const TClassInfo& cls = FindComponentClass(className);
  TComponent* component = OnCreateComponent ? OnCreateComponent(cls) : nullptr;
  if (component == nullptr) {
    TObject* made = cls.Create ? cls.Create(FOwner) : nullptr;
    component = dynamic_cast<TComponent*>(made);
    if (component == nullptr) {
      delete made;
      throw EClassNotFound(rs::SClassNotFound, className);  // an abstract class
    }
  }
  if (flags & ffInline) {
    component->SetComponentState(csLoading, true);
    component->SetComponentState(csInline, true);
  }
  return component;
}

TComponent* TStreamReader::FindAncestorComponent(const std::string& name, const std::string& className) {
  TComponent* component = FLookupRoot ? FLookupRoot->FindComponent(name) : nullptr;
  if (component == nullptr && OnAncestorNotFound) component = OnAncestorNotFound(name, className);
  if (component == nullptr) throw EReadError(rs::SAncestorNotFound, name);
  FParent = component->GetParentComponent();
  if (FParent == nullptr) FParent = FRoot;
  return component;
}

void TStreamReader::SetComponentName(TComponent& component, std::string name) {
  if (OnSetName) OnSetName(component, name);
  component.SetName(name);
  CheckFieldBinding(component);
}

void TStreamReader::ReadProperty(TPersistent& instance) {
  std::string storedName;
  int64_t valueStart = -1;
  try {
    storedName = ReadStr();
    valueStart = Position();
    FPropName = storedName;
    FCanHandleExcepts = true;
    ReadPropertyPath(instance);
  } catch (const std::exception& e) {
    // Cut inside the name itself: there is no property to name.
    if (valueStart < 0) RaiseAsFrameworkError(e);
    // Item properties are reported by the collection's property, once.
    if (FItemDepth > 0) RaiseAsFrameworkError(e);
    EReadError wrapped(rs::SPropertyException, DisplayName(instance), std::string("."), storedName, FailureMessage(e));
    // Recovery restarts from the value's first byte, so a partly read value cannot derail the stream.
    if (!FCanHandleExcepts || !ContinueAfterError(wrapped.Message())) throw wrapped;
    SetPosition(valueStart);
    SkipValue();
  }
}

void TStreamReader::ReadPropertyPath(TPersistent& instance) {
  TPersistent* current = &instance;
  std::string path = FPropName;
  size_t start = 0;
  for (size_t dot = path.find('.'); dot != std::string::npos; dot = path.find('.', start)) {
    std::string segment = path.substr(start, dot - start);
    if (segment.empty()) throw EReadError(rs::SInvalidPropertyPath);
    const TPropInfo* prop = current->GetClassInfo().FindProperty(segment);
    if (prop == nullptr) throw EReadError(rs::SUnknownProperty, segment);
    if (prop->PropType->Kind != TTypeKind::Class) throw EReadError(rs::SInvalidPropertyPath);
    TValue held = prop->Get(*current);
    auto* object = std::get_if<TObject*>(&held);
    current = object ? dynamic_cast<TPersistent*>(*object) : nullptr;
    if (current == nullptr) throw EReadError(rs::SInvalidPropertyPath);
    start = dot + 1;
  }
  FPropName = path.substr(start);
  // An empty name would match nothing and consume nothing: the value would be read as the
  // next property's name.
  if (FPropName.empty()) throw EReadError(rs::SInvalidPropertyPath);
  if (const TPropInfo* prop = current->GetClassInfo().FindProperty(FPropName)) {
    ReadPropValue(*current, *prop);
    return;
  }
  // Not published: the object may declare it. Until a reading routine runs, a failure
  // here leaves the stream position unknown, so it cannot be continued after.
  FCanHandleExcepts = false;
  current->DeclareStoredData(*this);
  FCanHandleExcepts = true;
  if (!FPropName.empty()) throw EReadError(rs::SUnknownProperty, FPropName);
}

void TStreamReader::ReadPropValue(TPersistent& instance, const TPropInfo& prop) {
  // Without a writer a value can still go into the object the property holds: a
  // sub-component, or a collection read in place.
  bool inPlace = prop.PropType->Kind == TTypeKind::Class &&
                 (IsSubComponentProp(instance, prop) || NextValue() == TValueType::vaCollection);
  if (prop.IsReadOnly() && !inPlace) throw EReadError(rs::SReadOnlyProperty);
  switch (prop.PropType->Kind) {
    case TTypeKind::Integer:
    case TTypeKind::Char:
    case TTypeKind::Enumeration:
    case TTypeKind::Set: ReadOrdinalProp(instance, prop); break;
    case TTypeKind::Float: prop.Set(instance, TValue(ReadFloat())); break;
    case TTypeKind::String: prop.Set(instance, TValue(ReadString())); break;
    case TTypeKind::WString: prop.Set(instance, TValue(ReadWideString())); break;
    case TTypeKind::Int64: prop.Set(instance, TValue(ReadInt64())); break;
    case TTypeKind::Class: ReadObjectProp(instance, prop); break;
    case TTypeKind::Method: ReadMethodProp(instance, prop); break;
    case TTypeKind::Variant: ReadVariantProp(instance, prop); break;
    case TTypeKind::Interface:
      if (NextValue() == TValueType::vaNil) {
        ReadValue();
        prop.Set(instance, TValue(static_cast<TObject*>(nullptr)));
      } else {
        ReadReferenceProp(instance, prop, true);
      }
      break;
  }
}

void TStreamReader::ReadOrdinalProp(TPersistent& instance, const TPropInfo& prop) {
  const TTypeInfo& type = *prop.PropType;
  int64_t value = 0;
  switch (type.Kind) {
    case TTypeKind::Integer:
      if (NextValue() == TValueType::vaIdent) {
        TIdentToInt toInt = FindIdentToInt(type);
        auto mapped = toInt ? toInt(ReadIdent()) : std::nullopt;
        if (!mapped) InvalidValue();
        value = *mapped;
      } else {
        value = ReadInt64();
      }
      // A value the property cannot hold would be cut to its width and load as another.
      if (type.MinValue < type.MaxValue && (value < type.MinValue || value > type.MaxValue)) InvalidValue();
      break;
    case TTypeKind::Char: value = uint8_t(ReadChar()); break;
    case TTypeKind::Enumeration:
      // An unknown name is rejected, as the set reader does, rather than stored out of range.
      value = type.EnumValue(ReadIdent());
      if (value < 0) InvalidValue();
      break;
    default: value = ReadSetValue(prop); break;
  }
  prop.Set(instance, TValue(value));
}

int64_t TStreamReader::ReadSetValue(const TPropInfo& prop) {
  if (ReadValue() != TValueType::vaSet) InvalidValue();
  uint32_t bits = 0;
  for (std::string name = ReadStr(); !name.empty(); name = ReadStr()) {
    int element = prop.PropType->ElementType->EnumValue(name);
    if (element < 0 || element > 31) {
      SkipSetNames();
      InvalidValue();
    }
    bits |= uint32_t(1) << element;
  }
  return int64_t(bits);
}

void TStreamReader::ReadObjectProp(TPersistent& instance, const TPropInfo& prop) {
  TValueType tag = NextValue();
  if (tag == TValueType::vaCollection) {
    ReadValue();
    TValue held = prop.Get(instance);
    auto* object = std::get_if<TObject*>(&held);
    auto* collection = object ? dynamic_cast<TCollection*>(*object) : nullptr;
    if (collection == nullptr) InvalidValue();
    ReadCollection(*collection);
  } else if (prop.IsReadOnly()) {
    SkipValue();  // a sub-component: the property keeps addressing it
  } else if (tag == TValueType::vaNil) {
    ReadValue();
    prop.Set(instance, TValue(static_cast<TObject*>(nullptr)));
  } else {
    ReadReferenceProp(instance, prop, false);
  }
}

void TStreamReader::ReadReferenceProp(TPersistent& instance, const TPropInfo& prop, bool isInterface) {
  TPropFixup fixup;
  fixup.Instance = &instance;
  fixup.Prop = &prop;
  fixup.Root = FRoot;
  fixup.Holder = FHolder;
  fixup.Name = ReadIdent();
  fixup.Interface = isInterface;
  FFixups.push_back(std::move(fixup));
}

void TStreamReader::ReadMethodProp(TPersistent& instance, const TPropInfo& prop) {
  if (NextValue() == TValueType::vaNil) {
    ReadValue();
    prop.Set(instance, TValue(TMethod{}));
    return;
  }
  std::string name = ReadIdent();
  const TMethodInfo* method = nullptr;
  if (FRoot != nullptr) method = OnFindMethod ? OnFindMethod(*FRoot, name) : FRoot->GetClassInfo().FindMethod(name);
  if (method == nullptr) InvalidValue();
  prop.Set(instance, TValue(TMethod{FRoot, method}));
}

void TStreamReader::ReadVariantProp(TPersistent& instance, const TPropInfo& prop) {
  TValue value;
  TValueType tag = ReadValue();
  switch (tag) {
    case TValueType::vaNull:
    case TValueType::vaNil: break;
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
    case TValueType::vaInt64: value = ReadIntegerPayload(tag); break;
    case TValueType::vaFalse: value = int64_t(0); break;
    case TValueType::vaTrue: value = int64_t(1); break;
    case TValueType::vaExtended: value = ReadExtendedPayload(); break;
    case TValueType::vaSingle: value = double(ReadSinglePayload()); break;
    case TValueType::vaCurrency: value = double(ReadCurrencyPayload()) / 10000.0; break;
    case TValueType::vaDate: value = ReadDatePayload(); break;
    case TValueType::vaString: value = ReadStr(); break;
    case TValueType::vaLString: value = ReadLongStringPayload(); break;
    case TValueType::vaWString: value = ReadWideStringPayload(); break;
    case TValueType::vaUTF8String: value = Utf8ToWide(ReadUtf8Payload()); break;
    default: throw EReadError(rs::SReadError);  // custom variant types are not known here
  }
  prop.Set(instance, value);
}

void TStreamReader::ReadCollection(TCollection& collection) {
  TDepthGuard depth(FDepth);
  collection.BeginUpdate();
  try {
    if (!EndOfList()) {
      // Items read before (the property stored twice) may have references pending.
      std::erase_if(FFixups, [&collection](const TPropFixup& f) {
        auto* item = dynamic_cast<TCollectionItem*>(f.Instance);
        return item != nullptr && item->Collection() == &collection;
      });
      collection.Clear();
    }
    while (!EndOfList()) {
      TValueType tag = NextValue();
      if (tag == TValueType::vaInt8 || tag == TValueType::vaInt16 || tag == TValueType::vaInt32)
        ReadInteger();  // the item's order value: items are added in stream order
      ReadListBegin();
      TCollectionItem* item = collection.Add();
      ++FItemDepth;
      try {
        while (!EndOfList()) ReadProperty(*item);
      } catch (...) {
        --FItemDepth;
        throw;
      }
      --FItemDepth;
      ReadListEnd();
    }
    ReadListEnd();
  } catch (...) {
    collection.EndUpdate();
    throw;
  }
  collection.EndUpdate();
}

void TStreamReader::ResolveFixups() {
  std::vector<TPropFixup> fixups = std::move(FFixups);
  FFixups.clear();
  for (TPropFixup& fixup : fixups) {
    if (OnReferenceName) OnReferenceName(fixup.Name);
    TComponent* target = FindNestedComponent(fixup.Root, fixup.Name);
    size_t dot = fixup.Name.find('.');
    if (target == nullptr && dot != std::string::npos) {
      fixup.RootName = fixup.Name.substr(0, dot);
      fixup.Name = fixup.Name.substr(dot + 1);
      AddGlobalFixup(fixup);
      continue;
    }
    try {
      ApplyFixup(fixup, target);
    } catch (const Exception& e) {
      EReadError wrapped(rs::SPropertyException, DisplayName(*fixup.Instance), std::string("."), fixup.Prop->Name,
                         e.Message());
      if (!ContinueAfterError(wrapped.Message())) throw wrapped;
    }
  }
}
