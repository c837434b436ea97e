// Ending the Linux program by a signal closes it as File > Exit does: the
// capture file gets its closing marker and the program exits normally.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "tests/support/child_process.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(StopSignals, EachStopSignalClosesTheCaptureThenEndsTheProgram) {
  const fs::path saved = fs::current_path();
  for (const int signal : {15, 2, 1}) {  // SIGTERM, SIGINT, SIGHUP
    const fs::path dir = fs::temp_directory_path() / ("cv-stop-" + std::to_string(signal));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::current_path(dir);  // the capture file lies in the current directory
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    corvane::test::ChildProcess program({CV_STOP_SIGNAL_PROBE});
    fs::current_path(saved);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (Read(dir / "ZUZERI.LOG") != "<Open>" && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(Read(dir / "ZUZERI.LOG"), "<Open>") << signal;
    program.Signal(signal);
    ASSERT_TRUE(program.Wait(10000)) << signal;
    EXPECT_EQ(program.ExitCode(), 0) << signal;
    EXPECT_EQ(Read(dir / "ZUZERI.LOG"), "<Open><Close>") << signal;
    fs::remove_all(dir);
  }
}

}  // namespace
