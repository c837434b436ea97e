#pragma once
// Starts and stops helper programs (the telnet servers of the tests) by
// process id. POSIX only.
#include <string>
#include <vector>

namespace corvane::test {

class ChildProcess {
 public:
  // Starts argv[0] (looked up in PATH) with argv. With stdio_handle >= 0 the
  // child gets it as standard input, output and error, made blocking, as
  // inetd would hand over a connection.
  ChildProcess(const std::vector<std::string>& argv, int stdio_handle = -1);
  // Stops a child that still runs: SIGTERM, then SIGKILL after a grace time.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  int Pid() const { return pid_; }
  // Sends SIGTERM (or the given signal) to the child.
  void Signal(int signal_number = 15);
  // Waits up to timeout_ms for the child to end; true when it ended. The exit
  // status is then in ExitCode() (128 + signal for a killed child).
  bool Wait(int timeout_ms);
  int ExitCode() const { return exit_code_; }

 private:
  int pid_ = -1;
  bool reaped_ = false;
  int exit_code_ = -1;
};

}  // namespace corvane::test
