// The stand-in as a client sees it: started as its own process, reached through the running
// object table and late-bound calls across processes, judged by its journal and items file.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>  // after <windows.h>, whose types it uses

#include <chrono>
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>

#include "testbed/driver/harness.h"
#include "testbed/standin/identity.h"

// For asking the running object table about the stand-in's registration.
_COM_SMARTPTR_TYPEDEF(IMoniker, __uuidof(IMoniker));
_COM_SMARTPTR_TYPEDEF(IRunningObjectTable, __uuidof(IRunningObjectTable));

namespace testbed::testing {
namespace {

using namespace testbed::driver;  // the harness: programs, processes, line files, late-bound calls

using Lines = std::vector<std::string>;
constexpr WORD kGet = DISPATCH_PROPERTYGET;
constexpr WORD kMethod = DISPATCH_METHOD;
constexpr WORD kMethodForResult = DISPATCH_METHOD | DISPATCH_PROPERTYGET;

// A journal line that tells of an event (a connection, a refused call), not of a call that ran.
bool IsEvent(const std::string& line) { return !TextOf(ParseLine(line), "event").empty(); }

class StandInTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HRESULT entered = S_OK;
    apartment_ = common::EnterApartment(&entered);
    ASSERT_HRESULT_SUCCEEDED(entered);
  }
  void TearDown() override {
    Stop();
    apartment_.reset();
  }

  // Starts the stand-in with this test's journal and items files and waits until its window is
  // up, which it shows only once its object is in the running object table. --exit-after is a
  // backstop should the test fail before it closes the stand-in.
  void Start(std::vector<std::wstring> options = {}, bool with_files = true) {
    std::vector<std::wstring> arguments{L"--exit-after", L"60"};
    if (with_files) {
      arguments.insert(arguments.end(),
                       {L"--journal", journal_.path(), L"--items", items_.path(), L"--buffer", buffer_.path()});
    }
    arguments.insert(arguments.end(), options.begin(), options.end());
    ASSERT_TRUE(standin_.Start(L"BrevantoStandIn.exe", arguments));
    window_ = WaitForWindow(standin_.id(), standin::kWindowClass, 20000);
    ASSERT_NE(window_, nullptr) << "the stand-in showed no window";
  }

  IDispatchPtr Attach() {
    IUnknownPtr running;
    HRESULT result = GetActiveObject(standin::kClsid, nullptr, &running);
    EXPECT_HRESULT_SUCCEEDED(result);
    return running;  // QueryInterface for IDispatch
  }

  // Closes the stand-in as a user would and waits for it to end; idempotent.
  void Stop() {
    if (!standin_.running()) return;
    PostMessageW(window_, WM_CLOSE, 0, 0);
    std::optional<DWORD> code = standin_.Wait(10000);
    EXPECT_EQ(code, std::optional<DWORD>(0)) << "the stand-in did not end cleanly on WM_CLOSE";
  }

  // The whole journal, read once the stand-in has ended so that every line is in.
  Lines Journal() {
    Stop();
    auto lines = ReadLines(journal_.path());
    EXPECT_TRUE(lines.has_value()) << "no journal was written";
    return lines.value_or(Lines{});
  }
  // The journal without its events (connections and refusals).
  Lines Calls() {
    Lines calls;
    for (auto& line : Journal()) {
      if (!IsEvent(line)) calls.push_back(line);
    }
    return calls;
  }
  std::optional<Lines> Items() { return ReadLines(items_.path()); }
  // What the multi-line buffer held when the stand-in ended, written on its way out.
  std::optional<Lines> Buffer() {
    Stop();
    return ReadLines(buffer_.path());
  }

  common::ComApartment apartment_;  // left in TearDown, after the stand-in has stopped
  TempFile journal_{L"journal.jsonl"};
  TempFile items_{L"items.jsonl"};
  TempFile buffer_{L"buffer.jsonl"};
  ChildProcess standin_;
  HWND window_ = nullptr;
};

std::string Event(const char* event, const char* object) {
  return std::string(R"({"event":")") + event + R"(","object":")" + object + "\"}";
}

TEST_F(StandInTest, StandInThatNoClientTouchedJournalsNothing) {
  Start();
  // It is registered: the table knows the moniker RegisterActiveObject uses, which asking about
  // does not reach the object.
  IMonikerPtr moniker;
  ASSERT_HRESULT_SUCCEEDED(CreateItemMoniker(L"!", standin::kClsidText, &moniker));
  IRunningObjectTablePtr table;
  ASSERT_HRESULT_SUCCEEDED(GetRunningObjectTable(0, &table));
  EXPECT_EQ(table->IsRunning(moniker), S_OK);
  EXPECT_EQ(Journal(), Lines{});
}

TEST_F(StandInTest, OneReferenceConnectsOnceAndDisconnectsOnce) {
  Start();
  {
    IDispatchPtr application = Attach();
    ASSERT_TRUE(application);
    // More references in the same client are not new connections.
    const IDispatchPtr second = application;  // NOLINT(performance-unnecessary-copy-initialization)
  }
  EXPECT_EQ(Journal(), (Lines{Event("connect", "Application"), Event("disconnect", "Application")}));
}

TEST_F(StandInTest, JournalsLookupsCallsAndConnectionsInOrder) {
  Start({L"--document-index", L"4"});
  {
    IDispatchPtr application = Attach();
    IDispatchPtr documents = ReadObject(application, L"DocFunctions");
    ASSERT_TRUE(documents);
    Reply index = Call(documents, L"GetActiveDocumentIndex", kMethodForResult);
    ASSERT_HRESULT_SUCCEEDED(index.result);
    EXPECT_EQ(V_VT(&index.value), VT_I4);
    EXPECT_EQ(V_I4(&index.value), 4);
  }
  EXPECT_EQ(
      Journal(),
      (Lines{
          Event("connect", "Application"),
          R"({"object":"Application","call":"GetIDsOfNames","member":"DocFunctions"})",
          R"({"object":"Application","call":"Invoke","member":"DocFunctions","kind":"get","args":[]})",
          Event("connect", "DocFunctions"),
          R"({"object":"DocFunctions","call":"GetIDsOfNames","member":"GetActiveDocumentIndex"})",
          R"({"object":"DocFunctions","call":"Invoke","member":"GetActiveDocumentIndex","kind":"method","args":[]})",
          Event("disconnect", "DocFunctions"),
          Event("disconnect", "Application"),
      }));
}

TEST_F(StandInTest, EachReadOfASubObjectIsAConnectionOfItsOwn) {
  Start();
  {
    IDispatchPtr application = Attach();
    for (int i = 0; i < 2; ++i) {
      IDispatchPtr items = ReadObject(application, L"ItemFunctions");
      ASSERT_TRUE(items);
      ASSERT_HRESULT_SUCCEEDED(Call(items, L"SLIBufferClear", kMethod).result);
    }
  }
  Lines events;
  for (auto& line : Journal()) {
    if (IsEvent(line)) events.push_back(line);
  }
  EXPECT_EQ(events, (Lines{Event("connect", "Application"), Event("connect", "ItemFunctions"),
                           Event("disconnect", "ItemFunctions"), Event("connect", "ItemFunctions"),
                           Event("disconnect", "ItemFunctions"), Event("disconnect", "Application")}));
}

// Two items as the import run hands them over: text fields by reference, numbers as doubles,
// constants by value; then one paste. Text with quotes, backslashes, line breaks and non-ASCII
// characters must come out as valid JSON, the types as they arrived.
TEST_F(StandInTest, ImportCallsReachTheJournalAndThePastedItemsTheItemsFile) {
  Start();
  {
    IDispatchPtr application = Attach();
    IDispatchPtr items = ReadObject(application, L"ItemFunctions");
    ASSERT_TRUE(items);
    _bstr_t part(L"KV-100"), maker(L"Acme \"Best\" \\ Co"), maker_part(L""),
        description(L"Cable\r\n2 m\t\u00e9\u20ac\U0001D11E");
    BSTR part_text = part, maker_text = maker, maker_part_text = maker_part, description_text = description;
    auto set = [&](const wchar_t* field, const _variant_t& value) {
      Reply reply = Call(items, L"SLIBufferSetValue", kMethod, {_variant_t(field), value});
      EXPECT_HRESULT_SUCCEEDED(reply.result) << reply.result;
    };
    ASSERT_HRESULT_SUCCEEDED(Call(items, L"MLIBufferClear", kMethod).result);
    ASSERT_HRESULT_SUCCEEDED(Call(items, L"SLIBufferClear", kMethod).result);
    set(L"VendorPartNumber", TextRef(&part_text));
    set(L"Manufacturer", TextRef(&maker_text));
    set(L"ManufacturerPartNumber", TextRef(&maker_part_text));
    set(L"Description", TextRef(&description_text));
    set(L"UnitPrice", 12.5);
    set(L"UnitCost", -0.25);
    set(L"QtyBase", 3.0);
    set(L"TaxCode", L"Y");
    set(L"Vendor", L"Kestrova");
    ASSERT_HRESULT_SUCCEEDED(Call(items, L"SLIBufferCopyToMLIBuffer", kMethod).result);
    // The second item: field names in another case, a field stored twice keeps its first place.
    ASSERT_HRESULT_SUCCEEDED(Call(items, L"SLIBufferClear", kMethod).result);
    set(L"unitprice", 1.0);
    set(L"VENDOR", L"Kestrova");
    set(L"UnitPrice", 0.1);
    ASSERT_HRESULT_SUCCEEDED(Call(items, L"SLIBufferCopyToMLIBuffer", kMethod).result);
    ASSERT_HRESULT_SUCCEEDED(Call(items, L"MLIBufferAppendPaste", kMethod).result);
  }
  const std::string escaped_description = "Cable\\r\\n2 m\\t" + Utf8(L"\u00e9\u20ac\U0001D11E");
  EXPECT_EQ(Items(), (Lines{
                         R"({"VendorPartNumber":{"vt":"BSTR","value":"KV-100"},)"
                         R"("Manufacturer":{"vt":"BSTR","value":"Acme \"Best\" \\ Co"},)"
                         R"("ManufacturerPartNumber":{"vt":"BSTR","value":""},)"
                         R"("Description":{"vt":"BSTR","value":")" +
                             escaped_description +
                             R"("},)"
                             R"("UnitPrice":{"vt":"R8","value":12.5},"UnitCost":{"vt":"R8","value":-0.25},)"
                             R"("QtyBase":{"vt":"R8","value":3.0},"TaxCode":{"vt":"BSTR","value":"Y"},)"
                             R"("Vendor":{"vt":"BSTR","value":"Kestrova"}})",
                         R"({"UnitPrice":{"vt":"R8","value":0.1},"Vendor":{"vt":"BSTR","value":"Kestrova"}})",
                     }));
  Lines calls = Calls();
  Lines invokes;
  for (auto& line : calls) {
    if (TextOf(ParseLine(line), "call") == "Invoke") invokes.push_back(line);
  }
  ASSERT_EQ(invokes.size(), 19u);
  EXPECT_EQ(invokes[0], R"({"object":"Application","call":"Invoke","member":"ItemFunctions","kind":"get","args":[]})");
  EXPECT_EQ(invokes[1],
            R"({"object":"ItemFunctions","call":"Invoke","member":"MLIBufferClear","kind":"method","args":[]})");
  EXPECT_EQ(invokes[3], R"({"object":"ItemFunctions","call":"Invoke","member":"SLIBufferSetValue","kind":"method",)"
                        R"("args":[{"vt":"BSTR","value":"VendorPartNumber"},{"vt":"BSTR|BYREF","value":"KV-100"}]})");
  EXPECT_EQ(invokes[7], R"({"object":"ItemFunctions","call":"Invoke","member":"SLIBufferSetValue","kind":"method",)"
                        R"("args":[{"vt":"BSTR","value":"UnitPrice"},{"vt":"R8","value":12.5}]})");
  EXPECT_EQ(invokes[15], R"({"object":"ItemFunctions","call":"Invoke","member":"SLIBufferSetValue","kind":"method",)"
                         R"("args":[{"vt":"BSTR","value":"VENDOR"},{"vt":"BSTR","value":"Kestrova"}]})");
  EXPECT_EQ(invokes[18],
            R"({"object":"ItemFunctions","call":"Invoke","member":"MLIBufferAppendPaste","kind":"method","args":[]})");
  // Every Invoke came after a lookup of the same name on the same object.
  EXPECT_EQ(calls.size(), 2 * invokes.size());
  EXPECT_EQ(calls[4], R"({"object":"ItemFunctions","call":"GetIDsOfNames","member":"SLIBufferClear"})");
}

// A cell of the stand-in's list, read from outside: the list view writes the text into memory of
// its own process, so the request and the buffer are placed there.
std::wstring ListCell(HWND list, int row, int column) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(list, &process_id);
  const common::UniqueHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id));
  if (!process) return L"<no access>";
  constexpr std::size_t kChars = 256;
  struct Remote {
    LVITEMW item;
    wchar_t text[kChars];
  };
  void* remote = VirtualAllocEx(process.get(), nullptr, sizeof(Remote), MEM_COMMIT, PAGE_READWRITE);
  if (remote == nullptr) return L"<no memory>";
  Remote local{};
  local.item.iSubItem = column;
  local.item.cchTextMax = kChars;
  local.item.pszText = reinterpret_cast<Remote*>(remote)->text;
  SIZE_T moved = 0;
  std::wstring text = L"<unreadable>";
  if (WriteProcessMemory(process.get(), remote, &local, sizeof local, &moved) &&
      SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote)) >= 0 &&
      ReadProcessMemory(process.get(), remote, &local, sizeof local, &moved)) {
    text = local.text;
  }
  VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
  return text;
}

TEST_F(StandInTest, PastesAppendToTheDocumentAndTheWindowListsTheItems) {
  Start();
  {
    IDispatchPtr items = ReadObject(Attach(), L"ItemFunctions");
    ASSERT_TRUE(items);
    ASSERT_HRESULT_SUCCEEDED(Call(items, L"SLIBufferSetValue", kMethod, {L"Description", L"first"}).result);
    ASSERT_HRESULT_SUCCEEDED(Call(items, L"SLIBufferCopyToMLIBuffer", kMethod).result);
    ASSERT_HRESULT_SUCCEEDED(Call(items, L"SLIBufferSetValue", kMethod, {L"Description", L"second"}).result);
    ASSERT_HRESULT_SUCCEEDED(Call(items, L"SLIBufferCopyToMLIBuffer", kMethod).result);
    ASSERT_HRESULT_SUCCEEDED(Call(items, L"MLIBufferAppendPaste", kMethod).result);
    ASSERT_HRESULT_SUCCEEDED(Call(items, L"MLIBufferAppendPaste", kMethod).result);  // the buffer keeps its lines
  }
  const std::string first = R"({"Description":{"vt":"BSTR","value":"first"}})";
  const std::string second = R"({"Description":{"vt":"BSTR","value":"second"}})";
  EXPECT_EQ(Items(), (Lines{first, second, first, second}));

  HWND list = FindWindowExW(window_, nullptr, L"SysListView32", nullptr);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(ListCell(list, 1, 3), L"second");  // Description is the fourth of the nine columns
  EXPECT_EQ(ListCell(list, 2, 3), L"first");
  EXPECT_EQ(ListCell(list, 2, 0), L"");
  wchar_t title[256] = {};
  GetWindowTextW(window_, title, 256);
  EXPECT_NE(std::wstring(title).find(L"4 line items"), std::wstring::npos) << Utf8(title);
  EXPECT_EQ(Buffer(), (Lines{first, second}));  // the buffer keeps its lines to the end
}

struct DocumentCase {
  std::vector<std::wstring> options;
  LONG index;
};

class DocumentIndexTest : public StandInTest, public ::testing::WithParamInterface<DocumentCase> {};

TEST_P(DocumentIndexTest, GetActiveDocumentIndexAnswersAsConfigured) {
  Start(GetParam().options);
  IDispatchPtr documents = ReadObject(Attach(), L"DocFunctions");
  ASSERT_TRUE(documents);
  Reply reply = Call(documents, L"GetActiveDocumentIndex", kMethodForResult);
  ASSERT_HRESULT_SUCCEEDED(reply.result);
  ASSERT_EQ(V_VT(&reply.value), VT_I4);
  EXPECT_EQ(V_I4(&reply.value), GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(Options, DocumentIndexTest,
                         ::testing::Values(DocumentCase{{}, 0}, DocumentCase{{L"--document-index", L"7"}, 7},
                                           DocumentCase{{L"--document-index", L"70000"}, 70000},
                                           DocumentCase{{L"--no-document"}, -1},
                                           DocumentCase{{L"--document-index", L"-1"}, -1}));

TEST_F(StandInTest, PasteWithoutDocumentRaisesAndWritesNoItems) {
  Start({L"--no-document"});
  {
    IDispatchPtr items = ReadObject(Attach(), L"ItemFunctions");
    ASSERT_TRUE(items);
    EXPECT_HRESULT_SUCCEEDED(Call(items, L"MLIBufferClear", kMethod).result);
    Reply paste = Call(items, L"MLIBufferAppendPaste", kMethod);
    EXPECT_EQ(paste.result, DISP_E_EXCEPTION);
    EXPECT_EQ(paste.error_code, standin::kNoDocument);
    EXPECT_NE(paste.description.find(L"MLIBufferAppendPaste"), std::wstring::npos);
  }
  EXPECT_EQ(Buffer(), Lines{});  // cleared: an empty file
  EXPECT_FALSE(Items().has_value());
}

// A fixed client session; the failure plan must hit exactly the K-th call of its member.
struct FailureCase {
  std::vector<std::wstring> plan;                     // --fail values
  std::vector<std::pair<std::wstring, int>> failing;  // member and its call number
};

class FailureInjectionTest : public StandInTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailureInjectionTest, PlannedCallsRaiseWithNumberAndDescription) {
  std::vector<std::wstring> options;
  for (const auto& point : GetParam().plan) options.insert(options.end(), {L"--fail", point});
  Start(options);
  IDispatchPtr application = Attach();
  ASSERT_TRUE(application);
  std::map<std::wstring, int> counts;
  std::vector<std::pair<std::wstring, int>> failed;
  auto record = [&](const wchar_t* member, const Reply& reply) {
    int call = ++counts[member];
    if (reply.result == DISP_E_EXCEPTION) {
      failed.emplace_back(member, call);
      EXPECT_EQ(reply.error_code, standin::kInjectedFailure);
      EXPECT_NE(reply.description.find(member), std::wstring::npos) << Utf8(reply.description);
    } else {
      EXPECT_HRESULT_SUCCEEDED(reply.result) << Utf8(member) << " call " << call;
    }
  };
  for (int round = 0; round < 3; ++round) {
    Reply items = Call(application, L"ItemFunctions", kGet);
    record(L"ItemFunctions", items);
    if (V_VT(&items.value) == VT_DISPATCH) {
      record(L"SLIBufferClear", Call(V_DISPATCH(&items.value), L"SLIBufferClear", kMethod));
      record(L"SLIBufferSetValue", Call(V_DISPATCH(&items.value), L"SLIBufferSetValue", kMethod, {L"Vendor", L"K"}));
    }
    Reply documents = Call(application, L"DocFunctions", kGet);
    record(L"DocFunctions", documents);
    if (V_VT(&documents.value) == VT_DISPATCH) {
      record(L"GetActiveDocumentIndex",
             Call(V_DISPATCH(&documents.value), L"GetActiveDocumentIndex", kMethodForResult));
    }
  }
  EXPECT_EQ(failed, GetParam().failing);
}

INSTANTIATE_TEST_SUITE_P(Plans, FailureInjectionTest,
                         ::testing::Values(FailureCase{{L"SLIBufferSetValue:2"}, {{L"SLIBufferSetValue", 2}}},
                                           FailureCase{{L"ItemFunctions:3"}, {{L"ItemFunctions", 3}}},
                                           FailureCase{{L"getactivedocumentindex:1"}, {{L"GetActiveDocumentIndex", 1}}},
                                           FailureCase{{L"DocFunctions:2", L"SLIBufferClear:3"},
                                                       {{L"DocFunctions", 2}, {L"SLIBufferClear", 3}}},
                                           FailureCase{{L"SLIBufferClear:4"}, {}}));

struct MisuseCase {
  const char* label;
  const wchar_t* property;  // the object: "" for the application itself
  const wchar_t* member;
  WORD flags;
  std::vector<_variant_t> arguments;
  HRESULT result;
  HRESULT error_code;
  UINT argument_error;
};

class MisuseTest : public StandInTest, public ::testing::WithParamInterface<MisuseCase> {};

TEST_P(MisuseTest, AnswersWithTheDispatchError) {
  const MisuseCase& c = GetParam();
  Start();
  IDispatchPtr application = Attach();
  ASSERT_TRUE(application);
  IDispatchPtr object = *c.property ? ReadObject(application, c.property) : application;
  ASSERT_TRUE(object);
  Reply reply = Call(object, c.member, c.flags, c.arguments);
  EXPECT_EQ(reply.result, c.result);
  if (c.result == DISP_E_EXCEPTION) {
    EXPECT_EQ(reply.error_code, c.error_code);
  }
  if (c.argument_error != ~0u) {
    EXPECT_EQ(reply.argument_error, c.argument_error);
  }
}

std::string MisuseName(const ::testing::TestParamInfo<MisuseCase>& info) { return info.param.label; }

INSTANTIATE_TEST_SUITE_P(
    Cases, MisuseTest,
    ::testing::Values(
        MisuseCase{"UnknownOnApplication", L"", L"Documents", kGet, {}, DISP_E_UNKNOWNNAME, 0, ~0u},
        MisuseCase{
            "UnknownOnDocFunctions", L"DocFunctions", L"GetDocumentCount", kMethod, {}, DISP_E_UNKNOWNNAME, 0, ~0u},
        MisuseCase{
            "UnknownOnItemFunctions", L"ItemFunctions", L"SLIBufferSet", kMethod, {}, DISP_E_UNKNOWNNAME, 0, ~0u},
        MisuseCase{"NamesIgnoreCase", L"ItemFunctions", L"slibufferclear", kMethod, {}, S_OK, 0, ~0u},
        MisuseCase{"PropertyCalledAsMethod", L"", L"DocFunctions", kMethod, {}, DISP_E_MEMBERNOTFOUND, 0, ~0u},
        MisuseCase{"MethodReadAsProperty",
                   L"DocFunctions",
                   L"GetActiveDocumentIndex",
                   kGet,
                   {},
                   DISP_E_MEMBERNOTFOUND,
                   0,
                   ~0u},
        MisuseCase{
            "ArgumentToClear", L"ItemFunctions", L"SLIBufferClear", kMethod, {1.0}, DISP_E_BADPARAMCOUNT, 0, ~0u},
        MisuseCase{"SetValueWithOneArgument",
                   L"ItemFunctions",
                   L"SLIBufferSetValue",
                   kMethod,
                   {L"Vendor"},
                   DISP_E_BADPARAMCOUNT,
                   0,
                   ~0u},
        MisuseCase{"UnknownField",
                   L"ItemFunctions",
                   L"SLIBufferSetValue",
                   kMethod,
                   {L"Colour", L"red"},
                   DISP_E_EXCEPTION,
                   standin::kUnknownField,
                   ~0u},
        MisuseCase{"FieldNameNotText",
                   L"ItemFunctions",
                   L"SLIBufferSetValue",
                   kMethod,
                   {12.0, L"x"},
                   DISP_E_TYPEMISMATCH,
                   0,
                   1}),
    MisuseName);

TEST_F(StandInTest, UnknownNamesAndDispidsAreJournaled) {
  Start();
  {
    IDispatchPtr application = Attach();
    ASSERT_TRUE(application);
    EXPECT_EQ(Call(application, L"Quit", kMethod).result, DISP_E_UNKNOWNNAME);
    EXPECT_EQ(CallId(application, 77, kMethod).result, DISP_E_MEMBERNOTFOUND);
  }
  EXPECT_EQ(Calls(), (Lines{R"({"object":"Application","call":"GetIDsOfNames","member":"Quit"})",
                            R"({"object":"Application","call":"Invoke","member":null,"kind":"method","args":[]})"}));
}

TEST_F(StandInTest, ExitAfterEndsItAndLeavesTheTable) {
  Start({L"--exit-after", L"0.5"});
  EXPECT_EQ(standin_.Wait(10000), std::optional<DWORD>(0));
  IUnknownPtr running;
  EXPECT_EQ(GetActiveObject(standin::kClsid, nullptr, &running), MK_E_UNAVAILABLE);
}

TEST(StandInRegistration, UnregisterRemovesTheIdentifierAndRegisterRestoresIt) {
  HRESULT entered = S_OK;
  const common::ComApartment apartment = common::EnterApartment(&entered);
  ASSERT_HRESULT_SUCCEEDED(entered);
  auto run = [](const wchar_t* option) {
    ChildProcess standin;
    EXPECT_TRUE(standin.Start(L"BrevantoStandIn.exe", {option}));
    return standin.Wait(20000);
  };
  CLSID clsid{};
  EXPECT_EQ(run(L"--unregister"), std::optional<DWORD>(0));
  EXPECT_TRUE(FAILED(CLSIDFromProgID(standin::kProgId, &clsid)));
  EXPECT_EQ(run(L"--register"), std::optional<DWORD>(0));
  ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(standin::kProgId, &clsid));
  EXPECT_TRUE(IsEqualCLSID(clsid, standin::kClsid));
  EXPECT_EQ(run(L"--no-such-option"), std::optional<DWORD>(2));
}

// --delay holds up every call that reaches an object, name lookups included, and journals it as
// usual. Only the lower bound is certain: a loaded machine may add any amount.
TEST_F(StandInTest, DelayHoldsUpEveryCallThatReachesAnObject) {
  Start({L"--delay", L"150"});
  {
    IDispatchPtr documents = ReadObject(Attach(), L"DocFunctions");
    ASSERT_TRUE(documents);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_HRESULT_SUCCEEDED(Call(documents, L"GetActiveDocumentIndex", kMethodForResult).result);
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("[ measured ] a lookup and an Invoke with --delay 150: %.1f ms\n", elapsed.count());
    EXPECT_GE(elapsed.count(), 2 * 150.0);
  }
  EXPECT_EQ(Calls().size(), 4u);
}

// The bare cost of one cross-process Invoke, without journal: printed, not asserted.
TEST_F(StandInTest, BareRoundTripOfOneInvoke) {
  Start({}, /*with_files=*/false);
  IDispatchPtr documents = ReadObject(Attach(), L"DocFunctions");
  ASSERT_TRUE(documents);
  DISPID id = DISPID_UNKNOWN;
  auto* name = const_cast<LPOLESTR>(L"GetActiveDocumentIndex");
  ASSERT_HRESULT_SUCCEEDED(documents->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));
  constexpr int kCalls = 500;
  ASSERT_HRESULT_SUCCEEDED(CallId(documents, id, kMethodForResult).result);  // warm-up
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kCalls; ++i) ASSERT_HRESULT_SUCCEEDED(CallId(documents, id, kMethodForResult).result);
  std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  std::printf("[ benchmark] bare cross-process Invoke: %.3f ms on average over %d calls\n", elapsed.count() / kCalls,
              kCalls);
  RecordProperty("invoke_round_trip_us", static_cast<int>(elapsed.count() * 1000 / kCalls));
}

}  // namespace
}  // namespace testbed::testing
