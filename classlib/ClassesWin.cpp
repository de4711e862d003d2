// Win32 part of Classes: the file and resource streams and whole-file helpers.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "classlib/Classes.h"
#include "classlib/GdiHandles.h"

TFileStream::TFileStream(const std::wstring& fileName, std::uint32_t mode) : fileName_(fileName) {
    DWORD share;
    switch (mode & 0xF0) {
        case fmShareExclusive:
            share = 0;
            break;
        case fmShareDenyWrite:
            share = FILE_SHARE_READ;
            break;
        case fmShareDenyRead:
            share = FILE_SHARE_WRITE;
            break;
        case fmShareDenyNone:
            share = FILE_SHARE_READ | FILE_SHARE_WRITE;
            break;
        default:  // compatibility mode: others may read
            share = FILE_SHARE_READ;
            break;
    }
    HANDLE h;
    if ((mode & fmCreate) == fmCreate) {
        h = ::CreateFileW(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            throw EFCreateError(Format(L"Cannot create file \"%s\". %s", fileName, SysErrorMessage(::GetLastError())));
    } else {
        DWORD access = (mode & 3) == fmOpenWrite       ? GENERIC_WRITE
                       : (mode & 3) == fmOpenReadWrite ? GENERIC_READ | GENERIC_WRITE
                                                       : GENERIC_READ;
        h = ::CreateFileW(fileName.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            throw EFOpenError(Format(L"Cannot open file \"%s\". %s", fileName, SysErrorMessage(::GetLastError())));
    }
    handle_ = h;
    handles_detail::CountHandle(THandleKind::Kernel, +1);
}

TFileStream::~TFileStream() {
    ::CloseHandle(handle_);
    handles_detail::CountHandle(THandleKind::Kernel, -1);
}

std::int32_t TFileStream::Read(void* buffer, std::int32_t count) {
    if (count <= 0)
        return 0;
    DWORD n = 0;
    if (!::ReadFile(handle_, buffer, static_cast<DWORD>(count), &n, nullptr))
        return 0;
    return static_cast<std::int32_t>(n);
}

std::int32_t TFileStream::Write(const void* buffer, std::int32_t count) {
    if (count <= 0)
        return 0;
    DWORD n = 0;
    if (!::WriteFile(handle_, buffer, static_cast<DWORD>(count), &n, nullptr))
        return 0;
    return static_cast<std::int32_t>(n);
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    LARGE_INTEGER li, out;
    li.QuadPart = offset;
    DWORD method = origin == soBeginning ? FILE_BEGIN : origin == soCurrent ? FILE_CURRENT : FILE_END;
    if (!::SetFilePointerEx(handle_, li, &out, method))
        return -1;
    return out.QuadPart;
}

void TFileStream::SetSize(std::int64_t newSize) {
    std::int64_t pos = Position();
    if (Seek(newSize, soBeginning) != newSize || !::SetEndOfFile(handle_))
        throw EStreamError(Format(L"Cannot set the size of \"%s\". %s", fileName_, SysErrorMessage(::GetLastError())));
    if (pos < newSize)
        Seek(pos, soBeginning);
}

TResourceStream::TResourceStream(void* module, const wchar_t* name, const wchar_t* type) {
    HMODULE m = static_cast<HMODULE>(module);
    HRSRC res = ::FindResourceW(m, name, type);
    HGLOBAL g = res ? ::LoadResource(m, res) : nullptr;
    const void* p = g ? ::LockResource(g) : nullptr;
    if (!p) {
        std::wstring shown = IS_INTRESOURCE(name) ? IntToStr(reinterpret_cast<std::uintptr_t>(name)) : name;
        throw EResNotFound(Format(L"Resource %s not found", shown));
    }
    data_ = static_cast<const std::uint8_t*>(p);
    size_ = ::SizeofResource(m, res);
}

std::int32_t TResourceStream::Read(void* buffer, std::int32_t count) {
    if (count <= 0 || position_ >= size_)
        return 0;
    std::int64_t n = std::min<std::int64_t>(count, size_ - position_);
    std::memcpy(buffer, data_ + position_, static_cast<size_t>(n));
    position_ += n;
    return static_cast<std::int32_t>(n);
}

std::int32_t TResourceStream::Write(const void*, std::int32_t) {
    throw EStreamError(L"Can't write to a read-only resource stream");
}

std::int64_t TResourceStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    std::int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position_ : size_;
    std::int64_t pos = base + offset;
    position_ = pos < 0 ? 0 : pos;
    return position_;
}

std::string LoadBytesFromFile(const std::wstring& fileName) {
    TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
    std::int64_t size = f.Size();
    if (size > 0x7FFFFFFF)
        throw EReadError(Format(L"File \"%s\" is too large", fileName));
    std::string bytes(static_cast<size_t>(size), '\0');
    if (size > 0)
        f.ReadBuffer(bytes.data(), static_cast<std::int32_t>(size));
    return bytes;
}

void SaveBytesToFileSafely(const std::wstring& fileName, const void* data, size_t size) {
    std::wstring temp = fileName + L".tmp~";
    try {
        TFileStream f(temp, fmCreate | fmShareExclusive);
        const char* p = static_cast<const char*>(data);
        size_t done = 0;
        while (done < size) {
            std::int32_t chunk = static_cast<std::int32_t>(std::min<size_t>(size - done, 1u << 30));
            f.WriteBuffer(p + done, chunk);
            done += static_cast<size_t>(chunk);
        }
    } catch (const EFCreateError&) {
        throw;  // nothing was created
    } catch (...) {
        ::DeleteFileW(temp.c_str());  // the stream is closed by now
        throw;
    }
    if (!::MoveFileExW(temp.c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD err = ::GetLastError();
        ::DeleteFileW(temp.c_str());
        throw EFCreateError(Format(L"Cannot create file \"%s\". %s", fileName, SysErrorMessage(err)));
    }
}
