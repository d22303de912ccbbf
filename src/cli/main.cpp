#include <iostream>

#include "cli.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return velmora::cli::RunCli(args, std::cin, std::cout, std::cerr);
}
