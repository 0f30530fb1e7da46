#include "tests/import/recording_double.h"

#include <gtest/gtest.h>

#include <algorithm>

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

void RecordingDouble::RejectOn(const std::wstring& member, int nth, int times) { rejections_[{member, nth}] = times; }

std::vector<std::wstring> RecordingDouble::Messages() const {
  std::vector<std::wstring> boxes;
  for (const auto& entry : log) {
    if (entry.starts_with(L"Box ") || entry.starts_with(L"Choose ")) boxes.push_back(entry);
  }
  return boxes;
}

void RecordingDouble::Count(const std::wstring& member) {
  const int nth = calls_[member] + 1;
  if (const auto refusal = rejections_.find({member, nth}); refusal != rejections_.end() && refusal->second > 0) {
    --refusal->second;
    throw CallRejected(static_cast<std::int32_t>(0x80010001u), L"Call was rejected by callee.");
  }
  calls_[member] = nth;
  const auto failure = failures_.find({member, nth});
  if (failure != failures_.end()) std::rethrow_exception(failure->second);
}

const std::wstring& RecordingDouble::LiveKindOf(ObjectId object) const {
  static const std::wstring kDead = L"<released>";
  const std::wstring* kind = KindOf(object);
  if (kind == nullptr) ADD_FAILURE() << "use of an object id that is not live: " << object;
  return kind == nullptr ? kDead : *kind;
}

ObjectId RecordingDouble::GetActiveObject(const std::wstring& prog_id) {
  log.push_back(L"GetActiveObject " + prog_id);
  if (!host_running || prog_id != L"Brevanto.Application") {
    throw common::RuntimeError(static_cast<std::int32_t>(0x800401E3u), L"Operation unavailable");
  }
  Count(L"GetActiveObject");
  return NewObject(L"Application");
}

ObjectId RecordingDouble::GetObjectProperty(ObjectId object, const std::wstring& property) {
  const std::wstring& kind = LiveKindOf(object);
  log.push_back(L"Get " + kind + L"." + property);
  Count(property);
  if (kind != L"Application" || (property != L"DocFunctions" && property != L"ItemFunctions")) {
    throw common::RuntimeError(common::kErrNoSuchMember);
  }
  return NewObject(property);
}

void RecordingDouble::Invoke(ObjectId object, const std::wstring& method, std::span<Argument> args) {
  std::wstring entry = L"Call " + LiveKindOf(object) + L"." + method + L"(";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i > 0) entry += L", ";
    entry += args[i].by_reference() ? L"&\"" + args[i].reference() + L"\"" : Describe(args[i].value());
  }
  log.push_back(entry + L")");
  Count(method);
}

void RecordingDouble::CallMethod(ObjectId object, const std::wstring& method, std::span<Argument> args) {
  Invoke(object, method, args);
}

common::Variant RecordingDouble::CallForValue(ObjectId object, const std::wstring& method, std::span<Argument> args) {
  Invoke(object, method, args);
  return document_index;
}

void RecordingDouble::ReleaseObject(ObjectId object) noexcept {
  if (const std::optional<std::wstring> kind = TakeBack(object)) log.push_back(L"Release " + *kind);
}

void RecordingDouble::ShowMessage(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  log.push_back(L"Box " + std::wstring(IconName(icon)) + L" [" + title + L"] " + text);
}

Choice RecordingDouble::Answer(const wchar_t* kind, const std::wstring& text, MessageIcon icon,
                               const std::wstring& title) {
  log.push_back(kind + (L" " + std::wstring(IconName(icon))) + L" [" + title + L"] " + text);
  if (answers.empty()) return Choice::kCancel;
  const Choice answer = answers.front();
  answers.erase(answers.begin());
  return answer;
}

Choice RecordingDouble::AskRetryOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  return Answer(L"Ask", text, icon, title);
}

Choice RecordingDouble::AskOkOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  return Answer(L"Choose", text, icon, title);
}

std::int64_t RecordingDouble::FileLength(const std::wstring& path) {
  log.push_back(L"FileLength " + path);
  if (const auto it = files.find(path); it != files.end()) return static_cast<std::int64_t>(it->second.size());
  throw common::RuntimeError(kErrFileNotFound);
}

FileContent RecordingDouble::ReadAllShared(const std::wstring& path) {
  log.push_back(L"ReadAllShared " + path);
  if (const auto it = unopenable.find(path); it != unopenable.end()) return {it->second, {}};
  if (const auto it = unreadable.find(path); it != unreadable.end()) throw it->second;
  if (const auto it = files.find(path); it != files.end()) return {std::nullopt, it->second};
  return {common::RuntimeError(kErrFileNotFound), {}};
}

bool RecordingDouble::FolderExists(const std::wstring& path) {
  log.push_back(L"FolderExists " + path);
  if (folders.contains(path)) return true;
  return std::ranges::any_of(files, [&](const auto& file) { return file.first.starts_with(path + L"\\"); });
}

std::optional<std::wstring> RecordingDouble::ShellDocumentsFolder() {
  log.push_back(L"ShellDocumentsFolder");
  return shell_documents;
}

bool RecordingDouble::TryLockImport(const std::wstring& name) {
  log.push_back(L"TryLockImport " + name);
  return !lock_held_elsewhere;
}

std::wstring RecordingDouble::FullPath(const std::wstring& path) {
  log.push_back(L"FullPath " + path);
  const bool full = path.starts_with(L"\\\\") || (path.size() > 2 && path[1] == L':' && path[2] == L'\\');
  return full ? path : current_folder + L"\\" + path;
}

}  // namespace modMain::testing
