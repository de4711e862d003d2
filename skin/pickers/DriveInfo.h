// The drive and folder facts the pickers read, behind one seam so that tests can describe any machine: the drive
// mask, drive types, volume labels and flags, the remote names of mapped drives and the attributes of a path. The
// process's current folder is read and changed here too, since the pickers move it. GUI thread only.
// Index: TbsDriveType, IbsDriveInfo, DriveInfo, SystemDriveInfo, TbsDriveInfoOverride.
#pragma once

#include <cstdint>
#include <string>

// The system's drive types (GetDriveTypeW's numbers).
enum TbsDriveType : int {
    bsdtUnknown = 0,
    bsdtNoRoot = 1,
    bsdtRemovable = 2,
    bsdtFixed = 3,
    bsdtRemote = 4,
    bsdtCDROM = 5,
    bsdtRamDisk = 6,
};

// Volume flags (the system's values).
constexpr std::uint32_t kVolumeCaseSensitive = 0x1;  // FILE_CASE_SENSITIVE_SEARCH
constexpr std::uint32_t kVolumeCasePreserved = 0x2;  // FILE_CASE_PRESERVED_NAMES

constexpr std::uint32_t kNoAttributes = 0xFFFFFFFFu;  // INVALID_FILE_ATTRIBUTES
constexpr std::uint32_t kAttrReadOnly = 0x01, kAttrHidden = 0x02, kAttrSystem = 0x04, kAttrVolumeID = 0x08,
                        kAttrDirectory = 0x10, kAttrArchive = 0x20;

class IbsDriveInfo {
  public:
    virtual ~IbsDriveInfo() = default;
    // Bit 0 for a:, bit 25 for z:.
    virtual std::uint32_t LogicalDrives() = 0;
    // The type of the drive "X:\".
    virtual int DriveType(wchar_t Letter) = 0;
    // Label and flags of "X:\"; false when the volume cannot be read (no message box either way).
    virtual bool Volume(wchar_t Letter, std::wstring& Label, std::uint32_t& Flags) = 0;
    // The remote name of a mapped drive "X:"; false when it is not mapped or cannot be read.
    virtual bool NetworkName(wchar_t Letter, std::wstring& Remote) = 0;
    // The attributes of a file or folder; kNoAttributes when they cannot be read.
    virtual std::uint32_t Attributes(const std::wstring& Path) = 0;
    // The process's current folder.
    virtual std::wstring CurrentDir() = 0;
    // Makes Path the process's current folder; false when it cannot.
    virtual bool SetCurrentDir(const std::wstring& Path) = 0;
};

// The one in force (the system's until a test overrides it).
IbsDriveInfo& DriveInfo();
IbsDriveInfo& SystemDriveInfo();

// Puts With in force while it lives (borrowed), then the previous one back.
class TbsDriveInfoOverride {
  public:
    explicit TbsDriveInfoOverride(IbsDriveInfo* With);
    ~TbsDriveInfoOverride();
    TbsDriveInfoOverride(const TbsDriveInfoOverride&) = delete;
    TbsDriveInfoOverride& operator=(const TbsDriveInfoOverride&) = delete;

  private:
    IbsDriveInfo* saved_;
};
