#pragma once
// velmora-cli: the core from the command line.
#include <iosfwd>
#include <string>
#include <vector>

namespace velmora::cli {

// Runs one command; args excludes the program name. Returns the exit status.
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

int RunPsy(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);
int RunSpecCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

// Thrown for bad arguments: the message goes to standard error, exit status 2.
struct UsageError {
    std::string message;
};

std::string HelpText();

}  // namespace velmora::cli
