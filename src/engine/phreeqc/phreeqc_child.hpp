#pragma once

#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace ovm::engine {

// How a child ended: its exit code, or the signal that ended it when it has no code.
struct ExitStatus {
  std::optional<std::int32_t> code;
  int signal = 0;

  bool success() const { return code == 0; }
};

// What a child left behind once it has ended.
struct ChildOutcome {
  ExitStatus status;
  std::string standard_output;
  std::string standard_error;
};

// A child process with the null device on its standard input and its standard output and
// error read into memory while it runs, so a talkative child never blocks on a full pipe.
// A child still running when this is destroyed is killed and waited for.
class ChildProcess {
 public:
  // Starts `program` (a bare name is searched on PATH) with `arguments` in
  // `working_directory`; on failure, the platform's reason.
  static std::variant<ChildProcess, std::string> start(const std::string& program,
                                                       const std::vector<std::string>& arguments,
                                                       const std::filesystem::path& working_directory);

  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&&) = delete;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  // Asks without blocking whether the child has ended; the reason when the query fails.
  std::variant<bool, std::string> poll();

  // Kills the child and waits for it; failures of both are ignored.
  void kill_and_wait();

  // What the child has written to its standard error so far (its last 16 KiB at most).
  const std::string& standard_error_so_far() const { return error_; }

  // The exit status and everything captured (the last 16 KiB of each stream at most), once
  // poll has reported the end.
  std::variant<ChildOutcome, std::string> collect();

 private:
  ChildProcess(pid_t pid, int output_fd, int error_fd);
  void drain();

  pid_t pid_ = -1;
  bool ended_ = false;
  int wait_status_ = 0;
  int output_fd_ = -1;
  int error_fd_ = -1;
  std::string output_;
  std::string error_;
};

// Whether `program` can be started at all: started with no arguments and the null device on
// all three standard streams, then killed at once and waited for.
bool probe_program(const std::string& program);

// How waiting for a child ended.
enum class WaitEnd { Ended, TimedOut, GaveUp, Interrupted };

// Polls the child at once and then after every `interval` until it ends, `give_up` says so
// (it sees what the child has written so far), SIGINT or SIGTERM has reached an
// `InterruptWatch`, or `limit` has passed on a monotonic clock; a child still running then is
// killed with its process group and waited for. The platform's reason when a poll fails.
std::variant<WaitEnd, std::string> wait_with_limit(ChildProcess& child, std::chrono::milliseconds limit,
                                                   std::chrono::milliseconds interval,
                                                   const std::function<bool(const ChildProcess&)>& give_up = {});

// The SIGINT or SIGTERM an `InterruptWatch` has caught, or 0.
int interrupt_received();

// While it lives, SIGINT and SIGTERM are only noted, so that a wait for a child can end the
// child and the caller can remove its files before the program ends. `raise_received` then
// ends the program by the signal that came, if one did.
class InterruptWatch {
 public:
  InterruptWatch();
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  void raise_received() const;

 private:
  struct sigaction previous_interrupt_ {};
  struct sigaction previous_terminate_ {};
};

}  // namespace ovm::engine
