// The late-bound call wrapper against a scripted automation object: what it
// asks the object, what it logs, and how it converts and cuts values.
#include "common/misc/DispCmd.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "common/misc/CxDebugUtil.h"
#include "common/misc/support/FakeDispatch.h"
#include "support/AnsiCodePage.h"
#include "support/TempFolder.h"

namespace {

constexpr HRESULT kMismatch = 1;
constexpr HRESULT RPC_E_CALL_REJECTED_ = static_cast<HRESULT>(0x80010001);

class DispCmdTest : public testing::Test {
 protected:
  void SetUp() override { g_DebugUtil.SetLogFolder(m_temp.Folder().c_str()); }
  void TearDown() override { g_DebugUtil.SetLogFolder("./"); }

  std::string Log() const { return ReadWholeFile(m_temp.File("appdebug.log")); }
  // The one call the object saw.
  const FakeDispatch::Call& OnlyCall() {
    EXPECT_EQ(m_obj.Calls().size(), 1u);
    static const FakeDispatch::Call none{};
    return m_obj.Calls().empty() ? none : m_obj.Calls().back();
  }

  TempFolder m_temp;
  FakeDispatch m_child;  // declared first: the object's script may hold it
  FakeDispatch m_obj;
};

// ---- Life cycle ---------------------------------------------------------------------

TEST_F(DispCmdTest, HoldsItsOwnReference) {
  {
    CDispCmd cmd(&m_obj);
    EXPECT_EQ(m_obj.RefCount(), 2u);
    EXPECT_EQ(cmd.GetInterface(), &m_obj);
    EXPECT_EQ(m_obj.RefCount(), 2u);  // GetInterface adds none
  }
  EXPECT_EQ(m_obj.RefCount(), 1u);
  CDispCmd empty(nullptr);
  EXPECT_EQ(empty.GetInterface(), nullptr);
}

// ---- Invoke, lookups and logging ---------------------------------------------------

TEST_F(DispCmdTest, NullObjectAnswersInvalidArgumentAndLogsNothing) {
  CDispCmd cmd(nullptr);
  char szBuf[8] = "keep";
  int32_t nValue = 7;
  bool bValue = true;
  DATE dtValue = 3.5;
  IDispatch* pDisp = &m_child;
  VARIANT v;
  VariantInit(&v);
  DISPPARAMS params = {nullptr, nullptr, 0, 0};
  const std::function<HRESULT()> calls[] = {
      [&] { return cmd.Invoke(OLESTR("Name"), DISPATCH_PROPERTYGET, &params, &v); },
      [&] { return cmd.Call(OLESTR("GetFirst"), nullptr, 0, &v, DISPATCH_METHOD, nullptr, 0); },
      [&] { return cmd.GetProperty(OLESTR("Name"), &v); },
      [&] { return cmd.PutProperty(OLESTR("Name"), &v); },
      [&] { return cmd.GetString(OLESTR("Name"), szBuf, sizeof(szBuf)); },
      [&] { return cmd.GetLong(OLESTR("Gender"), &nValue); },
      [&] { return cmd.GetBool(OLESTR("Complete"), &bValue); },
      [&] { return cmd.GetDate(OLESTR("Start"), &dtValue); },
      [&] { return cmd.GetDispatch(OLESTR("Items"), &pDisp); },
      [&] { return cmd.PutString(OLESTR("Name"), "x"); },
      [&] { return cmd.PutLong(OLESTR("Gender"), 1); },
      [&] { return cmd.PutBool(OLESTR("Complete"), true); },
      [&] { return cmd.PutDate(OLESTR("Start"), 1.0); },
  };
  for (size_t i = 0; i < std::size(calls); ++i) EXPECT_EQ(calls[i](), E_INVALIDARG) << "call " << i;
  EXPECT_STREQ(szBuf, "keep");
  EXPECT_EQ(nValue, 7);
  EXPECT_TRUE(bValue);
  EXPECT_EQ(dtValue, 3.5);
  EXPECT_EQ(pDisp, nullptr);
  EXPECT_EQ(v.vt, VT_EMPTY);
  EXPECT_EQ(Log(), "");
}

TEST_F(DispCmdTest, MissingNameAnswersInvalidArgumentWithoutAsking) {
  CDispCmd cmd(&m_obj);
  VARIANT v;
  VariantInit(&v);
  EXPECT_EQ(cmd.GetProperty(nullptr, &v), E_INVALIDARG);
  EXPECT_EQ(cmd.GetProperty(OLESTR(""), &v), E_INVALIDARG);
  EXPECT_EQ(cmd.PutLong(OLESTR(""), 1), E_INVALIDARG);
  EXPECT_TRUE(m_obj.Lookups().empty());
  EXPECT_EQ(Log(), "");
}

TEST_F(DispCmdTest, FailedLookupIsLoggedWithNameAndStatus) {
  m_obj.SetLookupFailure(OLESTR("Busy"), RPC_E_CALL_REJECTED_);
  const struct {
    const OLECHAR* szName;
    HRESULT hrExpected;
    std::vector<const char*> logged;
  } cases[] = {
      {OLESTR("FristName"), DISP_E_UNKNOWNNAME,
       {"Failed to call IDispatch->GetIDsOfNames, Name=FristName, hr=0x80020006"}},
      {OLESTR("Größe"), DISP_E_UNKNOWNNAME,
       {"Failed to call IDispatch->GetIDsOfNames, Name=Größe, hr=0x80020006"}},
      // A refusal says that Outlook was busy, then which call failed.
      {OLESTR("Busy"), RPC_E_CALL_REJECTED_,
       {"Outlook refused the call while busy, Name=Busy, hr=0x80010001",
        "Failed to call IDispatch->GetIDsOfNames, Name=Busy, hr=0x80010001"}},
  };
  CDispCmd cmd(&m_obj);
  std::string strExpectedLog;
  for (const auto& c : cases) {
    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(cmd.GetProperty(c.szName, &v), c.hrExpected);
    for (const char* szLogged : c.logged)
      strExpectedLog += std::string("[!!!] - ") + szLogged + "\r\n";
  }
  EXPECT_TRUE(m_obj.Calls().empty());  // nothing was invoked after a failed lookup

  // Each line: "[date time][DispCmd.cpp  (line)][thread][!!!] - message".
  const std::string strLog = Log();
  std::string strTails;
  size_t nStart = 0;
  for (size_t nEnd; (nEnd = strLog.find("\r\n", nStart)) != std::string::npos; nStart = nEnd + 2) {
    const std::string strLine = strLog.substr(nStart, nEnd + 2 - nStart);
    EXPECT_NE(strLine.find("][DispCmd.cpp "), std::string::npos) << strLine;
    strTails += strLine.substr(strLine.find("[!!!]"));
  }
  EXPECT_EQ(nStart, strLog.size());
  EXPECT_EQ(strTails, strExpectedLog);
}

TEST_F(DispCmdTest, FailedCallIsReturnedButNotLogged) {
  m_obj.SetFailure(OLESTR("Body"), E_ACCESSDENIED);
  CDispCmd cmd(&m_obj);
  VARIANT v;
  VariantInit(&v);
  EXPECT_EQ(cmd.GetProperty(OLESTR("Body"), &v), E_ACCESSDENIED);
  EXPECT_EQ(cmd.PutLong(OLESTR("Body"), 1), E_ACCESSDENIED);
  int32_t nValue = 9;
  EXPECT_EQ(cmd.GetLong(OLESTR("Body"), &nValue), E_ACCESSDENIED);
  EXPECT_EQ(nValue, 9);
  EXPECT_EQ(Log(), "");
}

// Only a call that asks for Outlook's reason offers a place for it; the
// reason replaces the exception's general status with its own code.
TEST_F(DispCmdTest, ExplainedCallTakesTheExceptionsCodeAndDescription) {
  const HRESULT kCorrupt = static_cast<HRESULT>(0x8004011B);
  const struct {
    const char* szName;
    std::function<void(FakeDispatch&)> script;
    HRESULT hrExpected;
    std::string strWhy;  // in the ANSI code page
  } cases[] = {
      {"code and description",
       [&](FakeDispatch& obj) {
         obj.SetException(OLESTR("GetNext"), kCorrupt, OLESTR("the store is damaged (übel)"));
       },
       kCorrupt, AnsiText("the store is damaged (übel)")},
      {"description without a code",
       [](FakeDispatch& obj) { obj.SetException(OLESTR("GetNext"), S_OK, OLESTR("why")); },
       DISP_E_EXCEPTION, "why"},
      {"code without a description",
       [&](FakeDispatch& obj) { obj.SetException(OLESTR("GetNext"), kCorrupt, OleString()); },
       kCorrupt, ""},
      {"plain failure", [](FakeDispatch& obj) { obj.SetFailure(OLESTR("GetNext"), E_FAIL); },
       E_FAIL, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.szName);
    FakeDispatch obj;
    c.script(obj);
    CDispCmd cmd(&obj);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT v;
    VariantInit(&v);
    std::string strWhy = "left from before";
    EXPECT_EQ(cmd.InvokeExplained(OLESTR("GetNext"), DISPATCH_METHOD, &none, &v, &strWhy),
              c.hrExpected);
    EXPECT_EQ(strWhy, c.strWhy);
    ASSERT_EQ(obj.Calls().size(), 1u);
    EXPECT_TRUE(obj.Calls()[0].bExcepInfoOffered);
  }
}

TEST_F(DispCmdTest, AsksWithTheAutomationLocalesAndFlags) {
  m_obj.SetProperty(OLESTR("Name"), OwnedVariant::Bstr(OLESTR("Contacts"))).SetMethod(OLESTR("Save"), OwnedVariant());
  CDispCmd cmd(&m_obj);
  VARIANT v;
  VariantInit(&v);
  const struct {
    std::function<HRESULT()> call;
    WORD wFlags;
    bool bResultOffered;
  } cases[] = {
      {[&] { return cmd.GetProperty(OLESTR("Name"), &v); }, DISPATCH_PROPERTYGET, true},
      {[&] { return cmd.PutLong(OLESTR("Name"), 4); }, DISPATCH_PROPERTYPUT, false},
      {[&] { return cmd.Call(OLESTR("Save"), nullptr, 0, nullptr, DISPATCH_METHOD, nullptr, 0); },
       DISPATCH_METHOD, false},
      {[&] { return cmd.Call(OLESTR("Save"), nullptr, 0, &v, DISPATCH_METHOD, nullptr, 0); },
       DISPATCH_METHOD, true},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    m_obj.ClearRecord();
    EXPECT_EQ(cases[i].call(), S_OK);
    VariantClear(&v);
    ASSERT_EQ(m_obj.Lookups().size(), 1u);
    const FakeDispatch::Lookup& lookup = m_obj.Lookups()[0];
    EXPECT_TRUE(IsEqualIID(lookup.riid, IID_NULL));
    EXPECT_EQ(lookup.nNames, 1u);
    EXPECT_EQ(lookup.lcid, 0x0400u);
    const FakeDispatch::Call& call = OnlyCall();
    EXPECT_TRUE(IsEqualIID(call.riid, IID_NULL));
    EXPECT_EQ(call.lcid, 0x0800u);
    EXPECT_EQ(call.wFlags, cases[i].wFlags);
    EXPECT_EQ(call.bResultOffered, cases[i].bResultOffered);
    EXPECT_FALSE(call.bExcepInfoOffered);
    EXPECT_FALSE(call.bArgErrOffered);
  }
}

TEST_F(DispCmdTest, LooksTheNameUpOnEveryCall) {
  m_obj.SetProperty(OLESTR("Gender"), OwnedVariant::I4(1));
  CDispCmd cmd(&m_obj);
  int32_t nValue = 0;
  EXPECT_EQ(cmd.GetLong(OLESTR("Gender"), &nValue), S_OK);
  EXPECT_EQ(cmd.GetLong(OLESTR("Gender"), &nValue), S_OK);
  ASSERT_EQ(m_obj.Lookups().size(), 2u);
  EXPECT_EQ(m_obj.Lookups()[1].strName, OLESTR("Gender"));
}

TEST_F(DispCmdTest, GetPropertyPassesNoArguments) {
  m_obj.SetProperty(OLESTR("Name"), OwnedVariant::Bstr(OLESTR("Inbox")));
  CDispCmd cmd(&m_obj);
  OwnedVariant result;
  ASSERT_EQ(cmd.GetProperty(OLESTR("Name"), result.Ptr()), S_OK);
  EXPECT_EQ(result.Text(), OLESTR("Inbox"));
  const FakeDispatch::Call& call = OnlyCall();
  EXPECT_TRUE(call.args.empty());
  EXPECT_TRUE(call.namedIds.empty());
}

TEST_F(DispCmdTest, PutPropertyPassesOneValueNamedAsPropertyPut) {
  m_obj.SetProperty(OLESTR("Gender"), OwnedVariant::I4(0));
  CDispCmd cmd(&m_obj);
  OwnedVariant value = OwnedVariant::I4(2);
  ASSERT_EQ(cmd.PutProperty(OLESTR("Gender"), value.Ptr()), S_OK);
  const FakeDispatch::Call& call = OnlyCall();
  EXPECT_EQ(call.pArgsSeen, value.Ptr());
  ASSERT_EQ(call.args.size(), 1u);
  EXPECT_EQ(call.args[0].Type(), VT_I4);
  EXPECT_EQ(call.namedIds, std::vector<DISPID>{DISPID_PROPERTYPUT});
  EXPECT_FALSE(call.bResultOffered);
  EXPECT_EQ(m_obj.Property(OLESTR("Gender"))->Get().lVal, 2);
}

TEST_F(DispCmdTest, CallPassesItsArgumentsUnchanged) {
  m_obj.SetMethod(OLESTR("GetDefaultFolder"), OwnedVariant::Dispatch(&m_child));
  CDispCmd cmd(&m_obj);
  // Automation wants the last argument first; the wrapper must not reorder.
  OwnedVariant args[2] = {OwnedVariant::I4(10), OwnedVariant::Bstr(OLESTR("first"))};
  VARIANT rgArgs[2] = {args[0].Get(), args[1].Get()};
  DISPID rgNamed[1] = {DISPID_PROPERTYPUT};
  OwnedVariant result;
  const ULONG nChildRefs = m_child.RefCount();
  ASSERT_EQ(cmd.Call(OLESTR("GetDefaultFolder"), rgArgs, 2, result.Ptr(), DISPATCH_METHOD, rgNamed, 1),
            S_OK);
  const FakeDispatch::Call& call = OnlyCall();
  EXPECT_EQ(call.pArgsSeen, rgArgs);
  ASSERT_EQ(call.args.size(), 2u);
  EXPECT_EQ(call.args[0].Type(), VT_I4);
  EXPECT_EQ(call.args[0].Get().lVal, 10);
  EXPECT_EQ(call.args[1].Text(), OLESTR("first"));
  EXPECT_EQ(call.namedIds, std::vector<DISPID>{DISPID_PROPERTYPUT});
  EXPECT_EQ(call.wFlags, DISPATCH_METHOD);
  ASSERT_EQ(result.Type(), VT_DISPATCH);
  EXPECT_EQ(result.Get().pdispVal, &m_child);
  EXPECT_EQ(m_child.RefCount(), nChildRefs + 1);  // the result's reference
}

// ---- Typed readers ---------------------------------------------------------------------

// One reader with a sentinel out value, and whether the sentinel survived.
struct Reader {
  const char* szName;
  VARTYPE vtWanted;
  std::function<HRESULT(CDispCmd&, bool& bUntouched)> read;
};

const Reader kReaders[] = {
    {"GetString", VT_BSTR,
     [](CDispCmd& cmd, bool& bUntouched) {
       char szBuf[8] = "keep";
       const HRESULT hr = cmd.GetString(OLESTR("Value"), szBuf, sizeof(szBuf));
       bUntouched = strcmp(szBuf, "keep") == 0;
       return hr;
     }},
    {"GetLong", VT_I4,
     [](CDispCmd& cmd, bool& bUntouched) {
       int32_t nValue = 12345;
       const HRESULT hr = cmd.GetLong(OLESTR("Value"), &nValue);
       bUntouched = nValue == 12345;
       return hr;
     }},
    {"GetBool", VT_BOOL,
     [](CDispCmd& cmd, bool& bUntouched) {
       bool bValue = false;
       const HRESULT hr = cmd.GetBool(OLESTR("Value"), &bValue);
       bUntouched = !bValue;
       return hr;
     }},
    {"GetDate", VT_DATE,
     [](CDispCmd& cmd, bool& bUntouched) {
       DATE dtValue = 123.5;
       const HRESULT hr = cmd.GetDate(OLESTR("Value"), &dtValue);
       bUntouched = dtValue == 123.5;
       return hr;
     }},
    {"GetDispatch", VT_DISPATCH,
     [](CDispCmd& cmd, bool& bUntouched) {
       // A mismatch leaves the null that the reader set before asking.
       IDispatch* pDisp = reinterpret_cast<IDispatch*>(uintptr_t{0x10});
       const HRESULT hr = cmd.GetDispatch(OLESTR("Value"), &pDisp);
       bUntouched = pDisp == nullptr;
       if (pDisp && hr == S_OK) pDisp->Release();
       return hr;
     }},
};

TEST_F(DispCmdTest, ReadersReturnOneOnAnyOtherTypeAndKeepTheOutValue) {
  const OwnedVariant values[] = {
      OwnedVariant::Bstr(OLESTR("text")),
      OwnedVariant::I4(5),
      OwnedVariant::Bool(VARIANT_TRUE),
      OwnedVariant::Date(2.5),
      OwnedVariant::Dispatch(&m_child),
      OwnedVariant::I2(5),  // no widening to int32
      OwnedVariant(),
      OwnedVariant::OfType(VT_NULL),
  };
  const ULONG nChildRefs = m_child.RefCount();
  CDispCmd cmd(&m_obj);
  for (const Reader& reader : kReaders) {
    for (const OwnedVariant& value : values) {
      if (value.Type() == reader.vtWanted) continue;
      SCOPED_TRACE(testing::Message() << reader.szName << " on type " << value.Type());
      m_obj.SetProperty(OLESTR("Value"), value);
      bool bUntouched = false;
      EXPECT_EQ(reader.read(cmd, bUntouched), kMismatch);
      EXPECT_TRUE(bUntouched);
      m_obj.SetProperty(OLESTR("Value"), OwnedVariant());
      // An object that came as the wrong type was released again.
      EXPECT_EQ(m_child.RefCount(), nChildRefs);
    }
  }
}

TEST_F(DispCmdTest, ReadersWithoutOutPlaceCallNothing) {
  m_obj.SetProperty(OLESTR("Value"), OwnedVariant::I4(1));
  CDispCmd cmd(&m_obj);
  char szBuf[4] = "abc";
  const std::function<HRESULT()> calls[] = {
      [&] { return cmd.GetString(OLESTR("Value"), nullptr, 32); },
      [&] { return cmd.GetString(OLESTR("Value"), szBuf, 0); },
      [&] { return cmd.GetString(OLESTR("Value"), szBuf, -5); },
      [&] { return cmd.GetLong(OLESTR("Value"), nullptr); },
      [&] { return cmd.GetBool(OLESTR("Value"), nullptr); },
      [&] { return cmd.GetDate(OLESTR("Value"), nullptr); },
      [&] { return cmd.GetDispatch(OLESTR("Value"), nullptr); },
  };
  for (size_t i = 0; i < std::size(calls); ++i) EXPECT_EQ(calls[i](), kMismatch) << "call " << i;
  EXPECT_TRUE(m_obj.Lookups().empty());
  EXPECT_STREQ(szBuf, "abc");
}

TEST_F(DispCmdTest, GetLongAndGetDateReadTheValue) {
  const int32_t longs[] = {0, -1, 2147483647, -2147483647 - 1};
  // Dates pass bit for bit: negative zero and a value no decimal text gives back.
  const DATE dates[] = {-0.0, -1.25, 45000.999988425923, std::nextafter(1.0, 2.0)};
  CDispCmd cmd(&m_obj);
  for (int32_t n : longs) {
    m_obj.SetProperty(OLESTR("Value"), OwnedVariant::I4(n));
    int32_t nValue = 99;
    EXPECT_EQ(cmd.GetLong(OLESTR("Value"), &nValue), S_OK);
    EXPECT_EQ(nValue, n);
  }
  for (DATE dt : dates) {
    m_obj.SetProperty(OLESTR("Value"), OwnedVariant::Date(dt));
    DATE dtValue = 99.0;
    EXPECT_EQ(cmd.GetDate(OLESTR("Value"), &dtValue), S_OK);
    EXPECT_EQ(memcmp(&dtValue, &dt, sizeof(DATE)), 0) << dt;
  }
}

TEST_F(DispCmdTest, GetBoolTakesAnyNonZeroAsTrue) {
  const struct {
    VARIANT_BOOL boolVal;
    bool bExpected;
  } cases[] = {{VARIANT_TRUE, true}, {1, true}, {-2, true}, {0x7FFF, true}, {VARIANT_FALSE, false}};
  CDispCmd cmd(&m_obj);
  for (const auto& c : cases) {
    m_obj.SetProperty(OLESTR("Value"), OwnedVariant::Bool(c.boolVal));
    bool bValue = !c.bExpected;
    EXPECT_EQ(cmd.GetBool(OLESTR("Value"), &bValue), S_OK) << c.boolVal;
    EXPECT_EQ(bValue, c.bExpected) << c.boolVal;
  }
}

TEST_F(DispCmdTest, GetDispatchHandsTheReferenceToTheCaller) {
  m_obj.SetProperty(OLESTR("Items"), OwnedVariant::Dispatch(&m_child));
  CDispCmd cmd(&m_obj);
  const ULONG nBefore = m_child.RefCount();
  IDispatch* pItems = nullptr;
  ASSERT_EQ(cmd.GetDispatch(OLESTR("Items"), &pItems), S_OK);
  EXPECT_EQ(pItems, &m_child);
  EXPECT_EQ(m_child.RefCount(), nBefore + 1);
  pItems->Release();

  m_obj.SetProperty(OLESTR("Items"), OwnedVariant::Dispatch(nullptr));
  pItems = &m_child;
  EXPECT_EQ(cmd.GetDispatch(OLESTR("Items"), &pItems), S_OK);
  EXPECT_EQ(pItems, nullptr);
}

// ---- GetString ---------------------------------------------------------------------------

TEST_F(DispCmdTest, GetStringCutsBeforeAWholeCharacter) {
  const OleString strForty(40, OLESTR('x'));
  const struct {
    OleString strText;
    int nSize;
    std::string strExpected;
    bool bTruncated;
    bool bUtf8Ansi = false;  // holds where the ANSI code page is UTF-8
  } cases[] = {
      {strForty, 32, std::string(31, 'x'), true},
      {OLESTR("abc"), 4, "abc", false},
      {OLESTR("abcd"), 4, "abc", true},
      {OLESTR("abc"), 1, "", true},
      {OLESTR(""), 1, "", false},
      // "Grüße" is 7 bytes in UTF-8: ü and ß take two each.
      {OLESTR("Grüße"), 8, "Grüße", false, true},
      {OLESTR("Grüße"), 7, "Grüß", true, true},
      {OLESTR("Grüße"), 6, "Grü", true, true},
      {OLESTR("Grüße"), 4, "Gr", true, true},
      {OLESTR("Grüße"), 3, "Gr", true, true},
      // A character outside the basic plane: a surrogate pair, 4 bytes in UTF-8.
      {OLESTR("a\U0001F600"), 6, "a\xf0\x9f\x98\x80", false, true},
      {OLESTR("a\U0001F600"), 5, "a", true, true},
      {OLESTR("a\U0001F600"), 2, "a", true, true},
      // A text ends at its first zero.
      {OleString(OLESTR("ab\0cd"), 5), 8, "ab", false},
  };
  CDispCmd cmd(&m_obj);
  for (const auto& c : cases) {
    if (c.bUtf8Ansi && !AnsiIsUtf8()) continue;
    SCOPED_TRACE(testing::Message() << "expected \"" << c.strExpected << "\" in " << c.nSize);
    m_obj.SetProperty(OLESTR("Value"), OwnedVariant::Bstr(c.strText));
    // Exactly nSize bytes on the heap, so a write past the end is caught.
    std::vector<char> buffer(static_cast<size_t>(c.nSize), '#');
    bool bTruncated = !c.bTruncated;
    EXPECT_EQ(cmd.GetString(OLESTR("Value"), buffer.data(), c.nSize, &bTruncated), S_OK);
    EXPECT_EQ(std::string(buffer.data()), c.strExpected);
    EXPECT_EQ(bTruncated, c.bTruncated);
  }
}

TEST_F(DispCmdTest, GetStringOfNullStringStoresEmptyText) {
  m_obj.SetProperty(OLESTR("Body"), OwnedVariant::OfType(VT_BSTR));
  CDispCmd cmd(&m_obj);
  char szBuf[16] = "previous";
  bool bTruncated = true;
  EXPECT_EQ(cmd.GetString(OLESTR("Body"), szBuf, sizeof(szBuf), &bTruncated), S_OK);
  EXPECT_STREQ(szBuf, "");
  EXPECT_FALSE(bTruncated);
}

TEST_F(DispCmdTest, GetStringOfVeryLongTextStaysInItsBuffer) {
  // Many more characters than any fixed buffer, of every UTF-8 length (1 to 4).
  OleString strLong;
  for (int i = 0; i < 30000; ++i) strLong += OLESTR("aé€😀");
  m_obj.SetProperty(OLESTR("Body"), OwnedVariant::Bstr(strLong));
  CDispCmd cmd(&m_obj);
  std::vector<char> buffer(256);
  EXPECT_EQ(cmd.GetString(OLESTR("Body"), buffer.data(), 256), S_OK);  // no truncation flag asked for
  std::string strRounds;
  for (int i = 0; i < 100; ++i) strRounds += "aé€😀";
  // In UTF-8 ten bytes a round: 25 rounds are 250 bytes, then "aé" (3 bytes);
  // the euro sign would need 3 more than the 255 that fit. A single-byte code
  // page fills all 255.
  const std::string strExpected =
      AnsiIsUtf8() ? strRounds.substr(0, 253) : AnsiText(strRounds).substr(0, 255);
  EXPECT_EQ(std::string(buffer.data()), strExpected);
}

// ---- Writers -----------------------------------------------------------------------------

TEST_F(DispCmdTest, PutStringOfEmptyTextWritesNothingUnlessAsked) {
  m_obj.SetProperty(OLESTR("Title"), OwnedVariant::Bstr(OLESTR("Dr.")));
  CDispCmd cmd(&m_obj);
  EXPECT_EQ(cmd.PutString(OLESTR("Title"), ""), S_OK);
  EXPECT_EQ(cmd.PutString(OLESTR("Title"), nullptr), S_OK);
  EXPECT_TRUE(m_obj.Lookups().empty());
  EXPECT_EQ(m_obj.Property(OLESTR("Title"))->Text(), OLESTR("Dr."));

  const char* texts[] = {"", nullptr};
  for (const char* szText : texts) {
    m_obj.SetProperty(OLESTR("Title"), OwnedVariant::Bstr(OLESTR("Dr.")));
    EXPECT_EQ(cmd.PutString(OLESTR("Title"), szText, true), S_OK);
    const OwnedVariant* pValue = m_obj.Property(OLESTR("Title"));
    ASSERT_EQ(pValue->Type(), VT_BSTR);
    EXPECT_NE(pValue->Get().bstrVal, nullptr);  // an empty string, not a null one
    EXPECT_EQ(pValue->Text(), OLESTR(""));
  }
}

TEST_F(DispCmdTest, PutStringConvertsAndLimitsTheText) {
  const std::string strSmiley = "\xf0\x9f\x98\x80";  // one surrogate pair in UTF-16
  const struct {
    std::string strText;
    OleString strExpected;
    bool bUtf8Ansi = false;  // holds where the ANSI code page is UTF-8
  } cases[] = {
      {"Job Title", OLESTR("Job Title")},
      {"Grüße " + strSmiley, OLESTR("Grüße \U0001F600"), true},
      {std::string(20479, 'a'), OleString(20479, OLESTR('a'))},
      {std::string(20480, 'a'), OleString(20479, OLESTR('a'))},
      {std::string(50000, 'a'), OleString(20479, OLESTR('a'))},
      // The pair would take units 20478 and 20479, one past the limit: it goes whole.
      {std::string(20478, 'a') + strSmiley, OleString(20478, OLESTR('a')), true},
      {std::string(20477, 'a') + strSmiley, OleString(20477, OLESTR('a')) + OLESTR("\U0001F600"),
       true},
  };
  m_obj.SetProperty(OLESTR("Body"), OwnedVariant());
  CDispCmd cmd(&m_obj);
  for (const auto& c : cases) {
    if (c.bUtf8Ansi && !AnsiIsUtf8()) continue;
    SCOPED_TRACE(testing::Message() << "text of " << c.strText.size() << " bytes");
    m_obj.ClearRecord();
    EXPECT_EQ(cmd.PutString(OLESTR("Body"), c.strText.c_str()), S_OK);
    const FakeDispatch::Call& call = OnlyCall();
    EXPECT_EQ(call.wFlags, DISPATCH_PROPERTYPUT);
    ASSERT_EQ(call.args.size(), 1u);
    EXPECT_EQ(call.args[0].Type(), VT_BSTR);
    EXPECT_TRUE(call.args[0].Text() == c.strExpected)
        << "got " << call.args[0].Text().size() << " units";
  }
}

TEST_F(DispCmdTest, PutStringReturnsTheStatusOfThePut) {
  m_obj.SetFailure(OLESTR("EntryID"), E_ACCESSDENIED);
  CDispCmd cmd(&m_obj);
  EXPECT_EQ(cmd.PutString(OLESTR("EntryID"), "0000"), E_ACCESSDENIED);
  EXPECT_EQ(cmd.PutString(OLESTR("EntyID"), "0000"), DISP_E_UNKNOWNNAME);
}

TEST_F(DispCmdTest, PutLongAndPutBoolSendTheirVariantTypes) {
  const struct {
    std::function<HRESULT(CDispCmd&)> put;
    VARTYPE vt;
    int64_t nValue;
  } cases[] = {
      {[](CDispCmd& cmd) { return cmd.PutLong(OLESTR("Value"), -7); }, VT_I4, -7},
      {[](CDispCmd& cmd) { return cmd.PutLong(OLESTR("Value"), 2147483647); }, VT_I4, 2147483647},
      {[](CDispCmd& cmd) { return cmd.PutBool(OLESTR("Value"), true); }, VT_BOOL, VARIANT_TRUE},
      {[](CDispCmd& cmd) { return cmd.PutBool(OLESTR("Value"), false); }, VT_BOOL, VARIANT_FALSE},
  };
  m_obj.SetProperty(OLESTR("Value"), OwnedVariant());
  CDispCmd cmd(&m_obj);
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    m_obj.ClearRecord();
    EXPECT_EQ(cases[i].put(cmd), S_OK);
    const FakeDispatch::Call& call = OnlyCall();
    ASSERT_EQ(call.args.size(), 1u);
    EXPECT_EQ(call.args[0].Type(), cases[i].vt);
    const VARIANT& v = call.args[0].Get();
    EXPECT_EQ(cases[i].vt == VT_BOOL ? v.boolVal : v.lVal, cases[i].nValue);
    EXPECT_EQ(call.namedIds, std::vector<DISPID>{DISPID_PROPERTYPUT});
  }
}

TEST_F(DispCmdTest, PutDateSkipsTheNoDateValue) {
  // The bound is 0.00001 in single precision, a little below 0.00001 itself.
  const double dBound = static_cast<double>(0.00001f);
  const struct {
    DATE dt;
    bool bWritten;
  } cases[] = {
      {0.0, false},
      {-0.0, false},
      {0.000009, false},
      {-0.000009, false},
      {std::nextafter(dBound, 0.0), false},
      {-std::nextafter(dBound, 0.0), false},
      {dBound, true},
      {-dBound, true},
      {0.00001, true},
      {1.0, true},  // 1899-12-31
      {-1.5, true},
      {45000.5, true},
  };
  m_obj.SetProperty(OLESTR("Start"), OwnedVariant());
  CDispCmd cmd(&m_obj);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hexfloat << c.dt);
    m_obj.ClearRecord();
    EXPECT_EQ(cmd.PutDate(OLESTR("Start"), c.dt), S_OK);
    ASSERT_EQ(m_obj.Calls().size(), c.bWritten ? 1u : 0u);
    if (!c.bWritten) continue;
    const VARIANT& v = m_obj.Calls()[0].args.at(0).Get();
    EXPECT_EQ(v.vt, VT_DATE);
    EXPECT_EQ(memcmp(&v.date, &c.dt, sizeof(DATE)), 0);
  }
}

}  // namespace
