// Unknown options and the closest known name.
#include "programs/option_suggestion.hpp"

#include <algorithm>

namespace orv {

std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::optional<std::string> ClosestName(const std::string& name, const std::vector<std::string>& known) {
  const std::size_t allowed = std::max<std::size_t>(2, name.size() / 3);
  std::optional<std::string> closest;
  std::size_t best = allowed + 1;
  for (const std::string& candidate : known) {
    const std::size_t distance = EditDistance(name, candidate);
    if (distance < best) {
      best = distance;
      closest = candidate;
    }
  }
  return closest;
}

std::vector<std::string> OptionNames(const CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::Option* option : app.get_options()) {
    for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
    for (const std::string& name : option->get_snames()) names.push_back("-" + name);
  }
  return names;
}

std::optional<std::string> FirstUnknownLongOption(const std::vector<std::string>& arguments, const CLI::App& app) {
  for (const std::string& item : arguments) {
    if (item == "--") break;
    if (item.size() <= 2 || item.compare(0, 2, "--") != 0) continue;
    const std::string name = item.substr(0, item.find('='));
    const std::vector<const CLI::Option*> options = app.get_options();
    const bool known = std::any_of(options.begin(), options.end(),
                                   [&name](const CLI::Option* option) { return option->check_name(name); });
    if (!known) return name;
  }
  return std::nullopt;
}

std::string SuggestionFor(const std::string& name, const CLI::App& app) {
  const std::optional<std::string> closest = ClosestName(name, OptionNames(app));
  return closest ? " Did you mean " + *closest + "?" : std::string();
}

}  // namespace orv
