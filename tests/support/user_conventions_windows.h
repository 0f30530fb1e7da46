#pragma once
// For the suites that tools/test.sh runs again under other regional settings: makes sure the run
// really has the settings it was started for, so that a locale that failed to take effect (Wine
// falls back to United States English) cannot pass unnoticed. KCI_USER_LOCALE names the user's
// locale that the run expects ("de-DE"), KCI_USER_DECIMAL its decimal separator; unset, nothing is
// checked.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace testing_support {

class ExpectedUserConventions : public ::testing::Environment {
 public:
  void SetUp() override {
    if (const std::wstring locale = Variable(L"KCI_USER_LOCALE"); !locale.empty()) {
      ASSERT_EQ(Info(LOCALE_SNAME), locale) << "the user's locale";
    }
    if (const std::wstring decimal = Variable(L"KCI_USER_DECIMAL"); !decimal.empty()) {
      ASSERT_EQ(Info(LOCALE_SDECIMAL), decimal) << "the user's decimal separator";
    }
  }

 private:
  static std::wstring Variable(const wchar_t* name) {
    wchar_t buffer[64] = {};
    const DWORD length = GetEnvironmentVariableW(name, buffer, 64);
    return length < 64 ? std::wstring(buffer, length) : std::wstring();
  }
  static std::wstring Info(LCTYPE type) {
    wchar_t buffer[LOCALE_NAME_MAX_LENGTH] = {};
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, LOCALE_NAME_MAX_LENGTH);
    return buffer;
  }
};

}  // namespace testing_support
