// THDDInfo: identity and geometry of one disk drive (serial number, model, firmware revision, type, geometry,
// size), read by one of eight acquisition methods: SMART through the physical drive or the SCSI miniport, SCSI
// pass-through by device name, the storage property query that needs no access rights, WMI, ASPI and direct IDE
// port access. Setting `Drive` or `DeviceName` runs the chosen method at once; a failure is thrown as
// THDDInfoError with one of the fixed messages below and leaves the previous results in place.
//
// Contract: the component borrows the MachineQueries it is given, which must outlive it. One identification at a
// time; the results are plain values copied out of the component's identify block.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "identity/MachineQueries.h"

namespace identity {

enum TDrive {
    dPrimaryMaster,
    dPrimarySlave,
    dSecondaryMaster,
    dSecondarySlave,
    dTertiaryMaster,
    dTertiarySlave,
    dQuaternaryMaster,
    dQuaternarySlave
};

enum TGetInfoMethod { gimAuto, gimNT, gimScsi, gim9x, gimByName, gimASPI, gimZeroRights, gimWMI };

enum TDriveType { dtFixed, dtRemovable, dtCDROM, dtUnknown, dtTape, dtOptical, dtArray };

// The messages are kept letter for letter ("filed" included): callers and logs compare them as they stand.
inline constexpr const char* kErrNoDevice = "No device!";
inline constexpr const char* kErrNoHandle = "Can't create device handle!";
inline constexpr const char* kErrIoctl = "DeviceIoControl filed!";
inline constexpr const char* kErrIoctlReturned = "DeviceIoControl returned error!";
inline constexpr const char* kErrByName = "GetDevInfoNTScsibyName filed!";
inline constexpr const char* kErrZeroRights = "GetDevInfoZeroRights filed!";
inline constexpr const char* kErrWmi = "GetDevInfoWMI filed!";
inline constexpr const char* kErrInquiryData = "SCSI_GET_INQUIRY_DATA failed!";
inline constexpr const char* kErrAspiMissing = "ASPI not Supported!";
inline constexpr const char* kErrAspi = "ASPI error!";
inline constexpr const char* kErrDevNo = "Wrong devno!";
inline constexpr const char* kErrPort = "Wrong port number!";
inline constexpr const char* kErrBus = "Wrong bus number!";
inline constexpr const char* kErrDevice = "Wrong device number!";

class THDDInfoError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The ATA IDENTIFY DEVICE layout the component decodes (512 bytes; word n at byte 2n).
using IdentifyBlock = std::array<uint8_t, 512>;

// A serial number text into a field of `length` bytes: a text of hexadecimal digits only is read as bytes, two
// digits each, up to 2 x length digits, and the field's bytes are then swapped in pairs (the drive's order);
// any other text is copied as it is, at most length + 1 bytes. `field` must hold length + 1 bytes.
void DecodeSerial(const std::string& text, uint8_t* field, size_t length);

// Swaps the two bytes of each word of the ATA strings (serial words 10 to 19, revision and model 23 to 46),
// which the drive stores high byte first.
void SwapIdentifyStrings(IdentifyBlock& block);

class THDDInfo {
  public:
    // `queries` is borrowed. Loads ASPI when present and scans its devices.
    explicit THDDInfo(MachineQueries& queries);
    THDDInfo(const THDDInfo&) = delete;
    THDDInfo& operator=(const THDDInfo&) = delete;

    TDrive Drive() const { return drive_; }
    void SetDrive(TDrive drive);  // DeviceName becomes "PhysicalDrive" + the number, then GetInfo
    const std::string& DeviceName() const { return deviceName_; }
    void SetDeviceName(const std::string& name);  // then GetInfo
    TGetInfoMethod Method() const { return method_; }
    void SetMethod(TGetInfoMethod method) { method_ = method; }
    bool CanonicalScsiAddressing() const { return canonicalScsi_; }
    void SetCanonicalScsiAddressing(bool on) { canonicalScsi_ = on; }

    // Runs the method and decodes the identify block into the results.
    void GetInfo();

    TDriveType HDDType() const { return hddType_; }
    int CylsTotal() const { return cylsTotal_; }
    int HeadTotal() const { return headTotal_; }
    int BPT() const { return bpt_; }
    int BPS() const { return bps_; }
    int SPT() const { return spt_; }
    const std::string& Serial() const { return serial_; }
    const std::string& Revision() const { return revision_; }
    const std::string& Model() const { return model_; }
    int BufSize() const { return bufSize_; }
    int ECC() const { return ecc_; }
    uint32_t LBASectors() const { return lbaSectors_; }
    int64_t Size() const { return size_; }
    bool isNT() const { return isNT_; }
    bool isIDE() const { return isIDE_; }

    // SCSI addressing, for ASPI with CanonicalScsiAddressing. A negative value or the current one changes
    // nothing; a value out of range throws "Wrong port number!", "Wrong bus number!" or "Wrong device number!".
    int ScsiPort() const { return scsiPort_; }
    void SetScsiPort(int port);
    int ScsiBus() const { return scsiBus_; }
    void SetScsiBus(int bus);
    int ScsiDevice() const { return scsiDevice_; }
    void SetScsiDevice(int device);
    int ScsiBusCount() const { return scsiBusCount_; }
    int ScsiDevCount() const { return scsiDevCount_; }

    // The identify block as the last method left it (for diagnostics and tests).
    const IdentifyBlock& Block() const { return block_; }

  private:
    struct AspiAddress {
        uint8_t adapter, target, lun;
    };

    void RunMethod(TGetInfoMethod method);
    void Decode();

    void ReadNt(int drive);
    void SmartIdentify(DeviceHandle& device, int drive);
    void ReadScsi(int drive);
    void Read9x(int drive);
    void ReadByName(const std::string& name);
    void ReadZeroRights(const std::string& name);
    void ReadWmi(int drive);
    void ReadAspi();
    void ScanAspi();
    std::vector<uint8_t> ReadScsiInquiryData(int port);

    MachineQueries& queries_;  // borrowed
    TDrive drive_ = dPrimaryMaster;
    std::string deviceName_;
    TGetInfoMethod method_ = gimAuto;
    bool canonicalScsi_ = false;

    IdentifyBlock block_{};
    bool notIde_ = false;
    std::vector<AspiAddress> aspiDevices_;
    bool aspiLoaded_ = false;

    TDriveType hddType_ = dtUnknown;
    int cylsTotal_ = 0, headTotal_ = 0, bpt_ = 0, bps_ = 0, spt_ = 0;
    std::string serial_, revision_, model_;
    int bufSize_ = 0, ecc_ = 0;
    uint32_t lbaSectors_ = 0;
    int64_t size_ = 0;
    bool isNT_ = false;
    bool isIDE_ = false;

    int scsiPort_ = -1, scsiBus_ = -1, scsiDevice_ = -1;
    int scsiBusCount_ = 0, scsiDevCount_ = 0;
    std::vector<uint8_t> scsiInquiry_;  // IOCTL_SCSI_GET_INQUIRY_DATA of the selected port (NT family)
    AspiAddress canonicalAddress_{};    // the device that port, bus and device select
};

}  // namespace identity
