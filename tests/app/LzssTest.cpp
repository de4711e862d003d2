// LZSS codec: exact streams of the compressor (files written by one version load in another), round trips at
// every level, and a decoder that refuses damaged, truncated and oversized streams.
#include "app/Lzss.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <variant>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Stream writer for hand-made streams: the same MSB-first 16-bit word packing as the format.
class TBitWriter {
  public:
    void Put(uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            bits_.push_back(((value >> i) & 1u) != 0);
        }
    }
    void Header(uint32_t size, uint32_t windowBits, uint32_t lengthBits, const char* magic = "LZSS") {
        for (int i = 0; i < 4; ++i) {
            Put(static_cast<uint8_t>(magic[i]), 8);
        }
        Put(size >> 16, 16);
        Put(size & 0xFFFF, 16);
        Put(windowBits, 8);
        Put(lengthBits, 8);
    }
    void Literal(uint8_t b) {
        Put(0, 1);
        Put(b, 8);
    }
    void Match(uint32_t distance, uint32_t length, int windowBits, int lengthBits = 4, uint32_t minMatch = 3) {
        Put(1, 1);
        Put(distance - minMatch, windowBits);
        Put(length - minMatch, lengthBits);
    }
    // End marker and flush as the compressor writes them.
    Bytes Finish() {
        Put(0, 16);
        std::vector<bool> bits = bits_;
        const size_t words = (bits.size() - 16) / 16;
        bits.resize(words * 16 + 32, false);
        Bytes out;
        for (size_t i = 0; i < bits.size(); i += 8) {
            uint8_t b = 0;
            for (size_t k = 0; k < 8; ++k) {
                b = static_cast<uint8_t>((b << 1) | (bits[i + k] ? 1 : 0));
            }
            out.push_back(b);
        }
        return out;
    }

  private:
    std::vector<bool> bits_;
};

// Independent token reader for checking what the compressor chose.
struct TMatch {
    uint32_t Distance;
    uint32_t Length;
    bool operator==(const TMatch&) const = default;
};
using TToken = std::variant<uint8_t, TMatch>;

std::vector<TToken> ReadTokens(const Bytes& stream) {
    size_t bit = 0;
    auto get = [&](int count) {
        uint32_t v = 0;
        for (int i = 0; i < count; ++i, ++bit) {
            v = (v << 1) | ((stream.at(bit / 8) >> (7 - bit % 8)) & 1u);
        }
        return v;
    };
    get(32);
    const uint32_t size = (get(16) << 16) | get(16);
    const int w = static_cast<int>(get(8));
    const int b = static_cast<int>(get(8));
    std::vector<TToken> tokens;
    for (uint32_t out = 0; out < size;) {
        if (get(1) != 0) {
            const uint32_t d = get(w) + 3;
            const uint32_t l = get(b) + 3;
            tokens.emplace_back(TMatch{d, l});
            out += l;
        } else {
            tokens.emplace_back(static_cast<uint8_t>(get(8)));
            ++out;
        }
    }
    return tokens;
}

Bytes RandomBytes(size_t n, uint32_t seed) {
    std::mt19937 gen(seed);
    Bytes out(n);
    for (auto& b : out) {
        b = static_cast<uint8_t>(gen());
    }
    return out;
}

// Text-like data: words from a small vocabulary, so matches of every length and distance occur.
Bytes SemiCompressible(size_t n, uint32_t seed) {
    static const char* const kWords[] = {"mail ",    "account ", "imap.example.org ", "993 ",        "reminder ",
                                         "\x01\x02", "Posl ",    "\xD0\x9F\xD1\x80",  "0000000000 ", "zzz"};
    std::mt19937 gen(seed);
    Bytes out;
    while (out.size() < n) {
        if (gen() % 7 == 0) {
            out.push_back(static_cast<uint8_t>(gen()));
            continue;
        }
        const char* w = kWords[gen() % std::size(kWords)];
        out.insert(out.end(), w, w + std::strlen(w));
    }
    out.resize(n);
    return out;
}

int Decode(const Bytes& stream, Bytes& out) {
    out.clear();
    return LzssUncompress(stream, out);
}

TEST(LzssCompress, SixtyFourZeroBytesGiveTheExactStream) {
    // Tokens: three literals (a match never exceeds its distance), then the lazy search at i + 1 wins three
    // times (literal + match 3/3, 7/7, 15/15), then 30/18 and the rest 48/16; 236 bits make 13 words + flush.
    const Bytes expected = {0x4C, 0x5A, 0x53, 0x53, 0x00, 0x00, 0x00, 0x40, 0x0E, 0x04, 0x00, 0x00, 0x00, 0x10, 0x00,
                            0x00, 0x01, 0x00, 0x11, 0x00, 0x10, 0x03, 0x32, 0x00, 0xDF, 0xC0, 0x2D, 0xD0, 0x00, 0x00};
    Bytes stream;
    ASSERT_EQ(LzssCompress(Bytes(64, 0), 4, stream), kLzssOk);
    EXPECT_EQ(stream, expected);

    const std::vector<TToken> tokens = {uint8_t{0},   uint8_t{0}, uint8_t{0},     TMatch{3, 3},   uint8_t{0},
                                        TMatch{7, 7}, uint8_t{0}, TMatch{15, 15}, TMatch{30, 18}, TMatch{48, 16}};
    EXPECT_EQ(ReadTokens(stream), tokens);
}

TEST(LzssCompress, ThousandZeroBytesStartWithTheHeaderAndDecode) {
    const Bytes input(1000, 0);
    Bytes stream;
    ASSERT_EQ(LzssCompress(input, 4, stream), kLzssOk);
    const Bytes head = {0x4C, 0x5A, 0x53, 0x53, 0x00, 0x00, 0x03, 0xE8, 0x0E, 0x04};
    ASSERT_GE(stream.size(), head.size());
    EXPECT_EQ(Bytes(stream.begin(), stream.begin() + 10), head);
    Bytes back;
    ASSERT_EQ(Decode(stream, back), kLzssOk);
    EXPECT_EQ(back, input);
}

TEST(LzssCompress, RepeatedTripletsBecomeMatchesOfThreeAndSix) {
    Bytes input = {'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c'};
    input.resize(64, 0);
    Bytes stream;
    ASSERT_EQ(LzssCompress(input, 4, stream), kLzssOk);
    const std::vector<TToken> tokens = ReadTokens(stream);
    ASSERT_GE(tokens.size(), 5u);
    EXPECT_EQ(tokens[0], TToken(uint8_t{'a'}));
    EXPECT_EQ(tokens[1], TToken(uint8_t{'b'}));
    EXPECT_EQ(tokens[2], TToken(uint8_t{'c'}));
    EXPECT_EQ(tokens[3], TToken(TMatch{3, 3}));
    EXPECT_EQ(tokens[4], TToken(TMatch{6, 6}));
    Bytes back;
    ASSERT_EQ(Decode(stream, back), kLzssOk);
    EXPECT_EQ(back, input);
}

TEST(LzssCompress, RefusesWhatItCannotShrinkBySixteenBytes) {
    struct TCase {
        const char* Name;
        Bytes Input;
    };
    const TCase cases[] = {
        {"31 zero bytes", Bytes(31, 0)},
        {"31 random bytes", RandomBytes(31, 7)},
        {"32 equal bytes", Bytes(32, 'x')},
        {"2000 random bytes", RandomBytes(2000, 11)},
        {"empty", Bytes()},
        // Passes every check inside the loop; only the end marker and flush make it 28 bytes for 42.
        {"42 bytes of triplets",
         [] {
             Bytes b;
             for (int i = 0; i < 14; ++i) {
                 b.insert(b.end(), {'a', 'b', 'c'});
             }
             return b;
         }()},
    };
    for (const TCase& c : cases) {
        for (int level : {0, 1, 4}) {
            Bytes stream = {0xAA};
            EXPECT_EQ(LzssCompress(c.Input, level, stream), kLzssNotSmaller) << c.Name << " level " << level;
            EXPECT_EQ(stream, Bytes{0xAA}) << c.Name;
        }
    }
    // The class itself leaves the size untouched on refusal.
    const Bytes input = RandomBytes(100, 3);
    Bytes out(input.size());
    uint32_t size = 12345;
    HS_LZSS_Compress compressor;
    EXPECT_EQ(compressor.Compress(input.data(), out.data(), 100, size, 4), kLzssNotSmaller);
    EXPECT_EQ(size, 12345u);
}

TEST(LzssCompress, LevelChoosesTheWindowBits) {
    const struct {
        int Level;
        uint8_t WindowBits;
    } cases[] = {{0, 10}, {1, 13}, {2, 13}, {3, 14}, {4, 14}, {5, 10}, {7, 10}, {-1, 10}};
    const Bytes input = SemiCompressible(3000, 5);
    for (const auto& c : cases) {
        Bytes stream;
        ASSERT_EQ(LzssCompress(input, c.Level, stream), kLzssOk) << c.Level;
        EXPECT_EQ(stream[8], c.WindowBits) << "level " << c.Level;
        EXPECT_EQ(stream[9], 4) << "level " << c.Level;
    }
}

TEST(LzssCompress, RoundTripsAtEveryLevel) {
    struct TCase {
        const char* Name;
        Bytes Input;
    };
    Bytes runs;  // long runs overflow every chain limit and exercise the replacement of the oldest node
    for (int i = 0; i < 40; ++i) {
        runs.insert(runs.end(), 50 + i * 13, static_cast<uint8_t>(i % 3));
    }
    Bytes triplets;
    for (int i = 0; i < 14; ++i) {
        triplets.insert(triplets.end(), {'a', 'b', 'c'});
    }
    triplets.resize(60, 0);
    Bytes halfRandom = RandomBytes(1500, 9);  // random head, compressible tail
    halfRandom.resize(6000, 'q');
    const TCase cases[] = {
        {"60 bytes of triplets and zeros", triplets},
        {"text 5000", SemiCompressible(5000, 2)},
        {"text 70000 (beyond every window)", SemiCompressible(70000, 3)},
        {"runs", runs},
        {"random then run", halfRandom},
        {"zeros 100000", Bytes(100000, 0)},
    };
    for (const TCase& c : cases) {
        for (int level = 0; level <= 5; ++level) {
            Bytes stream;
            ASSERT_EQ(LzssCompress(c.Input, level, stream), kLzssOk) << c.Name << " level " << level;
            EXPECT_LT(stream.size() + 16, c.Input.size()) << c.Name;
            Bytes back;
            ASSERT_EQ(Decode(stream, back), kLzssOk) << c.Name << " level " << level;
            EXPECT_EQ(back, c.Input) << c.Name << " level " << level;
        }
    }
}

TEST(LzssCompress, LastBytesHashWithoutReadingPastTheInput) {
    // The input sits at the very end of its allocation; bytes beyond it would be garbage or unmapped.
    const Bytes source = SemiCompressible(200, 4);
    for (size_t n = 32; n <= source.size(); n += 17) {
        auto exact = std::make_unique<uint8_t[]>(n);
        std::copy(source.begin(), source.begin() + static_cast<ptrdiff_t>(n), exact.get());
        Bytes out(n);
        uint32_t size = 0;
        HS_LZSS_Compress compressor;
        if (compressor.Compress(exact.get(), out.data(), static_cast<uint32_t>(n), size, 4) == kLzssOk) {
            out.resize(size);
            Bytes back;
            ASSERT_EQ(Decode(out, back), kLzssOk);
            EXPECT_EQ(back, Bytes(source.begin(), source.begin() + n));
        }
    }
}

TEST(LzssUncompress, IgnoresTheMagic) {
    const Bytes input = SemiCompressible(500, 8);
    Bytes stream;
    ASSERT_EQ(LzssCompress(input, 4, stream), kLzssOk);
    for (size_t i = 0; i < 4; ++i) {
        stream.at(i) = static_cast<uint8_t>("ABCD"[i]);
    }
    Bytes back;
    ASSERT_EQ(Decode(stream, back), kLzssOk);
    EXPECT_EQ(back, input);
}

TEST(LzssUncompress, DecodesHandMadeOverlappingCopy) {
    TBitWriter w;
    w.Header(10, 10, 4);
    w.Literal('x');
    w.Literal('y');
    w.Literal('z');
    w.Match(3, 7, 10);  // copies from its own output: xyzxyzx
    Bytes back;
    ASSERT_EQ(Decode(w.Finish(), back), kLzssOk);
    EXPECT_EQ(std::string(back.begin(), back.end()), "xyzxyzxyzx");
}

TEST(LzssUncompress, RejectsHostileStreams) {
    struct TCase {
        const char* Name;
        Bytes Stream;
        int Expected;
    };
    auto build = [](auto body) {
        TBitWriter w;
        body(w);
        return w.Finish();
    };
    const TCase cases[] = {
        {"match before any output", build([](TBitWriter& w) {
             w.Header(8, 10, 4);
             w.Match(3, 3, 10);
         }),
         kLzssDamaged},
        {"distance one past the start", build([](TBitWriter& w) {
             w.Header(8, 10, 4);
             w.Literal(1);
             w.Literal(2);
             w.Literal(3);
             w.Match(4, 3, 10);
         }),
         kLzssDamaged},
        {"length past the declared size", build([](TBitWriter& w) {
             w.Header(6, 10, 4);
             w.Literal(1);
             w.Literal(2);
             w.Literal(3);
             w.Match(3, 4, 10);
         }),
         kLzssDamaged},
        {"tokens end before the declared size", build([](TBitWriter& w) {
             w.Header(40, 10, 4);
             w.Literal(1);
         }),
         kLzssDamaged},
        {"end marker not zero",
         [] {
             TBitWriter w;
             w.Header(1, 10, 4);
             w.Literal(1);
             w.Put(0xFFFF, 16);
             return w.Finish();
         }(),
         kLzssDamaged},
        {"window bits 17", build([](TBitWriter& w) { w.Header(1, 17, 4); }), kLzssDamaged},
        {"length bits 200", build([](TBitWriter& w) { w.Header(1, 10, 200); }), kLzssDamaged},
        {"declared 4 GiB", build([](TBitWriter& w) { w.Header(0xFFFFFFFFu, 14, 4); }), kLzssTooLarge},
        {"declared 64 MiB + 1", build([](TBitWriter& w) { w.Header(kLzssMaxUncompressedSize + 1, 14, 4); }),
         kLzssTooLarge},
        {"declared more than the tokens can hold", build([](TBitWriter& w) {
             w.Header(1000000, 14, 4);
             w.Literal(1);
         }),
         kLzssTooLarge},
        {"shorter than a header", Bytes{0x4C, 0x5A, 0x53, 0x53, 0, 0, 0}, kLzssDamaged},
        {"nothing", Bytes{}, kLzssDamaged},
    };
    for (const TCase& c : cases) {
        Bytes out = {0x55};
        EXPECT_EQ(LzssUncompress(c.Stream, out), c.Expected) << c.Name;
        EXPECT_EQ(out, Bytes{0x55}) << c.Name;
    }
}

TEST(LzssUncompress, RefusesAnOutputBufferSmallerThanDeclared) {
    Bytes stream;
    ASSERT_EQ(LzssCompress(Bytes(1000, 0), 4, stream), kLzssOk);
    Bytes out(999);
    HS_LZSS_Uncompress decoder;
    EXPECT_EQ(decoder.Uncompress(stream.data(), stream.size(), out.data(), out.size()), kLzssTooLarge);
}

// A stream cut anywhere in its tokens is damaged; one cut only in the end marker and flush behind the last token
// still holds every byte and decodes whole.
TEST(LzssUncompress, RejectsEveryTruncationOfTheTokensAndTakesAShortenedFlush) {
    for (const Bytes& input : {SemiCompressible(3000, 12), Bytes(1000, 0), RandomBytes(40, 3)}) {
        Bytes stream;
        if (LzssCompress(input, 4, stream) != kLzssOk) {
            // Random bytes do not compress: a stream of literals written by hand.
            TBitWriter w;
            w.Header(static_cast<uint32_t>(input.size()), 10, 4);
            for (uint8_t b : input)
                w.Literal(b);
            stream = w.Finish();
        }
        size_t first = stream.size();
        for (size_t cut = 0; cut <= stream.size(); ++cut) {
            Bytes back;
            if (Decode(Bytes(stream.begin(), stream.begin() + cut), back) == kLzssOk) {
                first = std::min(first, cut);
                EXPECT_EQ(back, input) << "cut at " << cut;
            } else {
                EXPECT_LT(cut, first) << "cut at " << cut << " refused after a shorter one loaded";
            }
        }
        // The last bytes of the flush may go, never a byte that holds bits of the last token.
        EXPECT_LE(first, stream.size() - 2);
        EXPECT_GE(first + 5, stream.size());
    }
}

TEST(LzssUncompress, SurvivesCorruptedStreams) {
    // Flipped bits and random bytes anywhere: the decoder either succeeds within the declared size or reports
    // damage; it must never crash or overrun.
    const Bytes input = SemiCompressible(2000, 13);
    Bytes stream;
    ASSERT_EQ(LzssCompress(input, 4, stream), kLzssOk);
    std::mt19937 gen(99);
    int damaged = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes bad = stream;
        const int flips = 1 + static_cast<int>(gen() % 4);
        for (int f = 0; f < flips; ++f) {
            const size_t at = gen() % bad.size();
            bad[at] = static_cast<uint8_t>(round % 2 ? gen() : bad[at] ^ (1u << (gen() % 8)));
        }
        Bytes back;
        const int rc = Decode(bad, back);
        if (rc == kLzssOk) {
            uint32_t declared = 0;
            HS_LZSS_Uncompress decoder;
            ASSERT_EQ(decoder.GetUncompressedSize(bad.data(), bad.size(), declared), kLzssOk);
            EXPECT_EQ(back.size(), declared);
        } else {
            ++damaged;
        }
    }
    EXPECT_GT(damaged, 0);
}

}  // namespace
