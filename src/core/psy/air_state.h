#pragma once
// The program's own moist-air routines on top of the property library:
// building a state from "db/wb" text, validation, plausibility, guarded
// arithmetic, pair text and the given-pair selector of the air state tool.
#include <bitset>
#include <string>
#include <string_view>

#include "psy/psychro.h"

namespace velmora {

// Humidity ratio of saturated air from the program's five-row formula.
double SaturationHumidityRatio(double t, double P);

// Builds State from "db/wb" or "db" text at P; RH is used without a wet bulb.
// Throws ConversionError for text that is not a number.
void SetStateFromText(std::string_view text, TAirStateRec& state, double P, double RH);

// Empty when valid, else the first message that applies.
std::string Validate(const TAirStateRec& state);
bool IsPlausible(TAirStateRec state);

double Clamp(double lo, double x, double hi);
double SafeDivide(double n, double d, double limit);
constexpr double kSafeLimit = 1.7e308;

std::string FormatPair(std::string_view fmt, double a, double b);
std::string FormatDbWb(TAirStateRec state, std::string_view fmt);

// Generic selector of the two given properties that fix a state.
class TCombin {
public:
    virtual ~TCombin() = default;
    // Moves the letter of property Index to the front of Known and searches.
    virtual void Choose(unsigned char index);
    virtual bool IsValidPair() = 0;

    std::string Known;
    std::bitset<256> Pair;

protected:
    virtual char CodeOf(unsigned char index) const = 0;
    void Search();
};

class TAirCombin : public TCombin {
public:
    TAirCombin();
    bool IsValidPair() override;

    static constexpr const char* Codes = "ptbhwfdvsrcz";
    unsigned char Mode = 0;

protected:
    char CodeOf(unsigned char index) const override;
};

// Mode of an unordered pair of letters, or -1 when the pair is not usable.
int AirPairMode(char a, char b);

// Replaces State by AirState(State, Mode) and validates it. Throws CalcError
// "Invalid air state" when the library fails (State unchanged), or the
// validation message (the new State stays).
void SolveState(TAirStateRec& state, int mode);

}  // namespace velmora
