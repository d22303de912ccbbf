// Units catalogue: the shared lists, clamping and conversion rules.
#include <gtest/gtest.h>

#include "units/number_text.h"
#include "units/units.h"

using namespace velmora;

TEST(Units, ClampingAndUtNone) {
    EXPECT_EQ(ClampUnitsIndex(utTemperature, 7), 2);
    EXPECT_EQ(ClampUnitsIndex(utTemperature, -1), 0);
    EXPECT_EQ(ClampUnitsIndex(utNone, 7), 7);
    EXPECT_EQ(UnitsCount(utNone), 0);
    EXPECT_EQ(GetUnitsLabel(utNone, 0), "");
    EXPECT_EQ(GetUnitsFormat(utNone, 0), "%0.1f");
    UnitsConversion c;
    c.factor = 3;
    c.offset = 4;
    GetUnitsConversion(utNone, 0, 0, c);
    EXPECT_EQ(c.factor, 3);  // the caller's factor and offset stay
    EXPECT_EQ(c.offset, 4);
    EXPECT_EQ(c.format, "%0.1f");
}

TEST(Units, CountsAndSharedLists) {
    const struct { TUnitsType t; int n; } counts[] = {
        {utAirFlowPrim, 5}, {utAirFlowSmall, 3}, {utPressure, 8}, {utPressureBar, 6}, {utTemperature, 3},
        {utViscosity, 7}, {utWaterFlow, 6}, {utMassFlux, 6}, {utProportion, 3}, {utWaterPressDrop, 8}};
    for (const auto& c : counts) EXPECT_EQ(UnitsCount(c.t), c.n) << UnitsTypeName(c.t);
    const TUnitsType groups[][4] = {
        {utAirFlowPrim, utAirFlowSec, utAirFlowSec, utAirFlowSec},
        {utDutyPrim, utDutySec, utDutySec, utDutySec},
        {utLengthMeasure, utLengthPrim, utLengthSec, utLengthSec},
        {utMassFlow, utMassFlowGas, utMassFlowGas, utMassFlowGas},
        {utPressureRateGas, utPressureRateLiquid, utPressureRateLiquid, utPressureRateLiquid},
        {utAirPressDrop, utPressure, utPressureSteam, utWaterPressDrop}};
    for (const auto& g : groups)
        for (int i = 0; i < UnitsCount(g[0]); ++i)
            for (const TUnitsType t : g) EXPECT_EQ(&GetUnitDef(g[0], i), &GetUnitDef(t, i)) << UnitsTypeName(t);
    EXPECT_EQ(std::string(UnitsTypeName(static_cast<TUnitsType>(53))), "utWaterPressDrop");
    EXPECT_EQ(std::string(UnitsTypeName(static_cast<TUnitsType>(43))), "utTemperature");
}

TEST(Units, ConversionCases) {
    auto bar = GetUnitsConversion(utPressureBar, 2, 0);
    EXPECT_EQ(bar.label, "Bar");
    EXPECT_EQ(bar.format, "%0.5f");
    EXPECT_DOUBLE_EQ(bar.factor, 0.01);
    EXPECT_EQ(FormatFloat(bar.format, ToDisplayUnits(100, bar.factor, bar.offset)), "1.00000");

    auto psi = GetUnitsConversion(utPressure, 2, 0);
    EXPECT_EQ(psi.label, "Psi");
    EXPECT_DOUBLE_EQ(psi.factor, 0.1450376807894691);

    auto f = GetUnitsConversion(utTemperature, 1, 0);
    EXPECT_DOUBLE_EQ(f.factor, 1.8);
    EXPECT_DOUBLE_EQ(f.offset, 32);
    EXPECT_EQ(FormatFloat(f.format, ToDisplayUnits(-40, f.factor, f.offset)), "-40.0");
    EXPECT_EQ(FormatFloat("%0.1f", ToDisplayUnits(20, f.factor, f.offset)), "68.0");
    EXPECT_EQ(GetUnitsConversion(utTemperatureChange, 1, 0).offset, 0);
    auto k = GetUnitsConversion(utTemperature, 2, 0);
    EXPECT_EQ(FormatFloat(k.format, ToDisplayUnits(20, k.factor, k.offset)), "293.15");
    auto dt = GetUnitsConversion(utTemperatureChange, 1, 0);
    EXPECT_EQ(FormatFloat("%0.1f", ToDisplayUnits(10, dt.factor, dt.offset)), "18.0");

    auto cfm = GetUnitsConversion(utAirFlowPrim, 4, 3);
    EXPECT_DOUBLE_EQ(cfm.factor, 2.1188800032893155);
    EXPECT_EQ(FormatFloat(cfm.format, ToDisplayUnits(1000, cfm.factor, cfm.offset)), "2118.88");

    for (double v : {-40.0, 0.0, 22.5, 101.325})
        EXPECT_NEAR(FromDisplayUnits(ToDisplayUnits(v, f.factor, f.offset), f.factor, f.offset), v, 1e-12);
    EXPECT_EQ(GetUnitsLabel(utViscosity, 2), "µPa·s");
    EXPECT_EQ(GetUnitsLabel(utDiameter, 3), "1/8\"");
}
