#pragma once
// The quoting application as the import run reaches it: its running object, and late-bound
// property reads and method calls by member name. The product implements it over COM
// (automation_windows.h), BusyRetry repeats what a busy application refuses, and the native tests
// implement it with recording doubles.
//
// Failure style: every operation but ReleaseObject raises common::RuntimeError (number and
// description). A call that the application refused because it is busy raises CallRejected: that
// call did not run, so it may be made again. A call that found the application gone raises
// HostGone.
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <variant>

#include "common/runtime_error.h"
#include "common/unique_any.h"
#include "common/variant.h"

namespace modMain {

// One reference to an automation object, handed out by the automation. 0 is no object.
using ObjectId = std::uint64_t;

// The application refused an automation call because it is busy (a modal dialog open in it, say).
// The call did not run. Number and description are the platform's own for the refusal.
class CallRejected : public common::RuntimeError {
 public:
  using common::RuntimeError::RuntimeError;
};

// The application has gone away: it closed, or cut its clients off while closing. Only the
// platform's own result of a call says so; an error that the application raised itself, whatever
// its number, is an ordinary RuntimeError.
class HostGone : public common::RuntimeError {
 public:
  using common::RuntimeError::RuntimeError;
};

// An argument of a late-bound call: a value, or a reference to the caller's own text, which the
// callee may read and replace.
class Argument {
 public:
  static Argument Value(common::Variant value) { return Argument(std::move(value)); }
  static Argument Reference(std::wstring& text) { return Argument(&text); }

  bool by_reference() const { return std::holds_alternative<std::wstring*>(arg_); }
  const common::Variant& value() const { return std::get<common::Variant>(arg_); }
  std::wstring& reference() const { return *std::get<std::wstring*>(arg_); }

 private:
  explicit Argument(common::Variant value) : arg_(std::move(value)) {}
  explicit Argument(std::wstring* text) : arg_(text) {}
  std::variant<common::Variant, std::wstring*> arg_;
};

// Each ObjectId returned is one reference that the caller must give back through ReleaseObject
// exactly once (ObjectRef does that).
class Automation {
 public:
  virtual ~Automation() = default;

  // The running object registered under `prog_id`; none is started.
  virtual ObjectId GetActiveObject(const std::wstring& prog_id) = 0;
  // Reads a property whose value is an object.
  virtual ObjectId GetObjectProperty(ObjectId object, const std::wstring& property) = 0;
  // Calls a method whose result is not used.
  virtual void CallMethod(ObjectId object, const std::wstring& method, std::span<Argument> args) = 0;
  // Calls a method for its result.
  virtual common::Variant CallForValue(ObjectId object, const std::wstring& method, std::span<Argument> args) = 0;
  virtual void ReleaseObject(ObjectId object) noexcept = 0;
};

namespace automation_detail {
inline void Release(Automation* automation, ObjectId object) noexcept { automation->ReleaseObject(object); }
}  // namespace automation_detail

// Owner of one object reference obtained through an Automation: released through it exactly once,
// on every way out, also while an error passes through. The calls on the object go through it too.
class ObjectRef : public common::UniqueAny<ObjectId, &automation_detail::Release> {
 public:
  using UniqueAny::UniqueAny;

  static ObjectRef GetActive(Automation& automation, const std::wstring& prog_id) {
    return ObjectRef(&automation, automation.GetActiveObject(prog_id));
  }
  ObjectRef Get(const std::wstring& property) const {
    return ObjectRef(origin(), origin()->GetObjectProperty(get(), property));
  }
  void Call(const std::wstring& method, std::span<Argument> args = {}) const {
    origin()->CallMethod(get(), method, args);
  }
  common::Variant CallForValue(const std::wstring& method, std::span<Argument> args = {}) const {
    return origin()->CallForValue(get(), method, args);
  }
};

}  // namespace modMain
