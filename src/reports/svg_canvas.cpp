// The drawing pieces of the pattern picture: page mapping, markers, texts and label placement.
#include "reports/svg_canvas.hpp"

#include <algorithm>
#include <cstdlib>

#include "text/line_format.hpp"
#include "text/printable_text.hpp"
#include "text/trim_blanks.hpp"

namespace orv::svg {

namespace {

const char* const kHalfColour = "#1b1b1b";
const char* const kFullColour = "#c4412b";
const char* const kOtherColour = "#8c8c8c";

}  // namespace

std::string Num(double value, int decimals) {
  std::string text = TrimBlanks(FormatFixed(value, 32, decimals));
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : PrintableText(text)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

bool PageLine::Crosses(const Box& box) const {
  int above = 0, below = 0;
  for (double cx : {box.x0, box.x1}) {
    for (double cy : {box.y0, box.y1}) {
      const double side = (cx - x) * dy - (cy - y) * dx;
      (side > 0.0 ? above : below) += 1;
    }
  }
  return above > 0 && below > 0;
}

PageMapping MappingFor(const std::vector<std::optional<PlanePoint>>& points) {
  double x0 = 0.0, x1 = 0.0, y0 = 0.0, y1 = 0.0;
  bool any = false;
  for (const auto& p : points) {
    if (!p) continue;
    if (!any) {
      x0 = x1 = p->x;
      y0 = y1 = p->y;
      any = true;
    }
    x0 = std::min(x0, p->x);
    x1 = std::max(x1, p->x);
    y0 = std::min(y0, p->y);
    y1 = std::max(y1, p->y);
  }
  PageMapping mapping;
  mapping.centreX = (x0 + x1) / 2.0;
  mapping.centreY = (y0 + y1) / 2.0;
  // A margin of a tenth on each side leaves room for the markers and labels at the edge.
  const double across = std::max({x1 - x0, y1 - y0, 0.05}) * 1.2;
  const double down = std::max(y1 - y0, 0.05 * across) * 1.2;
  mapping.plotHeight = std::clamp(kPlotWidth * down / across, kPlotLeastHeight, kPlotMostHeight);
  mapping.scale = std::min(kPlotWidth / across, mapping.plotHeight / down);
  return mapping;
}


std::string IndicesLabel(const MillerIndices& hkl, int& characters) {
  std::string label;
  characters = 0;
  for (std::size_t k = 0; k < 3; ++k) {
    if (k > 0) label += ' ';
    const std::string digits = std::to_string(std::abs(hkl[k]));
    characters += static_cast<int>(digits.size()) + (k > 0 ? 1 : 0);
    if (hkl[k] < 0) {
      label += "<tspan text-decoration=\"overline\">" + digits + "</tspan>";
    } else {
      label += digits;
    }
  }
  return label;
}

std::string AxisLabel(const MillerIndices& uvw, int& characters) {
  std::string inner = IndicesLabel(uvw, characters);
  characters += 2;
  return "[" + inner + "]";
}

double LabelWidth(int characters) { return characters * kLabelSize * 0.62 + 2.0; }

std::vector<Anchors> AnchorsAround(double x, double y, double width, double height) {
  const double gap = kMarkerRadius + 2.0;
  return {{{x + gap, y + height / 2.0},
           {x - gap - width, y + height / 2.0},
           {x - width / 2.0, y - gap},
           {x - width / 2.0, y + gap + height}},
          {{x + gap, y - gap}, {x - gap - width, y - gap}, {x + gap, y + gap + height}, {x - gap - width, y + gap + height}}};
}

void Canvas::Text(double x, double y, double size, const std::string& body, const std::string& extra) {
  Add("<text x=\"" + Num(x, 1) + "\" y=\"" + Num(y, 1) + "\" font-size=\"" + Num(size, 0) + "\"" +
      (extra.empty() ? "" : " " + extra) + ">" + body + "</text>");
}

void Canvas::Marker(SpotClass spotClass, double x, double y) {
  const std::string cx = Num(x, 1), cy = Num(y, 1);
  switch (spotClass) {
    case SpotClass::WithinHalfTolerance:
      Add("<circle cx=\"" + cx + "\" cy=\"" + cy + "\" r=\"" + Num(kMarkerRadius, 1) + "\" fill=\"" + kHalfColour +
          "\"/>");
      break;
    case SpotClass::WithinTolerance:
      Add("<circle cx=\"" + cx + "\" cy=\"" + cy + "\" r=\"" + Num(kMarkerRadius, 1) + "\" fill=\"white\" stroke=\"" +
          kFullColour + "\" stroke-width=\"2\"/>");
      break;
    case SpotClass::NotIndexed: {
      const double d = kMarkerRadius * 0.8;
      Add("<path d=\"M" + Num(x - d, 1) + " " + Num(y - d, 1) + "L" + Num(x + d, 1) + " " + Num(y + d, 1) + "M" +
          Num(x - d, 1) + " " + Num(y + d, 1) + "L" + Num(x + d, 1) + " " + Num(y - d, 1) + "\" stroke=\"" +
          kOtherColour + "\" stroke-width=\"1.6\"/>");
      break;
    }
  }
}

bool Canvas::PlaceLabel(const std::vector<Anchors>& groups, double width, double height, const std::string& body,
                        const std::string& colour) {
  for (const Anchors& anchors : groups) {
    for (bool avoidLines : {true, false}) {
      for (const auto& [x, y] : anchors) {
        const Box box{x, y - height, x + width, y};
        if (!Free(box, avoidLines)) continue;
        taken_.push_back(box);
        Text(x, y - height * 0.22, kLabelSize, body,
             "fill=\"" + colour + "\" stroke=\"white\" stroke-width=\"3\" paint-order=\"stroke\"");
        return true;
      }
    }
  }
  return false;
}

bool Canvas::Free(const Box& box, bool avoidLines) const {
  if (box.x0 < kPlotLeft + 2 || box.x1 > page_.Right() - 2 || box.y0 < kPlotTop + 2 || box.y1 > page_.Bottom() - 2) {
    return false;
  }
  if (std::any_of(taken_.begin(), taken_.end(), [&](const Box& t) { return t.Overlaps(box); })) return false;
  return !avoidLines || std::none_of(linesDrawn_.begin(), linesDrawn_.end(),
                                     [&](const PageLine& line) { return line.Crosses(box); });
}

}  // namespace orv::svg
