// The import run against the recording double: each of its five ends with its full call sequence,
// carts by table, the 16-bit limits and the unexpected-error paths. Every test ends by checking
// that each object reference the run took was released exactly once.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "common/ansi.h"
#include "import/busy_retry.h"
#include "import/mod_main.h"
#include "registry/registry_access.h"
#include "tests/import/recording_double.h"

namespace modMain::testing {
namespace {

using Log = std::vector<std::wstring>;

constexpr wchar_t kDocs[] = L"C:\\Users\\tester\\Documents";
const std::wstring& Cart() {
  static const std::wstring path = std::wstring(kDocs) + L"\\ShoppingCart.csv";
  return path;
}
constexpr char kHeader[] = "Part,Mfr,MfrPart,Desc,a,b,c,d,e,Price,Cost,Qty,m,n";
constexpr wchar_t kLock[] = L"TryLockImport Local\\KestrovaCartImport";

// The texts as the run says them in English, and the log's entries of its boxes: "Box icon
// [title] text", "Choose ..." for the OK/Cancel box, "Ask ..." for Retry/Cancel, "Question ..."
// for Yes/No.
const Texts kEnglish(Language::kEnglish);
template <typename... Inserts>
std::wstring Said(Message message, const Inserts&... inserts) {
  return kEnglish.Say(message, inserts...);
}
std::wstring Entry(const wchar_t* kind, const wchar_t* icon, const std::wstring& text,
                   const wchar_t* title = kAppTitle) {
  return std::wstring(kind) + L" " + icon + L" [" + title + L"] " + text;
}
// The sentences of one box, each after a blank line.
std::wstring Sentences(std::initializer_list<std::wstring> sentences) {
  std::wstring text;
  for (const std::wstring& sentence : sentences) text += (text.empty() ? L"" : L"\r\n\r\n") + sentence;
  return text;
}

std::wstring M1(const std::wstring& path) { return Entry(L"Box", L"exclamation", Said(Message::kCartNotFound, path)); }
const std::wstring kM2 = Entry(L"Box", L"critical", Said(Message::kHostNotRunning), kHostApiTitle);
const std::wstring kM3 = Entry(L"Box", L"critical", Said(Message::kNoDocument));
std::wstring M5(int count) { return Entry(L"Box", L"information", Said(Message::kImported, count)); }
std::wstring Report(int number, const std::wstring& description, int line = 0,
                    Message lead = Message::kUnexpectedError) {
  return Entry(L"Box", L"critical",
               Said(lead) + L"\r\n\r\n" + Said(Message::kErrorText, number, description) +
                   (line ? L"\r\n" + Said(Message::kErrorInLine, line) : L""));
}
std::wstring OpenFailure(const std::wstring& path) {
  return Entry(L"Box", L"critical",
               Sentences({Said(Message::kErrorText, 32, L"In use"), Said(Message::kReadFailed, path)}));
}

// The three entries of one ItemFunctions call: a fresh read, the call, the release.
Log Item(const std::wstring& call) {
  return {L"Get Application.ItemFunctions", L"Call ItemFunctions." + call, L"Release ItemFunctions"};
}
Log Concat(std::initializer_list<Log> parts) {
  Log all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}
std::size_t CountOf(const Log& log, const std::wstring& entry) {
  return static_cast<std::size_t>(std::count(log.begin(), log.end(), entry));
}

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const auto& line : lines) text += (text.empty() ? "" : "\r\n") + line;
  return text;
}
std::string Good(const std::string& part = "P1") { return part + ",Acme,A-1,Widget,,,,,,$5.00,4.00,2,N,X"; }

class RunTest : public ::testing::Test {
 protected:
  void SetUp() override { platform.SetDocumentsFolder(kDocs); }
  void TearDown() override {
    EXPECT_EQ(platform.LiveObjects(), 0u) << "object references left unreleased";
    EXPECT_EQ(platform.bad_releases, 0u);
    EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
  }
  void PutCart(std::string bytes) { platform.files[Cart()] = std::move(bytes); }
  // The log after the cart was read and the host found: the presence check and the attach.
  static Log Attached() {
    return {kLock,
            L"FileLength " + Cart(),
            L"ReadAllShared " + Cart(),
            L"GetActiveObject Brevanto.Application",
            L"Release Application",
            L"GetActiveObject Brevanto.Application",
            L"Get Application.DocFunctions",
            L"Call DocFunctions.GetActiveDocumentIndex()",
            L"Release DocFunctions"};
  }

  RecordingDouble platform;
};

// --- The five ends ------------------------------------------------------------------------------

TEST_F(RunTest, MissingCartEndsWithM1BeforeTheHostIsContacted) {
  EXPECT_EQ(modMain::Run(platform.partners()), 0);
  EXPECT_EQ(platform.log, (Log{kLock, L"FileLength " + Cart(), L"ShellDocumentsFolder", M1(Cart())}));
}

TEST_F(RunTest, HostNotRunningEndsWithM2AfterTheCartWasRead) {
  PutCart(Lines({kHeader, Good()}));
  platform.host_running = false;
  EXPECT_EQ(modMain::Run(platform.partners()), 0);
  EXPECT_EQ(platform.log, (Log{kLock, L"FileLength " + Cart(), L"ReadAllShared " + Cart(),
                               L"GetActiveObject Brevanto.Application", kM2}));
}

TEST_F(RunTest, NoOpenDocumentEndsWithM3WhileTheApplicationIsStillHeld) {
  PutCart(Lines({kHeader, Good()}));
  platform.document_index = std::int32_t{-1};
  EXPECT_EQ(modMain::Run(platform.partners()), 0);
  EXPECT_EQ(platform.log, Concat({Attached(), {kM3, L"Release Application"}}));
}

// Price and cost are filtered before they are read as numbers, the quantity is not; columns 13 and
// 14 are never used.
TEST_F(RunTest, NormalEndFeedsBothBuffersInColumnOrderAndPastesOnce) {
  PutCart(Lines({kHeader, "V-1, Acme ,\"M-1, rev B\",\"Cable, 2 m\",5,6,7,8,9,USD 12.50,N/A,2 pcs,N,Other"}));
  EXPECT_EQ(modMain::Run(platform.partners()), 0);
  EXPECT_EQ(platform.log, Concat({Attached(),
                                  Item(L"MLIBufferClear()"),
                                  Item(L"SLIBufferClear()"),
                                  Item(L"SLIBufferSetValue(\"VendorPartNumber\", &\"V-1\")"),
                                  Item(L"SLIBufferSetValue(\"Manufacturer\", &\" Acme \")"),
                                  Item(L"SLIBufferSetValue(\"ManufacturerPartNumber\", &\"M-1, rev B\")"),
                                  Item(L"SLIBufferSetValue(\"Description\", &\"Cable, 2 m\")"),
                                  Item(L"SLIBufferSetValue(\"UnitPrice\", 12.5)"),
                                  Item(L"SLIBufferSetValue(\"UnitCost\", 0)"),
                                  Item(L"SLIBufferSetValue(\"QtyBase\", 0)"),
                                  Item(L"SLIBufferSetValue(\"TaxCode\", \"Y\")"),
                                  Item(L"SLIBufferSetValue(\"Vendor\", \"Kestrova\")"),
                                  Item(L"SLIBufferCopyToMLIBuffer()"),
                                  Item(L"MLIBufferAppendPaste()"),
                                  {M5(1), L"Release Application"}}));
}

TEST_F(RunTest, UnexpectedErrorReleasesEverythingThenReportsWithTheLine) {
  PutCart(Lines({kHeader, Good("V-1")}));
  platform.FailOn(L"SLIBufferSetValue", 2, common::RuntimeError(-2147352567, L"SLIBufferSetValue failed"));
  EXPECT_EQ(modMain::Run(platform.partners()), 1);
  EXPECT_EQ(platform.log, Concat({Attached(),
                                  Item(L"MLIBufferClear()"),
                                  Item(L"SLIBufferClear()"),
                                  Item(L"SLIBufferSetValue(\"VendorPartNumber\", &\"V-1\")"),
                                  Item(L"SLIBufferSetValue(\"Manufacturer\", &\"Acme\")"),
                                  {L"Release Application", Report(-2147352567, L"SLIBufferSetValue failed", 1)}}));
}

// --- How the run starts ------------------------------------------------------------------------

// The command line's arguments and the import lock decide before anything is read. A given path is
// made full once and then named by every call and message. A file that is no cart, or has prices
// written two ways, ends the run before Brevanto is looked for; the columns box before Brevanto's
// buffers are touched.
struct StartCase {
  const char* name;
  std::vector<std::wstring> arguments;
  std::function<void(RecordingDouble&)> arrange;
  int exit_code;
  Log log_begins;  // the log's first entries; all of it when they end with the last message or a release
  Log messages;
  std::vector<Choice> answers{};
};

class StartTest : public RunTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartTest, ArgumentsAndTheLockComeFirst) {
  GetParam().arrange(platform);
  platform.arguments = GetParam().arguments;
  platform.answers = GetParam().answers;
  EXPECT_EQ(modMain::Run(platform.partners()), GetParam().exit_code);
  const Log& begins = GetParam().log_begins;
  const bool whole = begins.back() == GetParam().messages.back() || begins.back().starts_with(L"Release ");
  const std::size_t n = whole ? platform.log.size() : std::min(platform.log.size(), begins.size());
  EXPECT_EQ(Log(platform.log.begin(), platform.log.begin() + static_cast<std::ptrdiff_t>(n)), begins);
  EXPECT_EQ(platform.Messages(), GetParam().messages);
}

// Where the platform takes relative paths from.
std::wstring Downloaded(const wchar_t* name) { return std::wstring(L"C:\\Users\\tester\\Downloads\\") + name; }
const std::wstring kAlreadyRunning = Entry(L"Box", L"exclamation", Said(Message::kAlreadyRunning));
std::wstring TooMany(int count) { return Entry(L"Box", L"exclamation", Said(Message::kTooManyArguments, count)); }
void HeldElsewhere(RecordingDouble& f) { f.lock_held_elsewhere = true; }
void TwoGoodOneBad(RecordingDouble& f) { f.files[Cart()] = Lines({kHeader, Good(), "x", Good()}); }
// The log of a run that read the cart, then `rest`; or attached and found a document, then `rest`.
Log Read(const Log& rest) { return Concat({{kLock, L"FileLength " + Cart(), L"ReadAllShared " + Cart()}, rest}); }
Log Attached(const Log& rest) {
  return Read(
      Concat({{L"GetActiveObject Brevanto.Application", L"Release Application", L"GetActiveObject Brevanto.Application",
               L"Get Application.DocFunctions", L"Call DocFunctions.GetActiveDocumentIndex()", L"Release DocFunctions"},
              rest}));
}
std::wstring NotACart() { return Entry(L"Box", L"exclamation", Said(Message::kNotACart, Cart())); }
std::wstring TwoWays() {
  return Entry(L"Box", L"exclamation", Said(Message::kTwoWays, Cart(), 1, L"1.234,50 \u20ac", 2, L"1,234.50"));
}
std::wstring Columns(int good) {
  return Entry(L"Choose", L"information",
               Sentences({Said(Message::kWrongColumnsLine, 2), Said(Message::kChooseOkOrCancel, good)}));
}
std::wstring NoneOf() {
  return Entry(L"Box", L"information",
               Sentences({Said(Message::kWrongColumnsLine, 1), Said(Message::kNothingImportable)}));
}
const std::wstring kBothKinds =
    Entry(L"Choose", L"information",
          Sentences({Said(Message::kWrongColumnsLine, 2), Said(Message::kNamesNoItemLines, L"3 and 5"),
                     Said(Message::kChooseOkOrCancel, 2)}));

INSTANTIATE_TEST_SUITE_P(
    CommandLines, StartTest,
    ::testing::Values(
        StartCase{"ThreeArgumentsAreRefusedBeforeTheLock",
                  {L"a", L"b c", L"d"},
                  HeldElsewhere,
                  1,
                  {TooMany(3)},
                  {TooMany(3)}},
        StartCase{
            "LockedBeforeThePathIsTaken", {L"cart.csv"}, HeldElsewhere, 1, {kLock, kAlreadyRunning}, {kAlreadyRunning}},
        StartCase{"RelativePathUnopenable",
                  {L"cart.csv"},
                  [](RecordingDouble& f) {
                    f.files[Downloaded(L"cart.csv")] = kHeader;
                    f.unopenable.insert_or_assign(Downloaded(L"cart.csv"), common::RuntimeError(32, L"In use"));
                  },
                  0,
                  {kLock, L"FullPath cart.csv", L"FileLength " + Downloaded(L"cart.csv"),
                   L"ReadAllShared " + Downloaded(L"cart.csv")},
                  {OpenFailure(Downloaded(L"cart.csv")), M5(0)}},
        StartCase{
            "FullPathImportsThatCartAlone",
            {L"D:\\Carts\\Einkaufswagen \u20ac.csv"},
            [](RecordingDouble& f) {
              f.files[Cart()] = Lines({kHeader, Good(), Good()});
              f.files[L"D:\\Carts\\Einkaufswagen \u20ac.csv"] = Lines({kHeader, Good()});
            },
            0,
            {kLock, L"FullPath D:\\Carts\\Einkaufswagen \u20ac.csv", L"FileLength D:\\Carts\\Einkaufswagen \u20ac.csv",
             L"ReadAllShared D:\\Carts\\Einkaufswagen \u20ac.csv", L"GetActiveObject Brevanto.Application"},
            {M5(1)}},
        StartCase{"EmptyArgumentIsNone",
                  {L""},
                  [](RecordingDouble& f) {
                    f.files[Cart()] = Lines({kHeader, Good()});
                  },
                  0,
                  {kLock, L"FileLength " + Cart(), L"ReadAllShared " + Cart()},
                  {M5(1)}},
        StartCase{"NotACart",
                  {},
                  [](RecordingDouble& f) {
                    f.files[Cart()] = Lines({"Name,Mail", "Al,al@x"});
                  },
                  1,
                  Read({NotACart()}),
                  {NotACart()}},
        StartCase{"TwoWays",
                  {},
                  [](RecordingDouble& f) {
                    f.files[Cart()] =
                        Lines({kHeader, "P,M,MP,D,,,,,,\"1.234,50 \x80\",1,1,,", "P,M,MP,D,,,,,,1,\"1,234.50\",1,,"});
                  },
                  1,
                  Read({TwoWays()}),
                  {TwoWays()}},
        StartCase{"ColumnsBoxCancelled",
                  {},
                  TwoGoodOneBad,
                  1,
                  Attached({Columns(2), L"Release Application"}),
                  {Columns(2)},
                  {Choice::kCancel}},
        StartCase{"LinesOfBothKindsCancelled",
                  {},
                  [](RecordingDouble& f) {
                    f.files[Cart()] = Lines({kHeader, Good(), "x", ",,,,,,,,,1,1,1,N,X", Good(), ",,,,,,,,,,,,,Y"});
                  },
                  1,
                  Attached({kBothKinds, L"Release Application"}),
                  {kBothKinds},
                  {Choice::kCancel}},
        StartCase{"NothingWellFormed",
                  {},
                  [](RecordingDouble& f) {
                    f.files[Cart()] = Lines({kHeader, "x"});
                  },
                  1,
                  Attached({NoneOf(), L"Release Application"}),
                  {NoneOf()}}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

// --- Carts --------------------------------------------------------------------------------------

struct CartCase {
  const char* name;
  std::string cart;
  std::wstring columns_box;  // the text of the box about lines without 14 columns, if any
  int imported;
};

class CartTest : public RunTest, public ::testing::WithParamInterface<CartCase> {};

// The columns box is answered with OK; with nothing well-formed it has OK alone and ends the run.
TEST_P(CartTest, ReportsBadLinesInOneBoxAndCountsTheImportedOnes) {
  PutCart(GetParam().cart);
  platform.answers = {Choice::kOk};
  const bool nothing = !GetParam().columns_box.empty() && GetParam().imported == 0;
  EXPECT_EQ(modMain::Run(platform.partners()), nothing ? 1 : 0);
  Log expected;
  if (!GetParam().columns_box.empty()) {
    expected.push_back(Entry(nothing ? L"Box" : L"Choose", L"information", GetParam().columns_box));
  }
  if (!nothing) expected.push_back(M5(GetParam().imported));
  EXPECT_EQ(platform.Messages(), expected);
  const auto n = static_cast<std::size_t>(GetParam().imported);
  EXPECT_EQ(CountOf(platform.log, L"Call ItemFunctions.MLIBufferClear()"), nothing ? 0u : 1u);
  EXPECT_EQ(CountOf(platform.log, L"Call ItemFunctions.SLIBufferClear()"), n);
  EXPECT_EQ(CountOf(platform.log, L"Call ItemFunctions.SLIBufferCopyToMLIBuffer()"), n);
  EXPECT_EQ(CountOf(platform.log, L"Get Application.ItemFunctions"), nothing ? 0u : 2 + 11 * n);
  if (!nothing) {
    EXPECT_EQ(platform.log.end()[-4], L"Call ItemFunctions.MLIBufferAppendPaste()");
  }
}

const std::wstring kLine2Bad = Sentences({Said(Message::kWrongColumnsLine, 2), Said(Message::kChooseOkOrCancel, 3)});

INSTANTIATE_TEST_SUITE_P(
    Carts, CartTest,
    ::testing::Values(
        CartCase{"Empty", "", L"", 0}, CartCase{"HeaderOnly", kHeader, L"", 0},
        CartCase{"StartsWithBlankLine", "\r\n\r\n" + Lines({kHeader, Good()}), L"", 0},
        CartCase{"ThreeGoodOneBad", Lines({kHeader, Good(), "a,b,c,d,e,f,g,h,i,j,k,l,m", Good(), Good()}), kLine2Bad,
                 3},
        CartCase{"TrailingLineBreakIsPassedOver", Lines({kHeader, Good(), ""}), L"", 1},
        CartCase{"BlankLineEndsTheData", Lines({kHeader, Good(), "", Good(), "x"}), L"", 1},
        CartCase{"BareLineFeedsEndTheLinesOfACartWithoutCrLf", std::string(kHeader) + "\n" + Good() + "\n" + Good(),
                 L"", 2},
        CartCase{"TrailingCommaIsTheLastField", Lines({kHeader, "a,b,c,d,5,6,7,8,9,10,11,12,13,"}), L"", 1},
        // Padding beyond the 14th field does not count, anything in it does; empty rows are passed over.
        CartCase{"TwelveAndFourteenCommas",
                 Lines({kHeader, "a,,,,,,,,,,,,", "a,,,,,,,,,,,,,,", "a,,,,,,,,,,,,,, ", ",,,,,,,,,,,,,",
                        ",,,,,,,,,,,,,,,"}),
                 Sentences({Said(Message::kWrongColumnsLines, L"1 and 3"), Said(Message::kChooseOkOrCancel, 1)}), 1},
        CartCase{"LineOfSpaces", Lines({kHeader, "   "}),
                 Sentences({Said(Message::kWrongColumnsLine, 1), Said(Message::kNothingImportable)}), 0},
        CartCase{"FirstLineIsNeverImported", Lines({Good(), Good()}), L"", 1}),
    [](const ::testing::TestParamInfo<CartCase>& info) { return std::string(info.param.name); });

// Price and cost are cleaned before they are read, the quantity is not: the price keeps its
// parentheses, the cost loses its letters, the quantity keeps them (and reads as 0).
TEST_F(RunTest, OnlyPriceAndCostAreCleaned) {
  PutCart(Lines({kHeader, "P,M,MP,D,,,,,,USD (12.50),USD 3.25,USD 2,,"}));
  ASSERT_EQ(modMain::Run(platform.partners()), 0);
  for (const wchar_t* value : {L"\"UnitPrice\", -12.5)", L"\"UnitCost\", 3.25)", L"\"QtyBase\", 0)"}) {
    EXPECT_EQ(CountOf(platform.log, L"Call ItemFunctions.SLIBufferSetValue(" + std::wstring(value)), 1u) << value;
  }
}

TEST_F(RunTest, UnopenableCartIsReportedAndTheRunGoesOnWithNoText) {
  const std::wstring open_failure = OpenFailure(Cart());
  PutCart(Lines({kHeader, Good()}));
  platform.unopenable.insert_or_assign(Cart(), common::RuntimeError(32, L"In use"));
  EXPECT_EQ(modMain::Run(platform.partners()), 0);
  EXPECT_EQ(platform.Messages(), (Log{open_failure, M5(0)}));
  EXPECT_EQ(CountOf(platform.log, L"Call ItemFunctions.MLIBufferAppendPaste()"), 1u);

  platform.log.clear();
  platform.host_running = false;
  EXPECT_EQ(modMain::Run(platform.partners()), 0);
  EXPECT_EQ(platform.Messages(), (Log{open_failure, kM2}));
}

TEST_F(RunTest, DocumentIndexMinusOneInAnyNumericFormMeansNoDocument) {
  PutCart(kHeader);
  for (const common::Variant& index : {common::Variant(-1.0), common::Variant(L"-1"), common::Variant(-1.4)}) {
    platform.log.clear();
    platform.document_index = index;
    EXPECT_EQ(modMain::Run(platform.partners()), 0);
    EXPECT_EQ(platform.Messages(), Log{kM3});
  }
  for (const common::Variant& index : {common::Variant(std::int32_t{0}), common::Variant(7.0), common::Variant()}) {
    platform.log.clear();
    platform.document_index = index;
    EXPECT_EQ(modMain::Run(platform.partners()), 0);
    EXPECT_EQ(platform.Messages(), Log{M5(0)});
  }
}

#ifdef KCI_EXAMPLES
// The demo's cart as the shop writes it and as a German spreadsheet saves it.
TEST_F(RunTest, TheExampleCartsImportEveryItem) {
  std::int32_t document = 0;
  for (const char* name : {"ShoppingCart.csv", "ShoppingCart-de.csv"}) {
    platform.document_index = document++;  // to the record of recent imports, they are one cart
    std::ifstream file(std::string(KCI_EXAMPLES) + "/" + name, std::ios::binary);
    ASSERT_TRUE(file) << name;
    PutCart(std::string(std::istreambuf_iterator<char>(file), {}));
    platform.log.clear();
    EXPECT_EQ(modMain::Run(platform.partners()), 0);
    EXPECT_EQ(platform.Messages(), Log{M5(13)}) << name;
    EXPECT_EQ(CountOf(platform.log, L"Call ItemFunctions.SLIBufferSetValue(\"UnitPrice\", 3249)"), 1u) << name;
    EXPECT_EQ(CountOf(platform.log, L"Call ItemFunctions.SLIBufferSetValue(\"UnitCost\", 2716.5)"), 1u) << name;
  }
}
#endif

// --- The user's language ---------------------------------------------------------------------------

// Every box of a run in the run's language, the list of lines and the plural included.
struct LanguageCase {
  const char* name;
  Language language;
  std::wstring lines_box, count_box;
};

class LanguageTest : public RunTest, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(LanguageTest, EveryBoxSpeaksTheRunsLanguage) {
  PutCart(Lines({kHeader, Good(), "x", Good(), "x"}));
  platform.texts = Texts(GetParam().language);
  platform.answers = {Choice::kOk};
  EXPECT_EQ(modMain::Run(platform.partners()), 0);
  EXPECT_EQ(platform.Messages(), (Log{Entry(L"Choose", L"information", GetParam().lines_box),
                                      Entry(L"Box", L"information", GetParam().count_box)}));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, LanguageTest,
    ::testing::Values(
        LanguageCase{"German", Language::kGerman,
                     L"Die Zeilen 2 und 4 der Warenkorbdatei scheinen nicht die richtige Anzahl von Datenspalten zu "
                     L"haben. Ihre Daten werden daher nicht in Brevanto eingef\u00fcgt.\r\n\r\nW\u00e4hlen Sie OK, um "
                     L"die \u00fcbrigen 2 Artikel zu importieren, oder Abbrechen, um keinen zu importieren.",
                     L"2 Kestrova-Warenkorbartikel wurden in Brevanto importiert."},
        LanguageCase{
            "French", Language::kFrench,
            L"Les lignes 2 et 4 du fichier de panier ne semblent pas avoir le bon nombre de colonnes de "
            L"donn\u00e9es. Leurs donn\u00e9es ne seront donc pas coll\u00e9es dans Brevanto.\r\n\r\nChoisissez "
            L"OK pour importer les 2 autres articles, ou Annuler pour n'en importer aucun.",
            L"2 articles du panier Kestrova ont \u00e9t\u00e9 import\u00e9s dans Brevanto."}),
    [](const ::testing::TestParamInfo<LanguageCase>& info) { return std::string(info.param.name); });

// --- Unexpected errors --------------------------------------------------------------------------

// When Brevanto goes away, the report says so in the user's words; only a paste that was under
// way may have pasted anything.
constexpr Message kClosed = Message::kHostClosed;
constexpr Message kClosedInPaste = Message::kHostClosedInPaste;

struct ErrorCase {
  const char* name;
  std::function<void(RecordingDouble&)> arrange;
  int number;
  const wchar_t* description;
  int line;
  Message lead = Message::kUnexpectedError;
};

class UnexpectedErrorTest : public RunTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(UnexpectedErrorTest, StopsTheRunWithTheReportAndNothingPasted) {
  PutCart(Lines({kHeader, Good(), Good()}));
  GetParam().arrange(platform);
  EXPECT_EQ(modMain::Run(platform.partners()), 1);
  const Log messages = platform.Messages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back(), Report(GetParam().number, GetParam().description, GetParam().line, GetParam().lead));
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_EQ(CountOf(platform.log, L"Call ItemFunctions.MLIBufferAppendPaste()"),
            std::string(GetParam().name).find("Paste") != std::string::npos ? 1u : 0u);
}

common::RuntimeError Failure(const wchar_t* what) { return common::RuntimeError(-2147352567, what); }
// Brevanto gone, as the platform tells it, at the `nth` call of `member`.
std::function<void(RecordingDouble&)> Gone(const wchar_t* member, int nth, std::uint32_t code) {
  return [=](RecordingDouble& f) { f.FailOn(member, nth, HostGone(static_cast<std::int32_t>(code), L"gone")); };
}

INSTANTIATE_TEST_SUITE_P(
    Paths, UnexpectedErrorTest,
    ::testing::Values(
        ErrorCase{"ReadFailsAfterOpen",
                  [](RecordingDouble& f) { f.unreadable.insert_or_assign(Cart(), common::RuntimeError(57, L"I/O")); },
                  57, L"I/O", 0},
        ErrorCase{"AttachFailsAfterThePresenceCheck",
                  [](RecordingDouble& f) { f.FailOn(L"GetActiveObject", 2, Failure(L"gone")); }, -2147352567, L"gone",
                  0},
        ErrorCase{"DocumentIndexBeyond16Bits", [](RecordingDouble& f) { f.document_index = std::int32_t{32768}; }, 6,
                  common::kErrOverflow.description, 0},
        ErrorCase{"DocumentIndexNotANumber", [](RecordingDouble& f) { f.document_index = L"first"; }, 13,
                  common::kErrTypeMismatch.description, 0},
        ErrorCase{"ItemFunctionsFailsOnTheSecondLine",
                  [](RecordingDouble& f) { f.FailOn(L"ItemFunctions", 1 + 11 + 5, Failure(L"items")); }, -2147352567,
                  L"items", 2},
        ErrorCase{"AppendPasteFails",
                  [](RecordingDouble& f) { f.FailOn(L"MLIBufferAppendPaste", 1, Failure(L"paste")); }, -2147352567,
                  L"paste", 0},
        ErrorCase{"CallFailedInLine2", Gone(L"ItemFunctions", 1 + 11 + 5, 0x800706BE), -2147023170, L"gone", 2,
                  kClosed},
        ErrorCase{"DisconnectedAtTheDocumentCheck", Gone(L"GetActiveDocumentIndex", 1, 0x80010108), -2147417848,
                  L"gone", 0, kClosed},
        ErrorCase{"NotConnectedAtTheAttach", Gone(L"GetActiveObject", 2, 0x800401FD), -2147220995, L"gone", 0, kClosed},
        ErrorCase{"UnavailableInTheCopyOfLine1", Gone(L"SLIBufferCopyToMLIBuffer", 1, 0x800706BA), -2147023174, L"gone",
                  1, kClosed},
        ErrorCase{"UnavailableDuringThePaste", Gone(L"MLIBufferAppendPaste", 1, 0x800706BA), -2147023174, L"gone", 0,
                  kClosedInPaste},
        // The read of ItemFunctions before the paste: the paste never ran.
        ErrorCase{"DisconnectedInTheLastRead", Gone(L"ItemFunctions", 1 + 2 * 11 + 1, 0x80010108), -2147417848, L"gone",
                  0, kClosed},
        // Brevanto itself raised an error with a number that a vanished application gives: it ran.
        ErrorCase{
            "RaisedWithTheNumberOfAGoneApplication",
            [](RecordingDouble& f) { f.FailOn(L"SLIBufferClear", 2, common::RuntimeError(-2147023174, L"mine")); },
            -2147023174, L"mine", 2}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

// --- A busy application --------------------------------------------------------------------------

using Waits = std::vector<std::int64_t>;
// The waits of 10 s of silent retries: 50, 100, 200, 400, then 500 until the 10 s are up.
Waits SilentTenSeconds() {
  Waits waits{50, 100, 200, 400};
  for (int i = 0; i < 18; ++i) waits.push_back(500);
  waits.push_back(250);
  return waits;
}
Waits Join(Waits a, const Waits& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
// The calls refused during 10 s of silent retries: the first one and one after each wait.
constexpr int kRefusedInTenSeconds = 24;
std::wstring BusyBox() { return Entry(L"Ask", L"exclamation", Said(Message::kBusy)); }

// `log` without the repeats of a refused call: an entry equal to the one before it.
Log WithoutRepeats(const Log& log) {
  Log once;
  for (const auto& entry : log) {
    if (once.empty() || once.back() != entry) once.push_back(entry);
  }
  return once;
}

struct BusyCase {
  const char* name;
  const wchar_t* member;
  int nth;
  int refusals;
  std::vector<Choice> answers;
  Waits waits;
  int exit_code;
  Log messages;
  std::int64_t clock_start = 1000;  // readings before the clock's epoch are negative
};

class BusyTest : public RunTest, public ::testing::WithParamInterface<BusyCase> {};

// The run over the retrying platform, against a run of the same cart where nothing is refused.
TEST_P(BusyTest, RepeatsOnlyRefusedCallsWaitsThenAsks) {
  const std::string cart = Lines({kHeader, Good("V-1"), Good("V-2")});
  PutCart(cart);
  ASSERT_EQ(modMain::Run(platform.partners()), 0);
  const Log undisturbed = platform.log;

  RecordingDouble busy;
  busy.SetDocumentsFolder(kDocs);
  busy.files[Cart()] = cart;
  busy.RejectOn(GetParam().member, GetParam().nth, GetParam().refusals);
  busy.answers = GetParam().answers;
  FakeClock clock;
  clock.now = GetParam().clock_start;
  BusyRetry retrying(busy, busy, clock, busy.progress, busy.texts);
  EXPECT_EQ(modMain::Run(busy.partners(retrying)), GetParam().exit_code);
  EXPECT_EQ(clock.waits, GetParam().waits);
  EXPECT_EQ(clock.reads == 0, GetParam().refusals == 0) << "the clock is read only after a refusal";
  EXPECT_EQ(busy.Messages(), GetParam().messages);
  EXPECT_EQ(CountOf(busy.log, BusyBox()), GetParam().answers.size());
  EXPECT_EQ(busy.LiveObjects(), 0u);
  EXPECT_EQ(busy.bad_releases, 0u);

  Log seen = busy.log;
  std::erase(seen, BusyBox());
  if (GetParam().exit_code == 0) {
    // Every call that ran, ran once and in its place: only the refused ones were made again.
    EXPECT_EQ(WithoutRepeats(seen), undisturbed);
    EXPECT_EQ(seen.size(), undisturbed.size() + static_cast<std::size_t>(GetParam().refusals));
  } else {
    // Cancel: after the last box, nothing but the releases of what the run held.
    const auto box = std::find(busy.log.rbegin(), busy.log.rend(), BusyBox());
    ASSERT_NE(box, busy.log.rend());
    for (auto it = box.base(); it != busy.log.end(); ++it) EXPECT_TRUE(it->starts_with(L"Release ")) << *it;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, BusyTest,
    ::testing::Values(
        BusyCase{"NothingRefused", L"GetActiveObject", 1, 0, {}, {}, 0, {M5(2)}},
        BusyCase{"PresenceCheckRefusedTwice", L"GetActiveObject", 1, 2, {}, {50, 100}, 0, {M5(2)}},
        BusyCase{"DocumentIndexRefusedOnce", L"GetActiveDocumentIndex", 1, 1, {}, {50}, 0, {M5(2)}},
        BusyCase{"ItemFunctionsRefusedFiveTimes", L"ItemFunctions", 14, 5, {}, {50, 100, 200, 400, 500}, 0, {M5(2)}},
        BusyCase{"ValueRefusedPastTenSecondsThenRetry",
                 L"SLIBufferSetValue",
                 12,
                 kRefusedInTenSeconds + 2,
                 {Choice::kRetry},
                 Join(SilentTenSeconds(), {50, 100}),
                 0,
                 {M5(2)}},
        BusyCase{"PasteRefusedPastTenSecondsTwiceThenRetry",
                 L"MLIBufferAppendPaste",
                 1,
                 2 * kRefusedInTenSeconds,
                 {Choice::kRetry, Choice::kRetry},
                 Join(SilentTenSeconds(), SilentTenSeconds()),
                 0,
                 {M5(2)}},
        BusyCase{"CancelInALine", L"SLIBufferSetValue", 12, 1000, {Choice::kCancel}, SilentTenSeconds(), 1, {}},
        // The presence check traps every error, but not the user's Cancel: no "not running" box.
        BusyCase{"CancelInThePresenceCheck", L"GetActiveObject", 1, 1000, {Choice::kCancel}, SilentTenSeconds(), 1, {}},
        BusyCase{"CancelAfterARetry",
                 L"MLIBufferClear",
                 1,
                 1000,
                 {Choice::kRetry, Choice::kCancel},
                 Join(SilentTenSeconds(), SilentTenSeconds()),
                 1,
                 {}},
        BusyCase{"SilentSpellOnAClockBeforeItsEpoch",
                 L"MLIBufferClear",
                 1,
                 kRefusedInTenSeconds + 1,
                 {Choice::kRetry},
                 Join(SilentTenSeconds(), {50}),
                 0,
                 {M5(2)},
                 -1'000'000}),
    [](const ::testing::TestParamInfo<BusyCase>& info) { return std::string(info.param.name); });

// An error that is not a refusal may come from a call that ran: never repeated, reported.
TEST_F(RunTest, AFailureThatIsNotARefusalIsNeverRepeated) {
  PutCart(Lines({kHeader, Good()}));
  platform.FailOn(L"SLIBufferClear", 1, common::RuntimeError(-2147352567, L"failed"));
  FakeClock clock;
  BusyRetry retrying(platform, platform, clock, platform.progress, platform.texts);
  EXPECT_EQ(modMain::Run(platform.partners(retrying)), 1);
  EXPECT_EQ(CountOf(platform.log, L"Call ItemFunctions.SLIBufferClear()"), 1u);
  EXPECT_EQ(platform.Messages(), Log{Report(-2147352567, L"failed", 1)});
  EXPECT_EQ(clock.waits, Waits{});
}

// --- The progress window ---------------------------------------------------------------------------

// A run of three lines against a Brevanto whose every property read and call takes `ms_per_call`,
// shown by its window's entries among the buffer calls and the boxes. The window comes 2 s after
// the first call, at the first check after that, and closes before any box.
struct ProgressCase {
  const char* name;
  std::int64_t ms_per_call;
  std::optional<std::wstring> cancel_at;  // the second line at which the user presses Cancel
  int exit_code;
  Log seen;                // the log's window, box and buffer entries, a refused call's repeats once
  int refusals_count = 0;  // of `refused`, before it runs (the busy box after 24)
  std::pair<const wchar_t*, int> refused{L"SLIBufferCopyToMLIBuffer", 3};
  bool no_items = false;
};

class ProgressTest : public RunTest, public ::testing::WithParamInterface<ProgressCase> {};

TEST_P(ProgressTest, ShowsAfterTwoSecondsAndCancelsBetweenLines) {
  PutCart(GetParam().no_items ? kHeader : Lines({kHeader, Good("V-1"), Good("V-2"), Good("V-3")}));
  platform.ms_per_call = GetParam().ms_per_call;
  platform.cancel_at = GetParam().cancel_at;
  platform.RejectOn(GetParam().refused.first, GetParam().refused.second, GetParam().refusals_count);
  platform.answers = {Choice::kRetry};
  BusyRetry retrying(platform, platform, platform.clock, platform.progress, platform.texts);
  EXPECT_EQ(modMain::Run(platform.partners(retrying)), GetParam().exit_code);
  Log seen;
  for (const std::wstring& entry : WithoutRepeats(platform.log)) {
    if (entry.starts_with(L"Window") || entry.starts_with(L"Box") || entry.starts_with(L"Ask") ||
        entry.starts_with(L"Call ItemFunctions.MLIBuffer") || entry.starts_with(L"Call ItemFunctions.SLIBufferCopy")) {
      seen.push_back(entry);
    }
  }
  EXPECT_EQ(seen, GetParam().seen);
  // No line begins once Cancel has counted.
  const auto cancel = std::find(platform.log.begin(), platform.log.end(), L"Window cancelled? yes");
  EXPECT_EQ(std::find(cancel, platform.log.end(), L"Call ItemFunctions.SLIBufferClear()"), platform.log.end());
}

constexpr wchar_t kClear[] = L"Call ItemFunctions.MLIBufferClear()";
constexpr wchar_t kCopy[] = L"Call ItemFunctions.SLIBufferCopyToMLIBuffer()";
constexpr wchar_t kPaste[] = L"Call ItemFunctions.MLIBufferAppendPaste()";
const std::wstring kShow = L"Window show [" + std::wstring(kAppTitle) + L"] " + Said(Message::kProgressFirstLine);
constexpr wchar_t kNo[] = L"Window cancelled? no";
std::wstring At(int item) {
  return L"Window '" + Said(Message::kProgressItem, item, 3) + L"' " + std::to_wstring(item - 1) + L"/3";
}
const std::wstring kPasting = L"Window '" + Said(Message::kProgressPasting, 3) + L"' 3/3";
Log CancelHeld() {
  return {kClear,          kShow,     At(1), kCopy, kNo, At(2), kCopy, kNo, At(3), kCopy, L"Window cancelled? yes",
          L"Window close", BusyBox(), kCopy, kClear};
}
Log BeforeTheFirstItem() {
  return {kClear, kShow, At(1), kClear, kCopy,    kNo,    At(2),           kCopy,
          kNo,    At(3), kCopy, kNo,    kPasting, kPaste, L"Window close", M5(3)};
}

// At 100 ms a call an ItemFunctions call takes 200 ms: 2 s after MLIBufferClear began is the 9th
// value of line 1.
INSTANTIATE_TEST_SUITE_P(
    Windows, ProgressTest,
    ::testing::Values(
        ProgressCase{"ShortImportShowsNoWindow", 20, std::nullopt, 0, {kClear, kCopy, kCopy, kCopy, kPaste, M5(3)}},
        ProgressCase{"WindowAfterTwoSecondsClosesBeforeTheCount",
                     100,
                     std::nullopt,
                     0,
                     {kClear, kShow, At(1), kCopy, kNo, At(2), kCopy, kNo, At(3), kCopy, kNo, kPasting, kPaste,
                      L"Window close", M5(3)}},
        ProgressCase{
            "CancelAtItem2ClearsTheBufferAndEndsSilently",
            100,
            Said(Message::kProgressItem, 2, 3),
            1,
            {kClear, kShow, At(1), kCopy, kNo, At(2), kCopy, L"Window cancelled? yes", L"Window close", kClear}},
        ProgressCase{"CancelDuringThePasteChangesNothing",
                     100,
                     Said(Message::kProgressPasting, 3),
                     0,
                     {kClear, kShow, At(1), kCopy, kNo, At(2), kCopy, kNo, At(3), kCopy, kNo, kPasting, kPaste,
                      L"Window close", M5(3)}},
        ProgressCase{
            "BusyBoxClosesTheWindowAndRetryBringsItBackAtOnce",
            100,
            std::nullopt,
            0,
            {kClear,          kShow,     At(1), kCopy, kNo,   At(2), kCopy,    kNo,    At(3),           kCopy, kNo,
             L"Window close", BusyBox(), kShow, At(3), kCopy, kNo,   kPasting, kPaste, L"Window close", M5(3)},
            30},
        ProgressCase{"CancelHoldsThroughTheBusyBox", 100, Said(Message::kProgressItem, 3, 3), 1, CancelHeld(), 30},
        ProgressCase{"WindowBeforeTheFirstItem", 100, std::nullopt, 0, BeforeTheFirstItem(), 7, {L"MLIBufferClear", 1}},
        ProgressCase{"NoItems", 1000, std::nullopt, 0, {kClear, kPaste, M5(0)}, 0, {L"MLIBufferClear", 1}, true}),
    [](const ::testing::TestParamInfo<ProgressCase>& info) { return std::string(info.param.name); });

// --- Recent imports --------------------------------------------------------------------------------

constexpr wchar_t kRecord[] = L"Software\\Kestrova\\Cart Import\\Recent imports";
constexpr auto kHkcu = static_cast<std::int32_t>(registry::kHkeyCurrentUser);
// Each value of the record: its name after the identity's 16 hex digits, a space, its data; sorted.
Log RecordOf(RecordingDouble& f) {
  Log entries;
  for (const common::Variant& value : registry::winreg(f.registry).EnumRegistryValues(kHkcu, kRecord)) {
    const std::wstring& name = value.items()[0].text();
    EXPECT_EQ(name.find_first_not_of(L"0123456789abcdef"), 16u) << name;
    entries.push_back(name.substr(16) + L" " + common::ToText(value.items()[1]));
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}
using Arrange = std::function<void(RecordingDouble&)>;
void Unchanged(RecordingDouble&) {}
// A run of `cart` after an earlier import of `earlier` (none when empty), `before` that and `between` them.
struct RecentCase {
  const char* name;
  std::string earlier, cart;
  std::vector<Choice> answers;
  int exit_code;
  Log messages, record;  // the record: RecordOf afterwards
  Arrange between = Unchanged, before = Unchanged;
};

class RecentImportTest : public RunTest, public ::testing::WithParamInterface<RecentCase> {};

TEST_P(RecentImportTest, AsksBeforeACartIsImportedIntoTheSameDocumentAgain) {
  const RecentCase& c = GetParam();
  c.before(platform);
  PutCart(c.earlier);
  if (!c.earlier.empty()) modMain::Run(platform.partners());
  PutCart(c.cart);
  c.between(platform);
  platform.log.clear();
  platform.answers = c.answers;
  EXPECT_EQ(modMain::Run(platform.partners()), c.exit_code);
  EXPECT_EQ(platform.Messages(), c.messages);
  EXPECT_EQ(RecordOf(platform), c.record);
  if (c.exit_code == 1 && !c.messages.empty() && c.messages[0].starts_with(L"Question")) {  // No: nothing more
    EXPECT_EQ(platform.log,
              Concat({Attached(), {L"LocalTimeOfDay 1796826725", c.messages[0], L"Release Application"}}));
  }
}

std::string One(const char* q = "2") {
  return Lines({kHeader, "V-1,Acme,A-1,Widget,,,,,,$5.00,4.00," + std::string(q) + ",N,X"});
}
std::string Two() { return Lines({kHeader, Good("V-1"), Good("V-2")}); }
std::wstring Q(const std::wstring& text) { return Entry(L"Question", L"exclamation", text); }
const std::wstring kPasted1 = Said(Message::kAlreadyImported, 1, L"14:32");
const std::wstring kMaybe2 = Said(Message::kMaybeImported, 2, L"14:32");
constexpr wchar_t kFirst[] = L"-0 2026-12-09T14:32:05Z 1 pasted";
constexpr wchar_t kLater[] = L"-0 2026-12-10T02:31:05Z 1 pasted";
constexpr wchar_t kLatest[] = L"-0 2026-12-10T02:33:05Z 1 pasted";
constexpr wchar_t kDocument1[] = L"-1 2026-12-09T14:32:05Z 1 pasted";
constexpr wchar_t kMaybe[] = L"-0 2026-12-09T14:32:05Z 2 maybe";
void After11h59(RecordingDouble& f) { f.clock.utc += 719 * 60; }
void After12h01(RecordingDouble& f) { f.clock.utc += 721 * 60; }
void OtherDocument(RecordingDouble& f) { f.document_index = 1; }
void ClosedInPaste(RecordingDouble& f) { f.FailOn(L"MLIBufferAppendPaste", 1, HostGone(-2147023174, L"gone")); }
void CancelAtItem1(RecordingDouble& f) { f.ms_per_call = 100, f.cancel_at = Said(Message::kProgressItem, 1, 2); }
registry::winreg Key(RecordingDouble& f) {
  registry::winreg reg(f.registry);
  reg.hkey(kHkcu);
  reg.KeyRoot(kRecord);
  return reg;
}
// The earlier import's value holds "garbage"; a REG_DWORD value is beside it.
void Spoiled(RecordingDouble& f) {
  Key(f).SetRegistryValue(Key(f).EnumRegistryValues(kHkcu, kRecord).Item(1).items()[0].text(), L"garbage", 1);
  Key(f).SetRegistryValue(L"0123456789abcdef-3", std::int32_t{7}, 4);
}
// A record that may be read but not written, as under a key whose rights deny the user writing.
void ReadOnly(RecordingDouble& f) {
  Key(f).CreateKey();
  f.registry.SetKeyReadOnly(registry::kHkeyCurrentUser, "Software\\Kestrova\\Cart Import\\Recent imports", true);
}
// Twenty entries of another cart, in the documents 1 to 20, a minute apart, 21 to 2 minutes old.
std::wstring Minute(int n) { return L"2026-12-09T14:" + std::to_wstring(10 + n) + L":05Z 1 pasted"; }
void TwentyEarlier(RecordingDouble& f) {
  for (int n = 1; n <= 20; ++n) Key(f).SetRegistryValue(L"0000000000000000-" + std::to_wstring(n), Minute(n), 1);
}
Log TwentyNewest() {  // all but the oldest, and the run's
  Log entries{kFirst};
  for (int n = 2; n <= 20; ++n) entries.push_back(L"-" + std::to_wstring(n) + L" " + Minute(n));
  std::sort(entries.begin(), entries.end());
  return entries;
}
// One() as a spreadsheet saves it: UTF-8 with its mark, ";", decimal commas.
constexpr char kResaved[] = "\xEF\xBB\xBFP;M;MP;D;a;b;c;d;e;Pr;Co;Q;m;n\r\nV-1;Acme;A-1;Widget;;;;;;5,00 $;4,00;2;;";

INSTANTIATE_TEST_SUITE_P(
    Record, RecentImportTest,
    ::testing::Values(
        RecentCase{"FirstImport", "", One(), {}, 0, {M5(1)}, {kFirst}},
        RecentCase{"AgainAndNo", One(), One(), {Choice::kNo}, 1, {Q(kPasted1)}, {kFirst}},
        RecentCase{"After11h59Yes", One(), One(), {Choice::kYes}, 0, {Q(kPasted1), M5(1)}, {kLater}, After11h59},
        RecentCase{"After12h01", One(), One(), {}, 0, {M5(1)}, {kLatest}, After12h01},
        RecentCase{"Resaved", One(), kResaved, {}, 1, {Q(kPasted1)}, {kFirst}},
        RecentCase{"QuantityChanged", One(), One("3"), {}, 0, {M5(1)}, {kFirst, kFirst}},
        RecentCase{"OtherDocument", One(), One(), {}, 0, {M5(1)}, {kFirst, kDocument1}, OtherDocument},
        RecentCase{"MaybeAfterClosedInPaste", Two(), Two(), {}, 1, {Q(kMaybe2)}, {kMaybe}, Unchanged, ClosedInPaste},
        RecentCase{"CancelInLinesBox", "", "", {Choice::kCancel}, 1, {Columns(2)}, {}, TwoGoodOneBad},
        RecentCase{"CancelInProgressWindow", "", Two(), {}, 1, {}, {}, CancelAtItem1},
        RecentCase{"TwentyOneKeepTwenty", "", One(), {}, 0, {M5(1)}, TwentyNewest(), TwentyEarlier},
        RecentCase{"GarbageAndADword", One(), One(), {}, 0, {M5(1)}, {kFirst}, Spoiled},
        RecentCase{"WritesRefused", "", One(), {}, 0, {M5(1)}, {}, Unchanged, ReadOnly}),
    [](const ::testing::TestParamInfo<RecentCase>& info) { return std::string(info.param.name); });

// --- 16-bit limits ------------------------------------------------------------------------------

std::string ManyLines(int count, const std::string& line) {
  std::string text = kHeader;
  for (int i = 1; i < count; ++i) text += "\r\n" + line;
  return text;
}

TEST_F(RunTest, HandlesACartOf32767LinesInOneBox) {
  PutCart(ManyLines(32767, "x"));
  EXPECT_EQ(modMain::Run(platform.partners()), 1);
  EXPECT_EQ(platform.Messages(),
            Log{Entry(L"Box", L"information",
                      Sentences({Said(Message::kWrongColumnsLines, L"1, 2, 3, 4, 5, 6, 7, 8, 9, 10 and 32756 more"),
                                 Said(Message::kNothingImportable)}))});
}

// The lines are parsed right after the read: their limits stop the run before Brevanto is looked for.
TEST_F(RunTest, ACartOf32768LinesOrMoreOverflowsBeforeBrevantoIsLookedFor) {
  for (const int lines : {32768, 40000}) {
    platform.log.clear();
    PutCart(ManyLines(lines, "x"));
    EXPECT_EQ(modMain::Run(platform.partners()), 1);
    EXPECT_EQ(platform.log, (Log{kLock, L"FileLength " + Cart(), L"ReadAllShared " + Cart(),
                                 Report(6, common::kErrOverflow.description)}))
        << lines;
  }
}

TEST_F(RunTest, ImportsALineOf32766CharactersAndStopsAtOneOf32767) {
  std::string line = Good();
  line.insert(line.find("Widget"), 32766 - line.size(), 'w');
  ASSERT_EQ(line.size(), 32766u);
  PutCart(Lines({kHeader, line}));
  EXPECT_EQ(modMain::Run(platform.partners()), 0);
  EXPECT_EQ(platform.Messages(), Log{M5(1)});

  platform.log.clear();
  PutCart(Lines({kHeader, line + "w", Good()}));
  EXPECT_EQ(modMain::Run(platform.partners()), 1);
  EXPECT_EQ(platform.log, (Log{kLock, L"FileLength " + Cart(), L"ReadAllShared " + Cart(),
                               Report(6, common::kErrOverflow.description, 1)}));
}

}  // namespace
}  // namespace modMain::testing
