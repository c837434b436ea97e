#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "platform/profile.h"

namespace fs = std::filesystem;

// A bare name: the current directory, then $XDG_CONFIG_HOME/cvtelnet/, or
// ~/.config/cvtelnet/ when that variable is not set (or not absolute).
TEST(ProfileLookup, CurrentDirectoryThenXdgConfigHomeElseHomeConfig) {
  const fs::path root = fs::temp_directory_path() / ("cv-profile-" + std::to_string(::getpid()));
  for (const auto& [dir, rows] : {std::pair{"cwd", 1}, {"xdg/cvtelnet", 2}, {"home/.config/cvtelnet", 3}}) {
    fs::create_directories(root / dir);
    std::ofstream(root / dir / "TNZUZERI.INI") << "[h]\nRows=" << rows << "\n";
  }
  const auto rows = [] { return corvane::platform::ReadProfileString("TNZUZERI.INI", "h", "Rows", "-"); };
  fs::current_path(root / "cwd");
  ::setenv("HOME", (root / "home").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (root / "xdg").c_str(), 1);
  EXPECT_EQ(rows(), "1");
  fs::remove(root / "cwd/TNZUZERI.INI");
  EXPECT_EQ(rows(), "2");
  fs::remove(root / "xdg/cvtelnet/TNZUZERI.INI");
  EXPECT_EQ(rows(), "-");
  ::setenv("XDG_CONFIG_HOME", "relative", 1);
  EXPECT_EQ(rows(), "3");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(rows(), "3");
  fs::current_path(root.parent_path());
  fs::remove_all(root);
}
