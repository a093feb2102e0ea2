// What became of one point of a map, as a worker sends it back and as the points file keeps it:
// every number written so that it reads back to the same double.
#pragma once

#include <optional>
#include <string>

#include "geometry/vector_matrix.hpp"
#include "maps/seed_acceptance.hpp"
#include "solutions/lattice_symmetry.hpp"

namespace orv {

struct MapPointRecord {
  std::string file;
  // "indexed", "no_solution" (a search that kept nothing) or "failed" (the message says why).
  std::string status;
  bool seeded = false;  // taken from a seed rather than searched
  long seed = -1;       // list position of the seed
  BravaisType type = BravaisType::aP;
  // The solution's direct basis (rows, frame of the directions), the start of its neighbours' seeds.
  Mat3 directBasis{};
  // The conventional setting of the grain: conventional basis = toConventional * direct basis.
  IntMat3 toConventional{};
  // The conventional cell of the lattice where the grain's setting was chosen (symmetry averaged).
  LatticeCell settingCell;
  Mat3 conventionalBasis{};  // least-squares conventional basis, rows, frame of the directions
  Mat3 u{};
  Vec3 eulerDegrees{};
  PointSupport support;
  bool strained = false;
  // Deviatoric strain in the frame of the directions: e11 e22 e33 e23 e13 e12, and its equivalent.
  std::array<double, 6> strain{};
  double equivalentStrain = 0.0;
  // The setting of the lattice that matches the reference cell: its conventional basis is
  // strainSetting * direct basis. Seeded points measure their strain in their seed's.
  IntMat3 strainSetting{};
  std::string message;

  bool Indexed() const { return status == "indexed"; }
};

std::string FormatPointRecord(const MapPointRecord& record);
// Nothing when the line is not a record (a cut or foreign line).
std::optional<MapPointRecord> ParsePointRecord(const std::string& line);

// The header line of a points file.
const std::string& PointRecordHeader();

// A number that reads back to the same double ("%.17g").
std::string ExactNumber(double value);

// The type of a symbol "aP" ... "cF"; false for anything else.
bool BravaisTypeOfSymbol(const std::string& symbol, BravaisType& type);

}  // namespace orv
