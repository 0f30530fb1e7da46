// The product end to end under Wine: KestrovaCartImport.exe runs under the dialog robot against
// the stand-in quoting application, with its cart in a Documents folder of the test's own that the
// registry names. Each scenario is judged by what the user saw (the robot's transcript), what
// reached the quoting application (the stand-in's journal) and what ended up in the document
// (the items file), and the cart file must come out of every run untouched.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "import/system_message_windows.h"
#include "import/texts.h"
#include "testbed/common/json.h"
#include "testbed/driver/scenario.h"
#include "tests/support/user_conventions_windows.h"
#include "tests/testbed/desktop_window.h"

namespace e2e {
namespace {

using Lines = std::vector<std::string>;

// The importer shows boxes in a row (a locked cart, then "not running"), which needs a window of
// ours on the display between them under Wine.
[[maybe_unused]] ::testing::Environment* const desktop =
    ::testing::AddGlobalTestEnvironment(new testbed::testing::DesktopWindow);
// tools/test.sh runs the regional scenarios again under other settings, and says which.
[[maybe_unused]] ::testing::Environment* const conventions =
    ::testing::AddGlobalTestEnvironment(new testing_support::ExpectedUserConventions);

// --- What the user is told ----------------------------------------------------------------------

using modMain::Message;
const std::string kTitle = Utf8(modMain::kAppTitle);

// The language that the importer speaks to the user of this run: their display language's, which
// tools/test.sh sets for the regional runs and names in KCI_USER_LOCALE ("de-DE"); English without.
modMain::Language UsersLanguage() {
  wchar_t locale[16] = {};
  GetEnvironmentVariableW(L"KCI_USER_LOCALE", locale, 16);
  return std::wstring_view(locale).starts_with(L"de")   ? modMain::Language::kGerman
         : std::wstring_view(locale).starts_with(L"fr") ? modMain::Language::kFrench
                                                        : modMain::Language::kEnglish;
}
// A message as the catalogue says it in that language, in UTF-8.
template <typename... Inserts>
std::string Said(Message message, const Inserts&... inserts) {
  return Utf8(modMain::Texts(UsersLanguage()).Say(message, inserts...));
}

Box CartNotFound(const std::string& path) {
  return {kTitle, Said(Message::kCartNotFound, testbed::FromUtf8(path)), "exclamation"};
}
const Box kNotRunning{Utf8(modMain::kHostApiTitle), Said(Message::kHostNotRunning), "critical"};
const Box kNoDocument{kTitle, Said(Message::kNoDocument), "critical"};
Box Imported(int count) { return {kTitle, Said(Message::kImported, count), "information"}; }
Box UnexpectedError(std::int32_t number, const std::string& description, std::optional<int> line,
                    Message lead = Message::kUnexpectedError) {
  std::string text = Said(lead) + "\r\n\r\n" + Said(Message::kErrorText, number, testbed::FromUtf8(description));
  if (line) text += "\r\n" + Said(Message::kErrorInLine, *line);
  return {kTitle, text, "critical"};
}

// The platform's own text for a Win32 error, as the importer gets it.
std::string SystemMessage(DWORD code) { return Utf8(modMain::windows::SystemMessage(code)); }

// --- Carts and the items they give ---------------------------------------------------------------

// One imported line item: the four text columns (UTF-8) and the three numbers.
struct Item {
  std::string part, maker, maker_part, description;
  double price, cost, quantity;
};

testbed::Json Typed(const char* vt, testbed::Json value) { return {{"vt", vt}, {"value", std::move(value)}}; }

// The item as the items file holds it: every field with its type, in the order they were set.
std::string ItemsLine(const Item& item) {
  return testbed::JsonLine({{"VendorPartNumber", Typed("BSTR", item.part)},
                            {"Manufacturer", Typed("BSTR", item.maker)},
                            {"ManufacturerPartNumber", Typed("BSTR", item.maker_part)},
                            {"Description", Typed("BSTR", item.description)},
                            {"UnitPrice", Typed("R8", item.price)},
                            {"UnitCost", Typed("R8", item.cost)},
                            {"QtyBase", Typed("R8", item.quantity)},
                            {"TaxCode", Typed("BSTR", "Y")},
                            {"Vendor", Typed("BSTR", "Kestrova")}});
}

Lines ItemsLines(const std::vector<Item>& items) {
  Lines lines;
  for (const Item& item : items) lines.push_back(ItemsLine(item));
  return lines;
}

// The nine SLIBufferSetValue calls for the item as the journal records them: field names and the
// constants as text values, the four text columns by reference, the numbers as doubles.
Lines SetValueCalls(const Item& item) {
  auto call = [](const char* field, testbed::Json value) {
    return testbed::JsonLine({{"object", "ItemFunctions"},
                              {"call", "Invoke"},
                              {"member", "SLIBufferSetValue"},
                              {"kind", "method"},
                              {"args", testbed::Json::array({Typed("BSTR", field), std::move(value)})}});
  };
  return {call("VendorPartNumber", Typed("BSTR|BYREF", item.part)),
          call("Manufacturer", Typed("BSTR|BYREF", item.maker)),
          call("ManufacturerPartNumber", Typed("BSTR|BYREF", item.maker_part)),
          call("Description", Typed("BSTR|BYREF", item.description)),
          call("UnitPrice", Typed("R8", item.price)),
          call("UnitCost", Typed("R8", item.cost)),
          call("QtyBase", Typed("R8", item.quantity)),
          call("TaxCode", Typed("BSTR", "Y")),
          call("Vendor", Typed("BSTR", "Kestrova"))};
}

// Cart bytes are in the ANSI code page (1252 here): "B\xFC" is "Bü".
const std::string kHeader =
    "Part Number,Manufacturer,Manufacturer Part Number,Description,Reference,RoHS,Lead Time,Available,Minimum,"
    "List Price,Your Price,Quantity,Extended Price,Ship Date\r\n";
const std::string kLine1 = "KV-1,Acme,AC-1,\"Cable, 2 m\",r,c,l,1,1,\"$1,234.50\",$999.99,2,x,2024-05-14\r\n";
const std::string kLine2 = " KV-2 ,B\xFCro GmbH,,Desk \"lamp\",,,,,,USD 12.50,(3.25),2 pcs,,\r\n";
const std::string kLine3 = "KV-3,Corlith,CL-3,Server,,,,,,N/A,7,1.5,,\r\n";
const Item kItem1{"KV-1", "Acme", "AC-1", "Cable, 2 m", 1234.5, 999.99, 2};
const Item kItem2{" KV-2 ", "B\xC3\xBCro GmbH", "", "Desk lamp", 12.5, -3.25, 0};
const Item kItem3{"KV-3", "Corlith", "CL-3", "Server", 0, 7, 1.5};
// After the first blank line nothing counts, however well-formed.
const std::string kAfterBlank = "\r\nKV-9,Acme,AC-9,Ignored,,,,,,1,1,1,,\r\n";
const std::string kThreeItems = kHeader + kLine1 + kLine2 + kLine3 + kAfterBlank;

constexpr std::int32_t kInjectedFailure = static_cast<std::int32_t>(0x80040201);

// --- The fixture --------------------------------------------------------------------------------

struct Outcome {
  std::vector<Box> boxes;
  std::optional<std::int64_t> exit_code;
  std::vector<JournalEntry> journal;
  std::optional<Lines> items;                               // nothing when no paste wrote the file
  std::optional<Transcript> second{};                       // of the second importer, when two were started together
  std::vector<std::optional<std::int64_t>> box_times_ms{};  // when the robot saw each box
  std::vector<ProgressSample> progress{};                   // the progress window as the robot saw it
  std::optional<Lines> buffer{};                            // Brevanto's multi-line buffer at its end

  // The object/member/kind of each Invoke that ran, in order.
  Lines InvokedMembers() const {
    Lines members;
    for (const auto& entry : journal) {
      if (entry.ran() && entry.call == "Invoke")
        members.push_back(entry.object + "." + entry.member + ":" + entry.kind);
    }
    return members;
  }
};

// How the importer is run: the robot's options, its timeout, whether every client connection
// must be closed again at the end (not so when the stand-in went away under the importer), the
// importer's arguments and the folder it starts in, and whether a second one, under a robot of its
// own, starts together with it.
struct HowToImport {
  std::vector<std::wstring> robot_options{};
  double timeout_seconds = 60;
  bool connections_close = true;
  std::vector<std::wstring> arguments{};
  std::wstring folder{};  // the test's own when empty
  bool two_at_once = false;
  bool keep_standin = false;  // for another import
};

class ImportEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(testbed::driver::AnyProcessNamed(kStandIn)) << "another stand-in is running";
    ASSERT_TRUE(folder_.ok());
    ASSERT_TRUE(personal_.saved());
    ASSERT_TRUE(personal_.Set(folder_.path()));
  }

  std::wstring CartPath() const { return folder_.path() + L"\\" + kCartName; }
  void PutCart(std::string_view bytes) { ASSERT_TRUE(WriteBytes(CartPath(), bytes)); }
  void StartStandIn(std::vector<std::wstring> options = {}) {
    options.insert(options.end(),
                   {L"--journal", journal_.path(), L"--items", items_.path(), L"--buffer", buffer_.path()});
    ASSERT_TRUE(standin_.Start(options)) << "the stand-in did not come up";
  }

  // Runs the importer under the robot, then closes the stand-in so that its journal is complete.
  // Whatever the scenario, the cart file must be as it was, the importer must be gone, and no
  // client connection may be left to any stand-in object.
  Outcome Import(const HowToImport& how = {}) {
    const std::optional<FileState> cart_before = ReadFileState(CartPath());
    std::vector<std::wstring> command{BinFolder() + L"\\" + kImporter};
    command.insert(command.end(), how.arguments.begin(), how.arguments.end());
    RobotRun robots[2];
    const std::wstring* transcripts[2] = {&transcript_.path(), &second_transcript_.path()};
    const int importers = how.two_at_once ? 2 : 1;
    std::vector<std::wstring> robot_options = how.robot_options;
    robot_options.insert(robot_options.end(), {L"--progress", progress_.path()});
    for (int i = 0; i < importers; ++i) {
      EXPECT_TRUE(robots[i].Start(*transcripts[i], command, how.timeout_seconds,
                                  i == 0 ? robot_options : how.robot_options, how.folder));
    }
    for (int i = 0; i < importers; ++i) {
      EXPECT_EQ(robots[i].Wait(), std::optional<DWORD>(0)) << "the robot did not see importer " << i << " to its end";
    }
    if (standin_.running() && !how.keep_standin) {
      EXPECT_EQ(standin_.Stop(), std::optional<DWORD>(0));
    }
    EXPECT_FALSE(testbed::driver::AnyProcessNamed(kImporter));
    EXPECT_EQ(ReadFileState(CartPath()), cart_before) << "the cart file changed";

    Transcript transcript = ReadTranscript(transcript_.path());
    EXPECT_EQ(transcript.other, Lines{});
    Outcome outcome{std::move(transcript.boxes), transcript.exit_code, ReadJournal(journal_.path()),
                    ReadLines(items_.path())};
    outcome.box_times_ms = std::move(transcript.box_times_ms);
    outcome.progress = ReadProgress(progress_.path());
    outcome.buffer = ReadLines(buffer_.path());
    for (const auto& sample : outcome.progress) EXPECT_TRUE(sample.readable) << sample.line;
    if (how.two_at_once) outcome.second = ReadTranscript(second_transcript_.path());
    for (const auto& entry : outcome.journal) EXPECT_TRUE(entry.readable) << entry.line;
    if (how.connections_close) {
      EXPECT_EQ(ConnectionProblems(outcome.journal), "");
    }
    return outcome;
  }

  ScratchFolder folder_{L"documents"};
  PersonalFolder personal_;
  KestrovaKeyAside kestrova_key_;  // no import of an earlier scenario asks
  testbed::driver::TempFile journal_{L"journal.jsonl"};
  testbed::driver::TempFile items_{L"items.jsonl"};
  testbed::driver::TempFile transcript_{L"transcript.jsonl"};
  testbed::driver::TempFile second_transcript_{L"transcript2.jsonl"};
  testbed::driver::TempFile progress_{L"progress.jsonl"};
  testbed::driver::TempFile buffer_{L"buffer.jsonl"};
  StandIn standin_;  // declared last: closed first
};

// The members a run invokes, in order, for `lines` imported lines: the document check, one
// MLIBufferClear, per line SLIBufferClear, nine values and the copy, one paste; every ItemFunctions
// call on a fresh read of the property.
Lines ExpectedInvokes(int lines) {
  const std::string read = "Application.ItemFunctions:get";
  Lines members{"Application.DocFunctions:get", "DocFunctions.GetActiveDocumentIndex:method", read,
                "ItemFunctions.MLIBufferClear:method"};
  for (int i = 0; i < lines; ++i) {
    members.insert(members.end(), {read, "ItemFunctions.SLIBufferClear:method"});
    for (int value = 0; value < 9; ++value)
      members.insert(members.end(), {read, "ItemFunctions.SLIBufferSetValue:method"});
    members.insert(members.end(), {read, "ItemFunctions.SLIBufferCopyToMLIBuffer:method"});
  }
  members.insert(members.end(), {read, "ItemFunctions.MLIBufferAppendPaste:method"});
  return members;
}

std::int64_t Count(const std::vector<JournalEntry>& journal, const char* event, const char* object) {
  std::int64_t count = 0;
  for (const auto& entry : journal) count += entry.event == event && entry.object == object;
  return count;
}

// --- The five ends ------------------------------------------------------------------------------

// The cart path comes from "Personal" less one trailing backslash; with no entry at all, from the
// folder the shell names, where the user sees their Documents. Brevanto is never contacted, not
// even to see if it runs.
struct MissingCartCase {
  const char* label;
  enum { kFolder, kFolderWithBackslash, kNoEntry } entry;
};

void PrintTo(const MissingCartCase& c, std::ostream* out) { *out << c.label; }

class MissingCart : public ImportEndToEnd, public ::testing::WithParamInterface<MissingCartCase> {};

TEST_P(MissingCart, ToldWithTheFullPathAndBrevantoIsNeverContacted) {
  std::string expected_path = Utf8(CartPath());
  switch (GetParam().entry) {
    case MissingCartCase::kFolder:
      break;
    case MissingCartCase::kFolderWithBackslash:
      ASSERT_TRUE(personal_.Set(folder_.path() + L"\\"));
      break;
    case MissingCartCase::kNoEntry:
      ASSERT_TRUE(personal_.Remove());  // the shell's entry still names the test's folder
      break;
  }
  StartStandIn();
  Outcome run = Import();
  EXPECT_EQ(run.boxes, std::vector<Box>{CartNotFound(expected_path)});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.journal.size(), 0u) << "the stand-in was contacted: " << run.journal.front().line;
  EXPECT_EQ(run.items, std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(PersonalEntry, MissingCart,
                         ::testing::Values(MissingCartCase{"Folder", MissingCartCase::kFolder},
                                           MissingCartCase{"FolderWithBackslash",
                                                           MissingCartCase::kFolderWithBackslash},
                                           MissingCartCase{"NoEntry", MissingCartCase::kNoEntry}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(ImportEndToEnd, BrevantoNotRunning) {
  PutCart(kThreeItems);
  Outcome run = Import();
  EXPECT_EQ(run.boxes, std::vector<Box>{kNotRunning});
  EXPECT_EQ(run.exit_code, 0);
}

TEST_F(ImportEndToEnd, NoOpenDocument) {
  PutCart(kThreeItems);
  StartStandIn({L"--no-document"});
  Outcome run = Import();
  EXPECT_EQ(run.boxes, std::vector<Box>{kNoDocument});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.InvokedMembers(),
            (Lines{"Application.DocFunctions:get", "DocFunctions.GetActiveDocumentIndex:method"}));
  EXPECT_EQ(run.items, std::nullopt);
}

// Any document index but -1 means a document is open; 3 here.
TEST_F(ImportEndToEnd, NormalEndImportsEveryLineWithItsTypesInOrder) {
  PutCart(kThreeItems);
  StartStandIn({L"--document-index", L"3"});
  Outcome run = Import();
  EXPECT_EQ(run.boxes, std::vector<Box>{Imported(3)});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.items, ItemsLines({kItem1, kItem2, kItem3}));
  EXPECT_EQ(run.InvokedMembers(), ExpectedInvokes(3));

  Lines set_values;
  for (const auto& entry : run.journal) {
    if (entry.ran() && entry.call == "Invoke" && entry.member == "SLIBufferSetValue") set_values.push_back(entry.line);
  }
  Lines expected;
  for (const Item* item : {&kItem1, &kItem2, &kItem3}) {
    Lines calls = SetValueCalls(*item);
    expected.insert(expected.end(), calls.begin(), calls.end());
  }
  EXPECT_EQ(set_values, expected);

  // Every ItemFunctions read handed out a reference that was let go before the next read: each
  // read is a connection of its own. The application is attached twice (the presence check,
  // then the run), the document functions once.
  EXPECT_EQ(Count(run.journal, "connect", "ItemFunctions"), 2 + 11 * 3);
  EXPECT_EQ(Count(run.journal, "connect", "Application"), 2);
  EXPECT_EQ(Count(run.journal, "connect", "DocFunctions"), 1);
}

// Errors that Brevanto raises are not handled: the report names number, description and, within
// a cart line, its index; nothing is pasted unless the error comes after the paste.
struct FailureCase {
  const char* label;
  const wchar_t* plan;
  std::string description;
  std::optional<int> line;
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.label; }

class InjectedFailure : public ImportEndToEnd, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(InjectedFailure, EndsWithTheReportAndNoPaste) {
  PutCart(kHeader + kLine1 + kLine2 + kLine3);
  StartStandIn({L"--fail", GetParam().plan});
  Outcome run = Import();
  EXPECT_EQ(run.boxes, std::vector<Box>{UnexpectedError(kInjectedFailure, GetParam().description, GetParam().line)});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.items, std::nullopt) << "something was pasted";
}

INSTANTIATE_TEST_SUITE_P(Plans, InjectedFailure,
                         ::testing::Values(
                             // The 12th value is the third of line 2 (line 1 stored nine).
                             FailureCase{"ValueOfLine2", L"SLIBufferSetValue:12",
                                         "SLIBufferSetValue failed: injected failure at call 12", 2},
                             FailureCase{"CopyOfLine3", L"SLIBufferCopyToMLIBuffer:3",
                                         "SLIBufferCopyToMLIBuffer failed: injected failure at call 3", 3},
                             FailureCase{"DocumentCheck", L"GetActiveDocumentIndex:1",
                                         "GetActiveDocumentIndex failed: injected failure at call 1", std::nullopt},
                             FailureCase{"Paste", L"MLIBufferAppendPaste:1",
                                         "MLIBufferAppendPaste failed: injected failure at call 1", std::nullopt}),
                         [](const auto& info) { return std::string(info.param.label); });

// --- A cart that another program holds locked ----------------------------------------------------

// The file is there (its length can be read) but cannot be opened: the three-line message first,
// then the run goes on with no text at all.
class LockedCart : public ImportEndToEnd, public ::testing::WithParamInterface<bool> {};

TEST_P(LockedCart, ThreeLineMessageThenTheRunGoesOnWithNoText) {
  const bool brevanto_running = GetParam();
  PutCart(kThreeItems);
  if (brevanto_running) StartStandIn();
  Outcome run;
  {
    common::UniqueFile lock(
        CreateFileW(CartPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    run = Import();
  }
  const std::string description = SystemMessage(ERROR_SHARING_VIOLATION);
  ASSERT_NE(description, "");
  const Box locked{kTitle,
                   Said(Message::kErrorText, 32, testbed::FromUtf8(description)) + "\r\n\r\n" +
                       Said(Message::kReadFailed, CartPath()),
                   "critical"};
  EXPECT_EQ(run.boxes, (std::vector<Box>{locked, brevanto_running ? Imported(0) : kNotRunning}));
  EXPECT_EQ(run.exit_code, 0);
  if (brevanto_running) {
    EXPECT_EQ(run.InvokedMembers(), ExpectedInvokes(0));
    EXPECT_EQ(run.items, Lines{}) << "a paste of nothing leaves an empty document";
  }
}

INSTANTIATE_TEST_SUITE_P(Brevanto, LockedCart, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Running" : "NotRunning"; });

// --- Lines without 14 columns, and files that are no cart ----------------------------------------

// A cart of 50 lines after its header, 30 of them short: one box before anything reaches Brevanto's buffers. OK
// imports the 20 others; Cancel leaves the buffers untouched.
class ShortLines : public ImportEndToEnd, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(ShortLines, AreToldInOneBoxBeforeTheBuffersAreTouched) {
  std::string cart = kHeader;
  std::vector<Item> items;
  for (int i = 1; i <= 50; ++i) {
    char line[128];
    if (i % 5 < 3) {
      std::snprintf(line, sizeof line, "KV-%d,Acme,AC-%d,Part %d,,,,,,1,1\r\n", i, i, i);
    } else {
      std::snprintf(line, sizeof line, "KV-%d,Acme,AC-%d,Part %d,,,,,,%d.50,1,2,,\r\n", i, i, i, i);
      const std::string n = std::to_string(i);
      items.push_back({"KV-" + n, "Acme", "AC-" + n, "Part " + n, i + 0.5, 1, 2});
    }
    cart += line;
  }
  PutCart(cart);
  StartStandIn();
  const std::wstring press = GetParam();
  Outcome run = Import({{L"--press", press}});
  const Box columns{kTitle,
                    Said(Message::kWrongColumnsLines, L"1, 2, 5, 6, 7, 10, 11, 12, 15, 16 and 20 more") + "\r\n\r\n" +
                        Said(Message::kChooseOkOrCancel, 20),
                    "information",
                    {"OK", "Cancel"}};
  if (press == L"OK") {
    EXPECT_EQ(run.boxes, (std::vector<Box>{columns, Imported(20)}));
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.items, ItemsLines(items));
    EXPECT_EQ(run.InvokedMembers(), ExpectedInvokes(20));
  } else {
    EXPECT_EQ(run.boxes, std::vector<Box>{columns});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.items, std::nullopt);
    EXPECT_EQ(run.InvokedMembers(),
              (Lines{"Application.DocFunctions:get", "DocFunctions.GetActiveDocumentIndex:method"}));
  }
}

INSTANTIATE_TEST_SUITE_P(Press, ShortLines, ::testing::Values(L"OK", L"Cancel"),
                         [](const auto& info) { return Utf8(info.param); });

// A customer list chosen by mistake: one box, and Brevanto is never contacted.
TEST_F(ImportEndToEnd, AFileThatIsNoCartIsToldOnceAndNothingReachesBrevanto) {
  const ScratchFolder downloads(L"downloads");
  const std::wstring path = downloads.path() + L"\\Customers.csv";
  std::string customers = "Name,Street,Town,Phone,Mail\r\n";
  for (int i = 1; i < 300; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "Customer %d,Main St,Springfield,555-0100,c@x\r\n", i);
    customers += line;
  }
  ASSERT_TRUE(WriteBytes(path, customers));
  StartStandIn();
  Outcome run = Import({.arguments = {path}});
  const Box not_a_cart{kTitle, Said(Message::kNotACart, path), "exclamation"};
  EXPECT_EQ(run.boxes, std::vector<Box>{not_a_cart});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.journal.size(), 0u) << "the stand-in was contacted: " << run.journal.front().line;
}

// --- One import at a time, a cart from anywhere -------------------------------------------------

// Two importers started at the same moment: whichever takes the import lock imports the cart once,
// intact and in order; the other says so and ends without attaching to Brevanto.
// A cart of `count` numbered lines, and the items they give.
std::string NumberedCart(int count, Lines& items) {
  std::string cart = kHeader;
  for (int i = 1; i <= count; ++i) {
    char line[128];
    std::snprintf(line, sizeof line, "KV-%d,Acme,AC-%d,Part %d,,,,,,%d.50,%d,%d,,\r\n", i, i, i, i, i, 1 + i % 3);
    cart += line;
    const std::string n = std::to_string(i);
    items.push_back(ItemsLine({"KV-" + n, "Acme", "AC-" + n, "Part " + n, i + 0.5, 1.0 * i, 1.0 + i % 3}));
  }
  return cart;
}

TEST_F(ImportEndToEnd, TwoImportersAtOnceGiveOneImportAndOneAlreadyRunningBox) {
  Lines items;
  PutCart(NumberedCart(60, items));
  StartStandIn();
  Outcome run = Import({.two_at_once = true});
  ASSERT_TRUE(run.second);
  Transcript winner{run.boxes, run.exit_code, {}}, loser = *run.second;
  std::cout << "The importer started " << (winner.exit_code == 0 ? "first" : "second") << " took the lock.\n";
  if (winner.exit_code != 0) std::swap(winner, loser);
  EXPECT_EQ(winner.boxes, std::vector<Box>{Imported(60)});
  EXPECT_EQ(winner.exit_code, 0);
  const Box already_running{kTitle,
                            "A Kestrova cart import is already running. Wait until it has finished, then import the "
                            "cart again if you still need to.",
                            "exclamation"};
  EXPECT_EQ(loser.boxes, std::vector<Box>{already_running});
  EXPECT_EQ(loser.exit_code, 1);
  EXPECT_EQ(run.items, items);
  EXPECT_EQ(run.InvokedMembers(), ExpectedInvokes(60));
  EXPECT_EQ(Count(run.journal, "connect", "Application"), 2) << "attached: the presence check and the run, once";
}

// The cart named on the command line, in a folder of its own; none in the Documents folder. A
// relative path is taken from the folder the importer starts in, and the messages name the full
// path.
struct GivenCartCase {
  const char* label;
  const wchar_t* folder;
  const wchar_t* name;
  bool relative;  // given by its name alone, the importer starting in its folder
  bool present;
};

void PrintTo(const GivenCartCase& c, std::ostream* out) { *out << c.label; }

class GivenCart : public ImportEndToEnd, public ::testing::WithParamInterface<GivenCartCase> {};

TEST_P(GivenCart, IsImportedFromWhereItIs) {
  const GivenCartCase& c = GetParam();
  const ScratchFolder downloads(L"downloads");
  const std::wstring folder = downloads.path() + L"\\" + c.folder, path = folder + L"\\" + c.name;
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  if (c.present) {
    ASSERT_TRUE(WriteBytes(path, kThreeItems));
  }
  StartStandIn();
  Outcome run = Import({.arguments = {c.relative ? c.name : path}, .folder = c.relative ? folder : L""});
  EXPECT_EQ(run.exit_code, 0);
  if (c.present) {
    EXPECT_EQ(run.boxes, std::vector<Box>{Imported(3)});
    EXPECT_EQ(run.items, ItemsLines({kItem1, kItem2, kItem3}));
  } else {
    EXPECT_EQ(run.boxes, std::vector<Box>{CartNotFound(Utf8(path))});
    EXPECT_EQ(run.journal.size(), 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, GivenCart,
    ::testing::Values(GivenCartCase{"Relative", L"Downloads", L"ShoppingCart (1).csv", true, true},
                      GivenCartCase{"Spaces", L"My Carts", L"Shopping Cart (1).csv", false, true},
                      GivenCartCase{"NonAnsi", L"\u041a\u043e\u0440\u0437\u0438\u043d\u044b",
                                    L"\u8d2d\u7269\u8f66 \u03a9\u03bc\u03ad\u03b3\u03b1.csv", false, true},
                      GivenCartCase{"RelativeNonAnsiMissing", L"\u0417\u0430\u0433\u0440\u0443\u0437\u043a\u0438",
                                    L"\u041a\u043e\u0440\u0437\u0438\u043d\u0430.csv", true, false}),
    [](const auto& info) { return std::string(info.param.label); });

// --- A busy or vanishing Brevanto -----------------------------------------------------------------

const Box kBusy{kTitle, Said(Message::kBusy), "exclamation", {"Retry", "Cancel"}};

// The stand-in counts every name lookup and Invoke that reaches it: 8 before the first cart line
// and 33 a line, so its 50th is the 9th of line 2 of three.
constexpr wchar_t kMidCart[] = L"50";

std::int64_t Refused(const std::vector<JournalEntry>& journal) {
  return std::count_if(journal.begin(), journal.end(), [](const auto& entry) { return entry.event == "rejected"; });
}

// The name lookups that ran in an undisturbed run: one on each fresh ItemFunctions reference, and
// the application's DocFunctions and ItemFunctions and DocFunctions' GetActiveDocumentIndex once.
std::int64_t LookupsOf(const Lines& invoked_members) {
  return 3 + std::count_if(invoked_members.begin(), invoked_members.end(),
                           [](const std::string& m) { return m.starts_with("ItemFunctions."); });
}

struct BusyCase {
  const char* label;
  const wchar_t* busy;   // --busy SECONDS@K
  const wchar_t* press;  // the robot's answer to the busy box
  std::vector<Box> boxes;
};

void PrintTo(const BusyCase& c, std::ostream* out) { *out << c.label; }

class BusyBrevanto : public ImportEndToEnd, public ::testing::WithParamInterface<BusyCase> {};

// The importer repeats the refused calls silently for 10 s, then asks. Every call that ran, ran
// once and in its place; with Cancel nothing more reaches Brevanto and every reference is let go.
TEST_P(BusyBrevanto, RetriesSilentlyThenAsks) {
  PutCart(kThreeItems);
  StartStandIn({L"--busy", GetParam().busy});
  Outcome run = Import({{L"--press", GetParam().press}});
  EXPECT_EQ(run.boxes, GetParam().boxes);
  EXPECT_GT(Refused(run.journal), 0);
  if (GetParam().boxes.back() == kBusy) {  // cancelled
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.items, std::nullopt) << "something was pasted";
    const auto last_refusal = std::find_if(run.journal.rbegin(), run.journal.rend(),
                                           [](const auto& entry) { return entry.event == "rejected"; });
    for (auto it = last_refusal.base(); it != run.journal.end(); ++it) {
      EXPECT_EQ(it->event, "disconnect") << "after the Cancel: " << it->line;
    }
    return;
  }
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.items, ItemsLines({kItem1, kItem2, kItem3}));
  EXPECT_EQ(run.InvokedMembers(), ExpectedInvokes(3));
  EXPECT_EQ(CountRoundTrips(run.journal).lookups, LookupsOf(ExpectedInvokes(3)));
}

INSTANTIATE_TEST_SUITE_P(Spells, BusyBrevanto,
                         ::testing::Values(BusyCase{"ThreeSeconds", L"3@50", L"Retry", {Imported(3)}},
                                           BusyCase{
                                               "FifteenSecondsThenRetry", L"15@50", L"Retry", {kBusy, Imported(3)}},
                                           BusyCase{"ThirtySecondsThenCancel", L"30@50", L"Cancel", {kBusy}}),
                         [](const auto& info) { return std::string(info.param.label); });

// Brevanto ends while the importer waits for the answer to a call in line 2: the report says it
// closed and that nothing was pasted, with the error number and the line, and the run does not
// hang on the calls and releases that follow.
TEST_F(ImportEndToEnd, BrevantoClosingMidCartIsReportedAndNothingHangs) {
  PutCart(kThreeItems);
  StartStandIn({L"--quit-at", kMidCart});
  const ULONGLONG start = GetTickCount64();
  Outcome run = Import({{}, 30, false});
  const ULONGLONG took = GetTickCount64() - start;
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.items, std::nullopt);
  ASSERT_EQ(run.boxes.size(), 1u);
  const std::string& text = run.boxes[0].text;
  const std::size_t error = std::min(text.find("Error ("), text.size());
  std::cout << "The import ended " << took << " ms after it started (the robot included), with \""
            << text.substr(error, text.find("\r\n", error) - error) << "\"\n";
  // Which of the "gone" errors a call into a process that ended gets is the platform's choice.
  bool matched = false;
  for (DWORD code : {0x800706BEu, 0x800706BAu, 0x80010108u, 0x800401FDu}) {
    matched |=
        run.boxes[0] == UnexpectedError(static_cast<std::int32_t>(code), SystemMessage(code), 2, Message::kHostClosed);
  }
  EXPECT_TRUE(matched) << ::testing::PrintToString(run.boxes[0]);
}

// --- Encodings, line ends, the Documents folder's name ---------------------------------------------

// A cart with text that the ANSI code page cannot hold, and the items it gives in every encoding.
const std::wstring kWideCart =
    std::wstring(kHeader.begin(), kHeader.end()) +
    L"KV-1,M\u00fcller & S\u00f6hne,MS-\u00b51,\"Kabel, 2 m \u2013 \u00d8 5 mm\",r,c,l,1,1,\"$1,234.50\",$999.99,2,x,"
    L"2024-05-14\r\n"
    L"KV-2,\u0141\u00f3d\u017a Elektronika,\u0141E-2,Zasilacz 230 V \u00d7 2,,,,,,USD 12.50,(3.25),2 pcs,,\r\n"
    L"KV-3,Corlith,CL-3,Server \U0001F4E6,,,,,,N/A,7,1.5,,\r\n"
    L"\r\nKV-9,Acme,AC-9,Ignored,,,,,,1,1,1,,\r\n";
const std::vector<Item> kWideItems = {{"KV-1", "Müller & Söhne", "MS-µ1", "Kabel, 2 m – Ø 5 mm", 1234.5, 999.99, 2},
                                      {"KV-2", "Łódź Elektronika", "ŁE-2", "Zasilacz 230 V × 2", 12.5, -3.25, 0},
                                      {"KV-3", "Corlith", "CL-3", "Server 📦", 0, 7, 1.5}};

struct EncodingCase {
  const char* label;
  const char* mark;  // the byte-order mark, if any
  enum { kUtf8, kUtf16Le, kUtf16Be } encoding;
  bool lf_only;
};

void PrintTo(const EncodingCase& c, std::ostream* out) { *out << c.label; }

std::string Encoded(std::wstring text, const EncodingCase& how) {
  if (how.lf_only) {
    for (std::size_t at; (at = text.find(L"\r\n")) != std::wstring::npos;) text.erase(at, 1);
  }
  std::string bytes = how.mark;
  if (how.encoding == EncodingCase::kUtf8) return bytes + Utf8(text);
  for (const wchar_t c : text) {
    const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
    bytes += how.encoding == EncodingCase::kUtf16Le ? std::string{low, high} : std::string{high, low};
  }
  return bytes;
}

class CartEncoding : public ImportEndToEnd, public ::testing::WithParamInterface<EncodingCase> {};

TEST_P(CartEncoding, EveryLineArrivesWithItsTextIntact) {
  PutCart(Encoded(kWideCart, GetParam()));
  StartStandIn();
  Outcome run = Import();
  EXPECT_EQ(run.boxes, std::vector<Box>{Imported(3)});
  EXPECT_EQ(run.items, ItemsLines(kWideItems));
}

INSTANTIATE_TEST_SUITE_P(Carts, CartEncoding,
                         ::testing::Values(EncodingCase{"Utf8", "", EncodingCase::kUtf8, false},
                                           EncodingCase{"Utf8WithMark", "\xEF\xBB\xBF", EncodingCase::kUtf8, false},
                                           EncodingCase{"Utf16Le", "\xFF\xFE", EncodingCase::kUtf16Le, false},
                                           EncodingCase{"Utf16Be", "\xFE\xFF", EncodingCase::kUtf16Be, false},
                                           EncodingCase{"Utf8LfOnly", "", EncodingCase::kUtf8, true}),
                         [](const auto& info) { return std::string(info.param.label); });

// The registry's ANSI functions name this folder "Dokumenty Lukasz"; the shell knows better.
TEST_F(ImportEndToEnd, ADocumentsFolderNamedOutsideTheAnsiCodePage) {
  const std::wstring documents = folder_.path() + L"\\Dokumenty \u0141ukasz";
  ASSERT_TRUE(CreateDirectoryW(documents.c_str(), nullptr));
  ASSERT_TRUE(personal_.Set(documents));
  ASSERT_TRUE(WriteBytes(documents + L"\\" + kCartName, kThreeItems));
  StartStandIn();
  Outcome run = Import();
  EXPECT_EQ(run.boxes, std::vector<Box>{Imported(3)});
  EXPECT_EQ(run.items, ItemsLines({kItem1, kItem2, kItem3}));
}

// --- Regional settings ----------------------------------------------------------------------------

// The demo's cart (UTF-8) and the items a United States user gets from it. tools/test.sh runs this
// suite again under German and French settings and under United States ones with "," and "."
// swapped by hand: every user must get the same.
const std::vector<Item> kDemoItems = {
    {"KV-100-2281", "Netvance", "NV-S2448P", "Switch, managed, 48 × 1 GbE PoE+, 4 × 10G SFP+", 3249, 2716.5, 2},
    {"KV-100-2290", "Netvance", "NV-SFP10-SR", "Transceiver, 10GBASE-SR, SFP+, 850 nm", 189, 142.75, 8},
    {"KV-204-0917", "Corlith", "CL-U2-8360", "Server, 2U, 2 x 16-core, 256 GB RAM, 8 x 1.92 TB SSD", 14980, 12633.4, 1},
    {"KV-204-1102", "Corlith", "CL-PSU-1600", "Power supply, 1600 W, hot-plug, Titanium", 429, 351.8, 2},
    {"KV-311-0045", "Hälmstrom Energietechnik", "HE-UPS3000R", "UPS, 3000 VA, rack/tower, 2U, network card", 2150, 1806,
     1},
    {"KV-311-0052", "Hälmstrom Energietechnik", "HE-PDU-16M", "PDU, metered, 16 A, 24 x C13, 0U", 612, 498.1, 2},
    {"KV-420-7731", "Brightline", "BL-CAT6A-3M-BL", "Patch cable, Cat6a, S/FTP, 3 m, blue", 9.4, 6.15, 48},
    {"KV-420-7748", "Brightline", "BL-OM4-LCLC-5M", "Fibre patch cable, OM4, 50/125 µm, LC–LC duplex, 5 m", 24.9, 17.3,
     8},
    {"KV-502-3310", "Ostrava Systems", "OS-FW-1200", "Firewall appliance, 8 x 1 GbE, 2 x 10G SFP+, 1U", 4890, 4010, 1},
    {"KV-502-3318", "Ostrava Systems", "OS-FW-1200-SUB3", "Threat protection subscription, 3 years, for OS-FW-1200",
     2640, 2112, 1},
    {"KV-618-0023", "Lumeo", "LM-AP6-IN", "Wireless access point, Wi-Fi 6, 4x4, indoor, PoE", 399, 318.2, 12},
    {"KV-618-0031", "Lumeo", "LM-MNT-CEIL", "Ceiling mount kit, Ø 230 mm, for LM-AP6 series", 18.5, 12.95, 12},
    {"KV-733-4410", "Tessaro", "TS-RACK42-800", "Rack cabinet, 42U, 800 × 1000 mm – perforated doors", 1875, 1530, 1}};

using RegionalSettings = ImportEndToEnd;

TEST_F(RegionalSettings, TheDemoCartArrivesAsWritten) {
  const std::optional<FileState> demo_cart = ReadFileState(BinFolder() + L"\\example_cart.csv");
  ASSERT_TRUE(demo_cart.has_value()) << "the build copies examples/ShoppingCart.csv beside the tests";
  PutCart(demo_cart->bytes);
  StartStandIn();
  Outcome run = Import();
  EXPECT_EQ(run.boxes, std::vector<Box>{Imported(13)});
  EXPECT_EQ(run.items, ItemsLines(kDemoItems));
  // A short import shows no window: it may come only 2 s after the first call to Brevanto, and an
  // import whose count came sooner has none. (The first import of a fresh Wine server, as in each
  // regional run, can take longer than that; its window must still wait the 2 s.)
  for (const ProgressSample& sample : run.progress) EXPECT_GE(sample.time_ms, 2000) << sample.line;
  ASSERT_EQ(run.box_times_ms.size(), 1u);
  if (run.box_times_ms[0].value_or(2000) < 2000) {
    EXPECT_EQ(run.progress.size(), 0u) << "a short import shows no progress window";
  }
}

// The user's setting `Language` wins over the display language: "en" gives English boxes on a
// German or French Windows too.
TEST_F(RegionalSettings, TheLanguageSettingWinsOverTheDisplayLanguage) {
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Kestrova\\Cart Import", L"Language", REG_SZ, L"en", 6),
            ERROR_SUCCESS);  // the fixture puts the key back as it was
  PutCart(kThreeItems);
  StartStandIn();
  const std::string english = Utf8(modMain::Texts(modMain::Language::kEnglish).Say(Message::kImported, 3));
  EXPECT_EQ(Import().boxes, (std::vector<Box>{{kTitle, english, "information"}}));
}

// The demo's cart as spreadsheets save it, each under the regional settings of the user who would
// have it (tools/test.sh runs this suite under each; a row runs only under its own): a German
// spreadsheet's (";", ANSI, the shop's prices left as text), a French "CSV UTF-8" (";", decimal
// comma, U+202F between thousands, U+00A0 before "€"), "Unicode text" (UTF-16, tabs) and a Swiss
// shop's (";", ANSI, "Fr. 3'249.00"), which a United States user may get too. Each gives the items
// of the shop's own cart.
struct SpreadsheetCase {
  const char* label;
  const wchar_t* file;    // beside the tests
  const wchar_t* locale;  // the user's regional setting
};

void PrintTo(const SpreadsheetCase& c, std::ostream* out) { *out << c.label; }

class SpreadsheetCart : public ImportEndToEnd, public ::testing::WithParamInterface<SpreadsheetCase> {};

TEST_P(SpreadsheetCart, ImportsTheShopsItems) {
  wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
  GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SNAME, locale, LOCALE_NAME_MAX_LENGTH);
  if (std::wstring(locale) != GetParam().locale) GTEST_SKIP() << "runs under " << Utf8(GetParam().locale);
  const std::optional<FileState> cart = ReadFileState(BinFolder() + L"\\" + GetParam().file);
  ASSERT_TRUE(cart.has_value()) << "the build copies the spreadsheets' carts beside the tests";
  PutCart(cart->bytes);
  StartStandIn();
  Outcome run = Import();
  EXPECT_EQ(run.boxes, std::vector<Box>{Imported(13)});
  EXPECT_EQ(run.items, ItemsLines(kDemoItems));
}

INSTANTIATE_TEST_SUITE_P(Users, SpreadsheetCart,
                         ::testing::Values(SpreadsheetCase{"German", L"example_cart_de.csv", L"de-DE"},
                                           SpreadsheetCase{"French", L"ShoppingCart-fr.csv", L"fr-FR"},
                                           SpreadsheetCase{"UnicodeText", L"ShoppingCart-unicode.txt", L"en-US"},
                                           SpreadsheetCase{"SwissShop", L"ShoppingCart-ch.csv", L"en-US"}),
                         [](const auto& info) { return std::string(info.param.label); });

// --- A long import: the progress window ------------------------------------------------------------

// 300 lines against a stand-in slowed by 1 ms a call: the window appears once the import has run
// 2 s, its count climbs, and it closes before the count's box; the items arrive intact.
TEST_F(ImportEndToEnd, ALongImportShowsItsProgressAndClosesItBeforeTheCount) {
  Lines items;
  PutCart(NumberedCart(300, items));
  StartStandIn({L"--delay", L"1"});
  Outcome run = Import({.timeout_seconds = 240});
  EXPECT_EQ(run.boxes, std::vector<Box>{Imported(300)});
  EXPECT_EQ(run.items, items);
  std::vector<std::int64_t> counted;
  for (const ProgressSample& sample : run.progress) {
    if (!sample.visible) continue;
    EXPECT_EQ(sample.title, kTitle);
    EXPECT_EQ(sample.line1, Said(Message::kProgressFirstLine));
    EXPECT_GE(sample.time_ms, 2000) << "before the import had run 2 s";
    if (sample.item) counted.push_back(*sample.item);
    EXPECT_TRUE(sample.item || sample.line2 == Said(Message::kProgressPasting, 300)) << sample.line2;
  }
  ASSERT_GE(counted.size(), 2u) << "no count to climb";
  EXPECT_TRUE(std::is_sorted(counted.begin(), counted.end()));
  EXPECT_LT(counted.front(), counted.back());
  EXPECT_LE(counted.back(), 300);
  ASSERT_FALSE(run.progress.empty());
  ASSERT_EQ(run.box_times_ms.size(), 1u);
  ASSERT_TRUE(run.box_times_ms[0].has_value());
  EXPECT_FALSE(run.progress.back().visible) << "the window was still there";
  EXPECT_LE(run.progress.back().time_ms, *run.box_times_ms[0]) << "the window closed after the box came";
}

// Cancel at item 100: the run stops before the next line, clears Brevanto's multi-line buffer
// again and ends without a box; nothing is pasted.
TEST_F(ImportEndToEnd, CancelInTheProgressWindowPastesNothingAndLeavesTheBufferEmpty) {
  Lines items;
  PutCart(NumberedCart(300, items));
  StartStandIn({L"--delay", L"1"});
  Outcome run = Import({.robot_options = {L"--cancel-at-item", L"100"}, .timeout_seconds = 240});
  EXPECT_EQ(run.boxes, std::vector<Box>{});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.items, std::nullopt) << "something was pasted";
  EXPECT_EQ(run.buffer, Lines{}) << "the multi-line buffer still holds lines";
  EXPECT_TRUE(std::any_of(run.progress.begin(), run.progress.end(), [](const auto& s) { return !s.pressed.empty(); }));
  const Lines invoked = run.InvokedMembers();
  const auto copies = std::count(invoked.begin(), invoked.end(), "ItemFunctions.SLIBufferCopyToMLIBuffer:method");
  EXPECT_GE(copies, 100);
  EXPECT_LT(copies, 300);
  EXPECT_EQ(invoked.back(), "ItemFunctions.MLIBufferClear:method") << "the buffer is cleared once more, last";
  EXPECT_EQ(std::count(invoked.begin(), invoked.end(), "ItemFunctions.MLIBufferClear:method"), 2);
}

// --- A cart imported twice ----------------------------------------------------------------------

// The same cart into the same document again: the question names the first import's local time
// (read before and after it: the minute may turn); No imports nothing, Yes the items a second time.
TEST_F(ImportEndToEnd, ACartImportedTwiceIsAskedAboutFirst) {
  const auto asked_now = [] {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t time[80] = {};
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, &now, nullptr, time, 80);
    return std::vector<Box>{{kTitle, Said(Message::kAlreadyImported, 3, time), "exclamation", {"Yes", "No"}}};
  };
  PutCart(kThreeItems);
  StartStandIn();
  const std::vector<Box> before = asked_now();
  EXPECT_EQ(Import({.keep_standin = true}).boxes, std::vector<Box>{Imported(3)});
  const std::vector<Box> after = asked_now();
  const auto first = static_cast<std::ptrdiff_t>(ReadJournal(journal_.path()).size());
  const Outcome no = Import({.robot_options = {L"--press", L"No"}, .keep_standin = true});
  EXPECT_TRUE(no.boxes == before || no.boxes == after) << ::testing::PrintToString(no.boxes);
  EXPECT_EQ(no.exit_code, 1);
  EXPECT_TRUE(
      std::none_of(no.journal.begin() + first, no.journal.end(), [](auto& e) { return e.object == "ItemFunctions"; }));
  const Outcome yes = Import({.robot_options = {L"--press", L"Yes"}});
  EXPECT_EQ(yes.boxes, (std::vector<Box>{no.boxes.at(0), Imported(3)}));
  EXPECT_EQ(yes.items, ItemsLines({kItem1, kItem2, kItem3, kItem1, kItem2, kItem3}));
}

// --- Round trips --------------------------------------------------------------------------------

void Print(const char* label, const RoundTrips& trips, double per) {
  std::cout << "  " << label << ": ItemFunctions reads " << trips.item_reads / per << ", other property reads "
            << trips.other_reads / per << ", method Invokes " << trips.methods / per << ", GetIDsOfNames "
            << trips.lookups / per << ", connects " << trips.connects / per << ", disconnects "
            << trips.disconnects / per << "; round trips " << trips.total() / per << "\n";
}

// Counted from the journals of two runs that differ only in the number of imported lines, so
// that what a run costs once falls out. Printed; the reads and calls per line are the contract.
TEST_F(ImportEndToEnd, RoundTripsPerImportedLine) {
  PutCart(kHeader);
  StartStandIn();
  const RoundTrips fixed = CountRoundTrips(Import().journal);
  PutCart(kThreeItems);
  StartStandIn();
  const RoundTrips three = CountRoundTrips(Import().journal);
  const RoundTrips per_line = three - fixed;

  std::cout << "Round trips from the stand-in's journal (a release of the last reference is a call; a connect "
               "rides on the read's reply):\n";
  Print("once per run", fixed, 1);
  Print("per imported line", per_line, 3);
  EXPECT_EQ(per_line.item_reads, 3 * 11);
  EXPECT_EQ(per_line.methods, 3 * 11);
  EXPECT_EQ(per_line.other_reads, 0);
  EXPECT_EQ(fixed.item_reads, 2);
  EXPECT_EQ(fixed.methods, 3);
}

}  // namespace
}  // namespace e2e
