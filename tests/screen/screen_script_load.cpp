#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "tests/screen/screen_script.h"

namespace corvane::test {
namespace {

// Splits a line into words; a quoted word (with its *N suffix) stays whole.
std::vector<std::string> SplitWords(const std::string& Text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < Text.size()) {
    if (Text[i] == ' ' || Text[i] == '\t' || Text[i] == '\r') {
      ++i;
      continue;
    }
    std::string word;
    bool quoted = false;
    for (; i < Text.size() && (quoted || (Text[i] != ' ' && Text[i] != '\t' && Text[i] != '\r')); ++i) {
      if (quoted && Text[i] == '\\' && i + 1 < Text.size()) {
        word += Text[i++];
      } else if (Text[i] == '"') {
        quoted = !quoted;
      }
      word += Text[i];
    }
    words.push_back(word);
  }
  return words;
}

void LoadFile(const std::filesystem::path& Path, std::vector<TScriptCase>& Cases) {
  std::ifstream in(Path);
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    auto words = SplitWords(text);
    if (words.empty() || words[0].starts_with("#")) continue;
    if (words[0] == "case") {
      const std::size_t start = text.find("case") + 4;
      const std::size_t first = text.find_first_not_of(' ', start);
      Cases.push_back({Path.filename().string(), first == std::string::npos ? "" : text.substr(first), number, {}});
    } else if (Cases.empty() || Cases.back().File != Path.filename().string()) {
      Cases.push_back({Path.filename().string(), "(before the first case)", number, {{number, {"case"}}}});
    } else {
      Cases.back().Lines.push_back({number, std::move(words)});
    }
  }
}

}  // namespace

void PrintTo(const TScriptCase& Case, std::ostream* Out) {
  *Out << Case.File << ":" << Case.Line << ": " << Case.Title;
}

std::vector<TScriptCase> LoadScriptCases(const std::string& Dir) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(Dir, error))
    if (entry.path().extension() == ".test") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::vector<TScriptCase> cases;
  for (const auto& file : files) LoadFile(file, cases);
  return cases;
}

std::vector<TScriptCase> LoadCasesOrFailure(const std::string& Dir) {
  auto cases = LoadScriptCases(Dir);
  if (cases.empty()) cases.push_back({"(none)", "no .test files in " + Dir, 0, {{0, {"missing"}}}});
  return cases;
}

std::string CaseTestName(const ::testing::TestParamInfo<TScriptCase>& Info) {
  const TScriptCase& c = Info.param;
  std::string name = c.File.substr(0, c.File.find('.')) + "_" + std::to_string(c.Line) + "_";
  for (char ch : c.Title) name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return name.substr(0, 90);
}

}  // namespace corvane::test
