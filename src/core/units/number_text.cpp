#include "units/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "common/errors.h"

namespace velmora {
namespace {

bool containsAny(std::string_view s, std::string_view chars) {
    return s.find_first_of(chars) != std::string_view::npos;
}

[[noreturn]] void notAFloat(std::string_view text) {
    throw ConversionError("'" + std::string(text) + "' is not a valid floating point value");
}

// Fixed notation with `decimals` decimals, correctly rounded; "-0.00" loses
// its sign.
std::string fixedText(double v, int decimals) {
    if (!std::isfinite(v)) return std::isnan(v) ? "NAN" : (v > 0 ? "INF" : "-INF");
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, std::clamp(decimals, 0, 40));
    std::string s(buf, r.ptr);
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

void trimZeros(std::string& mant) {
    if (mant.find('.') == std::string::npos) return;
    while (!mant.empty() && mant.back() == '0') mant.pop_back();
    if (!mant.empty() && mant.back() == '.') mant.pop_back();
}

// General notation with p significant digits: fixed while the value has no
// more than p integer digits and |v| >= 1e-5, else mantissa "E" exponent.
std::string generalText(double v, int p) {
    if (!std::isfinite(v)) return fixedText(v, 0);
    if (p <= 0) p = 15;
    if (p > 17) p = 17;
    if (v == 0) return "0";
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, p - 1);
    std::string sci(buf, r.ptr);
    const auto epos = sci.find('e');
    const int e = std::atoi(sci.c_str() + epos + 1);
    if (e + 1 <= p && std::fabs(v) >= 0.00001) {
        std::string s = fixedText(v, std::max(0, p - 1 - e));
        trimZeros(s);
        return s;
    }
    std::string mant = sci.substr(0, epos);
    trimZeros(mant);
    return mant + "E" + std::to_string(e);
}

std::string sciText(double v, int p) {
    if (!std::isfinite(v)) return fixedText(v, 0);
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, std::clamp(p, 0, 17));
    std::string sci(buf, r.ptr);
    const auto epos = sci.find('e');
    const int e = std::atoi(sci.c_str() + epos + 1);
    std::string ex = std::to_string(std::abs(e));
    while (ex.size() < 3) ex.insert(0, "0");
    return sci.substr(0, epos) + "E" + (e < 0 ? "-" : "+") + ex;
}

double argAsDouble(const FormatArg& a) {
    if (auto d = std::get_if<double>(&a)) return *d;
    if (auto i = std::get_if<long long>(&a)) return static_cast<double>(*i);
    return TextToFloat(std::get<std::string>(a));
}

}  // namespace

bool IsStringFormat(std::string_view f) { return containsAny(f, "sS"); }
bool IsIntegerFormat(std::string_view f) { return containsAny(f, "dD"); }
bool IsGeneralFormat(std::string_view f) { return containsAny(f, "gG"); }
bool IsRealFormat(std::string_view f) { return containsAny(f, "fF") || IsGeneralFormat(f); }
bool IsPairFormat(std::string_view f) { return containsAny(f, "/"); }

int FormatDecimals(std::string_view f) {
    const auto p = f.find('.');
    if (p == std::string_view::npos || p + 1 >= f.size()) return 0;
    const char c = f[p + 1];
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

int SigDigitsDecimals(int sigDigits, int maxDecimals, double value) {
    const std::string s = fixedText(value, maxDecimals);
    const auto dot = s.find('.');
    const int len = static_cast<int>(dot == std::string::npos ? s.size() : dot);
    int result;
    if (len == 1) {
        result = 3;
        for (size_t i = 2; i < s.size(); ++i) {
            if (s[i] != '0') { result = static_cast<int>(i) + 1; break; }
        }
    } else {
        result = sigDigits > len ? sigDigits - len : 0;
    }
    return std::min(result, maxDecimals);
}

std::string SigDigitsFormat(int sigDigits, int maxDecimals, double value) {
    return "%0." + std::to_string(SigDigitsDecimals(sigDigits, maxDecimals, value)) + "f";
}

std::string CleanNumberText(std::string_view text) {
    std::string s;
    for (char c : text)
        if (c != ' ') s += c;
    const auto slash = s.find('/');
    if (slash != std::string::npos) {
        std::string first = s.substr(0, slash), rest;
        for (char c : s.substr(slash + 1))
            if (c != '/') rest += c;
        return CleanNumberText(first) + "/" + CleanNumberText(rest);
    }
    if (s.empty()) return "0";
    // One "E" only.
    {
        std::string t;
        bool seenE = false;
        for (char c : s) {
            if (c == 'e') c = 'E';
            if (c == 'E') {
                if (seenE) continue;
                seenE = true;
            }
            t += c;
        }
        s = t;
    }
    // Minus signs: the first character stays; later ones only directly after an E.
    if (s.size() > 1) {
        std::string t(1, s[0]);
        for (size_t i = 1; i < s.size(); ++i) {
            if (s[i] == '-' && !(i > 1 && s[i - 1] == 'E')) continue;
            t += s[i];
        }
        s = t;
    }
    if (s == "-") return "0";
    // One "." only.
    {
        std::string t;
        bool seenDot = false;
        for (char c : s) {
            if (c == '.') {
                if (seenDot) continue;
                seenDot = true;
            }
            t += c;
        }
        s = t;
    }
    if (s[0] == 'E') s.insert(0, "1");
    const auto e = s.find('E');
    if (e != std::string::npos && e + 1 < s.size()) {
        const auto dot = s.find('.', e + 1);
        if (dot != std::string::npos) s.erase(dot, 1);
        const std::string ex = s.substr(e + 1);
        long long n = 0;
        const char* b = ex.data();
        const char* end = ex.data() + ex.size();
        auto r = std::from_chars(b, end, n);
        if (r.ec == std::errc::result_out_of_range) n = 1000;  // far beyond 300 either way
        else if (r.ec != std::errc() || r.ptr != end) notAFloat(s);
        if (std::llabs(n) > 300) s = s.substr(0, e + 1) + ex.substr(0, 2);
    }
    return s;
}

bool TryTextToFloat(std::string_view text, double& value) {
    size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    std::string_view s = text.substr(b, e - b);
    if (s.empty()) return false;
    size_t i = 0;
    bool neg = false;
    if (s[i] == '+' || s[i] == '-') { neg = s[i] == '-'; ++i; }
    const size_t start = i;
    int digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') { ++i; ++digits; }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') { ++i; ++digits; }
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        int ed = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') { ++i; ++ed; }
        if (ed == 0) return false;
    }
    if (i != s.size()) return false;
    std::string body(s.substr(start));
    // from_chars takes neither a leading "+" nor an exponent "+": drop them.
    if (auto p = body.find("E+"); p != std::string::npos) body.erase(p + 1, 1);
    if (auto p = body.find("e+"); p != std::string::npos) body.erase(p + 1, 1);
    double v = 0;
    auto r = std::from_chars(body.data(), body.data() + body.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero, overflow is not a number we can hold.
        const auto ep = body.find_first_of("eE");
        if (ep != std::string::npos && body[ep + 1] == '-') v = 0;
        else return false;
    } else if (r.ec != std::errc() || r.ptr != body.data() + body.size()) {
        return false;
    }
    value = neg ? -v : v;
    return true;
}

double TextToFloat(std::string_view text) {
    double v;
    if (!TryTextToFloat(text, v)) notAFloat(text);
    return v;
}

long long TextToInt(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
    std::string s(text.substr(b, e - b));
    if (!s.empty() && s[0] == '+') s.erase(0, 1);
    long long v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size())
        throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
    return v;
}

PairValue ParsePair(std::string_view text) {
    PairValue p;
    const auto slash = text.find('/');
    if (slash != std::string_view::npos) {
        p.first = TextToFloat(text.substr(0, slash));
        p.second = TextToFloat(text.substr(slash + 1));
        p.hasSeparator = true;
    } else {
        p.first = TextToFloat(text);
    }
    return p;
}

long long RoundHalfEven(double v) {
    if (!std::isfinite(v)) throw ConversionError("Invalid floating point operation");
    if (std::fabs(v) >= 9.2e18) throw ConversionError("Integer overflow");
    return static_cast<long long>(std::nearbyint(v));  // default rounding mode: to even
}

std::string FormatValue(double value, std::string_view format, TFormatType type, int sigDigits) {
    if (IsIntegerFormat(format)) return FormatInt(format, RoundHalfEven(value));
    if (!IsRealFormat(format)) return {};
    switch (type) {
    case ft_Auto:
        return FormatFloat(SigDigitsFormat(sigDigits, 12, value), value);
    case ft_AutoOverride: {
        const int d = FormatDecimals(format);
        if (value >= std::pow(10.0, 2 - d)) return FormatFloat(format, value);
        return FormatFloat(SigDigitsFormat(sigDigits, 12, value), value);
    }
    case ft_Fixed:
    case ft_Manual:
    default:
        return FormatFloat(format, value);
    }
}

bool RangeCheck(double& v, double low, double high, bool stringFormat) {
    if (stringFormat) return true;
    if (std::fabs(low - high) < 0.00001) return true;
    if (v < low) {
        if (low == 0 || std::fabs((low - v) / low) > 0.005) {
            v = low;
            return false;
        }
        return true;
    }
    if (v > high) {
        if (high == 0 || std::fabs((v - high) / high) > 0.005) {
            v = high;
            return false;
        }
        return true;
    }
    return true;
}

std::string NthField(int n, char delimiter, std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
    text = text.substr(b, e - b);
    int field = 1;
    size_t start = 0;
    while (true) {
        const auto pos = text.find(delimiter, start);
        if (field == n) {
            std::string_view f = text.substr(start, pos == std::string_view::npos ? std::string_view::npos : pos - start);
            size_t k = 0;
            while (k < f.size() && f[k] == ' ') ++k;
            return std::string(f.substr(k));
        }
        if (pos == std::string_view::npos) return {};
        start = pos + 1;
        ++field;
    }
}

std::string SubstituteChar(char from, char to, std::string_view text) {
    std::string s(text);
    std::replace(s.begin(), s.end(), from, to);
    return s;
}

std::string Format(std::string_view f, const std::vector<FormatArg>& args) {
    std::string out;
    size_t argi = 0;
    for (size_t i = 0; i < f.size(); ++i) {
        if (f[i] != '%') { out += f[i]; continue; }
        if (i + 1 < f.size() && f[i + 1] == '%') { out += '%'; ++i; continue; }
        size_t j = i + 1;
        bool left = false, zero = false;
        while (j < f.size() && (f[j] == '-' || f[j] == '0' || f[j] == '+' || f[j] == ' ' || f[j] == '#')) {
            if (f[j] == '-') left = true;
            if (f[j] == '0') zero = true;
            ++j;
        }
        // A width from data is bounded: no format may ask for a huge string.
        int width = 0;
        while (j < f.size() && f[j] >= '0' && f[j] <= '9') width = std::min(width * 10 + (f[j++] - '0'), 1000);
        int prec = -1;
        if (j < f.size() && f[j] == '.') {
            ++j;
            prec = 0;
            while (j < f.size() && f[j] >= '0' && f[j] <= '9') prec = std::min(prec * 10 + (f[j++] - '0'), 40);
        }
        if (j >= f.size()) { out.append(f.substr(i)); break; }
        const char conv = f[j];
        if (argi >= args.size() && std::string_view("fFgGeEdDuUsS").find(conv) != std::string_view::npos) {
            i = j;  // a conversion without its value writes nothing
            continue;
        }
        const FormatArg arg = argi < args.size() ? args[argi] : FormatArg(std::string());
        std::string piece;
        switch (conv) {
        case 'f': case 'F':
            ++argi;
            piece = fixedText(argAsDouble(arg), prec < 0 ? 2 : prec);
            break;
        case 'g': case 'G':
            ++argi;
            piece = generalText(argAsDouble(arg), prec < 0 ? 15 : prec);
            break;
        case 'e': case 'E':
            ++argi;
            piece = sciText(argAsDouble(arg), prec < 0 ? 14 : std::max(prec - 1, 0));
            break;
        case 'd': case 'D': case 'u': case 'U': {
            ++argi;
            long long n;
            if (auto p = std::get_if<long long>(&arg)) n = *p;
            else n = RoundHalfEven(argAsDouble(arg));
            piece = std::to_string(n);
            if (prec > 0) {
                const bool neg = n < 0;
                std::string digits = neg ? piece.substr(1) : piece;
                while (static_cast<int>(digits.size()) < prec) digits.insert(0, "0");
                piece = (neg ? "-" : "") + digits;
            }
            break;
        }
        case 's': case 'S': {
            ++argi;
            if (auto p = std::get_if<std::string>(&arg)) piece = *p;
            else piece = FloatToText(argAsDouble(arg), 15);
            if (prec >= 0 && static_cast<int>(piece.size()) > prec) piece.resize(prec);
            break;
        }
        default:
            out.append(f.substr(i, j - i + 1));
            i = j;
            continue;
        }
        if (static_cast<int>(piece.size()) < width) {
            const size_t pad = width - piece.size();
            if (left) piece.append(pad, ' ');
            else if (zero && conv != 's' && conv != 'S') {
                const size_t at = (!piece.empty() && piece[0] == '-') ? 1 : 0;
                piece.insert(at, pad, '0');
            } else piece.insert(0, pad, ' ');
        }
        out += piece;
        i = j;
    }
    return out;
}

std::string FormatFloat(std::string_view format, double value) { return Format(format, {value}); }
std::string FormatInt(std::string_view format, long long value) { return Format(format, {value}); }
std::string FormatString(std::string_view format, std::string_view value) {
    return Format(format, {std::string(value)});
}

std::string FloatToText(double value, int significantDigits) {
    return generalText(value, significantDigits);
}

}  // namespace velmora
