#include "testbed/doubles/silent_double.h"

#include <utility>
#include <vector>

namespace modMain::testing {
namespace {
constexpr wchar_t kCartPath[] = L"C:\\Docs\\ShoppingCart.csv";
}  // namespace

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

bool IsSaid(const Texts& texts, Message message, std::wstring_view text) {
  for (const PluralForm form : {PluralForm::kOne, PluralForm::kOther}) {
    // The form's text between its inserts ("{1}"): the first piece starts the text, the last ends
    // it, the others follow in order in between.
    const std::wstring_view said = texts.Form(message, form);
    std::vector<std::wstring_view> pieces;
    for (std::size_t start = 0;;) {
      const std::size_t open = said.find(L'{', start), close = said.find(L'}', open);
      pieces.push_back(said.substr(start, open - start));
      if (close == std::wstring_view::npos) break;
      start = close + 1;
    }
    if (pieces.size() == 1) {
      if (text == pieces.front()) return true;
      continue;
    }
    std::size_t at = pieces.front().size();
    bool fits = text.starts_with(pieces.front());
    for (std::size_t i = 1; fits && i + 1 < pieces.size(); ++i) {
      const std::size_t found = text.find(pieces[i], at);
      fits = found != std::wstring_view::npos;
      at = found + pieces[i].size();
    }
    if (fits && text.size() >= at + pieces.back().size() && text.ends_with(pieces.back())) return true;
  }
  return false;
}

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
  if (path != kCartPath) throw common::RuntimeError(kErrFileNotFound);
  return static_cast<std::int64_t>(cart_.size());
}

FileContent SilentDesk::ReadAllShared(const std::wstring&) { return FileContent{std::nullopt, cart_}; }

}  // namespace modMain::testing
