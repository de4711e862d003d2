// The identity sources over canned answers: the storage serial, the SMART identify text, the processor
// signature, the adapter address and the BIOS date code.
#include <gtest/gtest.h>

#include <cstring>

#include "identity/FakeMachine.h"
#include "identity/MachineIdSources.h"

namespace identity {
namespace {

using test::Bytes;
using test::FakeMachine;
using test::Reply;

FakeMachine MachineWithDescriptor(const Bytes& descriptor) {
    FakeMachine m;
    m.devices[test::kDrive0].handlers[kIoctlStorageQueryProperty] = [=](const Bytes&) {
        return Reply{true, descriptor};
    };
    return m;
}

struct StorageCase {
    const char* name;
    const char* serial;
    const char* expected;  // null: the source fails
};

TEST(GetStorageSerial, DecodesTheDescriptorSerial) {
    const StorageCase cases[] = {
        {"text swapped pairwise, last odd character dropped", "WD-ABC123", "DWA-CB21"},
        {"text trimmed before and after", "  S1ABCDEFGH ", "1SBADCFEHG"},
        {"one character", "X", ""},
        {"hex in groups of four, bytes swapped", "57442D57", "DWW-"},
        {"hex decoding to blanks", "20202020", ""},
        {"hex of odd length", "ABC", ""},
        {"hex of ten digits: incomplete group", "3132333435", nullptr},
        {"empty", "", ""},
    };
    for (const StorageCase& c : cases) {
        FakeMachine m = MachineWithDescriptor(test::StorageDescriptor("Disk", "1.0", c.serial));
        if (c.expected) {
            EXPECT_EQ(GetStorageSerial(m), c.expected) << c.name;
        } else {
            EXPECT_THROW(GetStorageSerial(m), IdSourceError) << c.name;
        }
    }
}

TEST(GetStorageSerial, OpensTheFirstDriveWithoutRightsAndSendsTheShortQuery) {
    FakeMachine m = MachineWithDescriptor(test::StorageDescriptor("Disk", "1.0", "XY"));
    m.devices[test::kDrive0].openWithRights = false;  // an ordinary user
    EXPECT_EQ(GetStorageSerial(m), "YX");
    ASSERT_EQ(m.requests.size(), 1u);
    EXPECT_EQ(m.requests[0].in, Bytes(12, 0));
    EXPECT_EQ(m.requests[0].outSize, 548u);
}

TEST(GetStorageSerial, EmptyWhenAnOffsetIsMissingOrTheDriveRefuses) {
    FakeMachine noDevice;
    EXPECT_EQ(GetStorageSerial(noDevice), "");
    FakeMachine refused;
    refused.devices[test::kDrive0].handlers[kIoctlStorageQueryProperty] = [](const Bytes&) { return Reply{false, {}}; };
    EXPECT_EQ(GetStorageSerial(refused), "");
    for (const auto& descriptor :
         {test::StorageDescriptor(nullptr, "1.0", "SERIAL"), test::StorageDescriptor("Disk", nullptr, "SERIAL"),
          test::StorageDescriptor("Disk", "1.0", nullptr)}) {
        FakeMachine m = MachineWithDescriptor(descriptor);
        EXPECT_EQ(GetStorageSerial(m), "");
    }
}

TEST(GetStorageSerial, StaysInsideTheBufferWhateverTheDriverReports) {
    // Serial offset past the 548-byte buffer.
    Bytes farOffset = test::StorageDescriptor("Disk", "1.0", "AB");
    farOffset[24] = 0x00;
    farOffset[25] = 0x10;  // 4096
    FakeMachine far = MachineWithDescriptor(farOffset);
    EXPECT_EQ(GetStorageSerial(far), "");

    // A serial that runs to the very end of the buffer without a terminator.
    Bytes full = test::StorageDescriptor("Disk", "1.0", "X");
    full.resize(548, 0);
    full[24] = 540 & 0xFF;
    full[25] = 540 >> 8;
    std::memcpy(&full[540], "ABCDEFGH", 8);
    FakeMachine unterminated = MachineWithDescriptor(full);
    EXPECT_EQ(GetStorageSerial(unterminated), "BADCFEHG");
}

// ---- SMART identify text -------------------------------------------------------------------------------------

// 40 code units as a driver leaves them: each pair of words in swapped order.
Bytes WordSwappedUnits(const std::wstring& text, size_t at, size_t size) {
    Bytes b(size, 0);
    std::wstring units = text;
    units.resize(40, L'\0');
    for (size_t i = 0; i < 40; ++i) {
        const size_t slot = i ^ 1;  // word 0 <-> 1, 2 <-> 3, ...
        b[at + 2 * slot] = static_cast<uint8_t>(units[i]);
        b[at + 2 * slot + 1] = static_cast<uint8_t>(units[i] >> 8);
    }
    return b;
}

TEST(GetSmartIdText, SendsTheMiniportRequestAndReadsFortyUnitsAt124) {
    FakeMachine m;
    m.devices[test::kDrive0].handlers[kIoctlScsiMiniport] = [](const Bytes&) {
        return Reply{true, WordSwappedUnits(L"ABCDEFGH", 124, 580)};
    };
    const std::wstring text = GetSmartIdText(m, 0);
    ASSERT_EQ(text.size(), 40u);
    EXPECT_EQ(text.substr(0, 8), L"ABCDEFGH");
    EXPECT_EQ(NormalizeIdPart(text), L"ABCDEFGH");

    ASSERT_EQ(m.requests.size(), 1u);
    const Bytes& in = m.requests[0].in;
    ASSERT_EQ(in.size(), 580u);
    EXPECT_EQ(m.requests[0].outSize, 580u);
    Bytes expected(580, 0);
    const uint8_t header[] = {36, 0, 0, 0, 'S', 0, 'C', 0, 'S', 0, 'I', 0};
    std::memcpy(expected.data(), header, sizeof header);
    expected[20] = 2;
    expected[24] = 0x01;
    expected[25] = 0x05;
    expected[26] = 0x1B;
    expected[32] = 544 & 0xFF;
    expected[33] = 544 >> 8;
    expected[73] = 2;  // 512
    const uint8_t registers[] = {0, 1, 1, 0, 0, 0xA0, 0xEC};
    std::memcpy(&expected[76], registers, sizeof registers);
    EXPECT_EQ(in, expected);
    EXPECT_EQ(m.opens.at(0).second, DeviceAccess::kReadWrite);
}

TEST(GetSmartIdText, EmptyWhenRefused) {
    FakeMachine m;
    m.devices[test::kDrive0].handlers[kIoctlScsiMiniport] = [](const Bytes&) { return Reply{false, {}}; };
    EXPECT_EQ(GetSmartIdText(m, 0), L"");
}

TEST(GetSmartIdText, Windows9xAsksSmartvsd) {
    FakeMachine m;
    m.version = OsVersion{1, 4, 10};
    m.devices["\\\\.\\SMARTVSD"].handlers[kSmartRcvDriveData] = [](const Bytes&) {
        return Reply{true, WordSwappedUnits(L"WXYZ", 52, 528)};
    };
    EXPECT_EQ(NormalizeIdPart(GetSmartIdText(m, 1)), L"WXYZ");
    ASSERT_EQ(m.requests.size(), 1u);
    EXPECT_EQ(m.requests[0].in.size(), 32u);
    EXPECT_EQ(m.requests[0].outSize, 528u);
    EXPECT_EQ(m.requests[0].in[12], 1);  // the drive number
    EXPECT_EQ(m.requests[0].in[9], 0xA0);
}

// ---- Processor, adapter, BIOS date ------------------------------------------------------------------------------

struct CpuCase {
    uint32_t eax, leaf3Edx, leaf3Ecx;
    const char* text;
    const wchar_t* normalized;
};

TEST(GetCpuIdText, SignatureDigitsWithoutZeros) {
    const CpuCase cases[] = {
        {0x000906EA, 0, 0, "1E6996EA", L"CEJNOMEA"},
        {0x00000611, 0, 0, "MNPR116611", L"PRGHNOKB"},                             // 6 characters get the prefix
        {0x00000673, 0x0001ABCD, 0x12345678, "3766731ABCD12345678", L"BCDEFGHI"},  // leaf 3 serial: EDX, ECX
        {0x00000001, 0, 0, "11", L"CD"},
    };
    for (const CpuCase& c : cases) {
        FakeMachine m;
        m.cpuid[1] = {c.eax, 0, 0, 0};
        m.cpuid[3] = {0, 0, c.leaf3Ecx, c.leaf3Edx};
        const std::string text = GetCpuIdText(m);
        EXPECT_EQ(text, c.text) << std::hex << c.eax;
        EXPECT_EQ(NormalizeIdPart(WidenBytes(text)), c.normalized) << std::hex << c.eax;
    }
}

TEST(GetMacText, FirstAdapterAddressReversed) {
    FakeMachine m;
    m.lanas = {3, 0};
    m.mac = std::array<uint8_t, 6>{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    EXPECT_EQ(GetMacText(m), "E5D4C3B2A100");
    EXPECT_EQ(NormalizeIdPart(WidenBytes(GetMacText(m))), L"CJBKABAA");

    FakeMachine none = m;
    none.lanas.clear();
    EXPECT_EQ(GetMacText(none), "");
    FakeMachine noReset = m;
    noReset.resetOk = false;
    EXPECT_EQ(GetMacText(noReset), "");
    FakeMachine noStatus = m;
    noStatus.mac.reset();
    EXPECT_EQ(GetMacText(noStatus), "");
}

struct BiosCase {
    const char* name;
    std::optional<OsVersion> version;
    const char* registryDate;  // null: no value
    const char* romDate;       // null: unreadable
    uint32_t eax;
    const wchar_t* expected;
};

TEST(GetBiosCpuCode, DateNumberAndProductInLetters) {
    const BiosCase cases[] = {
        {"NT reads the registry", OsVersion{2, 6, 1}, "01/15/09", "12/31/99", 0x000906EA, L"RARFTXYPLP"},
        {"XP reads the registry", OsVersion{2, 5, 1}, "01/15/09", nullptr, 0x000906EA, L"RARFTXYPLP"},
        {"no registry value: 261007", OsVersion{2, 10, 0}, nullptr, "01/15/09", 0x000906EA, L"OWCTROAIBB"},
        {"letters in the date: 261007", OsVersion{2, 6, 1}, "JAN/15/09", nullptr, 0x000906EA, L"OWCTROAIBB"},
        {"date too large for 32 bits: 261007", OsVersion{2, 6, 1}, "99/99/99/99/99", nullptr, 0x000906EA,
         L"OWCTROAIBB"},
        {"Windows 98 reads the ROM", OsVersion{1, 4, 10}, "12/31/99", "01-15-09", 0x000906EA, L"RARFTXYPLP"},
        {"failed version query reads the ROM", std::nullopt, "12/31/99", nullptr, 0x00000611, L"OWCTBIDPFFQ"},
        {"product wraps to -2^31", OsVersion{2, 6, 1}, "1", nullptr, 0x7FFFFFFF, L"BGYTISYY"},
    };
    for (const BiosCase& c : cases) {
        FakeMachine m;
        m.version = c.version;
        if (c.registryDate)
            m.registry["HARDWARE\\DESCRIPTION\\System|SystemBiosDate"] = c.registryDate;
        if (c.romDate) {
            std::array<char, 8> rom;
            std::memcpy(rom.data(), c.romDate, 8);
            m.romDate = rom;
        }
        m.cpuid[1] = {c.eax, 0, 0, 0};
        EXPECT_EQ(GetBiosCpuCode(m), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace identity
