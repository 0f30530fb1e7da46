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

void RecordingHost::RejectOn(const std::wstring& member, int nth, int times) { rejections_[{member, nth}] = times; }

Log CallLog::Messages() const {
  std::vector<std::wstring> boxes;
  for (const auto& entry : log) {
    for (const wchar_t* kind : {L"Box ", L"Choose ", L"Question "}) {
      if (entry.starts_with(kind)) boxes.push_back(entry);
    }
  }
  return boxes;
}

void RecordingHost::Count(const std::wstring& member) {
  const int nth = calls_[member] + 1;
  if (const auto refusal = rejections_.find({member, nth}); refusal != rejections_.end() && refusal->second > 0) {
    --refusal->second;
    throw CallRejected(static_cast<std::int32_t>(0x80010001u), L"Call was rejected by callee.");
  }
  calls_[member] = nth;
  if (ms_per_call > 0) clock_.SleepMs(ms_per_call);  // the call took its time, whether it then fails or not
  const auto failure = failures_.find({member, nth});
  if (failure != failures_.end()) std::rethrow_exception(failure->second);
}

const std::wstring& RecordingHost::LiveKindOf(ObjectId object) const {
  static const std::wstring kDead = L"<released>";
  const std::wstring* kind = KindOf(object);
  if (kind == nullptr) ADD_FAILURE() << "use of an object id that is not live: " << object;
  return kind == nullptr ? kDead : *kind;
}

ObjectId RecordingHost::GetActiveObject(const std::wstring& prog_id) {
  log_.push_back(L"GetActiveObject " + prog_id);
  if (!host_running || prog_id != L"Brevanto.Application") {
    throw common::RuntimeError(static_cast<std::int32_t>(0x800401E3u), L"Operation unavailable");
  }
  Count(L"GetActiveObject");
  return NewObject(L"Application");
}

ObjectId RecordingHost::GetObjectProperty(ObjectId object, const std::wstring& property) {
  const std::wstring& kind = LiveKindOf(object);
  log_.push_back(L"Get " + kind + L"." + property);
  Count(property);
  if (kind != L"Application" || (property != L"DocFunctions" && property != L"ItemFunctions")) {
    throw common::RuntimeError(common::kErrNoSuchMember);
  }
  return NewObject(property);
}

void RecordingHost::Invoke(ObjectId object, const std::wstring& method, std::span<Argument> args) {
  std::wstring entry = L"Call " + LiveKindOf(object) + L"." + method + L"(";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i > 0) entry += L", ";
    entry += args[i].by_reference() ? L"&\"" + args[i].reference() + L"\"" : Describe(args[i].value());
  }
  log_.push_back(entry + L")");
  Count(method);
}

void RecordingHost::CallMethod(ObjectId object, const std::wstring& method, std::span<Argument> args) {
  Invoke(object, method, args);
}

common::Variant RecordingHost::CallForValue(ObjectId object, const std::wstring& method, std::span<Argument> args) {
  Invoke(object, method, args);
  return document_index;
}

void RecordingHost::ReleaseObject(ObjectId object) noexcept {
  if (const std::optional<std::wstring> kind = TakeBack(object)) log_.push_back(L"Release " + *kind);
}

void RecordingDesk::ShowMessage(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  log_.push_back(L"Box " + std::wstring(IconName(icon)) + L" [" + title + L"] " + text);
}

Choice RecordingDesk::Answer(const wchar_t* kind, const std::wstring& text, MessageIcon icon,
                             const std::wstring& title) {
  log_.push_back(kind + (L" " + std::wstring(IconName(icon))) + L" [" + title + L"] " + text);
  if (answers.empty()) return Choice::kCancel;
  const Choice answer = answers.front();
  answers.erase(answers.begin());
  return answer;
}

Choice RecordingDesk::AskRetryOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  return Answer(L"Ask", text, icon, title);
}

Choice RecordingDesk::AskOkOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  return Answer(L"Choose", text, icon, title);
}

std::int64_t RecordingDesk::FileLength(const std::wstring& path) {
  log_.push_back(L"FileLength " + path);
  if (const auto it = files.find(path); it != files.end()) return static_cast<std::int64_t>(it->second.size());
  throw common::RuntimeError(kErrFileNotFound);
}

FileContent RecordingDesk::ReadAllShared(const std::wstring& path) {
  log_.push_back(L"ReadAllShared " + path);
  if (const auto it = unopenable.find(path); it != unopenable.end()) return {it->second, {}};
  if (const auto it = unreadable.find(path); it != unreadable.end()) throw it->second;
  if (const auto it = files.find(path); it != files.end()) return {std::nullopt, it->second};
  return {common::RuntimeError(kErrFileNotFound), {}};
}

bool RecordingDesk::FolderExists(const std::wstring& path) {
  log_.push_back(L"FolderExists " + path);
  if (folders.contains(path)) return true;
  return std::ranges::any_of(files, [&](const auto& file) { return file.first.starts_with(path + L"\\"); });
}

std::optional<std::wstring> RecordingDesk::ShellDocumentsFolder() {
  log_.push_back(L"ShellDocumentsFolder");
  return shell_documents;
}

bool RecordingDesk::TryLockImport(const std::wstring& name) {
  log_.push_back(L"TryLockImport " + name);
  return !lock_held_elsewhere;
}

std::uint16_t RecordingDesk::UserDisplayLanguage() {
  log_.push_back(L"UserDisplayLanguage");
  return DeskDouble::UserDisplayLanguage();
}

std::wstring RecordingDesk::FullPath(const std::wstring& path) {
  log_.push_back(L"FullPath " + path);
  const bool full = path.starts_with(L"\\\\") || (path.size() > 2 && path[1] == L':' && path[2] == L'\\');
  return full ? path : current_folder + L"\\" + path;
}

void RecordingWindow::Show(const std::wstring& title, const std::wstring& first_line) {
  log_.push_back(L"Window show [" + title + L"] " + first_line);
}

void RecordingWindow::Update(const std::wstring& second_line, std::uint64_t done, std::uint64_t total) {
  log_.push_back(L"Window '" + second_line + L"' " + std::to_wstring(done) + L"/" + std::to_wstring(total));
  if (second_line == cancel_at) pressed_ = true;
}

bool RecordingWindow::Cancelled() {
  log_.push_back(pressed_ ? L"Window cancelled? yes" : L"Window cancelled? no");
  return pressed_;
}

void RecordingWindow::Close() noexcept { log_.push_back(L"Window close"); }

}  // namespace modMain::testing
