// The machine-readable results: "<stem>_kqt.json" beside the results file, written on request.
#include "reports/json_results.hpp"
#include "reports/json_values.hpp"

#include <nlohmann/json.hpp>

#include <cmath>

#include "geometry/constants.hpp"
#include "geometry/index_direction.hpp"
#include "geometry/nearest_integer.hpp"
#include "reports/json_grains.hpp"
#include "reports/lattice_summary.hpp"
#include "reports/log_file.hpp"
#include "reports/results_file.hpp"
#include "text/text_file.hpp"
#include "text/trim_blanks.hpp"
#include "run_data/program_version.hpp"

namespace orv {

namespace {

Json ParametersJson(const RunParameters& p) {
  Json parameters;
  parameters["NumberOfReflections"] = p.NumberOfReflections;
  parameters["VolumeOfPrimitiveCell"] = p.VolumeOfPrimitiveCell;
  parameters["MaxAllowedMillerIndex"] = p.MaxAllowedMillerIndex;
  parameters["ExtentOfTheSearch"] = p.ExtentOfTheSearch;
  parameters["AngularDeviationCriterion"] = p.AngularDeviationCriterion * kRadiansToDegrees;
  parameters["TheMainCriterion"] = p.TheMainCriterion;
  parameters["WeightsForSortingBases"] = {p.WeightsForSortingBases_1, p.WeightsForSortingBases_2};
  parameters["MaxNumberOfSavedBases"] = p.MaxNumberOfSavedBases;
  parameters["SortSolutionsByQualityType"] = p.SortSolutionsByQualityType;
  parameters["SaveLePage"] = p.SaveLePage;
  parameters["CreateLogFile"] = p.CreateLogFile;
  return parameters;
}

const char* ReflectionClass(ReflectionRowKind kind) {
  if (kind == ReflectionRowKind::WithinHalfTolerance) return "withinHalfTolerance";
  if (kind == ReflectionRowKind::WithinTolerance) return "withinTolerance";
  return "notIndexed";
}

// The reflections of one solution, classified as the results file classifies them, and the counts
// that its summary line shows.
struct ReflectionsOfSolution {
  Json rows = Json::array();
  int nh = 0;
  int nH = 0;
};

ReflectionsOfSolution ReflectionsJson(const Mat3& m, const RunParameters& parameters,
                                      const DirectionStore& directions) {
  // As in the results file: a basis that cannot be inverted keeps R at zero.
  Mat3 r{};
  InverseTranspose(m, r, kBasisSingularity);
  ReflectionsOfSolution result;
  for (int j = 1; j <= parameters.NumberOfReflections; ++j) {
    const IndexedDirection indexed = IndexDirection(directions(j), r, m, parameters.MaxAllowedMillerIndex);
    const ReflectionRowKind kind = FormatReflectionRow(j, indexed, parameters.AngularDeviationCriterion).kind;
    if (kind == ReflectionRowKind::WithinHalfTolerance) ++result.nH;
    if (kind == ReflectionRowKind::WithinHalfTolerance || kind == ReflectionRowKind::WithinTolerance) ++result.nh;
    Json row;
    row["number"] = j;
    row["hkl"] = {Nint(indexed.x[0]), Nint(indexed.x[1]), Nint(indexed.x[2])};
    row["realIndices"] = {indexed.x[0], indexed.x[1], indexed.x[2]};
    row["deviationDegrees"] = indexed.theta * kRadiansToDegrees;
    row["class"] = ReflectionClass(kind);
    result.rows.push_back(row);
  }
  return result;
}

Json LatticeJson(const LatticeSymmetry& s) {
  const double niggliVolume = std::fabs(Determinant(s.niggliBasis));
  const double conventionalVolume = std::fabs(Determinant(s.conventionalBasis));
  Json niggli;
  niggli["cell"] = CellJson(s.niggliCell.lengths, s.niggliCell.anglesInDegrees, niggliVolume);
  niggli["basis"] = MatrixJson(s.niggliBasis);
  niggli["fromDirectBasis"] = IntegerMatrixJson(s.toNiggli);
  Json lattice;
  lattice["bravaisType"] = BravaisSymbol(s.type);
  lattice["latticePointsPerCell"] = LatticePointsPerConventionalCell(s.type);
  lattice["conventionalCell"] =
      CellJson(s.conventionalCell.lengths, s.conventionalCell.anglesInDegrees, conventionalVolume);
  lattice["conventionalBasis"] = MatrixJson(s.conventionalBasis);
  lattice["fromDirectBasis"] = IntegerMatrixJson(s.toConventional);
  return Json{{"niggli", niggli}, {"lattice", lattice}};
}

Json FamilyJson(const LatticeFamilies& families, std::size_t i) {
  Json family;
  family["number"] = families.family[i] + 1;
  Json relations = Json::array();
  for (std::size_t j = 0; j < families.family.size(); ++j) {
    const LatticeRelation& relation = families.relations[i][j];
    if (j == i || !relation.related) continue;
    Json entry;
    entry["solution"] = j + 1;
    entry["relativeCellSize"] = RelativeCellSize(relation);
    entry["index"] = relation.index;
    entry["larger"] = relation.index == 1 ? "neither" : (relation.firstIsLarger ? "this" : "other");
    entry["matrix"] = IntegerMatrixJson(relation.relation);
    entry["misfit"] = relation.residual;
    relations.push_back(entry);
  }
  family["relations"] = relations;
  return family;
}

Json SolutionJson(int i, const RunParameters& parameters, const DirectionStore& directions,
                  const SolutionStore& store, const SolutionLattices& lattices) {
  const SolutionRecord& record = store(i);
  const Mat3& m = record.SolutionBasis;
  const std::size_t index = static_cast<std::size_t>(i - 1);
  ReflectionsOfSolution reflections = ReflectionsJson(m, parameters, directions);

  Json solution;
  solution["rank"] = i;
  solution["support"] = {{"withinTolerance", reflections.nh},
                         {"withinHalfTolerance", reflections.nH},
                         {"reflections", parameters.NumberOfReflections}};
  const double weights = parameters.WeightsForSortingBases_1 + parameters.WeightsForSortingBases_2;
  solution["quality"] = record.SolutionQuality / (weights * parameters.NumberOfReflections);
  solution["qualityFigure"] = record.SolutionQuality;
  const CellParameters cell = CellOfBasis(m);
  solution["primitiveCell"] = CellJson(cell.lengths, cell.anglesInDegrees, std::fabs(Determinant(m)));
  solution["directBasis"] = MatrixJson(m);
  solution["directBasisUnitVolume"] = MatrixJson(ScaleMatrix(m, VolumeScaleFactor(m, 1.0)));
  Mat3 reciprocal{};
  InverseTranspose(m, reciprocal, kBasisSingularity);
  solution["reciprocalBasis"] = MatrixJson(reciprocal);
  if (index < lattices.analysed.size() && lattices.analysed[index]) {
    const Json lattice = LatticeJson(lattices.symmetry[index]);
    solution["niggli"] = lattice["niggli"];
    solution["lattice"] = lattice["lattice"];
  } else {
    solution["niggli"] = nullptr;
    solution["lattice"] = nullptr;
  }
  if (index < lattices.families.family.size()) solution["family"] = FamilyJson(lattices.families, index);
  solution["reflections"] = std::move(reflections.rows);
  return solution;
}

}  // namespace

std::string JsonResultsFileName(const std::string& inputFileName) {
  return OutputFileName(inputFileName, "_kqt.json");
}

std::string JsonResultsText(const std::string& inputFileName, const RunParameters& parameters,
                            const DirectionStore& directions, const SolutionStore& store,
                            const SolutionLattices& lattices, const HeaderNotes& notes, const GrainSet* grains) {
  Json document;
  document["format"] = "orvanthel-results";
  document["formatVersion"] = kJsonResultsFormatVersion;
  document["programVersion"] = kProgramVersion;
  document["inputFile"] = TrimBlanks(inputFileName);
  document["resultsFile"] = ResultsFileName(inputFileName);
  document["parameters"] = ParametersJson(parameters);
  document["latticeChoice"] = notes.latticeChosen;
  if (!notes.automaticSearch.empty()) document["automaticSearch"] = notes.automaticSearch;
  document["latticeTolerance"] = {{"relativeLength", lattices.tolerance.relativeLength},
                                  {"angleDegrees", lattices.tolerance.angleDegrees},
                                  {"familyMisfit", lattices.familyTolerance}};
  document["numberOfSolutions"] = store.NumberOfSolutions;
  Json solutions = Json::array();
  for (int i = 1; i <= store.NumberOfSolutions; ++i)
    solutions.push_back(SolutionJson(i, parameters, directions, store, lattices));
  document["solutions"] = std::move(solutions);
  // false: the file gave no _VolumeOfPrimitiveCell and the cells are scaled to the default volume.
  document["volumeOfPrimitiveCellGiven"] = parameters.VolumeOfPrimitiveCellGiven;
  if (grains) {
    Json search = GrainsJson(*grains, parameters, directions);
    document["grains"] = std::move(search["grains"]);
    search.erase("grains");
    document["grainSearch"] = std::move(search);
  }
  // Text that is not valid UTF-8 (a file name in another encoding) is replaced rather than refused.
  return document.dump(2, ' ', false, Json::error_handler_t::replace);
}

void WriteJsonResults(const std::string& inputFileName, const RunParameters& parameters,
                      const DirectionStore& directions, const SolutionStore& store, const SolutionLattices& lattices,
                      const HeaderNotes& notes, const GrainSet* grains) {
  const std::string text = JsonResultsText(inputFileName, parameters, directions, store, lattices, notes, grains);
  TextFile file;
  file.Open(JsonResultsFileName(inputFileName));
  file.WriteLine(text);
  file.Close();
}

}  // namespace orv
