// varnel-rom-tables: the item tables of an image as data, from the command line.

#include "cli/Program.h"

#include <iostream>

int main(int argc, char* argv[]) {
    return varnel::cli::runProgram(argc, argv, std::cout, std::cerr);
}
