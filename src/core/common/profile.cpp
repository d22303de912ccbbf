#include "common/profile.h"

#include "units/number_text.h"

namespace velmora {

double ProfileReadFloat(const CSimpleIniA& ini, const char* section, const char* key, double def) {
    const char* v = ini.GetValue(section, key, nullptr);
    double d;
    if (v && TryTextToFloat(v, d)) return d;
    return def;
}

}  // namespace velmora
