// Moist-air property library.
//
// Equations and sources
// ---------------------
// * Saturation pressure of water over liquid: IAPWS auxiliary equation of
//   Wagner and Pruss (J. Phys. Chem. Ref. Data 31, 2002, eq. 2.5), IAPWS
//   "Revised Supplementary Release on Saturation Properties" (2002).
// * Over ice: IAPWS sublimation-pressure equation (Wagner, Riethmann, Feistel,
//   Harvey 2011), IAPWS "Revised Release on the Pressure along the Melting and
//   Sublimation Curves" (2011).
// * Enhancement factor of water vapour in air: Greenspan, J. Res. NBS 80A
//   (1976), water and ice coefficient sets; the ice set is scaled by a constant
//   at each pressure so that the saturation pressure is continuous at 0.01 °C.
// * Humidity ratio W = eps * pv / (P - pv), eps = Mw/Ma = 18.015268/28.966.
// * Enthalpy per kg dry air h = ha(t) + W * (hv0(t) + phi(t) * pv): the dry-air
//   enthalpy, the ideal-gas vapour enthalpy and a real-gas term linear in the
//   vapour pressure; volume from a second-virial mixture Z = 1 + B_mix P/(R T).
//   Coefficients fitted by tools/fit_psychro.py to the CoolProp HumidAir grid
//   (real-gas model of Herrmann, Kretzschmar and Gatley, 2009).
//   Zero: dry air at 0 °C and liquid water at 0 °C.
// * Wet bulb: the psychrometric energy balance
//   h(db, W) + (Ws* - W) hw(t*) = h(t*, Ws*), with liquid water below a wet
//   bulb of 0 °C replaced by ice (ice-bulb root, taken whenever it is below 0).
//   hw is the integral of the water heat-capacity quartic; ice enthalpy
//   -333.43 + 2.097 t + 0.00385 t^2 kJ/kg.
// * Dew point: the temperature whose saturation pressure (enhancement included)
//   equals pv; a frost point below 0.01 °C. rh = pv / ps, ps at the dry bulb.
// * Standard atmosphere: US Standard Atmosphere 1976, troposphere,
//   p = 101.325 (1 - 2.25577e-5 z)^5.25588 kPa, and its exact inverse.
//
// Every solver is bracketed (Newton or Brent with bisection fallback) and has a
// fixed iteration cap. A failure leaves finite numbers in the record and a
// non-zero PsyStatus.
#include "psy/psychro.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {
namespace {

constexpr double kT0 = 273.15;
constexpr double kEps = 18.015268 / 28.966;
constexpr double kRu = 8.314462618;   // J/(mol·K)
constexpr double kMa = 28.966e-3;     // kg/mol
constexpr double kPMin = 60.0, kPMax = 130.0;
constexpr double kTMin = -60.0, kTMax = 150.0;
constexpr double kIceSwitch = 0.01;   // triple point, °C
constexpr double kAbsZero = -273.15;

thread_local int32_t g_status = psyOk;

inline void raise(int32_t code) {
    if (g_status == psyOk) g_status = code;
}

// --- saturation --------------------------------------------------------------

inline double pwsWater(double t) {
    const double T = t + kT0;
    double tau = 1.0 - T / 647.096;
    if (tau < 0) tau = 0;
    const double s = std::sqrt(tau);
    const double t3 = tau * tau * tau;
    const double sum = tau * (-7.85951783 + 1.84408259 * s) +
                       t3 * (-11.7866497 + 22.6807411 * s - 15.9618719 * tau) +
                       1.80122502 * t3 * t3 * tau * s;
    return 22064.0 * std::exp(647.096 / T * sum);
}

// d ln(pws)/dT of the water equation.
inline double dlnPwsWater(double t) {
    const double T = t + kT0;
    double tau = 1.0 - T / 647.096;
    if (tau < 1e-12) tau = 1e-12;
    const double s = std::sqrt(tau);
    const double t2 = tau * tau;
    const double sum = tau * (-7.85951783 + 1.84408259 * s) +
                       tau * t2 * (-11.7866497 + 22.6807411 * s - 15.9618719 * tau) +
                       1.80122502 * t2 * t2 * t2 * tau * s;
    const double dsum = -7.85951783 + 1.5 * 1.84408259 * s +
                        t2 * (3 * -11.7866497 + 3.5 * 22.6807411 * s - 4 * 15.9618719 * tau) +
                        7.5 * 1.80122502 * t2 * t2 * t2 * s;
    return -(647.096 * sum / T + dsum) / T;
}

inline double pwsIce(double t) {
    const double th = (t + kT0) / 273.16;
    const double l = std::log(th);
    const double sum = -0.212144006e2 * std::exp(0.333333333e-2 * l) +
                       0.273203819e2 * std::exp(0.120666667e1 * l) -
                       0.610598130e1 * std::exp(0.170333333e1 * l);
    return 0.611657 * std::exp(sum / th);
}

inline double dlnPwsIce(double t) {
    const double th = (t + kT0) / 273.16;
    const double l = std::log(th);
    const double d = -0.212144006e2 * (0.333333333e-2 - 1) * std::exp((0.333333333e-2 - 2) * l) +
                     0.273203819e2 * (0.120666667e1 - 1) * std::exp((0.120666667e1 - 2) * l) -
                     0.610598130e1 * (0.170333333e1 - 1) * std::exp((0.170333333e1 - 2) * l);
    return d / 273.16;
}

// Greenspan's enhancement factor; es and P in the same unit. Its fit covers
// -100..100 °C; beyond that the coefficients stay at the end values, and a
// factor below 1 (vapour pressure above the total pressure) is meaningless.
inline double greenspan(double t, double es, double P, bool ice) {
    t = std::clamp(t, -100.0, 100.0);
    double alpha, beta;
    if (ice) {
        alpha = 3.64449e-4 + t * (2.93631e-5 + t * (4.88635e-7 + t * 4.36543e-9));
        beta = std::exp(-1.07271e1 + t * (7.61989e-2 + t * (-1.74771e-4 + t * 2.46721e-6)));
    } else {
        alpha = 3.53624e-4 + t * (2.93228e-5 + t * (2.61474e-7 + t * 8.57538e-9));
        beta = std::exp(-1.07588e1 + t * (6.32529e-2 + t * (-2.53591e-4 + t * 6.33784e-7)));
    }
    return std::exp(std::clamp(alpha * (1.0 - es / P) + beta * (P / es - 1.0), 0.0, 1.0));
}

// Factor that joins the ice branch to the water branch at the triple point.
double iceJoin(double P) {
    thread_local double lastP = std::numeric_limits<double>::quiet_NaN();
    thread_local double lastJ = 1.0;
    if (P != lastP) {
        const double ew = pwsWater(kIceSwitch), ei = pwsIce(kIceSwitch);
        lastJ = (greenspan(kIceSwitch, ew, P, false) * ew) / (greenspan(kIceSwitch, ei, P, true) * ei);
        lastP = P;
    }
    return lastJ;
}

struct Sat {
    double ps;  // kPa, enhancement included
    double f;   // enhancement factor
};

inline Sat saturation(double t, double P) {
    if (t >= kIceSwitch) {
        const double e = pwsWater(t);
        const double f = greenspan(t, e, P, false);
        return {f * e, f};
    }
    const double e = pwsIce(t);
    const double f = greenspan(t, e, P, true) * iceJoin(P);
    return {f * e, f};
}

inline double dlnPs(double t) { return t >= kIceSwitch ? dlnPwsWater(t) : dlnPwsIce(t); }

// Temperature whose saturation partial pressure at P equals p (kPa).
double tempFromSat(double p, double P, bool& ok) {
    ok = true;
    if (!(p > 0)) return kAbsZero;
    // Magnus inverse as the start value.
    const double g = std::log(p / 0.6112);
    double t = g >= 0 ? 243.12 * g / (17.62 - g) : 272.62 * g / (22.46 - g);
    if (!std::isfinite(t) || t > 370) t = 100;
    if (t < -200) t = -200;
    double lo = -240, hi = 370;
    const double target = std::log(p);
    for (int i = 0; i < 60; ++i) {
        const double r = std::log(saturation(t, P).ps) - target;
        if (r > 0) hi = std::min(hi, t); else lo = std::max(lo, t);
        if (r == 0) return t;
        double tn = t - r / dlnPs(t);
        if (std::fabs(tn - t) < 1e-12 * (1 + std::fabs(t))) return tn;
        if (!(tn > lo && tn < hi)) tn = 0.5 * (lo + hi);
        t = tn;
    }
    ok = false;
    return t;
}

// --- enthalpy, volume, specific heat ------------------------------------------

inline double haDry(double t) { return t * (1.005705512 + t * (8.185268521e-06 + t * 1.057691522e-07)); }
inline double dhaDry(double t) { return 1.005705512 + t * (2 * 8.185268521e-06 + t * 3 * 1.057691522e-07); }
inline double hv0(double t) { return 2500.39482 + t * (1.865970344 + t * (3.97792427e-05 + t * 1.14084074e-06)); }
inline double dhv0(double t) { return 1.865970344 + t * (2 * 3.97792427e-05 + t * 3 * 1.14084074e-06); }
// Real-gas term of the vapour enthalpy, kJ/kg per kPa of vapour pressure; held
// at its -40 °C value below, where the vapour pressure makes it negligible.
inline double phiVap(double t) {
    const double iT = 1.0 / (std::max(t, -40.0) + kT0);
    return -std::exp(-6.620547751 + iT * (1550.33836 + iT * 51338.10335));
}
inline double dphiVap(double t, double phi) {
    if (t < -40.0) return 0;
    const double iT = 1.0 / (t + kT0);
    return phi * (-(1550.33836 + 2 * 51338.10335 * iT) * iT * iT);
}

inline double pvFromW(double W, double P) { return P * W / (kEps + W); }
inline double wFromPv(double pv, double P) { return kEps * pv / (P - pv); }

inline double enthalpy(double t, double W, double P) {
    return haDry(t) + W * (hv0(t) + phiVap(t) * pvFromW(W, P));
}

// Specific heat per kg dry air at constant W and P.
inline double cpDry(double t, double W, double P) {
    const double phi = phiVap(t);
    return dhaDry(t) + W * (dhv0(t) + dphiVap(t, phi) * pvFromW(W, P));
}

// Second virial coefficients, m³/mol.
inline void virials(double t, double& baa, double& baw, double& bww) {
    const double iT = 1.0 / (std::clamp(t, -60.0, 250.0) + kT0);
    baa = (35.5297783 + iT * (-8765.798586 + iT * -1257349.838)) * 1e-6;
    baw = (67.44146992 + iT * (-30568.08955 + iT * 452202.4917)) * 1e-6;
    bww = -std::exp(3.474153065 + iT * (637.5100564 + iT * 136018.6343)) * 1e-6;
}

// Compressibility and volume per kg dry air (m³/kg) of the mixture.
inline double volumeOf(double t, double W, double P, double& z) {
    const double x = W / (kEps + W);
    double baa, baw, bww;
    virials(t, baa, baw, bww);
    const double bmix = (1 - x) * (1 - x) * baa + 2 * x * (1 - x) * baw + x * x * bww;
    const double T = t + kT0;
    z = 1.0 + bmix * P * 1000.0 / (kRu * T);
    return z * kRu * T * (1.0 + W / kEps) / (kMa * P * 1000.0);
}

inline double densityOf(double t, double W, double P) {
    double z;
    return (1.0 + W) / volumeOf(t, W, P, z);
}

// Enthalpy of the water at the wet bulb, kJ/kg: liquid (integral of the
// heat-capacity quartic) or ice.
inline double hLiquid(double t) {
    return t * (4.2113407 + t * (-0.0022883491 / 2 + t * (5.3389636e-05 / 3 +
                t * (-4.8856259e-07 / 4 + t * (1.9154158e-09 / 5)))));
}
inline double hIce(double t) { return -333.43 + t * (2.097 + t * 0.00385); }

// The root above -eps of a W^2 + b W + c = 0: the equations in W that lead
// here are monotonic for W > -eps, where exactly one root lies.
inline double humidityRoot(double a, double b, double c, bool& ok) {
    const double disc = b * b - 4 * a * c;
    if (!(disc >= 0) || a == 0) { ok = false; return 0; }
    const double q = -0.5 * (b + std::copysign(std::sqrt(disc), b));
    const double r1 = q / a, r2 = q != 0 ? c / q : r1;
    if (r1 > -kEps && !(r2 > -kEps)) return r1;
    if (r2 > -kEps && !(r1 > -kEps)) return r2;
    if (r1 > -kEps) return std::fabs(r1) < std::fabs(r2) ? r1 : r2;
    ok = false;
    return 0;
}

// Humidity ratio from dry bulb and wet bulb on the chosen branch (closed form
// of the energy balance, which is quadratic in W).
double wFromWetBulb(double db, double wb, double P, bool ice, bool& ok) {
    ok = true;
    const Sat s = saturation(wb, P);
    if (!(s.ps < P)) { ok = false; return 0; }
    const double ws = wFromPv(s.ps, P);
    const double hw = ice ? hIce(wb) : hLiquid(wb);
    const double hs = enthalpy(wb, ws, P);
    const double C = haDry(db) - hs + ws * hw;
    const double D = hv0(db) - hw;
    return humidityRoot(D + phiVap(db) * P, C + kEps * D, kEps * C, ok);
}

// Humidity ratio at which the ice-bulb root is exactly 0 °C: below it the
// state's wet bulb is an ice bulb.
inline double wIceBulbZero(double db, double P) {
    bool ok;
    return wFromWetBulb(db, 0.0, P, true, ok);
}

// Brent's method on a bracket [a, b] with f(a), f(b) of opposite sign.
template <class F>
bool brent(F&& f, double a, double b, double fa, double fb, double tol, double& root) {
    if (fa == 0) { root = a; return true; }
    if (fb == 0) { root = b; return true; }
    if ((fa > 0) == (fb > 0)) return false;
    double c = a, fc = fa, d = b - a, e = d;
    for (int iter = 0; iter < 200; ++iter) {
        if ((fb > 0) == (fc > 0)) { c = a; fc = fa; d = e = b - a; }
        if (std::fabs(fc) < std::fabs(fb)) { a = b; b = c; c = a; fa = fb; fb = fc; fc = fa; }
        const double tol1 = 2 * std::numeric_limits<double>::epsilon() * std::fabs(b) + 0.5 * tol;
        const double xm = 0.5 * (c - b);
        if (std::fabs(xm) <= tol1 || fb == 0) { root = b; return true; }
        if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
            const double s = fb / fa;
            double p, q;
            if (a == c) {
                p = 2 * xm * s;
                q = 1 - s;
            } else {
                const double qq = fa / fc, r = fb / fc;
                p = s * (2 * xm * qq * (qq - r) - (b - a) * (r - 1));
                q = (qq - 1) * (r - 1) * (s - 1);
            }
            if (p > 0) q = -q; else p = -p;
            const double min1 = 3 * xm * q - std::fabs(tol1 * q), min2 = std::fabs(e * q);
            if (2 * p < std::min(min1, min2)) { e = d; d = p / q; }
            else { d = xm; e = d; }
        } else {
            d = xm; e = d;
        }
        a = b; fa = fb;
        b += std::fabs(d) > tol1 ? d : std::copysign(tol1, xm);
        fb = f(b);
        if (!std::isfinite(fb)) return false;
    }
    root = b;
    return false;
}

// Finds a sign change of f between lo and hi by stepping from x0 outwards in
// both directions with doubling steps, then solves with Brent.
template <class F>
bool solveNear(F&& f, double x0, double step, double lo, double hi, double tol, double& root) {
    x0 = std::clamp(x0, lo, hi);
    const double f0 = f(x0);
    if (f0 == 0) { root = x0; return true; }
    double up = x0, fup = f0, down = x0, fdown = f0;
    for (int i = 0; i < 80 && (up < hi || down > lo); ++i) {
        if (up < hi) {
            const double n = std::min(hi, up + step), fn = f(n);
            if (std::isfinite(fn) && (fn > 0) != (fup > 0)) return brent(f, up, n, fup, fn, tol, root);
            if (std::isfinite(fn)) { up = n; fup = fn; } else up = hi;
        }
        if (down > lo) {
            const double n = std::max(lo, down - step), fn = f(n);
            if (std::isfinite(fn) && (fn > 0) != (fdown > 0)) return brent(f, n, down, fn, fdown, tol, root);
            if (std::isfinite(fn)) { down = n; fdown = fn; } else down = lo;
        }
        step *= 2;
    }
    return false;
}

// Dry bulb at which the enthalpy at humidity ratio W equals h (Newton on a
// nearly linear function, bracketed).
double tempFromEnthalpy(double h, double W, double P, bool& ok) {
    ok = true;
    double t = (h - 2501.0 * W) / (1.006 + 1.86 * std::max(W, 0.0));
    if (!std::isfinite(t)) { ok = false; return 0; }
    t = std::clamp(t, -250.0, 400.0);
    double lo = -260, hi = 420;
    for (int i = 0; i < 60; ++i) {
        const double r = enthalpy(t, W, P) - h;
        if (r > 0) hi = std::min(hi, t); else lo = std::max(lo, t);
        if (r == 0) return t;
        const double d = cpDry(t, W, P);
        double tn = d > 0 ? t - r / d : 0.5 * (lo + hi);
        if (std::fabs(tn - t) < 1e-12 * (1 + std::fabs(t))) return tn;
        if (!(tn > lo && tn < hi)) tn = 0.5 * (lo + hi);
        t = tn;
    }
    ok = false;
    return t;
}

// Humidity ratio from dry bulb and enthalpy (the enthalpy is quadratic in W
// after multiplying by eps + W).
double wFromEnthalpy(double db, double h, double P, bool& ok) {
    ok = true;
    const double C = haDry(db) - h;
    const double D = hv0(db);
    return humidityRoot(D + phiVap(db) * P, C + kEps * D, kEps * C, ok);
}

// Wet bulb of the state (db, W): the ice-bulb root when it is below 0 °C,
// otherwise the water root.
double wetBulbOf(double db, double W, double P, double td, bool& ok) {
    ok = true;
    const double h = enthalpy(db, W, P);
    bool ice = db < 0 || W < wIceBulbZero(db, P);
    auto F = [&](double ts) {
        const Sat s = saturation(ts, P);
        const double ws = wFromPv(s.ps, P);
        const double hw = ice ? hIce(ts) : hLiquid(ts);
        return enthalpy(ts, ws, P) - (ws - W) * hw - h;
    };
    const double tBoil = BoilingPoint(P) - 1e-6;
    double lo = std::max(std::isfinite(td) ? td - 0.5 : -150.0, -150.0);
    double hi = ice ? std::min(db, 0.0) + 1e-9 : std::min(std::max(db, 0.0), tBoil);
    if (!ice) lo = std::max(lo, 0.0);
    if (lo >= hi) lo = hi - 1.0;
    double flo = F(lo), fhi = F(hi);
    // A supersaturated state has its root above the dry bulb: widen upwards.
    for (int i = 0; i < 40 && fhi < 0 && hi < tBoil; ++i) {
        lo = hi; flo = fhi;
        hi = std::min(tBoil, hi + 5.0 * (i + 1));
        fhi = F(hi);
    }
    for (int i = 0; i < 40 && flo > 0 && lo > -200; ++i) {
        hi = lo; fhi = flo;
        lo -= 10.0 * (i + 1);
        flo = F(lo);
    }
    double root = db;
    if (!brent(F, lo, hi, flo, fhi, 1e-11, root)) { ok = false; return std::min(db, root); }
    return root;
}

inline bool finiteIn(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

// What SetState was given, so that complete() keeps the given values exactly
// and skips the solves it need not run.
struct Given {
    bool wb = false, td = false;
    double wbValue = 0, tdValue = 0;
};

void sanitize(TAirStateRec& r) {
    double* f = &r.pa;
    bool bad = false;
    for (int i = 0; i < 15; ++i)
        if (!std::isfinite(f[i])) { f[i] = 0; bad = true; }
    if (bad) raise(psyBadInput);
}

// Fills every field from pressure, dry bulb and humidity ratio.
void complete(TAirStateRec& r, double P, double t, double W, const Given& g) {
    r.pa = P;
    r.db = t;
    r.wa = W;
    const Sat s = saturation(t, P);
    r.ps = s.ps;
    r.fe = s.f;
    r.pv = pvFromW(W, P);
    r.rh = r.pv / s.ps;
    if (!(P >= kPMin - 1e-9 && P <= kPMax + 1e-9)) raise(psyPressureRange);
    if (!(t >= kTMin - 1e-6 && t <= kTMax + 1e-6)) raise(psyTemperatureRange);
    if (W < -1e-12 || r.rh > 1.0 + 1e-9 || r.pv >= P) raise(psyImpossible);
    bool ok = true;
    if (g.td) {
        r.td = g.tdValue;
    } else {
        r.td = tempFromSat(r.pv, P, ok);
        if (!ok) raise(psyNoConvergence);
    }
    r.ha = enthalpy(t, W, P);
    r.xw = W / (kEps + W);
    r.va = volumeOf(t, W, P, r.zm);
    r.ro = (1.0 + W) / r.va;
    r.cp = cpDry(t, W, P) / (1.0 + W);
    bool keepWb = g.wb;
    if (keepWb && g.wbValue >= 0 && g.wbValue < 2.0 && t >= 0 && W < wIceBulbZero(t, P))
        keepWb = false;  // that wet bulb is shadowed by an ice-bulb root
    if (keepWb) {
        r.wb = g.wbValue;
    } else {
        r.wb = wetBulbOf(t, W, P, r.td, ok);
        if (!ok) raise(psyNoConvergence);
    }

    if (r.wb > t + 1e-9) raise(psyImpossible);
    sanitize(r);
}

void fail(TAirStateRec& r, double P, int32_t code) {
    r = TAirStateRec{};
    r.pa = std::isfinite(P) ? P : 0;
    raise(code);
}

// Dry bulb of a saturation pressure; a failure leaves a status.
double tempFromSatChecked(double p, double P) {
    bool ok;
    const double t = tempFromSat(p, P, ok);
    if (!ok) raise(psyNoConvergence);
    if (!(p > 0)) raise(psyImpossible);
    return t;
}

double tempFromEnthalpyChecked(double h, double W, double P) {
    bool ok;
    const double t = tempFromEnthalpy(h, W, P, ok);
    if (!ok) raise(psyNoConvergence);
    return t;
}

double wFromWetBulbChecked(double db, double wb, double P) {
    bool ok;
    const double W = wFromWetBulb(db, wb, P, wb < 0, ok);
    if (!ok) raise(psyImpossible);
    return W;
}

// Dry bulb on the line of constant wet bulb where g(db) changes sign; g is
// evaluated with the humidity ratio that the wet bulb fixes at that dry bulb.
template <class G>
double dryBulbAlongWetBulb(double wb, double P, G&& g) {
    auto F = [&](double db) {
        bool ok;
        const double W = wFromWetBulb(db, wb, P, wb < 0, ok);
        return g(db, W);
    };
    double root = wb;
    if (!solveNear(F, wb + 5.0, 2.0, wb - 60.0, 400.0, 1e-11, root)) raise(psyImpossible);
    return root;
}

// Fixes (db, W) of the pair of `mode`; returns false for an unknown mode.
bool solvePair(TAirStateRec& r, double P, double x1, double x2, int mode) {
    Given g;
    double t = 0, W = 0;
    bool ok = true;
    switch (mode) {
    case 0:  // db, wb
        t = x1;
        W = wFromWetBulbChecked(t, x2, P);
        g.wb = true; g.wbValue = x2;
        break;
    case 1:  // db, ha
        t = x1;
        W = wFromEnthalpy(t, x2, P, ok);
        if (!ok) raise(psyImpossible);
        break;
    case 2:  // db, wa
        t = x1; W = x2;
        break;
    case 3:  // db, rh
        t = x1;
        W = wFromPv(x2 * saturation(t, P).ps, P);
        break;
    case 4:  // db, td
        t = x1;
        W = wFromPv(saturation(x2, P).ps, P);
        g.td = true; g.tdValue = x2;
        break;
    case 5:  // db, pv
        t = x1; W = wFromPv(x2, P);
        break;
    case 7: {  // db, ro
        t = x1;
        auto F = [&](double w) { return densityOf(t, w, P) - x2; };
        if (!solveNear(F, 0.01, 0.01, -0.5, 50.0, 1e-15, W)) raise(psyImpossible);
        break;
    }
    case 8: {  // wb, ha
        const double wb = x1, h = x2;
        const Sat s = saturation(wb, P);
        const double ws = wFromPv(s.ps, P);
        const double hs = enthalpy(wb, ws, P);
        double hw = wb < 0 ? hIce(wb) : hLiquid(wb);
        if (wb >= 0 && std::fabs(hw) < 1e-9) {
            // At exactly 0 °C the water form fixes no humidity: the ice
            // form's limit decides, and the saturated state when they agree.
            hw = h > hs + 1e-9 ? hIce(wb) : 0;
        }
        W = hw != 0 ? ws - (hs - h) / hw : ws;
        t = tempFromEnthalpyChecked(h, W, P);
        g.wb = true; g.wbValue = wb;
        break;
    }
    case 9: case 11: case 12: {  // wb with wa, td or pv
        const double wb = x1;
        if (mode == 9) W = x2;
        else if (mode == 11) { W = wFromPv(saturation(x2, P).ps, P); g.td = true; g.tdValue = x2; }
        else W = wFromPv(x2, P);
        const Sat s = saturation(wb, P);
        const double ws = wFromPv(s.ps, P);
        const double hw = wb < 0 ? hIce(wb) : hLiquid(wb);
        const double h = enthalpy(wb, ws, P) - (ws - W) * hw;
        t = tempFromEnthalpyChecked(h, W, P);
        g.wb = true; g.wbValue = wb;
        break;
    }
    case 10: {  // wb, rh
        const double wb = x1, target = x2;
        if (!(target > 0)) raise(psyImpossible);
        t = dryBulbAlongWetBulb(wb, P, [&](double db, double w) {
            return pvFromW(w, P) / saturation(db, P).ps - target;
        });
        W = wFromWetBulbChecked(t, wb, P);
        g.wb = true; g.wbValue = wb;
        break;
    }
    case 13:  // wb, ps
        t = tempFromSatChecked(x2, P);
        W = wFromWetBulbChecked(t, x1, P);
        g.wb = true; g.wbValue = x1;
        break;
    case 14: {  // wb, ro
        const double wb = x1, target = x2;
        t = dryBulbAlongWetBulb(wb, P, [&](double db, double w) { return densityOf(db, w, P) - target; });
        W = wFromWetBulbChecked(t, wb, P);
        g.wb = true; g.wbValue = wb;
        break;
    }
    case 15:  // ha, wa
        W = x2;
        t = tempFromEnthalpyChecked(x1, W, P);
        break;
    case 16: {  // ha, rh
        const double h = x1, target = x2;
        if (!(target > 0)) raise(psyImpossible);
        auto F = [&](double db) {
            bool k;
            const double w = wFromEnthalpy(db, h, P, k);
            return pvFromW(w, P) / saturation(db, P).ps - target;
        };
        bool k;
        const double tDry = tempFromEnthalpy(h, 0.0, P, k);  // where W reaches 0
        if (!solveNear(F, tDry - 5.0, 2.0, -150.0, tDry, 1e-11, t)) raise(psyImpossible);
        W = wFromEnthalpy(t, h, P, ok);
        break;
    }
    case 17: case 18:  // ha with td or pv
        if (mode == 17) { W = wFromPv(saturation(x2, P).ps, P); g.td = true; g.tdValue = x2; }
        else W = wFromPv(x2, P);
        t = tempFromEnthalpyChecked(x1, W, P);
        break;
    case 19:  // ha, ps
        t = tempFromSatChecked(x2, P);
        W = wFromEnthalpy(t, x1, P, ok);
        if (!ok) raise(psyImpossible);
        break;
    case 25:  // wa, rh
        W = x1;
        if (!(x2 > 0)) raise(psyImpossible);
        t = tempFromSatChecked(pvFromW(W, P) / x2, P);
        break;
    case 26:  // wa, ps
        W = x1;
        t = tempFromSatChecked(x2, P);
        break;
    case 28: case 29: {  // rh with td or pv
        double pv;
        if (mode == 28) { pv = saturation(x2, P).ps; g.td = true; g.tdValue = x2; }
        else pv = x2;
        if (!(x1 > 0)) raise(psyImpossible);
        t = tempFromSatChecked(pv / x1, P);
        W = wFromPv(pv, P);
        break;
    }
    case 30:  // rh, ps
        t = tempFromSatChecked(x2, P);
        W = wFromPv(x1 * x2, P);
        break;
    case 31:  // td, ps
        t = tempFromSatChecked(x2, P);
        W = wFromPv(saturation(x1, P).ps, P);
        g.td = true; g.tdValue = x1;
        break;
    case 32:  // pv, ps
        t = tempFromSatChecked(x2, P);
        W = wFromPv(x1, P);
        break;
    default:
        return false;
    }
    if (!finiteIn(t, W)) {
        raise(psyImpossible);
        if (!std::isfinite(t)) t = std::isfinite(x1) ? x1 : 0;
        if (!std::isfinite(W)) W = 0;
    }
    complete(r, P, t, W, g);
    return true;
}

// Field of the record by its place in the mode codes' letter order.
double fieldFor(const TAirStateRec& r, int which) {
    switch (which) {
    case 1: return r.db;
    case 2: return r.wb;
    case 3: return r.ha;
    case 4: return r.wa;
    case 5: return r.rh;
    case 6: return r.td;
    case 7: return r.pv;
    case 8: return r.ps;
    case 9: return r.ro;
    default: return 0;
    }
}

// The two record fields (1 db ... 9 ro) that each mode takes.
bool modeFields(int mode, int& a, int& b) {
    static const int table[33][2] = {
        {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 7}, {0, 0}, {1, 9},
        {2, 3}, {2, 4}, {2, 5}, {2, 6}, {2, 7}, {2, 8}, {2, 9},
        {3, 4}, {3, 5}, {3, 6}, {3, 7}, {3, 8},
        {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0},
        {4, 5}, {4, 8}, {0, 0}, {5, 6}, {5, 7}, {5, 8}, {6, 8}, {7, 8}};
    if (mode < 0 || mode > 32 || table[mode][0] == 0) return false;
    a = table[mode][0];
    b = table[mode][1];
    return true;
}

// Saturated enthalpy at t (infinite at and above the boiling point).
double saturatedEnthalpy(double t, double P) {
    const double ps = saturation(t, P).ps;
    if (!(ps < P)) return std::numeric_limits<double>::infinity();
    return enthalpy(t, wFromPv(ps, P), P);
}

}  // namespace

bool IsValidPsyMode(int mode) {
    int a, b;
    return modeFields(mode, a, b);
}

double SaturationPressure(double t, double P) { return saturation(t, P).ps; }

double PureSaturationPressure(double t) { return t >= kIceSwitch ? pwsWater(t) : pwsIce(t); }

double BoilingPoint(double P) {
    thread_local double lastP = std::numeric_limits<double>::quiet_NaN();
    thread_local double lastT = 100;
    if (P != lastP) {
        bool ok;
        lastT = tempFromSat(P, P, ok);
        lastP = P;
    }
    return lastT;
}

void SetState(TAirStateRec& rec, double P, double x1, double x2, int mode) {
    g_status = psyOk;
    if (!std::isfinite(P) || !std::isfinite(x1) || !std::isfinite(x2) || P <= 0) {
        fail(rec, P, std::isfinite(P) && P <= 0 ? psyPressureRange : psyBadInput);
        return;
    }
    if (!IsValidPsyMode(mode)) {
        fail(rec, P, psyBadMode);
        return;
    }
    solvePair(rec, P, x1, x2, mode);
}

void AirState(TAirStateRec& out, const TAirStateRec& in, int mode) {
    int a, b;
    if (!modeFields(mode, a, b)) {
        g_status = psyOk;
        fail(out, in.pa, psyBadMode);
        return;
    }
    const double x1 = fieldFor(in, a), x2 = fieldFor(in, b), P = in.pa;
    SetState(out, P, x1, x2, mode);
}

double WetBulb(double P, double db, double x, int mode) {
    TAirStateRec r;
    if (mode != 2 && mode != 3) {
        g_status = psyBadMode;
        return db;
    }
    SetState(r, P, db, x, mode);
    return r.wb;
}

double HeatCapacity(double t) {
    return 4.2113407 + t * (-0.0022883491 + t * (5.3389636e-05 + t * (-4.8856259e-07 + t * 1.9154158e-09)));
}

double AtmPressure(double z) {
    g_status = psyOk;
    const double base = 1.0 - 2.25577e-5 * z;
    if (!(base > 0)) {
        g_status = psyBadInput;
        return 0;
    }
    return 101.325 * std::pow(base, 5.25588);
}

double Altitude(double P) {
    g_status = psyOk;
    if (!(P > 0) || !std::isfinite(P)) {
        g_status = psyBadInput;
        return 0;
    }
    return (1.0 - std::pow(P / 101.325, 1.0 / 5.25588)) / 2.25577e-5;
}

double ApparatusDewPoint(TAirStateRec on, TAirStateRec off, double& bf) {
    g_status = psyOk;
    const double P = off.pa;
    bf = 0;
    const double dt = off.db - on.db, dh = off.ha - on.ha;
    if (!finiteIn(dt, dh) || !(P > 0)) {
        g_status = psyBadInput;
        return off.db;
    }
    auto gap = [&](double s) {  // saturated minus line enthalpy at parameter s
        return saturatedEnthalpy(off.db + s * dt, P) - (off.ha + s * dh);
    };
    const double g0 = gap(0);
    if (std::fabs(g0) <= 1e-9 * (1 + std::fabs(off.ha))) return off.db;  // already saturated
    if (g0 < 0) {
        g_status = psyImpossible;  // the off-coil state lies above saturation
        return off.db;
    }
    if (dt == 0 && dh == 0) {
        g_status = psyNoSaturation;
        return off.db;
    }
    // Walk away from the on-coil state in steps of at most 0.5 K and 1 kJ/kg
    // until the gap changes sign; the first change is the apparatus dew point.
    const double ds = 1.0 / std::max({std::fabs(dt) / 0.5, std::fabs(dh) / 1.0, 1e-6});
    double s0 = 0, gs0 = g0;
    for (int i = 1; i <= 20000; ++i) {
        const double s1 = i * ds;
        const double t1 = off.db + s1 * dt;
        if (t1 < -100 || t1 > 200 || off.ha + s1 * dh < -150) break;
        const double gs1 = gap(s1);
        if (std::isfinite(gs1) && gs1 <= 0) {
            double s = s1;
            if (!brent(gap, s0, s1, gs0, gs1, 1e-13, s)) {
                g_status = psyNoConvergence;
                return off.db;
            }
            bf = s / (1 + s);
            return off.db + s * dt;
        }
        if (std::isfinite(gs1)) { s0 = s1; gs0 = gs1; }
    }
    g_status = psyNoSaturation;
    return off.db;
}

int32_t PsyStatus() { return g_status; }

const char* PsyStatusText(int32_t status) {
    switch (status) {
    case psyOk: return "ok";
    case psyBadInput: return "input is not a finite number";
    case psyPressureRange: return "pressure outside 60 to 130 kPa";
    case psyTemperatureRange: return "dry bulb outside -60 to 150 °C";
    case psyImpossible: return "no real air state has these two properties";
    case psyNoConvergence: return "the iteration did not converge";
    case psyBadMode: return "unknown mode";
    case psyNoSaturation: return "the coil line never reaches saturation";
    default: return "unknown status";
    }
}

}  // namespace velmora
