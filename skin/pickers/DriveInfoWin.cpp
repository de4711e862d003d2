// The system's drive facts and current folder, and the canvas form of MinimizeName.
#include <windows.h>
#include <winnetwk.h>

#include "classlib/Graphics.h"
#include "skin/pickers/DriveInfo.h"
#include "skin/pickers/PathRoutines.h"

namespace {

std::wstring Root(wchar_t Letter) { return std::wstring(1, Letter) + L":\\"; }

// Critical-error boxes ("no disk in drive") suppressed while a drive is asked, the old mode restored after.
class TErrorModeGuard {
  public:
    TErrorModeGuard() : saved_(::SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~TErrorModeGuard() { ::SetErrorMode(saved_); }

  private:
    UINT saved_;
};

class TSystemDriveInfo : public IbsDriveInfo {
  public:
    std::uint32_t LogicalDrives() override { return ::GetLogicalDrives(); }
    int DriveType(wchar_t Letter) override { return static_cast<int>(::GetDriveTypeW(Root(Letter).c_str())); }
    bool Volume(wchar_t Letter, std::wstring& Label, std::uint32_t& Flags) override {
        TErrorModeGuard guard;
        wchar_t name[MAX_PATH + 1] = {};
        DWORD serial = 0, maxLen = 0, flags = 0;
        if (!::GetVolumeInformationW(Root(Letter).c_str(), name, MAX_PATH + 1, &serial, &maxLen, &flags, nullptr,
                                     0))
            return false;
        Label = name;
        Flags = flags;
        return true;
    }
    bool NetworkName(wchar_t Letter, std::wstring& Remote) override {
        const std::wstring local{Letter, L':'};
        wchar_t buffer[MAX_PATH + 1] = {};
        DWORD length = MAX_PATH + 1;
        if (::WNetGetConnectionW(local.c_str(), buffer, &length) != NO_ERROR)
            return false;
        Remote = buffer;
        return true;
    }
    std::uint32_t Attributes(const std::wstring& Path) override {
        TErrorModeGuard guard;
        return ::GetFileAttributesW(Path.c_str());
    }
    std::wstring CurrentDir() override {
        const DWORD n = ::GetCurrentDirectoryW(0, nullptr);
        std::wstring s(n, L'\0');
        const DWORD got = ::GetCurrentDirectoryW(n, s.data());
        s.resize(got < n ? got : 0);
        return s;
    }
    bool SetCurrentDir(const std::wstring& Path) override {
        TErrorModeGuard guard;
        return !Path.empty() && ::SetCurrentDirectoryW(Path.c_str()) != FALSE;
    }
};

IbsDriveInfo* gDriveInfo = nullptr;

}  // namespace

IbsDriveInfo& SystemDriveInfo() {
    static TSystemDriveInfo info;
    return info;
}

IbsDriveInfo& DriveInfo() { return gDriveInfo ? *gDriveInfo : SystemDriveInfo(); }

TbsDriveInfoOverride::TbsDriveInfoOverride(IbsDriveInfo* With) : saved_(gDriveInfo) { gDriveInfo = With; }

TbsDriveInfoOverride::~TbsDriveInfoOverride() { gDriveInfo = saved_; }

std::wstring MinimizeName(const std::wstring& FileName, TCanvas* Canvas, int MaxLen) {
    return MinimizeName(FileName, [Canvas](const std::wstring& S) { return Canvas->TextWidth(S); }, MaxLen);
}
