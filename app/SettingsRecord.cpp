// Writer and reader of the settings record.
#include "app/SettingsRecord.h"

#include <bit>
#include <cstring>

#include "app/Lzss.h"

namespace {

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

void Shorten(std::wstring& text, size_t maxUnits) {
    text.resize(CutUtf16(text, maxUnits).size());
}

class TRecordWriter {
  public:
    void Byte(uint8_t v) { bytes_.push_back(v); }
    void Bool(bool v) { Byte(v ? 1 : 0); }
    void Int32(int32_t v) { Uint(static_cast<uint32_t>(v), 4); }
    void Double(double v) { Uint(std::bit_cast<uint64_t>(v), 8); }
    void Zeros(size_t count) { bytes_.insert(bytes_.end(), count, 0); }

    void ShortString(std::string_view text) {
        Byte(static_cast<uint8_t>(text.size()));
        bytes_.insert(bytes_.end(), text.begin(), text.end());
    }

    // 16-bit length 4N, the N units, a 16-bit zero, zero padding up to 4N bytes.
    void Slot(std::wstring_view text, size_t maxUnits) {
        const std::wstring_view cut = CutUtf16(text, maxUnits);
        const size_t slotBytes = cut.size() * 4;
        Uint(static_cast<uint32_t>(slotBytes), 2);
        const size_t start = bytes_.size();
        for (wchar_t c : cut) {
            Uint(static_cast<uint16_t>(c), 2);
        }
        Zeros(slotBytes - (bytes_.size() - start));
    }

    std::vector<uint8_t> Take() { return std::move(bytes_); }

  private:
    void Uint(uint64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
        }
    }

    std::vector<uint8_t> bytes_;
};

// Sequential reader that fails, and stays failed, on the first field that does not fit.
class TRecordReader {
  public:
    explicit TRecordReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool Ok() const { return ok_; }
    size_t Remaining() const { return ok_ ? bytes_.size() - pos_ : 0; }

    uint8_t Byte() { return static_cast<uint8_t>(Uint(1)); }
    bool Bool() { return Byte() != 0; }
    int32_t Int32() { return static_cast<int32_t>(static_cast<uint32_t>(Uint(4))); }
    double Double() { return std::bit_cast<double>(Uint(8)); }

    void Skip(size_t count) {
        if (!Need(count)) {
            return;
        }
        pos_ += count;
    }

    std::string ShortString() {
        const size_t length = Byte();
        if (!Need(length)) {
            return {};
        }
        std::string text(reinterpret_cast<const char*>(bytes_.data() + pos_), length);
        pos_ += length;
        return text;
    }

    // The text runs from the slot's start to its first 16-bit zero, and never beyond the slot.
    std::wstring Slot() {
        const size_t slotBytes = static_cast<size_t>(Uint(2));
        if (!Need(slotBytes)) {
            return {};
        }
        std::wstring text;
        for (size_t i = 0; i + 1 < slotBytes; i += 2) {
            const wchar_t c = static_cast<wchar_t>(bytes_[pos_ + i] | (bytes_[pos_ + i + 1] << 8));
            if (c == 0) {
                break;
            }
            text.push_back(c);
        }
        pos_ += slotBytes;
        return text;
    }

    // A list count stored as count - 1. Anything below -1, or more entries than the rest of the record could
    // hold at minEntryBytes each, is damage; checking here keeps a hostile count from driving allocations.
    size_t Count(size_t minEntryBytes) {
        const int32_t stored = Int32();
        if (!ok_) {
            return 0;
        }
        if (stored < -1 || static_cast<uint64_t>(static_cast<int64_t>(stored) + 1) * minEntryBytes > Remaining()) {
            ok_ = false;
            return 0;
        }
        return static_cast<size_t>(static_cast<int64_t>(stored) + 1);
    }

  private:
    bool Need(size_t count) {
        if (ok_ && bytes_.size() - pos_ < count) {
            ok_ = false;
        }
        return ok_;
    }

    uint64_t Uint(int bytes) {
        if (!Need(static_cast<size_t>(bytes))) {
            return 0;
        }
        uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) {
            v |= uint64_t{bytes_[pos_ + i]} << (8 * i);
        }
        pos_ += static_cast<size_t>(bytes);
        return v;
    }

    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
    bool ok_ = true;
};

// The smallest entry of each list: empty slots and the fixed fields.
constexpr size_t kMinImapEntryBytes = 2 * 2 + 4;
constexpr size_t kMinAccountEntryBytes = 5 * 2 + 4;
constexpr size_t kMinEventEntryBytes = 2 + 8 + 4 + 1;

}  // namespace

std::wstring_view CutUtf16(std::wstring_view text, size_t maxUnits) {
    if (text.size() <= maxUnits) {
        return text;
    }
    size_t keep = maxUnits;
    if (keep > 0 && IsHighSurrogate(text[keep - 1]) && IsLowSurrogate(text[keep])) {
        --keep;
    }
    return text.substr(0, keep);
}

void ShortenToRecordLimits(TSettings& settings,
                           std::wstring& idKomp,
                           std::vector<std::unique_ptr<AListImap>>& imap,
                           std::vector<std::unique_ptr<AListEm>>& accounts,
                           std::vector<std::unique_ptr<AListSob>>& events) {
    Shorten(settings.FZvuk, kSoundFileMaxLen);
    Shorten(idKomp, kIdKompMaxLen);
    for (auto& server : imap) {
        Shorten(server->Url, kImapFieldMaxLen);
        Shorten(server->UrlImap, kImapFieldMaxLen);
    }
    for (auto& account : accounts) {
        for (std::wstring* field :
             {&account->Domain, &account->UrlVhod, &account->Login, &account->Parol, &account->HostIMAP}) {
            Shorten(*field, kAccountFieldMaxLen);
        }
    }
    for (auto& event : events) {
        Shorten(event->Name, kAccountFieldMaxLen);
    }
    Shorten(settings.FZvukN, kSoundFileMaxLen);
    Shorten(settings.LangFile, kSoundFileMaxLen);
    Shorten(settings.PassZapusk, kPassZapuskMaxLen);
}

std::vector<uint8_t> BuildSettingsRecord(const TSettings& s,
                                         std::wstring_view idKomp,
                                         const std::vector<std::unique_ptr<AListImap>>& imap,
                                         const std::vector<std::unique_ptr<AListEm>>& accounts,
                                         const std::vector<std::unique_ptr<AListSob>>& events) {
    const std::string_view version = kSettingsVersion;
    TRecordWriter w;
    w.Byte(static_cast<uint8_t>(version.size() + 1));
    w.ShortString(version);
    w.Byte(s.SkinIndex);
    w.Int32(s.ProvEmSek);
    w.Bool(s.IspZvuk);
    w.Slot(s.FZvuk, kSoundFileMaxLen);
    w.Int32(s.SoundDlgWidth);
    w.Int32(s.SoundDlgHeight);
    w.Byte(s.SoundDlgStyle);
    w.Int32(s.VremPokVspOkn);
    w.Bool(s.VTray);
    w.Bool(s.OtobrTextEm);
    w.Bool(s.AutoZagr);
    w.Bool(s.PovtorZvuk);
    w.Int32(s.PovtorZvukI);
    w.Slot(idKomp, kIdKompMaxLen);
    w.Bool(s.ProvVseSrazu);

    w.Int32(static_cast<int32_t>(imap.size()) - 1);
    for (const auto& server : imap) {
        w.Slot(server->Url, kImapFieldMaxLen);
        w.Slot(server->UrlImap, kImapFieldMaxLen);
        w.Int32(server->PortImap);
    }
    w.Int32(static_cast<int32_t>(accounts.size()) - 1);
    for (const auto& account : accounts) {
        w.Slot(account->Domain, kAccountFieldMaxLen);
        w.Slot(account->UrlVhod, kAccountFieldMaxLen);
        w.Slot(account->Login, kAccountFieldMaxLen);
        w.Slot(account->Parol, kAccountFieldMaxLen);
        w.Slot(account->HostIMAP, kAccountFieldMaxLen);
        w.Int32(account->PortIMAP);
    }
    w.Int32(static_cast<int32_t>(events.size()) - 1);
    for (const auto& event : events) {
        w.Slot(event->Name, kAccountFieldMaxLen);
        w.Double(event->Time);
        w.Int32(event->Date);
        w.Byte(PackWeekdays(event->DnNedel));
    }

    w.Int32(s.ZaSkolkPredupr);
    w.Bool(s.PokSegodSob);
    w.Bool(s.UdalProshSob);
    w.Bool(s.IspZvukN);
    w.Slot(s.FZvukN, kSoundFileMaxLen);
    w.Bool(s.PovtorZvukN);
    w.Int32(s.PovtorZvukIN);
    w.Byte(s.LangIndex);
    w.Slot(s.LangFile, kSoundFileMaxLen);
    w.Bool(s.ZapuskPass);
    w.Slot(s.PassZapusk, kPassZapuskMaxLen);
    w.Zeros(kReservedBytes);
    const std::wstring wideVersion(version.begin(), version.end());
    for (int i = 0; i < 4; ++i) {
        w.Slot(wideVersion, wideVersion.size());
    }
    w.Byte(static_cast<uint8_t>(version.size() + 1));
    return w.Take();
}

std::vector<uint8_t> BuildSettingsRecord(const TSettingsRecordContent& content) {
    return BuildSettingsRecord(content.Settings, content.IdKomp, content.ImapServers, content.Accounts, content.Events);
}

TSettingsReadResult ParseSettingsRecord(std::span<const uint8_t> record, TSettingsRecordContent& content) {
    TRecordReader r(record);
    r.Byte();  // version length + 1: not part of the version check
    const std::string version = r.ShortString();
    if (!r.Ok()) {
        return TSettingsReadResult::Damaged;
    }
    if (version != kSettingsVersion) {
        return TSettingsReadResult::OtherVersion;
    }

    // Everything goes into a temporary first: a record that breaks off halfway must not leave half of it behind.
    TSettingsRecordContent c;
    TSettings& s = c.Settings;
    s.SkinIndex = r.Byte();
    s.ProvEmSek = r.Int32();
    s.IspZvuk = r.Bool();
    s.FZvuk = r.Slot();
    s.SoundDlgWidth = r.Int32();
    s.SoundDlgHeight = r.Int32();
    s.SoundDlgStyle = r.Byte();
    s.VremPokVspOkn = r.Int32();
    s.VTray = r.Bool();
    s.OtobrTextEm = r.Bool();
    s.AutoZagr = r.Bool();
    s.PovtorZvuk = r.Bool();
    s.PovtorZvukI = r.Int32();
    c.IdKomp = r.Slot();
    s.ProvVseSrazu = r.Bool();

    const size_t imapCount = r.Count(kMinImapEntryBytes);
    for (size_t i = 0; i < imapCount && r.Ok(); ++i) {
        auto server = std::make_unique<AListImap>();
        server->Url = r.Slot();
        server->UrlImap = r.Slot();
        server->PortImap = r.Int32();
        c.ImapServers.push_back(std::move(server));
    }
    const size_t accountCount = r.Count(kMinAccountEntryBytes);
    for (size_t i = 0; i < accountCount && r.Ok(); ++i) {
        auto account = std::make_unique<AListEm>();
        account->Domain = r.Slot();
        account->UrlVhod = r.Slot();
        account->Login = r.Slot();
        account->Parol = r.Slot();
        account->HostIMAP = r.Slot();
        account->PortIMAP = r.Int32();
        c.Accounts.push_back(std::move(account));
    }
    const size_t eventCount = r.Count(kMinEventEntryBytes);
    for (size_t i = 0; i < eventCount && r.Ok(); ++i) {
        auto event = std::make_unique<AListSob>();
        event->Name = r.Slot();
        event->Time = r.Double();
        event->Date = r.Int32();
        event->DnNedel = UnpackWeekdays(r.Byte());
        c.Events.push_back(std::move(event));
    }

    s.ZaSkolkPredupr = r.Int32();
    s.PokSegodSob = r.Bool();
    s.UdalProshSob = r.Bool();
    s.IspZvukN = r.Bool();
    s.FZvukN = r.Slot();
    s.PovtorZvukN = r.Bool();
    s.PovtorZvukIN = r.Int32();
    s.LangIndex = r.Byte();
    s.LangFile = r.Slot();
    s.ZapuskPass = r.Bool();
    s.PassZapusk = r.Slot();
    r.Skip(kReservedBytes);
    for (int i = 0; i < 4; ++i) {
        r.Slot();
    }
    r.Byte();
    if (!r.Ok()) {
        return TSettingsReadResult::Damaged;
    }
    content = std::move(c);
    return TSettingsReadResult::Ok;
}

bool EncodeSettingsFile(std::span<const uint8_t> record, std::vector<uint8_t>& fileImage) {
    return LzssCompress(record, kSettingsCompressionLevel, fileImage) == kLzssOk;
}

TSettingsReadResult DecodeSettingsFile(std::span<const uint8_t> fileImage, TSettingsRecordContent& content) {
    std::vector<uint8_t> record;
    if (LzssUncompress(fileImage, record) != kLzssOk) {
        return TSettingsReadResult::Damaged;
    }
    return ParseSettingsRecord(record, content);
}
