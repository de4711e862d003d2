// Letters for the notifier's tests against the private Dovecot of the ctest fixture: the fixture's control script,
// one unseen letter with an encoded sender name and subject, and the popup text the notifier must make of it.
// Test code only.
#pragma once

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "classlib/SysUtils.h"
#include "netlib/mime_date.h"

namespace trelm_test {

// Ann = "Анна", Boris = "Борис" (Base64 and Q encoded words); "Привет" and "Встреча" as encoded subjects.
inline const char kAnnWord[] = "=?UTF-8?B?0JDQvdC90LA=?=";
inline const wchar_t kAnn[] = L"\x0410\x043D\x043D\x0430";
inline const char kBorisWord[] = "=?utf-8?Q?=D0=91=D0=BE=D1=80=D0=B8=D1=81?=";
inline const wchar_t kBoris[] = L"\x0411\x043E\x0440\x0438\x0441";
inline const char kPrivetWord[] = "=?UTF-8?B?0J/RgNC40LLQtdGC?=";
inline const wchar_t kPrivet[] = L"\x041F\x0440\x0438\x0432\x0435\x0442";
inline const char kVstrechaWord[] = "=?utf-8?Q?=D0=92=D1=81=D1=82=D1=80=D0=B5=D1=87=D0=B0?=";
inline const wchar_t kVstrecha[] = L"\x0412\x0441\x0442\x0440\x0435\x0447\x0430";

// Runs the fixture's control script; a failure fails the test.
inline std::string FixtureCtl(const std::vector<std::string>& args) {
    bool ok = false;
    std::string out = nettest::RunFixtureCtl(args, &ok);
    EXPECT_TRUE(ok) << args.at(0);
    return out;
}

// Delivers one unseen letter dated utc to the fixture's user; fromWord and subject go into the header as they are.
inline void SaveLetter(const std::string& user, int64_t utc, const std::string& fromWord, const std::string& subject) {
    const time_t t = static_cast<time_t>(utc);
    char date[64];
    strftime(date, sizeof date, "%a, %d %b %Y %H:%M:%S +0000", gmtime(&t));
    const std::string raw = std::string("Date: ") + date + "\r\nFrom: " + fromWord +
                            " <sender@example.test>\r\nSubject: " + subject +
                            "\r\nContent-Type: text/plain; charset=utf-8\r\n\r\nBody\r\n";
    FixtureCtl({"save", user, nettest::WriteFixtureFile("letter.eml", raw)});
}

// The popup text of a letter of an account at example.test as the user reads it (two accounts or more, no letter
// text): the date in dateFormat, three blanks and the time, the sender, the account, then the subject.
inline std::wstring LetterPopupText(const std::wstring& dateFormat,
                                    const TFormatSettings& fs,
                                    int64_t utc,
                                    const std::wstring& name,
                                    const std::wstring& login,
                                    const std::wstring& subject) {
    const TDateTime dt = netlib::UtcSecondsToLocalDateTime(utc);
    return FormatDateTime(dateFormat, dt, fs) + L"   " + FormatDateTime(L"hh:nn:ss", dt, fs) + L"   -   " + name +
           L" - " + login + L"@example.test\r\n\r\n" + subject;
}

}  // namespace trelm_test
