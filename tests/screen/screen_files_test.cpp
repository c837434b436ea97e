#include <gtest/gtest.h>

#include <cctype>

#include "tests/screen/screen_script.h"

namespace corvane::test {
namespace {

class ScreenFile : public ::testing::TestWithParam<TScriptCase> {};

TEST_P(ScreenFile, Case) {
  for (const auto& failure : RunScriptCase(GetParam())) ADD_FAILURE() << failure;
}

std::vector<TScriptCase> AllCases() {
  auto cases = LoadScriptCases(CV_SCREEN_TEST_DIR);
  // An empty list would pass silently: make it a failing case instead.
  if (cases.empty()) cases.push_back({"(none)", "no .test files in " CV_SCREEN_TEST_DIR, 0, {{0, {"missing"}}}});
  return cases;
}

std::string CaseName(const ::testing::TestParamInfo<TScriptCase>& Info) {
  const TScriptCase& c = Info.param;
  std::string name = c.File.substr(0, c.File.find('.')) + "_" + std::to_string(c.Line) + "_";
  for (char ch : c.Title) name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return name.substr(0, 90);
}

INSTANTIATE_TEST_SUITE_P(Files, ScreenFile, ::testing::ValuesIn(AllCases()), CaseName);

}  // namespace
}  // namespace corvane::test
