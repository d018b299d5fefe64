// halvika-cli: the next moments of a group's alarms and date expressions, from the command line.
#include "CliCommands.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return halvika::CliCommands::run(args, std::cout, std::cerr);
}
