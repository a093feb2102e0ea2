// Every error that ends an import becomes its message and exit status in one place.
#include "import/import_program.hpp"

#include <gtest/gtest.h>

#include <exception>
#include <fstream>
#include <sstream>
#include <string>

#include "import/import_error.hpp"
#include "import/peak_list.hpp"
#include "support/test_support.hpp"
#include "text/output_file_error.hpp"

namespace orv::imp {
namespace {

TEST(ImportFailure, EachErrorHasItsMessageAndExitStatusOne) {
  struct Case {
    std::exception_ptr error;
    std::string message;
  };
  const Case cases[] = {
      {std::make_exception_ptr(ImportError("option --top expects an integer")), "option --top expects an integer"},
      {std::make_exception_ptr(PeakListError(3, "the q vector is zero")), "line 3: the q vector is zero"},
      {std::make_exception_ptr(OutputFileError("a\x07.kqt")), "cannot write a?.kqt"},
      {std::make_exception_ptr(std::bad_alloc()), "std::bad_alloc"},
  };
  for (const Case& c : cases) {
    std::ostringstream err;
    EXPECT_EQ(ReportImportFailure(c.error, err), 1) << c.message;
    EXPECT_EQ(err.str(), "orvanthel-import: " + c.message + "\n");
  }
}

TEST(ImportFailure, AFaultWritesNothingAndAnInputFileThatCannotBeWrittenIsNamed) {
  const std::string dir = testing::MakeScratchDir("import-program");
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(ImportProgram({dir + "/absent.txt"}, out, err), 1);
  EXPECT_EQ(err.str(), "orvanthel-import: cannot open " + dir + "/absent.txt\n");
  {
    std::ofstream list(dir + "/list.txt");
    list << "10 0\n20 5\n30 10\n40 15\n";
  }
  std::ostringstream out2;
  std::ostringstream err2;
  EXPECT_EQ(ImportProgram({dir + "/list.txt", "--output", dir + "/missing/list.kqt"}, out2, err2), 1);
  EXPECT_EQ(err2.str(), "orvanthel-import: cannot write " + dir + "/missing/list.kqt\n");
  EXPECT_EQ(out.str() + out2.str(), "");
}

TEST(ImportFailure, AnUnknownOptionIsNamedWithTheClosestKnownOne) {
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(ImportProgram({"list.txt", "--tolerence", "2"}, out, err), 1);
  EXPECT_EQ(err.str(), "orvanthel-import: unknown option --tolerence (see --help). Did you mean --tolerance?\n");
}

}  // namespace
}  // namespace orv::imp
