// Setup's payload: the eight files that lie behind its own image, each as whole blocks of its slot's size, from the
// payload start on. The block counts are made by the build (tools/payload/payload.py table) from the very files it
// appends, and compiled into the program as kPayloadTable. Pure logic, no windows.h.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

struct TPayloadSlot {
    const wchar_t* Name;  // appended to the installation folder: "\Trelm Mail.exe"
    std::uint32_t BlockSize;
    std::uint32_t Blocks;
    std::uint64_t Bytes() const { return std::uint64_t{BlockSize} * Blocks; }
};

inline constexpr std::size_t kPayloadSlotCount = 8;
using TPayloadTable = std::array<TPayloadSlot, kPayloadSlotCount>;

// The files Setup writes, in payload order: what the uninstaller removes again. The build's slot list names the same.
inline constexpr std::array<const wchar_t*, 8> kPayloadFileNames = {
    L"\\Trelm Mail.exe",
    L"\\Uninstall_Trelm Mail.exe",
    L"\\TrelmMail_help.chm",
    L"\\TrelmMail_rus.lng",
    L"\\prishol_mail.wav",
#ifdef _WIN64
    L"\\libcrypto-3-x64.dll",
    L"\\libssl-3-x64.dll",
#else
    L"\\libcrypto-3.dll",
    L"\\libssl-3.dll",
#endif
    L"\\budilnik.wav",
};

// The table of the running program (a generated source of each Setup build).
extern const TPayloadTable kPayloadTable;

// Sum of the slots' blocks and bytes.
std::uint64_t PayloadBlocks(const TPayloadTable& table);
std::uint64_t PayloadBytes(const TPayloadTable& table);

// Where the payload begins in the file of a PE32 or PE32+ image: the end of its last section's data in the file (or
// of its headers) rounded up to a multiple of 512. Image holds the file from its first byte, at least up to the end of
// the section table; nothing when it is not such an image or is cut short before that.
std::optional<std::uint64_t> PayloadStart(std::string_view image);

// How many bytes of the image's start PayloadStart needs at most (headers and section table).
inline constexpr std::size_t kPayloadHeaderRead = 64 * 1024;

// The gauge of the copy: the value after Copied of Total blocks, with StepSize = max(1, Total div 100), never above
// 100; after the last block it is 100 whatever the total.
int GaugeValueAfter(std::uint64_t Copied, std::uint64_t Total);
