#include "units/units.h"

#include <span>

namespace velmora {
namespace {

// Shared unit lists; several types point at the same list.
const UnitDef kAirFlow[] = {
    {"m³/s", 1, 0, "%0.3f"}, {"m³/min", 60, 0, "%0.2f"}, {"m³/hr", 3600, 0, "%0.0f"},
    {"l/s", 1000, 0, "%0.0f"}, {"cfm", 2118.8800032893155, 0, "%0.2f"}};
const UnitDef kAirFlowSmall[] = {
    {"l/s", 1, 0, "%0.1f"}, {"m³/min", 0.06, 0, "%0.2f"}, {"cfm", 2.1188800032893154, 0, "%0.3f"}};
const UnitDef kAirFlowRate[] = {
    {"m³/s/m²", 1, 0, "%0.3f"}, {"m³/min/m²", 60, 0, "%0.2f"}, {"m³/hr/m²", 3600, 0, "%0.0f"},
    {"l/s/m²", 1000, 0, "%0.0f"}, {"cfm/ft²", 196.8503937007874, 0, "%0.2f"}};
const UnitDef kPressure[] = {
    {"kPa", 1, 0, "%0.3f"}, {"Pa", 1000, 0, "%0.0f"}, {"Psi", 0.1450376807894691, 0, "%0.4f"},
    {"Bar", 0.01, 0, "%0.5f"}, {"Atm", 0.00986923, 0, "%0.5f"},
    {"InchWg", 4.014630759755623, 0, "%0.4f"}, {"InchHg", 0.295, 0, "%0.4f"},
    {"mHead", 0.10197162129779283, 0, "%0.4f"}};
const UnitDef kAltitude[] = {{"m", 1, 0, "%0.1f"}, {"ft", 3.2808398950131235, 0, "%0.1f"}};
const UnitDef kAngularSpeed[] = {
    {"rpm", 1, 0, "%0.0f"}, {"Rad/s", 0.10471975511965978, 0, "%0.3f"},
    {"Rev/s", 0.016666666666666666, 0, "%0.0f"}};
const UnitDef kArea[] = {
    {"m²", 1, 0, "%0.1f"}, {"cm²", 10000, 0, "%0.1f"}, {"mm²", 1000000, 0, "%0.0f"},
    {"inch²", 1550.0031000062, 0, "%0.2f"}, {"ft²", 10.763910416709722, 0, "%0.1f"}};
const UnitDef kCondensate[] = {
    {"g/s", 1, 0, "%0.1f"}, {"kg/s", 0.001, 0, "%0.4f"}, {"kg/min", 0.06, 0, "%0.3f"},
    {"lb/hr", 7.9366414386555925, 0, "%0.3f"}};
const UnitDef kConductance[] = {
    {"kW/°C", 1, 0, "%0.3f"}, {"W/°C", 1000, 0, "%0.0f"}, {"MBH/°F", 1.8956339758268757, 0, "%0.3f"},
    {"Btu/h°F", 1895.6339758268755, 0, "%0.0f"}};
const UnitDef kConductivity[] = {
    {"kW/mK", 1, 0, "%0.6g"}, {"W/mK", 1000, 0, "%0.6g"}, {"mW/mK", 1000000, 0, "%0.6g"},
    {"Btu/hr·ft°F", 577.7, 0, "%0.6g"}};
const UnitDef kDensity[] = {
    {"kg/m³", 1, 0, "%0.5g"}, {"mg/L", 1000, 0, "%0.1g"}, {"lb/ft³", 0.06242796057614461, 0, "%0.4g"}};
const UnitDef kDiameter[] = {
    {"m", 1, 0, "%0.3f"}, {"mm", 1000, 0, "%0.0f"}, {"inch", 39.37007874015748, 0, "%0.2f"},
    {"1/8\"", 314.96062992125985, 0, "%0.0f"}, {"ft", 3.2808398950131235, 0, "%0.3f"}};
const UnitDef kDuty[] = {
    {"kW", 1, 0, "%0.3f"}, {"W", 1000, 0, "%0.0f"}, {"Btu/hr", 3412.141156488376, 0, "%0.0f"},
    {"MBh", 3.412141156488376, 0, "%0.3f"}, {"kcal/hr", 859.184, 0, "%0.1f"}};
const UnitDef kDutyRate[] = {
    {"W/m²", 1, 0, "%0.1f"}, {"kW/m²", 0.001, 0, "%0.3f"},
    {"Btu/hr·ft²", 0.31699828634688587, 0, "%0.1f"}, {"MBh/ft²", 0.00031699828634688587, 0, "%0.3f"},
    {"kcal/hr·ft²", 0.07982080551936, 0, "%0.1f"}};
const UnitDef kEnergy[] = {
    {"kJ", 1, 0, "%0.3f"}, {"J", 1000, 0, "%0.0f"}, {"kW-hr", 0.0002777777777777778, 0, "%0.5g"},
    {"W-hr", 0.2777777777777778, 0, "%0.5g"}, {"Btu", 0.9478169879134378, 0, "%0.5g"}};
const UnitDef kEnthalpy[] = {{"kJ/kg", 1, 0, "%0.1f"}, {"Btu/lb", 0.4299226139294927, 0, "%0.1f"}};
const UnitDef kFinDensity[] = {
    {"fpi", 1, 0, "%0.4f"}, {"fin/mm", 0.03937007874015748, 0, "%0.5f"},
    {"fins/m", 39.37007874015748, 0, "%0.3f"}, {"fins/ft", 12, 0, "%0.3f"}};
const UnitDef kHeatOfRespir[] = {
    {"kJ/kg/day", 1, 0, "%0.2f"}, {"Btu/lb/day", 0.4299226139294927, 0, "%0.2f"}};
const UnitDef kHeatTransCoeff[] = {
    {"W/m²°C", 1, 0, "%0.5g"}, {"Btu/hr·ft²°F", 0.17611835153222966, 0, "%0.5g"}};
const UnitDef kHumidity[] = {{"kg/kg", 1, 0, "%0.4f"}, {"g/kg", 1000, 0, "%0.2f"}, {"gr/lb", 7000, 0, "%0.1f"}};
const UnitDef kLengthBig[] = {{"m", 1, 0, "%0.2f"}, {"ft", 3.2808398950131235, 0, "%0.1f"}};
const UnitDef kLength[] = {
    {"m", 1, 0, "%0.3f"}, {"cm", 100, 0, "%0.2f"}, {"mm", 1000, 0, "%0.1f"},
    {"inch", 39.37007874015748, 0, "%0.2f"}, {"ft", 3.2808398950131235, 0, "%0.3f"}};
const UnitDef kLengthSmall[] = {
    {"mm", 1, 0, "%0.4f"}, {"um", 1000, 0, "%0.1f"}, {"Thou\"", 39.37007874015748, 0, "%0.3f"}};
const UnitDef kMass[] = {{"kg", 1, 0, "%0.0f"}, {"ton SI", 0.001, 0, "%0.3f"}, {"lb", 2.2046226218487757, 0, "%0.1f"}};
const UnitDef kMassFlow[] = {
    {"kg/s", 1, 0, "%0.3f"}, {"g/s", 1000, 0, "%0.0f"}, {"kg/hr", 3600, 0, "%0.1f"},
    {"lb/s", 2.2046226218487757, 0, "%0.4f"}, {"lb/min", 132.27735731092656, 0, "%0.2f"},
    {"lb/hr", 7936.6414386555925, 0, "%0.0f"}};
const UnitDef kMassFlux[] = {
    {"kg/m²s", 1, 0, "%0.3f"}, {"g/m²s", 1000, 0, "%0.0f"}, {"kg/m²hr", 3600, 0, "%0.1f"},
    {"lb/ft²s", 0.20481614362252168, 0, "%0.4f"}, {"lb/ft²min", 12.288968617351301, 0, "%0.2f"},
    {"lb/ft²hr", 737.3381170410781, 0, "%0.0f"}};
const UnitDef kMetRate[] = {{"W/P", 1, 0, "%0.1f"}, {"Btu/hr/P", 3.412141156488376, 0, "%0.0f"}};
const UnitDef kPeopleDensity[] = {{"m²/P", 1, 0, "%0.1f"}, {"ft²/P", 10.763910416709722, 0, "%0.2f"}};
const UnitDef kPower[] = {{"kW", 1, 0, "%0.3f"}, {"W", 1000, 0, "%0.0f"}, {"HP", 1.341021858656296, 0, "%0.2f"}};
const UnitDef kPressureBar[] = {
    {"kPa", 1, 0, "%0.3f"}, {"Psi", 0.1450376807894691, 0, "%0.4f"}, {"Bar", 0.01, 0, "%0.5f"},
    {"Atm", 0.00986923, 0, "%0.5f"}, {"InchHg", 0.295, 0, "%0.4f"},
    {"mHead", 0.10197162129779283, 0, "%0.4f"}};
const UnitDef kPressureRate[] = {
    {"Pa/m", 1, 0, "%0.2f"}, {"kPa/m", 0.001, 0, "%0.5f"}, {"iwg/100'", 0.12236594555735139, 0, "%0.4f"},
    {"Psi/ft", 0.000044207485104630184, 0, "%0.6f"}};
const UnitDef kProportion[] = {{"fraction", 1, 0, "%0.3f"}, {"%", 100, 0, "%0.1f"}, {"ratio", 1, 0, "%0.3f"}};
const UnitDef kSpecificHeat[] = {{"kJ/kg·K", 1, 0, "%0.4g"}, {"Btu/lb°F", 0.23883448770002388, 0, "%0.4g"}};
const UnitDef kSpecificVol[] = {{"m³/kg", 1, 0, "%0.3f"}, {"ft³/lb", 16.018463373960138, 0, "%0.3f"}};
const UnitDef kTemperature[] = {{"°C", 1, 0, "%0.1f"}, {"°F", 1.8, 32, "%0.1f"}, {"K", 1, 273.15, "%0.2f"}};
const UnitDef kThermalCapacity[] = {{"W-hr/m²°C", 1, 0, "%0.1f"}, {"Btu/ft²°F", 0.17611835153222966, 0, "%0.1f"}};
const UnitDef kThermalResist[] = {{"m²°C/W", 1, 0, "%0.4f"}, {"ft²·hr·°F/Btu", 5.678264134306047, 0, "%0.3f"}};
const UnitDef kTime[] = {{"sec", 1, 0, "%0.0f"}, {"min", 0.016666666666666666, 0, "%0.2f"}, {"hr", 0.0002777777777777778, 0, "%0.4f"}};
const UnitDef kVelocity[] = {{"m/s", 1, 0, "%0.2f"}, {"fpm", 196.8503937007874, 0, "%0.1f"}};
const UnitDef kViscosity[] = {
    {"kg/m·s", 1, 0, "%0.6g"}, {"N·s/m²", 1, 0, "%0.6g"}, {"µPa·s", 1000000, 0, "%0.6g"},
    {"cP", 1000, 0, "%0.6g"}, {"lbm/ft·s", 0.671955, 0, "%0.6g"}, {"lbf·s/ft²", 0.020885, 0, "%0.6g"},
    {"lbf·hr/ft²", 0.0000058014, 0, "%0.6g"}};
const UnitDef kVolume[] = {
    {"m³", 1, 0, "%0.4f"}, {"litre", 1000, 0, "%0.2f"}, {"cc", 1000000, 0, "%0.0f"},
    {"ft³", 35.32, 0, "%0.4f"}, {"inch³", 61023, 0, "%0.1f"}};
const UnitDef kVolumeFluid[] = {
    {"kl", 1, 0, "%0.3f"}, {"litre", 1000, 0, "%0.5g"}, {"IP Gal", 220, 0, "%0.5g"},
    {"US Gal", 264.1720523581484, 0, "%0.5g"}};
const UnitDef kWaterFlow[] = {
    {"l/s", 1, 0, "%0.3f"}, {"l/min", 60, 0, "%0.2f"}, {"dm³/hr", 3600, 0, "%0.2f"},
    {"m³/hr", 3.6, 0, "%0.2f"}, {"m³/s", 0.001, 0, "%0.4f"}, {"usgpm", 15.850323141488905, 0, "%0.1f"}};

struct TypeEntry {
    const char* name;
    std::span<const UnitDef> units;
};

// Indexed by TUnitsType; the order is the enumeration's.
const TypeEntry kTypes[kUnitsTypeCount] = {
    {"utNone", {}},
    {"utAirFlowPrim", kAirFlow},
    {"utAirFlowSec", kAirFlow},
    {"utAirFlowSmall", kAirFlowSmall},
    {"utAirFlowRate", kAirFlowRate},
    {"utAirPressDrop", kPressure},
    {"utAltitude", kAltitude},
    {"utAngularSpeed", kAngularSpeed},
    {"utArea", kArea},
    {"utCondensateRate", kCondensate},
    {"utConductance", kConductance},
    {"utConductivity", kConductivity},
    {"utDensity", kDensity},
    {"utDiameter", kDiameter},
    {"utDutyPrim", kDuty},
    {"utDutySec", kDuty},
    {"utDutyRate", kDutyRate},
    {"utEnergy", kEnergy},
    {"utEnthalpy", kEnthalpy},
    {"utFinDensity", kFinDensity},
    {"utHeatOfRespir", kHeatOfRespir},
    {"utHeatTransCoeff", kHeatTransCoeff},
    {"utHumidity", kHumidity},
    {"utLengthBig", kLengthBig},
    {"utLengthMeasure", kLength},
    {"utLengthPrim", kLength},
    {"utLengthSec", kLength},
    {"utLengthSmall", kLengthSmall},
    {"utMass", kMass},
    {"utMassFlow", kMassFlow},
    {"utMassFlowGas", kMassFlow},
    {"utMassFlux", kMassFlux},
    {"utMetRate", kMetRate},
    {"utPeopleDensity", kPeopleDensity},
    {"utPower", kPower},
    {"utPressure", kPressure},
    {"utPressureBar", kPressureBar},
    {"utPressureSteam", kPressure},
    {"utPressureRateGas", kPressureRate},
    {"utPressureRateLiquid", kPressureRate},
    {"utProportion", kProportion},
    {"utSpecificHeat", kSpecificHeat},
    {"utSpecificVol", kSpecificVol},
    {"utTemperature", kTemperature},
    {"utTemperatureChange", kTemperature},
    {"utThermalCapacity", kThermalCapacity},
    {"utThermalResist", kThermalResist},
    {"utTime", kTime},
    {"utVelocity", kVelocity},
    {"utViscosity", kViscosity},
    {"utVolume", kVolume},
    {"utVolumeFluid", kVolumeFluid},
    {"utWaterFlow", kWaterFlow},
    {"utWaterPressDrop", kPressure},
};

std::span<const UnitDef> listOf(TUnitsType type) {
    if (type < 0 || type >= kUnitsTypeCount) return {};
    return kTypes[type].units;
}

}  // namespace

int UnitsCount(TUnitsType type) { return static_cast<int>(listOf(type).size()); }

int ClampUnitsIndex(TUnitsType type, int index) {
    if (type == utNone) return index;
    const int n = UnitsCount(type);
    if (index > n - 1) index = n - 1;
    if (index < 0) index = 0;
    return index;
}

const UnitDef& GetUnitDef(TUnitsType type, int index) { return listOf(type)[ClampUnitsIndex(type, index)]; }

std::string GetUnitsLabel(TUnitsType type, int index) {
    if (type == utNone || UnitsCount(type) == 0) return {};
    return GetUnitDef(type, index).label;
}

std::string GetUnitsFormat(TUnitsType type, int index) {
    if (type == utNone || UnitsCount(type) == 0) return "%0.1f";
    return GetUnitDef(type, index).format;
}

void GetUnitsConversion(TUnitsType type, int displayIndex, int baseIndex, UnitsConversion& conv) {
    conv.format = GetUnitsFormat(type, displayIndex);
    conv.label = GetUnitsLabel(type, displayIndex);
    if (type == utNone || UnitsCount(type) == 0) return;
    const UnitDef& d = GetUnitDef(type, displayIndex);
    const UnitDef& b = GetUnitDef(type, baseIndex);
    conv.factor = static_cast<double>(static_cast<long double>(d.factor) / b.factor);
    conv.offset = type == utTemperature ? d.offset : 0.0;
}

UnitsConversion GetUnitsConversion(TUnitsType type, int displayIndex, int baseIndex) {
    UnitsConversion c;
    GetUnitsConversion(type, displayIndex, baseIndex, c);
    return c;
}

double ToDisplayUnits(double value, double factor, double offset) {
    return static_cast<double>(static_cast<long double>(value) * factor + offset);
}

double FromDisplayUnits(double value, double factor, double offset) {
    return static_cast<double>((static_cast<long double>(value) - offset) / factor);
}

const char* UnitsTypeName(TUnitsType type) {
    if (type < 0 || type >= kUnitsTypeCount) return "";
    return kTypes[type].name;
}

}  // namespace velmora
