// The picture of an indexed pattern as plain SVG: gnomonic projection, spot classes, labels, zones.
#include "reports/svg_pattern.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

#include "geometry/constants.hpp"
#include "reports/gnomonic_projection.hpp"
#include "reports/log_file.hpp"
#include "reports/results_file.hpp"
#include "reports/spot_classes.hpp"
#include "reports/svg_canvas.hpp"
#include "text/text_file.hpp"
#include "text/trim_blanks.hpp"
#include "reports/zone_selection.hpp"

namespace orv {

using namespace svg;  // the drawing pieces, in this file only

namespace {

const char* const kFont = "DejaVu Sans, Helvetica, Arial, sans-serif";
constexpr int kLabelledSpots = 14;
constexpr int kZonesDrawn = 8;
constexpr int kSpotsPerZone = 3;

// Zone colours that stay apart for readers with the common colour-vision deficiencies.
const char* const kZoneColours[kZonesDrawn] = {"#0072b2", "#009e73", "#cc79a7", "#e69f00",
                                               "#56b4e9", "#d55e00", "#999933", "#882255"};

// Edges and angles of a cell; tspans keep the groups apart.
std::string CellText(const Vec3& lengths, const Vec3& angles) {
  return "a, b, c = " + Num(lengths[0], 3) + ", " + Num(lengths[1], 3) + ", " + Num(lengths[2], 3) +
         "<tspan dx=\"20\">\u03b1, \u03b2, \u03b3 = " + Num(angles[0], 2) + "\u00b0, " + Num(angles[1], 2) +
         "\u00b0, " + Num(angles[2], 2) + "\u00b0</tspan>";
}

std::string BaseName(const std::string& path) {
  const std::string name = TrimBlanks(path);
  const std::size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

// The indices of a reciprocal-lattice row on the conventional cell, whose rows are
// toConventional times those of the solution's basis: toConventional times the indices.
MillerIndices ConventionalIndices(const IntMat3& toConventional, const MillerIndices& hkl) {
  MillerIndices out{};
  for (std::size_t r = 0; r < 3; ++r) {
    out[r] = toConventional[r][0] * hkl[0] + toConventional[r][1] * hkl[1] + toConventional[r][2] * hkl[2];
  }
  return out;
}

const char* LabAxisName(int axis) { return axis == 0 ? "x" : axis == 1 ? "y" : "z"; }

}  // namespace

std::string PictureFileName(const std::string& inputFileName) { return OutputFileName(inputFileName, "_kqt.svg"); }

namespace {

// What the parts of the picture share: the projection, the page, solution 1's classes of the spots
// and the zones it draws.
struct PictureScene {
  GnomonicFrame frame;
  std::vector<std::optional<PlanePoint>> points;
  PageMapping page;
  bool solved = false;
  bool conventional = false;  // labels and zones on the conventional cell of the lattice
  std::vector<ClassifiedSpot> classes;
  SpotCounts counts;
  Mat3 zoneBasis{};
  std::vector<Zone> zones;
};

// A zone line's upper end, where its [uvw] is written.
struct ZoneEnd {
  double x, y, dx, dy;
  const char* colour;
  MillerIndices axis;
};

PictureScene SceneOf(const RunParameters& parameters, const DirectionStore& directions, const SolutionStore& store,
                     const SolutionLattices& lattices) {
  PictureScene scene;
  const int n = parameters.NumberOfReflections;
  std::vector<Vec3> spots;
  for (int j = 1; j <= n; ++j) spots.push_back(directions(j));
  scene.frame = FrameAboutMeanDirection(spots);
  for (const Vec3& u : spots) scene.points.push_back(ProjectDirection(scene.frame, u));
  scene.page = MappingFor(scene.points);

  scene.solved = store.NumberOfSolutions > 0;
  scene.classes.resize(static_cast<std::size_t>(n));
  if (scene.solved) scene.classes = ClassifySpots(store(1).SolutionBasis, parameters, directions);
  scene.counts = CountSpots(scene.classes);
  // Labels and zones on the conventional cell when the lattice is known (the 1 1 1 and 2 0 0 of a
  // cF crystal), else on the basis of solution 1 as in the results file.
  scene.conventional = scene.solved && !lattices.analysed.empty() && lattices.analysed[0];
  scene.zoneBasis = scene.solved ? store(1).SolutionBasis : Mat3{};
  if (scene.conventional) {
    const LatticeSymmetry& symmetry = lattices.symmetry[0];
    for (ClassifiedSpot& spot : scene.classes) spot.hkl = ConventionalIndices(symmetry.toConventional, spot.hkl);
    scene.zoneBasis = symmetry.conventionalBasis;
  }
  if (scene.solved) scene.zones = MainZones(scene.classes, kZonesDrawn, kSpotsPerZone);
  return scene;
}

// Title: the file, the lattice and conventional cell of solution 1, its primitive cell, and how many
// spots it explains.
void DrawTitle(Canvas& pic, const std::string& inputFileName, const RunParameters& parameters,
               const SolutionStore& store, const SolutionLattices& lattices, const PictureScene& scene) {
  const int n = parameters.NumberOfReflections;
  const double tolerance = parameters.AngularDeviationCriterion * kRadiansToDegrees;
  pic.Text(kPlotLeft, 30, 18,
           Escaped(BaseName(inputFileName)) +
               (scene.solved ? ": solution 1 of " + std::to_string(store.NumberOfSolutions) : ": no solution"),
           "font-weight=\"bold\"");
  if (!scene.solved) {
    pic.Text(kPlotLeft, 56, 14, std::to_string(n) + " spots, none indexed");
    return;
  }
  // The lattice and its conventional cell first, as a crystallographer names a crystal; then the
  // primitive cell of the results file.
  double y = 56.0;
  if (!lattices.analysed.empty() && lattices.analysed[0]) {
    const LatticeSymmetry& symmetry = lattices.symmetry[0];
    pic.Text(kPlotLeft, y, 14,
             std::string("Lattice ") + BravaisSymbol(symmetry.type) + ":<tspan dx=\"8\">" +
                 CellText(symmetry.conventionalCell.lengths, symmetry.conventionalCell.anglesInDegrees) + "</tspan>",
             "font-weight=\"bold\"");
    y += 22.0;
  }
  const CellParameters cell = CellOfBasis(store(1).SolutionBasis);
  pic.Text(kPlotLeft, y, 14,
           "Primitive cell:<tspan dx=\"8\">" + CellText(cell.lengths, cell.anglesInDegrees) +
               "</tspan><tspan dx=\"20\">V = " + Num(std::fabs(Determinant(store(1).SolutionBasis)), 2) + "</tspan>");
  pic.Text(kPlotLeft, y + 22.0, 14,
           std::to_string(scene.counts.nh) + " of " + std::to_string(n) + " spots indexed within \u0394 = " +
               Num(tolerance, 2) + "\u00b0, " + std::to_string(scene.counts.nH) + " of them within \u0394/2");
}

// The frame of the plot, its clip path, and the pole as a small grey cross.
void DrawPlotFrame(Canvas& pic, const PageMapping& page) {
  const std::string frameRect = "x=\"" + Num(kPlotLeft, 1) + "\" y=\"" + Num(kPlotTop, 1) + "\" width=\"" +
                                Num(kPlotWidth, 1) + "\" height=\"" + Num(page.plotHeight, 1) + "\"";
  pic.Add("<defs><clipPath id=\"plot\"><rect " + frameRect + "/></clipPath></defs>");
  pic.Add("<rect " + frameRect + " fill=\"none\" stroke=\"#444\" stroke-width=\"1\"/>");
  if (page.Inside(page.PageX(0.0), page.PageY(0.0))) {
    const double x = page.PageX(0.0), y = page.PageY(0.0);
    pic.Add("<path d=\"M" + Num(x - 6, 1) + " " + Num(y, 1) + "H" + Num(x + 6, 1) + "M" + Num(x, 1) + " " +
            Num(y - 6, 1) + "V" + Num(y + 6, 1) + "\" stroke=\"#bbb\" stroke-width=\"1\"/>");
  }
}

// Zones behind the spots; returns where each leaves the frame at its upper end.
std::vector<ZoneEnd> DrawZones(Canvas& pic, const PictureScene& scene) {
  const PageMapping& page = scene.page;
  std::vector<ZoneEnd> zoneEnds;
  pic.Add("<g clip-path=\"url(#plot)\" fill=\"none\" stroke-width=\"1.4\">");
  for (std::size_t z = 0; z < scene.zones.size(); ++z) {
    const MillerIndices& uvw = scene.zones[z].axis;
    const Mat3& m = scene.zoneBasis;
    Vec3 axis{};
    for (std::size_t k = 0; k < 3; ++k) axis[k] = uvw[0] * m[0][k] + uvw[1] * m[1][k] + uvw[2] * m[2][k];
    const auto segment = ClipLine(ZoneLine(scene.frame, axis), page.PlaneX(kPlotLeft), page.PlaneX(page.Right()),
                                  page.PlaneY(page.Bottom()), page.PlaneY(kPlotTop));
    if (!segment) continue;
    double xa = page.PageX(segment->first.x), ya = page.PageY(segment->first.y);
    double xb = page.PageX(segment->second.x), yb = page.PageY(segment->second.y);
    pic.Add("<path d=\"M" + Num(xa, 1) + " " + Num(ya, 1) + "L" + Num(xb, 1) + " " + Num(yb, 1) + "\" stroke=\"" +
            kZoneColours[z] + "\"/>");
    if (yb < ya || (yb == ya && xb < xa)) {
      std::swap(xa, xb);
      std::swap(ya, yb);
    }
    const double length = std::hypot(xb - xa, yb - ya);
    pic.AddLine(PageLine{xa, ya, (xb - xa) / length, (yb - ya) / length});
    zoneEnds.push_back({xa, ya, (xb - xa) / length, (yb - ya) / length, kZoneColours[z], uvw});
  }
  pic.Add("</g>");
  return zoneEnds;
}

// Spots: not indexed first, so that the indexed ones stay on top where they crowd.
void DrawSpots(Canvas& pic, const PictureScene& scene) {
  for (SpotClass drawn : {SpotClass::NotIndexed, SpotClass::WithinTolerance, SpotClass::WithinHalfTolerance}) {
    for (std::size_t j = 0; j < scene.points.size(); ++j) {
      if (!scene.points[j] || scene.classes[j].spotClass != drawn) continue;
      const double x = scene.page.PageX(scene.points[j]->x), y = scene.page.PageY(scene.points[j]->y);
      pic.Marker(drawn, x, y);
      pic.Reserve(Box{x - kMarkerRadius, y - kMarkerRadius, x + kMarkerRadius, y + kMarkerRadius});
    }
  }
}

// h k l of the first-listed (strongest) indexed spots where there is room, then each zone's [uvw]
// beside its line, stepping inward from where it enters the plot.
void DrawLabels(Canvas& pic, const PictureScene& scene, const std::vector<ZoneEnd>& zoneEnds) {
  int labelled = 0;
  for (std::size_t j = 0; j < scene.points.size() && labelled < kLabelledSpots; ++j) {
    if (!scene.points[j] || scene.classes[j].spotClass == SpotClass::NotIndexed) continue;
    int characters = 0;
    const std::string body = IndicesLabel(scene.classes[j].hkl, characters);
    const double width = LabelWidth(characters), boxHeight = kLabelSize + 2.0;
    const double x = scene.page.PageX(scene.points[j]->x), y = scene.page.PageY(scene.points[j]->y);
    if (pic.PlaceLabel(AnchorsAround(x, y, width, boxHeight), width, boxHeight, body, "#1b1b1b")) ++labelled;
  }
  for (const ZoneEnd& end : zoneEnds) {
    int characters = 0;
    const std::string body = AxisLabel(end.axis, characters);
    const double width = LabelWidth(characters), boxHeight = kLabelSize + 2.0;
    std::vector<std::pair<double, double>> anchors;
    for (double step = 6.0; step < 500.0; step += 10.0) {
      for (double side : {1.0, -1.0}) {
        const double nx = -end.dy * side, ny = end.dx * side;
        const double reach = 3.0 + std::fabs(nx) * width / 2.0 + std::fabs(ny) * boxHeight / 2.0;
        const double cx = end.x + end.dx * step + nx * reach, cy = end.y + end.dy * step + ny * reach;
        anchors.push_back({cx - width / 2.0, cy + boxHeight / 2.0});
      }
    }
    pic.PlaceLabel({anchors}, width, boxHeight, body, end.colour);
  }
}

// The legend, then how the picture was made, under the plot.
void DrawLegend(Canvas& pic, const PictureScene& scene, int n) {
  const double legendY = scene.page.Bottom() + 24.0;
  double x = kPlotLeft + 8.0;
  auto entry = [&](SpotClass spotClass, const std::string& text, int characters) {
    pic.Marker(spotClass, x, legendY - 4.5);
    pic.Text(x + 10.0, legendY, 13, text);
    x += 10.0 + characters * 13.0 * 0.6 + 24.0;
  };
  const std::string half = std::to_string(scene.counts.nH);
  const std::string full = std::to_string(scene.counts.nh - scene.counts.nH);
  const std::string other = std::to_string(n - scene.counts.nh);
  entry(SpotClass::WithinHalfTolerance, "within \u0394/2 (" + half + ")", 12 + static_cast<int>(half.size()));
  entry(SpotClass::WithinTolerance, "within \u0394 only (" + full + ")", 16 + static_cast<int>(full.size()));
  entry(SpotClass::NotIndexed, "not indexed (" + other + ")", 14 + static_cast<int>(other.size()));
  if (!scene.zones.empty()) {
    pic.Add("<path d=\"M" + Num(x - 6.0, 1) + " " + Num(legendY - 4.5, 1) + "h22\" stroke=\"" + kZoneColours[0] +
            "\" stroke-width=\"1.4\"/>");
    pic.Text(x + 22.0, legendY, 13, "zone [uvw] of solution 1");
  }
  int outside = 0;
  for (const auto& p : scene.points) outside += p ? 0 : 1;
  const GnomonicFrame& frame = scene.frame;
  pic.Text(kPlotLeft, legendY + 22.0, 11,
           "Gnomonic projection from the crystal onto the plane normal to the mean spot direction (" +
               Num(frame.pole[0], 3) + ", " + Num(frame.pole[1], 3) + ", " + Num(frame.pole[2], 3) + "),",
           "fill=\"#555\"");
  std::string second = std::string("seen from the crystal, lab ") + LabAxisName(frame.rightLabAxis) +
                       " to the right; zones are straight lines.";
  if (scene.conventional) {
    second += " Indices on the conventional cell of the lattice.";
  } else if (scene.solved) {
    second += " Indices on the basis of solution 1, as in the results file.";
  }
  if (outside > 0) second += " " + std::to_string(outside) + " spots beyond 80\u00b0 left out.";
  pic.Text(kPlotLeft, legendY + 37.0, 11, second, "fill=\"#555\"");
}

}  // namespace

std::vector<std::string> PatternPictureLines(const std::string& inputFileName, const RunParameters& parameters,
                                             const DirectionStore& directions, const SolutionStore& store,
                                             const SolutionLattices& lattices) {
  const PictureScene scene = SceneOf(parameters, directions, store, lattices);
  const double height = scene.page.Bottom() + kBelowPlot;
  Canvas pic(scene.page);
  pic.Add("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  pic.Add("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(kWidth, 0) + "\" height=\"" + Num(height, 0) +
          "\" viewBox=\"0 0 " + Num(kWidth, 0) + " " + Num(height, 0) + "\" font-family=\"" + kFont + "\">");
  pic.Add("<rect width=\"100%\" height=\"100%\" fill=\"white\"/>");
  DrawTitle(pic, inputFileName, parameters, store, lattices, scene);
  DrawPlotFrame(pic, scene.page);
  const std::vector<ZoneEnd> zoneEnds = DrawZones(pic, scene);
  DrawSpots(pic, scene);
  DrawLabels(pic, scene, zoneEnds);
  DrawLegend(pic, scene, parameters.NumberOfReflections);
  pic.Add("</svg>");
  return pic.Lines();
}

void WritePatternPicture(const std::string& inputFileName, const RunParameters& parameters,
                         const DirectionStore& directions, const SolutionStore& store, const SolutionLattices& lattices) {
  TextFile file;
  file.Open(PictureFileName(inputFileName));
  for (const std::string& line : PatternPictureLines(inputFileName, parameters, directions, store, lattices)) {
    file.WriteLine(line);
  }
  file.Close();
}

}  // namespace orv
