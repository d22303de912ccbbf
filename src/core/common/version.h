#pragma once
// Product name and version, compiled in from the build.
#include <string>

namespace velmora {

constexpr const char* kProductName = "Velmora";
constexpr const char* kMakerName = "Aldermoor Software";
constexpr int kReportYear = 2026;

// "%d.%d.%d.%d" of the four-part version, e.g. 1.0.6.0.
std::string FileVersionText();
// The product name, a blank and the file version.
std::string CaptionText();

}  // namespace velmora
