// Indexes a cubic pattern given by its directions and prints the lattice of solution 1.
#include <orvanthel/orvanthel.hpp>

#include <cstdio>

int main() {
  orvanthel::Pattern pattern;
  // The rows of a primitive cubic lattice with indices up to 2, in a general orientation.
  const double r[3][3] = {{0.36, 0.48, 0.8}, {-0.8, 0.6, 0.0}, {-0.48, -0.64, 0.6}};
  for (int h = -2; h <= 2; ++h)
    for (int k = -2; k <= 2; ++k)
      for (int l = 0; l <= 2; ++l) {
        if ((h == 0 && k == 0 && l == 0) || (l == 0 && (k < 0 || (k == 0 && h < 0)))) continue;
        pattern.directions.push_back({h * r[0][0] + k * r[1][0] + l * r[2][0], h * r[0][1] + k * r[1][1] + l * r[2][1],
                                      h * r[0][2] + k * r[1][2] + l * r[2][2]});
      }
  orvanthel::IndexingOptions options;
  options.volumeOfPrimitiveCell = 8.0;
  options.toleranceDegrees = 0.2;
  try {
    const orvanthel::IndexingResult result = orvanthel::Index(pattern, options);
    if (result.solutions.empty()) return 2;
    const orvanthel::Solution& best = result.solutions[0];
    std::printf("%s %.4f %d/%d\n", best.bravaisType.c_str(), best.conventionalCell.a, best.withinTolerance,
                result.numberOfSpots);
  } catch (const orvanthel::Error& error) {
    std::printf("error: %s\n", error.what());
    return 1;
  }
  return 0;
}
