// The simulated pattern as a peak list: detector angles from the shared laboratory-frame conversion.
#include "simulator/peak_list_file.hpp"

#include "geometry/laue_frame.hpp"
#include "text/line_format.hpp"
#include "text/text_file.hpp"
#include "run_data/program_version.hpp"
#include "simulator/experiment_geometry.hpp"

namespace orv::sim {

void WritePeakListFile(const std::string& fileName, const SimulationOptions& options,
                       const SimulatedPattern& pattern) {
  const Detector& detector = options.experiment.detector;
  TextFile file;
  file.Open(fileName);
  file.WriteLine("2theta chi X Y I");
  const long long count = static_cast<long long>(pattern.spots.size());
  long long position = 0;
  for (const Spot& s : pattern.spots) {
    const DetectorAngles angles = AnglesFromScatteringDirection(InPeakListFrame(s.direction));
    const Vec3 beam = DiffractedDirection(s.direction);
    const double towards = Dot(beam, detector.normal);
    file.WriteLine(Line()
                       .F(angles.twoTheta, 16, kAngleDecimals)
                       .F(angles.chi, 16, kAngleDecimals)
                       .F(Dot(beam, detector.across) / towards, 12, 6)
                       .F(Dot(beam, detector.up) / towards, 12, 6)
                       .I(count - position, 7)
                       .str());
    ++position;
  }
  file.WriteLine(std::string("# Laue pattern simulated by orvanthel-simulate ") + kProgramVersion + ", seed " +
                 std::to_string(options.seed) + "; the spots of the input file written with it, in its order");
  file.WriteLine("# frame: x along the incident beam, z towards the detector; a direction (x, y, z) of the");
  file.WriteLine("# input file, whose frame has the beam along +z, is (z, -y, x) here");
  file.WriteLine("# detector " + detector.name + "; X, Y in units of the crystal-detector distance; I is a rank");
  file.Close();
}

}  // namespace orv::sim
