// The raw questions the machine identity asks the system: device control requests, WMI rows, NetBIOS adapter
// status, CPUID, the registry, the Windows version, IDE ports and ASPI. Everything that turns their answers into
// an identity lives above this interface, so tests can replay recorded or invented answers through a fake while
// the program uses the Win32 implementation (Win32MachineQueries.h).
//
// Contract: one caller at a time (the identity runs once, on the GUI thread). Byte buffers are the caller's and
// stay valid for the duration of the call only. Texts are 8-bit unless they are WMI query strings.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace identity {

// Control codes of the requests the disk identification sends.
inline constexpr uint32_t kIoctlStorageQueryProperty = 0x2D1400;
inline constexpr uint32_t kIoctlDiskGetDriveGeometryEx = 0x700A0;
inline constexpr uint32_t kSmartGetVersion = 0x74080;
inline constexpr uint32_t kSmartRcvDriveData = 0x7C088;
inline constexpr uint32_t kIoctlScsiMiniport = 0x4D008;
inline constexpr uint32_t kIoctlScsiPassThrough = 0x4D004;
inline constexpr uint32_t kIoctlScsiGetInquiryData = 0x4100C;

// How a device is opened: reading and writing, or with no access rights at all (enough for the storage property
// query and the geometry, and allowed to ordinary users). Both share reading and writing and open existing only.
enum class DeviceAccess { kReadWrite, kNone };

// An open device; closing it is the destructor's business.
class DeviceHandle {
  public:
    virtual ~DeviceHandle() = default;
    // One device control request. `in` and `out` may be the same buffer. Returns whether the system call
    // succeeded; `returned` receives the byte count the driver reported.
    virtual bool Control(uint32_t code,
                         const void* in,
                         size_t inSize,
                         void* out,
                         size_t outSize,
                         uint32_t* returned) = 0;
};

struct OsVersion {
    uint32_t platform = 0;  // 1: Windows 9x, 2: the NT family
    uint32_t major = 0;
    uint32_t minor = 0;
};

struct CpuidRegs {
    uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
};

// One WMI object: its non-system properties, each value as 8-bit text (integers in decimal, Booleans as "True"
// or "False", arrays joined with "|", null as empty).
struct WmiProperty {
    std::string name;
    std::string value;
};
using WmiRow = std::vector<WmiProperty>;

// SRB status codes of ASPI that the component looks at.
inline constexpr uint8_t kAspiStatusComplete = 0x01;

class MachineQueries {
  public:
    virtual ~MachineQueries() = default;

    // "\\.\" device names; null when the device cannot be opened.
    virtual std::unique_ptr<DeviceHandle> OpenDevice(const std::string& path, DeviceAccess access) = 0;

    virtual std::optional<OsVersion> GetOsVersion() = 0;
    virtual CpuidRegs Cpuid(uint32_t leaf) = 0;

    // The first object of a WQL query in namespace root\CIMV2 on this computer; null when connecting, the query
    // or the enumeration fails, or the result set is empty.
    virtual std::optional<WmiRow> WmiFirstRow(const std::wstring& wql, uint32_t flags) = 0;

    // NetBIOS: the LAN adapter numbers (NCBENUM, empty on failure), NCBRESET of one adapter, and the six bytes of
    // its address from NCBASTAT with the call name "*".
    virtual std::vector<uint8_t> EnumLanAdapters() = 0;
    virtual bool ResetAdapter(uint8_t lana) = 0;
    virtual std::optional<std::array<uint8_t, 6>> AdapterAddress(uint8_t lana) = 0;

    // A string value below HKEY_LOCAL_MACHINE; null when it cannot be read.
    virtual std::optional<std::string> ReadMachineRegString(const std::string& key, const std::string& value) = 0;
    // The 8 bytes of the BIOS date in the ROM at physical address 0xFFFF5 (Windows 9x only).
    virtual std::optional<std::array<char, 8>> ReadRomBiosDate() = 0;

    // Direct IDE port access (Windows 9x only): whether it is available, then byte and word port I/O.
    virtual bool OpenPortAccess() = 0;
    virtual uint8_t InPortByte(uint16_t port) = 0;
    virtual void OutPortByte(uint16_t port, uint8_t value) = 0;
    virtual uint16_t InPortWord(uint16_t port) = 0;

    // ASPI (wnaspi32.dll): whether the library and both entry points are there, GetASPI32SupportInfo, and three
    // commands, each returning its SRB status: SC_HA_INQUIRY (the adapter's target count, 0 when it gives none),
    // SC_GET_DEV_TYPE, and an INQUIRY of 59 bytes through SC_EXEC_SCSI_CMD, waited for until it completes.
    virtual bool AspiLoaded() = 0;
    virtual uint32_t AspiSupportInfo() = 0;
    virtual uint8_t AspiHostAdapterInquiry(uint8_t adapter, uint8_t* maxTargets) = 0;
    virtual uint8_t AspiGetDeviceType(uint8_t adapter, uint8_t target, uint8_t lun, uint8_t* deviceType) = 0;
    virtual uint8_t AspiInquiry(uint8_t adapter, uint8_t target, uint8_t lun, std::array<uint8_t, 59>* data) = 0;
};

}  // namespace identity
