// Entry point of build/orvanthel-import: a peak list in, an input file for orvanthel out.
#include <iostream>
#include <string>
#include <vector>

#include "import/import_program.hpp"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return orv::imp::ImportProgram(arguments, std::cout, std::cerr);
}
