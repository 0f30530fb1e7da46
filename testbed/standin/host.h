#pragma once
// The quote that the stand-in plays: the open document with its line items, the single-line and
// multi-line item buffers, and what the automation objects share besides (the journal, the plan
// of injected failures, who to tell when the document changes).
#include <comutil.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "testbed/common/line_file.h"
#include "testbed/standin/options.h"

namespace standin {

struct Field {
  std::wstring name;  // one of kFieldNames, in its own spelling
  _variant_t value;   // a copy: by-reference arguments are read through when stored
};
// The fields of one line item in the order they were first stored.
using LineItem = std::vector<Field>;

class Host {
 public:
  explicit Host(Options options);

  // Creates the journal and removes the items and buffer files left from an earlier run, so that
  // they always come from this run. False with `error` set when the journal cannot be made.
  bool Open(std::wstring& error);

  // Journal. Calls are always written; connection events only between StartEvents and
  // StopEvents, so that the running object table's own registration is never taken for a client.
  void JournalLine(const std::string& line);
  void JournalEvent(const char* event, const char* object);
  void StartEvents() { events_ = true; }
  void StopEvents() { events_ = false; }

  // Holds up the call in hand for --delay: returns once the whole delay has passed (at once without one).
  void Delay() const;

  // Counts one call of `member` and answers whether the plan fails this call; if so, with the
  // description to raise.
  std::optional<std::wstring> CountCall(const std::wstring& member);

  std::int32_t document_index() const { return options_.document_index; }
  bool has_document() const { return options_.document_index != -1; }

  void ClearSingleLine() { single_line_.clear(); }
  void ClearMultiLine() { multi_line_.clear(); }
  // Stores `value` under the canonical spelling of `field` (compared without regard to case);
  // a field stored again keeps its place. False when `field` is not a line item field.
  bool SetValue(const std::wstring& field, const _variant_t& value);
  void CopySingleToMultiLine() { multi_line_.push_back(single_line_); }
  // Appends the multi-line buffer's items to the open document (the buffer keeps them), rewrites
  // the items file and tells the listener. False when no document is open.
  bool Paste();

  // Writes the buffer file (--buffer): the multi-line buffer's items as it holds them now, in the
  // items file's form. For the way out.
  void WriteBuffer() const;

  const std::vector<LineItem>& document() const { return document_; }
  void set_document_listener(std::function<void()> listener) { listener_ = std::move(listener); }

 private:
  Options options_;
  testbed::LineFile journal_;
  bool events_ = false;
  std::map<std::wstring, std::int64_t> call_counts_;  // by member name in upper case
  LineItem single_line_;
  std::vector<LineItem> multi_line_;
  std::vector<LineItem> document_;
  std::function<void()> listener_;
};

// One line of the items file: {"VendorPartNumber": {"vt": "BSTR", "value": "..."}, ...}.
std::string ItemJson(const LineItem& item);

}  // namespace standin
