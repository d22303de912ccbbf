// libFuzzer target: typed text and format strings from data.
#include <string>

#include "common/errors.h"
#include "psy/air_state.h"
#include "units/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    using namespace velmora;
    try { CleanNumberText(text); } catch (const VelmoraError&) {}
    try { ParsePair(text); } catch (const VelmoraError&) {}
    try { TextToFloat(text); } catch (const VelmoraError&) {}
    try {
        Format(text, {1.5, 2LL, std::string("x")});
        FormatValue(3.25, text, ft_AutoOverride, 5);
        NthField(2, ';', text);
    } catch (const VelmoraError&) {}
    try {
        TAirStateRec r;
        SetStateFromText(text, r, 101.325, 0.5);
    } catch (const VelmoraError&) {}
    return 0;
}
