// The order of the identity sources: each machine below has exactly the hardware answers listed, and the
// identity must come from the first source that yields a tag and 8 letters.
#include <gtest/gtest.h>

#include <functional>

#include "identity/FakeMachine.h"
#include "identity/MachineIdSources.h"

namespace identity {
namespace {

using test::Bytes;
using test::FakeMachine;
using test::Reply;

void StorageSerial(FakeMachine& m, const char* serial) {
    const Bytes descriptor = test::StorageDescriptor("Disk", "1.0", serial);
    m.devices[test::kDrive0].handlers[kIoctlStorageQueryProperty] = [=](const Bytes&) {
        return Reply{true, descriptor};
    };
}

void SmartSerial(FakeMachine& m, const char* serial) {
    test::IdentifyFields f;
    f.serial = serial;
    f.model = "Disk";
    const Bytes reply = test::SmartReply(test::AtaIdentify(f));
    m.devices[test::kDrive0].handlers[kSmartGetVersion] = [](const Bytes&) { return Reply{true, Bytes(24, 0)}; };
    m.devices[test::kDrive0].handlers[kSmartRcvDriveData] = [=](const Bytes&) { return Reply{true, reply}; };
}

void Processor(FakeMachine& m, uint32_t eax) {
    m.cpuid[1] = {eax, 0, 0, 0};
}

void Adapter(FakeMachine& m) {
    m.lanas = {0};
    m.mac = std::array<uint8_t, 6>{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};  // gives CJBKABAA
}

const wchar_t* const kDiskQuery = LR"(SELECT * FROM Win32_DIskDrive WHERE DeviceID = '\\\\.\\PHYSICALDRIVE0')";

struct ChainCase {
    const char* name;
    std::function<void(FakeMachine&)> setup;
    const wchar_t* expected;
};

TEST(BuildMachineId, TakesTheFirstFullSource) {
    const ChainCase cases[] = {
        {"storage serial",
         [](FakeMachine& m) {
             StorageSerial(m, "S1ABCDEFGH");
             SmartSerial(m, "OTHER123");
             m.wmi[kDiskQuery] = {{"SerialNumber", "WMI12345"}};
             Processor(m, 0x000906EA);
             Adapter(m);
         },
         L"BBADCFEHG"},
        {"storage serial too short (DWACBII): SMART identify by gimAuto",
         [](FakeMachine& m) {
             StorageSerial(m, "WD-ABC123");
             SmartSerial(m, "WD-WCAV12345678");
         },
         L"CIKMEFGHI"},
        {"hex storage serial with an incomplete group: zero rights inside gimAuto decodes it",
         [](FakeMachine& m) {
             m.devices[test::kDrive0].openWithRights = false;
             StorageSerial(m, "414243444546474849");
         },
         L"CADCFEHGI"},
        {"only the inquiry of the pass-through by name",
         [](FakeMachine& m) {
             m.devices[test::kDrive0].handlers[kIoctlScsiPassThrough] = [](const Bytes& in) {
                 const Bytes inquiry = test::ScsiInquiry(0, "ATA", "DISK", "1.0", "5VM1ABCD");
                 Bytes out = in;
                 const size_t dataAt = in[0] + 32;
                 out.resize(dataAt + 192, 0);
                 std::copy(inquiry.begin(), inquiry.end(), out.begin() + dataAt);
                 return Reply{true, out};
             };
         },
         L"GGVMFABCD"},
        {"only WMI (as under Wine)",
         [](FakeMachine& m) {
             StorageSerial(m, "3132333435");  // ten hex digits: the storage source fails
             m.wmi[kDiskQuery] = {{"SerialNumber", "WINEHDISK"}, {"Model", "Wine Disk Drive"}};
             Processor(m, 0x000906EA);
             Adapter(m);
         },
         L"JINEHDISK"},
        {"Windows 9x: gimAuto has no ports or ASPI, gimNT answers",
         [](FakeMachine& m) {
             m.version = OsVersion{1, 4, 10};
             SmartSerial(m, "WD-WCAV12345678");
         },
         L"DIKMEFGHI"},
        {"no disk serial: SMART identify text",
         [](FakeMachine& m) {
             m.devices[test::kDrive0].handlers[kIoctlScsiMiniport] = [](const Bytes&) {
                 Bytes out(580, 0);
                 const wchar_t units[] = L"LKNMPORQ";  // words swapped pairwise as the answer holds them
                 for (int i = 0; i < 8; ++i)
                     out[124 + 2 * i] = static_cast<uint8_t>(units[i]);
                 return Reply{true, out};
             };
             Processor(m, 0x000906EA);
         },
         L"KKLMNOPQR"},
        {"no disk: processor signature with adapter address",
         [](FakeMachine& m) {
             Processor(m, 0x000906EA);
             Adapter(m);
         },
         L"OCEJNCJBK"},
        {"no disk, no adapter: processor signature alone", [](FakeMachine& m) { Processor(m, 0x000906EA); },
         L"PCEJNOMEA"},
        {"no disk, short processor signature: adapter alone",
         [](FakeMachine& m) {
             Processor(m, 0x00000001);
             Adapter(m);
         },
         L"MCJBKABAA"},
        {"nothing but the processor's short signature: BIOS date code",
         [](FakeMachine& m) { Processor(m, 0x00000001); }, L"SWCTBDSFM"},
        {"BIOS date code shorter than 8 letters is returned as it is",
         [](FakeMachine& m) {
             Processor(m, 0x00000001);
             m.registry["HARDWARE\\DESCRIPTION\\System|SystemBiosDate"] = "01/15/09";
         },
         L"SRARBIBI"},
    };
    for (const ChainCase& c : cases) {
        FakeMachine m;
        c.setup(m);
        EXPECT_EQ(BuildMachineId(m), c.expected) << c.name;
    }
}

TEST(BuildMachineId, StopsAtTheFirstFullSource) {
    FakeMachine m;
    StorageSerial(m, "S1ABCDEFGH");
    m.wmi[kDiskQuery] = {{"SerialNumber", "WMI12345"}};
    Adapter(m);
    ASSERT_EQ(BuildMachineId(m), L"BBADCFEHG");
    EXPECT_TRUE(m.wmiQueries.empty());
    EXPECT_TRUE(m.RequestsWith(kSmartGetVersion).empty());
}

TEST(BuildMachineId, TriesEveryMethodInOrderOnTheFirstDrive) {
    FakeMachine m;
    m.wmi[kDiskQuery] = {{"SerialNumber", "WINEHDISK"}};
    ASSERT_EQ(BuildMachineId(m), L"JINEHDISK");
    // gimAuto (NT, then SCSI port 0, then zero rights), gimNT, gimScsi, gimByName and gimZeroRights each tried
    // the first drive; gim9x and gimASPI failed without a device.
    std::vector<std::string> opened;
    for (const auto& [path, access] : m.opens)
        opened.push_back(path);
    const std::vector<std::string> expected = {
        test::kDrive0,                                    // storage serial
        test::kDrive0,   "\\\\.\\Scsi0:", test::kDrive0,  // gimAuto
        test::kDrive0,                                    // gimNT
        "\\\\.\\Scsi0:",                                  // gimScsi
        test::kDrive0,   test::kDrive0,                   // gimByName, then zero rights on the name
        test::kDrive0,                                    // gimZeroRights
    };
    EXPECT_EQ(std::vector<std::string>(opened.begin(), opened.begin() + expected.size()), expected);
}

TEST(BuildMachineId, EmptyMachineGivesTheBiosFallbackAndNeverThrows) {
    FakeMachine m;
    m.version.reset();
    EXPECT_EQ(BuildMachineId(m), L"SOWCTOWCT");  // n = 261007, CPUID 0: v = n
}

}  // namespace
}  // namespace identity
