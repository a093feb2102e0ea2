// The orientation fields of the JSON results.
#include "reports/orientation_json.hpp"
#include "reports/json_values.hpp"

#include <nlohmann/json.hpp>

#include <cmath>

#include "reports/json_results.hpp"
#include "text/text_file.hpp"

namespace orv {

namespace {

constexpr const char* kCrystalFrame = "Busing-Levy: a* along x, b* in the x-y plane";

Json OrientationJson(const CrystalOrientation& o) {
  Json orientation;
  orientation["crystalFrame"] = kCrystalFrame;
  orientation["bravaisType"] = BravaisSymbol(o.type);
  orientation["conventionalCell"] = CellJson(o.cell.lengths, o.cell.anglesInDegrees);
  orientation["conventionalBasis"] = MatrixJson(o.conventionalBasis);
  orientation["fromDirectBasis"] = IntegerMatrixJson(o.fromDirectBasis);
  orientation["B"] = MatrixJson(o.b);
  orientation["U"] = MatrixJson(o.u);
  orientation["UB"] = MatrixJson(o.ub);
  orientation["eulerBunge"] = {{"phi1", o.eulerDegrees[0]}, {"Phi", o.eulerDegrees[1]}, {"phi2", o.eulerDegrees[2]}};
  return orientation;
}

Json StrainJson(const DeviatoricStrain& s, const ReferenceCell& reference) {
  Json strain;
  strain["referenceCell"] = CellJson(reference.lengths, reference.anglesInDegrees);
  strain["fromDirectBasis"] = IntegerMatrixJson(s.fromDirectBasis);
  strain["reflectionsFitted"] = s.reflections;
  strain["crystalFrame"] = MatrixJson(s.tensors.crystal);
  strain["crystalFrameUncertainty"] = MatrixJson(s.crystalUncertainty);
  strain["directionsFrame"] = MatrixJson(s.tensors.sample);
  strain["directionsFrameUncertainty"] = MatrixJson(s.sampleUncertainty);
  strain["vonMises"] = s.tensors.vonMises;
  strain["vonMisesUncertainty"] = s.vonMisesUncertainty;
  strain["rotation"] = MatrixJson(s.tensors.rotation);
  strain["fittedDirectBasis"] = MatrixJson(s.fittedBasis);
  return strain;
}

}  // namespace

std::string JsonWithOrientation(const std::string& text, const SolutionOrientations& orientations,
                                const std::optional<ReferenceCell>& reference) {
  Json document = Json::parse(text);
  Json& solutions = document["solutions"];
  for (std::size_t i = 0; i < solutions.size() && i < orientations.oriented.size(); ++i) {
    Json& solution = solutions[i];
    if (!orientations.oriented[i]) {
      solution["orientation"] = nullptr;
      continue;
    }
    const CrystalOrientation& o = orientations.orientation[i];
    solution["orientation"] = OrientationJson(o);
    for (Json& reflection : solution["reflections"]) {
      const Json& hkl = reflection["hkl"];
      const ConventionalIndices indices =
          ConventionalIndicesOfRow({hkl[0].get<long long>(), hkl[1].get<long long>(), hkl[2].get<long long>()}, o);
      reflection["conventionalHkl"] = indices.hkl;
      reflection["conventionalForm"] = indices.representative;
    }
    if (i == 0 && orientations.strain && reference) solution["strain"] = StrainJson(*orientations.strain, *reference);
  }
  return document.dump(2, ' ', false, Json::error_handler_t::replace);
}

void WriteJsonResultsWithOrientation(const std::string& inputFileName, const RunParameters& parameters,
                                     const DirectionStore& directions, const SolutionStore& store,
                                     const SolutionLattices& lattices, const HeaderNotes& notes,
                                     const SolutionOrientations& orientations,
                                     const std::optional<ReferenceCell>& reference) {
  const std::string text = JsonWithOrientation(
      JsonResultsText(inputFileName, parameters, directions, store, lattices, notes), orientations, reference);
  TextFile file;
  file.Open(JsonResultsFileName(inputFileName));
  file.WriteLine(text);
  file.Close();
}

}  // namespace orv
