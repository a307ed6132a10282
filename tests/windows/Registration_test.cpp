// The registry as the program and the store's server meet it on Windows:
// an Outlook that is not registered, the server's own registration, and a
// real Outlook's registration, which nothing of ours may take over.
#include <gtest/gtest.h>

#include <string>

#include "common/outlook/OlAddr.h"
#include "olstore/olstore.h"
#include "platform/win32.h"
#include "windows/support/RemoteStoreTest.h"
#include "windows/support/ServerProcess.h"

namespace {

constexpr wchar_t kProgIdKey[] = L"Outlook.Application\\CLSID";
constexpr wchar_t kForeignClsid[] = L"{0006F03A-0000-0000-C000-000000000046}";
constexpr wchar_t kForeignCommand[] = L"C:\\Program Files\\Office\\OUTLOOK.EXE";

std::wstring OurClassKey() {
  wchar_t szClsid[40] = {};
  StringFromGUID2(olstore::OutlookApplicationClsid(), szClsid, 40);
  return std::wstring(L"CLSID\\") + szClsid;
}

class RegistrationTest : public RemoteStoreTest {
 protected:
  // An installed Outlook as its setup registers it.
  void RegisterForeignOutlook() {
    ASSERT_TRUE(WriteClassesValue(kProgIdKey, nullptr, kForeignClsid));
    ASSERT_TRUE(WriteClassesValue(std::wstring(L"CLSID\\") + kForeignClsid + L"\\LocalServer32",
                                  nullptr, kForeignCommand));
  }
  void RemoveForeignOutlook() {
    DeleteClassesKey(L"Outlook.Application");
    DeleteClassesKey(std::wstring(L"CLSID\\") + kForeignClsid);
  }
  void ExpectForeignOutlookIntact() {
    std::wstring strValue;
    EXPECT_TRUE(ReadClassesValue(kProgIdKey, nullptr, strValue));
    EXPECT_EQ(strValue, kForeignClsid);
    EXPECT_TRUE(ReadClassesValue(std::wstring(L"CLSID\\") + kForeignClsid + L"\\LocalServer32",
                                 nullptr, strValue));
    EXPECT_EQ(strValue, kForeignCommand);
  }
};

TEST_F(RegistrationTest, WithoutARegisteredOutlookNothingConnects) {
  olstore::UnregisterOutlookApplication();
  std::wstring strValue;
  ASSERT_FALSE(ReadClassesValue(kProgIdKey, nullptr, strValue));
  OlAddrUtil util;
  EXPECT_FALSE(util.IsConnected());
  EXPECT_TRUE(LoggedCritical("Can not get the CLSID of Outlook.Application, hr=0x800401f3"));
}

TEST_F(RegistrationTest, ServerRegistrationNamesTheServerAndItsStoreAndGoesWhole) {
  UseServer();
  std::wstring strCommand;
  ASSERT_TRUE(ReadClassesValue(OurClassKey() + L"\\LocalServer32", nullptr, strCommand));
  EXPECT_NE(strCommand.find(ServerPath()), std::wstring::npos);
  EXPECT_NE(strCommand.find(L"--store"), std::wstring::npos);

  ASSERT_EQ(RunServer({L"--unregister"}), 0);
  std::wstring strValue;
  EXPECT_FALSE(ReadClassesValue(kProgIdKey, nullptr, strValue));
  EXPECT_FALSE(ReadClassesValue(OurClassKey() + L"\\LocalServer32", nullptr, strValue));
}

TEST_F(RegistrationTest, ARealOutlookRegistrationIsNeverTakenOver) {
  olstore::UnregisterOutlookApplication();
  RegisterForeignOutlook();

  EXPECT_EQ(RunServer({L"--register", L"--store", L"C:\\store.db"}), 3);
  ExpectForeignOutlookIntact();
  EXPECT_EQ(RunServer({L"--unregister"}), 3);
  ExpectForeignOutlookIntact();
  EXPECT_EQ(PalRegisterProgID(OLESTR("Outlook.Application"), olstore::OutlookApplicationClsid()),
            HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(PalRevokeProgID(OLESTR("Outlook.Application")), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(olstore::RegisterOutlookApplication());
  ExpectForeignOutlookIntact();

  RemoveForeignOutlook();
}

}  // namespace
