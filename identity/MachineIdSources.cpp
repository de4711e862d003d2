// The machine identity sources and the order in which they are tried. See MachineIdSources.h for the contract;
// the byte layouts of the requests are those the identity has always sent, odd sizes included, because a
// different request could read a different value and lock users out of their own settings.
#include "identity/MachineIdSources.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/Report.h"
#include "identity/Bytes_p.h"
#include "identity/HDDInfo.h"

namespace identity {
namespace {

template <typename String>
String Trim(const String& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && static_cast<uint32_t>(text[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<uint32_t>(text[end - 1]) <= 32)
        --end;
    return text.substr(begin, end - begin);
}

std::string Hex8(uint32_t value) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i, value >>= 4)
        text[i] = kDigits[value & 0xF];
    return text;
}

bool IsNtFamily(MachineQueries& queries) {
    const auto version = queries.GetOsVersion();
    return version && version->platform == 2;
}

// 40 UTF-16 code units at `offset` of an identify answer, the words swapped pairwise first.
std::wstring SwappedIdText(std::vector<uint8_t>& buffer, size_t offset) {
    for (size_t w = 0; w + 1 < 40; w += 2) {
        uint8_t* a = &buffer[offset + 2 * w];
        uint8_t* b = a + 2;
        std::swap(a[0], b[0]);
        std::swap(a[1], b[1]);
    }
    std::wstring text;
    for (size_t i = 0; i < 40; ++i) {
        text.push_back(static_cast<wchar_t>(buffer[offset + 2 * i] | (buffer[offset + 2 * i + 1] << 8)));
    }
    return text;
}

// A whole decimal number that fits 32 bits signed, as the identity has always read the BIOS date.
bool ParseInt32(const std::wstring& text, int32_t* value) {
    if (text.empty() || text.size() > 10)
        return false;
    int64_t n = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return false;
        n = n * 10 + (c - L'0');
    }
    if (n > INT32_MAX)
        return false;
    *value = static_cast<int32_t>(n);
    return true;
}

}  // namespace

std::wstring NormalizeIdPart(const std::wstring& text) {
    std::wstring kept;
    for (wchar_t c : text) {
        // ASCII only: the user's locale must not decide which characters become letters.
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
        if ((c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z'))
            kept.push_back(c);
    }
    for (size_t i = 0; i < kept.size(); ++i) {
        if (kept[i] >= L'0' && kept[i] <= L'9') {
            const int digit = kept[i] - L'0';
            const int position = static_cast<int>(i) + 1;
            kept[i] = static_cast<wchar_t>(65 + digit + (position <= 9 ? position : 0));
        }
    }
    if (kept.size() > 8)
        kept.erase(0, kept.size() - 8);
    return kept;
}

std::wstring KeepDigitsAndLetters(const std::wstring& text) {
    std::wstring kept;
    for (wchar_t c : text) {
        if ((c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z'))
            kept.push_back(c);
    }
    return kept;
}

std::wstring NumberToLetters(int64_t value) {
    if (value < 0)
        value = -value;
    std::wstring letters;
    do {
        letters.insert(letters.begin(), static_cast<wchar_t>(L'A' + value % 26));
        value /= 26;
    } while (value != 0);
    return letters;
}

std::wstring ReverseText(const std::wstring& text) {
    if (Trim(text).empty())
        return {};
    return std::wstring(text.rbegin(), text.rend());
}

std::wstring WidenBytes(const std::string& text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (char c : text)
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return wide;
}

std::string GetStorageSerial(MachineQueries& queries) {
    auto device = queries.OpenDevice("\\\\.\\PhysicalDrive0", DeviceAccess::kNone);
    if (!device)
        return {};
    const uint8_t query[12] = {};
    uint8_t descriptor[548] = {};
    uint32_t returned = 0;
    if (!device->Control(kIoctlStorageQueryProperty, query, sizeof query, descriptor, sizeof descriptor, &returned)) {
        return {};
    }
    const uint32_t productOffset = Get32(descriptor + 16);
    const uint32_t revisionOffset = Get32(descriptor + 20);
    const uint32_t serialOffset = Get32(descriptor + 24);
    if (productOffset == 0 || revisionOffset == 0 || serialOffset == 0)
        return {};

    // A driver's offset or a missing terminator must not take the read past the buffer.
    std::string serial;
    for (size_t i = serialOffset; i < sizeof descriptor && descriptor[i] != 0; ++i) {
        serial.push_back(static_cast<char>(descriptor[i]));
    }
    serial = Trim(serial);

    std::string result;
    if (std::all_of(serial.begin(), serial.end(), IsHexDigit)) {
        if (serial.size() % 2 != 0)
            return {};
        if (serial.size() % 4 != 0)
            throw IdSourceError("incomplete hexadecimal serial group");
        for (size_t i = 0; i < serial.size(); i += 4) {
            const char first = static_cast<char>(HexValue(serial[i]) * 16 + HexValue(serial[i + 1]));
            const char second = static_cast<char>(HexValue(serial[i + 2]) * 16 + HexValue(serial[i + 3]));
            result.push_back(second);
            result.push_back(first);
        }
    } else {
        for (size_t i = 0; i + 1 < serial.size(); i += 2) {
            result.push_back(serial[i + 1]);
            result.push_back(serial[i]);
        }
    }
    return Trim(result);
}

std::wstring GetSmartIdText(MachineQueries& queries, int drive) {
    if (IsNtFamily(queries)) {
        auto device = queries.OpenDevice("\\\\.\\PhysicalDrive" + std::to_string(drive), DeviceAccess::kReadWrite);
        if (!device)
            return {};
        std::vector<uint8_t> buffer(580, 0);
        Put32(&buffer[0], 36);
        static const uint8_t kSignature[] = {0x53, 0x00, 0x43, 0x00, 0x53, 0x00, 0x49, 0x00};
        std::memcpy(&buffer[4], kSignature, sizeof kSignature);
        Put32(&buffer[20], 2);
        Put32(&buffer[24], 0x1B0501);
        Put32(&buffer[32], 544);
        Put32(&buffer[72], 512);
        static const uint8_t kRegisters[] = {0, 1, 1, 0, 0, 0xA0, 0xEC};
        std::memcpy(&buffer[76], kRegisters, sizeof kRegisters);
        buffer[84] = static_cast<uint8_t>(drive);
        uint32_t returned = 0;
        if (!device->Control(kIoctlScsiMiniport, buffer.data(), buffer.size(), buffer.data(), buffer.size(),
                             &returned)) {
            return {};
        }
        return SwappedIdText(buffer, 124);
    }
    auto device = queries.OpenDevice("\\\\.\\SMARTVSD", DeviceAccess::kReadWrite);
    if (!device)
        return {};
    uint8_t in[32] = {};
    Put32(in, 512);
    static const uint8_t kRegisters[] = {0, 1, 1, 0, 0, 0xA0, 0xEC};
    std::memcpy(in + 4, kRegisters, sizeof kRegisters);
    in[12] = static_cast<uint8_t>(drive);
    std::vector<uint8_t> out(528, 0);
    uint32_t returned = 0;
    if (!device->Control(kSmartRcvDriveData, in, sizeof in, out.data(), out.size(), &returned))
        return {};
    return SwappedIdText(out, 52);
}

std::string GetCpuIdText(MachineQueries& queries) {
    const uint32_t a = queries.Cpuid(1).eax;
    std::string text = std::to_string(a & 0xF);
    text += "0123456789ABCDEF"[(a >> 4) & 0xF];
    text += std::to_string((a >> 8) & 0xF);
    text += std::to_string((a >> 12) & 0xF);
    text += std::to_string((a >> 16) & 0xF);
    text += std::to_string((a >> 20) & 0xFF);
    text += Hex8(a);
    const CpuidRegs leaf3 = queries.Cpuid(3);
    text += Hex8(leaf3.edx);
    text += Hex8(leaf3.ecx);
    std::string kept;
    for (char c : text) {
        if ((c >= '1' && c <= '9') || (c >= 'A' && c <= 'Z'))
            kept.push_back(c);
    }
    if (kept.size() >= 5 && kept.size() <= 7)
        kept.insert(0, "MNPR");
    return kept;
}

std::string GetAdapterMac(MachineQueries& queries, uint8_t lana) {
    if (!queries.ResetAdapter(lana))
        return {};
    const auto address = queries.AdapterAddress(lana);
    if (!address)
        return {};
    std::string text;
    for (uint8_t b : *address)
        text += Hex8(b).substr(6);
    return text;
}

std::string GetMacText(MachineQueries& queries) {
    const std::vector<uint8_t> adapters = queries.EnumLanAdapters();
    if (adapters.empty())
        return {};
    const std::wstring reversed = ReverseText(WidenBytes(GetAdapterMac(queries, adapters[0])));
    return std::string(reversed.begin(), reversed.end());  // hexadecimal digits only
}

std::string GetBiosDate(MachineQueries& queries, const std::string& source) {
    if (source == "NT") {
        return queries.ReadMachineRegString("HARDWARE\\DESCRIPTION\\System", "SystemBiosDate").value_or("");
    }
    const auto rom = queries.ReadRomBiosDate();
    if (!rom)
        return {};
    const std::string date(rom->data(), rom->size());
    return date.substr(0, 2) + "/" + date.substr(3, 2) + "/" + date.substr(6, 2);
}

std::wstring GetBiosCpuCode(MachineQueries& queries) {
    std::string name;
    if (const auto version = queries.GetOsVersion()) {
        if (version->platform == 1)
            name = version->minor != 0 ? "Windows 98" : "Windows 95";
        if (version->platform == 2)
            name = version->major == 5 ? "Windows XP" : "Windows NT";
    }
    const std::string date = GetBiosDate(queries, name == "Windows NT" || name == "Windows XP" ? "NT" : "95");
    int32_t n = 0;
    if (!ParseInt32(KeepDigitsAndLetters(WidenBytes(date)), &n))
        n = 261007;
    // 32-bit arithmetic that wraps, as stored identities were computed with it.
    const int32_t eax = static_cast<int32_t>(queries.Cpuid(1).eax);
    const uint32_t a = static_cast<uint32_t>(eax < 0 ? -static_cast<int64_t>(eax) : eax);
    const int32_t v = static_cast<int32_t>(a * static_cast<uint32_t>(n) + static_cast<uint32_t>(n));
    // The magnitude is taken in 64 bits: -2^31 has no 32-bit absolute value and would give no letters.
    return NumberToLetters(n) + NumberToLetters(v < 0 ? -static_cast<int64_t>(v) : v);
}

std::wstring BuildMachineId(MachineQueries& queries) {
    std::wstring r;
    auto full = [&] { return r.size() == 9; };

    try {
        r = L"B" + NormalizeIdPart(WidenBytes(GetStorageSerial(queries)));
    } catch (...) {
        ReportCaught("BuildMachineId: storage serial");
    }

    if (!full()) {
        try {
            THDDInfo info(queries);
            for (int i = gimAuto; i <= gimWMI; ++i) {
                try {
                    info.SetMethod(static_cast<TGetInfoMethod>(i));
                    info.SetCanonicalScsiAddressing(false);
                    if (i == gimByName) {
                        info.SetDeviceName("PhysicalDrive0");
                    } else {
                        info.SetDrive(dPrimaryMaster);
                    }
                    r = static_cast<wchar_t>(67 + i) + NormalizeIdPart(WidenBytes(info.Serial()));
                    if (full())
                        break;
                } catch (...) {
                    ReportCaught("BuildMachineId: disk serial method");
                }
            }
        } catch (...) {
            ReportCaught("BuildMachineId: disk info");
        }
    }

    if (!full()) {
        try {
            r = L"K" + NormalizeIdPart(GetSmartIdText(queries, 0));
        } catch (...) {
            ReportCaught("BuildMachineId: SMART");
        }
    }

    std::wstring p, m;
    if (!full()) {
        try {
            p = Trim(NormalizeIdPart(WidenBytes(GetCpuIdText(queries))));
        } catch (...) {
            ReportCaught("BuildMachineId: CPU id");
        }
        try {
            m = Trim(NormalizeIdPart(WidenBytes(GetMacText(queries))));
        } catch (...) {
            ReportCaught("BuildMachineId: MAC");
        }
        if (p.size() > 4 && m.size() > 4)
            r = L"O" + p.substr(0, 4) + m.substr(0, 4);
    }
    if (!full())
        r = L"P" + p;
    if (!full())
        r = L"M" + m;
    if (!full()) {
        try {
            r = L"S" + NormalizeIdPart(GetBiosCpuCode(queries));
        } catch (...) {
            ReportCaught("BuildMachineId: BIOS and CPU code");
        }
    }
    return r;
}

}  // namespace identity
