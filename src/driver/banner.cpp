// The banner: the program's name in large letters, its version mark and its subtitle.
#include "driver/banner.hpp"

#include <string>

#include "text/line_format.hpp"

namespace orv {

void PrintBanner(std::ostream& out) {
  static const char* const lettering[] = {
      R"(   ___                        _   _          _ )",
      R"(  / _ \ _ ____   ____ _ _ __ | |_| |__   ___| |)",
      R"( | | | | '__\ \ / / _` | '_ \| __| '_ \ / _ \ |)",
      R"( | |_| | |   \ V / (_| | | | | |_| | | |  __/ |)",
      R"(  \___/|_|    \_/ \__,_|_| |_|\__|_| |_|\___|_|)",
      R"(_______________________________________ v. 0.1)",
  };
  for (int i = 0; i < 11; ++i) out << FreeLine("") << '\n';
  for (const char* line : lettering) out << FreeLine(line) << '\n';
  out << FreeLine("") << '\n';
  out << FreeLine("             Ab initio indexing of Laue diffraction patterns") << '\n';
  out << FreeLine("") << '\n';
}

}  // namespace orv
