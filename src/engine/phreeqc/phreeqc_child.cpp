#include "engine/phreeqc/phreeqc_child.hpp"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <thread>

extern char** environ;

namespace ovm::engine {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t captured_limit = 16 * 1024;

std::string reason(int error) { return std::strerror(error); }

void close_fd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

// The file actions of one start, released when it goes out of scope.
struct FileActions {
  posix_spawn_file_actions_t actions;
  int error = 0;
  FileActions() { error = posix_spawn_file_actions_init(&actions); }
  ~FileActions() {
    if (error == 0) posix_spawn_file_actions_destroy(&actions);
  }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;
};

// The child changes into its working directory before the program is looked up, so a relative
// path with a directory part is made absolute here; a bare name is searched on PATH.
std::string program_to_start(const std::string& program) {
  fs::path path(program);
  if (path.is_absolute() || program.find('/') == std::string::npos) return program;
  std::error_code error;
  fs::path current = fs::current_path(error);
  return error ? program : (current / path).string();
}

// Both ends close on exec; the parent's end never blocks.
int make_pipe(std::array<int, 2>& ends) {
  if (::pipe2(ends.data(), O_CLOEXEC) != 0) return errno;
  int flags = ::fcntl(ends[0], F_GETFL);
  if (flags < 0 || ::fcntl(ends[0], F_SETFL, flags | O_NONBLOCK) != 0) {
    int error = errno;
    close_fd(ends[0]);
    close_fd(ends[1]);
    return error;
  }
  return 0;
}

// Reads what is there without blocking and keeps only the last `captured_limit` bytes: a
// child that prompts in a loop writes megabytes a second, and only the end is ever shown.
// The end of the stream closes the descriptor.
void read_available(int& fd, std::string& into) {
  std::array<char, 65536> buffer;
  while (fd >= 0) {
    ssize_t got = ::read(fd, buffer.data(), buffer.size());
    if (got > 0) {
      into.append(buffer.data(), static_cast<std::size_t>(got));
      if (into.size() > captured_limit) into.erase(0, into.size() - captured_limit);
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    close_fd(fd);
  }
}

ExitStatus exit_status(int wait_status) {
  if (WIFEXITED(wait_status)) return ExitStatus{WEXITSTATUS(wait_status), 0};
  if (WIFSIGNALED(wait_status)) return ExitStatus{std::nullopt, WTERMSIG(wait_status)};
  return ExitStatus{std::nullopt, 0};
}

// The attributes of one start: a process group of the child's own, so that killing the group
// also ends what the child started, and the signals ovm ignores or catches back at their
// defaults.
struct SpawnAttributes {
  posix_spawnattr_t attributes;
  int error = 0;
  SpawnAttributes() {
    error = posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGPIPE, SIGXFSZ, SIGINT, SIGTERM}) sigaddset(&defaults, signal);
    if (error == 0) error = posix_spawnattr_setsigdefault(&attributes, &defaults);
    if (error == 0) error = posix_spawnattr_setpgroup(&attributes, 0);
    if (error == 0) error = posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);
  }
  ~SpawnAttributes() { posix_spawnattr_destroy(&attributes); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
};

int spawn(pid_t& pid, const std::string& program, const FileActions& actions, const std::vector<std::string>& arguments) {
  SpawnAttributes attributes;
  if (attributes.error != 0) return attributes.error;
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  return posix_spawnp(&pid, program.c_str(), &actions.actions, &attributes.attributes, argv.data(), environ);
}

// Ends the child's whole process group while the child, its leader, is not yet reaped (so the
// group's id cannot have been taken by another), then reaps the child.
void kill_and_reap(pid_t pid, int& wait_status) {
  if (::kill(-pid, SIGKILL) != 0) ::kill(pid, SIGKILL);
  while (::waitpid(pid, &wait_status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

ChildProcess::ChildProcess(pid_t pid, int output_fd, int error_fd)
    : pid_(pid), output_fd_(output_fd), error_fd_(error_fd) {}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(other.pid_),
      ended_(other.ended_),
      wait_status_(other.wait_status_),
      output_fd_(other.output_fd_),
      error_fd_(other.error_fd_),
      output_(std::move(other.output_)),
      error_(std::move(other.error_)) {
  other.pid_ = -1;
  other.output_fd_ = -1;
  other.error_fd_ = -1;
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !ended_) kill_and_wait();
  close_fd(output_fd_);
  close_fd(error_fd_);
}

std::variant<ChildProcess, std::string> ChildProcess::start(const std::string& program,
                                                            const std::vector<std::string>& arguments,
                                                            const fs::path& working_directory) {
  std::array<int, 2> output{-1, -1};
  std::array<int, 2> error{-1, -1};
  if (int failure = make_pipe(output)) return reason(failure);
  if (int failure = make_pipe(error)) {
    close_fd(output[0]);
    close_fd(output[1]);
    return reason(failure);
  }
  FileActions actions;
  int failure = actions.error;
  if (failure == 0) failure = posix_spawn_file_actions_addopen(&actions.actions, 0, "/dev/null", O_RDONLY, 0);
  if (failure == 0) failure = posix_spawn_file_actions_adddup2(&actions.actions, output[1], 1);
  if (failure == 0) failure = posix_spawn_file_actions_adddup2(&actions.actions, error[1], 2);
  if (failure == 0) failure = posix_spawn_file_actions_addchdir_np(&actions.actions, working_directory.c_str());
  pid_t pid = -1;
  if (failure == 0) failure = spawn(pid, program_to_start(program), actions, arguments);
  close_fd(output[1]);
  close_fd(error[1]);
  if (failure != 0) {
    close_fd(output[0]);
    close_fd(error[0]);
    return reason(failure);
  }
  return ChildProcess(pid, output[0], error[0]);
}

void ChildProcess::drain() {
  read_available(output_fd_, output_);
  read_available(error_fd_, error_);
}

std::variant<bool, std::string> ChildProcess::poll() {
  drain();
  if (ended_) return true;
  while (true) {
    // Looked at without reaping, so that what the child left running in its group is ended
    // while the group's id is still its own.
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
      if (errno == EINTR) continue;
      return reason(errno);
    }
    if (info.si_pid == 0) return false;
    kill_and_reap(pid_, wait_status_);
    ended_ = true;
    return true;
  }
}

void ChildProcess::kill_and_wait() {
  if (ended_) return;
  kill_and_reap(pid_, wait_status_);
  ended_ = true;
}

std::variant<ChildOutcome, std::string> ChildProcess::collect() {
  if (!ended_) return reason(ECHILD);
  // What the child wrote just before it ended is still in the pipes.
  drain();
  close_fd(output_fd_);
  close_fd(error_fd_);
  return ChildOutcome{exit_status(wait_status_), std::move(output_), std::move(error_)};
}

bool probe_program(const std::string& program) {
  FileActions actions;
  int failure = actions.error;
  for (int fd = 0; fd < 3 && failure == 0; ++fd) {
    failure = posix_spawn_file_actions_addopen(&actions.actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
  }
  pid_t pid = -1;
  if (failure == 0) failure = spawn(pid, program, actions, {});
  if (failure != 0) return false;
  int wait_status = 0;
  kill_and_reap(pid, wait_status);
  return true;
}

std::variant<WaitEnd, std::string> wait_with_limit(ChildProcess& child, std::chrono::milliseconds limit,
                                                   std::chrono::milliseconds interval,
                                                   const std::function<bool(const ChildProcess&)>& give_up) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (true) {
    std::variant<bool, std::string> ended = child.poll();
    if (auto* failure = std::get_if<std::string>(&ended)) return std::move(*failure);
    if (std::get<bool>(ended)) return WaitEnd::Ended;
    if (interrupt_received() != 0) {
      child.kill_and_wait();
      return WaitEnd::Interrupted;
    }
    if (give_up && give_up(child)) {
      child.kill_and_wait();
      return WaitEnd::GaveUp;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      child.kill_and_wait();
      return WaitEnd::TimedOut;
    }
    std::this_thread::sleep_for(interval);
  }
}

namespace {

volatile std::sig_atomic_t received_signal = 0;

extern "C" void note_interrupt(int signal) { received_signal = signal; }

}  // namespace

int interrupt_received() { return received_signal; }

InterruptWatch::InterruptWatch() {
  received_signal = 0;
  struct sigaction action {};
  action.sa_handler = note_interrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no restart: a sleep or wait ends at once
  // A signal the caller ignores (as under nohup) stays ignored.
  ::sigaction(SIGINT, &action, &previous_interrupt_);
  if (previous_interrupt_.sa_handler == SIG_IGN) ::sigaction(SIGINT, &previous_interrupt_, nullptr);
  ::sigaction(SIGTERM, &action, &previous_terminate_);
  if (previous_terminate_.sa_handler == SIG_IGN) ::sigaction(SIGTERM, &previous_terminate_, nullptr);
}

InterruptWatch::~InterruptWatch() {
  ::sigaction(SIGINT, &previous_interrupt_, nullptr);
  ::sigaction(SIGTERM, &previous_terminate_, nullptr);
}

void InterruptWatch::raise_received() const {
  int signal = received_signal;
  if (signal == 0) return;
  received_signal = 0;
  // Ended as the signal would have ended us, now that the children and their files are gone.
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

}  // namespace ovm::engine
