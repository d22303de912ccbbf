#pragma once
// The coil specification: site pressure, four moist-air states, the coil's
// apparatus dew point and bypass factor, airflow, duties and coolant, with the
// operations that derive the dependent values. A plain value type: copies are
// cheap, which is what makes every edit all-or-nothing and undo exact.
#include <cstdint>
#include <string>

#include "psy/psychro.h"

namespace velmora {

class TRefrigLib;

enum TCoolant : uint8_t { coolChilledWater = 0, coolDirectExpansion = 1 };

struct TSpecification {
    bool AirflowHeld = true;
    double BP = 101.325;        // kPa
    double SiteAltitude = 0;    // m
    TAirStateRec Ambient{};     // "OA"
    TAirStateRec SetPoint{};    // "SP"
    TAirStateRec OnCoil{};      // "ai"
    TAirStateRec OffCoil{};     // "ao"
    TAirStateRec ADP{};         // "adp", saturated; its db is the apparatus dew point
    double BF = 0.15;           // bypass factor
    double FreshAir = 0.12;     // fraction
    double ma = 0;              // kg/s
    double Qai = 10.0;          // m³/s
    double Qao = 0;             // m³/s
    double Qs = 0;              // kW
    double Qt = 0;              // kW
    double SHR = 0;
    uint8_t Coolant = coolChilledWater;
    double Twi = 6.0;           // °C: chilled-water inlet, or suction temperature
    double Two = 12.0;          // °C
    double mw = 0;              // kg/s
    double cpw = 0;             // kJ/(kg·K)
    std::string Refrigerant = "R22";
    double Suction = 6.0;        // °C
    double SuctionPressure = 0;  // kPa

    void CalcOnCoil();
    void CalcOffCoil();
    void CalcSetPoint();
    void CalcCoilLine();
    void CalcDuties();
    // ma from the on-coil airflow and density, Qao from ma and the off-coil density.
    void CalcMassFlow();
    void Calculate();
    void NewSpecification(TRefrigLib& lib);
    void ChangePressure(double P);

    // The air state at dry bulb and enthalpy at the site pressure.
    TAirStateRec StateDbHa(double db, double ha) const;
};

// A plain division that must not produce inf or NaN: throws CalcError with
// the message when the divisor is zero or the quotient is not finite.
double CheckedDivide(double n, double d, const char* message);

// The specification values the window remembers between runs, as stored.
struct RememberedSpec {
    double BP = 101.325;
    std::string Ambient = "30.0/20.0";
    std::string SetPoint = "22.5/15.8";
    double Qai = 10.0;
    double FreshAir = 0.12;
    double adp = 9.0;
    double bf = 0.15;
    std::string OnCoil = "25.0/17.0";
    std::string OffCoil = "13.0/12.0";
    double Qt = 20.0;
    double twi = 6.0;
    double two = 12.0;
    double mw = 1.0;
};

// Overlays remembered values on spec (after NewSpecification), then
// CalcSetPoint and Calculate. All-or-nothing: a value that does not convert
// throws and leaves spec as it was.
void RestoreRemembered(TSpecification& spec, const RememberedSpec& values);
RememberedSpec Remember(const TSpecification& spec);

}  // namespace velmora
