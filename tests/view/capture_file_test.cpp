#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "emulator/terminal_view.h"
#include "platform/capture_file.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace corvane;
namespace fs = std::filesystem;

namespace {

// Runs each test in a fresh directory, since the capture file has no path.
class CaptureFile : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = fs::current_path();
    dir_ = fs::temp_directory_path() / ("cv-capture-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(saved_);
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  static std::string Read(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void Put(const std::string& name, const std::string& bytes) { std::ofstream(name, std::ios::binary) << bytes; }

 private:
  fs::path saved_, dir_;
};

TEST_F(CaptureFile, AppendOpensOnlyExistingFilesAndWritesAfterTheLastByte) {
  auto file = platform::NewCaptureFile();
  EXPECT_NE(file->OpenAppend("x.log"), 0);
  EXPECT_FALSE(file->IsOpen());
  EXPECT_NE(file->Write("a", 1), 0);

  Put("x.log", std::string("old\x1a\x1a", 5));
  ASSERT_EQ(file->OpenAppend("x.log"), 0);
  EXPECT_EQ(file->Write("new", 3), 0);
  EXPECT_EQ(file->Flush(), 0);
  EXPECT_EQ(file->Close(), 0);
  EXPECT_EQ(Read("x.log"), std::string("old\x1a\x1anew", 8));
}

TEST_F(CaptureFile, RewriteReplacesAndOthersMayReadWhileItIsOpen) {
  Put("x.log", "previous content");
  auto file = platform::NewCaptureFile();
  ASSERT_EQ(file->Rewrite("x.log"), 0);
  EXPECT_EQ(file->Write("abc", 3), 0);
  EXPECT_EQ(file->Flush(), 0);
  EXPECT_EQ(Read("x.log"), "abc");  // a second handle reads while we write
  EXPECT_EQ(file->Close(), 0);
  EXPECT_NE(file->Close(), 0);
}

TEST_F(CaptureFile, ViewCapturesTwoPeriodsIntoTheRealFile) {
  {
    TZuzeRI view;
    view.SetLog(true);
    view.WriteText(std::string("A\x1b[2J\x1a\r\n", 8));
    EXPECT_EQ(Read("ZUZERI.LOG"), std::string("<Open>A\x1b[2J\x1a\r\n", 14));  // flushed
    view.SetLog(false);
    view.SetLog(true);
    view.WriteByte('B');
  }
  EXPECT_EQ(Read("ZUZERI.LOG"), std::string("<Open>A\x1b[2J\x1a\r\n<Close><Open>B<Close>", 35));
}

TEST_F(CaptureFile, ViewRaisesAndStaysOffWhenTheFileCannotBeCreated) {
  fs::create_directory("ZUZERI.LOG");  // neither opens nor can be created
  TZuzeRI view;
  EXPECT_THROW(view.SetLog(true), EInOutError);
  EXPECT_FALSE(view.Log());
  EXPECT_NO_THROW(view.WriteText("shown"));
  EXPECT_EQ(view.Screen().Lines[1]->Chars[0], 's');
}

#ifndef _WIN32
TEST_F(CaptureFile, PipesDevicesAndDirectoriesAreRefusedWithoutBlocking) {
  ASSERT_EQ(mkfifo("unread.fifo", 0600), 0);  // opening it to write would wait for a reader
  fs::create_symlink("/dev/null", "null.log");
  auto file = platform::NewCaptureFile();
  for (const char* name : {"unread.fifo", "null.log", "."}) {
    EXPECT_EQ(file->OpenAppend(name), platform::kNotARegularFile) << name;
    EXPECT_EQ(file->Rewrite(name), platform::kNotARegularFile) << name;
    EXPECT_FALSE(file->IsOpen());
  }

  // With a reader the pipe would open and swallow the capture.
  ASSERT_EQ(mkfifo("ZUZERI.LOG", 0600), 0);
  const int reader = open("ZUZERI.LOG", O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  TZuzeRI view;
  EXPECT_THROW(view.SetLog(true), EInOutError);
  EXPECT_FALSE(view.Log());
  char byte;
  EXPECT_EQ(read(reader, &byte, 1), 0);  // no writer left, nothing written
  close(reader);
}

// In a shared folder a link could point the capture at someone's file: a
// link is refused as it stands, its target neither written nor created.
TEST_F(CaptureFile, ALinkIsRefusedAndItsTargetLeftAlone) {
  Put("mine.txt", "precious");
  for (const char* target : {"mine.txt", "created.txt"}) {
    fs::create_symlink(target, "ZUZERI.LOG");
    TZuzeRI view;
    try {
      view.SetLog(true);
      ADD_FAILURE() << target << ": capture followed the link";
    } catch (const EInOutError& e) {
      EXPECT_STREQ(e.what(), "ZUZERI.LOG is not a regular file");
    }
    EXPECT_FALSE(view.Log());
    fs::remove("ZUZERI.LOG");
  }
  EXPECT_EQ(Read("mine.txt"), "precious");
  EXPECT_FALSE(fs::exists("created.txt"));
}
#endif

}  // namespace
