// LZSS codec of the settings file. Index: HS_LZSS_Compress, HS_LZSS_Uncompress, LzssCompress, LzssUncompress.
//
// Stream: the magic "LZSS", the uncompressed size as two big-endian 16-bit halves, the window bits W and the
// length bits B (one byte each), then tokens (0 + 8-bit literal, or 1 + (distance - M) in W bits + (length - M)
// in B bits, M = max(3, (W + B) / 9 + 1)), a 16-bit zero end marker and a flush of the pending bits as 4 bytes.
// Bits are written most significant first as big-endian 16-bit words. Files written by one version must load in
// every other, so the token choice of the compressor is part of the format's contract, not a tuning detail.
//
// Both classes are plain objects for one operation on caller-owned buffers; neither keeps a pointer after the
// call returns. Pure code: no windows.h, so the codec can be built and fuzzed natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Results of the codec. Compress only returns kLzssOk or kLzssNotSmaller.
inline constexpr int kLzssOk = 0;
inline constexpr int kLzssNotSmaller = 1;  // input under 32 bytes, or output not at least 16 bytes smaller
inline constexpr int kLzssDamaged = 2;     // stream malformed, truncated or pointing outside its output
inline constexpr int kLzssTooLarge = 3;    // declared size above kLzssMaxUncompressedSize or the output buffer

// Largest uncompressed size the decoder accepts. The settings record is a few kilobytes; anything near this is
// a damaged or foreign file, and refusing it keeps a hostile header from making us allocate gigabytes.
inline constexpr uint32_t kLzssMaxUncompressedSize = 64u * 1024 * 1024;

inline constexpr size_t kLzssHeaderSize = 10;

class HS_LZSS_Compress {
  public:
    // Compresses nDataSize bytes of bData into bCompressedData, which holds nDataSize bytes. Returns kLzssOk and
    // sets nCompressedSize, or kLzssNotSmaller (nCompressedSize untouched, output unusable).
    // Levels 1 to 4 choose window and chain limit; any other value takes the smallest window.
    int Compress(const uint8_t* bData,
                 uint8_t* bCompressedData,
                 uint32_t nDataSize,
                 uint32_t& nCompressedSize,
                 int nCompressionLevel);

  private:
    struct TChainNode {
        uint32_t Pos;
        int32_t Next;  // index into m_Nodes, -1 ends the chain
    };
    static constexpr int kHashSize = 4096;

    void WriteBits(uint32_t value, int count);
    void FlushBits();
    uint32_t Hash(uint32_t p) const;
    void PurgeChain(uint32_t hash, uint32_t p);
    void InsertPosition(uint32_t p);
    void FindMatch(uint32_t p, uint32_t& distance, uint32_t& length);
    int32_t AllocNode(uint32_t pos);
    void FreeNode(int32_t node);

    const uint8_t* m_bData = nullptr;  // borrowed for the call
    uint32_t m_nDataSize = 0;
    uint32_t m_nDataStreamPos = 0;
    uint8_t* m_bCompressedData = nullptr;  // borrowed for the call
    uint32_t m_nCompressedStreamPos = 0;
    uint32_t m_nCompressedSize = 0;  // capacity of the output
    bool m_bOverflow = false;
    uint32_t m_nCompressedLong = 0;
    int m_nCompressedBitsUsed = 0;
    uint32_t m_nWindowBits = 0;
    uint32_t m_nMatchLenBits = 0;
    uint32_t m_nWindowLen = 0;
    uint32_t m_nMatchLen = 0;
    uint32_t m_nMinMatchLen = 0;
    uint32_t m_nHashChainLimit = 0;
    int32_t m_HashTable[kHashSize];
    // Chain nodes live in one pool with a free list: the same chains as separately allocated nodes, without a
    // heap call per position.
    std::vector<TChainNode> m_Nodes;
    int32_t m_nFreeNode = -1;
};

class HS_LZSS_Uncompress {
  public:
    // Reads the declared uncompressed size. Fails (kLzssDamaged) on a header shorter than kLzssHeaderSize or with
    // unusable W/B, and (kLzssTooLarge) on a size above kLzssMaxUncompressedSize or above what nCompressedSize
    // bytes of tokens could possibly encode.
    int GetUncompressedSize(const uint8_t* bCompressedData, size_t nCompressedSize, uint32_t& nUncompressedSize);

    // Decodes the whole stream into bData (nDataCapacity bytes, at least the declared size). The magic is not
    // checked. Returns kLzssOk, or kLzssDamaged/kLzssTooLarge without touching memory outside the two buffers;
    // the content of bData is then unspecified.
    int Uncompress(const uint8_t* bCompressedData, size_t nCompressedSize, uint8_t* bData, size_t nDataCapacity);

  private:
    bool ReadBits(int count, uint32_t& value);

    const uint8_t* m_bCompressedData = nullptr;  // borrowed for the call
    size_t m_nCompressedSize = 0;
    size_t m_nCompressedStreamPos = 0;
    uint32_t m_nCompressedLong = 0;
    int m_nCompressedBitsUsed = 0;  // bits of m_nCompressedLong not yet returned
    size_t m_nBitsRead = 0;
};

// Vector conveniences over the two classes.
int LzssCompress(std::span<const uint8_t> data, int level, std::vector<uint8_t>& compressed);
int LzssUncompress(std::span<const uint8_t> compressed, std::vector<uint8_t>& data);
