// The Python module orvanthel._orvanthel: the library's Index, ReadKqtFile and pattern of detector
// angles, with numpy arrays in and out. The search runs without the GIL; Ctrl-C stops it.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <Python.h>

#include <array>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <tuple>
#include <string>
#include <vector>

#include "orvanthel/orvanthel.hpp"

namespace py = pybind11;

namespace {

// An (N, 3) array whose row i is rows[i]: a basis, a list of directions or of indices.
template <typename T, typename Rows>
py::array_t<T> RowsArray(const Rows& rows) {
  py::array_t<T> array({static_cast<py::ssize_t>(rows.size()), py::ssize_t{3}});
  auto out = array.template mutable_unchecked<2>();
  for (std::size_t i = 0; i < rows.size(); ++i)
    for (std::size_t c = 0; c < 3; ++c)
      out(static_cast<py::ssize_t>(i), static_cast<py::ssize_t>(c)) = static_cast<T>(rows[i][c]);
  return array;
}

py::array_t<double> MatrixArray(const orvanthel::Matrix3& m) { return RowsArray<double>(m); }
py::array_t<int> IntMatrixArray(const orvanthel::IntMatrix3& m) { return RowsArray<int>(m); }

py::array_t<double> VectorArray(const std::vector<double>& values) {
  py::array_t<double> out(static_cast<py::ssize_t>(values.size()));
  std::copy(values.begin(), values.end(), out.mutable_data());
  return out;
}

py::dict CellDict(const orvanthel::Cell& cell) {
  py::dict d;
  d["a"] = cell.a;
  d["b"] = cell.b;
  d["c"] = cell.c;
  d["alpha"] = cell.alpha;
  d["beta"] = cell.beta;
  d["gamma"] = cell.gamma;
  d["volume"] = cell.volume;
  return d;
}

const char* ClassName(orvanthel::SpotClass spotClass) {
  if (spotClass == orvanthel::SpotClass::WithinHalfTolerance) return "withinHalfTolerance";
  if (spotClass == orvanthel::SpotClass::WithinTolerance) return "withinTolerance";
  return "notIndexed";
}

// The directions of an (N, 3) array of any float type.
orvanthel::Pattern PatternOfArray(const py::array_t<double, py::array::c_style | py::array::forcecast>& directions) {
  if (directions.ndim() != 2 || directions.shape(1) != 3)
    throw orvanthel::Error(orvanthel::ErrorCode::InvalidPattern, "directions must be an array of shape (N, 3).");
  orvanthel::Pattern pattern;
  auto in = directions.unchecked<2>();
  for (py::ssize_t i = 0; i < directions.shape(0); ++i) pattern.directions.push_back({in(i, 0), in(i, 1), in(i, 2)});
  return pattern;
}

std::vector<double> VectorOf(const std::optional<py::array_t<double, py::array::c_style | py::array::forcecast>>& a) {
  if (!a) return {};
  if (a->ndim() != 1) throw orvanthel::Error(orvanthel::ErrorCode::InvalidPattern, "angle columns must be 1-D arrays.");
  return std::vector<double>(a->data(), a->data() + a->size());
}

// Asks Python, with the GIL held for the moment, whether a signal (Ctrl-C) is pending.
class SignalObserver : public orvanthel::IndexingObserver {
 public:
  bool StopRequested() override {
    py::gil_scoped_acquire gil;
    if (PyErr_CheckSignals() != 0) {
      interrupted = true;
      return true;
    }
    return false;
  }
  bool interrupted = false;
};

py::array_t<double> DirectionsArray(const orvanthel::Pattern& pattern) {
  return RowsArray<double>(pattern.directions);
}


py::dict StrainDict(const orvanthel::Strain& s) {
  py::dict strain;
  strain["crystal"] = MatrixArray(s.crystal);
  strain["sample"] = MatrixArray(s.sample);
  strain["crystal_uncertainty"] = MatrixArray(s.crystalUncertainty);
  strain["sample_uncertainty"] = MatrixArray(s.sampleUncertainty);
  strain["von_mises"] = s.vonMises;
  strain["von_mises_uncertainty"] = s.vonMisesUncertainty;
  strain["reflections"] = s.reflections;
  return strain;
}

py::dict GrainDict(const orvanthel::Grain& g) {
  py::dict d;
  d["direct_basis"] = MatrixArray(g.directBasis);
  d["bravais_type"] = g.bravaisType;
  d["conventional_cell"] = CellDict(g.conventionalCell);
  d["spots"] = py::array_t<int>(static_cast<py::ssize_t>(g.spots.size()), g.spots.data());
  d["phase"] = g.phase;
  d["oriented"] = g.oriented;
  if (g.oriented) {
    d["u"] = MatrixArray(g.u);
    d["euler"] = py::make_tuple(g.eulerDegrees[0], g.eulerDegrees[1], g.eulerDegrees[2]);
  }
  d["misorientation_to_first"] = g.misorientationToFirstDegrees;
  if (g.strained) d["strain"] = StrainDict(g.strain);
  return d;
}

py::dict SolutionDict(const orvanthel::Solution& s) {
  py::dict d;
  d["rank"] = s.rank;
  d["bravais_type"] = s.bravaisType;
  d["primitive_cell"] = CellDict(s.primitiveCell);
  d["conventional_cell"] = CellDict(s.conventionalCell);
  d["direct_basis"] = MatrixArray(s.directBasis);
  d["reciprocal_basis"] = MatrixArray(s.reciprocalBasis);
  d["conventional_basis"] = MatrixArray(s.conventionalBasis);
  d["to_conventional"] = IntMatrixArray(s.toConventional);
  d["quality"] = s.quality;
  d["within_tolerance"] = s.withinTolerance;
  d["within_half_tolerance"] = s.withinHalfTolerance;
  std::vector<orvanthel::Indices> hkl, conventional, form;
  std::vector<double> deviations;
  py::list classes;
  for (const orvanthel::SpotIndexing& spot : s.spots) {
    hkl.push_back(spot.hkl);
    conventional.push_back(spot.conventionalHkl);
    form.push_back(spot.conventionalForm);
    deviations.push_back(spot.deviationDegrees);
    classes.append(ClassName(spot.spotClass));
  }
  d["hkl"] = RowsArray<int>(hkl);
  d["deviations"] = VectorArray(deviations);
  d["classes"] = classes;
  d["oriented"] = s.oriented;
  if (s.oriented) {
    const orvanthel::Orientation& o = s.orientation;
    d["u"] = MatrixArray(o.u);
    d["b"] = MatrixArray(o.b);
    d["ub"] = MatrixArray(o.ub);
    d["euler"] = py::make_tuple(o.eulerDegrees[0], o.eulerDegrees[1], o.eulerDegrees[2]);
    d["standard_basis"] = MatrixArray(o.conventionalBasis);
    d["to_standard"] = IntMatrixArray(o.toConventional);
    d["standard_cell"] = CellDict(o.cell);
    d["conventional_hkl"] = RowsArray<int>(conventional);
    d["conventional_form"] = RowsArray<int>(form);
  }
  if (s.strained) d["strain"] = StrainDict(s.strain);
  return d;
}

py::dict OptionsDict(const orvanthel::IndexingOptions& o) {
  py::dict d;
  d["volume"] = o.volumeOfPrimitiveCell;
  d["max_index"] = o.maxMillerIndex;
  d["search_type"] = o.searchType;
  d["tolerance"] = o.toleranceDegrees;
  d["main_criterion"] = o.mainCriterion ? py::cast(*o.mainCriterion) : py::none();
  d["weights"] = py::make_tuple(o.weightHalfTolerance, o.weightTolerance);
  d["max_solutions"] = o.maxSolutions;
  d["threads"] = o.threads;
  d["choose_lattice"] = o.chooseLattice;
  d["auto_search"] = o.automaticSearch;
  d["grains"] = o.grains;
  d["min_grain_spots"] = o.minGrainSpots;
  if (o.referenceCell) {
    const auto& c = *o.referenceCell;
    d["reference_cell"] = py::make_tuple(c[0], c[1], c[2], c[3], c[4], c[5]);
  }
  return d;
}

py::dict IndexPattern(const orvanthel::Pattern& pattern, const orvanthel::IndexingOptions& options) {
  SignalObserver observer;
  orvanthel::IndexingResult result;
  {
    py::gil_scoped_release released;
    try {
      result = orvanthel::Index(pattern, options, &observer);
    } catch (const orvanthel::Error& error) {
      if (error.code() == orvanthel::ErrorCode::Cancelled && observer.interrupted) {
        py::gil_scoped_acquire gil;
        throw py::error_already_set();  // the KeyboardInterrupt that PyErr_CheckSignals raised
      }
      throw;
    }
  }
  py::dict out;
  out["options"] = OptionsDict(result.options);
  out["number_of_spots"] = result.numberOfSpots;
  py::list solutions;
  for (const orvanthel::Solution& s : result.solutions) solutions.append(SolutionDict(s));
  out["solutions"] = solutions;
  out["search_type_used"] = result.searchTypeUsed;
  out["max_index_used"] = result.maxMillerIndexUsed;
  py::list grains;
  for (const orvanthel::Grain& g : result.grains) grains.append(GrainDict(g));
  out["grains"] = grains;
  out["shared_spots"] = result.sharedSpots;
  out["spots_of_no_grain"] = result.spotsOfNoGrain;
  return out;
}

}  // namespace

PYBIND11_MODULE(_orvanthel, m) {
  m.doc() = "Ab initio indexing of Laue diffraction patterns (the compiled core of the orvanthel package).";
  // orvanthel.Error carries the library's error code as a word in its `code` attribute.
  static py::exception<orvanthel::Error> error(m, "Error", PyExc_RuntimeError);
  py::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const orvanthel::Error& e) {
      static const char* const codes[] = {"invalid_pattern", "invalid_options", "reference_mismatch", "read_failed",
                                          "cancelled",       "out_of_memory",   "internal"};
      py::object instance = py::reinterpret_borrow<py::object>(error.ptr())(e.what());
      instance.attr("code") = codes[static_cast<int>(e.code())];
      PyErr_SetObject(error.ptr(), instance.ptr());
    }
  });

  m.def(
      "_index",
      [](const py::array_t<double, py::array::c_style | py::array::forcecast>& directions,
         std::optional<py::array_t<double, py::array::c_style | py::array::forcecast>> twoTheta,
         std::optional<py::array_t<double, py::array::c_style | py::array::forcecast>> chi,
         std::optional<py::array_t<double, py::array::c_style | py::array::forcecast>> intensities, double volume,
         int maxIndex, int searchType, double tolerance, std::optional<double> mainCriterion, double weightHalf,
         double weightFull, int maxSolutions, int threads, bool chooseLattice,
         std::optional<std::array<double, 6>> referenceCell, bool automaticSearch, int grains, int minGrainSpots,
         const std::vector<std::tuple<std::string, std::array<double, 6>, std::string>>& phases) {
        orvanthel::Pattern pattern = PatternOfArray(directions);
        pattern.twoThetaDegrees = VectorOf(twoTheta);
        pattern.chiDegrees = VectorOf(chi);
        pattern.intensities = VectorOf(intensities);
        orvanthel::IndexingOptions options;
        options.volumeOfPrimitiveCell = volume;
        options.maxMillerIndex = maxIndex;
        options.searchType = searchType;
        options.toleranceDegrees = tolerance;
        options.mainCriterion = mainCriterion;
        options.weightHalfTolerance = weightHalf;
        options.weightTolerance = weightFull;
        options.maxSolutions = maxSolutions;
        options.threads = threads;
        options.chooseLattice = chooseLattice;
        options.referenceCell = referenceCell;
        options.automaticSearch = automaticSearch;
        options.grains = grains;
        options.minGrainSpots = minGrainSpots;
        for (const auto& [name, cell, centring] : phases)
          options.phases.push_back({name, cell, centring.size() == 1 ? centring[0] : '?'});
        return IndexPattern(pattern, options);
      },
      py::arg("directions"), py::arg("two_theta"), py::arg("chi"), py::arg("intensities"), py::arg("volume"),
      py::arg("max_index"), py::arg("search_type"), py::arg("tolerance"), py::arg("main_criterion"),
      py::arg("weight_half"), py::arg("weight_full"), py::arg("max_solutions"), py::arg("threads"),
      py::arg("choose_lattice"), py::arg("reference_cell"), py::arg("auto_search"), py::arg("grains"),
      py::arg("min_grain_spots"), py::arg("phases"));

  m.def(
      "_read_peak_list",
      [](const std::string& path, const std::vector<std::string>& columns, int top) {
        const orvanthel::Pattern pattern = orvanthel::ReadPeakList(path, columns, top);
        return py::make_tuple(DirectionsArray(pattern), VectorArray(pattern.twoThetaDegrees),
                              VectorArray(pattern.chiDegrees), VectorArray(pattern.intensities));
      },
      py::arg("path"), py::arg("columns"), py::arg("top"));

  m.def(
      "_simulate",
      [](const std::array<double, 6>& cell, const std::string& centring, std::uint64_t seed,
         std::optional<std::array<double, 3>> euler, std::optional<std::array<double, 6>> strain, double noise,
         double spurious, double drop, int spots, bool back,
         const std::vector<std::tuple<std::array<double, 6>, std::string, int, std::optional<std::array<double, 3>>>>&
             moreGrains) {
        orvanthel::SimulationSettings settings;
        settings.cell = cell;
        settings.centring = centring.size() == 1 ? centring[0] : '?';
        settings.seed = seed;
        settings.eulerDegrees = euler;
        settings.strain = strain;
        settings.noiseDegrees = noise;
        settings.spuriousFraction = spurious;
        settings.dropFraction = drop;
        settings.spots = spots;
        settings.backReflection = back;
        for (const auto& [grainCell, grainCentring, grainSpots, grainEuler] : moreGrains)
          settings.moreGrains.push_back(
              {grainCell, grainCentring.size() == 1 ? grainCentring[0] : '?', grainSpots, grainEuler});
        const orvanthel::Simulation simulation = orvanthel::Simulate(settings);
        std::vector<orvanthel::Indices> hkl;
        std::vector<bool> spuriousFlags;
        std::vector<int> grainOfSpot;
        for (const orvanthel::SimulatedSpot& spot : simulation.spots) {
          hkl.push_back(spot.hkl);
          spuriousFlags.push_back(spot.spurious);
          grainOfSpot.push_back(spot.grain);
        }
        py::dict out;
        out["directions"] = DirectionsArray(simulation.pattern);
        out["hkl"] = RowsArray<int>(hkl);
        out["spurious"] = py::array(py::cast(spuriousFlags));
        out["grain"] = py::array(py::cast(grainOfSpot));
        out["rotation"] = MatrixArray(simulation.rotation);
        out["direct_basis"] = MatrixArray(simulation.directBasis);
        out["primitive_volume"] = simulation.primitiveVolume;
        return out;
      },
      py::arg("cell"), py::arg("centring"), py::arg("seed"), py::arg("euler"), py::arg("strain"), py::arg("noise"),
      py::arg("spurious"), py::arg("drop"), py::arg("spots"), py::arg("back"), py::arg("more_grains"));

  m.def(
      "_directions_from_angles",
      [](const py::array_t<double, py::array::c_style | py::array::forcecast>& twoTheta,
         const py::array_t<double, py::array::c_style | py::array::forcecast>& chi) {
        return DirectionsArray(orvanthel::PatternFromScatteringAngles(VectorOf(twoTheta), VectorOf(chi)));
      },
      py::arg("two_theta"), py::arg("chi"));

  m.def(
      "_read_kqt",
      [](const std::string& path) {
        const orvanthel::KqtInput input = orvanthel::ReadKqtFile(path);
        return py::make_tuple(DirectionsArray(input.pattern), OptionsDict(input.options));
      },
      py::arg("path"));

  m.attr("__version__") = orvanthel::Version();
}
