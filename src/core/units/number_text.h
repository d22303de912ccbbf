#pragma once
// Number text: the system's format strings, the four format types, the
// clean-up of typed text, pairs, the tolerant range check. "." is always the
// decimal separator, whatever the locale. Format strings are interpreted here,
// never handed to printf.
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace velmora {

enum TFormatType : int { ft_Auto = 0, ft_Fixed = 1, ft_AutoOverride = 2, ft_Manual = 3 };

bool IsStringFormat(std::string_view format);
bool IsIntegerFormat(std::string_view format);
bool IsGeneralFormat(std::string_view format);
bool IsRealFormat(std::string_view format);
bool IsPairFormat(std::string_view format);

int FormatDecimals(std::string_view format);
int SigDigitsDecimals(int sigDigits, int maxDecimals, double value);
std::string SigDigitsFormat(int sigDigits, int maxDecimals, double value);

std::string CleanNumberText(std::string_view text);

struct PairValue {
    double first = 0;
    double second = 0;
    bool hasSeparator = false;
};
// Throws ConversionError when a half is not a number.
PairValue ParsePair(std::string_view text);

// Writes a value by format string, format type and significant digits; empty
// for string and pair formats.
std::string FormatValue(double value, std::string_view format, TFormatType type, int sigDigits);

// Range check in display units; v may be replaced by the nearer limit.
bool RangeCheck(double& v, double low, double high, bool stringFormat = false);

std::string NthField(int n, char delimiter, std::string_view text);
std::string SubstituteChar(char from, char to, std::string_view text);

// The platform conversion: blanks around, optional sign, digits with at most
// one ".", optional exponent. Anything else throws ConversionError.
double TextToFloat(std::string_view text);
bool TryTextToFloat(std::string_view text, double& value);
// Integer conversion with the same rules (no point, no exponent).
long long TextToInt(std::string_view text);

// Rounds half to even, as the integer formats do.
long long RoundHalfEven(double v);

// printf-like formatting of the system's format strings, done by hand:
// %f %e %g %d %s with flags "-", "0", width and precision, and "%%".
using FormatArg = std::variant<double, long long, std::string>;
std::string Format(std::string_view format, const std::vector<FormatArg>& args);
std::string FormatFloat(std::string_view format, double value);
std::string FormatInt(std::string_view format, long long value);
std::string FormatString(std::string_view format, std::string_view value);

// Shortest text that reads back as the same double ("0.1", "1e-07" style
// avoided: plain or E notation as FormatFloat("%0.17g") would write it).
std::string FloatToText(double value, int significantDigits = 10);

}  // namespace velmora
