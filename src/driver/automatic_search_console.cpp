// What the automatic search shows on the console and notes in the results file.
#include "driver/automatic_search_console.hpp"

#include "text/line_format.hpp"

namespace orv {
namespace {

std::string StepWords(const SearchStep& step) {
  std::string text = "type " + std::to_string(step.type);
  if (step.zoneAxes) text += " and zone-axis cells";
  return text + ", indices up to " + std::to_string(step.maxIndex);
}

}  // namespace

void WriteStepLine(std::ostream& console, int position, const StepOutcome& step, int reflections) {
  Line line;
  line.Text(" Automatic search, step ").I(position, 1).Text(" : ").Text(StepWords(step.step));
  if (!step.ran) {
    line.Text(" : skipped, ").Text(step.skippedBecause);
  } else {
    line.Text(" :").F(step.seconds, 9, 3).Text(" s, best support").I(step.bestSupport, 4).Text(" of").I(reflections, 4);
    if (step.step.zoneAxes) line.Text(",").I(step.zones, 3).Text(" zones");
  }
  console << line.str() << '\n';
}

void WriteUsedStepLine(std::ostream& console, const AutomaticSearchResult& result) {
  if (result.used < 0) return;
  console << FreeLine("Automatic search used step " + std::to_string(result.used + 1) + " : " +
                      StepWords(result.steps[static_cast<std::size_t>(result.used)].step))
          << '\n';
}

std::string UsedStepNote(const AutomaticSearchResult& result) {
  if (result.used < 0) return "";
  return "step " + std::to_string(result.used + 1) + " of " + std::to_string(result.planned) + ", " +
         StepWords(result.steps[static_cast<std::size_t>(result.used)].step);
}

}  // namespace orv
