#pragma once
// A settings file of the running test's own, named after it and removed when
// it goes: tests run at once, each in a process of its own, and an assertion
// that ends a test early must not leave the file behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace corvane::test {

class TTempIni {
 public:
  explicit TTempIni(const std::string& text) { std::ofstream(path_) << text; }
  ~TTempIni() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TTempIni(const TTempIni&) = delete;
  TTempIni& operator=(const TTempIni&) = delete;

  std::string Path() const { return path_.string(); }

 private:
  static std::string TestName() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    return test == nullptr ? "none" : std::string(test->test_suite_name()) + "-" + test->name();
  }

  std::filesystem::path path_ = std::filesystem::temp_directory_path() / ("cv-" + TestName() + ".ini");
};

}  // namespace corvane::test
