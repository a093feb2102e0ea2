// The relationships section of the results file: the matrix between every pair of kept solutions.
#include "reports/relationships_section.hpp"

#include "text/line_format.hpp"
#include "text/text_file.hpp"
#include "solutions/relationships.hpp"

namespace orv {

void WriteRelationships(TextFile& results, const SolutionStore& store) {
  const int n = store.NumberOfSolutions;
  for (int i = 1; i <= n - 1; ++i) {
    for (int j = i + 1; j <= n; ++j) {
      Mat3 t{};
      // A singular basis j relates to nothing; its pair is skipped rather than shown with garbage.
      if (!RelationMatrix(store, i, j, t)) continue;
      results.WriteLine(FreeLine(Dashes()));
      results.WriteLine(Line().X(2).I(i, 3).Text(" <=> ").I(j, 3).str());
      results.WriteLine(std::string());
      results.WriteLine(Line()
                            .X(2)
                            .Text("Basis ")
                            .I(j, 3)
                            .Text(" => Basis ")
                            .I(i, 3)
                            .Text(" = T * Basis ")
                            .I(j, 3)
                            .Text(".")
                            .str());
      results.WriteLine(Line().X(2).Text("Transformation matrix T:").str());
      for (const Vec3& row : t) {
        results.WriteLine(Line().X(10).F(row[0], 8, 2).F(row[1], 8, 2).F(row[2], 8, 2).str());
      }
      results.WriteLine(std::string());
    }
  }
  results.WriteLine(FreeLine(Dashes()));
}

}  // namespace orv
