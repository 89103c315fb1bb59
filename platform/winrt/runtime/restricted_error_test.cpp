#include <gtest/gtest.h>
#include <roerrorapi.h>

#include <string>
#include <thread>

#include "platform/winrt/runtime_test_support.h"

namespace winrt_layer {
namespace {

using testing::MakeHString;
using testing::RecordedError;
using testing::TakeRecordedError;

TEST(RestrictedErrorTest, OriginateRecordsTheMessageAndTheSystemDescription) {
  EXPECT_TRUE(RoOriginateError(E_ACCESSDENIED, MakeHString(L"No access to that file.").Get()));
  RecordedError error = TakeRecordedError();
  EXPECT_EQ(error.code, E_ACCESSDENIED);
  EXPECT_EQ(error.description, L"Access is denied.\r\n");
  EXPECT_EQ(error.restricted_description, L"No access to that file.");
  // Taking the details leaves none.
  ComPtr<IRestrictedErrorInfo> info;
  EXPECT_EQ(GetRestrictedErrorInfo(info.ReleaseAndGetAddressOf()), S_FALSE);
  EXPECT_FALSE(info);
}

TEST(RestrictedErrorTest, NullMessageHasNoRestrictedDescription) {
  EXPECT_TRUE(RoOriginateError(REGDB_E_CLASSNOTREG, nullptr));
  ComPtr<IRestrictedErrorInfo> info;
  ASSERT_EQ(GetRestrictedErrorInfo(info.ReleaseAndGetAddressOf()), S_OK);
  BSTR description = nullptr;
  BSTR restricted = reinterpret_cast<BSTR>(1);
  BSTR sid = reinterpret_cast<BSTR>(1);
  HRESULT code = S_OK;
  ASSERT_EQ(info->GetErrorDetails(&description, &code, &restricted, &sid), S_OK);
  EXPECT_EQ(code, REGDB_E_CLASSNOTREG);
  EXPECT_EQ(std::wstring(description), L"Class not registered\r\n");
  EXPECT_EQ(restricted, nullptr);
  EXPECT_EQ(sid, nullptr);
  SysFreeString(description);
  BSTR reference = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(info->GetReference(&reference), S_OK);
  EXPECT_EQ(reference, nullptr);
}

TEST(RestrictedErrorTest, SuccessCodesRecordNothingAndALaterErrorReplaces) {
  EXPECT_FALSE(RoOriginateError(S_OK, MakeHString(L"fine").Get()));
  EXPECT_EQ(TakeRecordedError().code, S_FALSE);
  RoOriginateError(E_FAIL, MakeHString(L"first").Get());
  RoOriginateError(E_INVALIDARG, MakeHString(L"second").Get());
  RecordedError error = TakeRecordedError();
  EXPECT_EQ(error.code, E_INVALIDARG);
  EXPECT_EQ(error.restricted_description, L"second");
}

TEST(RestrictedErrorTest, DetailsBelongToTheirThread) {
  RoOriginateError(E_FAIL, MakeHString(L"main thread").Get());
  RecordedError other;
  std::thread([&other] {
    other = TakeRecordedError();
    RoOriginateError(E_ACCESSDENIED, MakeHString(L"other thread").Get());
  }).join();
  EXPECT_EQ(other.code, S_FALSE);
  EXPECT_EQ(TakeRecordedError().restricted_description, L"main thread");
}

TEST(RestrictedErrorTest, SetRecordsOrClears) {
  RoOriginateError(E_FAIL, MakeHString(L"kept").Get());
  ComPtr<IRestrictedErrorInfo> info;
  ASSERT_EQ(GetRestrictedErrorInfo(info.ReleaseAndGetAddressOf()), S_OK);
  EXPECT_EQ(SetRestrictedErrorInfo(info.Get()), S_OK);
  EXPECT_EQ(TakeRecordedError().restricted_description, L"kept");
  RoOriginateError(E_FAIL, MakeHString(L"cleared").Get());
  EXPECT_EQ(SetRestrictedErrorInfo(nullptr), S_OK);
  EXPECT_EQ(TakeRecordedError().code, S_FALSE);
}

TEST(RestrictedErrorTest, LongMessagesAreCutAs511Units) {
  RoOriginateError(E_FAIL, MakeHString(std::wstring(600, L'x')).Get());
  EXPECT_EQ(TakeRecordedError().restricted_description, std::wstring(511, L'x'));
}

}  // namespace
}  // namespace winrt_layer
