// Entry point of build/orvanthel-simulate: options in, a simulated input file and its truth out.
#include <iostream>
#include <string>
#include <vector>

#include "simulator/simulator_program.hpp"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return orv::sim::SimulatorProgram(arguments, std::cout, std::cerr);
}
