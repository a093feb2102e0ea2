// The summary, the grains and the pictures of a map.
#include "maps/map_outputs.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "maps/grain_setting.hpp"
#include "maps/ipf_colour.hpp"
#include "reports/svg_canvas.hpp"
#include "text/text_file.hpp"

namespace orv {

namespace {

constexpr const char* kMissingColour = "#d8d8d8";

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value == 0.0 ? 0.0 : value);
  return text;
}

std::string Scientific(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.4e", value == 0.0 ? 0.0 : value);
  return text;
}

std::string General(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.10g", value == 0.0 ? 0.0 : value);
  return text;
}

std::string CsvText(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += (c == '\n' || c == '\r') ? ' ' : c;
  }
  return quoted + "\"";
}

LatticeCell MeasuredCell(const Mat3& basis) {
  Mat3 metric{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) metric[i][j] = basis[i][0] * basis[j][0] + basis[i][1] * basis[j][1] + basis[i][2] * basis[j][2];
  return CellOfMetric(metric);
}

void WriteLines(const std::string& path, const std::vector<std::string>& lines) {
  TextFile file;
  file.Open(path);
  for (const std::string& line : lines) file.WriteLine(line);
  file.Close();
}

// Cells of the map on a page: the top left corner and the size of a cell.
struct MapPlacement {
  double left = 0.0;
  double top = 0.0;
  double cell = 1.0;
};

std::string Rect(double x, double y, double w, double h, const std::string& fill) {
  return "<rect x=\"" + Fixed(x, 2) + "\" y=\"" + Fixed(y, 2) + "\" width=\"" + Fixed(w, 2) + "\" height=\"" +
         Fixed(h, 2) + "\" fill=\"" + fill + "\"/>";
}

std::string Text(double x, double y, const std::string& text, const std::string& anchor = "start", int size = 12) {
  return "<text x=\"" + Fixed(x, 1) + "\" y=\"" + Fixed(y, 1) + "\" font-size=\"" + std::to_string(size) +
         "\" text-anchor=\"" + anchor + "\">" + svg::Escaped(text) + "</text>";
}

// The points of the map in the given colours (one per list position, empty for none).
void DrawCells(std::vector<std::string>& svg, const MapResults& map, const MapPlacement& at,
               const std::vector<std::string>& colours) {
  svg.push_back(Rect(at.left, at.top, at.cell * map.layout.columns, at.cell * map.layout.rows, kMissingColour));
  for (std::size_t p = 0; p < map.records.size(); ++p) {
    if (colours[p].empty()) continue;
    const MapPoint& point = map.layout.points[p];
    svg.push_back(Rect(at.left + at.cell * point.column, at.top + at.cell * point.row, at.cell, at.cell, colours[p]));
  }
}

// A black line between neighbouring cells of different grains (an unindexed point is a grain of its own).
void DrawBoundaries(std::vector<std::string>& svg, const MapResults& map, const MapPlacement& at) {
  std::string path;
  for (int row = 0; row < map.layout.rows; ++row)
    for (int column = 0; column < map.layout.columns; ++column) {
      const long here = map.layout.At(column, row);
      if (here < 0) continue;
      const int grain = map.grains.grainOf[static_cast<std::size_t>(here)];
      const long right = map.layout.At(column + 1, row);
      const long below = map.layout.At(column, row + 1);
      const double x = at.left + at.cell * (column + 1);
      const double y = at.top + at.cell * (row + 1);
      if (right >= 0 && map.grains.grainOf[static_cast<std::size_t>(right)] != grain)
        path += "M" + Fixed(x, 2) + " " + Fixed(y - at.cell, 2) + "V" + Fixed(y, 2);
      if (below >= 0 && map.grains.grainOf[static_cast<std::size_t>(below)] != grain)
        path += "M" + Fixed(x - at.cell, 2) + " " + Fixed(y, 2) + "H" + Fixed(x, 2);
    }
  if (!path.empty())
    svg.push_back("<path d=\"" + path + "\" fill=\"none\" stroke=\"black\" stroke-width=\"" +
                  Fixed(std::max(0.6, at.cell / 6.0), 2) + "\"/>");
}

double CellSize(const MapLayout& layout, double room) {
  const int side = std::max(layout.columns, layout.rows);
  return std::clamp(room / std::max(side, 1), 1.0, 16.0);
}

std::string Header(double width, double height) {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Fixed(width, 0) + "\" height=\"" + Fixed(height, 0) +
         "\" viewBox=\"0 0 " + Fixed(width, 0) + " " + Fixed(height, 0) +
         "\" font-family=\"sans-serif\" shape-rendering=\"crispEdges\">";
}

// The lattice type with the most indexed points (the earlier type on a tie) and one point of it.
long MostCommonTypePoint(const MapResults& map) {
  std::map<int, long> count;
  std::map<int, long> first;
  for (std::size_t p = 0; p < map.records.size(); ++p) {
    if (!map.records[p].Indexed()) continue;
    const int type = static_cast<int>(map.records[p].type);
    ++count[type];
    first.emplace(type, static_cast<long>(p));
  }
  long best = -1;
  long most = 0;
  for (const auto& [type, n] : count)
    if (n > most) {
      most = n;
      best = first[type];
    }
  return best;
}

// Colour of a value in [-limit, limit], blue through white to red.
std::string Diverging(double value, double limit) {
  const double t = std::clamp(value / limit, -1.0, 1.0);
  return t >= 0.0 ? HexColour(Rgb{1.0, 1.0 - t, 1.0 - t}) : HexColour(Rgb{1.0 + t, 1.0 + t, 1.0});
}

// Colour of a value in [0, limit], white through orange to dark red.
std::string Sequential(double value, double limit) {
  const double t = std::clamp(value / limit, 0.0, 1.0);
  return HexColour(Rgb{1.0 - 0.45 * t * t, 1.0 - 0.9 * t, 1.0 - t});
}

}  // namespace

void WriteMapSummary(const std::string& path, const MapResults& map) {
  std::vector<std::string> lines;
  lines.push_back(
      "file,x,y,column,row,grain,status,indexed_by,seed,bravais,conv_a,conv_b,conv_c,conv_alpha,conv_beta,conv_gamma,"
      "phi1,Phi,phi2,misorientation,e11,e22,e33,e23,e13,e12,equivalent_strain,nh,nH,N,message");
  for (std::size_t p = 0; p < map.records.size(); ++p) {
    const MapPointRecord& r = map.records[p];
    const MapPoint& point = map.layout.points[p];
    std::string line = CsvText(r.file) + "," + General(point.x) + "," + General(point.y) + "," +
                       std::to_string(point.column) + "," + std::to_string(point.row) + "," +
                       std::to_string(map.grains.grainOf[p]) + "," + r.status + ",";
    if (!r.Indexed()) {
      line += std::string(23, ',') + CsvText(r.message);
      lines.push_back(line);
      continue;
    }
    line += std::string(r.seeded ? "seeded" : "ab_initio") + ",";
    if (r.seeded && r.seed >= 0 && static_cast<std::size_t>(r.seed) < map.records.size())
      line += CsvText(map.records[static_cast<std::size_t>(r.seed)].file);
    line += std::string(",") + BravaisSymbol(r.type);
    const LatticeCell cell = MeasuredCell(r.conventionalBasis);
    for (double v : cell.lengths) line += "," + Fixed(v, 6);
    for (double v : cell.anglesInDegrees) line += "," + Fixed(v, 5);
    for (double v : map.grains.eulerInGrainSetting[p]) line += "," + Fixed(v, 5);
    line += "," + Fixed(map.grains.misorientationToMean[p], 5);
    if (r.strained) {
      for (double v : r.strain) line += "," + Scientific(v);
      line += "," + Scientific(r.equivalentStrain);
    } else {
      line += ",,,,,,,";
    }
    line += "," + std::to_string(r.support.nFull) + "," + std::to_string(r.support.nHalf) + "," +
            std::to_string(r.support.reflections) + ",";
    lines.push_back(line);
  }
  WriteLines(path, lines);
}

void WriteGrainTable(const std::string& path, const MapResults& map) {
  std::vector<std::string> lines;
  lines.push_back("grain,bravais,points,first_file,phi1,Phi,phi2,largest_misorientation");
  for (const MapGrain& g : map.grains.grains) {
    lines.push_back(std::to_string(g.number) + "," + BravaisSymbol(g.type) + "," + std::to_string(g.points) + "," +
                    CsvText(map.records[static_cast<std::size_t>(g.firstPoint)].file) + "," +
                    Fixed(g.meanEulerDegrees[0], 5) + "," + Fixed(g.meanEulerDegrees[1], 5) + "," +
                    Fixed(g.meanEulerDegrees[2], 5) + "," + Fixed(g.largestMisorientation, 5));
  }
  WriteLines(path, lines);
}

void WriteOrientationPicture(const std::string& path, const MapResults& map) {
  const MapLayout& layout = map.layout;
  const MapPlacement at{20.0, 50.0, CellSize(layout, 640.0)};
  const double mapWidth = at.cell * layout.columns;
  const double mapHeight = at.cell * layout.rows;
  const double keyLeft = at.left + mapWidth + 30.0;
  const double keySize = 200.0;
  const double width = keyLeft + keySize + 40.0;
  const double height = std::max(at.top + mapHeight, at.top + keySize + 60.0) + 40.0;
  std::vector<std::string> svg;
  svg.push_back(Header(width, height));
  svg.push_back(Rect(0, 0, width, height, "white"));
  svg.push_back(Text(at.left, 24, "Orientation map: crystal direction along the sample z (inverse pole figure), " +
                                      std::to_string(map.grains.grains.size()) + " grains"));

  // Colours of the points, each from its own lattice's key.
  const Vec3 sampleZ{0.0, 0.0, 1.0};
  std::vector<std::string> colours(map.records.size());
  std::map<std::vector<double>, std::pair<std::array<Vec3, 3>, std::vector<Mat3>>> keys;
  for (std::size_t p = 0; p < map.records.size(); ++p) {
    const MapPointRecord& r = map.records[p];
    if (!r.Indexed()) continue;
    std::vector<double> key = {static_cast<double>(r.type)};
    for (double v : r.settingCell.lengths) key.push_back(v);
    for (double v : r.settingCell.anglesInDegrees) key.push_back(v);
    for (const auto& row : r.toConventional)
      for (int v : row) key.push_back(v);
    auto found = keys.find(key);
    if (found == keys.end())
      found = keys
                  .emplace(key, std::make_pair(KeyCornerDirections(r.type, r.settingCell),
                                               CrystalRotationsOfCell(r.settingCell, r.toConventional)))
                  .first;
    colours[p] = HexColour(OrientationColour(r.u, sampleZ, found->second.first, found->second.second));
  }
  DrawCells(svg, map, at, colours);
  DrawBoundaries(svg, map, at);

  // The key: the standard triangle in stereographic projection, each small square in its colour.
  const long example = MostCommonTypePoint(map);
  if (example >= 0) {
    const MapPointRecord& r = map.records[static_cast<std::size_t>(example)];
    const std::array<Vec3, 3> corners = KeyCornerDirections(r.type, r.settingCell);
    const std::array<std::string, 3> names = KeyCornerNames(r.type);
    auto project = [](const Vec3& v) { return std::array<double, 2>{v[0] / (1.0 + v[2]), v[1] / (1.0 + v[2])}; };
    double xMin = 0.0, xMax = 0.0, yMin = 0.0, yMax = 0.0;
    for (int i = 0; i < 3; ++i) {
      const auto q = project(corners[i]);
      if (i == 0 || q[0] < xMin) xMin = q[0];
      if (i == 0 || q[0] > xMax) xMax = q[0];
      if (i == 0 || q[1] < yMin) yMin = q[1];
      if (i == 0 || q[1] > yMax) yMax = q[1];
    }
    // Edges of the triangle bulge a little beyond its corners.
    const double margin = 0.08 * std::max(xMax - xMin, yMax - yMin);
    xMin -= margin; xMax += margin; yMin -= margin; yMax += margin;
    const double span = std::max(xMax - xMin, yMax - yMin);
    const double scale = keySize / span;
    const double keyTop = at.top + 20.0;
    const int steps = 64;
    const double step = span / steps;
    const std::vector<Mat3> identity = {Mat3{{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}}}};
    Mat3 cornerRows{};
    for (int i = 0; i < 3; ++i) cornerRows[i] = corners[i];
    Mat3 dual{};
    const bool solvable = InverseTranspose(cornerRows, dual, 1e-300) == kStatusSuccess;
    for (int iy = 0; iy < steps && solvable; ++iy)
      for (int ix = 0; ix < steps; ++ix) {
        const double X = xMin + (ix + 0.5) * step;
        const double Y = yMin + (iy + 0.5) * step;
        const double r2 = X * X + Y * Y;
        const Vec3 v{2.0 * X / (1.0 + r2), 2.0 * Y / (1.0 + r2), (1.0 - r2) / (1.0 + r2)};
        Vec3 w{};
        for (int c = 0; c < 3; ++c) w[c] = dual[c][0] * v[0] + dual[c][1] * v[1] + dual[c][2] * v[2];
        if (std::min({w[0], w[1], w[2]}) < -1e-9) continue;
        const std::string colour = HexColour(KeyColour(v, corners, identity));
        svg.push_back(Rect(keyLeft + (X - xMin) * scale, keyTop + (yMax - Y) * scale - step * scale, step * scale + 0.3,
                           step * scale + 0.3, colour));
      }
    for (int i = 0; i < 3; ++i) {
      const auto q = project(corners[i]);
      const double x = keyLeft + (q[0] - xMin) * scale;
      const double y = keyTop + (yMax - q[1]) * scale;
      svg.push_back(Text(x, y + (i == 2 ? -6.0 : 16.0), names[i], "middle"));
    }
    svg.push_back(Text(keyLeft, keyTop + keySize + 40.0, std::string("Key: ") + BravaisSymbol(r.type) +
                                                             ", sample z in the crystal"));
  }
  svg.push_back("</svg>");
  WriteLines(path, svg);
}

void WriteStrainPicture(const std::string& path, const MapResults& map) {
  const MapLayout& layout = map.layout;
  static const char* kNames[7] = {"equivalent strain", "e11", "e22", "e33", "e23", "e13", "e12"};
  const double cell = CellSize(layout, 260.0);
  const double panelWidth = std::max(cell * layout.columns, 200.0) + 30.0;
  const double panelHeight = cell * layout.rows + 90.0;
  const int across = 3;
  const double width = 20.0 + across * panelWidth;
  const double height = 50.0 + 3 * panelHeight;
  std::vector<std::string> svg;
  svg.push_back(Header(width, height));
  svg.push_back(Rect(0, 0, width, height, "white"));
  svg.push_back(Text(20, 24, "Deviatoric strain against the reference cell (frame of the directions)"));
  for (int k = 0; k < 7; ++k) {
    const int slot = k == 0 ? 0 : k + 2;  // the equivalent strain alone on the first line
    const MapPlacement at{20.0 + (slot % across) * panelWidth, 70.0 + (slot / across) * panelHeight, cell};
    auto value = [&](const MapPointRecord& r) { return k == 0 ? r.equivalentStrain : r.strain[static_cast<std::size_t>(k - 1)]; };
    double limit = 0.0;
    for (const MapPointRecord& r : map.records)
      if (r.Indexed() && r.strained) limit = std::max(limit, std::fabs(value(r)));
    if (!(limit > 0.0)) limit = 1e-6;
    std::vector<std::string> colours(map.records.size());
    for (std::size_t p = 0; p < map.records.size(); ++p) {
      const MapPointRecord& r = map.records[p];
      if (r.Indexed() && r.strained) colours[p] = k == 0 ? Sequential(value(r), limit) : Diverging(value(r), limit);
    }
    svg.push_back(Text(at.left, at.top - 8.0, kNames[k]));
    DrawCells(svg, map, at, colours);
    DrawBoundaries(svg, map, at);
    // The colour bar under the map.
    const double barTop = at.top + cell * layout.rows + 10.0;
    const int pieces = 40;
    const double barWidth = 200.0;
    for (int i = 0; i < pieces; ++i) {
      const double t = (i + 0.5) / pieces;
      const std::string colour = k == 0 ? Sequential(t * limit, limit) : Diverging((2.0 * t - 1.0) * limit, limit);
      svg.push_back(Rect(at.left + i * barWidth / pieces, barTop, barWidth / pieces + 0.2, 12.0, colour));
    }
    svg.push_back(Text(at.left, barTop + 28.0, k == 0 ? "0" : Scientific(-limit), "start", 11));
    svg.push_back(Text(at.left + barWidth, barTop + 28.0, Scientific(limit), "end", 11));
  }
  svg.push_back("</svg>");
  WriteLines(path, svg);
}

}  // namespace orv
