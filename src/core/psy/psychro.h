#pragma once
// Moist-air property library: the eight calls every part of Velmora uses to
// build and complete air states. Pressures in kPa, temperatures in °C.
#include <cstddef>
#include <cstdint>

namespace velmora {

// One moist-air state. Also the whole content of a moist air state file
// (15 little-endian doubles), so the layout is fixed.
struct TAirStateRec {
    double pa = 0;  // barometric pressure, kPa
    double db = 0;  // dry bulb, °C
    double wb = 0;  // wet bulb (ice bulb below 0 °C), °C
    double ha = 0;  // enthalpy per kg dry air, kJ/kg (0 at 0 °C dry air and 0 °C liquid water)
    double wa = 0;  // humidity ratio, kg water per kg dry air
    double rh = 0;  // relative humidity, fraction (over ice below 0 °C)
    double td = 0;  // dew point (frost point below 0 °C), °C
    double pv = 0;  // partial pressure of the water vapour, kPa
    double ps = 0;  // saturation partial pressure at the dry bulb, kPa
    double ro = 0;  // density of the moist air, kg per m³ of moist air
    double cp = 0;  // specific heat of the moist air, kJ/(kg·K) per kg of moist air
    double va = 0;  // volume per kg dry air, m³/kg
    double xw = 0;  // mole fraction of water vapour
    double fe = 0;  // enhancement factor at the dry bulb
    double zm = 0;  // compressibility factor of the mixture
};
static_assert(sizeof(TAirStateRec) == 120, "TAirStateRec is a 120-byte file record");
static_assert(offsetof(TAirStateRec, pa) == 0 && offsetof(TAirStateRec, db) == 8 &&
                  offsetof(TAirStateRec, wb) == 16 && offsetof(TAirStateRec, ha) == 24 &&
                  offsetof(TAirStateRec, wa) == 32 && offsetof(TAirStateRec, rh) == 40 &&
                  offsetof(TAirStateRec, td) == 48 && offsetof(TAirStateRec, pv) == 56 &&
                  offsetof(TAirStateRec, ps) == 64 && offsetof(TAirStateRec, ro) == 72 &&
                  offsetof(TAirStateRec, cp) == 80,
              "TAirStateRec field order is part of the file format");

// Status of the last call (0 = success).
enum PsyStatusCode : int32_t {
    psyOk = 0,
    psyBadInput = 1,           // an argument is not a finite number
    psyPressureRange = 2,      // pressure outside 60..130 kPa
    psyTemperatureRange = 3,   // dry bulb outside -60..150 °C
    psyImpossible = 4,         // the pair describes no real state (rh > 1, W < 0, wb > db, ...)
    psyNoConvergence = 5,      // an iteration did not converge
    psyBadMode = 6,            // not one of the 26 mode codes
    psyNoSaturation = 7,       // the coil line never reaches saturation
};

// Fills the whole record at pressure P from the pair that `mode` names.
void SetState(TAirStateRec& rec, double P, double x1, double x2, int mode);
// Completes the state whose pa and two properties named by mode stand in `in`.
void AirState(TAirStateRec& out, const TAirStateRec& in, int mode);
// Wet bulb at P and dry bulb db; mode 2: x is the humidity ratio, mode 3: x is rh.
double WetBulb(double P, double db, double x, int mode);
// Specific heat of liquid water, kJ/(kg·K).
double HeatCapacity(double t);
// Altitude (m) of a standard-atmosphere pressure (kPa) and its inverse.
double Altitude(double P);
double AtmPressure(double z);
// Apparatus dew point of the coil line from `on` through `off`; bf receives the
// bypass factor so that off = adp + bf * (on - adp) in dry bulb and enthalpy.
double ApparatusDewPoint(TAirStateRec on, TAirStateRec off, double& bf);
// Status of the last call of this library on this thread.
int32_t PsyStatus();
// Text for a status code, for messages and the command line.
const char* PsyStatusText(int32_t status);

// True for the 26 mode codes the library accepts.
bool IsValidPsyMode(int mode);

// Lower-level functions of the model, shared by the program's own routines and
// tests. Saturation partial pressure of water vapour in moist air (enhancement
// factor included) at t and P, kPa; over ice below 0.01 °C.
double SaturationPressure(double t, double P);
// Saturation pressure of pure water (over ice below 0.01 °C), kPa.
double PureSaturationPressure(double t);
// Boiling point at P: the temperature whose saturation pressure equals P.
double BoilingPoint(double P);

}  // namespace velmora
