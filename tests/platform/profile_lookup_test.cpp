// Where a bare INI file name is looked up on Linux: the current directory,
// then $XDG_CONFIG_HOME/cvtelnet/, or ~/.config/cvtelnet/ without it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <unistd.h>

#include "platform/profile.h"

namespace fs = std::filesystem;
using corvane::platform::ReadProfileString;

namespace {

class ProfileLookup : public ::testing::Test {
 protected:
  ProfileLookup() : root(fs::temp_directory_path() / ("cv-profile-" + std::to_string(::getpid()))) {
    fs::create_directories(root / "cwd");
    saved_cwd = fs::current_path();
    fs::current_path(root / "cwd");
    Save("XDG_CONFIG_HOME", saved_xdg);
    Save("HOME", saved_home);
  }
  ~ProfileLookup() override {
    fs::current_path(saved_cwd);
    Restore("XDG_CONFIG_HOME", saved_xdg);
    Restore("HOME", saved_home);
    fs::remove_all(root);
  }

  void Write(const fs::path& dir, const std::string& rows) {
    fs::create_directories(root / dir);
    std::ofstream(root / dir / "TNZUZERI.INI") << "[h]\nRows=" << rows << "\n";
  }
  std::string Rows() { return ReadProfileString("TNZUZERI.INI", "h", "Rows", "none"); }

  static void Save(const char* name, std::optional<std::string>& slot) {
    if (const char* v = std::getenv(name)) slot = v;
  }
  static void Restore(const char* name, const std::optional<std::string>& slot) {
    if (slot)
      ::setenv(name, slot->c_str(), 1);
    else
      ::unsetenv(name);
  }

  fs::path root, saved_cwd;
  std::optional<std::string> saved_xdg, saved_home;
};

TEST_F(ProfileLookup, CurrentDirectoryThenXdgConfigHomeElseHomeConfig) {
  ::setenv("HOME", (root / "home").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (root / "xdg").c_str(), 1);
  Write("home/.config/cvtelnet", "3");
  EXPECT_EQ(Rows(), "none");  // XDG_CONFIG_HOME is set: the home folder is not tried
  Write("xdg/cvtelnet", "2");
  EXPECT_EQ(Rows(), "2");
  Write("cwd", "1");
  EXPECT_EQ(Rows(), "1");
  fs::remove(root / "cwd" / "TNZUZERI.INI");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(Rows(), "3");
  ::setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
  EXPECT_EQ(Rows(), "3");
  EXPECT_EQ(ReadProfileString((root / "xdg/cvtelnet/TNZUZERI.INI").string(), "H", "rows", "-"), "2");
}

}  // namespace
