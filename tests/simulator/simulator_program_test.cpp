// Every error that ends a simulation becomes its message and exit status in one place.
#include "simulator/simulator_program.hpp"

#include <gtest/gtest.h>

#include <exception>
#include <sstream>
#include <string>

#include "simulator/simulation_error.hpp"
#include "support/test_support.hpp"
#include "text/output_file_error.hpp"

namespace orv::sim {
namespace {

TEST(SimulatorProgram, EachErrorHasItsMessageAndExitStatus) {
  struct Case {
    std::exception_ptr error;
    std::string message;
    int status;
  };
  const Case cases[] = {
      {std::make_exception_ptr(SimulationOptionError("option --seed: bad")), "option --seed: bad", 2},
      {std::make_exception_ptr(NoPatternError("the strain leaves no cell")),
       "the strain leaves no cell; nothing written", 1},
      {std::make_exception_ptr(OutputFileError("out/x\x1b[2J.kqt")), "cannot write out/x?[2J.kqt", 1},
      {std::make_exception_ptr(std::bad_alloc()), "std::bad_alloc", 1},
  };
  for (const Case& c : cases) {
    std::ostringstream err;
    EXPECT_EQ(ReportSimulationFailure(c.error, err), c.status) << c.message;
    EXPECT_EQ(err.str(), "orvanthel-simulate: " + c.message + "\n");
  }
}

TEST(SimulatorProgram, AFileThatCannotBeWrittenEndsTheRunWithStatusOne) {
  const std::string dir = testing::MakeScratchDir("simulate-program");
  std::ostringstream out;
  std::ostringstream err;
  const int status = SimulatorProgram({"--output", dir + "/missing/x.kqt"}, out, err);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str().rfind("orvanthel-simulate: cannot write " + dir + "/missing/x.kqt", 0), 0u) << err.str();
  EXPECT_FALSE(testing::FileExists(dir + "/missing/x_truth.txt"));
}

TEST(SimulatorProgram, AnUnknownOptionIsAFaultOfTheCommandLineWithTheClosestName) {
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(SimulatorProgram({"--spurios", "0.1"}, out, err), 2);
  EXPECT_EQ(err.str(), "orvanthel-simulate: unknown option --spurios (see --help). Did you mean --spurious?\n");
  EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace orv::sim
