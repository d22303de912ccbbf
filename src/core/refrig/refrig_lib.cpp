#include "refrig/refrig_lib.h"

#include <SimpleIni.h>

#include <algorithm>
#include <cmath>

#include "common/errors.h"
#include "common/profile.h"
#include "common/text_util.h"
#include "units/number_text.h"

namespace velmora {
namespace {

// The refrigerant operations check no ranges; a result that is not a finite
// number (logarithm of zero, division by zero) is a calculation error.
double checked(double v, const char* what) {
    if (!std::isfinite(v)) throw CalcError(std::string("Invalid floating point operation (") + what + ")");
    return v;
}

double checkedDivide(double n, double d, const char* what) {
    if (d == 0) throw CalcError(std::string("Floating point division by zero (") + what + ")");
    return checked(n / d, what);
}

double checkedLog(double x, const char* what) {
    if (!(x > 0)) throw CalcError(std::string("Invalid floating point operation (") + what + ")");
    return std::log(x);
}

int32_t readInt(const CSimpleIniA& ini, const char* section, const char* key, int32_t def) {
    const char* v = ini.GetValue(section, key, nullptr);
    if (!v) return def;
    try {
        const long long n = TextToInt(v);
        if (n < INT32_MIN || n > INT32_MAX) return def;
        return static_cast<int32_t>(n);
    } catch (const ConversionError&) {
        return def;
    }
}

std::string readText(const CSimpleIniA& ini, const char* section, const char* key, const std::string& def) {
    const char* v = ini.GetValue(section, key, nullptr);
    return v ? std::string(v) : def;
}

template <size_t N>
void readList(const CSimpleIniA& ini, const char* section, const char* key, std::array<double, N>& out) {
    const std::string text = readText(ini, section, key, "0,0,0,0,0,0,0,0,0,0");
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const auto p = text.find(',', start);
        parts.push_back(Trim(text.substr(start, p == std::string::npos ? std::string::npos : p - start)));
        if (p == std::string::npos) break;
        start = p + 1;
    }
    const std::string where = std::string("Refrigerant ") + section + ", list " + key + ": ";
    if (parts.size() < N)
        throw ConversionError(where + std::to_string(parts.size()) + " numbers where " + std::to_string(N) +
                              " are needed");
    for (size_t i = 0; i < N; ++i) {
        double d;
        if (!TryTextToFloat(parts[i], d))
            throw ConversionError(where + "'" + parts[i] + "' is not a valid floating point value");
        out[i] = d;
    }
}

bool loadIni(CSimpleIniA& ini, const std::string& file) {
    ini.SetUnicode(true);
    return !file.empty() && ini.LoadFile(file.c_str()) >= 0;
}

}  // namespace

const TRefrigData& BuiltInR22() {
    static const TRefrigData data;
    return data;
}

// --- TRoot -----------------------------------------------------------------------

TRoot::TRoot(Func f, Func derivative) {
    SetFunction(std::move(f), std::move(derivative));
    SetLimits(50, 0.000001);
    SetStep(0.1);
}

void TRoot::SetFunction(Func f, Func derivative) {
    function_ = std::move(f);
    derivative_ = std::move(derivative);
}

void TRoot::SetLimits(int32_t iterationLimit, double tolerance) {
    IterationLimit = iterationLimit;
    Tolerance = tolerance;
}

void TRoot::SetStep(double step) { Step = step; }

double TRoot::Derivative(double x) {
    double h = std::fabs(x) * 0.000344;
    if (h == 0) h = 0.000344;
    const volatile double xh = x + h;
    h = xh - x;
    LastValue = function_(x);
    const double fh = function_(xh);
    return (fh - LastValue) / h;
}

double TRoot::Solve(double x0) {
    double x = x0;
    for (int32_t i = 0; i < IterationLimit; ++i) {
        double slope;
        if (derivative_) {
            LastValue = function_(x);
            slope = derivative_(x);
        } else {
            slope = Derivative(x);
        }
        if (!std::isfinite(LastValue) || !std::isfinite(slope) || slope == 0)
            throw CalcError("The root finder met a flat or undefined function");
        double dx = LastValue / slope;
        // Never jump further than ten steps at once.
        const double cap = 10 * std::max(Step, 1e-12);
        if (std::fabs(dx) > cap) dx = std::copysign(cap, dx);
        x -= dx;
        if (std::fabs(dx) <= Tolerance) return x;
    }
    throw CalcError("The root finder did not converge");
}

// --- TRefrigLib -----------------------------------------------------------------

TRefrigLib::TRefrigLib(std::string dataFile) : file_(std::move(dataFile)) {
    cachedName_.clear();
    root_ = std::make_unique<TRoot>([this](double x) { return targetEnthalpy_ - SuperheatEnthalpy(saturationTemp_, x); });
    root_->SetLimits(120, 0.001);
    CSimpleIniA ini;
    if (loadIni(ini, file_)) {
        CSimpleIniA::TNamesDepend sections;
        ini.GetAllSections(sections);
        for (const auto& s : sections) names_.emplace_back(s.pItem);
        std::sort(names_.begin(), names_.end(), [](const std::string& a, const std::string& b) { return LessIgnoreCase(a, b); });
    }
    Select("R22");
}

TRefrigLib::~TRefrigLib() = default;

void TRefrigLib::Select(const std::string& name) {
    if (EqualsIgnoreCase(name, cachedName_)) return;
    data_ = BuiltInR22();
    CSimpleIniA ini;
    if (!loadIni(ini, file_) || !ini.SectionExists(name.c_str())) {
        cachedName_.clear();
        return;
    }
    // Read into the current record as we go: a bad list leaves it partly read
    // and the cached name unchanged, so the next Select reads again.
    const char* s = name.c_str();
    TRefrigData& d = data_;
    d.InternalNumber = readInt(ini, s, "InternalNumber", d.InternalNumber);
    d.RNumber = readText(ini, s, "RNumber", d.RNumber);
    d.Formula = readText(ini, s, "Formula", d.Formula);
    d.ChemicalName = readText(ini, s, "ChemicalName", d.ChemicalName);
    d.CASNumber = readText(ini, s, "CASNumber", d.CASNumber);
    d.Components = readInt(ini, s, "Components", d.Components);
    d.RefState = readText(ini, s, "RefState", d.RefState);
    d.SourceFile = readText(ini, s, "SourceFile", d.SourceFile);
    d.FluidType = readText(ini, s, "FluidType", d.FluidType);
    d.TCrit = ProfileReadFloat(ini, s, "TCrit", d.TCrit);
    d.PCrit = ProfileReadFloat(ini, s, "PCrit", d.PCrit);
    d.DCrit = ProfileReadFloat(ini, s, "DCrit", d.DCrit);
    d.wm = ProfileReadFloat(ini, s, "wm", d.wm);
    d.TTrip = ProfileReadFloat(ini, s, "TTrip", d.TTrip);
    d.TBoil = ProfileReadFloat(ini, s, "TBoil", d.TBoil);
    d.TMax = ProfileReadFloat(ini, s, "TMax", d.TMax);
    d.TMin = ProfileReadFloat(ini, s, "TMin", d.TMin);
    readList(ini, s, "dp", d.dp);
    readList(ini, s, "bp", d.bp);
    readList(ini, s, "lh", d.lh);
    readList(ini, s, "th", d.th);
    readList(ini, s, "vh", d.vh);
    readList(ini, s, "sh", d.sh);
    readList(ini, s, "vv", d.vv);
    readList(ini, s, "sv", d.sv);
    readList(ini, s, "ic", d.ic);
    readList(ini, s, "sc", d.sc);
    readList(ini, s, "lv", d.lv);
    readList(ini, s, "cl", d.cl);
    readList(ini, s, "cv", d.cv);
    readList(ini, s, "ul", d.ul);
    readList(ini, s, "uv", d.uv);
    readList(ini, s, "kl", d.kl);
    readList(ini, s, "kv", d.kv);
    cachedName_ = d.RNumber;
}

std::string TRefrigLib::FullName() const {
    return data_.RNumber + " (" + data_.ChemicalName + ", " + data_.Formula + ")";
}

double TRefrigLib::SatPressure(double T) const {
    const auto& c = data_.dp;
    return checked(std::exp(c[0] + checkedDivide(c[1], T + c[2], "saturation pressure")), "saturation pressure");
}

double TRefrigLib::DewTemp(double P) const {
    const auto& c = data_.dp;
    return checkedDivide(c[1], checkedLog(P, "dew temperature") - c[0], "dew temperature") - c[2];
}

double TRefrigLib::BubbleTemp(double P) const {
    const auto& c = data_.bp;
    return checkedDivide(c[1], checkedLog(P, "bubble temperature") - c[0], "bubble temperature") - c[2];
}

double TRefrigLib::Glide(double P) const { return DewTemp(P) - BubbleTemp(P); }

double TRefrigLib::LiqVolume(double T) const {
    const auto& c = data_.lv;
    return checked(c[0] + T * (c[1] + T * (c[2] + T * c[3])), "liquid volume");
}

double TRefrigLib::LiqEnthalpy(double T) const {
    const auto& c = data_.lh;
    return checked(c[0] + T * (c[1] + T * (c[2] + T * c[3])), "liquid enthalpy");
}

double TRefrigLib::VapEnthalpyBase(double T) const {
    const auto& c = data_.vh;
    return checked(c[0] + T * (c[1] + T * (c[2] + T * c[3])), "vapour enthalpy");
}

double TRefrigLib::VapEnthalpy(double T) const { return VapEnthalpyBase(T) + data_.vh[4]; }

double TRefrigLib::LatentHeat(double T) const { return VapEnthalpy(T) - LiqEnthalpy(T); }

double TRefrigLib::VapVolume(double T) const {
    const auto& c = data_.vv;
    return checked(std::exp(c[0] + checkedDivide(c[1], T + 273.15, "vapour volume")) *
                       (c[2] + T * (c[3] + T * (c[4] + T * c[5]))),
                   "vapour volume");
}

double TRefrigLib::SuperheatEnthalpy(double Ts, double T) const {
    const auto& s = data_.sh;
    const double d = T - Ts;
    const double F = d * (s[0] + s[1] * d + s[2] * Ts + s[3] * d * Ts + s[4] * Ts * Ts + s[5] * d * Ts * Ts);
    return checked(VapEnthalpyBase(Ts) * (1 + F) + data_.vh[4], "superheat enthalpy");
}

}  // namespace velmora
