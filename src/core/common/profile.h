#pragma once
// Reading profile (INI) files with the profile reader's conventions.
#include <SimpleIni.h>

namespace velmora {

// The float conversion of a profile reader: a missing, empty or non-numeric
// value gives the default.
double ProfileReadFloat(const CSimpleIniA& ini, const char* section, const char* key, double def);

}  // namespace velmora
