#include "setup/Payload.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint64_t kSector = 512;

template <typename T>
bool ReadAt(std::string_view data, std::uint64_t at, T& out) {
    if (at > data.size() || data.size() - at < sizeof(T))
        return false;
    std::memcpy(&out, data.data() + at, sizeof(T));  // little-endian, as the file format and both targets are
    return true;
}

}  // namespace

std::uint64_t PayloadBlocks(const TPayloadTable& table) {
    std::uint64_t n = 0;
    for (const TPayloadSlot& s : table)
        n += s.Blocks;
    return n;
}

std::uint64_t PayloadBytes(const TPayloadTable& table) {
    std::uint64_t n = 0;
    for (const TPayloadSlot& s : table)
        n += s.Bytes();
    return n;
}

std::optional<std::uint64_t> PayloadStart(std::string_view image) {
    std::uint16_t mz = 0;
    std::uint32_t pe = 0, signature = 0, headersEnd = 0;
    std::uint16_t sections = 0, optionalSize = 0, magic = 0;
    if (!ReadAt(image, 0, mz) || mz != 0x5A4D || !ReadAt(image, 0x3C, pe))
        return std::nullopt;
    if (!ReadAt(image, pe, signature) || signature != 0x00004550 || !ReadAt(image, pe + 6ull, sections) ||
        !ReadAt(image, pe + 20ull, optionalSize))
        return std::nullopt;
    const std::uint64_t optional = pe + 24ull;
    // PE32 or PE32+: SizeOfHeaders lies at the same place in both.
    if (!ReadAt(image, optional, magic) || (magic != 0x10B && magic != 0x20B) ||
        !ReadAt(image, optional + 60, headersEnd))
        return std::nullopt;
    const std::uint64_t table = optional + optionalSize;
    if (table + 40ull * sections > image.size())
        return std::nullopt;
    std::uint64_t end = headersEnd;
    for (std::uint16_t i = 0; i < sections; ++i) {
        std::uint32_t rawSize = 0, rawAt = 0;
        ReadAt(image, table + 40ull * i + 16, rawSize);
        ReadAt(image, table + 40ull * i + 20, rawAt);
        if (rawSize != 0)
            end = std::max<std::uint64_t>(end, std::uint64_t{rawAt} + rawSize);
    }
    return (end + kSector - 1) / kSector * kSector;
}

int GaugeValueAfter(std::uint64_t Copied, std::uint64_t Total) {
    if (Total == 0 || Copied >= Total)
        return 100;
    const std::uint64_t step = std::max<std::uint64_t>(1, Total / 100);
    return static_cast<int>(std::min<std::uint64_t>(100, Copied / step));
}
