#pragma once
// Which value wins when the user changes one: one operation per field of the
// main window, as its exit handler calls it. Each is all-or-nothing: it works
// on a copy and assigns only on success; a failure throws and leaves the
// specification as it was. The result carries the plausibility message the
// window shows (empty when there is none).
#include <optional>
#include <string>
#include <string_view>

#include "spec/specification.h"

namespace velmora {

enum class SpecField { Barometer, Ambient, SetPoint, AirFlow, FreshAir, ADP, BF, OnCoil, OffCoil, TotalDuty, WaterIn };
constexpr int kSpecFieldCount = 11;

// The field's settings key ("Barometer", "Ambient", ... "WaterIn").
const char* SpecFieldKey(SpecField f);
std::optional<SpecField> SpecFieldFromKey(std::string_view key);
bool IsAirStateField(SpecField f);

struct EditOutcome {
    std::string message;
};

EditOutcome EditBarometer(TSpecification& spec, double P);
EditOutcome EditAmbient(TSpecification& spec, std::string_view text);
EditOutcome EditSetPoint(TSpecification& spec, std::string_view text);
EditOutcome EditAirFlow(TSpecification& spec, double Qai);
EditOutcome EditFreshAir(TSpecification& spec, double fraction);
EditOutcome EditADP(TSpecification& spec, double t);
EditOutcome EditBF(TSpecification& spec, double bf);
EditOutcome EditOnCoil(TSpecification& spec, std::string_view text);
EditOutcome EditOffCoil(TSpecification& spec, std::string_view text);
EditOutcome EditTotalDuty(TSpecification& spec, double Qt);
EditOutcome EditWaterIn(TSpecification& spec, double Twi);

// The field's edit from text as typed (numbers in reference units); number
// text that does not convert throws ConversionError.
EditOutcome ApplyFieldEdit(TSpecification& spec, SpecField field, std::string_view text);

// The off-coil state of a new off-coil entry: a dew point below 0 °C becomes
// the state of 99 % relative humidity at a dew point of 0 °C.
void ApplyFrostRule(TSpecification& spec);

// Dragging a labelled chart point ("OA", "SP", "ai", "ao", "adp") to dry bulb
// db and humidity ratio W (kg/kg). Returns false when the position lies
// outside the drag limits or the move is ignored; the specification is then
// unchanged. A division failure throws CalcError and changes nothing.
bool DragPoint(TSpecification& spec, std::string_view label, double db, double W);

// The state at a chart position: dry bulb and humidity ratio, or the
// saturated state at db when the position lies above saturation.
TAirStateRec ChartState(double P, double db, double W);

}  // namespace velmora
