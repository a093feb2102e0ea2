// The drawing pieces of the pattern picture: where the projection plane lands on the page, the
// markers of the spot classes, texts, and labels placed where they hide nothing.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "geometry/index_direction.hpp"
#include "reports/gnomonic_projection.hpp"
#include "reports/spot_classes.hpp"

namespace orv::svg {

// Page layout in SVG user units (pixels at 96 dpi).
constexpr double kWidth = 760.0;
constexpr double kPlotLeft = 30.0;
constexpr double kPlotTop = 124.0;
constexpr double kPlotWidth = 700.0;
// The plot is as high as the spots need at the scale of its width, within these bounds.
constexpr double kPlotLeastHeight = 440.0;
constexpr double kPlotMostHeight = 700.0;
constexpr double kBelowPlot = 80.0;
constexpr double kMarkerRadius = 4.5;
constexpr double kLabelSize = 12.0;

// A number for the picture: fixed point without blanks, and without the point when it has no decimals.
std::string Num(double value, int decimals);

// The text with the characters that XML reserves written as entities, and control bytes and bytes
// outside well-formed UTF-8 (a file name may hold any) replaced by '?', so the document stays well-formed.
std::string Escaped(const std::string& text);

struct Box {
  double x0, y0, x1, y1;
  bool Overlaps(const Box& other) const {
    return x0 < other.x1 && other.x0 < x1 && y0 < other.y1 && other.y0 < y1;
  }
};

// A zone line on the page: a point on it and its unit direction.
struct PageLine {
  double x, y, dx, dy;
  // True when the line passes through the box (its corners do not all lie on one side).
  bool Crosses(const Box& box) const;
};

// Where the plane of the projection lands on the page: the same scale across and down.
struct PageMapping {
  double centreX = 0.0;
  double centreY = 0.0;
  double scale = 1.0;  // page units per unit of the plane
  double plotHeight = kPlotMostHeight;

  double Right() const { return kPlotLeft + kPlotWidth; }
  double Bottom() const { return kPlotTop + plotHeight; }
  double PageX(double x) const { return kPlotLeft + kPlotWidth / 2.0 + (x - centreX) * scale; }
  double PageY(double y) const { return kPlotTop + plotHeight / 2.0 - (y - centreY) * scale; }
  double PlaneX(double pageX) const { return centreX + (pageX - kPlotLeft - kPlotWidth / 2.0) / scale; }
  double PlaneY(double pageY) const { return centreY - (pageY - kPlotTop - plotHeight / 2.0) / scale; }
  bool Inside(double x, double y) const { return x > kPlotLeft && x < Right() && y > kPlotTop && y < Bottom(); }
};

// The mapping that shows every projected point with a margin around them.
PageMapping MappingFor(const std::vector<std::optional<PlanePoint>>& points);

// The indices as a label, negative ones with a bar over the digits as crystallographers write them;
// `characters` is set to the number of characters shown.
std::string IndicesLabel(const MillerIndices& hkl, int& characters);
// The same in brackets, for a zone axis [uvw].
std::string AxisLabel(const MillerIndices& uvw, int& characters);

// Width on the page of a label of that many characters.
double LabelWidth(int characters);

using Anchors = std::vector<std::pair<double, double>>;  // left, bottom corners of a label

// Beside a spot: right, left, above, below first, then the four diagonal places.
std::vector<Anchors> AnchorsAround(double x, double y, double width, double height);

// The SVG elements of a picture, line by line, with what they cover for the placing of labels.
class Canvas {
 public:
  explicit Canvas(const PageMapping& page) : page_(page) {}
  void Add(const std::string& line) { lines_.push_back(line); }
  const std::vector<std::string>& Lines() const { return lines_; }

  void Text(double x, double y, double size, const std::string& body, const std::string& extra = "");
  // Filled black circle, red ring or grey cross.
  void Marker(SpotClass spotClass, double x, double y);

  // Places a text at the first candidate box (left, bottom corner) that stays inside the plot and
  // clear of the markers and the labels already placed. The candidates come in groups, nearest
  // first; within a group a box clear of the zone lines is preferred. True when placed.
  bool PlaceLabel(const std::vector<Anchors>& groups, double width, double height, const std::string& body,
                  const std::string& colour);

  // A zone line drawn, which labels avoid where they can.
  void AddLine(const PageLine& line) { linesDrawn_.push_back(line); }
  // A box that labels must not cover (a marker).
  void Reserve(const Box& box) { taken_.push_back(box); }

 private:
  bool Free(const Box& box, bool avoidLines) const;

  const PageMapping& page_;
  std::vector<PageLine> linesDrawn_;
  std::vector<std::string> lines_;
  std::vector<Box> taken_;
};

}  // namespace orv::svg
