// Finding and reading INI files on Linux: the lookup of a bare name, and
// files of that name that must not be read.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/profile.h"

namespace fs = std::filesystem;
using corvane::platform::ReadProfileSection;

namespace {

std::string Rows(const std::string& file) { return ReadProfileSection(file, "h").Section.Value("Rows").value_or("-"); }

// A bare name: the current directory, then $XDG_CONFIG_HOME/cvtelnet/, or
// ~/.config/cvtelnet/ when that variable is not set (or not absolute).
TEST(ProfileLookup, CurrentDirectoryThenXdgConfigHomeElseHomeConfig) {
  const fs::path root = fs::temp_directory_path() / ("cv-profile-" + std::to_string(::getpid()));
  for (const auto& [dir, rows] : {std::pair{"cwd", 1}, {"xdg/cvtelnet", 2}, {"home/.config/cvtelnet", 3}}) {
    fs::create_directories(root / dir);
    std::ofstream(root / dir / "TNZUZERI.INI") << "[h]\nRows=" << rows << "\n";
  }
  fs::current_path(root / "cwd");
  ::setenv("HOME", (root / "home").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (root / "xdg").c_str(), 1);
  EXPECT_EQ(Rows("TNZUZERI.INI"), "1");
  fs::remove(root / "cwd/TNZUZERI.INI");
  EXPECT_EQ(Rows("TNZUZERI.INI"), "2");
  fs::remove(root / "xdg/cvtelnet/TNZUZERI.INI");
  EXPECT_EQ(Rows("TNZUZERI.INI"), "-");
  ::setenv("XDG_CONFIG_HOME", "relative", 1);
  EXPECT_EQ(Rows("TNZUZERI.INI"), "3");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(Rows("TNZUZERI.INI"), "3");
  fs::current_path(root.parent_path());
  fs::remove_all(root);
}

// A pipe would block the start for ever, /dev/zero never ends and a huge
// file costs seconds: each is refused at once with a reason, no key read,
// and the lookup stops there. A link to a good file is read.
TEST(ProfileLookup, OnlyARegularFileOfBoundedSizeIsRead) {
  const fs::path root = fs::temp_directory_path() / ("cv-profile-bad-" + std::to_string(::getpid()));
  fs::create_directories(root / "dir.ini");
  std::ofstream(root / "good.ini") << "[h]\nRows=7\n";
  std::ofstream(root / "large.ini") << "[h]\nRows=8\n" << std::string(corvane::platform::kMaxIniFile, ';');
  std::ofstream(root / "limit.ini") << "[h]\nRows=9\n" << std::string(corvane::platform::kMaxIniFile - 11, ';');
  ASSERT_EQ(::mkfifo((root / "fifo.ini").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", root / "zero.ini");
  fs::create_symlink(root / "good.ini", root / "link.ini");
  const std::vector<std::pair<std::string, std::string>> cases = {{"fifo.ini", "is not a regular file"},
                                                                  {"zero.ini", "is not a regular file"},
                                                                  {"dir.ini", "is not a regular file"},
                                                                  {"large.ini", "is larger than 1 MiB"},
                                                                  {"link.ini", ""},
                                                                  {"limit.ini", ""},
                                                                  {"missing.ini", ""}};
  for (const auto& [name, problem] : cases) {
    const std::string path = (root / name).string();
    const auto found = ReadProfileSection(path, "h");
    EXPECT_EQ(found.Problem, problem.empty() ? "" : path + " " + problem) << name;
    EXPECT_EQ(found.Section.Keys.empty(), name != "link.ini" && name != "limit.ini") << name;
  }
  EXPECT_EQ(Rows((root / "limit.ini").string()), "9");
  fs::remove_all(root);
}

}  // namespace
