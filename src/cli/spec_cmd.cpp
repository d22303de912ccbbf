#include "cli.h"

namespace velmora::cli {

int RunSpecCommand(const std::vector<std::string>& args, std::istream&, std::ostream&, std::ostream&) {
    throw UsageError{"'" + args[0] + "' is not available yet"};
}

}  // namespace velmora::cli
