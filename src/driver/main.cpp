// Entry point of build/orvanthel: hands the command line and the console to the program.
#include <iostream>
#include <string>
#include <vector>

#include "driver/program_entry.hpp"

int main(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  return orv::RunProgram(arguments, std::cin, std::cout);
}
