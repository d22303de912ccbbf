// The program's own air-state routines: text to state, validation, guarded
// arithmetic and the pair selector.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/errors.h"
#include "psy/air_state.h"

using namespace velmora;

namespace {
const double P = 101.325;
}

TEST(AirState, StateFromText) {
    TAirStateRec s;
    SetStateFromText("25/17", s, P, 0.5);
    EXPECT_DOUBLE_EQ(s.db, 25);
    EXPECT_DOUBLE_EQ(s.wb, 17);
    SetStateFromText("25/30", s, P, 0.5);
    EXPECT_DOUBLE_EQ(s.wb, 25);
    EXPECT_NEAR(s.rh, 1, 1e-12);
    SetStateFromText("120/20", s, P, 0.5);
    EXPECT_DOUBLE_EQ(s.db, 99);
    SetStateFromText("-80/-90", s, P, 0.5);
    EXPECT_DOUBLE_EQ(s.db, -60);
    SetStateFromText("25/-40", s, P, 0.5);
    EXPECT_NEAR(s.wb, WetBulb(P, 25, 0.01, 3), 1e-12);
    EXPECT_NEAR(s.rh, 0.01, 1e-9);
    SetStateFromText("25", s, P, 0.5);
    EXPECT_NEAR(s.rh, 0.5, 1e-9);
    SetStateFromText(" 28 ", s, P, 0.4);
    EXPECT_NEAR(s.rh, 0.4, 1e-9);
    const TAirStateRec before = s;
    EXPECT_THROW(SetStateFromText("abc", s, P, 0.5), ConversionError);
    EXPECT_THROW(SetStateFromText("25/", s, P, 0.5), ConversionError);
    EXPECT_EQ(s.db, before.db);
}

TEST(AirState, ValidateMessagesInOrder) {
    TAirStateRec ok;
    SetState(ok, P, 25, 17, 0);
    EXPECT_EQ(Validate(ok), "");
    auto with = [&](auto change) {
        TAirStateRec s = ok;
        change(s);
        SetState(ok, P, 25, 17, 0);  // a clean status for the status test
        return Validate(s);
    };
    EXPECT_EQ(with([](TAirStateRec& s) { s.db = 100; s.wb = 100; }), "Dry bulb too high...");
    EXPECT_EQ(with([](TAirStateRec& s) { s.wb = 100; }), "Wet bulb too high...");
    EXPECT_EQ(with([](TAirStateRec& s) { s.db = std::nan(""); }), "Dry bulb too low...");
    EXPECT_EQ(with([](TAirStateRec& s) { s.wb = -61; }), "Wet bulb too low...");
    EXPECT_EQ(with([](TAirStateRec& s) { s.wb = s.db + 0.05; }), "");
    EXPECT_EQ(with([](TAirStateRec& s) { s.wb = s.db + 0.2; }), "Wet Bulb > Dry Bulb °C...");
    EXPECT_EQ(with([](TAirStateRec& s) { s.rh = 1.005; }), "");
    EXPECT_EQ(with([](TAirStateRec& s) { s.rh = -0.005; }), "");
    EXPECT_EQ(with([](TAirStateRec& s) { s.rh = 1.02; }), "High Relative Humidity...");
    EXPECT_EQ(with([](TAirStateRec& s) { s.rh = -0.02; }), "Low Relative Humidity...");
    EXPECT_EQ(with([](TAirStateRec& s) { s.wa = -0.000005; }), "");
    EXPECT_EQ(with([](TAirStateRec& s) { s.wa = -0.00002; }), "Absolute Humidity < 0 g/kg...");
    TAirStateRec bad;
    SetState(bad, 50, 25, 17, 0);  // pressure out of range: only the status says so
    EXPECT_EQ(Validate(bad), "Bad data...");
}

TEST(AirState, Plausibility) {
    TAirStateRec s;
    SetState(s, P, 25, 17, 0);
    EXPECT_TRUE(IsPlausible(s));
    s.rh = 1.0001;
    EXPECT_FALSE(IsPlausible(s));
    s.rh = std::nan("");
    EXPECT_FALSE(IsPlausible(s));
    SetState(s, P, 20, 21, 0);
    EXPECT_FALSE(IsPlausible(s));
}

TEST(AirState, GuardedArithmetic) {
    EXPECT_EQ(SafeDivide(5, 0, kSafeLimit), 1.7e308);
    EXPECT_EQ(SafeDivide(-5, 0, kSafeLimit), -1.7e308);
    EXPECT_EQ(SafeDivide(0, 0, kSafeLimit), 1.7e308);
    EXPECT_EQ(SafeDivide(-0.0, 0, kSafeLimit), 1.7e308);
    EXPECT_EQ(SafeDivide(1e300, -1e-300, kSafeLimit), -1.7e308);
    EXPECT_EQ(SafeDivide(-1e300, -1e-300, kSafeLimit), 1.7e308);
    EXPECT_EQ(SafeDivide(6, 3, kSafeLimit), 2);
    EXPECT_EQ(Clamp(0, 1.5, 1), 1);
    EXPECT_EQ(Clamp(0, -0.2, 1), 0);
    EXPECT_EQ(Clamp(0, 0.3, 1), 0.3);
}

TEST(AirState, SaturationHumidityRatioFormula) {
    EXPECT_NEAR(SaturationHumidityRatio(20, P), 0.0147, 0.0001);
    // 40 and 90 belong to the lower rows, 0 and -40 to the upper rows.
    auto es = [](double A, double B, double C, double t) { return A * std::exp(B * t / (t + C)); };
    auto w = [&](double e) { return 0.6219773790951638 * 1.0039 * e / (P - 1.0039 * e); };
    EXPECT_DOUBLE_EQ(SaturationHumidityRatio(40, P), w(es(0.61084581, 17.33014, 238.14596, 40)));
    EXPECT_DOUBLE_EQ(SaturationHumidityRatio(90, P), w(es(0.60102187, 16.908548, 229.68175, 90)));
    EXPECT_DOUBLE_EQ(SaturationHumidityRatio(0, P), w(es(0.61084581, 17.33014, 238.14596, 0)));
    EXPECT_DOUBLE_EQ(SaturationHumidityRatio(-40, P), w(es(0.61117891, 22.382872, 271.76805, -40)));
    EXPECT_EQ(SaturationHumidityRatio(100, 1.0039 * es(0.61077082, 16.809769, 228.70585, 100)), 0.01);
}

TEST(AirState, PairText) {
    TAirStateRec s;
    SetState(s, P, 25, 17, 0);
    EXPECT_EQ(FormatDbWb(s, "%0.1f"), "25.0/17.0");
    EXPECT_EQ(FormatDbWb(s, "%0.2f"), "25.00/17.00");
    EXPECT_EQ(FormatPair("%0.3f", 1.5, -2), "1.500/-2.000");
}

TEST(AirState, PairSelectorFollowsTheOrderOfEntries) {
    TAirCombin c;
    EXPECT_EQ(c.Known, "tb");
    EXPECT_EQ(c.Mode, 0);
    const struct { int index; const char* known; int mode; } steps[] = {
        {5, "ftb", 3}, {6, "dftb", 28}, {4, "wdftb", 25}, {2, "bwdft", 9}, {3, "hbwdft", 8}, {9, "rhbwdft", 14}};
    for (const auto& s : steps) {
        c.Choose(static_cast<unsigned char>(s.index));
        EXPECT_EQ(c.Known, s.known);
        EXPECT_EQ(c.Mode, s.mode) << s.known;
    }
    // p, c and z never pair: with p newest the search falls back to older letters.
    c.Choose(0);
    EXPECT_EQ(c.Known, "prhbwdft");
    EXPECT_EQ(c.Mode, 14);
    EXPECT_EQ(AirPairMode('w', 'd'), -1);
    EXPECT_EQ(AirPairMode('s', 't'), -1);
    EXPECT_EQ(AirPairMode('r', 'h'), -1);
    EXPECT_EQ(AirPairMode('s', 'v'), 32);
}

TEST(AirState, SolveStateValidates) {
    TAirStateRec s;
    SetState(s, P, 25, 17, 0);
    TAirStateRec in = s;
    in.rh = 0.3;
    SolveState(in, 3);
    EXPECT_NEAR(in.rh, 0.3, 1e-12);
    EXPECT_NEAR(in.db, 25, 1e-12);
    TAirStateRec bad = s;
    bad.rh = -0.5;
    try {
        SolveState(bad, 3);
        FAIL();
    } catch (const CalcError& e) {
        EXPECT_STREQ(e.what(), "Low Relative Humidity...");
    }
    EXPECT_NEAR(bad.rh, -0.5, 1e-12);  // the new state stays
    TAirStateRec keep = s;
    EXPECT_THROW(SolveState(keep, 6), CalcError);
    EXPECT_EQ(keep.db, s.db);
}
