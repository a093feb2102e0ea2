// The picture of a pattern of several grains: each grain's spots and zones in its own colour.
#include "reports/svg_grains.hpp"

#include <cmath>
#include <optional>

#include "geometry/constants.hpp"
#include "reports/gnomonic_projection.hpp"
#include "reports/spot_classes.hpp"
#include "reports/svg_canvas.hpp"
#include "reports/svg_pattern.hpp"
#include "text/text_file.hpp"
#include "text/trim_blanks.hpp"
#include "reports/zone_selection.hpp"

namespace orv {

using namespace svg;  // the drawing pieces, in this file only

namespace {

const char* const kFont = "DejaVu Sans, Helvetica, Arial, sans-serif";
constexpr int kZonesPerGrain = 3;
constexpr int kSpotsPerZone = 3;
constexpr double kLegendLine = 18.0;

// Grain colours that stay apart for readers with the common colour-vision deficiencies; a grain
// beyond the last takes them again from the first.
const char* const kGrainColours[] = {"#0072b2", "#d55e00", "#009e73", "#cc79a7", "#e69f00", "#56b4e9", "#882255"};
constexpr std::size_t kGrainColourCount = sizeof(kGrainColours) / sizeof(kGrainColours[0]);

const char* GrainColour(std::size_t grain) { return kGrainColours[grain % kGrainColourCount]; }

std::string BaseName(const std::string& path) {
  const std::string name = TrimBlanks(path);
  const std::size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

std::string GrainText(std::size_t g, const Grain& grain) {
  std::string text = "Grain " + std::to_string(g + 1) + ": ";
  if (grain.analysed) {
    const LatticeCell& c = grain.symmetry.conventionalCell;
    text += std::string(BravaisSymbol(grain.symmetry.type)) + "  a, b, c = " + Num(c.lengths[0], 3) + ", " +
            Num(c.lengths[1], 3) + ", " + Num(c.lengths[2], 3) + "  \u03b1, \u03b2, \u03b3 = " +
            Num(c.anglesInDegrees[0], 2) + "\u00b0, " + Num(c.anglesInDegrees[1], 2) + "\u00b0, " +
            Num(c.anglesInDegrees[2], 2) + "\u00b0";
  } else {
    text += "lattice not analysed";
  }
  text += "  (" + std::to_string(grain.spots.size()) + " spots)";
  if (!grain.phaseName.empty()) text += "  " + Escaped(grain.phaseName);
  return text;
}

}  // namespace

std::vector<std::string> GrainPictureLines(const std::string& inputFileName, const RunParameters& parameters,
                                           const DirectionStore& directions, const GrainSet& grains) {
  const int n = parameters.NumberOfReflections;
  std::vector<Vec3> spots;
  for (int j = 1; j <= n; ++j) spots.push_back(directions(j));
  const GnomonicFrame frame = FrameAboutMeanDirection(spots);
  std::vector<std::optional<PlanePoint>> points;
  for (const Vec3& u : spots) points.push_back(ProjectDirection(frame, u));
  const PageMapping page = MappingFor(points);

  // The legend of the grains goes under the plot, one line each.
  const double legendTop = page.Bottom() + 24.0;
  const double height = legendTop + kLegendLine * static_cast<double>(grains.grains.size() + 1) + 30.0;
  Canvas pic(page);
  pic.Add("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  pic.Add("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(kWidth, 0) + "\" height=\"" + Num(height, 0) +
          "\" viewBox=\"0 0 " + Num(kWidth, 0) + " " + Num(height, 0) + "\" font-family=\"" + kFont + "\">");
  pic.Add("<rect width=\"100%\" height=\"100%\" fill=\"white\"/>");
  pic.Text(kPlotLeft, 30, 18,
           Escaped(BaseName(inputFileName)) + ": " + std::to_string(grains.grains.size()) + " grains",
           "font-weight=\"bold\"");
  pic.Text(kPlotLeft, 56, 14,
           std::to_string(n - static_cast<int>(grains.spotsOfNoGrain.size())) + " of " + std::to_string(n) +
               " spots indexed within \u0394 = " + Num(parameters.AngularDeviationCriterion * kRadiansToDegrees, 2) +
               "\u00b0 by a grain, " + std::to_string(grains.sharedSpots.size()) + " of them by two or more");

  const std::string frameRect = "x=\"" + Num(kPlotLeft, 1) + "\" y=\"" + Num(kPlotTop, 1) + "\" width=\"" +
                                Num(kPlotWidth, 1) + "\" height=\"" + Num(page.plotHeight, 1) + "\"";
  pic.Add("<defs><clipPath id=\"plot\"><rect " + frameRect + "/></clipPath></defs>");
  pic.Add("<rect " + frameRect + " fill=\"none\" stroke=\"#444\" stroke-width=\"1\"/>");

  // Each grain's main zones, in its colour, behind the spots.
  pic.Add("<g clip-path=\"url(#plot)\" fill=\"none\" stroke-width=\"1.2\">");
  for (std::size_t g = 0; g < grains.grains.size(); ++g) {
    const Grain& grain = grains.grains[g];
    std::vector<ClassifiedSpot> classes = ClassifySpots(grain.basis, parameters, directions);
    Mat3 zoneBasis = grain.basis;
    if (grain.analysed) {
      const IntMat3& t = grain.symmetry.toConventional;
      for (ClassifiedSpot& spot : classes) {
        const MillerIndices h = spot.hkl;
        for (std::size_t r = 0; r < 3; ++r) spot.hkl[r] = t[r][0] * h[0] + t[r][1] * h[1] + t[r][2] * h[2];
      }
      zoneBasis = grain.symmetry.conventionalBasis;
    }
    for (const Zone& zone : MainZones(classes, kZonesPerGrain, kSpotsPerZone)) {
      Vec3 axis{};
      for (std::size_t k = 0; k < 3; ++k)
        axis[k] = zone.axis[0] * zoneBasis[0][k] + zone.axis[1] * zoneBasis[1][k] + zone.axis[2] * zoneBasis[2][k];
      const auto segment = ClipLine(ZoneLine(frame, axis), page.PlaneX(kPlotLeft), page.PlaneX(page.Right()),
                                    page.PlaneY(page.Bottom()), page.PlaneY(kPlotTop));
      if (!segment) continue;
      pic.Add("<path d=\"M" + Num(page.PageX(segment->first.x), 1) + " " + Num(page.PageY(segment->first.y), 1) +
              "L" + Num(page.PageX(segment->second.x), 1) + " " + Num(page.PageY(segment->second.y), 1) +
              "\" stroke=\"" + GrainColour(g) + "\" stroke-dasharray=\"6 3\"/>");
    }
  }
  pic.Add("</g>");

  // Spots: those of no grain first, then by grain; a shared spot gets a ring of its second grain.
  const std::string radius = Num(kMarkerRadius, 1);
  for (std::size_t j = 0; j < points.size(); ++j) {
    if (!points[j]) continue;
    const double x = page.PageX(points[j]->x), y = page.PageY(points[j]->y);
    const std::vector<int>& owners = grains.grainsOfSpots[j];
    if (owners.empty()) {
      pic.Marker(SpotClass::NotIndexed, x, y);
      continue;
    }
    const std::string cx = Num(x, 1), cy = Num(y, 1);
    pic.Add("<circle cx=\"" + cx + "\" cy=\"" + cy + "\" r=\"" + radius + "\" fill=\"" +
            GrainColour(static_cast<std::size_t>(owners[0] - 1)) + "\"/>");
    if (owners.size() > 1) {
      pic.Add("<circle cx=\"" + cx + "\" cy=\"" + cy + "\" r=\"" + Num(kMarkerRadius + 2.0, 1) +
              "\" fill=\"none\" stroke=\"" + GrainColour(static_cast<std::size_t>(owners[1] - 1)) +
              "\" stroke-width=\"2\"/>");
    }
  }

  // Legend: one line per grain, then the spots of no grain and the shared spots.
  double y = legendTop;
  for (std::size_t g = 0; g < grains.grains.size(); ++g, y += kLegendLine) {
    pic.Add("<circle cx=\"" + Num(kPlotLeft + 8.0, 1) + "\" cy=\"" + Num(y - 4.5, 1) + "\" r=\"" + radius +
            "\" fill=\"" + GrainColour(g) + "\"/>");
    pic.Add("<path d=\"M" + Num(kPlotLeft + 18.0, 1) + " " + Num(y - 4.5, 1) + "h18\" stroke=\"" + GrainColour(g) +
            "\" stroke-width=\"1.2\" stroke-dasharray=\"6 3\"/>");
    pic.Text(kPlotLeft + 44.0, y, 13, GrainText(g, grains.grains[g]));
  }
  pic.Marker(SpotClass::NotIndexed, kPlotLeft + 8.0, y - 4.5);
  pic.Text(kPlotLeft + 44.0, y, 13,
           "no grain (" + std::to_string(grains.spotsOfNoGrain.size()) + ");  a ring: shared with a second grain (" +
               std::to_string(grains.sharedSpots.size()) + ");  dashed: main zones of each grain");
  pic.Text(kPlotLeft, y + 22.0, 11,
           "Gnomonic projection from the crystal onto the plane normal to the mean spot direction, as in the "
           "single-grain picture.",
           "fill=\"#555\"");
  pic.Add("</svg>");
  return pic.Lines();
}

void WriteGrainPicture(const std::string& inputFileName, const RunParameters& parameters,
                       const DirectionStore& directions, const GrainSet& grains) {
  TextFile file;
  file.Open(PictureFileName(inputFileName));
  for (const std::string& line : GrainPictureLines(inputFileName, parameters, directions, grains)) file.WriteLine(line);
  file.Close();
}

}  // namespace orv
