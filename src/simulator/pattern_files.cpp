// The simulated input file and its truth file, written through the line notation.
#include "simulator/pattern_files.hpp"

#include "geometry/rotation.hpp"

#include "text/kqt_layout.hpp"
#include "text/line_format.hpp"
#include "text/text_file.hpp"
#include "simulator/crystal_lattice.hpp"

namespace orv::sim {

namespace {

std::string CellText(const CellParameters& cell) {
  return PlainReal(cell.a, 6) + " " + PlainReal(cell.b, 6) + " " + PlainReal(cell.c, 6) + " " +
         PlainReal(cell.alpha, 6) + " " + PlainReal(cell.beta, 6) + " " + PlainReal(cell.gamma, 6);
}

std::string OrientationText(const SimulationOptions& options) {
  if (!options.eulerAngles) return "random";
  const auto& e = *options.eulerAngles;
  return "euler " + PlainReal(e[0], 6) + " " + PlainReal(e[1], 6) + " " + PlainReal(e[2], 6);
}

// The name without its folder: the comments name the companion file as it sits beside this one.
std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void WriteValue(TextFile& file, const std::string& keyword, const std::string& value) {
  file.WriteLine(keyword);
  file.WriteLine(Line().X(2).Text(value).str());
}

void WriteMatrix(TextFile& file, const Mat3& m) {
  for (const Vec3& row : m) file.WriteLine(Line().F(row[0], 18, 10).F(row[1], 18, 10).F(row[2], 18, 10).str());
}

// A matrix entry of the truth file: its keyword, a comment line that says what it is, its rows.
void WriteMatrixEntry(TextFile& file, const std::string& keyword, const std::string& comment, const Mat3& m) {
  file.WriteLine(keyword);
  file.WriteLine("# " + comment);
  WriteMatrix(file, m);
}

// The grains of a pattern of several: each one's cell, centring, orientation and bases, then the
// grain of every spot (0 for a spurious one).
void WriteGrainTruth(TextFile& file, const SimulatedPattern& pattern) {
  file.WriteLine("_Grains");
  file.WriteLine(Line().I(static_cast<long long>(pattern.grains.size()), 6).str());
  for (std::size_t g = 0; g < pattern.grains.size(); ++g) {
    const GrainTruth& grain = pattern.grains[g];
    file.WriteLine("# grain " + std::to_string(g + 1));
    WriteValue(file, "_GrainCell", CellText(grain.cell));
    WriteValue(file, "_GrainCentring", std::string(1, CentringLetter(grain.centring)));
    std::string orientation = "random";
    if (grain.eulerAngles) {
      const auto& e = *grain.eulerAngles;
      orientation = "euler " + PlainReal(e[0], 6) + " " + PlainReal(e[1], 6) + " " + PlainReal(e[2], 6);
    }
    WriteValue(file, "_GrainOrientation", orientation);
    file.WriteLine("_GrainRotation");
    WriteMatrix(file, grain.rotation);
    file.WriteLine("_GrainDirectBasis");
    WriteMatrix(file, grain.directBasis);
    WriteValue(file, "_GrainVolumeOfPrimitiveCell", PlainReal(grain.primitiveVolume, 8));
    WriteValue(file, "_GrainSpotsWritten", std::to_string(grain.spotsWritten));
  }
  file.WriteLine("_SpotGrains");
  file.WriteLine("# the grain of every spot in file order, 0 for a spurious one");
  std::string line;
  for (std::size_t i = 0; i < pattern.spots.size(); ++i) {
    line += (line.empty() ? "" : " ") + std::to_string(pattern.spots[i].grain);
    if ((i + 1) % 25 == 0 || i + 1 == pattern.spots.size()) {
      file.WriteLine(Line().X(1).Text(line).str());
      line.clear();
    }
  }
}

}  // namespace

std::string PlainReal(double value, int decimals) {
  const std::string field = FormatFixed(value, 64, decimals);
  return field.substr(field.find_first_not_of(' '));
}

void WritePatternFile(const std::string& fileName, const SimulationOptions& options,
                      const SimulatedPattern& pattern) {
  const RunKeywords& k = options.keywords;
  const ExperimentSettings& e = options.experiment;
  KqtLayout file;
  file.Comment("Laue pattern simulated by orvanthel-simulate; truth in " + BaseName(TruthFileName(options)));
  file.Comment("cell " + CellText(options.cell) + ", centring " + std::string(1, CentringLetter(options.centring)) +
               ", orientation " + OrientationText(options) + ", seed " + std::to_string(options.seed));
  file.Comment("beam along +z, band " + PlainReal(e.minWavelength, 4) + " to " + PlainReal(e.maxWavelength, 4) +
               " A, smallest d-spacing " + PlainReal(e.minDSpacing, 4) + " A, detector " + e.detector.name);
  file.Comment("noise " + PlainReal(options.flaws.noiseSigmaDegrees, 4) + " deg, spurious fraction " +
               PlainReal(options.flaws.spuriousFraction, 4) + ", dropped fraction " +
               PlainReal(options.flaws.dropFraction, 4));
  std::vector<std::array<double, 3>> directions;
  directions.reserve(pattern.spots.size());
  for (const Spot& s : pattern.spots) directions.push_back(s.direction);
  file.Reflections(directions);
  file.Value("_VolumeOfPrimitiveCell", PlainReal(k.VolumeOfPrimitiveCell.value_or(pattern.primitiveVolume), 8));
  file.Value("_ExtentOfTheSearch", std::to_string(k.ExtentOfTheSearch));
  file.Value("_AngularDeviationCriterion", PlainReal(k.AngularDeviationCriterion, 6));
  if (k.TheMainCriterion) file.Value("_TheMainCriterion", PlainReal(*k.TheMainCriterion, 8));
  if (k.MaxAllowedMillerIndex) file.Value("_MaxAllowedMillerIndex", std::to_string(*k.MaxAllowedMillerIndex));
  if (k.WeightsForSortingBases)
    file.Value("_WeightsForSortingBases",
               PlainReal((*k.WeightsForSortingBases)[0], 8) + " " + PlainReal((*k.WeightsForSortingBases)[1], 8));
  if (k.MaxNumberOfSavedBases) file.Value("_MaxNumberOfSavedBases", std::to_string(*k.MaxNumberOfSavedBases));
  if (k.SortSolutionsByQualityType)
    file.Value("_SortSolutionsByQualityType", std::to_string(*k.SortSolutionsByQualityType));
  if (k.SaveLePage) file.Value("_SaveLePage", std::to_string(*k.SaveLePage));
  if (k.CreateLogFile) file.Value("_CreateLogFile", std::to_string(*k.CreateLogFile));
  WriteKqtLines(fileName, file.Lines());
}

void WriteTruthFile(const std::string& fileName, const SimulationOptions& options, const SimulatedPattern& pattern) {
  TextFile file;
  file.Open(fileName);
  file.WriteLine("# Truth of the simulated Laue pattern in " + BaseName(options.outputFile));
  file.WriteLine("# Laboratory frame: incident beam along +z; the input file lists unit scattering vectors.");
  WriteValue(file, "_Cell", CellText(options.cell));
  WriteValue(file, "_Centring", std::string(1, CentringLetter(options.centring)));
  WriteValue(file, "_Seed", std::to_string(options.seed));
  WriteValue(file, "_Orientation", OrientationText(options));
  WriteMatrixEntry(file, "_Rotation", "crystal frame to laboratory frame, v_lab = R v_crystal", pattern.rotation);
  WriteMatrixEntry(file, "_DirectBasis",
                   "rows a, b, c of the conventional cell in the laboratory frame, Angstrom",
                   pattern.directBasis);
  WriteValue(file, "_VolumeOfPrimitiveCell", PlainReal(pattern.primitiveVolume, 8));
  WriteValue(file, "_Detector", options.experiment.detector.name);
  WriteValue(file, "_TrueSpotsOnDetector", std::to_string(pattern.trueSpotsOnDetector));
  if (pattern.strained) {
    WriteMatrixEntry(file, "_Strain",
                     "the strain applied, crystal frame of Busing and Levy (a* along x, b* in the x-y plane)",
                     pattern.strain);
    WriteMatrixEntry(file, "_DeviatoricStrainCrystal",
                     "(I + strain) at determinant 1, less I, less a third of its trace; crystal frame",
                     pattern.deviatoricCrystal);
    WriteMatrixEntry(file, "_DeviatoricStrainLab",
                     "the same in the laboratory frame, U e U^T",
                     pattern.deviatoricLab);
    WriteMatrixEntry(file, "_U", "the unstrained crystal's Busing-Levy frame to the laboratory frame", pattern.trueU);
    const Vec3 euler = BungeEulerAngles(pattern.trueU);
    WriteValue(file, "_EulerOfU", PlainReal(euler[0], 6) + " " + PlainReal(euler[1], 6) + " " + PlainReal(euler[2], 6));
    WriteMatrixEntry(file, "_UB",
                     "columns a*, b*, c* (1/Angstrom, no 2 pi) of the strained conventional cell, laboratory frame",
                     pattern.trueUB);
  }
  file.WriteLine("_Spots");
  file.WriteLine(Line().I(static_cast<long long>(pattern.spots.size()), 6).str());
  file.WriteLine("#  nr kind         h    k    l   n   d-spacing  wavelength   2theta");
  int number = 0;
  for (const Spot& s : pattern.spots) {
    ++number;
    file.WriteLine(Line()
                       .I(number, 5)
                       .X(1)
                       .Text(s.spurious ? "spurious" : "true    ")
                       .I(s.h, 5)
                       .I(s.k, 5)
                       .I(s.l, 5)
                       .I(s.harmonic, 4)
                       .F(s.dSpacing, 12, 7)
                       .F(s.wavelength, 12, 7)
                       .F(s.twoTheta, 9, 3)
                       .str());
  }
  if (!pattern.grains.empty()) WriteGrainTruth(file, pattern);
  file.Close();
}

}  // namespace orv::sim
