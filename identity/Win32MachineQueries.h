// The MachineQueries the program uses: CreateFile/DeviceIoControl, WMI over COM, NetBIOS, CPUID, the registry
// and ASPI. Direct IDE port access and the BIOS ROM read belong to Windows 9x, which this program cannot run on
// (the runtime needs the NT family); there they report "not available" instead of faulting.
//
// Contract: use on one thread at a time. Each WMI query initialises COM on the calling thread for its duration
// when the thread has not done so, and balances that; a thread already in an apartment keeps it as it was.
#pragma once

#include <memory>

#include "identity/MachineQueries.h"

namespace identity {

class Win32MachineQueries : public MachineQueries {
  public:
    Win32MachineQueries();
    ~Win32MachineQueries() override;

    std::unique_ptr<DeviceHandle> OpenDevice(const std::string& path, DeviceAccess access) override;
    std::optional<OsVersion> GetOsVersion() override;
    CpuidRegs Cpuid(uint32_t leaf) override;
    std::optional<WmiRow> WmiFirstRow(const std::wstring& wql, uint32_t flags) override;
    std::vector<uint8_t> EnumLanAdapters() override;
    bool ResetAdapter(uint8_t lana) override;
    std::optional<std::array<uint8_t, 6>> AdapterAddress(uint8_t lana) override;
    std::optional<std::string> ReadMachineRegString(const std::string& key, const std::string& value) override;
    std::optional<std::array<char, 8>> ReadRomBiosDate() override;
    bool OpenPortAccess() override;
    uint8_t InPortByte(uint16_t port) override;
    void OutPortByte(uint16_t port, uint8_t value) override;
    uint16_t InPortWord(uint16_t port) override;
    bool AspiLoaded() override;
    uint32_t AspiSupportInfo() override;
    uint8_t AspiHostAdapterInquiry(uint8_t adapter, uint8_t* maxTargets) override;
    uint8_t AspiGetDeviceType(uint8_t adapter, uint8_t target, uint8_t lun, uint8_t* deviceType) override;
    uint8_t AspiInquiry(uint8_t adapter, uint8_t target, uint8_t lun, std::array<uint8_t, 59>* data) override;
};

}  // namespace identity
