#include "testbed/common/variant_json.h"

#include <comutil.h>

#include <utility>

namespace testbed {
namespace {

const char* BaseTypeName(VARTYPE base) {
  switch (base) {
    case VT_EMPTY:
      return "EMPTY";
    case VT_NULL:
      return "NULL";
    case VT_I2:
      return "I2";
    case VT_I4:
      return "I4";
    case VT_R4:
      return "R4";
    case VT_R8:
      return "R8";
    case VT_CY:
      return "CY";
    case VT_DATE:
      return "DATE";
    case VT_BSTR:
      return "BSTR";
    case VT_DISPATCH:
      return "DISPATCH";
    case VT_ERROR:
      return "ERROR";
    case VT_BOOL:
      return "BOOL";
    case VT_VARIANT:
      return "VARIANT";
    case VT_UNKNOWN:
      return "UNKNOWN";
    case VT_DECIMAL:
      return "DECIMAL";
    case VT_I1:
      return "I1";
    case VT_UI1:
      return "UI1";
    case VT_UI2:
      return "UI2";
    case VT_UI4:
      return "UI4";
    case VT_I8:
      return "I8";
    case VT_UI8:
      return "UI8";
    case VT_INT:
      return "INT";
    case VT_UINT:
      return "UINT";
    case VT_RECORD:
      return "RECORD";
    default:
      return nullptr;
  }
}

// The value of a variant that holds no reference.
Json DirectValueJson(const VARIANT& v) {
  if (V_ISARRAY(&v)) return nullptr;
  switch (V_VT(&v)) {
    case VT_EMPTY:
    case VT_NULL:
      return nullptr;
    case VT_I1:
      return std::int64_t{V_I1(&v)};
    case VT_I2:
      return std::int64_t{V_I2(&v)};
    case VT_I4:
      return std::int64_t{V_I4(&v)};
    case VT_INT:
      return std::int64_t{V_INT(&v)};
    case VT_I8:
      return std::int64_t{V_I8(&v)};
    case VT_UI1:
      return std::uint64_t{V_UI1(&v)};
    case VT_UI2:
      return std::uint64_t{V_UI2(&v)};
    case VT_UI4:
      return std::uint64_t{V_UI4(&v)};
    case VT_UINT:
      return std::uint64_t{V_UINT(&v)};
    case VT_UI8:
      return std::uint64_t{V_UI8(&v)};
    case VT_R4:
      return double{V_R4(&v)};
    case VT_R8:
      return V_R8(&v);
    case VT_BOOL:
      return V_BOOL(&v) != VARIANT_FALSE;
    case VT_ERROR:
      return std::int64_t{V_ERROR(&v)};
    case VT_BSTR: {
      BSTR text = V_BSTR(&v);  // a null BSTR is the empty text
      return JsonText(std::wstring_view(text ? text : L"", SysStringLen(text)));
    }
    case VT_DATE:
    case VT_CY:
    case VT_DECIMAL: {
      _variant_t text;
      if (FAILED(VariantChangeTypeEx(&text, SourceArg(&v), LOCALE_INVARIANT, 0, VT_BSTR))) return nullptr;
      return JsonText(std::wstring_view(V_BSTR(&text), SysStringLen(V_BSTR(&text))));
    }
    default:
      return nullptr;
  }
}

}  // namespace

std::string VarTypeName(VARTYPE vt) {
  const char* base = BaseTypeName(vt & VT_TYPEMASK);
  std::string name = base ? base : std::to_string(vt & VT_TYPEMASK);
  if (vt & VT_ARRAY) name += "|ARRAY";
  if (vt & VT_BYREF) name += "|BYREF";
  return name;
}

Json TypedValueJson(const VARIANT& value) {
  Json json_value;  // null
  if (V_VT(&value) == (VT_VARIANT | VT_BYREF)) {
    if (const VARIANT* target = V_VARIANTREF(&value)) json_value = TypedValueJson(*target);
  } else if (V_ISBYREF(&value)) {
    _variant_t target;
    if (SUCCEEDED(VariantCopyInd(&target, SourceArg(&value)))) json_value = DirectValueJson(target);
  } else {
    json_value = DirectValueJson(value);
  }
  return Json{{"vt", VarTypeName(V_VT(&value))}, {"value", std::move(json_value)}};
}

}  // namespace testbed
