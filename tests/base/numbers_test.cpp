#include "base/Numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <string>

namespace {

struct ParseCase {
    const char* text;  // UTF-8
    std::optional<long long> expected;
};

void PrintTo(const ParseCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class ParseDecimal : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseDecimal, ReadsOnlyPlainDecimalIntegers) {
    EXPECT_EQ(parseDecimal(QString::fromUtf8(GetParam().text)), GetParam().expected)
        << GetParam().text;
    EXPECT_EQ(parseDecimalBytes(GetParam().text), GetParam().expected)
        << "bytes " << GetParam().text;
}

constexpr long long maxValue = std::numeric_limits<long long>::max();
constexpr long long minValue = std::numeric_limits<long long>::min();

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseDecimal,
    ::testing::Values(ParseCase{"0", 0}, ParseCase{"42", 42}, ParseCase{"-42", -42},
                      ParseCase{"+42", 42}, ParseCase{"-0", 0}, ParseCase{"007", 7},
                      ParseCase{" 7 ", 7}, ParseCase{"\t-3\r\n", -3}, ParseCase{"65535", 65535},
                      ParseCase{"9223372036854775807", maxValue},
                      ParseCase{"-9223372036854775808", minValue}, ParseCase{"", std::nullopt},
                      ParseCase{"  ", std::nullopt}, ParseCase{"+", std::nullopt},
                      ParseCase{"-", std::nullopt}, ParseCase{"+-1", std::nullopt},
                      ParseCase{"-+1", std::nullopt}, ParseCase{"--1", std::nullopt},
                      ParseCase{"++1", std::nullopt}, ParseCase{"1.5", std::nullopt},
                      ParseCase{"1,5", std::nullopt}, ParseCase{"1.234", std::nullopt},
                      ParseCase{"0x10", std::nullopt}, ParseCase{"1e3", std::nullopt},
                      ParseCase{"12a", std::nullopt}, ParseCase{"a12", std::nullopt},
                      ParseCase{"1 2", std::nullopt}, ParseCase{"- 1", std::nullopt},
                      ParseCase{"9223372036854775808", std::nullopt},
                      ParseCase{"-9223372036854775809", std::nullopt},
                      ParseCase{"\u0663", std::nullopt},  // ARABIC-INDIC DIGIT THREE
                      ParseCase{"\uFF11", std::nullopt},  // FULLWIDTH DIGIT ONE
                      ParseCase{"1\u00B0", std::nullopt},
                      ParseCase{"\u00A07\u00A0", 7}));  // NO-BREAK SPACE around

TEST(DecimalText, WritesPlainDigits) {
    EXPECT_EQ(decimalText(0), "0");
    EXPECT_EQ(decimalText(-1), "-1");
    EXPECT_EQ(decimalText(1234567), "1234567");
    EXPECT_EQ(decimalText(maxValue), "9223372036854775807");
    EXPECT_EQ(decimalText(minValue), "-9223372036854775808");
}

// Once the application exists the C library follows the user's locale; under de_DE strtod stops
// at the '.', and grouping would write "1.234.567". Numbers in files must not notice.
class UnderGermanCLocale : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
            if (std::setlocale(LC_ALL, name)) {
                return;
            }
        }
        GTEST_SKIP() << "no de_DE C library locale installed (package locales-all)";
    }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

private:
    std::string saved_;
};

TEST_F(UnderGermanCLocale, NumbersStayLocaleFree) {
    ASSERT_EQ(std::strtod("1.5", nullptr), 1.0) << "the locale is not in effect";
    EXPECT_EQ(parseDecimal("1234567"), 1234567);
    EXPECT_EQ(parseDecimal("-40"), -40);
    EXPECT_EQ(parseDecimal("1.234"), std::nullopt);
    EXPECT_EQ(decimalText(1234567), "1234567");
    EXPECT_EQ(decimalText(-40), "-40");
    for (long long value : {0LL, 1LL, -1LL, 65535LL, maxValue, minValue}) {
        EXPECT_EQ(parseDecimal(decimalText(value)), value);
    }
}

}  // namespace
