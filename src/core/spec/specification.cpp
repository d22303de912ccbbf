#include "spec/specification.h"

#include <cmath>

#include "common/errors.h"
#include "psy/air_state.h"
#include "refrig/refrig_lib.h"
#include "units/number_text.h"

namespace velmora {

double CheckedDivide(double n, double d, const char* message) {
    const double q = n / d;
    if (d == 0 || !std::isfinite(q)) throw CalcError(message);
    return q;
}

namespace {

TAirStateRec stateOf(double P, double x1, double x2, int mode) {
    TAirStateRec r;
    SetState(r, P, x1, x2, mode);
    return r;
}

}  // namespace

TAirStateRec TSpecification::StateDbHa(double db, double ha) const { return stateOf(BP, db, ha, 1); }

void TSpecification::CalcOnCoil() {
    const double f = FreshAir;
    const double ha = f * Ambient.ha + (1 - f) * SetPoint.ha;
    const double db = f * Ambient.db + (1 - f) * SetPoint.db;
    OnCoil = StateDbHa(db, ha);
}

void TSpecification::CalcOffCoil() {
    const double b = BF;
    const double db = ADP.db + b * (OnCoil.db - ADP.db);
    const double ha = ADP.ha + b * (OnCoil.ha - ADP.ha);
    OffCoil = StateDbHa(db, ha);
}

void TSpecification::CalcSetPoint() {
    const double f = FreshAir;
    const char* msg = "The set point cannot follow the on-coil state when all the air is fresh air...";
    const double ha = CheckedDivide(OnCoil.ha - f * Ambient.ha, 1 - f, msg);
    const double db = CheckedDivide(OnCoil.db - f * Ambient.db, 1 - f, msg);
    SetPoint = StateDbHa(db, ha);
}

void TSpecification::CalcCoilLine() {
    double bf = BF;
    const double t = ApparatusDewPoint(OnCoil, OffCoil, bf);
    const int32_t status = PsyStatus();
    if (status != psyOk) {
        throw CalcError(status == psyImpossible
                            ? "The off-coil air state lies above saturation: it has no apparatus dew point..."
                            : "The coil line from the on-coil through the off-coil state never reaches "
                              "saturation: there is no apparatus dew point...");
    }
    BF = bf;
    ADP = stateOf(BP, t, t, 0);
}

void TSpecification::CalcDuties() {
    Qs = ma * OnCoil.cp * (OnCoil.db - OffCoil.db);
    Qt = (OnCoil.ha - OffCoil.ha) * ma;
    SHR = SafeDivide(Qs, Qt, kSafeLimit);
    cpw = HeatCapacity(Twi);
    mw = SafeDivide(Qt, (Two - Twi) * cpw, kSafeLimit);
}

void TSpecification::CalcMassFlow() {
    ma = Qai * OnCoil.ro;
    Qao = CheckedDivide(ma, OffCoil.ro, "The off-coil air has no density: the off-coil airflow cannot be computed...");
}

void TSpecification::Calculate() {
    CalcOnCoil();
    CalcOffCoil();
    CalcMassFlow();
    CalcDuties();
    AirflowHeld = true;
}

void TSpecification::NewSpecification(TRefrigLib& lib) {
    SiteAltitude = 0;
    BP = AtmPressure(0);
    Ambient = stateOf(BP, 32, 21, 0);
    SetPoint = stateOf(BP, 22.5, 0.5, 3);
    Qai = 10.0;
    ADP = stateOf(BP, 9, 9, 0);
    BF = 0.15;
    FreshAir = 0.12;
    Twi = 6.0;
    Two = 12.0;
    Refrigerant = "R22";
    lib.Select("R22");
    Suction = 6;
    SuctionPressure = lib.SatPressure(6) * 0.001;
    Calculate();
}

void TSpecification::ChangePressure(double P) {
    BP = P;
    SiteAltitude = Altitude(P);
    Ambient = stateOf(P, Ambient.db, Ambient.wb, 0);
    SetPoint = stateOf(P, SetPoint.db, SetPoint.wb, 0);
    ADP = stateOf(P, ADP.db, ADP.db, 0);
    CalcOnCoil();
    CalcOffCoil();
    CalcMassFlow();
    CalcDuties();
}

void RestoreRemembered(TSpecification& spec, const RememberedSpec& v) {
    TSpecification s = spec;
    s.BP = v.BP;
    s.SiteAltitude = Altitude(s.BP);
    SetStateFromText(v.Ambient, s.Ambient, s.BP, 0.5);
    SetStateFromText(v.SetPoint, s.SetPoint, s.BP, 0.5);
    s.Qai = v.Qai;
    s.FreshAir = v.FreshAir;
    s.ADP = stateOf(s.BP, v.adp, v.adp, 0);
    s.BF = v.bf;
    SetStateFromText(v.OnCoil, s.OnCoil, s.BP, 0.5);
    SetStateFromText(v.OffCoil, s.OffCoil, s.BP, 0.5);
    s.Qt = v.Qt;
    s.Twi = v.twi;
    s.Two = v.two;
    if (s.Two == s.Twi) s.Two = s.Twi + 6;
    s.mw = v.mw;
    s.CalcSetPoint();
    s.Calculate();
    spec = s;
}

RememberedSpec Remember(const TSpecification& s) {
    RememberedSpec v;
    v.BP = s.BP;
    v.Ambient = FormatDbWb(s.Ambient, "%0.3f");
    v.SetPoint = FormatDbWb(s.SetPoint, "%0.3f");
    v.Qai = s.Qai;
    v.FreshAir = s.FreshAir;
    v.adp = s.ADP.db;
    v.bf = s.BF;
    v.OnCoil = FormatDbWb(s.OnCoil, "%0.3f");
    v.OffCoil = FormatDbWb(s.OffCoil, "%0.3f");
    v.Qt = s.Qt;
    v.twi = s.Twi;
    v.two = s.Two;
    v.mw = s.mw;
    return v;
}

}  // namespace velmora
