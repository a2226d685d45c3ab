#include <iostream>
#include <string>
#include <vector>

#include "core/app/command_line.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return zam1::runCommandLine(arguments, std::cout, std::cerr);
}
