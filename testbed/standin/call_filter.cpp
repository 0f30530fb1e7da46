#include "testbed/standin/call_filter.h"

#include <cmath>

#include "testbed/common/json.h"

namespace standin {
namespace {

using testbed::Json;

// IDispatch's methods in its vtable, as INTERFACEINFO numbers them.
constexpr WORD kGetIDsOfNames = 5;
constexpr WORD kInvoke = 6;

IUnknownPtr Identity(const IDispatchPtr& object) {
  IUnknownPtr identity;
  object->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&identity));
  return identity;
}

}  // namespace

CallFilter::CallFilter(Host& host, const Options& options, const Objects& objects, std::function<void()> quit)
    : host_(host),
      options_(options),
      quit_(std::move(quit)),
      application_(Identity(objects.application)),
      doc_functions_(Identity(objects.doc_functions)),
      item_functions_(Identity(objects.item_functions)) {}

HRESULT STDMETHODCALLTYPE CallFilter::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (iid != IID_IUnknown && iid != IID_IMessageFilter) {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  *out = static_cast<IMessageFilter*>(this);
  return S_OK;
}

const char* CallFilter::ObjectName(IUnknown* object) const {
  if (object == nullptr) return nullptr;
  if (object == application_.GetInterfacePtr()) return "Application";
  if (object == doc_functions_.GetInterfacePtr()) return "DocFunctions";
  if (object == item_functions_.GetInterfacePtr()) return "ItemFunctions";
  return nullptr;
}

DWORD STDMETHODCALLTYPE CallFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO info) {
  if (info == nullptr || info->iid != IID_IDispatch || (info->wMethod != kGetIDsOfNames && info->wMethod != kInvoke)) {
    return SERVERCALL_ISHANDLED;
  }
  ++calls_;
  if (options_.quit_at && calls_ == *options_.quit_at) quit_();
  const ULONGLONG now = GetTickCount64();
  if (options_.busy && calls_ == options_.busy->from_call) {
    busy_until_ = now + static_cast<ULONGLONG>(std::llround(options_.busy->seconds * 1000));
  }
  if (now >= busy_until_) return SERVERCALL_ISHANDLED;
  // The filter sees which object and which IDispatch method, but not the call's arguments: not
  // the name being looked up, nor the DISPID being invoked. So the member is not known here.
  const char* object = ObjectName(info->pUnk);
  host_.JournalLine(testbed::JsonLine({{"event", "rejected"},
                                       {"object", object ? Json(object) : Json()},
                                       {"call", info->wMethod == kInvoke ? "Invoke" : "GetIDsOfNames"},
                                       {"member", nullptr}}));
  return SERVERCALL_REJECTED;
}

}  // namespace standin
