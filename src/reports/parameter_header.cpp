// The date line and parameter block that open the results file and the log file.
#include "reports/parameter_header.hpp"

#include "geometry/constants.hpp"
#include "text/line_format.hpp"
#include "text/text_file.hpp"

namespace orv {

namespace {

// Characters [first, first + count) of a clock reading; a short reading gives fewer characters.
std::string Piece(const std::string& text, std::size_t first, std::size_t count) {
  if (first >= text.size()) return std::string();
  return text.substr(first, count);
}

std::string DateLine(const LocalDateTime& now) {
  return Line()
      .Text(" Date : ")
      .A(Piece(now.date, 0, 4), 4)
      .Text(".")
      .A(Piece(now.date, 4, 2), 2)
      .Text(".")
      .A(Piece(now.date, 6, 2), 2)
      .X(20)
      .Text("Time : ")
      .A(Piece(now.time, 0, 2), 2)
      .Text(":")
      .A(Piece(now.time, 2, 2), 2)
      .Text(":")
      .A(Piece(now.time, 4, 6), 6)
      .str();
}

}  // namespace

void WriteParameterHeader(TextFile& out, HeaderTarget target, const RunParameters& parameters,
                          int numberOfSolutions, const LocalDateTime& now, const HeaderNotes& notes) {
  out.WriteLine(DateLine(now));
  out.WriteLine(FreeLine(Dashes()));
  out.WriteLine(Line().Text(" Number of reflections : ").X(28).I(parameters.NumberOfReflections, 4).str());
  out.WriteLine(Line().Text(" Max. allowed Miller index :").X(26).I(parameters.MaxAllowedMillerIndex, 3).str());
  out.WriteLine(Line().Text(" Volume of primitive cell :").X(18).F(parameters.VolumeOfPrimitiveCell, 12, 2).str());
  out.WriteLine(
      Line().Text(" Allowed deviation from integer index :").X(13).F(parameters.TheMainCriterion, 5, 3).str());
  out.WriteLine(Line()
                    .Text(" Angular deviation [deg] :")
                    .X(26)
                    .F(parameters.AngularDeviationCriterion * kRadiansToDegrees, 5, 3)
                    .str());
  out.WriteLine(Line()
                    .Text(" Weights for sorting solutions :")
                    .X(13)
                    .F(parameters.WeightsForSortingBases_1, 6, 2)
                    .F(parameters.WeightsForSortingBases_2, 6, 2)
                    .str());
  out.WriteLine(Line().Text(" Extent of the search :").X(32).I(parameters.ExtentOfTheSearch, 2).str());
  out.WriteLine(
      Line().Text(" Max. number of saved solutions :").X(21).I(parameters.MaxNumberOfSavedBases, 3).str());
  if (target != HeaderTarget::LogFile)
    out.WriteLine(Line().Text(" Number of solutions: ").X(32).I(numberOfSolutions, 3).str());
  if (notes.latticeChosen) out.WriteLine(Line().Text(" Choice among commensurate lattices :").X(18).Text("on").str());
  if (!notes.automaticSearch.empty())
    out.WriteLine(Line().Text(" Automatic search :").X(2).Text(notes.automaticSearch).str());
  out.WriteLine(FreeLine(Dashes()));
  out.WriteLine(std::string());
}

}  // namespace orv
