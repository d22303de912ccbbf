#pragma once
// Units-of-measure catalogue: for each kind of quantity an ordered list of
// units with label, factor and default format. The order of the enumeration
// and of each list is stored data (settings keep units indexes): never insert
// or move an entry.
#include <string>

namespace velmora {

enum TUnitsType : int {
    utNone, utAirFlowPrim, utAirFlowSec, utAirFlowSmall, utAirFlowRate, utAirPressDrop,
    utAltitude, utAngularSpeed, utArea, utCondensateRate, utConductance, utConductivity,
    utDensity, utDiameter, utDutyPrim, utDutySec, utDutyRate, utEnergy, utEnthalpy,
    utFinDensity, utHeatOfRespir, utHeatTransCoeff, utHumidity, utLengthBig,
    utLengthMeasure, utLengthPrim, utLengthSec, utLengthSmall, utMass, utMassFlow,
    utMassFlowGas, utMassFlux, utMetRate, utPeopleDensity, utPower, utPressure,
    utPressureBar, utPressureSteam, utPressureRateGas, utPressureRateLiquid,
    utProportion, utSpecificHeat, utSpecificVol, utTemperature, utTemperatureChange,
    utThermalCapacity, utThermalResist, utTime, utVelocity, utViscosity, utVolume,
    utVolumeFluid, utWaterFlow, utWaterPressDrop
};
constexpr int kUnitsTypeCount = 54;

struct UnitDef {
    const char* label;
    double factor;  // units of this kind in one reference unit
    double offset;  // temperature only
    const char* format;
};

struct UnitsConversion {
    std::string format;
    double offset = 0;
    double factor = 1;
    std::string label;
};

int UnitsCount(TUnitsType type);
int ClampUnitsIndex(TUnitsType type, int index);
std::string GetUnitsLabel(TUnitsType type, int index);
std::string GetUnitsFormat(TUnitsType type, int index);
// Fills conv from the display and base units; for utNone only the format and
// label are set and the caller's factor and offset stay as they were.
void GetUnitsConversion(TUnitsType type, int displayIndex, int baseIndex, UnitsConversion& conv);
UnitsConversion GetUnitsConversion(TUnitsType type, int displayIndex, int baseIndex);
double ToDisplayUnits(double value, double factor, double offset);
double FromDisplayUnits(double value, double factor, double offset);
// The unit definition itself (index must be valid).
const UnitDef& GetUnitDef(TUnitsType type, int index);
// Enumeration name, e.g. "utTemperature".
const char* UnitsTypeName(TUnitsType type);

}  // namespace velmora
