// The map: positions, passes of seeded indexing on the workers, shards and their merge, outputs.
#include "driver/forked_worker.hpp"
#include "driver/map_run.hpp"


#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "driver/map_point_indexing.hpp"
#include "driver/map_workers.hpp"
#include "maps/map_grains.hpp"
#include "maps/map_outputs.hpp"
#include "maps/seed_schedule.hpp"
#include "text/text_file.hpp"
#include "run_data/run_errors.hpp"
#include "search/commensurate_transforms.hpp"

namespace orv {

namespace fs = std::filesystem;

namespace {

// Points a worker takes at once, at most.
constexpr std::size_t kLargestChunk = 16;
// Failures named on the console one by one; the rest are counted (the points file has them all).
constexpr std::size_t kFailuresShown = 10;

std::string ReadWholeFile(const std::string& path, const std::string& what) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw MapError("Cannot read the " + what + " " + path + ".");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

MapLayout LayoutOf(const BatchOptions& options, const std::vector<std::string>& files) {
  if (!options.mapGrid.empty()) {
    const auto size = ParseGridSize(options.mapGrid);
    if (!size) throw MapError("--grid " + options.mapGrid + " is not of the form COLUMNSxROWS.");
    return GridLayout(size->first, size->second, files.size());
  }
  const std::string text = ReadWholeFile(options.mapPositions, "positions file");
  return PositionsLayout(ParsePositions(text, options.mapPositions), files, options.mapPositions);
}

MapPointRecord FailedRecord(const std::string& file, const std::string& message) {
  MapPointRecord record;
  record.file = file;
  record.status = "failed";
  record.message = message;
  return record;
}

void WritePointsFile(const std::string& path, const std::vector<const MapPointRecord*>& records) {
  TextFile file;
  file.Open(path);
  file.WriteLine(PointRecordHeader());
  for (const MapPointRecord* record : records) file.WriteLine(FormatPointRecord(*record));
  file.Close();
}

// The records of a points file by file name.
void ReadPointsFile(const std::string& path, std::map<std::string, MapPointRecord>& records) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  if (!std::getline(in, line) || line != PointRecordHeader()) return;
  while (std::getline(in, line)) {
    if (auto record = ParsePointRecord(line)) records[record->file] = *record;
  }
}

void WriteMapOutputs(const MapLayout& layout, const std::vector<MapPointRecord>& records, double grainAngle,
                     std::ostream& console) {
  const MapGrains grains = JoinGrains(layout, records, grainAngle);
  const MapResults map{layout, records, grains};
  WriteMapSummary("map_summary.csv", map);
  WriteGrainTable("map_grains.csv", map);
  WriteOrientationPicture("map_orientation.svg", map);
  bool strained = false;
  for (const MapPointRecord& r : records) strained = strained || (r.Indexed() && r.strained);
  if (strained) WriteStrainPicture("map_strain.svg", map);
  console << " Map saved in files : map_summary.csv, map_grains.csv, map_orientation.svg"
          << (strained ? ", map_strain.svg" : "") << " (" << grains.grains.size()
          << (grains.grains.size() == 1 ? " grain)" : " grains)") << '\n';
}

int Merge(const std::vector<std::string>& files, const MapLayout& layout, double grainAngle, std::ostream& console) {
  std::map<std::string, MapPointRecord> found;
  std::vector<std::string> shardFiles;
  for (const auto& entry : fs::directory_iterator(fs::current_path())) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("map_points.shard-", 0) == 0 && name.size() > 4 && name.compare(name.size() - 4, 4, ".csv") == 0)
      shardFiles.push_back(name);
  }
  std::sort(shardFiles.begin(), shardFiles.end());
  for (const std::string& name : shardFiles) ReadPointsFile(name, found);
  std::vector<MapPointRecord> records;
  std::size_t missing = 0;
  std::size_t failed = 0;
  for (const std::string& file : files) {
    const auto it = found.find(file);
    if (it == found.end()) {
      ++missing;
      records.push_back(FailedRecord(file, "missing: no shard reported it"));
    } else {
      records.push_back(it->second);
      if (it->second.status == "failed") ++failed;
    }
  }
  std::vector<const MapPointRecord*> pointers;
  for (const MapPointRecord& r : records) pointers.push_back(&r);
  WritePointsFile(MapPointsFileName(Shard{0, 1}), pointers);
  console << " Merged " << shardFiles.size() << " shard points files, " << files.size() << " points, " << missing
          << " missing\n";
  WriteMapOutputs(layout, records, grainAngle, console);
  return missing + failed > 0 ? 1 : 0;
}

bool NotOlderThan(const std::string& output, const std::string& input) {
  std::error_code error;
  const auto made = fs::last_write_time(output, error);
  if (error) return false;
  const auto read = fs::last_write_time(input, error);
  return !error && made >= read;
}

// The passes that an earlier, interrupted run of the same map finished: the longest run of passes
// from pass 0 whose every point has a complete record (indexed or no solution) in the points file,
// none of whose inputs is newer than that file. A point depends only on its pattern and on points
// of earlier passes, so these records are what the map would compute again.
std::size_t FinishedPasses(const std::string& pointsFile, const std::vector<std::vector<std::size_t>>& passes,
                           const std::vector<std::string>& files, std::vector<std::optional<MapPointRecord>>& records) {
  std::map<std::string, MapPointRecord> earlier;
  ReadPointsFile(pointsFile, earlier);
  std::size_t finished = 0;
  for (const std::vector<std::size_t>& pass : passes) {
    for (std::size_t position : pass) {
      const auto found = earlier.find(files[position]);
      if (found == earlier.end() || found->second.status == "failed" || !NotOlderThan(pointsFile, files[position]))
        return finished;
    }
    for (std::size_t position : pass) records[position] = earlier[files[position]];
    ++finished;
  }
  return finished;
}

}  // namespace

std::string MapPointsFileName(const Shard& shard) {
  if (shard.count <= 1) return "map_points.csv";
  return "map_points.shard-" + std::to_string(shard.index) + "-of-" + std::to_string(shard.count) + ".csv";
}

int RunMap(const BatchOptions& options, std::ostream& console) {
  try {
    const PatternList list = ReadPatternList(options.list);
    for (const std::string& file : list.duplicates) console << " Listed before, run once: " << file << '\n';
    const MapLayout layout = LayoutOf(options, list.files);
    if (options.merge) return Merge(list.files, layout, options.grainAngle, console);

    const Shard shard = options.shard ? *options.shard
                                      : ShardFromSlurm([](const char* name) -> const char* { return std::getenv(name); })
                                            .value_or(Shard{0, 1});
    const std::vector<std::vector<std::size_t>> passes =
        PointsByPass(layout, shard.count > 1 ? TilesOfShard(layout, shard.index, shard.count) : std::vector<bool>{});
    std::size_t points = 0;
    for (const auto& pass : passes) points += pass.size();
    const int workers = std::max(1, options.workers > 0 ? options.workers : UsableCores());
    console << " Map of " << layout.columns << " x " << layout.rows << " cells, " << points
            << (points == 1 ? " point" : " points");
    if (shard.count > 1) console << " (shard " << shard.index << "/" << shard.count << ", counted from 0)";
    console << ", " << passes.size() << (passes.size() == 1 ? " pass, " : " passes, ") << workers
            << (workers == 1 ? " worker" : " workers") << '\n'
            << std::flush;

    // Shared by every point, built once before the workers start.
    auto tables = std::make_unique<SublatticeTables>();
    BuildSublatticeTables(*tables);
    MapIndexingContext context;
    context.tables = tables.get();
    context.relativeTransforms = CommensurateTransforms(*tables);
    context.reference = options.run.referenceCell;
    if (!SetReferenceBasis(context)) throw MapError("The reference cell is not a cell.");

    std::vector<std::optional<MapPointRecord>> records(list.files.size());
    const std::size_t resumed =
        options.force ? 0 : FinishedPasses(MapPointsFileName(shard), passes, list.files, records);
    if (resumed > 0)
      console << " Passes 0 to " << resumed - 1 << " were finished before; they are taken from "
              << MapPointsFileName(shard) << '\n';
    auto saveRecords = [&] {
      std::vector<const MapPointRecord*> ours;
      for (const auto& record : records)
        if (record) ours.push_back(&*record);
      WritePointsFile(MapPointsFileName(shard), ours);
    };
    std::size_t seeded = 0;
    std::size_t searched = 0;
    std::size_t failed = 0;
    for (std::size_t p = resumed; p < passes.size(); ++p) {
      const std::vector<std::size_t>& pass = passes[p];
      const std::size_t chunk = std::clamp<std::size_t>(pass.size() / (static_cast<std::size_t>(workers) * 4), 1,
                                                        kLargestChunk);
      const std::size_t jobs = (pass.size() + chunk - 1) / chunk;
      auto work = [&](std::size_t job) {
        std::string text;
        for (std::size_t i = job * chunk; i < std::min(pass.size(), (job + 1) * chunk); ++i) {
          const std::size_t position = pass[i];
          std::vector<MapSeed> seeds;
          for (std::size_t seed : SeedOrder(layout, position))
            if (records[seed] && records[seed]->Indexed()) seeds.emplace_back(static_cast<long>(seed), &*records[seed]);
          text += FormatPointRecord(IndexMapPoint(list.files[position], seeds, context)) + "\n";
        }
        return text;
      };
      auto take = [&](std::size_t job, const std::string& text, const std::string& ended) {
        std::istringstream lines(text);
        std::string line;
        std::size_t i = job * chunk;
        const std::size_t end = std::min(pass.size(), (job + 1) * chunk);
        while (i < end && std::getline(lines, line)) {
          const auto record = ParsePointRecord(line);
          if (!record || record->file != list.files[pass[i]]) break;
          records[pass[i++]] = *record;
        }
        for (; i < end; ++i)
          records[pass[i]] = FailedRecord(list.files[pass[i]], "The run ended without a result (" +
                                                                   (ended.empty() ? std::string("no output") : ended) + ").");
      };
      RunJobsInWorkers(jobs, workers, work, take);
      std::size_t passSeeded = 0;
      for (std::size_t position : pass) {
        const MapPointRecord& r = *records[position];
        if (r.status == "failed") {
          if (++failed <= kFailuresShown) console << " Failed : " << r.file << " : " << r.message << '\n';
        } else if (r.seeded) {
          ++passSeeded;
        } else {
          ++searched;
        }
      }
      seeded += passSeeded;
      // Saved after every pass, so that an interrupted map resumes from the pass it was in.
      saveRecords();
      console << " Pass " << p << ": " << pass.size() << " points, " << passSeeded << " seeded\n" << std::flush;
    }
    console << " " << seeded << " points seeded, " << searched << " searched, " << failed << " failed\n";

    saveRecords();
    console << " Points saved in file : " << MapPointsFileName(shard) << '\n';
    if (shard.count <= 1) {
      std::vector<MapPointRecord> all;
      for (std::size_t i = 0; i < records.size(); ++i)
        all.push_back(records[i] ? *records[i] : FailedRecord(list.files[i], "not indexed"));
      WriteMapOutputs(layout, all, options.grainAngle, console);
    }
    console << std::flush;
    return failed > 0 ? 1 : 0;
  } catch (const MapError& error) {
    console << " Error: " << error.what() << '\n' << std::flush;
    return 2;
  } catch (const BatchError& error) {
    console << " Error: " << error.what() << '\n' << std::flush;
    return 2;
  } catch (const OutputFileError& error) {
    console << " Error: Cannot write " << error.fileName << ".\n" << std::flush;
    return 2;
  }
}

}  // namespace orv
