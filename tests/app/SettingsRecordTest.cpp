// Settings record: the exact bytes other versions read, the cuts to the stored lengths, and a reader that takes
// a record whole or not at all.
#include "app/SettingsRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/Lzss.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Expected bytes spelled out field by field, independently of the writer.
class TExpected {
  public:
    TExpected& U8(uint8_t v) {
        bytes_.push_back(v);
        return *this;
    }
    TExpected& I32(int32_t v) {
        for (int i = 0; i < 4; ++i) {
            bytes_.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
        }
        return *this;
    }
    TExpected& Ascii(const char* text) {
        for (; *text; ++text) {
            bytes_.push_back(static_cast<uint8_t>(*text));
        }
        return *this;
    }
    // 4N, then N units, a zero unit and 2N - 2 zero bytes.
    TExpected& Slot(const std::wstring& text) {
        const size_t n = text.size();
        bytes_.push_back(static_cast<uint8_t>(4 * n));
        bytes_.push_back(static_cast<uint8_t>((4 * n) >> 8));
        for (wchar_t c : text) {
            bytes_.push_back(static_cast<uint8_t>(c));
            bytes_.push_back(static_cast<uint8_t>(c >> 8));
        }
        if (n > 0) {
            bytes_.insert(bytes_.end(), 2 * n, 0);
        }
        return *this;
    }
    TExpected& Zeros(size_t n) {
        bytes_.insert(bytes_.end(), n, 0);
        return *this;
    }
    const Bytes& Get() const { return bytes_; }

  private:
    Bytes bytes_;
};

Bytes DefaultRecordWith(const std::wstring& id) {
    TExpected e;
    e.U8(6).U8(5).Ascii("2.19a");
    e.U8(81).I32(60).U8(0).Slot(L"prishol_mail.wav");
    e.I32(0).I32(0).U8(2).I32(60);
    e.U8(0).U8(0).U8(0).U8(1).I32(5);
    e.Slot(id).U8(0);
    e.I32(-1).I32(-1).I32(-1);
    e.I32(5).U8(0).U8(1).U8(0).Slot(L"budilnik.wav").U8(1).I32(3);
    e.U8(0).Slot(L"").U8(0).Slot(L"");
    e.Zeros(45);
    for (int i = 0; i < 4; ++i) {
        e.Slot(L"2.19a");
    }
    e.U8(6);
    return e.Get();
}

// A full data set with every kind of entry and non-default settings.
TSettingsRecordContent FullContent() {
    TSettingsRecordContent c;
    TSettings& s = c.Settings;
    s.SkinIndex = 3;
    s.ProvEmSek = 86400;
    s.IspZvuk = true;
    s.FZvuk = L"C:\\Sounds\\\x041F\x0440\x0438\x0432\x0435\x0442.wav";
    s.SoundDlgWidth = 640;
    s.SoundDlgHeight = -480;
    s.SoundDlgStyle = 6;
    s.VremPokVspOkn = 31;
    s.VTray = true;
    s.OtobrTextEm = true;
    s.AutoZagr = true;
    s.PovtorZvuk = false;
    s.PovtorZvukI = 999;
    s.ProvVseSrazu = true;
    s.ZaSkolkPredupr = 0;
    s.PokSegodSob = true;
    s.UdalProshSob = false;
    s.IspZvukN = true;
    s.FZvukN = L"";
    s.PovtorZvukN = false;
    s.PovtorZvukIN = 1;
    s.LangIndex = 2;
    s.LangFile = L"english.lng";
    s.ZapuskPass = true;
    s.PassZapusk = L"p\xD83D\xDE00ss";
    c.IdKomp = L"DWINEHDIS";
    for (int i = 0; i < 3; ++i) {
        auto server = std::make_unique<AListImap>();
        server->Url = L"mail" + std::to_wstring(i) + L".ru";
        server->UrlImap = L"imap.mail" + std::to_wstring(i) + L".ru";
        server->PortImap = 993 + i;
        c.ImapServers.push_back(std::move(server));
    }
    for (int i = 0; i < 2; ++i) {
        auto account = std::make_unique<AListEm>();
        account->Domain = L"yandex.ru";
        account->UrlVhod = i == 0 ? L"" : L"https://mail.yandex.ru/";
        account->Login = L"user" + std::to_wstring(i);
        account->Parol = L"\x0441\x0435\x043A\x0440\x0435\x0442";
        account->HostIMAP = L"imap.yandex.ru";
        account->PortIMAP = 993;
        c.Accounts.push_back(std::move(account));
    }
    auto weekly = std::make_unique<AListSob>();
    weekly->Name = L"Planning";
    weekly->Time = 0.375;
    weekly->Date = 0;
    weekly->DnNedel[1] = weekly->DnNedel[7] = true;
    c.Events.push_back(std::move(weekly));
    auto dated = std::make_unique<AListSob>();
    dated->Name = L"x";
    dated->Time = 0.1234567890123;
    dated->Date = 45000;
    c.Events.push_back(std::move(dated));
    return c;
}

void ExpectSameContent(const TSettingsRecordContent& a, const TSettingsRecordContent& b) {
    EXPECT_TRUE(a.Settings == b.Settings);
    EXPECT_EQ(a.IdKomp, b.IdKomp);
    ASSERT_EQ(a.ImapServers.size(), b.ImapServers.size());
    for (size_t i = 0; i < a.ImapServers.size(); ++i) {
        EXPECT_EQ(a.ImapServers[i]->Url, b.ImapServers[i]->Url);
        EXPECT_EQ(a.ImapServers[i]->UrlImap, b.ImapServers[i]->UrlImap);
        EXPECT_EQ(a.ImapServers[i]->PortImap, b.ImapServers[i]->PortImap);
    }
    ASSERT_EQ(a.Accounts.size(), b.Accounts.size());
    for (size_t i = 0; i < a.Accounts.size(); ++i) {
        const AListEm& x = *a.Accounts[i];
        const AListEm& y = *b.Accounts[i];
        EXPECT_EQ(x.Domain, y.Domain);
        EXPECT_EQ(x.UrlVhod, y.UrlVhod);
        EXPECT_EQ(x.Login, y.Login);
        EXPECT_EQ(x.Parol, y.Parol);
        EXPECT_EQ(x.HostIMAP, y.HostIMAP);
        EXPECT_EQ(x.PortIMAP, y.PortIMAP);
    }
    ASSERT_EQ(a.Events.size(), b.Events.size());
    for (size_t i = 0; i < a.Events.size(); ++i) {
        EXPECT_EQ(a.Events[i]->Name, b.Events[i]->Name);
        EXPECT_EQ(a.Events[i]->Time, b.Events[i]->Time);
        EXPECT_EQ(a.Events[i]->Date, b.Events[i]->Date);
        EXPECT_EQ(a.Events[i]->DnNedel, b.Events[i]->DnNedel);
    }
}

// A content that differs from everything a parse could produce, to see that a failed parse leaves it alone.
TSettingsRecordContent Sentinel() {
    TSettingsRecordContent c;
    c.Settings.SkinIndex = 7;
    c.Settings.FZvuk = L"sentinel";
    c.IdKomp = L"SENTINEL";
    c.Accounts.push_back(std::make_unique<AListEm>());
    return c;
}

bool IsSentinel(const TSettingsRecordContent& c) {
    return c.Settings.SkinIndex == 7 && c.Settings.FZvuk == L"sentinel" && c.IdKomp == L"SENTINEL" &&
           c.Accounts.size() == 1 && c.ImapServers.empty() && c.Events.empty();
}

TEST(SettingsRecord, DefaultRecordIsExact) {
    const TSettingsRecordContent defaults;
    const Bytes record = BuildSettingsRecord(defaults.Settings, L"WINEHDISK", {}, {}, {});
    ASSERT_EQ(record.size(), 353u);
    const Bytes head = {0x06, 0x05, 0x32, 0x2E, 0x31, 0x39, 0x61, 0x51};
    EXPECT_EQ(Bytes(record.begin(), record.begin() + 8), head);
    EXPECT_EQ(record, DefaultRecordWith(L"WINEHDISK"));
}

TEST(SettingsRecord, StringSlotsTakeFourBytesPerUnit) {
    const struct {
        const wchar_t* Text;
        Bytes Slot;
    } cases[] = {
        {L"", {0x00, 0x00}},
        {L"x", {0x04, 0x00, 'x', 0x00, 0x00, 0x00}},
        {L"\x0416z", {0x08, 0x00, 0x16, 0x04, 'z', 0x00, 0x00, 0x00, 0x00, 0x00}},
    };
    const Bytes base = BuildSettingsRecord(TSettings{}, L"", {}, {}, {});
    for (const auto& c : cases) {
        TSettings s;
        s.PassZapusk = c.Text;
        const Bytes record = BuildSettingsRecord(s, L"", {}, {}, {});
        // PassZapusk is the last slot before the 45 reserved bytes, 4 version slots (22 bytes each) and the end.
        const size_t tail = 45 + 4 * 22 + 1;
        ASSERT_EQ(record.size(), base.size() - 2 + c.Slot.size());
        const Bytes slot(record.end() - static_cast<ptrdiff_t>(tail + c.Slot.size()),
                         record.end() - static_cast<ptrdiff_t>(tail));
        EXPECT_EQ(slot, c.Slot);

        TSettingsRecordContent back;
        ASSERT_EQ(ParseSettingsRecord(record, back), TSettingsReadResult::Ok);
        EXPECT_EQ(back.Settings.PassZapusk, c.Text);
    }
}

TEST(SettingsRecord, WeekdaysPackIntoBitsOneToSeven) {
    const struct {
        std::vector<int> Days;
        uint8_t Byte;
    } cases[] = {{{}, 0x00}, {{1, 7}, 0x82}, {{1}, 0x02}, {{7}, 0x80}, {{1, 2, 3, 4, 5, 6, 7}, 0xFE}, {{3, 5}, 0x28}};
    for (const auto& c : cases) {
        std::array<bool, 8> days{};
        for (int d : c.Days) {
            days[d] = true;
        }
        EXPECT_EQ(PackWeekdays(days), c.Byte);
        EXPECT_EQ(UnpackWeekdays(c.Byte), days);
    }
    // Bit 0 never becomes a day, and element 0 is never stored.
    EXPECT_EQ(UnpackWeekdays(0x01), (std::array<bool, 8>{}));
    std::array<bool, 8> zeroth{};
    zeroth[0] = true;
    EXPECT_EQ(PackWeekdays(zeroth), 0);

    // In the record: Monday and Sunday land as 0x82 right after Date.
    std::vector<std::unique_ptr<AListSob>> events;
    events.push_back(std::make_unique<AListSob>());
    events[0]->Name = L"e";
    events[0]->DnNedel[1] = events[0]->DnNedel[7] = true;
    const Bytes record = BuildSettingsRecord(TSettings{}, L"", {}, {}, events);
    TExpected event;
    event.I32(0).Slot(L"e").Zeros(8).I32(0).U8(0x82);
    const Bytes& e = event.Get();
    EXPECT_NE(std::search(record.begin(), record.end(), e.begin(), e.end()), record.end());
}

TEST(SettingsRecord, EmptyListsAreStoredAsMinusOneAndReadBackEmpty) {
    TSettingsRecordContent full = FullContent();
    const Bytes record = BuildSettingsRecord(TSettings{}, L"AB", {}, {}, {});
    // After the identity slot (2 + 8) and ProvVseSrazu: three counts of -1.
    const size_t at = 1 + 6 + 1 + 4 + 1 + (2 + 64) + 4 + 4 + 1 + 4 + 4 + 4 + (2 + 8) + 1;
    EXPECT_EQ(Bytes(record.begin() + at, record.begin() + at + 12), Bytes(12, 0xFF));
    ASSERT_EQ(ParseSettingsRecord(record, full), TSettingsReadResult::Ok);
    EXPECT_TRUE(full.ImapServers.empty());
    EXPECT_TRUE(full.Accounts.empty());
    EXPECT_TRUE(full.Events.empty());
    EXPECT_TRUE(full.Settings == TSettings{});
    EXPECT_EQ(full.IdKomp, L"AB");
}

TEST(SettingsRecord, FullDataSetRoundTrips) {
    const TSettingsRecordContent content = FullContent();
    const Bytes record = BuildSettingsRecord(content);
    TSettingsRecordContent back;
    ASSERT_EQ(ParseSettingsRecord(record, back), TSettingsReadResult::Ok);
    ExpectSameContent(content, back);
    for (const auto& account : back.Accounts) {
        EXPECT_EQ(account->ProvEm, 0);
        EXPECT_EQ(account->KolEm, 0);
    }
    for (const auto& event : back.Events) {
        EXPECT_EQ(event->Ostal, 0);
        EXPECT_FALSE(event->BilSoob);
    }
    // Through the file image as well.
    Bytes image;
    ASSERT_TRUE(EncodeSettingsFile(record, image));
    TSettingsRecordContent fromImage;
    ASSERT_EQ(DecodeSettingsFile(image, fromImage), TSettingsReadResult::Ok);
    ExpectSameContent(content, fromImage);
}

// Each stored string with its limit: a longer value is written cut, and ShortenToRecordLimits cuts memory alike.
struct TCutCase {
    const char* Name;
    size_t Limit;
    std::function<std::wstring&(TSettingsRecordContent&)> Field;
};

std::vector<TCutCase> CutCases() {
    return {
        {"FZvuk", 299, [](TSettingsRecordContent& c) -> std::wstring& { return c.Settings.FZvuk; }},
        {"FZvukN", 299, [](TSettingsRecordContent& c) -> std::wstring& { return c.Settings.FZvukN; }},
        {"LangFile", 299, [](TSettingsRecordContent& c) -> std::wstring& { return c.Settings.LangFile; }},
        {"PassZapusk", 16, [](TSettingsRecordContent& c) -> std::wstring& { return c.Settings.PassZapusk; }},
        {"IdKomp", 29, [](TSettingsRecordContent& c) -> std::wstring& { return c.IdKomp; }},
        {"Url", 49, [](TSettingsRecordContent& c) -> std::wstring& { return c.ImapServers[1]->Url; }},
        {"UrlImap", 49, [](TSettingsRecordContent& c) -> std::wstring& { return c.ImapServers[2]->UrlImap; }},
        {"Domain", 99, [](TSettingsRecordContent& c) -> std::wstring& { return c.Accounts[0]->Domain; }},
        {"UrlVhod", 99, [](TSettingsRecordContent& c) -> std::wstring& { return c.Accounts[1]->UrlVhod; }},
        {"Login", 99, [](TSettingsRecordContent& c) -> std::wstring& { return c.Accounts[0]->Login; }},
        {"Parol", 99, [](TSettingsRecordContent& c) -> std::wstring& { return c.Accounts[1]->Parol; }},
        {"HostIMAP", 99, [](TSettingsRecordContent& c) -> std::wstring& { return c.Accounts[0]->HostIMAP; }},
        {"Event Name", 99, [](TSettingsRecordContent& c) -> std::wstring& { return c.Events[1]->Name; }},
    };
}

std::wstring Letters(size_t n) {
    std::wstring s;
    for (size_t i = 0; i < n; ++i) {
        s.push_back(static_cast<wchar_t>(L'a' + i % 26));
    }
    return s;
}

TEST(SettingsRecord, LongStringsAreCutInFileAndMemory) {
    for (const TCutCase& c : CutCases()) {
        struct TValue {
            std::wstring Text;
            size_t Kept;
        };
        std::wstring pairAtLimit = Letters(c.Limit - 1) + L"\xD83D\xDE00" + L"tail";
        std::wstring pairBeforeLimit = Letters(c.Limit - 2) + L"\xD83D\xDE00" + L"tail";
        const TValue values[] = {
            {Letters(c.Limit + 21), c.Limit}, {Letters(c.Limit), c.Limit}, {Letters(c.Limit - 1), c.Limit - 1},
            {pairAtLimit, c.Limit - 1},  // the pair would be split: cut one unit earlier
            {pairBeforeLimit, c.Limit},  // the pair ends exactly at the limit: kept whole
        };
        for (const TValue& v : values) {
            TSettingsRecordContent content = FullContent();
            c.Field(content) = v.Text;
            const Bytes record = BuildSettingsRecord(content);
            TSettingsRecordContent back;
            ASSERT_EQ(ParseSettingsRecord(record, back), TSettingsReadResult::Ok) << c.Name;
            EXPECT_EQ(c.Field(back), v.Text.substr(0, v.Kept)) << c.Name << " from " << v.Text.size();

            ShortenToRecordLimits(content.Settings, content.IdKomp, content.ImapServers, content.Accounts,
                                  content.Events);
            EXPECT_EQ(c.Field(content), v.Text.substr(0, v.Kept)) << c.Name << " in memory";
            EXPECT_EQ(BuildSettingsRecord(content), record) << c.Name;
        }
    }
}

TEST(SettingsRecord, OtherVersionIsIgnored) {
    const Bytes good = BuildSettingsRecord(FullContent());
    // Every byte of the version field: the length byte and the five characters.
    for (size_t at = 1; at <= 6; ++at) {
        for (uint8_t delta : {1, 0x20, 0x80}) {
            Bytes bad = good;
            bad[at] = static_cast<uint8_t>(bad[at] + delta);
            TSettingsRecordContent content = Sentinel();
            EXPECT_NE(ParseSettingsRecord(bad, content), TSettingsReadResult::Ok) << "byte " << at;
            EXPECT_TRUE(IsSentinel(content)) << "byte " << at;
        }
    }
    Bytes other = good;
    other[6] = 'b';  // "2.19b"
    TSettingsRecordContent content = Sentinel();
    EXPECT_EQ(ParseSettingsRecord(other, content), TSettingsReadResult::OtherVersion);
    EXPECT_TRUE(IsSentinel(content));
}

TEST(SettingsRecord, EveryTruncationIsRejectedWhole) {
    const Bytes record = BuildSettingsRecord(FullContent());
    for (size_t cut = 0; cut < record.size(); ++cut) {
        TSettingsRecordContent content = Sentinel();
        EXPECT_EQ(ParseSettingsRecord(Bytes(record.begin(), record.begin() + cut), content),
                  TSettingsReadResult::Damaged)
            << "cut at " << cut;
        EXPECT_TRUE(IsSentinel(content)) << "cut at " << cut;
    }
    // A file cut in its tokens is damaged; one that lacks only (part of) the padding behind the last token loads.
    Bytes image;
    ASSERT_TRUE(EncodeSettingsFile(record, image));
    TSettingsRecordContent whole;
    ASSERT_EQ(DecodeSettingsFile(image, whole), TSettingsReadResult::Ok);
    size_t loaded = 0;
    for (size_t cut = 0; cut < image.size(); ++cut) {
        TSettingsRecordContent content = Sentinel();
        const TSettingsReadResult result = DecodeSettingsFile(Bytes(image.begin(), image.begin() + cut), content);
        if (cut + 7 <= image.size()) {  // some of the last token is missing
            EXPECT_EQ(result, TSettingsReadResult::Damaged) << "image cut at " << cut;
            EXPECT_TRUE(IsSentinel(content)) << "image cut at " << cut;
        } else if (result == TSettingsReadResult::Ok) {
            ++loaded;
            EXPECT_EQ(BuildSettingsRecord(content), record) << "image cut at " << cut;
        }
    }
    EXPECT_GE(loaded, 2u);
}

TEST(SettingsRecord, HostileCountsAndSlotsAreDamage) {
    TSettingsRecordContent one;
    const Bytes base = BuildSettingsRecord(TSettings{}, L"", {}, {}, {});
    // Offsets in a record with an empty identity.
    const size_t identity = 1 + 6 + 1 + 4 + 1 + (2 + 64) + 4 + 4 + 1 + 4 + 4 + 4;
    const size_t counts = identity + 2 + 1;
    auto with = [&](size_t at, std::initializer_list<uint8_t> bytes) {
        Bytes b = base;
        std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<ptrdiff_t>(at));
        return b;
    };
    const struct {
        const char* Name;
        Bytes Record;
    } cases[] = {
        {"IMAP count 2^31 - 1", with(counts, {0xFE, 0xFF, 0xFF, 0x7F})},
        {"account count 10^6", with(counts + 4, {0x3F, 0x42, 0x0F, 0x00})},
        {"event count 100", with(counts + 8, {0x63, 0x00, 0x00, 0x00})},
        {"count -2", with(counts, {0xFE, 0xFF, 0xFF, 0xFF})},
        {"count INT_MIN", with(counts + 4, {0x00, 0x00, 0x00, 0x80})},
        {"FZvuk slot 0xFFFF bytes", with(13, {0xFF, 0xFF})},
        {"identity slot past the end", with(identity, {0x00, 0x10})},
    };
    for (const auto& c : cases) {
        TSettingsRecordContent content = Sentinel();
        EXPECT_EQ(ParseSettingsRecord(c.Record, content), TSettingsReadResult::Damaged) << c.Name;
        EXPECT_TRUE(IsSentinel(content)) << c.Name;
    }
    ASSERT_EQ(ParseSettingsRecord(base, one), TSettingsReadResult::Ok);
}

TEST(SettingsRecord, SlotWithoutTerminatorStaysInsideTheSlot) {
    // A slot whose units fill it completely (no 16-bit zero) must not pull in the bytes after it.
    TSettings s;
    s.PassZapusk = L"ab";
    Bytes record = BuildSettingsRecord(s, L"", {}, {}, {});
    const size_t slot = record.size() - (45 + 4 * 22 + 1) - 10;
    ASSERT_EQ(record[slot], 8);
    for (size_t i = 0; i < 8; ++i) {
        record[slot + 2 + i] = static_cast<uint8_t>(i % 2 ? 0 : 'a' + i);
    }
    TSettingsRecordContent back;
    ASSERT_EQ(ParseSettingsRecord(record, back), TSettingsReadResult::Ok);
    EXPECT_EQ(back.Settings.PassZapusk, L"aceg");
}

TEST(SettingsRecord, RandomDamageNeverCrashes) {
    const Bytes record = BuildSettingsRecord(FullContent());
    std::mt19937 gen(4242);
    for (int round = 0; round < 3000; ++round) {
        Bytes bad = record;
        const int flips = 1 + static_cast<int>(gen() % 6);
        for (int f = 0; f < flips; ++f) {
            bad[7 + gen() % (bad.size() - 7)] = static_cast<uint8_t>(gen());
        }
        if (gen() % 3 == 0) {
            bad.resize(gen() % bad.size());
        }
        TSettingsRecordContent content = Sentinel();
        const TSettingsReadResult rc = ParseSettingsRecord(bad, content);
        EXPECT_EQ(rc == TSettingsReadResult::Ok, !IsSentinel(content));
    }
}

TEST(SettingsRecord, CutNeverSplitsASurrogatePair) {
    const struct {
        std::wstring Text;
        size_t Max;
        size_t Kept;
    } cases[] = {
        {L"abc", 5, 3},
        {L"abc", 0, 0},
        {L"a\xD83D\xDE00", 2, 1},
        {L"a\xD83D\xDE00", 3, 3},
        {L"\xD83D\xDE00", 1, 0},
        {L"ab\xD83D", 2, 2},  // a lone high surrogate after the cut does not matter
        {L"a\xD83D"
         L"b",
         2, 2},  // a lone high surrogate at the cut is not half of a pair: kept
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CutUtf16(c.Text, c.Max).size(), c.Kept);
    }
}

}  // namespace
