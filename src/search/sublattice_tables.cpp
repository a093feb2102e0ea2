// The sixteen sublattice tables: for each index m, the inverses of the Hermite matrices of det m.
#include "search/sublattice_tables.hpp"

#include <cstddef>

#include "geometry/constants.hpp"

namespace orv {

namespace {

using Diagonal = std::array<int, 3>;

// The diagonals of each index in the order in which their matrices enter the table. The last three
// of index 16 deliberately run (4,2,2) (2,4,2) (2,2,4), unlike those of index 12.
constexpr int kMaxDiagonalsPerIndex = 18;
struct DiagonalList {
  int count;
  std::array<Diagonal, kMaxDiagonalsPerIndex> diagonals;
};

constexpr std::array<DiagonalList, kMaxSublatticeIndex> kDiagonalLists = {{
    {1, {{{1, 1, 1}}}},
    {3, {{{1, 1, 2}, {1, 2, 1}, {2, 1, 1}}}},
    {3, {{{1, 1, 3}, {1, 3, 1}, {3, 1, 1}}}},
    {6, {{{1, 1, 4}, {1, 4, 1}, {4, 1, 1}, {1, 2, 2}, {2, 1, 2}, {2, 2, 1}}}},
    {3, {{{1, 1, 5}, {1, 5, 1}, {5, 1, 1}}}},
    {9, {{{1, 1, 6}, {1, 6, 1}, {6, 1, 1}, {1, 2, 3}, {2, 1, 3}, {1, 3, 2}, {2, 3, 1}, {3, 1, 2}, {3, 2, 1}}}},
    {3, {{{1, 1, 7}, {1, 7, 1}, {7, 1, 1}}}},
    {10, {{{1, 1, 8}, {1, 8, 1}, {8, 1, 1}, {1, 2, 4}, {2, 1, 4}, {1, 4, 2}, {2, 4, 1}, {4, 1, 2}, {4, 2, 1},
           {2, 2, 2}}}},
    {6, {{{1, 1, 9}, {1, 9, 1}, {9, 1, 1}, {1, 3, 3}, {3, 1, 3}, {3, 3, 1}}}},
    {9, {{{1, 1, 10}, {1, 10, 1}, {10, 1, 1}, {1, 2, 5}, {2, 1, 5}, {1, 5, 2}, {2, 5, 1}, {5, 1, 2}, {5, 2, 1}}}},
    {3, {{{1, 1, 11}, {1, 11, 1}, {11, 1, 1}}}},
    {18, {{{1, 1, 12}, {1, 12, 1}, {12, 1, 1}, {1, 2, 6}, {2, 1, 6}, {1, 6, 2}, {2, 6, 1}, {6, 1, 2}, {6, 2, 1},
           {1, 3, 4}, {3, 1, 4}, {1, 4, 3}, {3, 4, 1}, {4, 1, 3}, {4, 3, 1}, {2, 2, 3}, {2, 3, 2}, {3, 2, 2}}}},
    {3, {{{1, 1, 13}, {1, 13, 1}, {13, 1, 1}}}},
    {9, {{{1, 1, 14}, {1, 14, 1}, {14, 1, 1}, {1, 2, 7}, {2, 1, 7}, {1, 7, 2}, {2, 7, 1}, {7, 1, 2}, {7, 2, 1}}}},
    {9, {{{1, 1, 15}, {1, 15, 1}, {15, 1, 1}, {1, 3, 5}, {3, 1, 5}, {1, 5, 3}, {3, 5, 1}, {5, 1, 3}, {5, 3, 1}}}},
    {15, {{{1, 1, 16}, {1, 16, 1}, {16, 1, 1}, {1, 2, 8}, {2, 1, 8}, {1, 8, 2}, {2, 8, 1}, {8, 1, 2}, {8, 2, 1},
           {1, 4, 4}, {4, 1, 4}, {4, 4, 1}, {4, 2, 2}, {2, 4, 2}, {2, 2, 4}}}},
}};

// Number of sublattices of each index, the final length of each table.
constexpr std::array<int, kMaxSublatticeIndex> kTableLengths = {1,   7,   13,  35,  31,  91,  57,  155,
                                                                130, 217, 133, 455, 183, 399, 403, 651};

}  // namespace

void BuildSublatticeTables(SublatticeTables& tables) {
  for (int m = 1; m <= kMaxSublatticeIndex; ++m) {
    const std::size_t slot = static_cast<std::size_t>(m - 1);
    tables.tables[slot].clear();
    tables.tables[slot].reserve(static_cast<std::size_t>(kTableLengths[slot]));
  }
  for (int m = 1; m <= kMaxSublatticeIndex; ++m) {
    const DiagonalList& list = kDiagonalLists[static_cast<std::size_t>(m - 1)];
    for (int i = 0; i < list.count; ++i) EnumerateHermiteMatrices(m, list.diagonals[static_cast<std::size_t>(i)], tables);
  }
}

void EnumerateHermiteMatrices(int m, const std::array<int, 3>& diagonal, SublatticeTables& tables) {
  if (m < 1 || m > kMaxSublatticeIndex) return;
  std::vector<Mat3>& table = tables.tables[static_cast<std::size_t>(m - 1)];
  const int k1 = diagonal[0], k2 = diagonal[1], k3 = diagonal[2];
  for (int a = 0; a < k1; ++a) {
    for (int b = 0; b < k1; ++b) {
      for (int c = 0; c < k2; ++c) {
        // Upper triangular, each off-diagonal entry reduced modulo the diagonal entry of its row.
        const Mat3 h = {{{double(k1), double(a), double(b)}, {0.0, double(k2), double(c)}, {0.0, 0.0, double(k3)}}};
        Mat3 t{};
        InvertMatrix(h, t, kBasisSingularity);
        table.push_back(t);
      }
    }
  }
}

}  // namespace orv
