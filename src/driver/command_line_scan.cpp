// The command line split into options and plain items, before the options are parsed.
#include "driver/command_line_scan.hpp"

#include <algorithm>

#include "text/printable_text.hpp"

namespace orv {

namespace {

// "--name" for every long name and "-n" for every short one of the app's options.
std::vector<std::string> OptionNames(const CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::Option* option : app.get_options()) {
    for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
    for (const std::string& name : option->get_snames()) names.push_back("-" + name);
  }
  return names;
}

const CLI::Option* FindOption(const CLI::App& app, const std::string& name) {
  for (const CLI::Option* option : app.get_options()) {
    if (option->check_name(name)) return option;
  }
  return nullptr;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

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

ScannedArguments ScanArguments(const std::vector<std::string>& arguments, const CLI::App& app,
                               const std::vector<std::string>& helpWords) {
  ScannedArguments scanned;
  for (std::size_t k = 0; k < arguments.size(); ++k) {
    const std::string& item = arguments[k];
    const std::string word = Trimmed(item);
    const bool helpWord = std::find(helpWords.begin(), helpWords.end(), word) != helpWords.end();
    const std::string name = item.substr(0, item.find('='));
    const CLI::Option* option = FindOption(app, name);
    const bool longForm = item.size() > 2 && item.compare(0, 2, "--") == 0;
    if (helpWord || EndsWith(word, ".kqt") || (!longForm && option == nullptr)) {
      scanned.plain.push_back(item);
      continue;
    }
    if (option == nullptr) {
      std::string message = "unknown option " + PrintableText(name) + ".";
      if (const auto closest = ClosestName(name, OptionNames(app))) message += " Did you mean " + *closest + "?";
      throw UnknownOption(message);
    }
    scanned.options.push_back(item);
    const bool takesValue = option->get_type_size_max() > 0 && option->get_items_expected_max() > 0;
    if (takesValue && item.find('=') == std::string::npos && k + 1 < arguments.size()) {
      scanned.options.push_back(arguments[++k]);
    }
  }
  return scanned;
}

std::vector<std::string> OptionLines(const CLI::App& app) {
  std::vector<std::pair<std::string, std::string>> entries;
  std::size_t width = 0;
  for (const CLI::Option* option : app.get_options()) {
    std::string names;
    for (const std::string& name : option->get_lnames()) names += (names.empty() ? "--" : ", --") + name;
    if (names.empty()) continue;
    const bool takesValue = option->get_type_size_max() > 0 && option->get_items_expected_max() > 0;
    if (takesValue) names += " " + option->get_option_text();
    width = std::max(width, names.size());
    entries.emplace_back(names, option->get_description());
  }
  std::vector<std::string> lines;
  for (const auto& [names, description] : entries)
    lines.push_back("  " + names + std::string(width - names.size() + 2, ' ') + description);
  return lines;
}

}  // namespace orv
