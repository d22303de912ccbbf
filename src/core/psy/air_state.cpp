#include "psy/air_state.h"

#include <cmath>
#include <limits>

#include "common/errors.h"
#include "units/number_text.h"

namespace velmora {

double SaturationHumidityRatio(double t, double P) {
    double A, B, C;
    if (t < -40) { A = 0.57346348; B = 20.457057; C = 255.37923; }
    else if (t < 0) { A = 0.61117891; B = 22.382872; C = 271.76805; }
    else if (t <= 40) { A = 0.61084581; B = 17.33014; C = 238.14596; }
    else if (t <= 90) { A = 0.60102187; B = 16.908548; C = 229.68175; }
    else { A = 0.61077082; B = 16.809769; C = 228.70585; }
    const double es = A * std::exp(B * t / (t + C));
    const double pw = 1.0039 * es;
    const double d = P - pw;
    const double r = 0.6219773790951638 * pw / d;
    if (d == 0 || !std::isfinite(r) || !std::isfinite(es)) return 0.01;
    return r;
}

void SetStateFromText(std::string_view text, TAirStateRec& state, double P, double RH) {
    const auto slash = text.find('/');
    double db = TextToFloat(slash == std::string_view::npos ? text : text.substr(0, slash));
    const bool hasWb = slash != std::string_view::npos;
    double wb = hasWb ? TextToFloat(text.substr(slash + 1)) : 0.0;
    if (!(db >= -60)) db = -60;
    if (db > 99) db = 99;
    if (hasWb) {
        if (wb > db) wb = db;
        const double wbMin = WetBulb(P, db, 0.01, 3);
        if (!(wb >= wbMin)) wb = wbMin;
    } else {
        wb = WetBulb(P, db, RH, 3);
    }
    SetState(state, P, db, wb, 0);
}

std::string Validate(const TAirStateRec& s) {
    if (s.db > 99) return "Dry bulb too high...";
    if (s.wb > 99) return "Wet bulb too high...";
    if (!(s.db >= -60)) return "Dry bulb too low...";
    if (!(s.wb >= -60)) return "Wet bulb too low...";
    if (s.wb - s.db > 0.1) return "Wet Bulb > Dry Bulb °C...";
    if (s.rh < -0.01) return "Low Relative Humidity...";
    if (!(s.rh <= 1.01)) return "High Relative Humidity...";
    if (s.wa < -0.00001) return "Absolute Humidity < 0 g/kg...";
    if (PsyStatus() != 0) return "Bad data...";
    return {};
}

bool IsPlausible(TAirStateRec s) { return s.db >= s.wb && s.wa >= 0 && s.rh <= 1 && s.rh >= 0; }

double Clamp(double lo, double x, double hi) {
    if (x < lo) return lo;
    if (x > hi) return hi;
    return x;
}

double SafeDivide(double n, double d, double limit) {
    const double sn = std::signbit(n) && n != 0 ? -1.0 : 1.0;
    if (d == 0) return sn * limit;
    const double q = n / d;
    if (std::isinf(q)) {
        const double sd = std::signbit(d) ? -1.0 : 1.0;
        return sn * sd * limit;
    }
    return q;
}

std::string FormatPair(std::string_view fmt, double a, double b) {
    return FormatFloat(fmt, a) + "/" + FormatFloat(fmt, b);
}

std::string FormatDbWb(TAirStateRec state, std::string_view fmt) { return FormatPair(fmt, state.db, state.wb); }

// --- pair selector -------------------------------------------------------------

void TCombin::Choose(unsigned char index) {
    const char c = CodeOf(index);
    if (c != 0) {
        if (const auto p = Known.find(c); p != std::string::npos) Known.erase(p, 1);
        Known.insert(Known.begin(), c);
    }
    Search();
}

void TCombin::Search() {
    const size_t n = Known.size();
    for (size_t i = 0; i + 1 < n; ++i) {
        for (size_t j = i + 1; j < n; ++j) {
            Pair.reset();
            Pair.set(static_cast<unsigned char>(Known[i]));
            Pair.set(static_cast<unsigned char>(Known[j]));
            if (IsValidPair()) return;
        }
    }
}

TAirCombin::TAirCombin() { Known = "tb"; }

char TAirCombin::CodeOf(unsigned char index) const { return index < 12 ? Codes[index] : 0; }

int AirPairMode(char a, char b) {
    static const struct { char x, y; int mode; } table[] = {
        {'t', 'b', 0}, {'t', 'h', 1}, {'t', 'w', 2}, {'t', 'f', 3}, {'t', 'd', 4}, {'t', 'v', 5},
        {'t', 'r', 7}, {'b', 'h', 8}, {'b', 'w', 9}, {'b', 'f', 10}, {'b', 'd', 11}, {'b', 'v', 12},
        {'b', 's', 13}, {'b', 'r', 14}, {'h', 'w', 15}, {'h', 'f', 16}, {'h', 'd', 17}, {'h', 'v', 18},
        {'h', 's', 19}, {'w', 'f', 25}, {'w', 's', 26}, {'f', 'd', 28}, {'f', 'v', 29}, {'f', 's', 30},
        {'d', 's', 31}, {'v', 's', 32}};
    for (const auto& e : table)
        if ((e.x == a && e.y == b) || (e.x == b && e.y == a)) return e.mode;
    return -1;
}

bool TAirCombin::IsValidPair() {
    char letters[2];
    int n = 0;
    for (int c = 0; c < 256 && n < 2; ++c)
        if (Pair.test(c)) letters[n++] = static_cast<char>(c);
    const int mode = n == 2 ? AirPairMode(letters[0], letters[1]) : -1;
    Mode = mode < 0 ? 0 : static_cast<unsigned char>(mode);
    return mode >= 0;
}

void SolveState(TAirStateRec& state, int mode) {
    if (!IsValidPsyMode(mode)) throw CalcError("Invalid air state");
    TAirStateRec scratch;
    AirState(scratch, state, mode);
    if (PsyStatus() == psyBadMode) throw CalcError("Invalid air state");
    state = scratch;
    const std::string msg = Validate(state);
    if (!msg.empty()) throw CalcError(msg);
}

}  // namespace velmora
