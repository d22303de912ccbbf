#include "common/version.h"

#include "units/number_text.h"

namespace velmora {

std::string FileVersionText() {
    return Format("%d.%d.%d.%d", {static_cast<long long>(VELMORA_VERSION_MAJOR), static_cast<long long>(VELMORA_VERSION_MINOR),
                                  static_cast<long long>(VELMORA_VERSION_PATCH), static_cast<long long>(VELMORA_VERSION_TWEAK)});
}

std::string CaptionText() { return std::string(kProductName) + " " + FileVersionText(); }

}  // namespace velmora
