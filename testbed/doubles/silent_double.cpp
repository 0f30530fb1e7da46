#include "testbed/doubles/silent_double.h"

#include <utility>

namespace modMain::testing {
ObjectId SilentHost::GetActiveObject(const std::wstring&) { return NewObject({}); }

ObjectId SilentHost::GetObjectProperty(ObjectId, const std::wstring&) {
  ++calls;
  return NewObject({});
}

void SilentHost::CallMethod(ObjectId, const std::wstring& method, std::span<Argument>) {
  ++calls;
  if (method == L"SLIBufferCopyToMLIBuffer") ++copies;
  if (method == L"MLIBufferAppendPaste") ++pastes;
}

common::Variant SilentHost::CallForValue(ObjectId, const std::wstring&, std::span<Argument>) {
  ++calls;
  return common::Variant(0);  // a document is open
}

void SilentHost::ReleaseObject(ObjectId object) noexcept { TakeBack(object); }

SilentDesk::SilentDesk(std::string cart_bytes, const Texts& texts) : cart_(std::move(cart_bytes)), texts_(texts) {
  SetDocumentsFolder(L"C:\\Docs\\");
}

void SilentDesk::ShowMessage(const std::wstring& text, MessageIcon, const std::wstring&) {
  ++boxes;
  if (text.ends_with(texts_.Say(Message::kNothingImportable))) ++line_boxes;
  last_message = text;
}

Choice SilentDesk::AskRetryOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  ShowMessage(text, icon, title);
  return Choice::kCancel;
}

Choice SilentDesk::AskOkOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  ShowMessage(text, icon, title);
  ++line_boxes;
  return Choice::kOk;
}

std::int64_t SilentDesk::FileLength(const std::wstring& path) {
  if (path != kSilentCartPath) throw common::RuntimeError(kErrFileNotFound);
  return static_cast<std::int64_t>(cart_.size());
}

FileContent SilentDesk::ReadAllShared(const std::wstring&) { return FileContent{std::nullopt, cart_}; }

}  // namespace modMain::testing
