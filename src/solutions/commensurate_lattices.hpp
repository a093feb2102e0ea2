// Every lattice the lattice choice meets, each once: kept solutions and their commensurate relatives.
#pragma once

#include <vector>

#include "geometry/vector_matrix.hpp"
#include "run_data/run_parameters.hpp"
#include "solutions/covered_region.hpp"
#include "solutions/observed_row_share.hpp"

namespace orv {

struct Lattice {
  Mat3 basis{};           // reduced direct basis at the user's cell volume
  Mat3 inverse{};         // its inverse, for recognising the same lattice in another setting
  double shortest = 0.0;  // the length of its shortest edge
  int owner = 0;          // the kept solution that brought it in (1-based)
  int record = 0;         // the kept solution it is; 0 for a relative
  bool indexed = false;   // whether `rows` holds its indexing yet
  IndexedRows rows;
  int shareRows = 0;      // the rows counted for `share`; 0 until it is computed
  double share = 0.0;
};

// The same lattice in another setting: the relation matrix is integral with determinant +1 or -1,
// within the tolerances with which the store recognises a re-discovery.
bool IsSameLattice(const Mat3& basis, const Lattice& other);

// The basis brought to the given cell volume; a basis without volume stays as it is.
void ScaleToVolume(Mat3& basis, double volume);

// The reduced direct basis X B of a relative, at the given cell volume.
Mat3 RelativeBasis(const Mat3& transform, const Mat3& basis, double volume);

// Families of kept solutions: a union-find over the records 1..n.
class Families {
 public:
  explicit Families(int n);
  int Root(int i);
  // The smaller record becomes the root, so that a family is named by its best-placed solution.
  void Join(int a, int b);

 private:
  int& Parent(int i) { return parent_[static_cast<std::size_t>(i)]; }
  std::vector<int> parent_;
};

// The lattices met so far with the families of the kept solutions that met them. A lattice is
// indexed and given its share only when the choice asks for them.
class CommensurateLattices {
 public:
  CommensurateLattices(int solutions, const RunParameters& parameters, const DirectionStore& directions,
                       const CoveredRegion& region);

  // Lists a kept solution (record > 0), or a relative that kept solution `owner` brought in. A
  // relative already listed is not listed again, and a lattice met twice joins the families of the
  // two solutions that met it; a kept solution is listed even when it repeats another. Returns the
  // index of the lattice in the list, or -1 for a basis without an inverse.
  int Add(const Mat3& basis, int owner, int record);

  Lattice& operator[](int k) { return lattices_[static_cast<std::size_t>(k)]; }
  int Size() const { return static_cast<int>(lattices_.size()); }
  int FamilyOf(int k) { return families_.Root((*this)[k].owner); }

  // The reflections the lattice supports and the rows they lie on.
  const IndexedRows& Rows(int k);
  // Its observed-row share when `rowsCounted` rows are counted.
  double Share(int k, int rowsCounted);
  // The weighted support, as the search weighs it, without the term of the largest index.
  double Support(int k);

  // Whether lattice a is preferred to lattice b of a family that counts `rowsCounted` rows: the
  // larger share, then the larger support, then a kept solution before a relative, then the earlier
  // listed.
  bool IsPreferred(int a, int b, int rowsCounted);

  // Whether the lattice's support leaves room for a share of at least `share`: at most the
  // reflections a lattice supports can be among its rows.
  bool CanReach(int k, int rowsCounted, double share);

 private:
  // The lattice already listed that is `basis` in another setting, or -1.
  int Find(const Mat3& basis, double shortest) const;

  std::vector<Lattice> lattices_;
  Families families_;
  const RunParameters& parameters_;
  const DirectionStore& directions_;
  const CoveredRegion& region_;
};

}  // namespace orv
