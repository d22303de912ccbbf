// The specification: defaults, the calculation chain, the edit rules with
// their all-or-nothing failures, and the chart drags.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "common/errors.h"
#include "psy/air_state.h"
#include "refrig/refrig_lib.h"
#include "spec/spec_edits.h"
#include "spec/specification.h"

using namespace velmora;

namespace {

TRefrigLib& lib() {
    static TRefrigLib l("");
    return l;
}

TSpecification fresh() {
    TSpecification s;
    s.NewSpecification(lib());
    return s;
}

bool same(const TSpecification& a, const TSpecification& b) {
    const auto st = [](const TAirStateRec& x, const TAirStateRec& y) { return std::memcmp(&x, &y, sizeof x) == 0; };
    return a.AirflowHeld == b.AirflowHeld && a.BP == b.BP && a.SiteAltitude == b.SiteAltitude &&
           st(a.Ambient, b.Ambient) && st(a.SetPoint, b.SetPoint) && st(a.OnCoil, b.OnCoil) &&
           st(a.OffCoil, b.OffCoil) && st(a.ADP, b.ADP) && a.BF == b.BF && a.FreshAir == b.FreshAir &&
           a.ma == b.ma && a.Qai == b.Qai && a.Qao == b.Qao && a.Qs == b.Qs && a.Qt == b.Qt && a.SHR == b.SHR &&
           a.Coolant == b.Coolant && a.Twi == b.Twi && a.Two == b.Two && a.mw == b.mw && a.cpw == b.cpw;
}

}  // namespace

TEST(Spec, NewSpecificationDefaultsAndChain) {
    TSpecification s;
    s.Coolant = coolDirectExpansion;
    s.NewSpecification(lib());
    EXPECT_EQ(s.Coolant, coolDirectExpansion);  // New leaves the coolant choice
    EXPECT_DOUBLE_EQ(s.BP, 101.325);
    EXPECT_DOUBLE_EQ(s.Ambient.db, 32);
    EXPECT_DOUBLE_EQ(s.Ambient.wb, 21);
    EXPECT_NEAR(s.SetPoint.rh, 0.5, 1e-9);
    EXPECT_DOUBLE_EQ(s.ADP.db, 9);
    EXPECT_NEAR(s.ADP.rh, 1, 1e-9);
    EXPECT_NEAR(s.OnCoil.ha, 0.12 * s.Ambient.ha + 0.88 * s.SetPoint.ha, 1e-9);
    EXPECT_NEAR(s.OnCoil.db, 0.12 * 32 + 0.88 * 22.5, 1e-12);
    EXPECT_NEAR(s.OffCoil.db, 9 + 0.15 * (s.OnCoil.db - 9), 1e-12);
    EXPECT_NEAR(s.ma, 10 * s.OnCoil.ro, 1e-12);
    EXPECT_NEAR(s.Qt, (s.OnCoil.ha - s.OffCoil.ha) * s.ma, 1e-9);
    EXPECT_NEAR(s.SHR, s.Qs / s.Qt, 1e-12);
    EXPECT_NEAR(s.cpw, 4.1994, 1e-4);
    EXPECT_NEAR(s.mw, s.Qt / (6 * s.cpw), 1e-9);
    EXPECT_NEAR(s.SuctionPressure, 604.8, 0.05);
    EXPECT_TRUE(s.AirflowHeld);
}

TEST(Spec, MixingAndBypassExtremes) {
    TSpecification s = fresh();
    s.FreshAir = 0;
    s.CalcOnCoil();
    EXPECT_NEAR(s.OnCoil.db, s.SetPoint.db, 1e-12);
    EXPECT_NEAR(s.OnCoil.ha, s.SetPoint.ha, 1e-9);
    s.FreshAir = 1;
    s.CalcOnCoil();
    EXPECT_NEAR(s.OnCoil.ha, s.Ambient.ha, 1e-9);
    s.BF = 0;
    s.CalcOffCoil();
    EXPECT_NEAR(s.OffCoil.db, s.ADP.db, 1e-12);
    EXPECT_NEAR(s.OffCoil.wa, s.ADP.wa, 1e-12);
    s.BF = 1;
    s.CalcOffCoil();
    s.CalcDuties();
    EXPECT_NEAR(s.Qt, 0, 1e-9);
    EXPECT_EQ(s.SHR, 1.7e308);
    s = fresh();
    s.Two = s.Twi;
    s.CalcDuties();
    EXPECT_EQ(s.mw, 1.7e308);
    s.Qt = 0;
    s.OffCoil = s.OnCoil;
    s.ma = 1;
    s.CalcDuties();
    EXPECT_EQ(s.mw, 1.7e308);
}

TEST(Spec, ChangePressureKeepsTheBulbs) {
    TSpecification s = fresh();
    const TSpecification before = s;
    ASSERT_TRUE(EditBarometer(s, 84.556).message.empty());
    EXPECT_NEAR(s.SiteAltitude, 1500, 0.5);
    EXPECT_DOUBLE_EQ(s.Ambient.db, before.Ambient.db);
    EXPECT_DOUBLE_EQ(s.Ambient.wb, before.Ambient.wb);
    EXPECT_DOUBLE_EQ(s.SetPoint.wb, before.SetPoint.wb);
    EXPECT_DOUBLE_EQ(s.ADP.db, 9);
    EXPECT_GT(s.Ambient.wa, before.Ambient.wa);
    EXPECT_LT(s.ma, before.ma);
    EXPECT_THROW(EditBarometer(s, 20), CalcError);
}

TEST(Spec, RememberedValuesDecideTheSetPoint) {
    TSpecification s = fresh();
    RememberedSpec first;  // what a first run finds
    first.two = first.twi;
    RestoreRemembered(s, first);
    EXPECT_DOUBLE_EQ(s.Ambient.db, 30);
    EXPECT_NEAR(s.OnCoil.db, 25, 1e-9);
    EXPECT_NEAR(s.OnCoil.ha, 0.12 * s.Ambient.ha + 0.88 * s.SetPoint.ha, 1e-9);
    EXPECT_NEAR(s.SetPoint.db, 24.3, 0.05);
    EXPECT_DOUBLE_EQ(s.Two, s.Twi + 6);
    RememberedSpec back = Remember(s);
    EXPECT_EQ(back.Ambient, "30.000/20.000");
    TSpecification t = fresh();
    back.Ambient = "hot";
    const TSpecification keep = t;
    EXPECT_THROW(RestoreRemembered(t, back), ConversionError);
    EXPECT_TRUE(same(t, keep));
}

TEST(SpecEdits, SingleNumbersTakeTheFieldsHumidity) {
    TSpecification s = fresh();
    EditAmbient(s, "28");
    EXPECT_NEAR(s.Ambient.rh, 0.4, 1e-9);
    EditSetPoint(s, "28");
    EXPECT_NEAR(s.SetPoint.rh, 0.5, 1e-9);
    EditOnCoil(s, "28");
    EXPECT_NEAR(s.OnCoil.rh, 0.5, 1e-9);
    EditOffCoil(s, "16");
    EXPECT_NEAR(s.OffCoil.rh, 0.9, 1e-9);
    EXPECT_FALSE(s.AirflowHeld);
}

TEST(SpecEdits, FrostRuleOnTheOffCoilState) {
    TSpecification s = fresh();
    EditOffCoil(s, "5/1");
    ASSERT_LT(WetBulb(101.325, 5, 0.01, 3), 1);
    EXPECT_NEAR(s.OffCoil.td, 0, 1e-9);
    EXPECT_NEAR(s.OffCoil.rh, 0.99, 1e-9);
}

TEST(SpecEdits, TotalDutyMovesWhatWasNotSetLast) {
    TSpecification s = fresh();
    EditOffCoil(s, "14/12.5");
    const TAirStateRec off = s.OffCoil;
    const double qai = s.Qai;
    EditTotalDuty(s, s.Qt * 1.5);
    EXPECT_NEAR(s.Qai, qai * 1.5, 1e-9);
    EXPECT_EQ(std::memcmp(&off, &s.OffCoil, sizeof off), 0);

    EditAirFlow(s, 8);
    const double adp = s.ADP.db, bf = s.BF, shr = s.SHR;
    EditTotalDuty(s, s.Qt * 1.2);
    EXPECT_DOUBLE_EQ(s.Qai, 8);
    EXPECT_NE(s.ADP.db, adp);
    EXPECT_NE(s.BF, bf);
    EXPECT_NEAR(s.SHR, shr, 1e-12);
    EXPECT_NEAR(s.mw, s.Qt / s.cpw / (s.Two - s.Twi), 1e-9);
}

TEST(SpecEdits, OnCoilWithoutFreshAirIsTheSetPoint) {
    TSpecification s = fresh();
    EditFreshAir(s, 0);
    EditOnCoil(s, "26/18");
    EXPECT_NEAR(s.SetPoint.db, 26, 1e-9);
    EXPECT_NEAR(s.SetPoint.wb, 18, 1e-6);
}

TEST(SpecEdits, WaterInFollowsAtTheHeldFlow) {
    TSpecification s = fresh();
    const double mw = s.mw;
    EditWaterIn(s, 7);
    EXPECT_DOUBLE_EQ(s.Twi, 7);
    EXPECT_NEAR(s.Two, 7 + s.Qt / (mw * HeatCapacity(7)), 1e-9);
    EXPECT_DOUBLE_EQ(s.mw, mw);
}

// A failing edit leaves every value as it was before the edit.
TEST(SpecEdits, FailuresChangeNothing) {
    struct Case {
        const char* what;
        void (*prepare)(TSpecification&);
        void (*edit)(TSpecification&);
    };
    const Case cases[] = {
        {"off-coil state whose line reaches no adp", [](TSpecification&) {},
         [](TSpecification& s) { EditOffCoil(s, "24.9/15"); }},
        {"total duty at zero mass flow", [](TSpecification& s) { EditAirFlow(s, 0); },
         [](TSpecification& s) { EditTotalDuty(s, 50); }},
        {"total duty with equal water temperatures", [](TSpecification& s) { s.Two = s.Twi; },
         [](TSpecification& s) { EditTotalDuty(s, 50); }},
        {"total duty with the off-coil state on the on-coil enthalpy",
         [](TSpecification& s) { EditOffCoil(s, "14/12.5"); s.OffCoil = s.OnCoil; },
         [](TSpecification& s) { EditTotalDuty(s, 50); }},
        {"on-coil state with all fresh air", [](TSpecification& s) { EditFreshAir(s, 1); },
         [](TSpecification& s) { EditOnCoil(s, "25/17"); }},
        {"water in at zero flow", [](TSpecification& s) { s.mw = 0; },
         [](TSpecification& s) { EditWaterIn(s, 8); }},
        {"letters in an air state", [](TSpecification&) {}, [](TSpecification& s) { EditAmbient(s, "3x/20"); }},
        {"letters in a number", [](TSpecification&) {},
         [](TSpecification& s) { ApplyFieldEdit(s, SpecField::AirFlow, "12a"); }},
    };
    for (const Case& c : cases) {
        TSpecification s = fresh();
        c.prepare(s);
        const TSpecification before = s;
        EXPECT_ANY_THROW(c.edit(s)) << c.what;
        EXPECT_TRUE(same(s, before)) << c.what;
    }
}

TEST(SpecEdits, PlausibilityMessagesComeWithTheNewState) {
    TSpecification s = fresh();
    EXPECT_EQ(EditAmbient(s, "30/20").message, "");
    EditBarometer(s, 60);
    const EditOutcome r = EditSetPoint(s, "99/99");
    EXPECT_EQ(r.message, "The setpoint is not valid...");
    EXPECT_DOUBLE_EQ(s.SetPoint.db, 99);
}

TEST(SpecEdits, FieldKeys) {
    EXPECT_EQ(SpecFieldFromKey("offcoil"), SpecField::OffCoil);
    EXPECT_EQ(SpecFieldFromKey("Barometer"), SpecField::Barometer);
    EXPECT_FALSE(SpecFieldFromKey("Humidity").has_value());
    EXPECT_STREQ(SpecFieldKey(SpecField::WaterIn), "WaterIn");
}

TEST(SpecDrag, PointsFollowTheRules) {
    TSpecification s = fresh();
    const TSpecification start = s;
    // Outside the limits nothing happens.
    EXPECT_FALSE(DragPoint(s, "OA", -1, 0.01));
    EXPECT_FALSE(DragPoint(s, "OA", 51, 0.01));
    EXPECT_FALSE(DragPoint(s, "OA", 30, 0.00005));
    EXPECT_FALSE(DragPoint(s, "adp", 36, 0.01));
    EXPECT_FALSE(DragPoint(s, "", 20, 0.01));
    EXPECT_TRUE(same(s, start));
    // Above saturation the ambient lands on the curve at the mouse's dry bulb.
    ASSERT_TRUE(DragPoint(s, "OA", 30, 0.05));
    EXPECT_DOUBLE_EQ(s.Ambient.db, 30);
    EXPECT_NEAR(s.Ambient.rh, 1, 1e-9);
    // The on-coil point stops at the ends of the mixing line.
    s = fresh();
    ASSERT_TRUE(DragPoint(s, "ai", 40, s.Ambient.wa));
    EXPECT_EQ(s.FreshAir, 1);
    EXPECT_NEAR(s.OnCoil.db, s.Ambient.db, 1e-9);
    ASSERT_TRUE(DragPoint(s, "ai", 10, s.SetPoint.wa));
    EXPECT_EQ(s.FreshAir, 0);
    ASSERT_TRUE(DragPoint(s, "ai", 23, 0.011));
    EXPECT_NEAR(s.FreshAir, (23 - s.SetPoint.db) / (s.Ambient.db - s.SetPoint.db), 1e-12);
    // The off-coil point slides along the coil line; the bypass factor follows.
    s = fresh();
    ASSERT_TRUE(DragPoint(s, "ao", s.ADP.db + 0.3 * (s.OnCoil.db - s.ADP.db), 0.01));
    EXPECT_NEAR(s.BF, 0.3, 1e-12);
    ASSERT_TRUE(DragPoint(s, "ao", 0.5, 0.01));
    EXPECT_EQ(s.BF, 0);
    EXPECT_TRUE(s.AirflowHeld);
    // The adp goes to the wet bulb of the mouse position.
    s = fresh();
    ASSERT_TRUE(DragPoint(s, "adp", 14, 0.008));
    EXPECT_NEAR(s.ADP.db, WetBulb(s.BP, 14, 0.008, 2), 1e-9);
    EXPECT_NEAR(s.ADP.rh, 1, 1e-9);
    EXPECT_EQ(s.ma, start.ma);  // drags never touch the mass flow
    // A degenerate mixing line is a calculation error and changes nothing.
    s = fresh();
    s.SetPoint = s.Ambient;
    const TSpecification before = s;
    EXPECT_THROW(DragPoint(s, "ai", 20, 0.01), CalcError);
    EXPECT_TRUE(same(s, before));
}
