// LZSS compressor with hash chains and a one-step lazy match, and its bounds-checked decoder.
#include "app/Lzss.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int kLengthBits = 4;
constexpr int kMaxFieldBits = 16;  // the bit reader hands out at most 16 bits at a time

struct TLevel {
    uint32_t WindowBits;
    uint32_t ChainLimit;
};

TLevel LevelParameters(int level) {
    switch (level) {
        case 1:
            return {13, 8};
        case 2:
            return {13, 16};
        case 3:
            return {14, 32};
        case 4:
            return {14, 128};
        default:
            return {10, 2};
    }
}

uint32_t MinMatchLength(uint32_t windowBits, uint32_t lengthBits) {
    return std::max<uint32_t>(3, (windowBits + lengthBits) / 9 + 1);
}

// The most bytes a stream of tokenBytes bytes of tokens can decode to: every token as short as the cheaper of
// a literal (9 bits, one byte) and a match (1 + W + B bits, up to 2^B - 1 + M bytes), each yielding the most.
uint64_t MostDecodableBytes(size_t tokenBytes, uint32_t windowBits, uint32_t lengthBits) {
    const uint64_t minTokenBits = std::min<uint64_t>(9, 1 + windowBits + lengthBits);
    const uint64_t mostPerToken =
        std::max<uint64_t>(1, (uint64_t{1} << lengthBits) - 1 + MinMatchLength(windowBits, lengthBits));
    return static_cast<uint64_t>(tokenBytes) * 8 / minTokenBits * mostPerToken;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------------
// Compressor

void HS_LZSS_Compress::WriteBits(uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
        m_nCompressedLong = (m_nCompressedLong << 1) | ((value >> i) & 1u);
        if (++m_nCompressedBitsUsed == 32) {
            if (m_nCompressedStreamPos + 2 > m_nCompressedSize) {
                m_bOverflow = true;
            } else {
                m_bCompressedData[m_nCompressedStreamPos++] = static_cast<uint8_t>(m_nCompressedLong >> 24);
                m_bCompressedData[m_nCompressedStreamPos++] = static_cast<uint8_t>(m_nCompressedLong >> 16);
            }
            m_nCompressedLong &= 0xFFFFu;
            m_nCompressedBitsUsed = 16;
        }
    }
}

void HS_LZSS_Compress::FlushBits() {
    const uint32_t word = m_nCompressedBitsUsed == 0 ? 0 : m_nCompressedLong << (32 - m_nCompressedBitsUsed);
    if (m_nCompressedStreamPos + 4 > m_nCompressedSize) {
        m_bOverflow = true;
        return;
    }
    for (int shift = 24; shift >= 0; shift -= 8) {
        m_bCompressedData[m_nCompressedStreamPos++] = static_cast<uint8_t>(word >> shift);
    }
}

uint32_t HS_LZSS_Compress::Hash(uint32_t p) const {
    // Bytes past the end count as zero, so hashing the last two positions reads nothing outside the input.
    auto at = [this](uint32_t i) -> uint32_t { return i < m_nDataSize ? m_bData[i] : 0u; };
    uint32_t h = (((at(p) << 4) ^ at(p + 1)) << 4) ^ at(p + 2);
    h *= 40543u;
    return (h >> 4) & 0xFFFu;
}

int32_t HS_LZSS_Compress::AllocNode(uint32_t pos) {
    int32_t node;
    if (m_nFreeNode >= 0) {
        node = m_nFreeNode;
        m_nFreeNode = m_Nodes[node].Next;
    } else {
        node = static_cast<int32_t>(m_Nodes.size());
        m_Nodes.push_back({});
    }
    m_Nodes[node] = {pos, -1};
    return node;
}

void HS_LZSS_Compress::FreeNode(int32_t node) {
    m_Nodes[node].Next = m_nFreeNode;
    m_nFreeNode = node;
}

void HS_LZSS_Compress::PurgeChain(uint32_t hash, uint32_t p) {
    const uint32_t windowStart = p < m_nWindowLen ? 0 : p - m_nWindowLen;
    int32_t* link = &m_HashTable[hash];
    while (*link >= 0) {
        const int32_t node = *link;
        if (m_Nodes[node].Pos < windowStart) {
            *link = m_Nodes[node].Next;
            FreeNode(node);
        } else {
            link = &m_Nodes[node].Next;
        }
    }
}

void HS_LZSS_Compress::InsertPosition(uint32_t p) {
    const uint32_t hash = Hash(p);
    if (m_HashTable[hash] < 0) {
        m_HashTable[hash] = AllocNode(p);
        return;
    }
    // Look for the last node within the chain limit; a chain is never longer than limit + 1 nodes.
    int32_t node = m_HashTable[hash];
    uint32_t steps = 1;
    while (m_Nodes[node].Next >= 0 && steps < m_nHashChainLimit) {
        node = m_Nodes[node].Next;
        ++steps;
    }
    if (m_Nodes[node].Next < 0) {
        const int32_t added = AllocNode(p);
        m_Nodes[node].Next = added;
        return;
    }
    // Full chain: the oldest position gives way, the order of the nodes stays.
    int32_t oldest = m_HashTable[hash];
    for (int32_t n = m_Nodes[oldest].Next; n >= 0; n = m_Nodes[n].Next) {
        if (m_Nodes[n].Pos < m_Nodes[oldest].Pos) {
            oldest = n;
        }
    }
    m_Nodes[oldest].Pos = p;
}

void HS_LZSS_Compress::FindMatch(uint32_t p, uint32_t& distance, uint32_t& length) {
    const uint32_t hash = Hash(p);
    PurgeChain(hash, p);
    uint32_t best = m_nMinMatchLen - 1;
    distance = 0;
    for (int32_t node = m_HashTable[hash]; node >= 0; node = m_Nodes[node].Next) {
        const uint32_t q = m_Nodes[node].Pos;
        uint32_t k = 0;
        // A match stays behind the current position (never longer than its distance) and inside the input.
        while (k < m_nMatchLen && q + k < p && p + k < m_nDataSize && m_bData[p + k] == m_bData[q + k]) {
            ++k;
        }
        if (k > best) {
            best = k;
            distance = p - q;
            if (k >= m_nMatchLen) {
                best = m_nMatchLen;
                break;
            }
        }
    }
    length = best;
}

int HS_LZSS_Compress::Compress(const uint8_t* bData,
                               uint8_t* bCompressedData,
                               uint32_t nDataSize,
                               uint32_t& nCompressedSize,
                               int nCompressionLevel) {
    if (nDataSize < 32) {
        return kLzssNotSmaller;
    }
    m_bData = bData;
    m_nDataSize = nDataSize;
    m_nDataStreamPos = 0;
    m_bCompressedData = bCompressedData;
    m_nCompressedStreamPos = 0;
    m_nCompressedSize = nDataSize;
    m_bOverflow = false;
    m_nCompressedLong = 0;
    m_nCompressedBitsUsed = 0;

    const TLevel level = LevelParameters(nCompressionLevel);
    m_nWindowBits = level.WindowBits;
    m_nHashChainLimit = level.ChainLimit;
    m_nMatchLenBits = kLengthBits;
    m_nMinMatchLen = MinMatchLength(m_nWindowBits, m_nMatchLenBits);
    m_nWindowLen = (1u << m_nWindowBits) - 1 + m_nMinMatchLen;
    m_nMatchLen = (1u << m_nMatchLenBits) - 1 + m_nMinMatchLen;

    for (char c : {'L', 'Z', 'S', 'S'}) {
        WriteBits(static_cast<uint8_t>(c), 8);
    }
    WriteBits(nDataSize >> 16, 16);
    WriteBits(nDataSize & 0xFFFFu, 16);
    WriteBits(m_nWindowBits, 8);
    WriteBits(m_nMatchLenBits, 8);

    std::fill(std::begin(m_HashTable), std::end(m_HashTable), -1);
    m_Nodes.clear();
    m_nFreeNode = -1;

    auto writeLiteral = [this](uint32_t at) {
        WriteBits(0, 1);
        WriteBits(m_bData[at], 8);
    };
    auto writeMatch = [this](uint32_t distance, uint32_t length) {
        WriteBits(1, 1);
        WriteBits(distance - m_nMinMatchLen, static_cast<int>(m_nWindowBits));
        WriteBits(length - m_nMinMatchLen, static_cast<int>(m_nMatchLenBits));
    };

    auto release = [this] {
        m_Nodes.clear();
        m_Nodes.shrink_to_fit();
        m_nFreeNode = -1;
        m_bData = nullptr;
        m_bCompressedData = nullptr;
    };

    uint32_t& i = m_nDataStreamPos;
    while (i < nDataSize) {
        if (m_nCompressedStreamPos >= nDataSize - 16 || m_bOverflow) {
            release();
            return kLzssNotSmaller;
        }
        uint32_t d1, l1, d2 = 0, l2 = 0;
        FindMatch(i, d1, l1);
        if (i + 1 < nDataSize) {
            FindMatch(i + 1, d2, l2);
        }
        uint32_t next;
        if (d1 != 0 || d2 != 0) {
            if (l1 < l2) {
                writeLiteral(i);
                writeMatch(d2, l2);
                next = i + 1 + l2;
            } else {
                writeMatch(d1, l1);
                next = i + l1;
            }
        } else {
            writeLiteral(i);
            next = i + 1;
        }
        for (uint32_t p = i; p < next; ++p) {
            InsertPosition(p);
        }
        i = next;
    }
    WriteBits(0, 16);
    FlushBits();
    const bool overflow = m_bOverflow;
    release();
    // The check in the loop sees only whole words already written; the last tokens, the end marker and the
    // flush can still carry the stream to within 16 bytes of the input, which the caller was promised not to get.
    if (overflow || m_nCompressedStreamPos >= nDataSize - 16) {
        return kLzssNotSmaller;
    }
    nCompressedSize = m_nCompressedStreamPos;
    return kLzssOk;
}

// ---------------------------------------------------------------------------------------------------------------
// Decompressor

bool HS_LZSS_Uncompress::ReadBits(int count, uint32_t& value) {
    // Only bits the stream holds; a last odd byte counts, the missing half of its word does not.
    if (m_nBitsRead + static_cast<size_t>(count) > 8 * m_nCompressedSize) {
        return false;
    }
    while (m_nCompressedBitsUsed < count) {
        const size_t left = m_nCompressedSize - m_nCompressedStreamPos;
        uint32_t word = 0;
        if (left >= 1) {
            word = uint32_t{m_bCompressedData[m_nCompressedStreamPos]} << 8;
        }
        if (left >= 2) {
            word |= m_bCompressedData[m_nCompressedStreamPos + 1];
        }
        m_nCompressedStreamPos += std::min<size_t>(left, 2);
        m_nCompressedLong = (m_nCompressedLong << 16) | word;
        m_nCompressedBitsUsed += 16;
    }
    m_nCompressedBitsUsed -= count;
    value = (m_nCompressedLong >> m_nCompressedBitsUsed) & ((1u << count) - 1u);
    m_nBitsRead += static_cast<size_t>(count);
    return true;
}

int HS_LZSS_Uncompress::GetUncompressedSize(const uint8_t* bCompressedData,
                                            size_t nCompressedSize,
                                            uint32_t& nUncompressedSize) {
    if (bCompressedData == nullptr || nCompressedSize < kLzssHeaderSize) {
        return kLzssDamaged;
    }
    const uint8_t* h = bCompressedData;
    const uint32_t size = (uint32_t{h[4]} << 24) | (uint32_t{h[5]} << 16) | (uint32_t{h[6]} << 8) | h[7];
    const uint32_t windowBits = h[8];
    const uint32_t lengthBits = h[9];
    if (windowBits > kMaxFieldBits || lengthBits > kMaxFieldBits) {
        return kLzssDamaged;
    }
    if (size > kLzssMaxUncompressedSize ||
        size > MostDecodableBytes(nCompressedSize - kLzssHeaderSize, windowBits, lengthBits)) {
        return kLzssTooLarge;
    }
    nUncompressedSize = size;
    return kLzssOk;
}

int HS_LZSS_Uncompress::Uncompress(const uint8_t* bCompressedData,
                                   size_t nCompressedSize,
                                   uint8_t* bData,
                                   size_t nDataCapacity) {
    uint32_t size = 0;
    if (const int rc = GetUncompressedSize(bCompressedData, nCompressedSize, size); rc != kLzssOk) {
        return rc;
    }
    if (size > nDataCapacity || (size > 0 && bData == nullptr)) {
        return kLzssTooLarge;
    }
    m_bCompressedData = bCompressedData;
    m_nCompressedSize = nCompressedSize;
    m_nCompressedStreamPos = 0;
    m_nCompressedLong = 0;
    m_nCompressedBitsUsed = 0;
    m_nBitsRead = 0;

    // The header goes through the bit reader like the rest; the magic is read and ignored.
    uint32_t field;
    for (int i = 0; i < 4; ++i) {
        ReadBits(8, field);
    }
    ReadBits(16, field);
    ReadBits(16, field);
    uint32_t windowBits, lengthBits;
    ReadBits(8, windowBits);
    ReadBits(8, lengthBits);
    const uint32_t minMatch = MinMatchLength(windowBits, lengthBits);

    uint32_t out = 0;
    while (out < size) {
        uint32_t flag;
        if (!ReadBits(1, flag)) {
            return kLzssDamaged;
        }
        if (flag != 0) {
            uint32_t distance, length;
            if (!ReadBits(static_cast<int>(windowBits), distance) || !ReadBits(static_cast<int>(lengthBits), length)) {
                return kLzssDamaged;
            }
            distance += minMatch;
            length += minMatch;
            if (distance > out || length > size - out) {
                return kLzssDamaged;
            }
            // Byte by byte on purpose: an overlapping copy repeats the bytes it has just written.
            for (uint32_t k = 0; k < length; ++k, ++out) {
                bData[out] = bData[out - distance];
            }
        } else {
            uint32_t literal;
            if (!ReadBits(8, literal)) {
                return kLzssDamaged;
            }
            bData[out++] = static_cast<uint8_t>(literal);
        }
    }
    // The end marker and the flush behind the last token carry nothing: a stream cut short in them still holds the
    // whole output (other readers never look at them). What is there of the marker must be zero, though.
    const size_t left = 8 * nCompressedSize - m_nBitsRead;
    uint32_t endMarker = 0;
    const int markerBits = static_cast<int>(std::min<size_t>(left, 16));
    if (markerBits > 0) {
        ReadBits(markerBits, endMarker);  // within the stream: cannot fail
    }
    m_bCompressedData = nullptr;
    return endMarker == 0 ? kLzssOk : kLzssDamaged;
}

// ---------------------------------------------------------------------------------------------------------------

int LzssCompress(std::span<const uint8_t> data, int level, std::vector<uint8_t>& compressed) {
    if (data.size() > std::numeric_limits<uint32_t>::max()) {
        return kLzssNotSmaller;
    }
    const auto size = static_cast<uint32_t>(data.size());
    std::vector<uint8_t> out(size);
    uint32_t outSize = 0;
    HS_LZSS_Compress compressor;
    const int rc = compressor.Compress(data.data(), out.data(), size, outSize, level);
    if (rc == kLzssOk) {
        out.resize(outSize);
        compressed = std::move(out);
    }
    return rc;
}

int LzssUncompress(std::span<const uint8_t> compressed, std::vector<uint8_t>& data) {
    HS_LZSS_Uncompress decoder;
    uint32_t size = 0;
    if (const int rc = decoder.GetUncompressedSize(compressed.data(), compressed.size(), size); rc != kLzssOk) {
        return rc;
    }
    std::vector<uint8_t> out(size);
    if (const int rc = decoder.Uncompress(compressed.data(), compressed.size(), out.data(), out.size());
        rc != kLzssOk) {
        return rc;
    }
    data = std::move(out);
    return kLzssOk;
}
