#pragma once
// Properties a class no longer has but that stored form descriptions may still carry.
//
// Declare each one from the class's DeclareStoredData, after calling the inherited one:
//
//   void TWkLEDDisplay::DeclareStoredData(TFiler& filer) {
//     TWkCustomLED::DeclareStoredData(filer);
//     DeclareObsoleteProperty(filer, "SegSpacing");                    // accepted, discarded
//     DeclareObsoleteProperty(filer, "Flat", [this](TReader& reader) {  // mapped
//       if (reader.ReadBoolean()) SetFrameStyle(fsFlat);
//     });
//   }
//
// Reading: the stored value is accepted. Without a mapping it is skipped whatever its kind;
// a mapping reads exactly one value with the reader's value routines (ReadBoolean,
// ReadInteger, ReadIdent...) and applies it to a current property. A mapping that reads no
// value or more than one fails the load with "Invalid property value", as a wrong tag does.
// Writing: never stored, so a form written back carries only the current properties.
#include <string>

#include "framework/core/filer.h"

// Accepts and discards the stored value of `name`.
void DeclareObsoleteProperty(TFiler& filer, const std::string& name);
// Accepts the stored value of `name` and hands it to `map`.
void DeclareObsoleteProperty(TFiler& filer, const std::string& name, TReaderProc map);
