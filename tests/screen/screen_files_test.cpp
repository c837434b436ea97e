#include <gtest/gtest.h>

#include "tests/screen/screen_script.h"

namespace corvane::test {
namespace {

class ScreenFile : public ::testing::TestWithParam<TScriptCase> {};

TEST_P(ScreenFile, Case) {
  for (const auto& failure : RunScriptCase(GetParam())) ADD_FAILURE() << failure;
}

INSTANTIATE_TEST_SUITE_P(Files, ScreenFile, ::testing::ValuesIn(LoadCasesOrFailure(CV_SCREEN_TEST_DIR)), CaseTestName);

}  // namespace
}  // namespace corvane::test
