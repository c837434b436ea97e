#include "tests/support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace corvane::test {

ChildProcess::ChildProcess(const std::vector<std::string>& argv, int stdio_handle) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // A server started as inetd would start it expects a blocking socket.
  if (stdio_handle >= 0) fcntl(stdio_handle, F_SETFL, fcntl(stdio_handle, F_GETFL) & ~O_NONBLOCK);
  if (stdio_handle >= 0)
    for (int fd = 0; fd <= 2; ++fd) posix_spawn_file_actions_adddup2(&actions, stdio_handle, fd);
  pid_t pid = -1;
  if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) pid_ = pid;
  posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
  if (!Started() || reaped_) return;
  Signal(SIGTERM);
  if (!Wait(2000)) {
    Signal(SIGKILL);
    Wait(2000);
  }
}

void ChildProcess::Signal(int signal_number) {
  if (Started() && !reaped_) kill(pid_, signal_number);
}

bool ChildProcess::Wait(int timeout_ms) {
  if (!Started()) return false;
  for (int waited = 0; !reaped_; waited += 10) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      reaped_ = true;
      exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      break;
    }
    if (waited >= timeout_ms) return false;
    timespec ten_ms{0, 10'000'000};
    nanosleep(&ten_ms, nullptr);
  }
  return true;
}

}  // namespace corvane::test
