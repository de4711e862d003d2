// The text transforms every identity goes through: a changed letter here changes every stored identity.
#include <gtest/gtest.h>

#include "identity/MachineIdSources.h"

namespace identity {
namespace {

struct TextCase {
    std::wstring in;
    std::wstring out;
};

TEST(NormalizeIdPart, DigitsBecomeLettersByPositionAndLastEightStay) {
    const TextCase cases[] = {
        {L"ab-12 cd", L"ABEGCD"},        // 1 at position 3 -> E, 2 at 4 -> G
        {L"1234567890AB", L"KMOQSAAB"},  // 0 at position 10 -> A; the last 8 kept
        {L"", L""},
        {L"  -- ", L""},
        {L"99999999", L"KLMNOPQR"},     // 65 + 9 + p
        {L"ABCDEFGH9", L"BCDEFGHS"},    // 9 at position 9 -> S, then the first letter drops
        {L"ABCDEFGHIJ9", L"DEFGHIJJ"},  // 9 at position 11 -> 65 + 9 = J
        {L"W\u00e9\u0131x", L"WX"},     // non-ASCII letters go, whatever the locale upper-cases them to
        {std::wstring(L"\0A\0B", 4), L"AB"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(NormalizeIdPart(c.in), c.out) << testing::PrintToString(c.in);
}

TEST(NormalizeIdPart, CountsPositionsAfterDroppingOtherCharacters) {
    // The same digits at the same raw index, but after a dropped hyphen the position differs.
    EXPECT_EQ(NormalizeIdPart(L"A1"), L"AD");  // 1 at position 2 -> 68
    EXPECT_EQ(NormalizeIdPart(L"-1"), L"C");   // 1 at position 1 -> 67
}

TEST(KeepDigitsAndLetters, KeepsOnlyUpperCaseLettersAndDigits) {
    EXPECT_EQ(KeepDigitsAndLetters(L"01/15/09"), L"011509");
    EXPECT_EQ(KeepDigitsAndLetters(L"ab-CD 9"), L"CD9");
    EXPECT_EQ(KeepDigitsAndLetters(L""), L"");
}

TEST(NumberToLetters, BaseTwentySixWithAForZero) {
    const std::pair<int64_t, const wchar_t*> cases[] = {
        {0, L"A"}, {25, L"Z"}, {26, L"BA"}, {11509, L"RAR"}, {261007, L"OWCT"}, {2147483648LL, L"GYTISYY"},
    };
    for (const auto& [n, letters] : cases)
        EXPECT_EQ(NumberToLetters(n), letters) << n;
}

TEST(ReverseText, ReversesUnlessBlank) {
    EXPECT_EQ(ReverseText(L"001A2B3C4D5E"), L"E5D4C3B2A100");
    EXPECT_EQ(ReverseText(L" ab"), L"ba ");
    EXPECT_EQ(ReverseText(L"   "), L"");
    EXPECT_EQ(ReverseText(L""), L"");
}

}  // namespace
}  // namespace identity
