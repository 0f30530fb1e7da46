#include "testbed/doubles/silent_double.h"

#include <utility>

namespace modMain::testing {
namespace {
constexpr wchar_t kCartPath[] = L"C:\\Docs\\ShoppingCart.csv";
}  // namespace

SilentDouble::SilentDouble(std::string cart_bytes) : cart_(std::move(cart_bytes)) { SetDocumentsFolder(L"C:\\Docs\\"); }

ObjectId SilentDouble::GetActiveObject(const std::wstring&) { return NewObject({}); }

ObjectId SilentDouble::GetObjectProperty(ObjectId, const std::wstring&) {
  ++calls;
  return NewObject({});
}

void SilentDouble::CallMethod(ObjectId, const std::wstring& method, std::span<Argument>) {
  ++calls;
  if (method == L"SLIBufferCopyToMLIBuffer") ++copies;
  if (method == L"MLIBufferAppendPaste") ++pastes;
}

common::Variant SilentDouble::CallForValue(ObjectId, const std::wstring&, std::span<Argument>) {
  ++calls;
  return common::Variant(0);  // a document is open
}

void SilentDouble::ReleaseObject(ObjectId object) noexcept { TakeBack(object); }

void SilentDouble::ShowMessage(const std::wstring& text, MessageIcon, const std::wstring&) {
  ++boxes;
  if (text.starts_with(L"It appears that line")) ++line_boxes;
  last_message = text;
}

Choice SilentDouble::AskRetryOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  ShowMessage(text, icon, title);
  return Choice::kCancel;
}

Choice SilentDouble::AskOkOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  ShowMessage(text, icon, title);
  return Choice::kOk;
}

std::int64_t SilentDouble::FileLength(const std::wstring& path) {
  if (path != kCartPath) throw common::RuntimeError(kErrFileNotFound);
  return static_cast<std::int64_t>(cart_.size());
}

FileContent SilentDouble::ReadAllShared(const std::wstring&) { return FileContent{std::nullopt, cart_}; }

}  // namespace modMain::testing
