// The base layer: UTF-8 conversion and its strict check, trimming, the program folder, whole-file reads, failure
// reports, and the handle and COM owners.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>

#include "TestFiles.h"
#include "base/ComPtr.h"
#include "base/Files.h"
#include "base/Handles.h"
#include "base/Report.h"
#include "base/Text.h"
#include "base/Utf.h"

namespace {

TEST(BaseUtf, WellFormedTextRoundTrips) {
    const std::wstring texts[] = {L"",
                                  L"plain",
                                  L"caf\u00e9",
                                  L"\u041f\u0440\u0438\u0432\u0435\u0442",
                                  L"\u20ac",
                                  L"\U0001F600 end",
                                  std::wstring(L"nul\0inside", 10)};
    for (const std::wstring& w : texts) {
        const std::string u = WideToUtf8(w);
        EXPECT_TRUE(IsValidUtf8(u));
        EXPECT_EQ(Utf8ToWide(u), w);
    }
    EXPECT_EQ(WideToUtf8(L"\u00e9\U0001F600"), "\xC3\xA9\xF0\x9F\x98\x80");
}

TEST(BaseUtf, IllFormedSequencesAreRejectedAndReplaced) {
    struct Case {
        std::string bytes;
        std::wstring wide;
    };
    const Case cases[] = {
        {"\xC0\xAF", L"\xFFFD\xFFFD"},                         // overlong '/'
        {"\xE0\x80\xAF", L"\xFFFD\xFFFD\xFFFD"},               // overlong, three bytes
        {"\xED\xA0\x80", L"\xFFFD\xFFFD\xFFFD"},               // encoded surrogate
        {"\xF4\x90\x80\x80", L"\xFFFD\xFFFD\xFFFD\xFFFD"},     // above U+10FFFF
        {"\xF8\x88\x80\x80\x80", std::wstring(5, L'\xFFFD')},  // five-byte form
        {"a\xC3", L"a\xFFFD"},                                 // truncated at the end
        {"\xC3(", L"\xFFFD("},                                 // continuation missing
        {"\x80", L"\xFFFD"},                                   // lone continuation byte
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.size());
        EXPECT_FALSE(IsValidUtf8(c.bytes));
        EXPECT_EQ(Utf8ToWide(c.bytes), c.wide);
    }
    // A lone surrogate cannot be encoded.
    EXPECT_EQ(WideToUtf8(std::wstring(1, L'\xD800') + L"x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(WideToUtf8(std::wstring(1, L'\xDC00')), "\xEF\xBF\xBD");
}

TEST(BaseText, TrimDropsBlanksAndControlsAtBothEnds) {
    EXPECT_EQ(TrimText(L"\t x y \x01\r\n"), L"x y");
    EXPECT_EQ(TrimText(L" \x1F "), L"");
    EXPECT_EQ(TrimText(L""), L"");
    EXPECT_EQ(TrimText(L"\x00A0x\x00A0"), L"\x00A0x\x00A0");  // a no-break space is text
    EXPECT_EQ(TrimText(std::wstring(L"\0a\0", 3)), L"a");
    EXPECT_EQ(TrimText(std::string(" \t\xC3\xA9 ")), "\xC3\xA9");  // bytes above 127 are never blanks
    EXPECT_EQ(TrimText(std::string("\x80")), "\x80");
}

TEST(BaseFiles, ProgramFolderHoldsTheProgram) {
    const std::wstring path = ProgramPath();
    const std::wstring folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    EXPECT_EQ(path.substr(0, folder.size()), folder);
    EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(BaseFiles, ReadWholeFileReadsAllOrNothing) {
    trelm_test::TTempDir dir;
    const std::string content("line\r\n\0\xFF end", 12);
    ASSERT_TRUE(trelm_test::WriteFileBytes(dir.File(L"a.bin"), content));
    ASSERT_TRUE(trelm_test::WriteFileBytes(dir.File(L"empty.bin"), std::string()));
    EXPECT_EQ(ReadWholeFile(dir.File(L"a.bin")), content);
    EXPECT_EQ(ReadWholeFile(dir.File(L"a.bin"), content.size()), content);
    EXPECT_EQ(ReadWholeFile(dir.File(L"a.bin"), content.size() - 1), std::nullopt);  // over the limit
    EXPECT_EQ(ReadWholeFile(dir.File(L"empty.bin")), std::string());
    EXPECT_EQ(ReadWholeFile(dir.File(L"missing.bin")), std::nullopt);
    EXPECT_EQ(ReadWholeFile(dir.Path()), std::nullopt);  // a folder
}

TEST(BaseReport, CaughtFailuresAreAppendedToTheLogNamedByTheEnvironment) {
    trelm_test::TTempDir dir;
    const std::wstring log = dir.File(L"trelm.log");
    ASSERT_TRUE(SetEnvironmentVariableW(L"TRELM_LOG", log.c_str()));
    try {
        throw std::runtime_error("disk \xD0\xBF full");
    } catch (...) {
        ReportCaught("Unit::Save");
    }
    try {
        throw 42;
    } catch (...) {
        ReportCaught("Unit::Other");
    }
    ReportFailure("Unit::Load", "refused");
    SetEnvironmentVariableW(L"TRELM_LOG", nullptr);
    ReportFailure("Unit::NotLogged", "gone");  // no log named: debug output only
    EXPECT_EQ(trelm_test::ReadFileString(log),
              "[Trelm] Unit::Save: disk \xD0\xBF full\r\n"
              "[Trelm] Unit::Other: unknown exception\r\n"
              "[Trelm] Unit::Load: refused\r\n");
}

TEST(BaseHandles, OwnersCloseOnceAndCountWhatTheyHold) {
    const long start = LiveHandleCount(THandleKind::Kernel);
    {
        TKernelHandle a(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(a);
        EXPECT_EQ(LiveHandleCount(THandleKind::Kernel), start + 1);
        const HANDLE raw = a.Get();
        TKernelHandle b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.Get(), raw);
        EXPECT_EQ(LiveHandleCount(THandleKind::Kernel), start + 1);
        b.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));  // the first event is closed
        DWORD flags = 0;
        EXPECT_FALSE(GetHandleInformation(raw, &flags));
        EXPECT_EQ(LiveHandleCount(THandleKind::Kernel), start + 1);
        const HANDLE kept = b.Detach();
        EXPECT_EQ(LiveHandleCount(THandleKind::Kernel), start);
        EXPECT_TRUE(GetHandleInformation(kept, &flags));
        CloseHandle(kept);
        // A failed CreateFile is INVALID_HANDLE_VALUE: empty for a file owner, never closed or counted.
        TFileHandle missing(CreateFileW(L"Z:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(missing);
        EXPECT_EQ(LiveHandleCount(THandleKind::Kernel), start);
    }
    EXPECT_EQ(LiveHandleCount(THandleKind::Kernel), start);
}

// A COM object reduced to its reference count.
struct TCounted {
    int refs = 1;
    unsigned long AddRef() { return ++refs; }
    unsigned long Release() { return --refs; }
};

TEST(BaseComPtr, ReleasesWhatItHoldsOnce) {
    TCounted first, second;
    {
        TComPtr<TCounted> p(&first);
        TComPtr<TCounted> q(std::move(p));
        EXPECT_FALSE(p);
        EXPECT_EQ(q.Get(), &first);
        *q.Put() = &second;  // an out-parameter: what was held is released first
        EXPECT_EQ(first.refs, 0);
        second.AddRef();
        TCounted* kept = q.Detach();
        EXPECT_EQ(kept, &second);
        EXPECT_EQ(second.refs, 2);
        q.Reset(&second);
    }
    EXPECT_EQ(first.refs, 0);
    EXPECT_EQ(second.refs, 1);
}

TEST(BaseComPtr, CountsThePointersItHolds) {
    TCounted a, b, c;
    const long start = LiveComPointerCount();
    {
        TComPtr<TCounted> p(&a);
        EXPECT_EQ(LiveComPointerCount(), start + 1);
        TComPtr<TCounted> q(std::move(p));  // a move hands the count over
        EXPECT_EQ(LiveComPointerCount(), start + 1);
        TComPtr<TCounted> r;
        *r.Put() = &b;  // written as an out-parameter: counted once it is looked at
        EXPECT_TRUE(r);
        EXPECT_EQ(LiveComPointerCount(), start + 2);
        r = std::move(q);  // b released, a handed over
        EXPECT_EQ(b.refs, 0);
        EXPECT_EQ(LiveComPointerCount(), start + 1);
        TComPtr<TCounted> unread;
        *unread.Put() = &c;  // never looked at: still released and balanced at its end
        TCounted* kept = r.Detach();
        EXPECT_EQ(kept, &a);
        EXPECT_EQ(LiveComPointerCount(), start);
        *r.Put() = nullptr;  // a failed out-parameter counts nothing
        EXPECT_FALSE(r);
    }
    EXPECT_EQ(c.refs, 0);
    EXPECT_EQ(a.refs, 1);  // detached: the caller's now
    EXPECT_EQ(LiveComPointerCount(), start);
}

}  // namespace
