// Entry point of build/orvanthel: hands the command line and the console to the program.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "driver/program_entry.hpp"

int main(int argc, char** argv) {
  // Past a file-size limit a write then fails with an error, which ends the run with its message and
  // the old output files intact, instead of the signal killing the process.
  std::signal(SIGXFSZ, SIG_IGN);
  try {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    return orv::RunProgram(arguments, std::cin, std::cout);
  } catch (...) {
    // RunProgram ends every failure itself; this keeps even an unforeseen one from aborting.
    std::cout << " Error: The run ended on an unexpected failure." << std::endl;
    return 1;
  }
}
