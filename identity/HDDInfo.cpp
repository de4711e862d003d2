// Disk identification: the eight acquisition methods and the decoding of the identify block. Request layouts are
// written byte by byte (little-endian) so that what goes to the driver is visible here and in the tests; answers
// are read with bounds checks, since a driver may report offsets or counts past the buffer it filled.
#include "identity/HDDInfo.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "identity/Bytes_p.h"

namespace identity {
namespace {

uint64_t Get64(const uint8_t* p) {
    return Get32(p) | (static_cast<uint64_t>(Get32(p + 4)) << 32);
}

[[noreturn]] void Fail(const char* message) {
    throw THDDInfoError(message);
}

// Delphi-style trim of an 8-bit field: characters of code 32 or less go at both ends.
std::string TrimField(const uint8_t* p, size_t length) {
    size_t begin = 0, end = length;
    while (begin < end && p[begin] <= 32)
        ++begin;
    while (end > begin && p[end - 1] <= 32)
        --end;
    return std::string(reinterpret_cast<const char*>(p + begin), end - begin);
}

// Up to `limit` bytes from `offset` of a buffer of `size` bytes, stopping at the first byte below `stop`.
// An offset at or past the end gives the empty text.
std::string TextAt(const uint8_t* buffer, size_t size, size_t offset, size_t limit, uint8_t stop) {
    std::string text;
    for (size_t i = offset; i < size && text.size() < limit && buffer[i] >= stop; ++i) {
        text.push_back(static_cast<char>(buffer[i]));
    }
    return text;
}

void CopyText(const std::string& text, uint8_t* field, size_t limit) {
    std::memcpy(field, text.data(), std::min(text.size(), limit));
}

// WMI gives numbers as decimal text (64-bit ones as strings); a value that is not a number counts as 0.
int64_t WmiNumber(const std::string& text) {
    int64_t value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    while (first < last && *first == ' ')
        ++first;
    if (std::from_chars(first, last, value).ec != std::errc())
        return 0;
    return value;
}

// "PhysicalDrive" followed by one digit 0 to 3, in any letter case; -1 for any other name.
int SmartDriveOfName(const std::string& name) {
    static const char kPrefix[] = "physicaldrive";
    const size_t prefixLength = sizeof(kPrefix) - 1;
    if (name.size() != prefixLength + 1)
        return -1;
    for (size_t i = 0; i < prefixLength; ++i) {
        char c = name[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != kPrefix[i])
            return -1;
    }
    const char digit = name[prefixLength];
    if (digit < '0' || digit > '3')
        return -1;
    return digit - '0';
}

// SENDCMDINPARAMS (33 bytes without its data byte) for an ATA IDENTIFY DEVICE of one 512-byte sector.
constexpr size_t kSendCmdInSize = 32;
constexpr size_t kSendCmdOutHeader = 16;  // cBufferSize and DRIVERSTATUS
constexpr size_t kIdentifySize = 512;

void PutIdentifyCommand(uint8_t* p, uint8_t driveHead, uint8_t driveNumber) {
    Put32(p, kIdentifySize);
    p[4] = 0;          // features
    p[5] = 1;          // sector count
    p[6] = 1;          // sector number
    p[7] = 0;          // cylinder low
    p[8] = 0;          // cylinder high
    p[9] = driveHead;  // drive/head
    p[10] = 0xEC;      // IDENTIFY DEVICE
    p[12] = driveNumber;
}

// SCSI_PASS_THROUGH as the driver of this process expects it: DataBufferOffset is pointer-sized, which moves the
// later fields on 64-bit Windows.
constexpr bool kPointer64 = sizeof(void*) == 8;
constexpr size_t kSptDataBufferOffsetAt = kPointer64 ? 24 : 20;
constexpr size_t kSptSenseInfoOffsetAt = kPointer64 ? 32 : 24;
constexpr size_t kSptCdbAt = kPointer64 ? 36 : 28;
constexpr size_t kSptSize = kPointer64 ? 56 : 44;
constexpr size_t kSptSenseAt = kSptSize;
constexpr size_t kSptDataAt = kSptSize + 32;
constexpr size_t kSptDataLength = 192;

// SCSI_ADAPTER_BUS_INFO and SCSI_INQUIRY_DATA of IOCTL_SCSI_GET_INQUIRY_DATA.
constexpr size_t kInquiryBufferSize = 2049;
constexpr size_t kBusDataAt = 4;
constexpr size_t kBusDataSize = 8;
constexpr size_t kInquiryEntryDataAt = 12;
constexpr size_t kInquiryDataBytes = 36;

}  // namespace

void DecodeSerial(const std::string& text, uint8_t* field, size_t length) {
    const bool hex = std::all_of(text.begin(), text.end(), IsHexDigit);
    if (!hex) {
        CopyText(text, field, length + 1);
        return;
    }
    const size_t digits = std::min(text.size(), 2 * length);
    for (size_t i = 0; i + 1 < digits; i += 2) {
        field[i / 2] = static_cast<uint8_t>(HexValue(text[i]) * 16 + HexValue(text[i + 1]));
    }
    for (size_t i = 0; i + 1 < length; i += 2)
        std::swap(field[i], field[i + 1]);
}

void SwapIdentifyStrings(IdentifyBlock& block) {
    auto swapWords = [&](size_t first, size_t last) {
        for (size_t w = first; w <= last; ++w)
            std::swap(block[2 * w], block[2 * w + 1]);
    };
    swapWords(10, 19);
    swapWords(23, 46);
}

THDDInfo::THDDInfo(MachineQueries& queries) : queries_(queries) {
    const auto version = queries_.GetOsVersion();
    isNT_ = version && version->platform == 2;
    aspiLoaded_ = queries_.AspiLoaded();
    if (aspiLoaded_)
        ScanAspi();
}

void THDDInfo::SetDrive(TDrive drive) {
    drive_ = drive;
    deviceName_ = "PhysicalDrive" + std::to_string(static_cast<int>(drive));
    GetInfo();
}

void THDDInfo::SetDeviceName(const std::string& name) {
    deviceName_ = name;
    GetInfo();
}

void THDDInfo::GetInfo() {
    std::fill(block_.begin(), block_.begin() + 256, uint8_t{0});
    RunMethod(method_);
    Decode();
}

void THDDInfo::RunMethod(TGetInfoMethod method) {
    const int drive = static_cast<int>(drive_);
    switch (method) {
        case gimAuto:
            if (isNT_) {
                try {
                    ReadNt(drive);
                    return;
                } catch (const THDDInfoError&) {
                }
                try {
                    ReadScsi(drive);
                    return;
                } catch (const THDDInfoError&) {
                }
                ReadZeroRights("PhysicalDrive" + std::to_string(drive));
            } else {
                try {
                    Read9x(drive);
                    return;
                } catch (const THDDInfoError&) {
                }
                ReadAspi();
            }
            return;
        case gimNT:
            ReadNt(drive);
            return;
        case gimScsi:
            ReadScsi(drive);
            return;
        case gim9x:
            Read9x(drive);
            return;
        case gimByName:
            try {
                ReadByName(deviceName_);
            } catch (const THDDInfoError&) {
                ReadZeroRights(deviceName_);
            }
            return;
        case gimASPI:
            ReadAspi();
            return;
        case gimZeroRights:
            ReadZeroRights("PhysicalDrive" + std::to_string(drive));
            return;
        case gimWMI:
            ReadWmi(drive);
            return;
    }
}

void THDDInfo::Decode() {
    auto word = [&](size_t n) { return static_cast<int>(Get16(&block_[2 * n])); };
    isIDE_ = !notIde_;
    const int config = word(0);
    if (!isIDE_) {
        switch (config) {
            case 0:
                hddType_ = dtFixed;
                break;
            case 1:
                hddType_ = dtTape;
                break;
            case 5:
                hddType_ = dtCDROM;
                break;
            case 7:
                hddType_ = dtOptical;
                break;
            case 12:
                hddType_ = dtArray;
                break;
            default:
                hddType_ = dtUnknown;
                break;
        }
    } else if (config & 0x8000) {
        hddType_ = dtCDROM;
    } else if (config & 0x80) {
        hddType_ = dtRemovable;
    } else if (config & 0x40) {
        hddType_ = dtFixed;
    } else {
        hddType_ = dtUnknown;
    }
    cylsTotal_ = word(1);
    headTotal_ = word(3);
    bpt_ = word(4);
    bps_ = word(5);
    spt_ = word(6);
    serial_ = TrimField(&block_[20], 20);
    revision_ = TrimField(&block_[46], 8);
    model_ = TrimField(&block_[54], 40);
    bufSize_ = word(21) * 512;
    ecc_ = word(22);
    lbaSectors_ = Get32(&block_[120]);
    const int64_t sectors = lbaSectors_ >= 16515072 ? static_cast<int64_t>(lbaSectors_)
                                                    : static_cast<int64_t>(cylsTotal_) * headTotal_ * spt_;
    size_ = sectors * 512;
}

// ---- SMART through the physical drive ------------------------------------------------------------------------

void THDDInfo::ReadNt(int drive) {
    auto device = queries_.OpenDevice("\\\\.\\PhysicalDrive" + std::to_string(drive), DeviceAccess::kReadWrite);
    if (!device)
        Fail(kErrNoHandle);
    uint8_t version[24] = {};
    uint32_t returned = 0;
    if (!device->Control(kSmartGetVersion, nullptr, 0, version, sizeof version, &returned))
        Fail(kErrIoctl);
    SmartIdentify(*device, drive);
}

// The register value ((n + 1) shl 4) or 0xA0 is what this component has always sent (it selects the slave
// bit for drive 0); drivers that answer SMART ignore it, and identities already stored were read with it.
void THDDInfo::SmartIdentify(DeviceHandle& device, int drive) {
    uint8_t in[kSendCmdInSize] = {};
    PutIdentifyCommand(in, static_cast<uint8_t>(((drive + 1) << 4) | 0xA0), static_cast<uint8_t>(drive));
    uint8_t out[kSendCmdOutHeader + kIdentifySize] = {};
    uint32_t returned = 0;
    if (!device.Control(kSmartRcvDriveData, in, sizeof in, out, sizeof out, &returned))
        Fail(kErrIoctl);
    if (out[4] != 0)
        Fail(kErrIoctlReturned);
    std::memcpy(block_.data(), out + kSendCmdOutHeader, kIdentifySize);
    SwapIdentifyStrings(block_);
    notIde_ = false;
}

// ---- SMART through the SCSI miniport, or the port's inquiry data ---------------------------------------------

void THDDInfo::ReadScsi(int drive) {
    const int port = drive / 2;
    const int target = drive % 2;
    {
        auto device = queries_.OpenDevice("\\\\.\\Scsi" + std::to_string(port) + ":", DeviceAccess::kReadWrite);
        if (!device)
            Fail(kErrNoHandle);
        constexpr size_t kSrbIoControl = 28;
        constexpr size_t kInSize = 59;
        constexpr size_t kOutSize = kSrbIoControl + kSendCmdOutHeader + kIdentifySize;  // 556
        uint8_t buffer[kOutSize] = {};
        Put32(buffer, kSrbIoControl);
        std::memcpy(buffer + 4, "SCSIDISK", 8);
        Put32(buffer + 12, 1000);      // timeout
        Put32(buffer + 16, 0x1B0501);  // IOCTL_SCSI_MINIPORT_IDENTIFY
        Put32(buffer + 24, kSendCmdOutHeader + kIdentifySize);
        PutIdentifyCommand(buffer + kSrbIoControl, target ? 0xB0 : 0xA0, static_cast<uint8_t>(target));
        uint32_t returned = 0;
        if (device->Control(kIoctlScsiMiniport, buffer, kInSize, buffer, kOutSize, &returned)) {
            const uint8_t* identify = buffer + kSrbIoControl + kSendCmdOutHeader;
            if (identify[54] != 0) {
                std::memcpy(block_.data(), identify, 256);
                SwapIdentifyStrings(block_);
            }
            notIde_ = false;
            return;
        }
    }
    const std::vector<uint8_t> info = ReadScsiInquiryData(port);
    if (info[kBusDataAt] < target + 1)
        Fail(kErrInquiryData);
    size_t entry = Get32(&info[kBusDataAt + 4]);
    if (target == 1) {
        if (entry + kInquiryEntryDataAt > info.size())
            Fail(kErrInquiryData);
        entry = Get32(&info[entry + 8]);
    }
    if (entry + kInquiryEntryDataAt + kInquiryDataBytes > info.size())
        Fail(kErrInquiryData);
    const uint8_t* inquiry = &info[entry + kInquiryEntryDataAt];
    switch (inquiry[0] & 0x1F) {
        case 0:
            Put16(&block_[0], 0x40);
            break;
        case 1:
        case 7:
            Put16(&block_[0], 0x80);
            break;
        case 5:
            Put16(&block_[0], 0x8000);
            break;
        default:
            break;
    }
    const std::string model =
        TextAt(inquiry, kInquiryDataBytes, 8, 8, 1) + TextAt(inquiry, kInquiryDataBytes, 16, 16, 1);
    CopyText(model, &block_[54], 40);
    CopyText(TextAt(inquiry, kInquiryDataBytes, 32, 4, 1), &block_[46], 8);
    notIde_ = false;
}

std::vector<uint8_t> THDDInfo::ReadScsiInquiryData(int port) {
    auto device = queries_.OpenDevice("\\\\.\\Scsi" + std::to_string(port) + ":", DeviceAccess::kReadWrite);
    if (!device)
        Fail(kErrNoHandle);
    std::vector<uint8_t> info(kInquiryBufferSize, 0);
    uint32_t returned = 0;
    if (!device->Control(kIoctlScsiGetInquiryData, nullptr, 0, info.data(), info.size(), &returned)) {
        Fail(kErrIoctl);
    }
    return info;
}

// ---- Direct IDE port access (Windows 9x) ---------------------------------------------------------------------

void THDDInfo::Read9x(int drive) {
    static const uint16_t kBase[] = {0x1F0, 0x1F0, 0x170, 0x170, 0x1E8, 0x1E8, 0x168, 0x168};
    if (drive < 0 || drive > 7 || !queries_.OpenPortAccess())
        Fail(kErrNoDevice);
    const uint16_t base = kBase[drive];
    const uint16_t status = base + 7;
    auto poll = [&](uint8_t want) {
        for (int i = 0; i < 100000; ++i) {
            const uint8_t s = queries_.InPortByte(status);
            if (s & 0x01)
                Fail(kErrNoDevice);
            if ((s & want) == want)
                return;
        }
        Fail(kErrNoDevice);
    };
    poll(0x40);
    queries_.OutPortByte(base + 6, (drive & 1) ? 0xB0 : 0xA0);
    poll(0x40);
    queries_.OutPortByte(status, 0xEC);
    poll(0x40);
    queries_.OutPortByte(status, 0xA1);
    poll(0x48);
    for (size_t w = 0; w < 256; ++w)
        Put16(&block_[2 * w], queries_.InPortWord(base));
    SwapIdentifyStrings(block_);
    notIde_ = false;
}

// ---- SCSI INQUIRY pass-through and SMART by device name ------------------------------------------------------

void THDDInfo::ReadByName(const std::string& name) {
    auto device = queries_.OpenDevice("\\\\.\\" + name, DeviceAccess::kReadWrite);
    if (!device)
        Fail(kErrNoHandle);
    constexpr size_t kOutSize = kSptDataAt + kSptDataLength;
    uint8_t buffer[kOutSize] = {};
    Put16(buffer, kSptSize);
    buffer[6] = 6;   // CDB length
    buffer[7] = 24;  // sense length
    buffer[8] = 1;   // data in
    Put32(buffer + 12, kSptDataLength);
    Put32(buffer + 16, 2);  // timeout in seconds
    Put32(buffer + kSptDataBufferOffsetAt, kSptDataAt);
    Put32(buffer + kSptSenseInfoOffsetAt, kSptSenseAt);
    buffer[kSptCdbAt] = 0x12;  // INQUIRY
    buffer[kSptCdbAt + 4] = kSptDataLength;
    uint32_t returned = 0;
    bool modelRead = false;
    if (device->Control(kIoctlScsiPassThrough, buffer, kSptSize, buffer, kOutSize, &returned)) {
        const uint8_t* data = buffer + kSptDataAt;
        Put16(&block_[0], data[0] & 0x1F);
        std::string model(reinterpret_cast<const char*>(data + 8), 8);
        model += ' ';
        model.append(reinterpret_cast<const char*>(data + 16), 16);
        CopyText(model, &block_[54], 40);
        std::memcpy(&block_[46], data + 32, 4);
        CopyText(TextAt(data, kSptDataLength, 36, 20, 1), &block_[20], 20);
        notIde_ = true;
        modelRead = true;
    }
    const int drive = SmartDriveOfName(name);
    if (drive >= 0) {
        uint8_t version[24] = {};
        if (device->Control(kSmartGetVersion, nullptr, 0, version, sizeof version, &returned)) {
            SmartIdentify(*device, drive);
            return;
        }
    }
    if (!modelRead)
        Fail(kErrByName);
}

// ---- Storage property query and geometry without access rights -----------------------------------------------

void THDDInfo::ReadZeroRights(const std::string& name) {
    auto device = queries_.OpenDevice("\\\\.\\" + name, DeviceAccess::kNone);
    if (!device)
        Fail(kErrNoHandle);
    const uint8_t query[18] = {};
    std::vector<uint8_t> out(10000, 0);
    uint32_t returned = 0;
    if (!device->Control(kIoctlStorageQueryProperty, query, sizeof query, out.data(), out.size(), &returned)) {
        Fail(kErrZeroRights);
    }
    // STORAGE_DEVICE_DESCRIPTOR: device type at 8, then the offsets of product id, revision and serial number;
    // offset 0 means the device has no such text (reading there would give the descriptor's own version field).
    auto text = [&](size_t offsetAt, size_t limit, uint8_t stop) {
        const uint32_t offset = Get32(&out[offsetAt]);
        return offset ? TextAt(out.data(), out.size(), offset, limit, stop) : std::string();
    };
    Put16(&block_[0], out[8]);
    const std::string model = text(16, 40, 32);
    CopyText(model, &block_[54], 40);
    CopyText(text(20, 8, 1), &block_[46], 8);
    DecodeSerial(text(24, 128, 1), &block_[20], 20);
    notIde_ = true;

    const int drive = SmartDriveOfName(name);
    if (drive < 0)
        return;
    uint8_t geometry[256] = {};
    if (!device->Control(kIoctlDiskGetDriveGeometryEx, nullptr, 0, geometry, sizeof geometry, &returned)) {
        if (model.empty())
            Fail(kErrZeroRights);
        return;
    }
    // DISK_GEOMETRY_EX: cylinders (64-bit), media type, tracks per cylinder, sectors per track, bytes per
    // sector, then the disk size in bytes (64-bit).
    const uint32_t mediaType = Get32(geometry + 8);
    if (mediaType == 12)
        Put16(&block_[0], 0x40);
    if (mediaType == 11)
        Put16(&block_[0], 0x80);
    const uint32_t heads = Get32(geometry + 12);
    const uint32_t sectorsPerTrack = Get32(geometry + 16);
    const uint32_t bytesPerSector = Get32(geometry + 20);
    Put16(&block_[2], static_cast<uint32_t>(Get64(geometry)));
    Put16(&block_[6], heads);
    Put16(&block_[12], sectorsPerTrack);
    Put16(&block_[10], bytesPerSector);
    Put16(&block_[8], sectorsPerTrack * bytesPerSector);
    // A driver reporting 0 bytes per sector leaves the sector count at 0 rather than dividing by zero.
    const uint64_t diskSize = Get64(geometry + 24);
    Put32(&block_[120], bytesPerSector ? static_cast<uint32_t>(diskSize / bytesPerSector) : 0);
    notIde_ = false;
}

// ---- WMI -----------------------------------------------------------------------------------------------------

void THDDInfo::ReadWmi(int drive) {
    const std::wstring number = std::to_wstring(drive);
    const auto disk = queries_.WmiFirstRow(
        LR"(SELECT * FROM Win32_DIskDrive WHERE DeviceID = '\\\\.\\PHYSICALDRIVE)" + number + L"'", 16);
    if (!disk)
        Fail(kErrWmi);
    int64_t sectorsPerTrack = 0, bytesPerSector = 0;
    for (const WmiProperty& property : *disk) {
        std::string name = property.name;
        for (char& c : name) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        const std::string& value = property.value;
        if (name == "totalcylinders") {
            Put16(&block_[2], static_cast<uint32_t>(WmiNumber(value)));
        } else if (name == "totalheads") {
            Put16(&block_[6], static_cast<uint32_t>(WmiNumber(value)));
        } else if (name == "totalsectors") {
            Put32(&block_[120], static_cast<uint32_t>(WmiNumber(value)));
        } else if (name == "sectorspertrack") {
            sectorsPerTrack = WmiNumber(value);
            Put16(&block_[12], static_cast<uint32_t>(sectorsPerTrack));
        } else if (name == "bytespersector") {
            bytesPerSector = WmiNumber(value);
            Put16(&block_[10], static_cast<uint32_t>(bytesPerSector));
        } else if (name == "serialnumber") {
            DecodeSerial(value, &block_[20], 20);
        } else if (name == "firmwarerevision") {
            CopyText(value, &block_[46], 8);
        } else if (name == "model") {
            CopyText(value, &block_[54], 40);
        }
    }
    Put16(&block_[8], static_cast<uint32_t>(sectorsPerTrack * bytesPerSector));
    Put16(&block_[0], 0x40);
    notIde_ = false;
    if (!TrimField(&block_[20], 20).empty())
        return;

    const auto media = queries_.WmiFirstRow(
        LR"(SELECT SerialNumber FROM Win32_PhysicalMedia  WHERE Tag = '\\\\.\\PHYSICALDRIVE)" + number + L"'", 16);
    if (!media)
        Fail(kErrWmi);
    for (const WmiProperty& property : *media) {
        std::string name = property.name;
        for (char& c : name) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        if (name == "serialnumber")
            DecodeSerial(property.value, &block_[20], 20);
    }
}

// ---- ASPI ----------------------------------------------------------------------------------------------------

void THDDInfo::ScanAspi() {
    aspiDevices_.clear();
    const uint32_t info = queries_.AspiSupportInfo();
    const int adapters = ((info >> 8) & 0xFF) == kAspiStatusComplete ? static_cast<int>(info & 0xFF) : 0;
    for (int adapter = 0; adapter < adapters; ++adapter) {
        uint8_t targets = 0;
        if (queries_.AspiHostAdapterInquiry(static_cast<uint8_t>(adapter), &targets) != kAspiStatusComplete) {
            continue;
        }
        if (targets == 0)
            targets = 8;
        for (int target = 0; target < targets; ++target) {
            for (int lun = 0; lun < 8; ++lun) {
                uint8_t type = 0;
                const AspiAddress address{static_cast<uint8_t>(adapter), static_cast<uint8_t>(target),
                                          static_cast<uint8_t>(lun)};
                if (queries_.AspiGetDeviceType(address.adapter, address.target, address.lun, &type) ==
                    kAspiStatusComplete) {
                    aspiDevices_.push_back(address);
                }
            }
        }
    }
}

void THDDInfo::ReadAspi() {
    if (!aspiLoaded_)
        Fail(kErrAspiMissing);
    AspiAddress address{};
    if (canonicalScsi_) {
        if (scsiPort_ < 0 || scsiBus_ < 0 || scsiDevice_ < 0)
            Fail(kErrDevNo);
        address = canonicalAddress_;
    } else {
        const size_t index = static_cast<size_t>(drive_);
        if (index >= aspiDevices_.size())
            Fail(kErrDevNo);
        address = aspiDevices_[index];
    }
    std::array<uint8_t, 59> data{};
    if (queries_.AspiInquiry(address.adapter, address.target, address.lun, &data) != kAspiStatusComplete) {
        Fail(kErrAspi);
    }
    Put16(&block_[0], data[0] & 0x1F);
    const std::string model = TextAt(data.data(), data.size(), 8, 8, 1) + TextAt(data.data(), data.size(), 16, 16, 1);
    CopyText(model, &block_[54], 40);
    CopyText(TextAt(data.data(), data.size(), 32, 4, 1), &block_[46], 8);
    notIde_ = true;
}

// ---- SCSI address ------------------------------------------------------------------------------------------

void THDDInfo::SetScsiPort(int port) {
    if (port < 0 || port == scsiPort_)
        return;
    if (isNT_) {
        try {
            scsiInquiry_ = ReadScsiInquiryData(port);
        } catch (const THDDInfoError&) {
            Fail(kErrPort);
        }
        scsiBusCount_ = scsiInquiry_[0];
    } else {
        const bool present = std::any_of(aspiDevices_.begin(), aspiDevices_.end(),
                                         [&](const AspiAddress& a) { return a.adapter == port; });
        if (!present)
            Fail(kErrPort);
        scsiBusCount_ = 1;
    }
    scsiPort_ = port;
    scsiBus_ = -1;
    scsiDevice_ = -1;
    scsiDevCount_ = 0;
}

void THDDInfo::SetScsiBus(int bus) {
    if (bus < 0 || bus == scsiBus_)
        return;
    if (scsiPort_ < 0 || bus >= scsiBusCount_)
        Fail(kErrBus);
    if (isNT_) {
        const size_t at = kBusDataAt + kBusDataSize * static_cast<size_t>(bus);
        if (at + kBusDataSize > scsiInquiry_.size())
            Fail(kErrBus);
        scsiDevCount_ = scsiInquiry_[at];
    } else {
        scsiDevCount_ = static_cast<int>(std::count_if(aspiDevices_.begin(), aspiDevices_.end(),
                                                       [&](const AspiAddress& a) { return a.adapter == scsiPort_; }));
    }
    scsiBus_ = bus;
    scsiDevice_ = -1;
}

void THDDInfo::SetScsiDevice(int device) {
    if (device < 0 || device == scsiDevice_)
        return;
    if (scsiBus_ < 0 || device >= scsiDevCount_)
        Fail(kErrDevice);
    if (isNT_) {
        // Walk the bus's chain of SCSI_INQUIRY_DATA entries (path, target, LUN, claimed, length, next offset).
        size_t entry = Get32(&scsiInquiry_[kBusDataAt + kBusDataSize * static_cast<size_t>(scsiBus_) + 4]);
        for (int i = 0;; ++i) {
            if (entry + kInquiryEntryDataAt > scsiInquiry_.size())
                Fail(kErrDevice);
            if (i == device)
                break;
            entry = Get32(&scsiInquiry_[entry + 8]);
        }
        canonicalAddress_ = {static_cast<uint8_t>(scsiPort_), scsiInquiry_[entry + 1], scsiInquiry_[entry + 2]};
    } else {
        int seen = 0;
        for (const AspiAddress& a : aspiDevices_) {
            if (a.adapter == scsiPort_ && seen++ == device)
                canonicalAddress_ = a;
        }
    }
    scsiDevice_ = device;
}

}  // namespace identity
