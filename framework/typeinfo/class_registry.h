#pragma once
// The process-wide table of stream classes by name, in registration order.
#include <string_view>

class TClassInfo;

// Registers `cls`, then its ancestors up to and including TPersistent, stopping at the
// first one already registered. A different class under a registered name raises EFilerError.
void RegisterStreamClass(const TClassInfo& cls);
void UnregisterStreamClass(const TClassInfo& cls);
const TClassInfo* LookupStreamClass(std::string_view name);
// As LookupStreamClass, raising EClassNotFound when there is none.
const TClassInfo& RequireStreamClass(std::string_view name);
