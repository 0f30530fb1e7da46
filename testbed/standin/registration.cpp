#include "testbed/standin/registration.h"

#include <string>

#include "testbed/common/win_handles.h"
#include "testbed/standin/identity.h"

namespace standin {
namespace {

constexpr wchar_t kClasses[] = L"Software\\Classes\\";

LONG WriteDefault(const std::wstring& path, const std::wstring& value) {
  testbed::UniqueHkey key;
  LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                nullptr, key.put(), nullptr);
  if (status != ERROR_SUCCESS) return status;
  return RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

LONG DeleteTree(const std::wstring& path) {
  LONG status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str());
  return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

}  // namespace

LONG RegisterIdentity() {
  const std::wstring prog_id = std::wstring(kClasses) + kProgId;
  const std::wstring clsid = std::wstring(kClasses) + L"CLSID\\" + kClsidText;
  const std::wstring description = L"Brevanto Application (stand-in)";
  for (auto [path, value] : {std::pair{prog_id, description}, std::pair{prog_id + L"\\CLSID", std::wstring(kClsidText)},
                             std::pair{clsid, description}, std::pair{clsid + L"\\ProgID", std::wstring(kProgId)}}) {
    if (LONG status = WriteDefault(path, value); status != ERROR_SUCCESS) return status;
  }
  return ERROR_SUCCESS;
}

LONG UnregisterIdentity() {
  LONG status = DeleteTree(std::wstring(kClasses) + kProgId);
  LONG clsid_status = DeleteTree(std::wstring(kClasses) + L"CLSID\\" + kClsidText);
  return status != ERROR_SUCCESS ? status : clsid_status;
}

}  // namespace standin
