#include "import/automation_windows.h"

#include <cstdint>
#include <utility>

#include "common/runtime_error.h"
#include "import/system_message_windows.h"

namespace modMain::windows {
namespace {

static_assert(sizeof(_variant_t) == sizeof(VARIANT), "DISPPARAMS takes an array of _variant_t as VARIANTARGs");

BSTR AllocText(std::wstring_view text) {
  BSTR bstr = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (bstr == nullptr) throw common::RuntimeError(common::kErrOutOfMemory);
  return bstr;
}

std::wstring TextOf(BSTR bstr) { return bstr ? std::wstring(bstr, SysStringLen(bstr)) : std::wstring(); }

// Whether COM refused to deliver a call because the application is busy: then it did not run.
bool IsRefusal(HRESULT hr) { return hr == RPC_E_CALL_REJECTED || hr == RPC_E_SERVERCALL_RETRYLATER; }

// Whether a call found the application gone (closed, or cutting its clients off as it closes).
bool IsGone(HRESULT hr) {
  switch (static_cast<std::uint32_t>(hr)) {
    case 0x800706BAu:  // RPC_S_SERVER_UNAVAILABLE: the process is gone
    case 0x800706BEu:  // RPC_S_CALL_FAILED: it went while the call was on its way
    case 0x80010108u:  // RPC_E_DISCONNECTED: it cut its clients off (it is closing)
    case 0x800401FDu:  // CO_E_OBJNOTCONNECTED: the same, seen from a proxy
      return true;
    default:
      return false;
  }
}

// Raises the error for the HRESULT of a failed cross-process call: CallRejected for a refusal,
// HostGone for an application that went away. Only the HRESULT of the call itself says so; an
// error that the application raised with the same code ran and is neither.
[[noreturn]] void RaiseCallError(HRESULT hr) {
  const common::RuntimeError error = HresultError(hr);
  if (IsRefusal(hr)) throw CallRejected(error.number(), error.description());
  if (IsGone(hr)) throw HostGone(error.number(), error.description());
  throw error;
}

// Raises the error that a failed Invoke stands for: the server's own number and description when
// it raised one (DISP_E_EXCEPTION, with `info` filled in), else the HRESULT.
[[noreturn]] void RaiseInvokeError(HRESULT hr, const EXCEPINFO& info) {
  if (hr != DISP_E_EXCEPTION) RaiseCallError(hr);
  const HRESULT code = info.wCode != 0 ? info.wCode : (info.scode != 0 ? info.scode : hr);
  std::wstring description = TextOf(info.bstrDescription);
  if (description.empty()) {
    description = info.wCode != 0 ? common::kErrApplicationDefined.description : HresultError(code).description();
  }
  throw common::RuntimeError(static_cast<std::int32_t>(code), description);
}

}  // namespace

_variant_t ToVariant(const common::Variant& value) {
  using Kind = common::Variant::Kind;
  _variant_t result;
  switch (value.kind()) {
    case Kind::kEmpty:
      break;
    case Kind::kOmitted:
      V_VT(&result) = VT_ERROR;
      V_ERROR(&result) = DISP_E_PARAMNOTFOUND;
      break;
    case Kind::kText:
      V_BSTR(&result) = AllocText(value.text());
      V_VT(&result) = VT_BSTR;
      break;
    case Kind::kInt32:
      V_VT(&result) = VT_I4;
      V_I4(&result) = value.int32();
      break;
    case Kind::kDouble:
      V_VT(&result) = VT_R8;
      V_R8(&result) = value.dbl();
      break;
    case Kind::kBoolean:
      V_VT(&result) = VT_BOOL;
      V_BOOL(&result) = value.boolean() ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case Kind::kByteArray:
    case Kind::kArray:
      throw common::RuntimeError(common::kErrTypeMismatch);
  }
  return result;
}

common::Variant FromVariant(const VARIANT& value) {
  _variant_t plain;  // a by-reference result, dereferenced
  if (FAILED(VariantCopyInd(&plain, const_cast<VARIANT*>(&value))))
    throw common::RuntimeError(common::kErrTypeMismatch);
  switch (V_VT(&plain)) {
    case VT_EMPTY:
      return common::Variant();
    case VT_NULL:
      throw common::RuntimeError(common::kErrInvalidUseOfNull);
    case VT_BSTR:
      return common::Variant(TextOf(V_BSTR(&plain)));
    case VT_BOOL:
      return common::Variant(V_BOOL(&plain) != VARIANT_FALSE);
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_INT:
      if (FAILED(VariantChangeType(&plain, &plain, 0, VT_I4))) throw common::RuntimeError(common::kErrTypeMismatch);
      return common::Variant(static_cast<std::int32_t>(V_I4(&plain)));
    case VT_UI4:
    case VT_UINT:
    case VT_I8:
    case VT_UI8:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_DECIMAL:
      if (FAILED(VariantChangeType(&plain, &plain, 0, VT_R8))) throw common::RuntimeError(common::kErrTypeMismatch);
      return common::Variant(V_R8(&plain));
    default:
      throw common::RuntimeError(common::kErrTypeMismatch);
  }
}

DispatchArguments::DispatchArguments(std::span<Argument> args)
    : args_(args), variants_(args.size()), referenced_(args.size()) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    _variant_t& slot = variants_[args.size() - 1 - i];  // DISPPARAMS lists the last argument first
    if (args[i].by_reference()) {
      V_BSTR(&referenced_[i]) = AllocText(args[i].reference());
      V_VT(&referenced_[i]) = VT_BSTR;
      V_VT(&slot) = VT_BSTR | VT_BYREF;  // VariantClear leaves what a reference points at alone
      V_BSTRREF(&slot) = &V_BSTR(&referenced_[i]);
    } else {
      _variant_t value = ToVariant(args[i].value());
      slot.Attach(value);  // moves, where assignment would copy
    }
  }
  params_.rgvarg = variants_.empty() ? nullptr : variants_.data();
  params_.cArgs = static_cast<UINT>(variants_.size());
}

void DispatchArguments::WriteBack() const {
  for (std::size_t i = 0; i < args_.size(); ++i) {
    if (args_[i].by_reference() && V_VT(&referenced_[i]) == VT_BSTR) {
      args_[i].reference() = TextOf(V_BSTR(&referenced_[i]));
    }
  }
}

ObjectId ComAutomation::GetActiveObject(const std::wstring& prog_id) {
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(prog_id.c_str(), &clsid);
  if (FAILED(hr)) throw HresultError(hr);
  IUnknownPtr unknown;
  // Taking the reference is a call to the application (it adds the client's references), which a
  // busy application refuses like any other.
  hr = ::GetActiveObject(clsid, nullptr, &unknown);
  if (FAILED(hr)) RaiseCallError(hr);
  return AdoptUnknown(unknown);
}

// _com_ptr_t has no move: the table takes its own reference, and the caller's goes with its owner.
ObjectId ComAutomation::Adopt(const IDispatchPtr& object) {
  if (!object) throw common::RuntimeError(common::kErrObjectNotSet);
  const ObjectId id = next_id_++;
  held_[id].dispatch = object;
  return id;
}

ObjectId ComAutomation::AdoptUnknown(const IUnknownPtr& object) {
  if (!object) throw common::RuntimeError(common::kErrObjectNotSet);
  const ObjectId id = next_id_++;
  held_[id].unknown = object;
  return id;
}

IDispatch* ComAutomation::DispatchOf(Held& held) {
  if (!held.dispatch) {
    const HRESULT hr = held.unknown->QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(&held.dispatch));
    if (IsRefusal(hr) || IsGone(hr)) RaiseCallError(hr);  // under Wine a refused query comes back as E_NOINTERFACE
    if (FAILED(hr) || !held.dispatch) {
      throw common::RuntimeError(common::kErrNoSuchMember);
    }
  }
  return held.dispatch;
}

ComAutomation::Held& ComAutomation::Find(ObjectId object) {
  const auto it = held_.find(object);
  if (it == held_.end()) throw common::RuntimeError(common::kErrObjectNotSet);
  return it->second;
}

DISPID ComAutomation::DispIdOf(Held& held, const std::wstring& member) {
  if (const auto it = held.dispids.find(member); it != held.dispids.end()) return it->second;
  std::wstring name = member;
  LPOLESTR names[] = {name.data()};
  DISPID dispid = DISPID_UNKNOWN;
  const HRESULT hr = DispatchOf(held)->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid);
  if (FAILED(hr)) RaiseCallError(hr);
  held.dispids.emplace(member, dispid);
  return dispid;
}

void ComAutomation::Invoke(ObjectId object, const std::wstring& member, WORD flags, std::span<Argument> args,
                           VARIANT* result) {
  Held& held = Find(object);
  const DISPID dispid = DispIdOf(held, member);
  DispatchArguments arguments(args);
  EXCEPINFO exception{};
  UINT bad_argument = 0;
  const HRESULT hr = DispatchOf(held)->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, arguments.params(), result,
                                              &exception, &bad_argument);
  if (hr == DISP_E_EXCEPTION && exception.pfnDeferredFillIn != nullptr) exception.pfnDeferredFillIn(&exception);
  // The strings that the server left in the EXCEPINFO, freed on every way out.
  const common::UniqueBstr source(exception.bstrSource), description(exception.bstrDescription),
      help_file(exception.bstrHelpFile);
  if (FAILED(hr)) RaiseInvokeError(hr, exception);
  arguments.WriteBack();
}

ObjectId ComAutomation::GetObjectProperty(ObjectId object, const std::wstring& property) {
  _variant_t value;
  Invoke(object, property, DISPATCH_PROPERTYGET, {}, &value);
  IDispatchPtr dispatch;
  if (V_VT(&value) == VT_DISPATCH) {
    IDispatch* object_reference = V_DISPATCH(&value);
    V_VT(&value) = VT_EMPTY;
    dispatch.Attach(object_reference);  // takes over the result's reference
  } else if (V_VT(&value) == VT_UNKNOWN && V_UNKNOWN(&value) != nullptr) {
    if (FAILED(V_UNKNOWN(&value)->QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(&dispatch)))) {
      throw common::RuntimeError(common::kErrObjectRequired);
    }
  } else if (V_VT(&value) != VT_UNKNOWN) {
    throw common::RuntimeError(common::kErrObjectRequired);
  }
  return Adopt(dispatch);
}

void ComAutomation::CallMethod(ObjectId object, const std::wstring& method, std::span<Argument> args) {
  Invoke(object, method, DISPATCH_METHOD, args, nullptr);
}

common::Variant ComAutomation::CallForValue(ObjectId object, const std::wstring& method, std::span<Argument> args) {
  _variant_t value;
  Invoke(object, method, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, &value);
  return FromVariant(value);
}

void ComAutomation::ReleaseObject(ObjectId object) noexcept { held_.erase(object); }

}  // namespace modMain::windows
