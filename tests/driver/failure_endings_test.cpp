// Runs that cannot finish: failed writes leave the old files and claim nothing, hostile inputs end
// at once and in bounded memory, and a run that finds nothing says so.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <string>

#include "support/test_support.hpp"

namespace orv {
namespace {

const std::string kPause = " Press Enter to continue.\n";
const std::string kGolden = std::string(ORVANTHEL_SOURCE_DIR) + "/tests/golden/triclinic.kqt";

std::set<std::string> FolderEntries(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.insert(entry.path().filename().string());
  return names;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// A folder with the golden input (the log switched as asked) and older copies of every output file.
struct FolderWithOldOutputs {
  std::string dir = testing::MakeScratchDir("old-outputs");
  const std::set<std::string> outputs = {"triclinic_kqt.res", "triclinic_kqt.log", "LePage.inp"};

  explicit FolderWithOldOutputs(bool withLog) {
    std::string input = testing::ReadTextFile(kGolden);
    if (!withLog) input.replace(input.find("_CreateLogFile\n1\n"), 17, "_CreateLogFile\n0\n");
    testing::WriteTextFile(dir + "/triclinic.kqt", input);
    for (const std::string& name : outputs) testing::WriteTextFile(dir + "/" + name, "older " + name + "\n");
  }
  // Runs the program after a shell prefix such as "ulimit -f 8;", under a wrapper such as timeout,
  // with the progress line shown as on a terminal.
  testing::ProcessResult Run(const std::string& prefix = "", const std::string& wrapper = "") const {
    return testing::RunCommand("(" + prefix + " exec " + wrapper + " " + testing::ShellQuote(ORVANTHEL_EXE) +
                                   " --progress triclinic.kqt < /dev/null)",
                               dir);
  }
  bool Untouched(const std::string& name) const {
    return testing::ReadTextFile(dir + "/" + name) == "older " + name + "\n";
  }
  // Only the input and the output files: no temporary file is left.
  std::set<std::string> ExpectedEntries() const {
    std::set<std::string> names = outputs;
    names.insert("triclinic.kqt");
    return names;
  }
};

TEST(FailedWrites, TheOldFilesStayWholeAndNothingUnsavedIsAnnounced) {
  {
    // The results file outgrows a file-size limit while it is written.
    const FolderWithOldOutputs folder(false);
    const testing::ProcessResult run = folder.Run("ulimit -f 8;");
    EXPECT_EQ(run.exitStatus, 1) << run.output;
    EXPECT_TRUE(EndsWith(run.output, "\r Error: Cannot write triclinic_kqt.res.\n" + kPause)) << run.output;
    EXPECT_EQ(run.output.find("Results saved"), std::string::npos);
    for (const std::string& name : folder.outputs) EXPECT_TRUE(folder.Untouched(name)) << name;
    EXPECT_EQ(FolderEntries(folder.dir), folder.ExpectedEntries());
  }
  {
    // A folder stands where the results file goes: the open log is dropped, the old one stays.
    const FolderWithOldOutputs folder(true);
    std::filesystem::remove(folder.dir + "/triclinic_kqt.res");
    std::filesystem::create_directory(folder.dir + "/triclinic_kqt.res");
    const testing::ProcessResult run = folder.Run();
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_TRUE(EndsWith(run.output, "\r Error: Cannot write triclinic_kqt.res.\n" + kPause)) << run.output;
    EXPECT_EQ(run.output.find("Results saved"), std::string::npos);
    EXPECT_TRUE(folder.Untouched("triclinic_kqt.log"));
    EXPECT_TRUE(folder.Untouched("LePage.inp"));
    EXPECT_TRUE(std::filesystem::is_empty(folder.dir + "/triclinic_kqt.res"));
    EXPECT_EQ(FolderEntries(folder.dir), folder.ExpectedEntries());
  }
  {
    // The last file of the run fails: the results file is complete and announced, and the log,
    // which holds the whole search, is finished and saved before the run ends with the error.
    const FolderWithOldOutputs folder(true);
    std::filesystem::remove(folder.dir + "/LePage.inp");
    std::filesystem::create_directory(folder.dir + "/LePage.inp");
    const testing::ProcessResult run = folder.Run();
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.output.find("\r Results saved in file : triclinic_kqt.res\n The first solution :\n"),
              std::string::npos)
        << run.output;
    EXPECT_TRUE(EndsWith(run.output, "\n\n Error: Cannot write LePage.inp.\n" + kPause)) << run.output;
    const std::string results = testing::ReadTextFile(folder.dir + "/triclinic_kqt.res");
    EXPECT_NE(results.find(" Orvanthel (v. 1.0): Solutions for triclinic.kqt\n"), std::string::npos);
    const std::string golden = testing::ReadTextFile(std::string(ORVANTHEL_SOURCE_DIR) +
                                                     "/tests/golden/triclinic_kqt.res.expected");
    EXPECT_EQ(results.size(), golden.size());
    EXPECT_TRUE(EndsWith(results, golden.substr(golden.size() - 2000)));
    const std::string log = testing::ReadTextFile(folder.dir + "/triclinic_kqt.log");
    EXPECT_NE(log.find(" CPU time"), std::string::npos) << log.substr(log.size() - 300);
    EXPECT_EQ(FolderEntries(folder.dir), folder.ExpectedEntries());
  }
}

// A run stopped from outside (Ctrl-C) while its log is being written leaves the old files whole and
// no temporary file.
TEST(FailedWrites, AnInterruptedRunLeavesNoTrace) {
  const FolderWithOldOutputs folder(true);
  // A search of a few seconds, stopped (SIGTERM, as a batch system stops a job) as soon as its
  // progress line shows.
  testing::WriteTextFile(folder.dir + "/triclinic.kqt",
                         testing::ReadTextFile(std::string(ORVANTHEL_SOURCE_DIR) + "/examples/silicon.kqt") +
                             "_ExtentOfTheSearch\n3\n_MaxAllowedMillerIndex\n60\n_AngularDeviationCriterion\n3\n"
                             "_CreateLogFile\n1\n_SaveLePage\n3\n");
  const std::string console = testing::MakeScratchDir("interrupted") + "/console.txt";
  const testing::ProcessResult run = testing::RunCommand(
      testing::ShellQuote(ORVANTHEL_EXE) + " --progress triclinic.kqt < /dev/null > " + testing::ShellQuote(console) +
          " 2>&1 & pid=$!; for i in $(seq 1 4000); do grep -q Progress " + testing::ShellQuote(console) +
          " && break; sleep 0.005; done; kill -TERM $pid; wait $pid; echo \"status $?\"",
      folder.dir);
  EXPECT_EQ(run.output, "status 143\n") << "the search ended before the interruption";
  for (const std::string& name : folder.outputs) EXPECT_TRUE(folder.Untouched(name)) << name;
  EXPECT_EQ(FolderEntries(folder.dir), folder.ExpectedEntries());
}

// The log fails while the progress line is showing: the line is blanked before the message.
TEST(FailedWrites, TheProgressLineIsBlankedBeforeTheMessage) {
  const FolderWithOldOutputs folder(true);
  const testing::ProcessResult run = folder.Run("ulimit -f 16;");
  EXPECT_EQ(run.exitStatus, 1);
  const std::string ending = "\r" + std::string(61, ' ') + "\r Error: Cannot write triclinic_kqt.log.\n" + kPause;
  EXPECT_TRUE(EndsWith(run.output, ending)) << run.output;
  EXPECT_NE(run.output.find("\r Progress : "), std::string::npos);
  for (const std::string& name : folder.outputs) EXPECT_TRUE(folder.Untouched(name)) << name;
  EXPECT_EQ(FolderEntries(folder.dir), folder.ExpectedEntries());
}

TEST(BadInput, PipesAndDevicesAreRefusedAtOnce) {
  const std::string dir = testing::MakeScratchDir("devices");
  ASSERT_EQ(testing::RunCommand("mkfifo fifo.kqt && ln -s /dev/urandom noise.kqt && ln -s /dev/null null.kqt", dir)
                .exitStatus,
            0);
  for (const std::string name : {"fifo.kqt", "noise.kqt", "null.kqt"}) {
    const testing::ProcessResult run =
        testing::RunCommand("timeout 20 " + testing::ShellQuote(ORVANTHEL_EXE) + " " + name + " < /dev/null", dir);
    EXPECT_EQ(run.exitStatus, 1) << name;
    EXPECT_EQ(run.output, " Error: Cannot open " + name + ".\n" + kPause) << name;
  }
  // A link to a regular file is followed.
  testing::WriteTextFile(dir + "/real.kqt", testing::ReadTextFile(kGolden));
  ASSERT_EQ(testing::RunCommand("ln -s real.kqt linked.kqt", dir).exitStatus, 0);
  EXPECT_EQ(testing::RunOrvanthel({"linked.kqt"}, dir).exitStatus, 0);
}

struct MeasuredRun {
  int exitStatus = -1;
  long peakKilobytes = 0;
};

// Runs the program on one file in `dir` and measures the peak resident memory of that process alone.
MeasuredRun RunMeasured(const std::string& dir, const std::string& fileName) {
  const std::string exe = ORVANTHEL_EXE;
  const std::string output = dir + "/console.txt";
  const pid_t pid = fork();
  if (pid == 0) {
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || chdir(dir.c_str()) != 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(out, 2);
    execl(exe.c_str(), exe.c_str(), fileName.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  MeasuredRun run;
  int status = 0;
  struct rusage usage {};
  if (pid > 0 && wait4(pid, &status, 0, &usage) == pid) {
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.peakKilobytes = usage.ru_maxrss;
  }
  return run;
}

// 64 MB of blank lines inside and between the entries of a valid file: the file is read as a
// stream, so the run needs no more memory than for the file without them.
TEST(BadInput, AHugeBlankPaddedFileIsReadInBoundedMemory) {
  const std::string dir = testing::MakeScratchDir("padded");
  testing::WriteTextFile(dir + "/plain.kqt", testing::ReadTextFile(kGolden));
  std::string text = testing::ReadTextFile(kGolden);
  const std::string padding = std::string(15, ' ') + "\n";
  {
    std::ofstream out(dir + "/padded.kqt", std::ios::binary);
    const std::size_t rows = text.find("_Reflections\n") + 13;
    const std::size_t secondRow = text.find('\n', rows) + 1;
    out << text.substr(0, secondRow);
    for (int i = 0; i < 2'000'000; ++i) out << padding;  // between two entries of _Reflections
    out << text.substr(secondRow);
    for (int i = 0; i < 2'000'000; ++i) out << padding;  // before the end of the file
  }
  ASSERT_GE(std::filesystem::file_size(dir + "/padded.kqt"), 64'000'000u);
  const MeasuredRun plainRun = RunMeasured(dir, "plain.kqt");
  const MeasuredRun paddedRun = RunMeasured(dir, "padded.kqt");
  std::cout << "peak resident memory: plain file " << plainRun.peakKilobytes << " kB, with 64 MB of blank lines "
            << paddedRun.peakKilobytes << " kB\n";
  EXPECT_EQ(plainRun.exitStatus, 0);
  EXPECT_EQ(paddedRun.exitStatus, 0) << testing::ReadTextFile(dir + "/console.txt").substr(0, 400);
  EXPECT_LT(paddedRun.peakKilobytes, plainRun.peakKilobytes + 8 * 1024);
  const std::string padded = testing::ReadTextFile(dir + "/padded_kqt.res");
  const std::string plain = testing::ReadTextFile(dir + "/plain_kqt.res");
  const std::string solutions = "Solutions ordered by quality";
  EXPECT_EQ(padded.substr(padded.find(solutions)), plain.substr(plain.find(solutions)));
}

TEST(Runs, ARunThatFindsNothingSaysWhatToTry) {
  const std::string dir = testing::MakeScratchDir("nothing");
  // Twelve directions in general position, with a small index bound and a tight tolerance.
  testing::WriteTextFile(dir + "/none.kqt",
                         "_NumberOfReflections\n12\n_Reflections\n"
                         "-0.374298 0.919906 0.116836\n0.609113 -0.524339 0.595101\n0.061590 0.958208 0.279318\n"
                         "-0.755089 -0.471470 -0.455567\n0.367271 0.838573 -0.402352\n-0.129431 -0.839011 0.528510\n"
                         "0.753627 0.338049 -0.563696\n-0.266658 -0.294574 -0.917669\n0.939254 -0.335316 0.073168\n"
                         "-0.557773 0.471005 0.683388\n0.240451 0.111919 0.964186\n-0.879046 0.229834 -0.417605\n"
                         "_MaxAllowedMillerIndex\n4\n_AngularDeviationCriterion\n0.1\n");
  const testing::ProcessResult run = testing::RunOrvanthel({"none.kqt"}, dir);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_NE(run.output.find("\n Results saved in file : none_kqt.res\n"
                            " No solution was found; try more reflections, a higher _ExtentOfTheSearch or another "
                            "_AngularDeviationCriterion.\n Most likely to help: a larger _AngularDeviationCriterion, "
                            "e.g. 0.20; the spots hardly lie on zones (0 zones of 3 or more spots within 0.05 deg).\n"
                            " Note: the file gives no _VolumeOfPrimitiveCell"),
            std::string::npos)
      << run.output;
}

}  // namespace
}  // namespace orv
