// Batches of patterns through the real executable: failures among good patterns, resumption after an
// interruption, shards merged into the summary of the whole list; and the summary and list pieces.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <thread>
#include <sstream>
#include <string>
#include <vector>

#include "driver/batch_list.hpp"
#include "driver/batch_summary.hpp"
#include "driver/program_entry.hpp"
#include "simulator/pattern_files.hpp"
#include "simulator/simulation_run.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

namespace fs = std::filesystem;

// Simulated monoclinic patterns of 40 spots, one orientation per seed.
void WritePatterns(const std::string& folder, int count, int searchType = 0) {
  fs::create_directories(folder);
  for (int seed = 1; seed <= count; ++seed) {
    sim::SimulationOptions options;
    options.cell = {5.01, 5.85, 10.35, 90.0, 92.4, 90.0};
    options.seed = static_cast<std::uint64_t>(seed);
    options.flaws.noiseSigmaDegrees = 0.01;
    options.flaws.spotsKept = 40;
    options.keywords.ExtentOfTheSearch = searchType;
    sim::SimulatedPattern pattern;
    std::string message;
    ASSERT_TRUE(sim::SimulatePattern(options, pattern, message)) << message;
    sim::WritePatternFile(folder + "/p" + std::to_string(seed) + ".kqt", options, pattern);
  }
}

SummaryRow RowOf(const std::string& line) {
  const auto row = ParseRow(line);
  EXPECT_TRUE(row) << line;
  return row.value_or(SummaryRow{});
}

testing::ProcessResult Batch(const std::string& dir, const std::vector<std::string>& arguments,
                             const std::string& environment = "") {
  std::string command = environment + " " + testing::ShellQuote(ORVANTHEL_EXE);
  for (const std::string& argument : arguments) command += " " + testing::ShellQuote(argument);
  return testing::RunCommand(command, dir);
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(Batch, FailuresAmongGoodPatternsAreRecordedAndTheRestRun) {
  const std::string dir = testing::MakeScratchDir("batch-bad");
  WritePatterns(dir + "/pats", 3);
  testing::WriteTextFile(dir + "/pats/bad.kqt", "_NumberOfReflections\n3\n");
  fs::copy_file(dir + "/pats/p3.kqt", dir + "/pats/locked.kqt");
  fs::create_directory(dir + "/pats/locked_kqt.res");  // the results file cannot be written
  testing::WriteTextFile(dir + "/list.txt",
                         "# patterns\npats/p1.kqt\npats/bad.kqt\n\npats/absent.kqt\n  pats/locked.kqt \npats/p2.kqt\n"
                         "./pats/p1.kqt\npats/p3.kqt\n");

  const testing::ProcessResult result = Batch(dir, {"--batch", "list.txt", "--workers", "2"});
  EXPECT_EQ(result.exitStatus, 1) << result.output;
  EXPECT_TRUE(Contains(result.output, " Listed before, run once: ./pats/p1.kqt")) << result.output;
  EXPECT_TRUE(Contains(result.output, " Failed : pats/bad.kqt : Error: The number of reflections is smaller than "
                                      "the limit of 4. line 1 (_NumberOfReflections): the value is outside"))
      << result.output;
  EXPECT_TRUE(Contains(result.output, " Batch : 6 of 6 done, 3 failed")) << result.output;

  const std::vector<std::string> lines = testing::SplitLines(testing::ReadTextFile(dir + "/batch_summary.csv"));
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], SummaryHeader());
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"pats/p1.kqt", "indexed"},     {"pats/bad.kqt", "failed"}, {"pats/absent.kqt", "failed"},
      {"pats/locked.kqt", "failed"}, {"pats/p2.kqt", "indexed"}, {"pats/p3.kqt", "indexed"}};
  for (std::size_t k = 0; k < expected.size(); ++k) {
    const SummaryRow row = RowOf(lines[k + 1]);
    EXPECT_EQ(row.file, expected[k].first);
    EXPECT_EQ(row.status, expected[k].second) << lines[k + 1];
  }
  EXPECT_EQ(RowOf(lines[3]).message, "Error: Cannot open pats/absent.kqt.");
  EXPECT_EQ(RowOf(lines[4]).message, "Cannot write pats/locked_kqt.res.");
  // An indexed row: solution 1's cell, its counts of the 40 spots, as the results file has them.
  const SummaryRow p1 = RowOf(lines[1]);
  EXPECT_EQ(p1.fields[16], "40");
  EXPECT_EQ(p1.fields[14], "40");
  EXPECT_NEAR(std::stod(p1.fields[6]), 303.08, 0.01);
  // The lattice: monoclinic P, the conventional cell near the simulated one.
  EXPECT_EQ(p1.fields[7], "mP");
  EXPECT_NEAR(std::stod(p1.fields[9]), 5.85, 0.03);
  EXPECT_TRUE(Contains(testing::ReadTextFile(dir + "/pats/p1_kqt.res"), " Volume of the cell  :      303.08"));
  // Each pattern's console as a single run shows it, errors included.
  EXPECT_TRUE(Contains(testing::ReadTextFile(dir + "/pats/p2_kqt.console"), " CPU time    :"));
  EXPECT_TRUE(Contains(testing::ReadTextFile(dir + "/pats/bad_kqt.console"), " Error: The number of reflections"));
}

TEST(Batch, AnInterruptedBatchResumesWithoutRedoingFinishedPatterns) {
  const std::string dir = testing::MakeScratchDir("batch-resume");
  WritePatterns(dir + "/pats", 6);
  const testing::ProcessResult first = Batch(dir, {"--batch", "pats", "--svg"});
  ASSERT_EQ(first.exitStatus, 0) << first.output;
  const std::vector<std::string> finished = testing::SplitLines(testing::ReadTextFile(dir + "/batch_summary.csv"));
  ASSERT_EQ(finished.size(), 7u);
  EXPECT_EQ(RowOf(finished[1]).file, "pats/p1.kqt");

  // As if the batch had been stopped while writing the row of p4: three rows and a cut one.
  testing::WriteTextFile(dir + "/batch_summary.csv", finished[0] + "\n" + finished[1] + "\n" + finished[2] + "\n" +
                                                         finished[3] + "\n" + finished[4].substr(0, 20));
  // A kept results file is marked by a line before its own; a run writes it anew without the mark.
  const auto kept = [&](const std::string& name) {
    return testing::ReadTextFile(dir + "/pats/" + name + "_kqt.res").rfind("kept\n", 0) == 0;
  };
  for (const std::string name : {"p1", "p2", "p3", "p4"}) {
    const std::string results = dir + "/pats/" + name + "_kqt.res";
    testing::WriteTextFile(results, "kept\n" + testing::ReadTextFile(results));
  }
  const testing::ProcessResult resumed = Batch(dir, {"--batch", "pats", "--svg"});
  ASSERT_EQ(resumed.exitStatus, 0) << resumed.output;
  EXPECT_TRUE(Contains(resumed.output, "3 complete before")) << resumed.output;
  for (const std::string name : {"p1", "p2", "p3"}) EXPECT_TRUE(kept(name)) << name;
  EXPECT_FALSE(kept("p4"));
  const std::vector<std::string> after = testing::SplitLines(testing::ReadTextFile(dir + "/batch_summary.csv"));
  ASSERT_EQ(after.size(), 7u);
  for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(after[k], finished[k]);
  for (std::size_t k = 4; k < 7; ++k) EXPECT_EQ(RowOf(after[k]).file, RowOf(finished[k]).file);

  // An input changed after its results, and a missing picture, make a pattern incomplete again.
  fs::last_write_time(dir + "/pats/p2_kqt.res", fs::last_write_time(dir + "/pats/p2.kqt") - std::chrono::hours(1));
  fs::remove(dir + "/pats/p3_kqt.svg");
  // So does a results file cut short, and a summary with CRLF line ends is still recognised.
  const std::string p5 = testing::ReadTextFile(dir + "/pats/p5_kqt.res");
  testing::WriteTextFile(dir + "/pats/p5_kqt.res", p5.substr(0, p5.size() / 2));
  std::string crlf;
  for (const std::string& line : testing::SplitLines(testing::ReadTextFile(dir + "/batch_summary.csv"))) crlf += line + "\r\n";
  testing::WriteTextFile(dir + "/batch_summary.csv", crlf);
  const testing::ProcessResult again = Batch(dir, {"--batch", "pats", "--svg"});
  ASSERT_EQ(again.exitStatus, 0) << again.output;
  EXPECT_TRUE(Contains(again.output, "3 complete before")) << again.output;
  EXPECT_TRUE(kept("p1"));
  EXPECT_FALSE(kept("p2"));
  EXPECT_FALSE(kept("p3"));
  EXPECT_EQ(testing::ReadTextFile(dir + "/pats/p5_kqt.res").size(), p5.size());

  // A batch of another list in the same folder would lose this summary's rows: it is refused.
  testing::WriteTextFile(dir + "/other.txt", "pats/p1.kqt\npats/p2.kqt\n");
  const std::string before = testing::ReadTextFile(dir + "/batch_summary.csv");
  const testing::ProcessResult other = Batch(dir, {"--batch", "other.txt"});
  EXPECT_EQ(other.exitStatus, 2) << other.output;
  EXPECT_TRUE(Contains(other.output, " Error: batch_summary.csv holds 4 patterns that this list does not name "
                                     "(pats/p3.kqt, ...)")) << other.output;
  EXPECT_EQ(testing::ReadTextFile(dir + "/batch_summary.csv"), before);

  const testing::ProcessResult forced = Batch(dir, {"--batch", "pats", "--force"});
  ASSERT_EQ(forced.exitStatus, 0) << forced.output;
  EXPECT_TRUE(Contains(forced.output, "0 complete before")) << forced.output;
  EXPECT_FALSE(kept("p1"));
}

TEST(Batch, AStoppedBatchStopsItsPatternsAndResumes) {
  const std::string dir = testing::MakeScratchDir("batch-stop");
  WritePatterns(dir + "/pats", 8, 5);  // search type 5: each pattern takes a while
  const std::string summary = dir + "/batch_summary.csv";
  testing::RunCommand("{ " + testing::ShellQuote(ORVANTHEL_EXE) + " --batch pats --workers 1 > out.txt 2>&1 & echo $! > pid; }",
                      dir);
  const pid_t pid = static_cast<pid_t>(std::stol(testing::ReadTextFile(dir + "/pid")));
  // Stop it once two patterns are in the summary.
  for (int wait = 0; wait < 600 && testing::SplitLines(testing::ReadTextFile(summary)).size() < 3; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_EQ(::kill(pid, SIGTERM), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  // The pattern that was running when the batch stopped writes nothing more.
  auto resultsFiles = [&] {
    return std::count_if(fs::directory_iterator(dir + "/pats"), fs::directory_iterator(), [](const fs::directory_entry& e) {
      return e.path().string().find("_kqt.res") != std::string::npos;
    });
  };
  const auto written = resultsFiles();
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_EQ(resultsFiles(), written);
  const std::vector<std::string> kept = testing::SplitLines(testing::ReadTextFile(summary));
  ASSERT_GE(kept.size(), 3u);

  const testing::ProcessResult resumed = Batch(dir, {"--batch", "pats"});
  ASSERT_EQ(resumed.exitStatus, 0) << resumed.output;
  EXPECT_TRUE(Contains(resumed.output, std::to_string(kept.size() - 1) + " complete before")) << resumed.output;
  EXPECT_EQ(testing::SplitLines(testing::ReadTextFile(summary)).size(), 9u);
}

// The summary without its column of seconds, which differs from run to run.
std::string WithoutSeconds(const std::string& summary) {
  std::string out;
  for (const std::string& line : testing::SplitLines(summary)) {
    auto row = ParseRow(line);
    if (row) row->seconds.clear();
    out += (row ? FormatRow(*row) : line) + "\n";
  }
  return out;
}

TEST(Batch, MergedShardSummariesEqualTheSummaryOfTheWholeList) {
  const std::string dir = testing::MakeScratchDir("batch-shards");
  WritePatterns(dir + "/pats", 7);
  testing::WriteTextFile(dir + "/pats/bad.kqt", "_Nonsense\n");
  std::string list;
  for (const std::string name : {"p5", "p1", "bad", "p7", "p2", "p6", "p3", "p4"}) list += "../pats/" + name + ".kqt\n";
  for (const std::string sub : {"/whole", "/shards"}) {
    fs::create_directory(dir + sub);
    testing::WriteTextFile(dir + sub + "/list.txt", list);
  }
  const testing::ProcessResult whole = Batch(dir + "/whole", {"--batch", "list.txt"});
  EXPECT_EQ(whole.exitStatus, 1) << whole.output;

  // Shard 1 from a Slurm job array numbered from 1; the others from --shard.
  EXPECT_EQ(Batch(dir + "/shards", {"--batch", "list.txt", "--shard", "0/3"}).exitStatus, 0);
  const testing::ProcessResult slurm =
      Batch(dir + "/shards", {"--batch", "list.txt"}, "SLURM_ARRAY_TASK_ID=2 SLURM_ARRAY_TASK_MIN=1 SLURM_ARRAY_TASK_COUNT=3");
  EXPECT_EQ(slurm.exitStatus, 0) << slurm.output;
  EXPECT_EQ(Batch(dir + "/shards", {"--batch", "list.txt", "--shard", "2/3"}).exitStatus, 1);
  const std::string shard1 = testing::ReadTextFile(dir + "/shards/batch_summary.shard-1-of-3.csv");
  ASSERT_EQ(testing::SplitLines(shard1).size(), 4u);
  EXPECT_EQ(RowOf(testing::SplitLines(shard1)[1]).file, "../pats/p1.kqt");

  const testing::ProcessResult merged = Batch(dir + "/shards", {"--batch", "list.txt", "--merge"});
  EXPECT_EQ(merged.exitStatus, 1) << merged.output;  // the bad pattern failed
  const std::string expected = WithoutSeconds(testing::ReadTextFile(dir + "/whole/batch_summary.csv"));
  EXPECT_EQ(WithoutSeconds(testing::ReadTextFile(dir + "/shards/batch_summary.csv")), expected);
  EXPECT_EQ(testing::SplitLines(expected).size(), 9u);

  // A shard that never reported leaves its patterns missing, and the merge says so.
  fs::remove(dir + "/shards/batch_summary.shard-2-of-3.csv");
  const testing::ProcessResult partial = Batch(dir + "/shards", {"--batch", "list.txt", "--merge"});
  EXPECT_EQ(partial.exitStatus, 1);
  EXPECT_TRUE(Contains(partial.output, " Shard 2 of 3 has no summary.")) << partial.output;
  EXPECT_EQ(RowOf(testing::SplitLines(testing::ReadTextFile(dir + "/shards/batch_summary.csv"))[3]).status, "missing");
}

TEST(BatchSummary, RowsSurviveQuotingAndInterruptedWrites) {
  SummaryRow row = FailedRow("data/a,b \"c\".kqt", "Error reading data/a,b \"c\".kqt.", 1.5);
  const auto back = ParseRow(FormatRow(row));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->file, row.file);
  EXPECT_EQ(back->message, row.message);
  EXPECT_EQ(back->seconds, "1.500");
  EXPECT_FALSE(ParseRow("p.kqt,indexed,1,2"));
  EXPECT_FALSE(ParseRow("\"p.kqt,indexed"));

  const std::string dir = testing::MakeScratchDir("summary");
  const std::string path = dir + "/batch_summary.csv";
  RunSummary summary;
  summary.numberOfReflections = 40;
  const SummaryRow second = RowOfRun("q.kqt", summary, 0.25);
  EXPECT_EQ(second.status, "no_solution");
  testing::WriteTextFile(path, SummaryHeader() + "\n" + FormatRow(row) + "\n" + FormatRow(second) + "\nr.kqt,fai");
  {
    // Opening the journal drops the cut row, so the next one starts on a line of its own.
    SummaryJournal journal(path, false);
    SummaryRow again = row;
    again.status = "indexed";
    journal.Append(again);
  }
  bool foreign = true;
  const auto rows = ReadSummaryRows(path, foreign);
  EXPECT_FALSE(foreign);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows.at(row.file).status, "indexed");  // the later row of a file wins
  EXPECT_TRUE(rows.at("q.kqt").Complete());
  EXPECT_EQ(testing::SplitLines(testing::ReadTextFile(path)).size(), 4u);

  testing::WriteTextFile(path, "something,else\n" + FormatRow(row) + "\n");
  EXPECT_TRUE(ReadSummaryRows(path, foreign).empty());
  EXPECT_TRUE(foreign);
}

// A summary line without bounds is read no further than a bound: the rows before it count, and the
// journal opened on such a file still finds the end of its last whole line.
TEST(BatchSummary, AnEndlessLineEndsWhatIsReadBack) {
  const std::string dir = testing::MakeScratchDir("summary-long");
  const std::string path = dir + "/batch_summary.csv";
  const SummaryRow row = FailedRow("a.kqt", "Error", 1.0);
  const SummaryRow later = FailedRow("b.kqt", "Error", 1.0);
  testing::WriteTextFile(path, SummaryHeader() + "\r\n" + FormatRow(row) + "\r\n" + std::string(8 << 20, 'x') +
                                   "\n" + FormatRow(later) + "\n" + std::string(1 << 20, 'y'));
  bool foreign = true;
  const auto rows = ReadSummaryRows(path, foreign);
  EXPECT_FALSE(foreign);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows.count("a.kqt"), 1u);
  { SummaryJournal journal(path, false); }
  const std::string kept = testing::ReadTextFile(path);
  EXPECT_EQ(kept.substr(kept.size() - FormatRow(later).size() - 1), FormatRow(later) + "\n");
}

// A batch of nothing is an error, and a folder of peak lists says what to do with them; a failed
// pattern's row carries the line that says where its input went wrong.
TEST(Batch, NothingToRunIsAnErrorAndFailuresSayWhere) {
  const std::string dir = testing::MakeScratchDir("batch-empty");
  fs::create_directories(dir + "/cor");
  testing::WriteTextFile(dir + "/cor/ge_0001.cor", "2theta chi\n90 0\n");
  testing::WriteTextFile(dir + "/empty.txt", "# nothing yet\n");
  const testing::ProcessResult folder = Batch(dir, {"--batch", "cor"});
  EXPECT_EQ(folder.exitStatus, 2);
  EXPECT_TRUE(Contains(folder.output, " Error: The folder cor holds no .kqt input file but 1 peak list (.cor): make "
                                      "input files of them with orvanthel-import first."))
      << folder.output;
  const testing::ProcessResult list = Batch(dir, {"--batch", "empty.txt"});
  EXPECT_EQ(list.exitStatus, 2);
  EXPECT_TRUE(Contains(list.output, " Error: The list empty.txt names no pattern.")) << list.output;

  testing::WriteTextFile(dir + "/bad.kqt", "_NumberOfReflections\n4\n_Reflections\n1 0 0\n0 1 0\n0 0 x\n");
  testing::WriteTextFile(dir + "/one.txt", "bad.kqt\ncor/ge_0001.cor\n");
  const testing::ProcessResult bad = Batch(dir, {"--batch", "one.txt"});
  EXPECT_EQ(bad.exitStatus, 1);
  const std::vector<std::string> lines = testing::SplitLines(testing::ReadTextFile(dir + "/batch_summary.csv"));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(RowOf(lines[1]).message.rfind("Error reading bad.kqt. line 6 (_Reflections): reflection 3 of 4: ", 0), 0u)
      << lines[1];
  EXPECT_EQ(RowOf(lines[2]).message.rfind("Error: Extention of filename is not .kqt. A peak list", 0), 0u) << lines[2];
}

TEST(BatchList, FoldersListsAndShards) {
  const std::string dir = testing::MakeScratchDir("list");
  for (const std::string name : {"b.kqt", "a.kqt", "notes.txt"}) testing::WriteTextFile(dir + "/" + name, "");
  EXPECT_EQ(ReadPatternList(dir + "/").files, (std::vector<std::string>{dir + "/a.kqt", dir + "/b.kqt"}));
  testing::WriteTextFile(dir + "/list", "# comment\n\n  " + dir + "/b.kqt \t\r\n" + dir + "/./b.kqt\n" + dir + "/a.kqt\n");
  const PatternList list = ReadPatternList(dir + "/list");
  EXPECT_EQ(list.files, (std::vector<std::string>{dir + "/b.kqt", dir + "/a.kqt"}));
  EXPECT_EQ(list.duplicates, (std::vector<std::string>{dir + "/./b.kqt"}));
  EXPECT_THROW(ReadPatternList(dir + "/none"), BatchError);

  ASSERT_TRUE(ParseShard("2/3"));
  EXPECT_EQ(ParseShard("2/3")->index, 2);
  for (const char* bad : {"3/3", "1/0", "-1/3", "a/3", "1/", "13"}) EXPECT_FALSE(ParseShard(bad)) << bad;
  EXPECT_EQ(PositionsOfShard(8, Shard{1, 3}), (std::vector<std::size_t>{1, 4, 7}));

  auto environment = [](std::vector<std::pair<std::string, std::string>> values) {
    return [values](const char* name) -> const char* {
      for (const auto& [key, value] : values) {
        if (key == name) return value.c_str();
      }
      return nullptr;
    };
  };
  EXPECT_FALSE(ShardFromSlurm(environment({{"SLURM_ARRAY_TASK_ID", "2"}})));
  const auto zeroBased = ShardFromSlurm(environment({{"SLURM_ARRAY_TASK_ID", "2"}, {"SLURM_ARRAY_TASK_COUNT", "4"}}));
  ASSERT_TRUE(zeroBased);
  EXPECT_EQ(zeroBased->index, 2);
  EXPECT_EQ(zeroBased->count, 4);
  const auto oneBased = ShardFromSlurm(
      environment({{"SLURM_ARRAY_TASK_ID", "4"}, {"SLURM_ARRAY_TASK_COUNT", "4"}, {"SLURM_ARRAY_TASK_MIN", "1"}}));
  ASSERT_TRUE(oneBased);
  EXPECT_EQ(oneBased->index, 3);
  EXPECT_THROW(ShardFromSlurm(environment({{"SLURM_ARRAY_TASK_ID", "4"}, {"SLURM_ARRAY_TASK_COUNT", "4"}})), BatchError);
}

TEST(BatchOptions, CombinationsWithoutMeaningAreRefused) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--force", "a.kqt"}, "they go with --batch LIST"},
      {{"--batch", "list.txt", "--threads", "2"}, "--workers sets how many at once"},
      {{"--batch", "list.txt", "a.kqt"}, "not a file name after it"},
      {{"--batch", "list.txt", "--shard", "4/4"}, "give I/N with 0 <= I < N"},
  };
  for (const auto& [arguments, message] : cases) {
    std::istringstream in;
    std::ostringstream out;
    EXPECT_EQ(RunProgram(arguments, in, out), 1) << message;
    EXPECT_TRUE(Contains(out.str(), message)) << out.str();
  }
}

}  // namespace
}  // namespace orv
