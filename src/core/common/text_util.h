#pragma once
// Small text helpers shared by the core.
#include <string>
#include <string_view>

namespace velmora {

bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool LessIgnoreCase(std::string_view a, std::string_view b);
std::string Trim(std::string_view s);

}  // namespace velmora
