#include "tests/import/fake_platform.h"

#include <gtest/gtest.h>

#include "registry/winreg.h"

namespace modMain::testing {
namespace {

std::wstring Describe(const common::Variant& value) {
  if (value.kind() == common::Variant::Kind::kText) return L"\"" + value.text() + L"\"";
  return common::ToText(value);
}

const wchar_t* IconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kCritical:
      return L"critical";
    case MessageIcon::kExclamation:
      return L"exclamation";
    case MessageIcon::kInformation:
      return L"information";
  }
  return L"?";
}

}  // namespace

void FakePlatform::FailOn(const std::wstring& member, int nth, common::RuntimeError error) {
  failures_.insert_or_assign({member, nth}, std::move(error));
}

void FakePlatform::RejectOn(const std::wstring& member, int nth, int times) { rejections_[{member, nth}] = times; }

void FakePlatform::SetDocumentsFolder(const std::wstring& folder) {
  registry::winreg reg(registry);
  reg.hkey(static_cast<std::int32_t>(registry::kHkeyCurrentUser));
  reg.KeyRoot(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
  ASSERT_TRUE(reg.SetRegistryValue(L"Personal", folder, 1));
}

std::vector<std::wstring> FakePlatform::Messages() const {
  std::vector<std::wstring> boxes;
  for (const auto& entry : log) {
    if (entry.starts_with(L"Box ")) boxes.push_back(entry);
  }
  return boxes;
}

void FakePlatform::Count(const std::wstring& member) {
  const int nth = calls_[member] + 1;
  if (const auto refusal = rejections_.find({member, nth}); refusal != rejections_.end() && refusal->second > 0) {
    --refusal->second;
    throw CallRejected(static_cast<std::int32_t>(0x80010001u), L"Call was rejected by callee.");
  }
  calls_[member] = nth;
  const auto failure = failures_.find({member, nth});
  if (failure != failures_.end()) throw failure->second;
}

ObjectId FakePlatform::NewObject(const std::wstring& kind) {
  live_[next_id_] = kind;
  return next_id_++;
}

const std::wstring& FakePlatform::KindOf(ObjectId object) const {
  static const std::wstring kDead = L"<released>";
  const auto it = live_.find(object);
  if (it == live_.end()) ADD_FAILURE() << "use of an object id that is not live: " << object;
  return it == live_.end() ? kDead : it->second;
}

ObjectId FakePlatform::GetActiveObject(const std::wstring& prog_id) {
  log.push_back(L"GetActiveObject " + prog_id);
  if (!host_running || prog_id != L"Brevanto.Application") {
    throw common::RuntimeError(static_cast<std::int32_t>(0x800401E3u), L"Operation unavailable");
  }
  Count(L"GetActiveObject");
  return NewObject(L"Application");
}

ObjectId FakePlatform::GetObjectProperty(ObjectId object, const std::wstring& property) {
  const std::wstring& kind = KindOf(object);
  log.push_back(L"Get " + kind + L"." + property);
  Count(property);
  if (kind != L"Application" || (property != L"DocFunctions" && property != L"ItemFunctions")) {
    throw common::RuntimeError(438, L"Object doesn't support this property or method");
  }
  return NewObject(property);
}

void FakePlatform::Invoke(ObjectId object, const std::wstring& method, std::span<Argument> args) {
  std::wstring entry = L"Call " + KindOf(object) + L"." + method + L"(";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i > 0) entry += L", ";
    entry += args[i].by_reference() ? L"&\"" + args[i].reference() + L"\"" : Describe(args[i].value());
  }
  log.push_back(entry + L")");
  Count(method);
}

void FakePlatform::CallMethod(ObjectId object, const std::wstring& method, std::span<Argument> args) {
  Invoke(object, method, args);
}

common::Variant FakePlatform::CallForValue(ObjectId object, const std::wstring& method, std::span<Argument> args) {
  Invoke(object, method, args);
  return document_index;
}

void FakePlatform::ReleaseObject(ObjectId object) noexcept {
  const auto it = live_.find(object);
  if (it == live_.end()) {
    ++bad_releases;
    return;
  }
  log.push_back(L"Release " + it->second);
  live_.erase(it);
}

void FakePlatform::ShowMessage(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  log.push_back(L"Box " + std::wstring(IconName(icon)) + L" [" + title + L"] " + text);
}

Choice FakePlatform::AskRetryOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  log.push_back(L"Ask " + std::wstring(IconName(icon)) + L" [" + title + L"] " + text);
  if (answers.empty()) return Choice::kCancel;
  const Choice answer = answers.front();
  answers.erase(answers.begin());
  return answer;
}

std::int64_t FakePlatform::FileLength(const std::wstring& path) {
  log.push_back(L"FileLength " + path);
  if (const auto it = files.find(path); it != files.end()) return static_cast<std::int64_t>(it->second.size());
  throw common::RuntimeError(53, L"File not found");
}

FileContent FakePlatform::ReadAllShared(const std::wstring& path) {
  log.push_back(L"ReadAllShared " + path);
  if (const auto it = unopenable.find(path); it != unopenable.end()) return {it->second, {}};
  if (const auto it = unreadable.find(path); it != unreadable.end()) throw it->second;
  if (const auto it = files.find(path); it != files.end()) return {std::nullopt, it->second};
  return {common::RuntimeError(53, L"File not found"), {}};
}

}  // namespace modMain::testing
