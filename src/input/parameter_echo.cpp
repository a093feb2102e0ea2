// Echo lines of the parameters read from the input file.
#include "input/parameter_echo.hpp"

#include "text/line_format.hpp"

namespace orv {

std::string EchoLine(Keyword keyword, const RunParameters& p) {
  switch (keyword) {
    case Keyword::NumberOfReflections:
      return Line().Text(" Number of reflections : ").X(31).I(p.NumberOfReflections, 6).str();
    case Keyword::Reflections:
      return std::string();
    case Keyword::VolumeOfPrimitiveCell:
      return Line().Text(" User provided volume : ").X(26).F(p.VolumeOfPrimitiveCell, 12, 3).str();
    case Keyword::MaxAllowedMillerIndex:
      return Line().Text(" The largest allowed Miller index : ").X(23).I(p.MaxAllowedMillerIndex, 3).str();
    case Keyword::ExtentOfTheSearch:
      return Line().Text(" Extent of search : ").X(40).I(p.ExtentOfTheSearch, 2).str();
    case Keyword::AngularDeviationCriterion:
      return Line().Text(" Angular deviation  [deg] : ").X(29).F(p.AngularDeviationCriterion, 5, 3).str();
    case Keyword::TheMainCriterion:
      return Line().Text(" Limit on deviation from integer Miller indices : ").X(7).F(p.TheMainCriterion, 5, 3).str();
    case Keyword::WeightsForSortingBases:
      return Line()
          .Text(" Weights for sorting the bases : ")
          .X(14)
          .F(p.WeightsForSortingBases_1, 7, 3)
          .Text(",")
          .F(p.WeightsForSortingBases_2, 7, 3)
          .str();
    case Keyword::MaxNumberOfSavedBases:
      return Line().Text(" Number of solutions to be saved  : ").X(23).I(p.MaxNumberOfSavedBases, 3).str();
    case Keyword::SortSolutionsByQualityType:
      return Line()
          .Text(" The way of sorting solutions in output file : ")
          .X(14)
          .I(p.SortSolutionsByQualityType, 1)
          .str();
    case Keyword::SaveLePage:
      return Line().Text(" Save in LePage.inp : ").X(37).I(p.SaveLePage, 3).str();
    case Keyword::CreateLogFile:
      return Line().Text(" Log file : ").X(47).I(p.CreateLogFile, 3).str();
  }
  return std::string();
}

}  // namespace orv
