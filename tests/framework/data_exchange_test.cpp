#include "framework/DataExchange.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

namespace {

std::optional<UINT> Unsigned(const char* text) {
    UINT value = 12345;
    return afx::ParseUnsigned(text, &value) ? std::optional(value) : std::nullopt;
}

std::optional<int> Signed(const char* text) {
    int value = 12345;
    return afx::ParseSigned(text, &value) ? std::optional(value) : std::nullopt;
}

TEST(NumberFields, UnsignedAcceptsBlanksAroundDigitsAndAPlusSign) {
    EXPECT_EQ(Unsigned("80"), 80u);
    EXPECT_EQ(Unsigned(" 80 "), 80u);
    EXPECT_EQ(Unsigned("\t80\t"), 80u);
    EXPECT_EQ(Unsigned("+80"), 80u);
    EXPECT_EQ(Unsigned("65536"), 65536u);
    EXPECT_EQ(Unsigned("0"), 0u);
    EXPECT_EQ(Unsigned("  000"), 0u);
}

TEST(NumberFields, UnsignedRefusesSignsTrailingTextAndZeroNotWrittenAsZero) {
    EXPECT_EQ(Unsigned("-1"), std::nullopt);
    EXPECT_EQ(Unsigned(" -0"), std::nullopt);
    EXPECT_EQ(Unsigned("80x"), std::nullopt);
    EXPECT_EQ(Unsigned("8 0"), std::nullopt);
    EXPECT_EQ(Unsigned(""), std::nullopt);
    EXPECT_EQ(Unsigned("   "), std::nullopt);
    EXPECT_EQ(Unsigned("+0"), std::nullopt);
    EXPECT_EQ(Unsigned("x"), std::nullopt);
}

TEST(NumberFields, OnlyBlanksAndTabsMayComeBeforeTheDigits) {
    for (const char* text : {"\n80", "\r\n80", "\v80", "\f80", " \n80", "\t\r80"}) {
        EXPECT_EQ(Unsigned(text), std::nullopt) << text;
        EXPECT_EQ(Signed(text), std::nullopt) << text;
    }
    EXPECT_EQ(Unsigned("80\n"), std::nullopt);
    EXPECT_EQ(Signed(" \t-5"), -5);
}

TEST(NumberFields, LargeValuesSaturateInsteadOfFailing) {
    EXPECT_EQ(Unsigned("4294967295"), 4294967295u);
    EXPECT_EQ(Unsigned("4294967296"), 4294967295u);
    EXPECT_EQ(Unsigned("99999999999999999999"), 4294967295u);
    EXPECT_EQ(Signed("2147483647"), INT_MAX);
    EXPECT_EQ(Signed("2147483648"), INT_MAX);
    EXPECT_EQ(Signed("-2147483648"), INT_MIN);
    EXPECT_EQ(Signed("-99999999999"), INT_MIN);
}

TEST(NumberFields, SignedTakesEitherSign) {
    EXPECT_EQ(Signed("-5"), -5);
    EXPECT_EQ(Signed("+5"), 5);
    EXPECT_EQ(Signed(" -5 "), -5);
    EXPECT_EQ(Signed("1000"), 1000);
    EXPECT_EQ(Signed(""), std::nullopt);
    EXPECT_EQ(Signed("-"), std::nullopt);
    EXPECT_EQ(Signed("5-"), std::nullopt);
    EXPECT_EQ(Signed("1e3"), std::nullopt);
}

TEST(NumberFields, OnlyTheFirst31CharactersAreRead) {
    // 30 blanks and "7": the digit is the 31st character and still read.
    EXPECT_EQ(Unsigned((std::string(30, ' ') + "7").c_str()), 7u);
    // The 32nd character is cut off, so "12x" past the cut reads as "1".
    EXPECT_EQ(Unsigned((std::string(30, ' ') + "12x").c_str()), 1u);
    // A digit beyond the cut leaves nothing to read.
    EXPECT_EQ(Unsigned((std::string(31, ' ') + "7").c_str()), std::nullopt);
}

}  // namespace
