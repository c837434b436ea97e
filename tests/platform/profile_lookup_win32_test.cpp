// Finding and reading INI files on Windows: next to the program, then in the
// user's application data folder, then in the Windows folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/profile.h"

namespace fs = std::filesystem;
using corvane::platform::ProfileFolders;
using corvane::platform::ReadProfileSection;

namespace {

std::string Rows(const std::string& file) { return ReadProfileSection(file, "h").Section.Value("Rows").value_or("-"); }

TEST(ProfileLookup, ProgramFolderThenApplicationDataThenWindowsFolder) {
  const std::vector<std::string> folders = ProfileFolders();
  ASSERT_EQ(folders.size(), 3u);
  EXPECT_TRUE(fs::exists(folders[0] + "profile_lookup_tests.exe")) << folders[0];
  EXPECT_TRUE(folders[1].ends_with("\\cvtelnet\\")) << folders[1];
  EXPECT_TRUE(fs::is_directory(folders[2] + "system32")) << folders[2];

  const std::string name = "cv-lookup-test.ini";
  fs::create_directories(folders[1]);
  std::ofstream(folders[1] + name) << "[h]\nRows=2\n";
  EXPECT_EQ(Rows(name), "2");
  std::ofstream(folders[0] + name) << "[h]\nRows=1\n";
  EXPECT_EQ(Rows(name), "1");
  fs::remove(folders[0] + name);
  fs::remove(folders[1] + name);
  EXPECT_EQ(Rows(name), "-");
}

// A folder or a file larger than 1 MiB is not read, and says why.
TEST(ProfileLookup, OnlyARegularFileOfBoundedSizeIsRead) {
  const fs::path root = fs::temp_directory_path() / "cv-profile-bad";
  fs::create_directories(root / "dir.ini");
  std::ofstream(root / "large.ini", std::ios::binary) << "[h]\nRows=8\n"
                                                      << std::string(corvane::platform::kMaxIniFile, ';');
  for (const char* name : {"dir.ini", "large.ini"}) {
    const auto found = ReadProfileSection((root / name).string(), "h");
    EXPECT_NE(found.Problem, "") << name;
    EXPECT_TRUE(found.Section.Keys.empty()) << name;
  }
  fs::remove_all(root);
}

}  // namespace
