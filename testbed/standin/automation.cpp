#include "testbed/standin/automation.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "testbed/common/json.h"
#include "testbed/common/variant_json.h"
#include "testbed/standin/identity.h"

namespace standin {
namespace {

using testbed::Json;
using testbed::JsonLine;
using testbed::JsonText;

// What a member's body gives back: S_OK; a dispatch error such as DISP_E_TYPEMISMATCH (with the
// index of the offending argument in DISPPARAMS order); or, with a description, an automation
// exception whose code is `code`.
struct Outcome {
  HRESULT code = S_OK;
  std::wstring description;
  UINT argument = 0;
};

// The arguments in the caller's order (DISPPARAMS holds them last to first).
using Arguments = std::vector<const VARIANT*>;

enum class MemberKind { kProperty, kMethod };

struct Member {
  const wchar_t* name;
  MemberKind kind;
  UINT argument_count;
  std::function<Outcome(const Arguments&, VARIANT* result)> body;
};

// The journal's "kind": a call that may run a method is "method" (a method read for its result
// comes as DISPATCH_METHOD|DISPATCH_PROPERTYGET), a pure property read is "get".
const char* KindName(WORD flags) {
  if (flags & DISPATCH_METHOD) return "method";
  if (flags & DISPATCH_PROPERTYGET) return "get";
  return "put";
}

bool FlagsFit(MemberKind kind, WORD flags) {
  return kind == MemberKind::kMethod ? (flags & DISPATCH_METHOD) != 0 : (flags & DISPATCH_PROPERTYGET) != 0;
}

HRESULT RaiseException(EXCEPINFO* info, HRESULT code, const std::wstring& description) {
  if (info != nullptr) {
    *info = EXCEPINFO{};
    info->scode = code;
    info->bstrSource = SysAllocString(kProgId);  // the caller owns and frees both strings
    info->bstrDescription = SysAllocString(description.c_str());
  }
  return DISP_E_EXCEPTION;
}

class DispatchObject : public IDispatch, public IExternalConnection {
 public:
  DispatchObject(Host& host, const char* name) : host_(host), name_(name) {}
  virtual ~DispatchObject() = default;
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;

  // DISPIDs are positions in this table, from 1.
  void AddMember(Member member) { members_.push_back(std::move(member)); }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
    } else if (iid == IID_IExternalConnection) {
      *out = static_cast<IExternalConnection*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    auto left = static_cast<ULONG>(InterlockedDecrement(&references_));
    if (left == 0) delete this;
    return left;
  }

  // IDispatch. There is no type information: clients bind by name.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return DISP_E_BADINDEX;
  }

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (names == nullptr || ids == nullptr || count == 0) return E_INVALIDARG;
    host_.JournalLine(
        JsonLine({{"object", name_}, {"call", "GetIDsOfNames"}, {"member", JsonText(names[0] ? names[0] : L"")}}));
    host_.Delay();  // after the journal line, which thus tells when the call arrived
    HRESULT result = S_OK;
    ids[0] = DISPID_UNKNOWN;
    for (std::size_t i = 0; names[0] != nullptr && i < members_.size(); ++i) {
      // Member names are compared without regard to case, as late-bound callers expect.
      if (CompareStringOrdinal(names[0], -1, members_[i].name, -1, TRUE) == CSTR_EQUAL) {
        ids[0] = static_cast<DISPID>(i + 1);
      }
    }
    if (ids[0] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
    // The further names would be named parameters, and no member has any.
    for (UINT i = 1; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      result = DISP_E_UNKNOWNNAME;
    }
    return result;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argument_error) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (params == nullptr) return E_INVALIDARG;
    Arguments arguments;
    for (UINT i = params->cArgs; i > 0; --i) arguments.push_back(&params->rgvarg[i - 1]);
    const Member* member = (id >= 1 && static_cast<std::size_t>(id) <= members_.size()) ? &members_[id - 1] : nullptr;
    JournalInvoke(member, flags, arguments);
    host_.Delay();

    if (member == nullptr || !FlagsFit(member->kind, flags)) return DISP_E_MEMBERNOTFOUND;
    if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    if (params->cArgs != member->argument_count) return DISP_E_BADPARAMCOUNT;
    if (auto failure = host_.CountCall(member->name)) return RaiseException(exception, kInjectedFailure, *failure);

    if (result != nullptr) VariantInit(result);
    Outcome outcome = member->body(arguments, result);
    if (!outcome.description.empty()) return RaiseException(exception, outcome.code, outcome.description);
    if (FAILED(outcome.code) && argument_error != nullptr) *argument_error = outcome.argument;
    return outcome.code;
  }

  // IExternalConnection. Only strong connections are client references; the stub manager calls
  // these once for a client's first reference and once when its last one goes.
  DWORD STDMETHODCALLTYPE AddConnection(DWORD type, DWORD) override {
    if (!(type & EXTCONN_STRONG)) return strong_connections_;
    host_.JournalEvent("connect", name_);
    return ++strong_connections_;
  }
  DWORD STDMETHODCALLTYPE ReleaseConnection(DWORD type, DWORD, BOOL) override {
    if (!(type & EXTCONN_STRONG) || strong_connections_ == 0) return strong_connections_;
    host_.JournalEvent("disconnect", name_);
    return --strong_connections_;
  }

 protected:
  Host& host_;

 private:
  void JournalInvoke(const Member* member, WORD flags, const Arguments& arguments) {
    Json values = Json::array();
    for (const VARIANT* argument : arguments) values.push_back(testbed::TypedValueJson(*argument));
    host_.JournalLine(JsonLine({{"object", name_},
                                {"call", "Invoke"},
                                {"member", member ? JsonText(member->name) : Json()},
                                {"kind", KindName(flags)},
                                {"args", std::move(values)}}));
  }

  const char* name_;
  std::vector<Member> members_;
  LONG references_ = 0;
  DWORD strong_connections_ = 0;
};

Outcome Done() { return {}; }

// Index of the caller's argument `position` (from 0) among `count` in DISPPARAMS order.
UINT DispParamsIndex(UINT count, UINT position) { return count - 1 - position; }

bool IsStorableValue(VARTYPE vt) {
  switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
    case VT_INT:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DECIMAL:
    case VT_DATE:
    case VT_BSTR:
    case VT_BOOL:
      return true;
    default:
      return false;
  }
}

IDispatchPtr MakeDocFunctions(Host& host) {
  // Owned here while its members are added; the first reference takes it over.
  auto object = std::make_unique<DispatchObject>(host, "DocFunctions");
  object->AddMember({L"GetActiveDocumentIndex", MemberKind::kMethod, 0, [&host](const Arguments&, VARIANT* result) {
                       if (result != nullptr) {
                         V_VT(result) = VT_I4;
                         V_I4(result) = host.document_index();
                       }
                       return Done();
                     }});
  return IDispatchPtr(static_cast<IDispatch*>(object.release()));
}

Outcome SetValue(Host& host, const Arguments& arguments) {
  _variant_t field;
  if (FAILED(VariantCopyInd(&field, testbed::SourceArg(arguments[0]))) || V_VT(&field) != VT_BSTR) {
    return {DISP_E_TYPEMISMATCH, L"", DispParamsIndex(2, 0)};
  }
  _variant_t value;
  if (FAILED(VariantCopyInd(&value, testbed::SourceArg(arguments[1]))) || !IsStorableValue(V_VT(&value))) {
    return {DISP_E_TYPEMISMATCH, L"", DispParamsIndex(2, 1)};
  }
  std::wstring name(V_BSTR(&field), SysStringLen(V_BSTR(&field)));
  // A misspelt field name would otherwise lose the value without a trace: refuse it loudly.
  if (!host.SetValue(name, value)) {
    return {kUnknownField, L"SLIBufferSetValue: '" + name + L"' is not a line item field", 0};
  }
  return Done();
}

IDispatchPtr MakeItemFunctions(Host& host) {
  auto object = std::make_unique<DispatchObject>(host, "ItemFunctions");
  object->AddMember({L"MLIBufferClear", MemberKind::kMethod, 0, [&host](const Arguments&, VARIANT*) {
                       host.ClearMultiLine();
                       return Done();
                     }});
  object->AddMember({L"SLIBufferClear", MemberKind::kMethod, 0, [&host](const Arguments&, VARIANT*) {
                       host.ClearSingleLine();
                       return Done();
                     }});
  object->AddMember({L"SLIBufferSetValue", MemberKind::kMethod, 2,
                     [&host](const Arguments& arguments, VARIANT*) { return SetValue(host, arguments); }});
  object->AddMember({L"SLIBufferCopyToMLIBuffer", MemberKind::kMethod, 0, [&host](const Arguments&, VARIANT*) {
                       host.CopySingleToMultiLine();
                       return Done();
                     }});
  object->AddMember({L"MLIBufferAppendPaste", MemberKind::kMethod, 0, [&host](const Arguments&, VARIANT*) {
                       // Like the real application without an open quote: nothing to paste into.
                       if (!host.Paste()) return Outcome{kNoDocument, L"MLIBufferAppendPaste: no document is open", 0};
                       return Done();
                     }});
  return IDispatchPtr(static_cast<IDispatch*>(object.release()));
}

// A property read hands out a new reference to the same sub-object every time.
Member SubObjectProperty(const wchar_t* name, const IDispatchPtr& target) {
  return {name, MemberKind::kProperty, 0, [target](const Arguments&, VARIANT* result) {
            if (result != nullptr) {
              V_VT(result) = VT_DISPATCH;
              V_DISPATCH(result) = target;
              target->AddRef();  // the reference the caller receives
            }
            return Done();
          }};
}

}  // namespace

// Each reference is made where it is kept: _com_ptr_t has no move, and every temporary copy would
// be one more AddRef and Release.
Objects CreateObjects(Host& host) {
  IDispatchPtr doc_functions = MakeDocFunctions(host);
  IDispatchPtr item_functions = MakeItemFunctions(host);
  auto application = std::make_unique<DispatchObject>(host, "Application");
  application->AddMember(SubObjectProperty(L"DocFunctions", doc_functions));
  application->AddMember(SubObjectProperty(L"ItemFunctions", item_functions));
  return Objects{IDispatchPtr(static_cast<IDispatch*>(application.release())), doc_functions, item_functions};
}

}  // namespace standin
