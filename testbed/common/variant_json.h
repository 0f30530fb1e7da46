#pragma once
// How the testbed writes an automation value: {"vt": "BSTR|BYREF", "value": "..."}.
#include <windows.h>

#include <oleauto.h>  // after <windows.h>, whose types it uses

#include <string>

#include "testbed/common/json.h"

namespace testbed {

// The type tag as its VT_ name without the prefix, flags joined with "|": "BSTR", "R8",
// "BSTR|BYREF", "VARIANT|BYREF", "I4|ARRAY". An unknown base type is written as its number.
std::string VarTypeName(VARTYPE vt);

// {"vt": ..., "value": ...}. By-reference values are read through: the value is what the
// reference points at, and a VARIANT|BYREF holds the typed value it points at as its value.
// Numbers and Booleans are JSON numbers and Booleans; text is a string; EMPTY and NULL are null;
// ERROR is its code; DATE, CY and DECIMAL are their invariant-locale text; objects and arrays
// are null.
Json TypedValueJson(const VARIANT& value);

// VariantCopyInd and VariantChangeTypeEx declare their source non-const, though they only read
// it when it is not also the destination.
inline VARIANT* SourceArg(const VARIANT* value) { return const_cast<VARIANT*>(value); }

}  // namespace testbed
