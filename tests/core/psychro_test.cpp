// Moist-air property library against the real-gas reference values, and its
// own consistency: every mode rebuilds the state it came from.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "psy/psychro.h"

using namespace velmora;

namespace {

std::vector<std::vector<std::string>> readCsv(const std::string& name) {
    std::ifstream in(std::string(VELMORA_TEST_DATA_DIR) + "/psychro/" + name);
    EXPECT_TRUE(in.good()) << name;
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        std::vector<std::string> cells;
        std::stringstream ss(line);
        std::string c;
        while (std::getline(ss, c, ',')) cells.push_back(c);
        rows.push_back(cells);
    }
    return rows;
}

// "t=25 C p=101325 Pa" -> {t: 25, p: 101325}
std::map<std::string, double> inputs(const std::string& text) {
    std::map<std::string, double> m;
    std::stringstream ss(text);
    std::string tok;
    while (ss >> tok) {
        const auto eq = tok.find('=');
        if (eq != std::string::npos) m[tok.substr(0, eq)] = std::stod(tok.substr(eq + 1));
    }
    return m;
}

TAirStateRec state(double P, double x1, double x2, int mode) {
    TAirStateRec r;
    SetState(r, P, x1, x2, mode);
    return r;
}

bool allFinite(const TAirStateRec& r) {
    const double* f = &r.pa;
    for (int i = 0; i < 15; ++i)
        if (!std::isfinite(f[i])) return false;
    return true;
}

}  // namespace

TEST(Psychro, RecordLayoutIsTheFileFormat) {
    TAirStateRec r;
    r.pa = 1; r.db = 2; r.wb = 3; r.ha = 4; r.wa = 5; r.rh = 6; r.td = 7; r.pv = 8; r.ps = 9; r.ro = 10; r.cp = 11;
    double raw[15];
    std::memcpy(raw, &r, sizeof raw);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(raw[i], i + 1);
}

TEST(Psychro, MeetsEveryReferenceCheck) {
    double worst = 0;
    std::string worstLine;
    for (const auto& row : readCsv("reference_checks.csv")) {
        ASSERT_EQ(row.size(), 6u);
        const std::string& q = row[0];
        auto in = inputs(row[1]);
        const double expected = std::stod(row[2]);
        const double P = in.count("p") ? in["p"] / 1000 : 101.325;
        double got = 0;
        if (q == "psat_water") got = PureSaturationPressure(in["t"]) * 1000;
        else if (q == "pw_sat_ice") got = SaturationPressure(in["t"], P) * 1000;
        else if (q == "W_sat") got = state(P, in["t"], in["t"], 0).wa;
        else if (q == "h_sat") got = state(P, in["t"], in["t"], 0).ha * 1000;
        else if (q == "state_W") got = state(P, in["tdb"], in["twb"], 0).wa;
        else if (q == "state_RH") got = state(P, in["tdb"], in["twb"], 0).rh;
        else if (q == "state_h") got = state(P, in["tdb"], in["twb"], 0).ha * 1000;
        else if (q == "state_v") got = state(P, in["tdb"], in["twb"], 0).va;
        else if (q == "state_tdp") got = state(P, in["tdb"], in["twb"], 0).td;
        else if (q == "twb_ice") got = state(P, in["tdb"], in["W"], 2).wb;
        else if (q == "v_dry") got = state(P, in["t"], 0, 2).va;
        else if (q == "h_dry") got = state(P, in["t"], 0, 2).ha * 1000;
        else if (q == "p_std_atm") got = AtmPressure(in["z"]) * 1000;
        else FAIL() << "unknown check " << q;
        std::stringstream tol(row[4]);
        std::string kind;
        double limit;
        tol >> kind >> limit;
        const double dev = kind == "rel" ? std::fabs(got / expected - 1) : std::fabs(got - expected);
        EXPECT_LE(dev, limit) << q << " " << row[1] << ": got " << got << ", expected " << expected;
        if (dev / limit > worst) {
            worst = dev / limit;
            worstLine = q + " " + row[1];
        }
    }
    std::cout << "largest deviation: " << worst << " of its tolerance (" << worstLine << ")\n";
}

TEST(Psychro, TracksTheRealGasGridAt101325) {
    double wMax = 0, hMax = 0, wbMax = 0, tdMax = 0, vMax = 0, cpMax = 0;
    for (const auto& c : readCsv("coolprop_sat_101325.csv")) {
        const double P = std::stod(c[0]) / 1000, t = std::stod(c[1]), rh = std::stod(c[2]);
        const TAirStateRec r = state(P, t, rh, 3);
        ASSERT_EQ(PsyStatus(), 0) << t << " " << rh;
        const double W = std::stod(c[3]), h = std::stod(c[4]), wb = std::stod(c[5]), td = std::stod(c[6]);
        const double vHumid = std::stod(c[8]), cpHumid = std::stod(c[10]);
        const double eW = std::fabs(r.wa / W - 1);
        const double eh = std::fabs(r.ha * 1000 - h) / std::max(50.0, 2e-3 * std::fabs(h));
        EXPECT_LE(eW, 1e-3) << "W at " << t << " °C, rh " << rh;
        EXPECT_LE(eh, 1.0) << "h at " << t << " °C, rh " << rh << ": " << r.ha * 1000 << " vs " << h;
        EXPECT_NEAR(r.wb, wb, 0.01) << "wet bulb at " << t << " °C, rh " << rh;
        EXPECT_NEAR(r.td, td, 0.01) << "dew point at " << t << " °C, rh " << rh;
        EXPECT_NEAR(1 / r.ro / vHumid, 1.0, 2e-4) << "density at " << t << " °C, rh " << rh;
        EXPECT_NEAR(r.cp * 1000 / cpHumid, 1.0, 3e-3) << "specific heat at " << t << " °C, rh " << rh;
        wMax = std::max(wMax, eW);
        hMax = std::max(hMax, std::fabs(r.ha * 1000 - h) / std::fabs(h == 0 ? 1 : h));
        wbMax = std::max(wbMax, std::fabs(r.wb - wb));
        tdMax = std::max(tdMax, std::fabs(r.td - td));
        vMax = std::max(vMax, std::fabs(1 / r.ro / vHumid - 1));
        cpMax = std::max(cpMax, std::fabs(r.cp * 1000 / cpHumid - 1));
    }
    std::cout << "grid: W rel " << wMax << ", h rel " << hMax << ", wb " << wbMax << " K, td " << tdMax
              << " K, v rel " << vMax << ", cp rel " << cpMax << "\n";
}

// The enhancement factor carries the saturated humidity ratio across the
// pressure range, not only at one atmosphere: the ideal-gas ratio without it
// is always further from ours than the small factor allows.
TEST(Psychro, SaturationFollowsPressure) {
    for (double P : {60.0, 80.0, 101.325, 130.0}) {
        for (double t : {-30.0, 0.0, 20.0, 45.0}) {
            const TAirStateRec r = state(P, t, t, 0);
            const double pws = PureSaturationPressure(t);
            const double ideal = 0.621945 * pws / (P - pws);
            EXPECT_GT(r.wa, ideal) << P << " " << t;
            EXPECT_LT(r.wa / ideal - 1, 0.01) << P << " " << t;
            EXPECT_NEAR(r.rh, 1.0, 1e-12);
            EXPECT_NEAR(r.td, t, 1e-9);
            EXPECT_NEAR(r.wb, t, 1e-9);
        }
    }
}

TEST(Psychro, EveryModeRebuildsTheStateItCameFrom) {
    struct Pair { int mode; double TAirStateRec::*a; double TAirStateRec::*b; };
    const Pair pairs[] = {
        {0, &TAirStateRec::db, &TAirStateRec::wb}, {1, &TAirStateRec::db, &TAirStateRec::ha},
        {2, &TAirStateRec::db, &TAirStateRec::wa}, {3, &TAirStateRec::db, &TAirStateRec::rh},
        {4, &TAirStateRec::db, &TAirStateRec::td}, {5, &TAirStateRec::db, &TAirStateRec::pv},
        {7, &TAirStateRec::db, &TAirStateRec::ro}, {8, &TAirStateRec::wb, &TAirStateRec::ha},
        {9, &TAirStateRec::wb, &TAirStateRec::wa}, {10, &TAirStateRec::wb, &TAirStateRec::rh},
        {11, &TAirStateRec::wb, &TAirStateRec::td}, {12, &TAirStateRec::wb, &TAirStateRec::pv},
        {13, &TAirStateRec::wb, &TAirStateRec::ps}, {14, &TAirStateRec::wb, &TAirStateRec::ro},
        {15, &TAirStateRec::ha, &TAirStateRec::wa}, {16, &TAirStateRec::ha, &TAirStateRec::rh},
        {17, &TAirStateRec::ha, &TAirStateRec::td}, {18, &TAirStateRec::ha, &TAirStateRec::pv},
        {19, &TAirStateRec::ha, &TAirStateRec::ps}, {25, &TAirStateRec::wa, &TAirStateRec::rh},
        {26, &TAirStateRec::wa, &TAirStateRec::ps}, {28, &TAirStateRec::rh, &TAirStateRec::td},
        {29, &TAirStateRec::rh, &TAirStateRec::pv}, {30, &TAirStateRec::rh, &TAirStateRec::ps},
        {31, &TAirStateRec::td, &TAirStateRec::ps}, {32, &TAirStateRec::pv, &TAirStateRec::ps},
    };
    int states = 0;
    for (double P : {60.0, 84.5, 101.325, 130.0}) {
        for (double t : {-60.0, -25.0, -1.0, 0.5, 12.0, 25.0, 38.0, 60.0, 85.0, 120.0, 150.0}) {
            for (double rh : {0.02, 0.2, 0.55, 0.9, 1.0}) {
                const TAirStateRec base = state(P, t, rh, 3);
                if (PsyStatus() != 0) continue;  // beyond the boiling point at this pressure
                ++states;
                for (const Pair& p : pairs) {
                    TAirStateRec in{};
                    in.pa = P;
                    in.*p.a = base.*p.a;
                    in.*p.b = base.*p.b;
                    TAirStateRec out;
                    AirState(out, in, p.mode);
                    const std::string where = "mode " + std::to_string(p.mode) + " at P " + std::to_string(P) +
                                              ", t " + std::to_string(t) + ", rh " + std::to_string(rh);
                    EXPECT_EQ(PsyStatus(), 0) << where;
                    ASSERT_TRUE(allFinite(out)) << where;
                    if (p.mode == 8) {
                        // Wet bulb and enthalpy are nearly degenerate: the
                        // result must still have both given values.
                        EXPECT_NEAR(out.wb, base.wb, 1e-6) << where;
                        EXPECT_NEAR(out.ha, base.ha, 1e-6 * (1 + std::fabs(base.ha))) << where;
                        continue;
                    }
                    EXPECT_NEAR(out.db, base.db, 1e-6) << where;
                    EXPECT_NEAR(out.wb, base.wb, 1e-6) << where;
                    EXPECT_NEAR(out.td, base.td, 1e-6) << where;
                    // Density hardly depends on the humidity ratio: one rounding
                    // of the density moves W by a few 1e-16 absolute.
                    const bool byDensity = p.mode == 7 || p.mode == 14;
                    EXPECT_NEAR(out.wa, base.wa, std::max(1e-9 * base.wa, byDensity ? 2e-15 : 0.0)) << where;
                    EXPECT_NEAR(out.ha, base.ha, 1e-9 * (1 + std::fabs(base.ha))) << where;
                }
            }
        }
    }
    EXPECT_GT(states, 150);
}

TEST(Psychro, OutOfDomainAndImpossiblePairsReportAndStayFinite) {
    const struct { double P, x1, x2; int mode; int32_t status; } cases[] = {
        {50, 25, 17, 0, psyPressureRange},
        {140, 25, 17, 0, psyPressureRange},
        {101.325, 160, 0.01, 2, psyTemperatureRange},
        {101.325, -70, 0.5, 3, psyTemperatureRange},
        {101.325, 25, 1.2, 3, psyImpossible},
        {101.325, 25, -0.1, 3, psyImpossible},
        {101.325, 20, 25, 0, psyImpossible},
        {101.325, 25, 30, 4, psyImpossible},
        {101.325, 25, 5, 5, psyImpossible},
        {101.325, 25, 17, 6, psyBadMode},
        {101.325, 25, 17, 27, psyBadMode},
        {101.325, std::nan(""), 17, 0, psyBadInput},
        {0, 25, 17, 0, psyPressureRange},
        {101.325, 20, 150, 29, psyImpossible},
    };
    for (const auto& c : cases) {
        TAirStateRec r;
        SetState(r, c.P, c.x1, c.x2, c.mode);
        EXPECT_EQ(PsyStatus(), c.status) << c.P << " " << c.x1 << " " << c.x2 << " mode " << c.mode;
        EXPECT_TRUE(allFinite(r)) << c.P << " " << c.x1 << " " << c.x2 << " mode " << c.mode;
    }
    TAirStateRec ok;
    SetState(ok, 101.325, 25, 17, 0);
    EXPECT_EQ(PsyStatus(), 0);
}

TEST(Psychro, WetBulbFollowsTheIceBulbBelowFreezing) {
    // The reference takes the ice-bulb root where it is below 0 °C, even where
    // the water form would also have a root above 0 °C.
    const double wb = WetBulb(95.0, 10.0, 0.05, 3);
    EXPECT_NEAR(wb, -0.13, 0.02);
    EXPECT_EQ(PsyStatus(), 0);
    const TAirStateRec back = state(95.0, 10.0, wb, 0);
    EXPECT_NEAR(back.rh, 0.05, 1e-9);
    EXPECT_NEAR(WetBulb(101.325, 25, state(101.325, 25, 17, 0).wa, 2), 17.0, 1e-9);
}

TEST(Psychro, HeatCapacityAndAtmosphere) {
    EXPECT_NEAR(HeatCapacity(0), 4.2113, 5e-5);
    EXPECT_NEAR(HeatCapacity(6), 4.1994, 5e-5);
    for (double z : {-500.0, 0.0, 1500.0, 3000.0}) EXPECT_NEAR(Altitude(AtmPressure(z)), z, 1e-8);
    EXPECT_NEAR(AtmPressure(0), 101.325, 1e-12);
}

TEST(Psychro, ApparatusDewPointLiesOnTheCoilLine) {
    const double P = 101.325;
    const struct { double onDb, onWb, offDb, offWb; } cases[] = {
        {25, 17, 13, 12}, {27, 19.5, 12, 11}, {30, 22, 18, 16}, {24, 17, 14, 13.5}, {26, 18, 8, 7.5},
    };
    for (const auto& c : cases) {
        const TAirStateRec on = state(P, c.onDb, c.onWb, 0), off = state(P, c.offDb, c.offWb, 0);
        double bf = -1;
        const double adp = ApparatusDewPoint(on, off, bf);
        ASSERT_EQ(PsyStatus(), 0) << c.offDb << "/" << c.offWb;
        const TAirStateRec sat = state(P, adp, adp, 0);
        EXPECT_GT(bf, 0);
        EXPECT_LT(bf, 1);
        EXPECT_NEAR(off.db, sat.db + bf * (on.db - sat.db), 1e-9);
        EXPECT_NEAR(off.ha, sat.ha + bf * (on.ha - sat.ha), 1e-9);
        // It is the first crossing below the off-coil state: no saturated
        // point between the adp and the off-coil state lies on the line.
        for (double t = adp + 0.05; t < off.db; t += 0.05) {
            const double s = (t - off.db) / (off.db - on.db);
            const double line = off.ha + s * (off.ha - on.ha);
            EXPECT_GT(state(P, t, t, 0).ha, line) << t;
        }
    }
}

TEST(Psychro, ApparatusDewPointOfAHopelessLineSaysSo) {
    const double P = 101.325;
    const TAirStateRec on = state(P, 25, 0.5, 3);
    // Very low heat ratio: almost all latent.
    const TAirStateRec off = state(P, 24.8, on.wa - 0.004, 2);
    double bf = 0.5;
    ApparatusDewPoint(on, off, bf);
    EXPECT_EQ(PsyStatus(), psyNoSaturation);
    // Identical states give no line at all.
    ApparatusDewPoint(on, on, bf);
    EXPECT_NE(PsyStatus(), 0);
    // An off-coil state on the saturation curve is its own dew point.
    const TAirStateRec sat = state(P, 11, 11, 0);
    EXPECT_NEAR(ApparatusDewPoint(on, sat, bf), 11.0, 1e-9);
    EXPECT_EQ(bf, 0);
}
