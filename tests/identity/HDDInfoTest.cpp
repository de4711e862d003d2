// The disk identification component over canned driver answers: each acquisition method, its failures and the
// decoding of the identify block.
#include <gtest/gtest.h>

#include <cstring>

#include "identity/FakeMachine.h"
#include "identity/HDDInfo.h"

namespace identity {
namespace {

using test::Bytes;
using test::FakeMachine;
using test::Handler;
using test::IdentifyFields;
using test::Reply;

Handler Answer(const Bytes& bytes) {
    return [bytes](const Bytes&) { return Reply{true, bytes}; };
}

Handler Refuse() {
    return [](const Bytes&) { return Reply{false, {}}; };
}

const IdentifyFields kDisk = {"WD-WCAV12345678", "01.01A01", "WDC WD5000AAKS-00V1A0", 0x0040, 16383, 16, 63, 976773168};

void AddSmartDrive(FakeMachine& m, const std::string& path, const Bytes& identify) {
    m.devices[path].handlers[kSmartGetVersion] = Answer(Bytes(24, 0));
    m.devices[path].handlers[kSmartRcvDriveData] = Answer(test::SmartReply(identify));
}

// The message of the THDDInfoError that call raises, or "(no failure)".
template <typename Call>
std::string FailureOf(Call&& call) {
    try {
        call();
    } catch (const THDDInfoError& e) {
        return e.what();
    }
    return "(no failure)";
}

std::string FailureOf(THDDInfo& info, TGetInfoMethod method, TDrive drive = dPrimaryMaster) {
    info.SetMethod(method);
    return FailureOf([&] { info.SetDrive(drive); });
}

TEST(THDDInfo, CreatedWithDefaults) {
    FakeMachine m;
    THDDInfo info(m);
    EXPECT_EQ(info.Method(), gimAuto);
    EXPECT_EQ(info.Drive(), dPrimaryMaster);
    EXPECT_EQ(info.ScsiPort(), -1);
    EXPECT_EQ(info.ScsiBus(), -1);
    EXPECT_EQ(info.ScsiDevice(), -1);
    EXPECT_TRUE(info.isNT());
    EXPECT_TRUE(m.requests.empty());  // nothing is read before a drive is set
}

TEST(THDDInfo, AutoOnNtReadsSmartWithStringsInReadingOrder) {
    FakeMachine m;
    AddSmartDrive(m, test::kDrive0, test::AtaIdentify(kDisk));
    THDDInfo info(m);
    info.SetDrive(dPrimaryMaster);
    EXPECT_EQ(info.Serial(), "WD-WCAV12345678");
    EXPECT_EQ(info.Model(), "WDC WD5000AAKS-00V1A0");
    EXPECT_EQ(info.Revision(), "01.01A01");
    EXPECT_TRUE(info.isIDE());
    EXPECT_EQ(info.HDDType(), dtFixed);
    EXPECT_EQ(info.CylsTotal(), 16383);
    EXPECT_EQ(info.HeadTotal(), 16);
    EXPECT_EQ(info.SPT(), 63);
    EXPECT_EQ(info.BPS(), 512);
    EXPECT_EQ(info.Size(), 976773168LL * 512);

    const auto smart = m.RequestsWith(kSmartRcvDriveData);
    ASSERT_EQ(smart.size(), 1u);
    const Bytes& in = smart[0].in;
    ASSERT_EQ(in.size(), 32u);
    EXPECT_EQ(smart[0].outSize, 528u);
    const uint8_t expected[] = {0, 2, 0, 0, 0, 1, 1, 0, 0, 0xB0, 0xEC, 0, 0};  // ((0 + 1) shl 4) or 0xA0
    EXPECT_EQ(Bytes(in.begin(), in.begin() + 13), Bytes(std::begin(expected), std::end(expected)));
    EXPECT_EQ(m.opens.at(0), std::make_pair(std::string(test::kDrive0), DeviceAccess::kReadWrite));
}

TEST(THDDInfo, NtFailuresCarryTheirMessages) {
    struct Case {
        const char* name;
        bool device;
        Handler version, receive;
        const char* message;
    };
    const Case cases[] = {
        {"no device", false, nullptr, nullptr, kErrNoHandle},
        {"SMART_GET_VERSION refused", true, Refuse(), Answer(test::SmartReply(test::AtaIdentify(kDisk))), kErrIoctl},
        {"SMART_RCV_DRIVE_DATA refused", true, Answer(Bytes(24, 0)), Refuse(), kErrIoctl},
        {"driver error", true, Answer(Bytes(24, 0)), Answer(test::SmartReply(test::AtaIdentify(kDisk), 1)),
         kErrIoctlReturned},
    };
    for (const Case& c : cases) {
        FakeMachine m;
        if (c.device) {
            m.devices[test::kDrive0].handlers[kSmartGetVersion] = c.version;
            m.devices[test::kDrive0].handlers[kSmartRcvDriveData] = c.receive;
        }
        THDDInfo info(m);
        EXPECT_EQ(FailureOf(info, gimNT), c.message) << c.name;
    }
}

TEST(THDDInfo, FailureKeepsThePreviousResults) {
    FakeMachine m;
    AddSmartDrive(m, test::kDrive0, test::AtaIdentify(kDisk));
    THDDInfo info(m);
    info.SetMethod(gimNT);
    info.SetDrive(dPrimaryMaster);
    EXPECT_EQ(FailureOf(info, gimNT, dPrimarySlave), kErrNoHandle);
    EXPECT_EQ(info.Serial(), "WD-WCAV12345678");
}

TEST(THDDInfo, SizeFromLbaOnlyFromTheGeometryLimitUp) {
    for (const auto& [lba, size] : {std::pair<uint32_t, int64_t>{16515071, 1000LL * 16 * 63 * 512},
                                    std::pair<uint32_t, int64_t>{16515072, 16515072LL * 512}}) {
        FakeMachine m;
        IdentifyFields f = kDisk;
        f.cylinders = 1000;
        f.lbaSectors = lba;
        AddSmartDrive(m, test::kDrive0, test::AtaIdentify(f));
        THDDInfo info(m);
        info.SetMethod(gimNT);
        info.SetDrive(dPrimaryMaster);
        EXPECT_EQ(info.Size(), size) << lba;
    }
}

TEST(THDDInfo, IdeTypeFromTheConfigurationWord) {
    const std::pair<uint16_t, TDriveType> cases[] = {
        {0x8580, dtCDROM}, {0x0080, dtRemovable}, {0x00C0, dtRemovable}, {0x0040, dtFixed}, {0x0000, dtUnknown}};
    for (const auto& [config, type] : cases) {
        FakeMachine m;
        IdentifyFields f = kDisk;
        f.config = config;
        AddSmartDrive(m, test::kDrive0, test::AtaIdentify(f));
        THDDInfo info(m);
        info.SetMethod(gimNT);
        info.SetDrive(dPrimaryMaster);
        EXPECT_EQ(info.HDDType(), type) << std::hex << config;
    }
}

// ---- SCSI miniport -------------------------------------------------------------------------------------------

TEST(THDDInfo, ScsiMiniportIdentifyOfTheSlaveOnPortZero) {
    FakeMachine m;
    Bytes reply(28 + 16, 0);
    const Bytes identify = test::AtaIdentify(kDisk);
    reply.insert(reply.end(), identify.begin(), identify.end());
    m.devices["\\\\.\\Scsi0:"].handlers[kIoctlScsiMiniport] = Answer(reply);
    THDDInfo info(m);
    info.SetMethod(gimScsi);
    info.SetDrive(dPrimarySlave);
    EXPECT_EQ(info.Serial(), "WD-WCAV12345678");
    EXPECT_EQ(info.Model(), "WDC WD5000AAKS-00V1A0");
    EXPECT_TRUE(info.isIDE());
    EXPECT_EQ(info.Block()[256], 0);  // only the first half of the identify data is taken

    const auto sent = m.RequestsWith(kIoctlScsiMiniport);
    ASSERT_EQ(sent.size(), 1u);
    const Bytes& in = sent[0].in;
    ASSERT_EQ(in.size(), 59u);
    EXPECT_EQ(sent[0].outSize, 556u);
    EXPECT_EQ(std::string(in.begin() + 4, in.begin() + 12), "SCSIDISK");
    EXPECT_EQ(in[0], 28);
    EXPECT_EQ(in[12] | in[13] << 8, 1000);
    EXPECT_EQ(in[16] | in[17] << 8 | in[18] << 16, 0x1B0501);
    EXPECT_EQ(in[24] | in[25] << 8, 528);
    EXPECT_EQ(in[28 + 9], 0xB0);  // odd target: slave
    EXPECT_EQ(in[28 + 10], 0xEC);
    EXPECT_EQ(in[28 + 12], 1);  // target
}

TEST(THDDInfo, ScsiFallsBackToInquiryData) {
    FakeMachine m;
    m.devices["\\\\.\\Scsi1:"].handlers[kIoctlScsiMiniport] = Refuse();
    m.devices["\\\\.\\Scsi1:"].handlers[kIoctlScsiGetInquiryData] =
        Answer(test::ScsiAdapterBusInfo({test::ScsiInquiry(0, "ATA", "FIRST DISK", "1.0"),
                                         test::ScsiInquiry(5, "HL-DT-ST", "DVDRAM GH22NS50", "TN02")}));
    THDDInfo info(m);
    info.SetMethod(gimScsi);
    info.SetDrive(dSecondarySlave);  // port 1, target 1: the linked entry
    EXPECT_EQ(info.Model(), "HL-DT-STDVDRAM GH22NS50");
    EXPECT_EQ(info.Revision(), "TN02");
    EXPECT_EQ(info.HDDType(), dtCDROM);
    EXPECT_EQ(info.Serial(), "");
    info.SetDrive(dSecondaryMaster);
    EXPECT_EQ(info.Model(), "ATA     FIRST DISK");
    EXPECT_EQ(info.HDDType(), dtFixed);
}

TEST(THDDInfo, ScsiInquiryDataFailures) {
    struct Case {
        const char* name;
        Bytes answer;
        const char* message;
    };
    Bytes oneDevice = test::ScsiAdapterBusInfo({test::ScsiInquiry(0, "ATA", "DISK", "1.0")});
    Bytes wildOffset = test::ScsiAdapterBusInfo(
        {test::ScsiInquiry(0, "ATA", "DISK", "1.0"), test::ScsiInquiry(0, "ATA", "DISK2", "1.0")});
    wildOffset[12 + 8] = 0xF0;  // next entry "at" 0x7FF0F0...
    wildOffset[12 + 10] = 0x7F;
    const Case cases[] = {
        {"fewer units than target + 1", oneDevice, kErrInquiryData},
        {"next offset past the buffer", wildOffset, kErrInquiryData},
    };
    for (const Case& c : cases) {
        FakeMachine m;
        m.devices["\\\\.\\Scsi0:"].handlers[kIoctlScsiGetInquiryData] = Answer(c.answer);
        THDDInfo info(m);
        EXPECT_EQ(FailureOf(info, gimScsi, dPrimarySlave), c.message) << c.name;
    }
    FakeMachine refused;
    refused.devices["\\\\.\\Scsi0:"].handlers[kIoctlScsiGetInquiryData] = Refuse();
    THDDInfo info(refused);
    EXPECT_EQ(FailureOf(info, gimScsi), kErrIoctl);
}

// ---- By name -------------------------------------------------------------------------------------------------

void AddPassThrough(FakeMachine& m, const std::string& path, const Bytes& inquiry) {
    m.devices[path].handlers[kIoctlScsiPassThrough] = [inquiry](const Bytes& in) {
        const size_t dataAt = in[0] | in[1] << 8;  // the request's own length: data follows sense after it
        Bytes out = in;
        out.resize(dataAt + 32 + 192, 0);
        std::copy(inquiry.begin(), inquiry.end(), out.begin() + dataAt + 32);
        return Reply{true, out};
    };
}

TEST(THDDInfo, ByNameReadsInquiryAndSmart) {
    FakeMachine m;
    const std::string path = "\\\\.\\PhysicalDrive1";
    AddPassThrough(m, path, test::ScsiInquiry(0, "ATA", "ST3500418AS", "CC38", "5VM1ABCD"));
    THDDInfo info(m);
    info.SetMethod(gimByName);
    info.SetDeviceName("PhysicalDrive1");
    // No SMART: the inquiry stands, as a SCSI result.
    EXPECT_EQ(info.Model(), "ATA      ST3500418AS");  // vendor, a blank, product
    EXPECT_EQ(info.Revision(), "CC38");
    EXPECT_EQ(info.Serial(), "5VM1ABCD");
    EXPECT_FALSE(info.isIDE());
    EXPECT_EQ(info.HDDType(), dtFixed);

    const auto sent = m.RequestsWith(kIoctlScsiPassThrough);
    ASSERT_EQ(sent.size(), 1u);
    const Bytes& in = sent[0].in;
    const size_t sptSize = sizeof(void*) == 8 ? 56 : 44;
    ASSERT_EQ(in.size(), sptSize);
    EXPECT_EQ(sent[0].outSize, sptSize + 32 + 192);
    EXPECT_EQ(in[6], 6);     // CDB length
    EXPECT_EQ(in[7], 24);    // sense length
    EXPECT_EQ(in[8], 1);     // data in
    EXPECT_EQ(in[12], 192);  // transfer length
    EXPECT_EQ(in[16], 2);    // timeout
    const size_t cdb = sizeof(void*) == 8 ? 36 : 28;
    EXPECT_EQ(in[cdb], 0x12);
    EXPECT_EQ(in[cdb + 4], 192);

    // With SMART on the same device, the identify data replaces the inquiry.
    AddSmartDrive(m, path, test::AtaIdentify(kDisk));
    info.SetDeviceName("PHYSICALDRIVE1");
    EXPECT_EQ(info.Serial(), "WD-WCAV12345678");
    EXPECT_TRUE(info.isIDE());
    EXPECT_EQ(m.RequestsWith(kSmartRcvDriveData).back().in[12], 1);
}

TEST(THDDInfo, ByNameAsksSmartOnlyOfDrivesZeroToThree) {
    FakeMachine m;
    const std::string path = "\\\\.\\PhysicalDrive7";
    AddPassThrough(m, path, test::ScsiInquiry(0, "ATA", "DISK", "1.0"));
    AddSmartDrive(m, path, test::AtaIdentify(kDisk));
    THDDInfo info(m);
    info.SetMethod(gimByName);
    info.SetDeviceName("PhysicalDrive7");
    EXPECT_TRUE(m.RequestsWith(kSmartGetVersion).empty());
    EXPECT_EQ(info.Model(), "ATA      DISK");
}

TEST(THDDInfo, ByNameFallsBackToZeroRightsOnTheName) {
    FakeMachine m;
    const std::string path = "\\\\.\\Tape0";
    m.devices[path].openWithRights = false;
    m.devices[path].handlers[kIoctlStorageQueryProperty] =
        Answer(test::StorageDescriptor("Ultrium 5", "Z21U", "HU1234ABCD", 1));
    THDDInfo info(m);
    info.SetMethod(gimByName);
    info.SetDeviceName("Tape0");
    EXPECT_EQ(info.Model(), "Ultrium 5");
    EXPECT_EQ(info.Serial(), "HU1234ABCD");
    EXPECT_EQ(info.HDDType(), dtTape);
    EXPECT_TRUE(m.RequestsWith(kIoctlDiskGetDriveGeometryEx).empty());  // not a drive 0 to 3

    FakeMachine nothing;
    THDDInfo none(nothing);
    none.SetMethod(gimByName);
    // The failure of the chain's last step.
    EXPECT_EQ(FailureOf([&] { none.SetDeviceName("PhysicalDrive0"); }), kErrNoHandle);
}

// ---- Zero rights ---------------------------------------------------------------------------------------------

Bytes Geometry(uint64_t cylinders, uint32_t media, uint32_t heads, uint32_t spt, uint32_t bps, uint64_t size) {
    Bytes b(32, 0);
    auto put = [&](size_t at, uint64_t v, int n) {
        for (int i = 0; i < n; ++i)
            b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    put(0, cylinders, 8);
    put(8, media, 4);
    put(12, heads, 4);
    put(16, spt, 4);
    put(20, bps, 4);
    put(24, size, 8);
    return b;
}

TEST(THDDInfo, ZeroRightsReadsDescriptorAndGeometry) {
    FakeMachine m;
    m.devices[test::kDrive0].openWithRights = false;
    m.devices[test::kDrive0].handlers[kIoctlStorageQueryProperty] =
        Answer(test::StorageDescriptor("Samsung SSD 860", "RVT01B6Q", "53334e38", 0));
    m.devices[test::kDrive0].handlers[kIoctlDiskGetDriveGeometryEx] =
        Answer(Geometry(0x10000 + 60801, 12, 255, 63, 512, 500107862016ULL));
    THDDInfo info(m);
    info.SetMethod(gimZeroRights);
    info.SetDrive(dPrimaryMaster);
    EXPECT_EQ(info.Model(), "Samsung SSD 860");
    EXPECT_EQ(info.Revision(), "RVT01B6Q");
    EXPECT_EQ(info.Serial(), "3S8N");  // hex, one byte per pair, bytes swapped in pairs
    EXPECT_TRUE(info.isIDE());
    EXPECT_EQ(info.HDDType(), dtFixed);
    EXPECT_EQ(info.CylsTotal(), 60801);  // low 16 bits
    EXPECT_EQ(info.HeadTotal(), 255);
    EXPECT_EQ(info.SPT(), 63);
    EXPECT_EQ(info.BPS(), 512);
    EXPECT_EQ(info.BPT(), 63 * 512);
    EXPECT_EQ(info.LBASectors(), 976773168u);
    EXPECT_EQ(m.opens.at(0).second, DeviceAccess::kNone);
    const auto query = m.RequestsWith(kIoctlStorageQueryProperty);
    ASSERT_EQ(query.size(), 1u);
    EXPECT_EQ(query[0].in, Bytes(18, 0));
    EXPECT_EQ(query[0].outSize, 10000u);
}

TEST(THDDInfo, ZeroRightsFailuresAndMissingTexts) {
    FakeMachine refused;
    refused.devices[test::kDrive0].handlers[kIoctlStorageQueryProperty] = Refuse();
    THDDInfo a(refused);
    EXPECT_EQ(FailureOf(a, gimZeroRights), kErrZeroRights);

    // No product id and no geometry: nothing to go on.
    FakeMachine bare;
    bare.devices[test::kDrive0].handlers[kIoctlStorageQueryProperty] =
        Answer(test::StorageDescriptor(nullptr, nullptr, "SERIAL1"));
    THDDInfo b(bare);
    EXPECT_EQ(FailureOf(b, gimZeroRights), kErrZeroRights);

    // Offsets of 0 mean "no such text", not the descriptor's own first bytes.
    FakeMachine noSerial;
    noSerial.devices[test::kDrive0].handlers[kIoctlStorageQueryProperty] =
        Answer(test::StorageDescriptor("Disk", nullptr, nullptr));
    THDDInfo c(noSerial);
    c.SetMethod(gimZeroRights);
    c.SetDrive(dPrimaryMaster);
    EXPECT_EQ(c.Serial(), "");
    EXPECT_EQ(c.Revision(), "");
    EXPECT_FALSE(c.isIDE());

    // Bytes per sector of 0 from a driver must not divide by zero.
    FakeMachine zeroSector;
    zeroSector.devices[test::kDrive0].handlers[kIoctlStorageQueryProperty] =
        Answer(test::StorageDescriptor("Disk", "1", "AB"));
    zeroSector.devices[test::kDrive0].handlers[kIoctlDiskGetDriveGeometryEx] = Answer(Geometry(1, 12, 1, 1, 0, 4096));
    THDDInfo d(zeroSector);
    d.SetMethod(gimZeroRights);
    d.SetDrive(dPrimaryMaster);
    EXPECT_EQ(d.LBASectors(), 0u);
}

TEST(DecodeSerial, HexPairsSwappedOrTextCopied) {
    struct Case {
        const char* text;
        const char* field;  // the 20-byte field, zeros shown as '.'
        char after;         // the byte after the field
    };
    const Case cases[] = {
        // 40 hex digits (how WMI gives some serials): 20 bytes, swapped in pairs into reading order.
        {"2020202057202d44435756413231343336352037", "     WD-WCAV1234567 ", '.'},
        {"3132333435363738393031323334353637383930", "21436587092143658709", '.'},
        {"41424344454647484950414243444546474849505152", "BADCFEHGPIBADCFEHGPI", '.'},  // only 2L digits
        {"414", ".A..................", '.'},  // the odd digit is dropped; the whole field is swapped
        {"WD-WCAV12345678", "WD-WCAV12345678.....", '.'},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ABCDEFGHIJKLMNOPQRST", 'U'},  // at most L + 1 characters
        {"", "....................", '.'},
    };
    for (const Case& c : cases) {
        uint8_t field[22] = {};
        DecodeSerial(c.text, field, 20);
        std::string shown;
        for (int i = 0; i < 21; ++i)
            shown.push_back(field[i] ? static_cast<char>(field[i]) : '.');
        EXPECT_EQ(shown, std::string(c.field) + c.after) << c.text;
        EXPECT_EQ(field[21], 0) << c.text;
    }
}

// ---- WMI -----------------------------------------------------------------------------------------------------

const wchar_t* const kDiskQuery = LR"(SELECT * FROM Win32_DIskDrive WHERE DeviceID = '\\\\.\\PHYSICALDRIVE0')";
const wchar_t* const kMediaQuery =
    LR"(SELECT SerialNumber FROM Win32_PhysicalMedia  WHERE Tag = '\\\\.\\PHYSICALDRIVE0')";

TEST(THDDInfo, WmiReadsTheDiskDriveRow) {
    FakeMachine m;
    m.wmi[kDiskQuery] = {
        {"Caption", "WDC WD5000AAKS"},     {"SerialNumber", "2020202057202d44435756413231343336352037"},
        {"FirmwareRevision", "01.03B01X"}, {"Model", "WDC WD5000AAKS-00V1A0 ATA Device"},
        {"TotalCylinders", "60801"},       {"TotalHeads", "255"},
        {"TotalSectors", "976768065"},     {"SectorsPerTrack", "63"},
        {"BytesPerSector", "512"},         {"Capabilities", "3|4"}};
    THDDInfo info(m);
    info.SetMethod(gimWMI);
    info.SetDrive(dPrimaryMaster);
    EXPECT_EQ(info.Serial(), "WD-WCAV1234567");
    EXPECT_EQ(info.Revision(), "01.03B01");
    EXPECT_EQ(info.Model(), "WDC WD5000AAKS-00V1A0 ATA Device");
    EXPECT_EQ(info.CylsTotal(), 60801);
    EXPECT_EQ(info.HeadTotal(), 255);
    EXPECT_EQ(info.LBASectors(), 976768065u);
    EXPECT_EQ(info.BPT(), 63 * 512);
    EXPECT_EQ(info.HDDType(), dtFixed);
    EXPECT_TRUE(info.isIDE());
    EXPECT_EQ(m.wmiQueries, std::vector<std::wstring>{kDiskQuery});
}

TEST(THDDInfo, WmiAsksPhysicalMediaWhenTheDiskHasNoSerial) {
    FakeMachine m;
    m.wmi[kDiskQuery] = {{"Model", "Virtual Disk"}, {"SerialNumber", ""}};
    m.wmi[kMediaQuery] = {{"SerialNumber", "  VB1234-5678"}};
    THDDInfo info(m);
    info.SetMethod(gimWMI);
    info.SetDrive(dPrimaryMaster);
    EXPECT_EQ(info.Serial(), "VB1234-5678");
    EXPECT_EQ(m.wmiQueries, (std::vector<std::wstring>{kDiskQuery, kMediaQuery}));

    FakeMachine none;
    THDDInfo failing(none);
    EXPECT_EQ(FailureOf(failing, gimWMI), kErrWmi);
}

// ---- Windows 9x ports and ASPI -------------------------------------------------------------------------------

TEST(THDDInfo, PortAccessReadsTheIdeChannel) {
    FakeMachine m;
    const Bytes identify = test::AtaIdentify(kDisk);
    size_t word = 0;
    m.inByte = [](uint16_t port) -> uint8_t { return port == 0x177 ? 0x58 : 0; };  // ready + data request
    m.inWord = [&](uint16_t port) -> uint16_t {
        EXPECT_EQ(port, 0x170);
        const uint16_t w = static_cast<uint16_t>(identify[2 * word] | identify[2 * word + 1] << 8);
        ++word;
        return w;
    };
    m.version = OsVersion{1, 4, 10};
    THDDInfo info(m);
    EXPECT_FALSE(info.isNT());
    info.SetMethod(gim9x);
    info.SetDrive(dSecondarySlave);
    EXPECT_EQ(info.Serial(), "WD-WCAV12345678");
    EXPECT_EQ(word, 256u);
    const std::vector<std::pair<uint16_t, uint8_t>> writes = {{0x176, 0xB0}, {0x177, 0xEC}, {0x177, 0xA1}};
    EXPECT_EQ(m.portWrites, writes);
}

TEST(THDDInfo, PortAccessFailsWithNoDevice) {
    struct Case {
        const char* name;
        std::function<uint8_t(uint16_t)> status;
    };
    const Case cases[] = {
        {"no port access (NT)", nullptr},
        {"never ready", [](uint16_t) -> uint8_t { return 0x80; }},
        {"error bit", [](uint16_t) -> uint8_t { return 0x41; }},
        {"ready but no data request", [](uint16_t) -> uint8_t { return 0x40; }},
    };
    for (const Case& c : cases) {
        FakeMachine m;
        m.inByte = c.status;
        m.inWord = [](uint16_t) -> uint16_t { return 0; };
        THDDInfo info(m);
        EXPECT_EQ(FailureOf(info, gim9x), kErrNoDevice) << c.name;
    }
}

std::array<uint8_t, 59> AspiInquiryData(uint8_t type, const std::string& vendor, const std::string& product) {
    const Bytes b = test::ScsiInquiry(type, vendor, product, "1.00");
    std::array<uint8_t, 59> data{};
    std::copy(b.begin(), b.begin() + 56, data.begin());
    return data;
}

TEST(THDDInfo, AspiByDriveNumberFromTheScan) {
    FakeMachine m;
    m.aspi = true;
    m.aspiInfo = 0x0102;  // complete, two adapters
    m.aspiTargets = 0;    // reported as 0: 8 targets are scanned
    m.aspiDevices[{0, 7, 0}] = AspiInquiryData(0, "IBM", "DDYS-T36950N");
    m.aspiDevices[{1, 2, 0}] = AspiInquiryData(5, "PLEXTOR", "CD-ROM PX-40TS");
    THDDInfo info(m);
    info.SetMethod(gimASPI);
    info.SetDrive(dPrimarySlave);  // the second device found
    EXPECT_EQ(info.Model(), "PLEXTOR CD-ROM PX-40TS");
    EXPECT_EQ(info.Revision(), "1.00");
    EXPECT_EQ(info.HDDType(), dtCDROM);
    EXPECT_FALSE(info.isIDE());
    info.SetDrive(dPrimaryMaster);
    EXPECT_EQ(info.Model(), "IBM     DDYS-T36950N");
    EXPECT_EQ(FailureOf(info, gimASPI, dSecondaryMaster), kErrDevNo);
    m.aspiInquiryFails = true;
    EXPECT_EQ(FailureOf(info, gimASPI, dPrimaryMaster), kErrAspi);

    FakeMachine none;
    THDDInfo missing(none);
    EXPECT_EQ(FailureOf(missing, gimASPI), kErrAspiMissing);
}

TEST(THDDInfo, AspiCanonicalAddressOnWindows9x) {
    FakeMachine m;
    m.version = OsVersion{1, 4, 10};
    m.aspi = true;
    m.aspiInfo = 0x0101;
    m.aspiTargets = 8;
    m.aspiDevices[{0, 1, 0}] = AspiInquiryData(0, "SEAGATE", "ST318406LW");
    m.aspiDevices[{0, 4, 0}] = AspiInquiryData(1, "HP", "C1537A");
    THDDInfo info(m);
    EXPECT_THROW(info.SetScsiPort(1), THDDInfoError);
    info.SetScsiPort(0);
    EXPECT_THROW(info.SetScsiBus(1), THDDInfoError);
    info.SetScsiBus(0);
    EXPECT_EQ(info.ScsiDevCount(), 2);
    EXPECT_THROW(info.SetScsiDevice(2), THDDInfoError);
    info.SetScsiDevice(1);
    info.SetMethod(gimASPI);
    info.SetCanonicalScsiAddressing(true);
    info.SetDrive(dPrimaryMaster);
    EXPECT_EQ(info.Model(), "HP      C1537A");
    EXPECT_EQ(info.HDDType(), dtTape);
}

TEST(THDDInfo, ScsiAddressOnNtFromThePortsInquiryData) {
    FakeMachine m;
    m.devices["\\\\.\\Scsi2:"].handlers[kIoctlScsiGetInquiryData] =
        Answer(test::ScsiAdapterBusInfo({test::ScsiInquiry(0, "A", "B", "C"), test::ScsiInquiry(0, "D", "E", "F")}));
    THDDInfo info(m);
    EXPECT_EQ(FailureOf([&] { info.SetScsiPort(1); }), kErrPort);
    info.SetScsiPort(-5);
    EXPECT_EQ(info.ScsiPort(), -1);
    info.SetScsiPort(2);
    EXPECT_EQ(info.ScsiBusCount(), 1);
    EXPECT_EQ(FailureOf([&] { info.SetScsiBus(1); }), kErrBus);
    info.SetScsiBus(0);
    EXPECT_EQ(info.ScsiDevCount(), 2);
    EXPECT_EQ(FailureOf([&] { info.SetScsiDevice(2); }), kErrDevice);
    info.SetScsiDevice(1);
    EXPECT_EQ(info.ScsiDevice(), 1);
}

}  // namespace
}  // namespace identity
