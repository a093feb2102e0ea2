// The command line split into options and plain items, before the options are parsed.
#include "driver/command_line_scan.hpp"

#include <algorithm>

#include "text/printable_text.hpp"

namespace orv {

namespace {

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
      throw UnknownOption("unknown option " + PrintableText(name) + "." + SuggestionFor(name, app));
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
