#include "spec/spec_edits.h"

#include <cmath>

#include "common/errors.h"
#include "common/text_util.h"
#include "psy/air_state.h"
#include "units/number_text.h"

namespace velmora {
namespace {

const char* const kKeys[kSpecFieldCount] = {"Barometer", "Ambient", "SetPoint", "AirFlow", "FreshAir", "ADP",
                                            "BF", "OnCoil", "OffCoil", "TotalDuty", "WaterIn"};

// A typed state is not valid when it is implausible or when the library
// could not build it (a wet bulb above the boiling point at the site, say).
bool validState(const TAirStateRec& st) { return IsPlausible(st) && PsyStatus() == psyOk; }

// A new input upstream of the mixing: mix, cool and take the duties again.
void mixAndCool(TSpecification& s) {
    s.CalcOnCoil();
    s.CalcOffCoil();
    s.CalcDuties();
}

template <class F>
EditOutcome onCopy(TSpecification& spec, F&& change) {
    TSpecification s = spec;
    EditOutcome out = change(s);
    spec = s;
    return out;
}

void requireFinite(double v, const char* what) {
    if (!std::isfinite(v)) throw CalcError(std::string(what) + " is not a number...");
}

}  // namespace

const char* SpecFieldKey(SpecField f) { return kKeys[static_cast<int>(f)]; }

std::optional<SpecField> SpecFieldFromKey(std::string_view key) {
    for (int i = 0; i < kSpecFieldCount; ++i)
        if (EqualsIgnoreCase(key, kKeys[i])) return static_cast<SpecField>(i);
    return std::nullopt;
}

bool IsAirStateField(SpecField f) {
    return f == SpecField::Ambient || f == SpecField::SetPoint || f == SpecField::OnCoil || f == SpecField::OffCoil;
}

EditOutcome EditBarometer(TSpecification& spec, double P) {
    if (!(P >= 60 && P <= 130)) throw CalcError("The barometric pressure must lie between 60 and 130 kPa...");
    return onCopy(spec, [&](TSpecification& s) {
        s.ChangePressure(P);
        return EditOutcome{};
    });
}

namespace {
// A new outdoor or room state from typed text: checked, then mixed and cooled.
EditOutcome editMixInput(TSpecification& spec, TAirStateRec TSpecification::*field, std::string_view text, double rh,
                         const char* invalid) {
    return onCopy(spec, [&](TSpecification& s) {
        EditOutcome out;
        SetStateFromText(text, s.*field, s.BP, rh);
        if (!validState(s.*field)) out.message = invalid;
        mixAndCool(s);
        return out;
    });
}
}  // namespace

EditOutcome EditAmbient(TSpecification& spec, std::string_view text) {
    return editMixInput(spec, &TSpecification::Ambient, text, 0.4, "The ambient air state is not valid...");
}

EditOutcome EditSetPoint(TSpecification& spec, std::string_view text) {
    return editMixInput(spec, &TSpecification::SetPoint, text, 0.5, "The setpoint is not valid...");
}

EditOutcome EditAirFlow(TSpecification& spec, double Qai) {
    requireFinite(Qai, "The airflow");
    return onCopy(spec, [&](TSpecification& s) {
        s.AirflowHeld = true;
        s.Qai = Qai;
        s.CalcMassFlow();
        s.CalcDuties();
        return EditOutcome{};
    });
}

EditOutcome EditFreshAir(TSpecification& spec, double fraction) {
    requireFinite(fraction, "The fresh-air fraction");
    return onCopy(spec, [&](TSpecification& s) {
        s.FreshAir = fraction;
        mixAndCool(s);
        return EditOutcome{};
    });
}

EditOutcome EditADP(TSpecification& spec, double t) {
    requireFinite(t, "The apparatus dew point");
    return onCopy(spec, [&](TSpecification& s) {
        SetState(s.ADP, s.BP, t, t, 0);
        mixAndCool(s);
        return EditOutcome{};
    });
}

EditOutcome EditBF(TSpecification& spec, double bf) {
    requireFinite(bf, "The bypass factor");
    return onCopy(spec, [&](TSpecification& s) {
        s.BF = bf;
        s.CalcOffCoil();
        s.CalcDuties();
        return EditOutcome{};
    });
}

EditOutcome EditOnCoil(TSpecification& spec, std::string_view text) {
    return onCopy(spec, [&](TSpecification& s) {
        SetStateFromText(text, s.OnCoil, s.BP, 0.5);
        s.CalcSetPoint();
        s.CalcOffCoil();
        s.CalcDuties();
        return EditOutcome{};
    });
}

void ApplyFrostRule(TSpecification& s) {
    if (s.OffCoil.td < 0) SetState(s.OffCoil, s.BP, 0.99, 0.0, 28);
}

EditOutcome EditOffCoil(TSpecification& spec, std::string_view text) {
    return onCopy(spec, [&](TSpecification& s) {
        EditOutcome out;
        s.AirflowHeld = false;
        SetStateFromText(text, s.OffCoil, s.BP, 0.9);
        if (!validState(s.OffCoil)) out.message = "The off-coil air state is not valid...";
        ApplyFrostRule(s);
        s.CalcCoilLine();
        s.CalcDuties();
        return out;
    });
}

EditOutcome EditTotalDuty(TSpecification& spec, double Qt) {
    requireFinite(Qt, "The total duty");
    return onCopy(spec, [&](TSpecification& s) {
        s.Qt = Qt;
        if (s.AirflowHeld) {
            s.Qs = s.Qt * s.SHR;
            const double dt = CheckedDivide(s.Qs, s.ma * s.OnCoil.cp,
                                            "The air mass flow is zero: the off-coil state cannot follow the duty...");
            const double dh = CheckedDivide(s.Qt, s.ma, "The air mass flow is zero: the off-coil state cannot follow the duty...");
            SetState(s.OffCoil, s.BP, s.OnCoil.db - dt, s.OnCoil.ha - dh, 1);
            s.CalcCoilLine();
        } else {
            s.ma = CheckedDivide(s.Qt, s.OnCoil.ha - s.OffCoil.ha,
                                 "The on-coil and off-coil states have the same enthalpy: the airflow cannot follow the duty...");
            s.Qai = CheckedDivide(s.ma, s.OnCoil.ro, "The on-coil air has no density...");
            s.Qao = CheckedDivide(s.ma, s.OffCoil.ro, "The off-coil air has no density...");
            s.Qs = s.ma * s.OnCoil.cp * (s.OnCoil.db - s.OffCoil.db);
            s.SHR = SafeDivide(s.Qs, s.Qt, kSafeLimit);
        }
        s.mw = CheckedDivide(CheckedDivide(s.Qt, s.cpw, "The water has no heat capacity..."), s.Two - s.Twi,
                             "The water inlet and outlet temperatures are equal: the water flow cannot be computed...");
        return EditOutcome{};
    });
}

EditOutcome EditWaterIn(TSpecification& spec, double Twi) {
    requireFinite(Twi, "The coolant temperature");
    return onCopy(spec, [&](TSpecification& s) {
        s.Twi = Twi;
        s.cpw = HeatCapacity(s.Twi);
        s.Two = s.Twi + CheckedDivide(s.Qt, s.mw * s.cpw, "The water flow is zero: the outlet temperature cannot be computed...");
        return EditOutcome{};
    });
}

EditOutcome ApplyFieldEdit(TSpecification& spec, SpecField field, std::string_view text) {
    if (IsAirStateField(field)) {
        switch (field) {
        case SpecField::Ambient: return EditAmbient(spec, text);
        case SpecField::SetPoint: return EditSetPoint(spec, text);
        case SpecField::OnCoil: return EditOnCoil(spec, text);
        default: return EditOffCoil(spec, text);
        }
    }
    const double v = TextToFloat(text);
    switch (field) {
    case SpecField::Barometer: return EditBarometer(spec, v);
    case SpecField::AirFlow: return EditAirFlow(spec, v);
    case SpecField::FreshAir: return EditFreshAir(spec, v);
    case SpecField::ADP: return EditADP(spec, v);
    case SpecField::BF: return EditBF(spec, v);
    case SpecField::TotalDuty: return EditTotalDuty(spec, v);
    default: return EditWaterIn(spec, v);
    }
}

TAirStateRec ChartState(double P, double db, double W) {
    TAirStateRec r;
    SetState(r, P, db, W, 2);
    if (r.wb > db) SetState(r, P, db, db, 0);
    return r;
}

bool DragPoint(TSpecification& spec, std::string_view label, double db, double W) {
    if (!std::isfinite(db) || !std::isfinite(W)) return false;
    const double wb = WetBulb(spec.BP, db, W, 2);
    if (!std::isfinite(wb)) return false;
    if (!(db >= 0 && db <= 50 && W >= 0.0001 && W <= 100)) return false;
    if (label == "adp" && db > 35) return false;
    TSpecification s = spec;
    auto state = [&](double t, double w) { return ChartState(s.BP, t, w); };
    // Fraction of the way from a to b, along the dry bulb when that difference
    // dominates (dry bulb in K against three times the moisture in g/kg).
    auto fraction = [&](const TAirStateRec& a, const TAirStateRec& b) {
        const char* msg = "The two ends of the line are the same point: it cannot be dragged along...";
        if (std::fabs(b.db - a.db) > 3000 * std::fabs(b.wa - a.wa)) return CheckedDivide(db - a.db, b.db - a.db, msg);
        return CheckedDivide(W - a.wa, b.wa - a.wa, msg);
    };
    if (label == "OA" || label == "SP") {
        (label == "OA" ? s.Ambient : s.SetPoint) = state(db, W);
        mixAndCool(s);
    } else if (label == "ai") {
        s.FreshAir = Clamp(0, fraction(s.SetPoint, s.Ambient), 1);
        s.OnCoil = state(s.SetPoint.db + s.FreshAir * (s.Ambient.db - s.SetPoint.db),
                         s.SetPoint.wa + s.FreshAir * (s.Ambient.wa - s.SetPoint.wa));
        s.CalcOffCoil();
        s.CalcDuties();
    } else if (label == "ao") {
        s.BF = Clamp(0, fraction(s.ADP, s.OnCoil), 1);
        s.OffCoil = state(s.ADP.db + s.BF * (s.OnCoil.db - s.ADP.db), s.ADP.wa + s.BF * (s.OnCoil.wa - s.ADP.wa));
        s.CalcDuties();
    } else if (label == "adp") {
        SetState(s.ADP, s.BP, wb, wb, 0);
        s.CalcOffCoil();
        s.CalcDuties();
    } else {
        return false;
    }
    spec = s;
    return true;
}

}  // namespace velmora
