#include <istream>
#include <ostream>
#include <sstream>

#include "cli.h"
#include "common/errors.h"
#include "psy/psychro.h"
#include "units/number_text.h"

namespace velmora::cli {
namespace {

double number(const std::string& text, const char* what) {
    double v;
    if (!TryTextToFloat(text, v)) throw UsageError{std::string(what) + " '" + text + "' is not a number"};
    return v;
}

int modeOf(const std::string& text) {
    long long m;
    try {
        m = TextToInt(text);
    } catch (const ConversionError&) {
        throw UsageError{"MODE '" + text + "' is not a whole number"};
    }
    if (m < 0 || m > 255 || !IsValidPsyMode(static_cast<int>(m)))
        throw UsageError{"MODE " + text + " is not one of the 26 mode codes (see --help)"};
    return static_cast<int>(m);
}

std::string g10(double v) { return FormatFloat("%0.10g", v); }

std::string csvLine(const TAirStateRec& r, int status) {
    std::string s;
    for (double v : {r.pa, r.db, r.wb, r.ha, r.wa, r.rh, r.td, r.pv, r.ps, r.ro, r.cp}) s += g10(v) + ",";
    return s + std::to_string(status);
}

void table(std::ostream& out, const TAirStateRec& r, int status) {
    struct Row { const char* caption; const char* fmt; double value; const char* unit; };
    const Row rows[] = {
        {"Pressure", "%0.3f", r.pa, "kPa"},
        {"Dry Bulb", "%0.2f", r.db, "°C"},
        {"Wet Bulb", "%0.2f", r.wb, "°C"},
        {"Enthalpy", "%0.2f", r.ha, "kJ/kg"},
        {"Abs Humidity", "%0.4f", r.wa * 1000, "g/kg"},
        {"Rel Humidity", "%0.2f", r.rh * 100, "%"},
        {"Dew Point", "%0.2f", r.td, "°C"},
        {"Vap Pressure", "%0.4f", r.pv, "kPa"},
        {"Sat Pressure", "%0.4f", r.ps, "kPa"},
        {"Density", "%0.4f", r.ro, "kg/m³"},
        {"Specific Heat", "%0.4f", r.cp, "kJ/kg·K"},
    };
    for (const Row& row : rows) {
        std::string c = row.caption;
        c.resize(15, ' ');
        std::string v = FormatFloat(row.fmt, row.value);
        if (v.size() < 12) v.insert(0, 12 - v.size(), ' ');
        out << c << v << "  " << row.unit << "\n";
    }
    out << "Status         " << status << " (" << PsyStatusText(status) << ")\n";
}

int batch(std::istream& in, std::ostream& out) {
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream ss(line);
        std::vector<std::string> f;
        std::string tok;
        while (ss >> tok) f.push_back(tok);
        try {
            if (f.size() != 4)
                throw UsageError{f.empty() ? "empty line" : "expected 4 values \"P X1 X2 MODE\", got " + std::to_string(f.size())};
            const double P = number(f[0], "P"), x1 = number(f[1], "X1"), x2 = number(f[2], "X2");
            const int mode = modeOf(f[3]);
            TAirStateRec r;
            SetState(r, P, x1, x2, mode);
            out << csvLine(r, PsyStatus()) << "\n";
        } catch (const UsageError& e) {
            out << "error," << e.message << "\n";
        }
    }
    if (in.bad()) return 1;
    return 0;
}

}  // namespace

int RunPsy(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream&) {
    if (args.size() == 1 && args[0] == "--batch") return batch(in, out);
    std::vector<std::string> pos;
    bool csv = false;
    for (const auto& a : args) {
        if (a == "--csv") csv = true;
        else if (a.size() > 2 && a.rfind("--", 0) == 0) throw UsageError{"unknown option '" + a + "' for psy"};
        else pos.push_back(a);
    }
    if (pos.size() != 4) throw UsageError{"psy needs P X1 X2 MODE (or --batch); try --help"};
    const double P = number(pos[0], "P"), x1 = number(pos[1], "X1"), x2 = number(pos[2], "X2");
    const int mode = modeOf(pos[3]);
    TAirStateRec r;
    SetState(r, P, x1, x2, mode);
    const int status = PsyStatus();
    if (csv) out << csvLine(r, status) << "\n";
    else table(out, r, status);
    return 0;
}

}  // namespace velmora::cli
