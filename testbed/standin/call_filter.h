#pragma once
// The stand-in's message filter, for --busy and --quit-at. COM asks it about every incoming call
// before the call reaches an object, as it asks a real application's filter while a modal dialog
// is open there: the calls it refuses (SERVERCALL_REJECTED) never run, and the caller gets
// RPC_E_CALL_REJECTED.
//
// Only the IDispatch calls count and are refused: name lookups and Invokes. COM's own calls on
// IRemUnknown (taking a reference, asking for an interface, the release of a client's last
// reference) always pass: under Wine a refused release leaves the client's connection open for as
// long as the stand-in runs, and a refused interface query reaches the client as E_NOINTERFACE,
// which no client can tell from a real answer.
#include <windows.h>

#include <cstdint>
#include <functional>

#include "common/com_windows.h"
#include "testbed/standin/automation.h"
#include "testbed/standin/host.h"
#include "testbed/standin/options.h"

namespace standin {

class CallFilter final : public IMessageFilter {
 public:
  // `quit` ends the process; it is called in place of answering the --quit-at call.
  CallFilter(Host& host, const Options& options, const Objects& objects, std::function<void()> quit);
  CallFilter(const CallFilter&) = delete;
  CallFilter& operator=(const CallFilter&) = delete;

  // IUnknown. The filter lives on the stack of the serving function, which registers it with
  // CoRegisterMessageFilter and takes it back before it goes: COM's references do not own it.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD call_type, HTASK caller, DWORD tick_count,
                                             LPINTERFACEINFO info) override;
  // The stand-in calls no one, so these are never consulted; they answer as COM's defaults do.
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return static_cast<DWORD>(-1); }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }

 private:
  // The journal's name of the object a call is for; nullptr when it is none of ours.
  const char* ObjectName(IUnknown* object) const;

  Host& host_;
  const Options& options_;
  std::function<void()> quit_;
  IUnknownPtr application_, doc_functions_, item_functions_;  // identities, to name the called object
  std::int64_t calls_ = 0;                                    // IDispatch calls that arrived
  ULONGLONG busy_until_ = 0;                                  // GetTickCount64 time
};

}  // namespace standin
