// A machine made of canned answers for the identity's queries, and builders for the answers drivers give:
// ATA identify blocks, storage device descriptors, SMART replies, SCSI inquiry data. Every device request is
// recorded, so tests can check what was sent as well as what came of the answer.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "identity/MachineQueries.h"

namespace identity::test {

using Bytes = std::vector<uint8_t>;

// What a device answers to one control code: success and the bytes written to the output buffer. The handler
// sees the input bytes, so it can answer like a driver that reads the request.
struct Reply {
    bool ok = true;
    Bytes out;
};
using Handler = std::function<Reply(const Bytes& in)>;

struct FakeDevice {
    bool openWithRights = true;            // can be opened for reading and writing (an administrator)
    bool openWithoutRights = true;         // can be opened with no access rights
    std::map<uint32_t, Handler> handlers;  // control codes without a handler fail
};

struct Request {
    std::string path;
    uint32_t code;
    Bytes in;
    size_t outSize;
};

class FakeMachine : public MachineQueries {
  public:
    std::map<std::string, FakeDevice> devices;  // by full path, e.g. "\\\\.\\PhysicalDrive0"
    std::vector<std::pair<std::string, DeviceAccess>> opens;
    std::vector<Request> requests;

    std::optional<OsVersion> version = OsVersion{2, 6, 1};
    std::map<uint32_t, CpuidRegs> cpuid;
    std::map<std::wstring, WmiRow> wmi;  // by exact query text; other queries fail
    std::vector<std::wstring> wmiQueries;
    std::vector<uint8_t> lanas;
    bool resetOk = true;
    std::optional<std::array<uint8_t, 6>> mac;
    std::map<std::string, std::string> registry;  // "key|value" -> text
    std::optional<std::array<char, 8>> romDate;

    // IDE ports: when set, port access is open and status/data come from these.
    std::function<uint8_t(uint16_t)> inByte;
    std::function<uint16_t(uint16_t)> inWord;
    std::vector<std::pair<uint16_t, uint8_t>> portWrites;

    // ASPI: when loaded, devices by (adapter, target, lun) with their 59 inquiry bytes.
    bool aspi = false;
    uint32_t aspiInfo = 0;
    uint8_t aspiTargets = 0;
    std::map<std::array<uint8_t, 3>, std::array<uint8_t, 59>> aspiDevices;
    bool aspiInquiryFails = false;

    std::unique_ptr<DeviceHandle> OpenDevice(const std::string& path, DeviceAccess access) override;
    std::optional<OsVersion> GetOsVersion() override { return version; }
    CpuidRegs Cpuid(uint32_t leaf) override { return cpuid.count(leaf) ? cpuid[leaf] : CpuidRegs{}; }
    std::optional<WmiRow> WmiFirstRow(const std::wstring& wql, uint32_t flags) override;
    std::vector<uint8_t> EnumLanAdapters() override { return lanas; }
    bool ResetAdapter(uint8_t) override { return resetOk; }
    std::optional<std::array<uint8_t, 6>> AdapterAddress(uint8_t) override { return mac; }
    std::optional<std::string> ReadMachineRegString(const std::string& key, const std::string& value) override;
    std::optional<std::array<char, 8>> ReadRomBiosDate() override { return romDate; }
    bool OpenPortAccess() override { return static_cast<bool>(inByte); }
    uint8_t InPortByte(uint16_t port) override { return inByte(port); }
    void OutPortByte(uint16_t port, uint8_t value) override { portWrites.emplace_back(port, value); }
    uint16_t InPortWord(uint16_t port) override { return inWord(port); }
    bool AspiLoaded() override { return aspi; }
    uint32_t AspiSupportInfo() override { return aspiInfo; }
    uint8_t AspiHostAdapterInquiry(uint8_t adapter, uint8_t* maxTargets) override;
    uint8_t AspiGetDeviceType(uint8_t adapter, uint8_t target, uint8_t lun, uint8_t* deviceType) override;
    uint8_t AspiInquiry(uint8_t adapter, uint8_t target, uint8_t lun, std::array<uint8_t, 59>* data) override;

    // Requests sent with one control code, in order.
    std::vector<Request> RequestsWith(uint32_t code) const;
};

// ---- Canned driver answers -----------------------------------------------------------------------------------

struct IdentifyFields {
    std::string serial;    // 20 characters at most
    std::string revision;  // 8
    std::string model;     // 40
    uint16_t config = 0x0040;
    uint16_t cylinders = 0, heads = 0, sectorsPerTrack = 0;
    uint32_t lbaSectors = 0;
};
// A 512-byte ATA identify block as a drive sends it: strings blank-padded, each word high byte first.
Bytes AtaIdentify(const IdentifyFields& fields);
// SENDCMDOUTPARAMS: 16-byte header (driver error at byte 4) followed by the identify block.
Bytes SmartReply(const Bytes& identify, uint8_t driverError = 0);

// STORAGE_DEVICE_DESCRIPTOR with its texts after the 40-byte header; a null text gets offset 0.
Bytes StorageDescriptor(const char* productId, const char* revision, const char* serial, uint8_t deviceType = 0);

// A 36-byte SCSI standard inquiry answer.
Bytes ScsiInquiry(uint8_t peripheralType,
                  const std::string& vendor,
                  const std::string& product,
                  const std::string& revision,
                  const std::string& vendorSpecific = "");

// IOCTL_SCSI_GET_INQUIRY_DATA for one bus with the given devices (target ids 0, 1, ...), chained.
Bytes ScsiAdapterBusInfo(const std::vector<Bytes>& inquiries);

inline const char* kDrive0 = "\\\\.\\PhysicalDrive0";

}  // namespace identity::test
