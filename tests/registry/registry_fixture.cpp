#include "tests/registry/registry_fixture.h"

#include <vector>

#include "common/ansi.h"

namespace registry::testing {

namespace {
constexpr const char* kTestsKey = "Software\\KestrovaCartImportTests";
int next_scratch = 0;
}  // namespace

std::string BackendName(const ::testing::TestParamInfo<BackendFactory>& info) { return info.param.name; }

void RegistryTest::SetUp() {
  backend_ = GetParam().make();
  recorder_ = std::make_unique<RecordingRegistry>(backend_->api());
  scratch_ = std::string(kTestsKey) + "\\p" + std::to_string(ProcessId()) + "_" + std::to_string(++next_scratch);
  DeleteTree(kHkeyCurrentUser, scratch_);  // leftovers of an aborted earlier run
  MakeKey("");
}

void RegistryTest::TearDown() {
  DeleteTree(kHkeyCurrentUser, scratch_);
  raw().RegDeleteKeyA(kHkeyCurrentUser, kTestsKey);  // only succeeds once no other run is using it
  EXPECT_EQ(recorder_->OpenHandles(), 0u) << "a winreg method left a key handle open";
  EXPECT_EQ(recorder_->StrayCloses(), 0u) << "a winreg method closed a handle it did not open";
  if (emulation()) {
    EXPECT_EQ(emulation()->OpenHandleCount(), 0u);
    EXPECT_EQ(emulation()->PredefinedCloseCount(), 0u);
  }
}

std::string RegistryTest::Below(std::string_view sub) const {
  return sub.empty() ? scratch_ : scratch_ + "\\" + std::string(sub);
}

std::vector<std::string> RegistryTest::PlatformCalls() const {
  std::vector<std::string> calls = recorder_->Texts();
  for (auto& call : calls) {
    for (std::size_t at = call.find(scratch_); at != std::string::npos; at = call.find(scratch_, at + 2)) {
      call.replace(at, scratch_.size(), "$S");
    }
  }
  return calls;
}

std::wstring RegistryTest::ScratchText() const { return common::AnsiToText(scratch_); }

winreg RegistryTest::Addressing(const std::wstring& subkey) {
  winreg reg(recorder());
  reg.hkey(static_cast<std::int32_t>(kHkeyCurrentUser));
  reg.KeyRoot(ScratchText());
  reg.Subkey(subkey);
  return reg;
}

void RegistryTest::MakeKey(std::string_view sub) {
  ASSERT_EQ(CreateRaw(kHkeyCurrentUser, Below(sub)).status, kErrorSuccess);
}

KeyResult RegistryTest::CreateRaw(RegKey parent, const std::string& path, DWORD reserved, DWORD options,
                                  char* key_class) {
  RegKey key = 0;
  const RegStatus status =
      raw().RegCreateKeyExA(parent, path.c_str(), reserved, key_class, options, kKeyAllAccess, nullptr, &key, nullptr);
  return AdoptKey(raw(), status, key, parent);
}

bool RegistryTest::KeyPresent(std::string_view sub) {
  return OpenKey(raw(), kHkeyCurrentUser, Below(sub).c_str(), kKeyRead).ok();
}

void RegistryTest::PutValue(std::string_view sub, const std::string& name, DWORD type, std::string_view bytes) {
  MakeKey(sub);
  const KeyResult opened = OpenKey(raw(), kHkeyCurrentUser, Below(sub).c_str(), kKeyAllAccess);
  ASSERT_EQ(opened.status, kErrorSuccess);
  // NT counts one more byte when a string's last counted byte is not NUL but the byte after it
  // is; a non-NUL sentinel after the data keeps an unterminated string exactly as given.
  std::string data(bytes);
  data.push_back('X');
  ASSERT_EQ(raw().RegSetValueExA(opened.key.get(), name.c_str(), 0, type,
                                 reinterpret_cast<const std::uint8_t*>(data.data()), static_cast<DWORD>(bytes.size())),
            kErrorSuccess);
}

std::optional<RawValue> RegistryTest::ReadValue(std::string_view sub, const std::string& name) {
  const KeyResult opened = OpenKey(raw(), kHkeyCurrentUser, Below(sub).c_str(), kKeyRead);
  if (!opened.ok()) return std::nullopt;
  const RegKey key = opened.key.get();
  RawValue value;
  DWORD size = 0;
  if (raw().RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size) != kErrorSuccess) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> data(size + 1);
  if (raw().RegQueryValueExA(key, name.c_str(), nullptr, &value.type, data.data(), &size) != kErrorSuccess) {
    return std::nullopt;
  }
  value.bytes.assign(data.begin(), data.begin() + size);
  return value;
}

void RegistryTest::DeleteTree(RegKey root, const std::string& path) {
  std::vector<std::string> children;
  {
    const KeyResult opened = OpenKey(raw(), root, path.c_str(), kKeyRead);
    if (!opened.ok()) return;
    for (DWORD index = 0;; ++index) {
      char name[512];
      DWORD size = sizeof name;
      if (raw().RegEnumKeyExA(opened.key.get(), index, name, &size, nullptr, nullptr, nullptr, nullptr) !=
          kErrorSuccess)
        break;
      children.emplace_back(name, size);
    }
  }
  for (const auto& child : children) DeleteTree(root, std::string(path).append("\\").append(child));
  raw().RegDeleteKeyA(root, path.c_str());
}

}  // namespace registry::testing
