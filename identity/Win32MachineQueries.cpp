// Win32 side of the machine identity's queries. Thin: each call asks the system once and hands the raw answer
// back; all decoding lives in HDDInfo.cpp and MachineIdSources.cpp.
#include "identity/Win32MachineQueries.h"

#include <windows.h>

#include <cpuid.h>
#include <nb30.h>
#include <ntddscsi.h>
#include <objbase.h>
#include <oleauto.h>
#include <wbemidl.h>
#include <winioctl.h>

#include <cstddef>
#include <utility>

#include "base/ComPtr.h"
#include "base/Handles.h"

namespace identity {
namespace {

// The request layouts that HDDInfo.cpp writes byte by byte must match the system's structures.
static_assert(sizeof(SENDCMDINPARAMS) == 33);
static_assert(sizeof(SRB_IO_CONTROL) == 28);
static_assert(sizeof(SCSI_PASS_THROUGH) == (sizeof(void*) == 8 ? 56 : 44));
static_assert(offsetof(SCSI_PASS_THROUGH, Cdb) == (sizeof(void*) == 8 ? 36 : 28));
static_assert(offsetof(STORAGE_DEVICE_DESCRIPTOR, SerialNumberOffset) == 24);
static_assert(offsetof(DISK_GEOMETRY_EX, DiskSize) == 24);
static_assert(offsetof(SCSI_ADAPTER_BUS_INFO, BusData) == 4);
static_assert(offsetof(SCSI_INQUIRY_DATA, InquiryData) == 12);
static_assert(sizeof(ADAPTER_STATUS) == 60);
static_assert(sizeof(LANA_ENUM) == 256);

class Win32Device : public DeviceHandle {
  public:
    explicit Win32Device(TFileHandle handle) : handle_(std::move(handle)) {}
    bool Control(uint32_t code, const void* in, size_t inSize, void* out, size_t outSize, uint32_t* returned) override {
        DWORD count = 0;
        const BOOL ok = DeviceIoControl(handle_.Get(), code, const_cast<void*>(in), static_cast<DWORD>(inSize), out,
                                        static_cast<DWORD>(outSize), &count, nullptr);
        if (returned)
            *returned = count;
        return ok != FALSE;
    }

  private:
    TFileHandle handle_;
};

// COM for the duration of one WMI query. A thread that is already in an apartment answers S_FALSE (balanced
// like S_OK) or RPC_E_CHANGED_MODE (it stays in its multithreaded apartment, which serves WMI as well).
class ComScope {
  public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }
    bool Usable() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

  private:
    HRESULT hr_;
};

class Bstr {
  public:
    explicit Bstr(const wchar_t* text) : b_(SysAllocString(text)) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(b_); }
    BSTR Get() const { return b_; }

  private:
    BSTR b_;
};

class Variant {
  public:
    Variant() { VariantInit(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&v_); }
    VARIANT* Get() { return &v_; }

  private:
    VARIANT v_;
};

std::wstring Widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());  // device names and keys are ASCII
}

// WMI text in the system's 8-bit code page, as the identity has always compared it.
std::string Narrow(const wchar_t* text, size_t length) {
    if (length == 0)
        return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), result.data(), size, nullptr, nullptr);
    return result;
}

std::string VariantText(VARIANT* value);

std::string ArrayText(VARIANT* value) {
    SAFEARRAY* array = value->parray;
    const VARTYPE base = value->vt & VT_TYPEMASK;
    LONG lower = 0, upper = -1;
    if (!array || SafeArrayGetDim(array) != 1 || FAILED(SafeArrayGetLBound(array, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(array, 1, &upper))) {
        return {};
    }
    std::string text;
    for (LONG i = lower; i <= upper; ++i) {
        Variant element;
        HRESULT hr;
        if (base == VT_VARIANT) {
            hr = SafeArrayGetElement(array, &i, element.Get());
        } else {
            // Every scalar member of the VARIANT union starts at the same address.
            hr = SafeArrayGetElement(array, &i, &element.Get()->llVal);
            if (SUCCEEDED(hr))
                element.Get()->vt = base;
        }
        if (i > lower)
            text += '|';
        if (SUCCEEDED(hr))
            text += VariantText(element.Get());
    }
    return text;
}

std::string VariantText(VARIANT* value) {
    if (value->vt & VT_ARRAY)
        return ArrayText(value);
    switch (value->vt) {
        case VT_EMPTY:
        case VT_NULL:
            return {};
        case VT_BOOL:
            return value->boolVal ? "True" : "False";
        case VT_BSTR:
            return value->bstrVal ? Narrow(value->bstrVal, SysStringLen(value->bstrVal)) : std::string();
        default: {
            Variant text;
            if (FAILED(VariantChangeTypeEx(text.Get(), value, LOCALE_INVARIANT, 0, VT_BSTR)))
                return {};
            BSTR b = text.Get()->bstrVal;
            return b ? Narrow(b, SysStringLen(b)) : std::string();
        }
    }
}

void SetWmiSecurity(IUnknown* proxy) {
    // Some providers refuse the default "identify" level; a failure here still leaves the default in place.
    CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

// ASPI for Win32 (wnaspi32.dll), byte-packed as the library expects.
constexpr BYTE kScHaInquiry = 0x00;
constexpr BYTE kScGetDevType = 0x01;
constexpr BYTE kScExecScsiCmd = 0x02;
constexpr BYTE kSsPending = 0x00;
constexpr BYTE kSrbDirIn = 0x08;
constexpr BYTE kSrbEventNotify = 0x40;
constexpr DWORD kAspiWaitMs = 10000;

#pragma pack(push, 1)
struct SrbHaInquiry {
    BYTE cmd, status, haId, flags;
    DWORD hdrReserved;
    BYTE haCount, haScsiId;
    BYTE managerId[16], identifier[16], unique[16];
    WORD reserved;
};
struct SrbGetDevType {
    BYTE cmd, status, haId, flags;
    DWORD hdrReserved;
    BYTE target, lun, deviceType, reserved;
};
struct SrbExecScsiCmd {
    BYTE cmd, status, haId, flags;
    DWORD hdrReserved;
    BYTE target, lun;
    WORD reserved1;
    DWORD bufLen;
    BYTE* bufPointer;
    BYTE senseLen, cdbLen, haStat, targStat;
    void* postProc;
    BYTE reserved2[20];
    BYTE cdb[16];
    BYTE senseArea[14 + 2];
};
#pragma pack(pop)

struct AspiInquiryRequest {
    SrbExecScsiCmd srb;
    std::array<uint8_t, 59> data;
};

using GetAspiSupportInfoFn = DWORD(__cdecl*)();
using SendAspiCommandFn = DWORD(__cdecl*)(void*);

struct AspiLibrary {
    GetAspiSupportInfoFn supportInfo = nullptr;
    SendAspiCommandFn send = nullptr;
};

// Loaded once and kept for the program's life, like every ASPI client does: the library may hold threads.
const AspiLibrary& Aspi() {
    static const AspiLibrary library = [] {
        AspiLibrary lib;
        if (HMODULE module = LoadLibraryW(L"WNASPI32.DLL")) {
            lib.supportInfo = reinterpret_cast<GetAspiSupportInfoFn>(
                reinterpret_cast<void (*)()>(GetProcAddress(module, "GetASPI32SupportInfo")));
            lib.send = reinterpret_cast<SendAspiCommandFn>(
                reinterpret_cast<void (*)()>(GetProcAddress(module, "SendASPI32Command")));
            if (!lib.supportInfo || !lib.send)
                lib = {};
        }
        return lib;
    }();
    return library;
}

}  // namespace

Win32MachineQueries::Win32MachineQueries() = default;
Win32MachineQueries::~Win32MachineQueries() = default;

std::unique_ptr<DeviceHandle> Win32MachineQueries::OpenDevice(const std::string& path, DeviceAccess access) {
    const DWORD rights = access == DeviceAccess::kReadWrite ? GENERIC_READ | GENERIC_WRITE : 0;
    TFileHandle handle(CreateFileW(Widen(path).c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    if (!handle)
        return nullptr;
    return std::make_unique<Win32Device>(std::move(handle));
}

std::optional<OsVersion> Win32MachineQueries::GetOsVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info))
        return std::nullopt;
#pragma GCC diagnostic pop
    return OsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

CpuidRegs Win32MachineQueries::Cpuid(uint32_t leaf) {
    CpuidRegs r;
    unsigned a = 0, b = 0, c = 0, d = 0;
    __cpuid(leaf, a, b, c, d);
    r.eax = a;
    r.ebx = b;
    r.ecx = c;
    r.edx = d;
    return r;
}

std::optional<WmiRow> Win32MachineQueries::WmiFirstRow(const std::wstring& wql, uint32_t flags) {
    ComScope com;
    if (!com.Usable())
        return std::nullopt;
    TComPtr<IWbemLocator> locator;
    if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                reinterpret_cast<void**>(locator.Put())))) {
        return std::nullopt;
    }
    TComPtr<IWbemServices> services;
    Bstr resource(L"\\\\.\\root\\CIMV2");
    if (FAILED(
            locator->ConnectServer(resource.Get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.Put()))) {
        return std::nullopt;
    }
    SetWmiSecurity(services.Get());
    TComPtr<IEnumWbemClassObject> rows;
    Bstr language(L"WQL");
    Bstr query(wql.c_str());
    if (FAILED(services->ExecQuery(language.Get(), query.Get(), static_cast<LONG>(flags), nullptr, rows.Put()))) {
        return std::nullopt;
    }
    SetWmiSecurity(rows.Get());
    TComPtr<IWbemClassObject> object;
    ULONG count = 0;
    // Bounded, so a stuck WMI service cannot hold the program's start for ever.
    if (rows->Next(30000, 1, object.Put(), &count) != WBEM_S_NO_ERROR || count != 1)
        return std::nullopt;

    WmiRow row;
    if (FAILED(object->BeginEnumeration(WBEM_FLAG_NONSYSTEM_ONLY)))
        return std::nullopt;
    for (;;) {
        BSTR name = nullptr;
        Variant value;
        if (object->Next(0, &name, value.Get(), nullptr, nullptr) != WBEM_S_NO_ERROR)
            break;
        row.push_back({name ? Narrow(name, SysStringLen(name)) : std::string(), VariantText(value.Get())});
        SysFreeString(name);
    }
    object->EndEnumeration();
    return row;
}

std::vector<uint8_t> Win32MachineQueries::EnumLanAdapters() {
    LANA_ENUM adapters{};
    NCB ncb{};
    ncb.ncb_command = NCBENUM;
    ncb.ncb_buffer = reinterpret_cast<PUCHAR>(&adapters);
    ncb.ncb_length = sizeof adapters;
    Netbios(&ncb);  // a refused enumeration leaves the count at 0
    return std::vector<uint8_t>(adapters.lana, adapters.lana + std::min<size_t>(adapters.length, MAX_LANA + 1));
}

bool Win32MachineQueries::ResetAdapter(uint8_t lana) {
    NCB ncb{};
    ncb.ncb_command = NCBRESET;
    ncb.ncb_lana_num = lana;
    return Netbios(&ncb) == NRC_GOODRET;
}

std::optional<std::array<uint8_t, 6>> Win32MachineQueries::AdapterAddress(uint8_t lana) {
    ADAPTER_STATUS status{};
    NCB ncb{};
    ncb.ncb_command = NCBASTAT;
    ncb.ncb_lana_num = lana;
    ncb.ncb_callname[0] = '*';
    ncb.ncb_buffer = reinterpret_cast<PUCHAR>(&status);
    ncb.ncb_length = sizeof status;
    if (Netbios(&ncb) != NRC_GOODRET)
        return std::nullopt;
    std::array<uint8_t, 6> address;
    std::copy(status.adapter_address, status.adapter_address + 6, address.begin());
    return address;
}

std::optional<std::string> Win32MachineQueries::ReadMachineRegString(const std::string& key, const std::string& value) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const TRegKeyHandle handle(opened);
    std::optional<std::string> result;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(handle.Get(), value.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::string text(size, '\0');
        if (RegQueryValueExA(handle.Get(), value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                             &size) == ERROR_SUCCESS) {
            text.resize(std::min<size_t>(size, text.size()));
            // The stored value may or may not carry its terminator.
            text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
            result = text;
        }
    }
    return result;
}

// Windows 9x only: NT-family systems do not map the BIOS ROM into processes.
std::optional<std::array<char, 8>> Win32MachineQueries::ReadRomBiosDate() {
    return std::nullopt;
}

// Windows 9x only: on the NT family the in/out instructions fault in user mode, so the port access is never
// opened and gim9x fails with "No device!" before touching a port.
bool Win32MachineQueries::OpenPortAccess() {
    return false;
}

uint8_t Win32MachineQueries::InPortByte(uint16_t) {
    return 0xFF;
}

void Win32MachineQueries::OutPortByte(uint16_t, uint8_t) {}

uint16_t Win32MachineQueries::InPortWord(uint16_t) {
    return 0xFFFF;
}

bool Win32MachineQueries::AspiLoaded() {
    return Aspi().send != nullptr;
}

uint32_t Win32MachineQueries::AspiSupportInfo() {
    return Aspi().supportInfo ? Aspi().supportInfo() : 0;
}

uint8_t Win32MachineQueries::AspiHostAdapterInquiry(uint8_t adapter, uint8_t* maxTargets) {
    if (!Aspi().send)
        return 0;
    SrbHaInquiry srb{};
    srb.cmd = kScHaInquiry;
    srb.haId = adapter;
    Aspi().send(&srb);
    *maxTargets = srb.unique[3];
    return srb.status;
}

uint8_t Win32MachineQueries::AspiGetDeviceType(uint8_t adapter, uint8_t target, uint8_t lun, uint8_t* deviceType) {
    if (!Aspi().send)
        return 0;
    SrbGetDevType srb{};
    srb.cmd = kScGetDevType;
    srb.haId = adapter;
    srb.target = target;
    srb.lun = lun;
    Aspi().send(&srb);
    *deviceType = srb.deviceType;
    return srb.status;
}

uint8_t Win32MachineQueries::AspiInquiry(uint8_t adapter, uint8_t target, uint8_t lun, std::array<uint8_t, 59>* data) {
    if (!Aspi().send)
        return 0;
    TKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!event.Get())
        return 0;
    // The request lives on the heap: if the driver never completes it, it is left to the driver rather than
    // freed under its feet.
    auto request = std::make_unique<AspiInquiryRequest>();
    SrbExecScsiCmd& srb = request->srb;
    srb.cmd = kScExecScsiCmd;
    srb.haId = adapter;
    srb.flags = kSrbDirIn | kSrbEventNotify;
    srb.target = target;
    srb.lun = lun;
    srb.bufLen = static_cast<DWORD>(request->data.size());
    srb.bufPointer = request->data.data();
    srb.senseLen = 14;
    srb.cdbLen = 6;
    srb.postProc = event.Get();
    srb.cdb[0] = 0x12;  // INQUIRY
    srb.cdb[4] = static_cast<BYTE>(request->data.size());
    if (Aspi().send(&srb) == kSsPending) {
        if (WaitForSingleObject(event.Get(), kAspiWaitMs) != WAIT_OBJECT_0) {
            // Both stay with the driver, which may still signal and write them.
            (void)event.Detach();
            (void)request.release();
            return 0;
        }
    }
    *data = request->data;
    return srb.status;
}

}  // namespace identity
