// Number text: clean-up, significant digits, format types, range check and
// the hand-written formatter, under any locale.
#include <gtest/gtest.h>

#include <clocale>
#include <locale>

#include "common/errors.h"
#include "units/number_text.h"

using namespace velmora;

TEST(NumberText, CleanNumberText) {
    const struct { const char* in; const char* out; } cases[] = {
        {" 1 2.5.6 ", "12.56"}, {"", "0"}, {"-", "0"}, {"--5", "-5"}, {"2e3", "2E3"}, {"1e2e3", "1E23"},
        {"25 / 17", "25/17"}, {"25/17/3", "25/173"}, {"5-3", "53"}, {"1E-3-4", "1E-34"}, {"E-5", "1E5"},
        {"1E-500", "1E-5"}, {"1E999", "1E99"}, {"1.5E2.5", "1.5E25"}, {"-2.5/-3", "-2.5/-3"}, {"/", "0/0"},
    };
    for (const auto& c : cases) EXPECT_EQ(CleanNumberText(c.in), c.out) << "'" << c.in << "'";
    EXPECT_THROW(CleanNumberText("1E-"), ConversionError);
}

TEST(NumberText, FormatKinds) {
    EXPECT_TRUE(IsStringFormat("%S"));
    EXPECT_TRUE(IsIntegerFormat("%d"));
    EXPECT_TRUE(IsGeneralFormat("%0.04g"));
    EXPECT_TRUE(IsRealFormat("%0.4g"));
    EXPECT_TRUE(IsRealFormat("%0.3F"));
    EXPECT_FALSE(IsRealFormat("%d"));
    EXPECT_TRUE(IsPairFormat("%0.1f/%0.1f"));
    EXPECT_EQ(FormatDecimals("%0.3f"), 3);
    EXPECT_EQ(FormatDecimals("%0.1f/%0.1f"), 1);
    EXPECT_EQ(FormatDecimals("%S"), 0);
    EXPECT_EQ(FormatDecimals("%d"), 0);
    EXPECT_EQ(FormatDecimals("%0.12f"), 1);
}

TEST(NumberText, SignificantDigits) {
    const struct { double v; int d; } cases[] = {
        {0.5, 3}, {1234.5, 1}, {98765.4, 0}, {0.00000000000001, 3}, {5.25, 3}, {0.0123, 4},
        {0.000123, 6}, {0, 3}, {123.456, 2}, {12345.6, 0}, {-5.3, 3}};
    for (const auto& c : cases) EXPECT_EQ(SigDigitsDecimals(5, 12, c.v), c.d) << c.v;
    EXPECT_EQ(SigDigitsFormat(5, 12, 123.456), "%0.2f");
    EXPECT_EQ(SigDigitsDecimals(5, 2, 0.000123), 2);
}

TEST(NumberText, FormatTypes) {
    EXPECT_EQ(FormatValue(9.87, "%0.1f", ft_AutoOverride, 5), "9.870");
    EXPECT_EQ(FormatValue(10, "%0.1f", ft_AutoOverride, 5), "10.0");
    EXPECT_EQ(FormatValue(-3, "%0.1f", ft_AutoOverride, 5), "-3.000");
    EXPECT_EQ(FormatValue(123.456, "%0.1f", ft_Auto, 5), "123.46");
    EXPECT_EQ(FormatValue(123.456, "%0.1f", ft_Fixed, 5), "123.5");
    EXPECT_EQ(FormatValue(123.456, "%0.1f", ft_Manual, 5), "123.5");
    EXPECT_EQ(FormatValue(2.5, "%d", ft_Fixed, 5), "2");
    EXPECT_EQ(FormatValue(3.5, "%d", ft_Fixed, 5), "4");
    EXPECT_EQ(FormatValue(1, "%S", ft_Fixed, 5), "");
    EXPECT_EQ(FormatValue(1, "%0.1f/%0.1f", ft_Fixed, 5), "1.0/");  // one value, one conversion
}

TEST(NumberText, Formatter) {
    EXPECT_EQ(FormatFloat("%0.3f", 101.325), "101.325");
    EXPECT_EQ(FormatFloat("%0.0f", 2.5), "2");
    EXPECT_EQ(FormatFloat("%0.1f", -0.04), "0.0");
    EXPECT_EQ(FormatFloat("%0.4g", 1000), "1000");
    EXPECT_EQ(FormatFloat("%0.4g", 12346), "1.235E4");
    EXPECT_EQ(FormatFloat("%0.4g", 0.000001234), "1.234E-6");
    EXPECT_EQ(FormatFloat("%0.4g", 0.5), "0.5");
    EXPECT_EQ(FormatFloat("%0.04g", 25), "25");
    EXPECT_EQ(FormatFloat("%0.5g", 1.1813), "1.1813");
    EXPECT_EQ(FormatFloat("Fresh Air\t%0.1f\t%%", 12), "Fresh Air\t12.0\t%");
    EXPECT_EQ(FormatFloat("%8.2f|", 3.14159), "    3.14|");
    EXPECT_EQ(FormatFloat("%-6.1f|", 3.14159), "3.1   |");
    EXPECT_EQ(FormatInt("%d.%d", 1), "1.");
    EXPECT_EQ(Format("%d.%d.%d.%d", {1LL, 0LL, 6LL, 0LL}), "1.0.6.0");
    EXPECT_EQ(FormatString("%S", "R22"), "R22");
    EXPECT_EQ(FormatFloat("%s", 0.25), "0.25");
    // A format string from data never reaches printf: stray conversions stay text.
    EXPECT_EQ(FormatFloat("%n%x %0.1f", 2), "%n%x 2.0");
    EXPECT_LE(FormatFloat("%99999999999999.1f", 2).size(), 1000u);  // widths from data are bounded
}

TEST(NumberText, Conversion) {
    EXPECT_DOUBLE_EQ(TextToFloat(" -12.5e1 "), -125);
    EXPECT_DOUBLE_EQ(TextToFloat(".5"), 0.5);
    EXPECT_DOUBLE_EQ(TextToFloat("5."), 5);
    EXPECT_DOUBLE_EQ(TextToFloat("+2E+2"), 200);
    for (const char* bad : {"", "abc", "1,5", "1.2.3", "1E", "--1", "0x10", "1 2", "inf", "nan", "1E999"})
        EXPECT_THROW(TextToFloat(bad), ConversionError) << "'" << bad << "'";
    const PairValue p = ParsePair("25.0/17.5");
    EXPECT_TRUE(p.hasSeparator);
    EXPECT_EQ(p.first, 25);
    EXPECT_EQ(p.second, 17.5);
    EXPECT_FALSE(ParsePair("25").hasSeparator);
    EXPECT_THROW(ParsePair("25/"), ConversionError);
}

TEST(NumberText, PointIsTheSeparatorUnderACommaLocale) {
    struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };
    const std::locale old = std::locale::global(std::locale(std::locale::classic(), new Comma));
    const char* cl = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    if (!cl) cl = std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    EXPECT_EQ(FormatFloat("%0.3f", 1234.5), "1234.500");
    EXPECT_EQ(FormatFloat("%0.4g", 0.25), "0.25");
    EXPECT_DOUBLE_EQ(TextToFloat("1234.5"), 1234.5);
    EXPECT_THROW(TextToFloat("1234,5"), ConversionError);
    std::setlocale(LC_NUMERIC, "C");
    std::locale::global(old);
}

TEST(NumberText, RangeCheck) {
    const struct { double lo, hi, v; bool ok; double after; } cases[] = {
        {0, 100, 100.4, true, 100.4}, {0, 100, 101, false, 100}, {0, 100, -0.1, false, 0},
        {60, 130, 59.8, true, 59.8}, {60, 130, 59.5, false, 60}, {60, 130, 130.5, true, 130.5},
        {60, 130, 140, false, 130}, {0, 0, 1e9, true, 1e9}, {5, 5.000001, -3, true, -3}};
    for (const auto& c : cases) {
        double v = c.v;
        EXPECT_EQ(RangeCheck(v, c.lo, c.hi), c.ok) << c.v;
        EXPECT_EQ(v, c.after) << c.v;
    }
    double v = 1e9;
    EXPECT_TRUE(RangeCheck(v, 0, 1, true));
}

TEST(NumberText, FieldsAndSubstitution) {
    EXPECT_EQ(NthField(2, ';', " a; b ;c"), "b ");
    EXPECT_EQ(NthField(1, ';', " a; b ;c"), "a");
    EXPECT_EQ(NthField(4, ';', "a;b;c"), "");
    EXPECT_EQ(NthField(3, ';', "a;b;"), "");
    EXPECT_EQ(SubstituteChar(',', ';', "a,b,c"), "a;b;c");
}
