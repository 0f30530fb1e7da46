#pragma once
// The quoting application's side of the platform: COM automation, late-bound through IDispatch.
//
// Objects are held in a table under the ids that the seam hands out; each entry owns one
// reference and the DISPIDs looked up on that object. The running object comes as IUnknown, and
// its IDispatch is asked for only when the object is first used: for an out-of-process object
// that question is a round trip (and its answer one more release at the end), which the presence
// check, obtaining the object only to let it go, does not need. Releasing an id releases the reference and
// forgets its DISPIDs, so names are never resolved across objects: every fresh ItemFunctions
// object gets its own lookup.
#include <windows.h>

#include <map>
#include <span>
#include <string>
#include <vector>

#include "common/com_windows.h"
#include "common/variant.h"
#include "import/automation.h"

namespace modMain::windows {

// The arguments of one late-bound call as Invoke takes them: last argument first. Text by
// reference is passed as VT_BSTR|VT_BYREF pointing at a BSTR copy of the caller's string, which
// WriteBack copies back after the call, since the callee may replace it.
class DispatchArguments {
 public:
  explicit DispatchArguments(std::span<Argument> args);
  DispatchArguments(const DispatchArguments&) = delete;
  DispatchArguments& operator=(const DispatchArguments&) = delete;

  DISPPARAMS* params() { return &params_; }
  void WriteBack() const;

 private:
  std::span<Argument> args_;
  std::vector<_variant_t> variants_;    // rgvarg, in Invoke's order
  std::vector<_variant_t> referenced_;  // the BSTRs that by-reference arguments point at; never resized
  DISPPARAMS params_{};
};

// A VARIANT argument for a value: text as VT_BSTR (embedded NULs kept), doubles as VT_R8, 32-bit
// integers as VT_I4, Booleans as VT_BOOL, empty as VT_EMPTY, omitted as DISP_E_PARAMNOTFOUND.
// Arrays raise "Type mismatch".
_variant_t ToVariant(const common::Variant& value);
// A call's result as a value. Raises "Invalid use of Null" (94) for VT_NULL and "Type mismatch"
// for objects, arrays and types without a number or text form.
common::Variant FromVariant(const VARIANT& value);

class ComAutomation final : public Automation {
 public:
  ComAutomation() = default;
  ComAutomation(const ComAutomation&) = delete;
  ComAutomation& operator=(const ComAutomation&) = delete;

  // CLSIDFromProgID + GetActiveObject: only a running instance; none is started. Its IDispatch is
  // asked for on first use ("Object doesn't support this property or method", 438, without one).
  ObjectId GetActiveObject(const std::wstring& prog_id) override;
  // Takes over one reference to `object` (tests hand in objects of their own).
  ObjectId Adopt(const IDispatchPtr& object);
  ObjectId AdoptUnknown(const IUnknownPtr& object);
  // DISPATCH_PROPERTYGET; the value must be an object ("Object required", 424, otherwise).
  ObjectId GetObjectProperty(ObjectId object, const std::wstring& property) override;
  // DISPATCH_METHOD with a null result pointer.
  void CallMethod(ObjectId object, const std::wstring& method, std::span<Argument> args) override;
  // DISPATCH_METHOD | DISPATCH_PROPERTYGET, for the result.
  common::Variant CallForValue(ObjectId object, const std::wstring& method, std::span<Argument> args) override;
  void ReleaseObject(ObjectId object) noexcept override;
  std::size_t HeldObjects() const { return held_.size(); }

 private:
  struct Held {
    IUnknownPtr unknown;    // as obtained, until `dispatch` is asked for
    IDispatchPtr dispatch;  // null until first use when the object came as IUnknown
    std::map<std::wstring, DISPID> dispids;
  };
  Held& Find(ObjectId object);
  IDispatch* DispatchOf(Held& held);
  DISPID DispIdOf(Held& held, const std::wstring& member);
  void Invoke(ObjectId object, const std::wstring& member, WORD flags, std::span<Argument> args, VARIANT* result);

  std::map<ObjectId, Held> held_;
  ObjectId next_id_ = 1;
};

}  // namespace modMain::windows
