// BrevantoStandIn: plays the quoting application for the testbed. It registers its identifier and
// its application object, serves the automation calls of the import run, journals them, and
// shows the open document's line items.
#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

#include "common/com_windows.h"
#include "testbed/common/command_line.h"
#include "testbed/standin/automation.h"
#include "testbed/standin/call_filter.h"
#include "testbed/standin/host.h"
#include "testbed/standin/identity.h"
#include "testbed/standin/options.h"
#include "testbed/standin/registration.h"
#include "testbed/standin/window.h"

namespace {

void Revoke(DWORD cookie) noexcept { RevokeActiveObject(cookie, nullptr); }
// The application object's entry in the running object table, revoked when it goes. Its cookie 0
// stands for none, as in ATL: the table hands out cookies from 1.
using ActiveObjectRegistration = common::UniqueAny<DWORD, &Revoke>;

// Weak registration: the table does not hold a client-like connection of its own, which would
// hide the clients' first references; our own reference keeps the object alive instead.
HRESULT Register(IUnknown* object, ActiveObjectRegistration& registration) {
  const HRESULT result = RegisterActiveObject(object, standin::kClsid, ACTIVEOBJECT_WEAK, registration.put());
  if (FAILED(result)) static_cast<void>(registration.release());  // no entry: whatever the cookie says
  return result;
}

// Cuts off clients that still hold references, so that their calls fail instead of waiting.
void DisconnectClients(const standin::Objects& objects) {
  CoDisconnectObject(objects.application, 0);
  CoDisconnectObject(objects.doc_functions, 0);
  CoDisconnectObject(objects.item_functions, 0);
}

void Unregister(bool) noexcept { CoRegisterMessageFilter(nullptr, nullptr); }
// The message filter, registered while this lives, for --busy and --quit-at.
using FilterRegistration = common::UniqueAny<bool, &Unregister, false>;
FilterRegistration RegisterFilter(IMessageFilter* filter) {
  return FilterRegistration(SUCCEEDED(CoRegisterMessageFilter(filter, nullptr)));
}

std::wstring HexCode(LONG code) {
  wchar_t text[16];
  wsprintfW(text, L"0x%08lX", code);
  return text;
}

int Serve(const standin::Options& options, HINSTANCE instance, int show) {
  const common::ComApartment com = common::EnterApartment();
  if (!com) {
    testbed::ReportError(L"COM cannot be initialised");
    return 1;
  }
  standin::Host host(options);
  std::wstring error;
  if (!host.Open(error)) {
    testbed::ReportError(error);
    return 1;
  }
  if (LONG status = standin::RegisterIdentity(); status != ERROR_SUCCESS) {
    testbed::ReportError(L"cannot register Brevanto.Application: error " + std::to_wstring(status));
    return 1;
  }
  standin::Objects objects = standin::CreateObjects(host);
  int exit_code = 0;
  {
    ActiveObjectRegistration registration;
    if (HRESULT result = Register(objects.application, registration); FAILED(result)) {
      testbed::ReportError(L"RegisterActiveObject failed: " + HexCode(result));
      return 1;
    }
    // The baseline: whatever the registration itself connected is not a client. From here on,
    // every first reference and last release is a client's.
    host.StartEvents();

    // --quit-at: the stand-in goes as when the user closes it, only at once and without
    // answering the call in hand: no more events, the buffer file written, out of the table,
    // clients cut off, gone.
    standin::CallFilter filter(host, options, objects, [&] {
      host.StopEvents();
      host.WriteBuffer();
      registration.reset();
      DisconnectClients(objects);
      ExitProcess(0);
    });
    FilterRegistration filtering;
    if (options.busy || options.quit_at) {
      filtering = RegisterFilter(&filter);
      if (!filtering) {
        testbed::ReportError(L"CoRegisterMessageFilter failed");
        return 1;
      }
    }

    // The window comes after the registration, so that its presence tells a watcher that
    // clients can attach, without touching the object.
    standin::MainWindow window(host);
    host.set_document_listener([&window] { window.Refresh(); });
    if (!window.Create(instance, show)) {
      testbed::ReportError(L"cannot create the main window");
      exit_code = 1;
    } else {
      if (options.exit_after_seconds)
        window.CloseAfter(static_cast<UINT>(std::lround(*options.exit_after_seconds * 1000)));
      MSG message;
      while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    host.set_document_listener(nullptr);
    // Going away is not a client's release: journal no more events, tell what the multi-line
    // buffer still holds, leave the table, and cut off clients that still hold references so
    // that their calls fail instead of waiting.
    host.StopEvents();
    host.WriteBuffer();
  }
  DisconnectClients(objects);
  return exit_code;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  std::vector<std::wstring> arguments = testbed::ProcessArguments();
  if (!arguments.empty()) arguments.erase(arguments.begin());
  standin::ParsedOptions parsed = standin::ParseOptions(arguments);
  if (!parsed.error.empty()) {
    testbed::ReportError(parsed.error + L"\n" + standin::kUsage);
    return 2;
  }
  switch (parsed.options.mode) {
    case standin::Options::Mode::kRegister: {
      LONG status = standin::RegisterIdentity();
      if (status != ERROR_SUCCESS) testbed::ReportError(L"cannot register: error " + std::to_wstring(status));
      return status == ERROR_SUCCESS ? 0 : 1;
    }
    case standin::Options::Mode::kUnregister: {
      LONG status = standin::UnregisterIdentity();
      if (status != ERROR_SUCCESS) testbed::ReportError(L"cannot unregister: error " + std::to_wstring(status));
      return status == ERROR_SUCCESS ? 0 : 1;
    }
    case standin::Options::Mode::kRun:
      break;
  }
  return Serve(parsed.options, instance, show);
}
