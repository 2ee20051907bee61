#include "engine/phreeqc_child.hpp"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <thread>

extern char** environ;

namespace ovm::engine {
namespace {

namespace fs = std::filesystem;

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

// Reads what is there without blocking; the end of the stream closes the descriptor.
void read_available(int& fd, std::string& into) {
  std::array<char, 65536> buffer;
  while (fd >= 0) {
    ssize_t got = ::read(fd, buffer.data(), buffer.size());
    if (got > 0) {
      into.append(buffer.data(), static_cast<std::size_t>(got));
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

int spawn(pid_t& pid, const std::string& program, const FileActions& actions, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  return posix_spawnp(&pid, program.c_str(), &actions.actions, nullptr, argv.data(), environ);
}

void kill_and_reap(pid_t pid, int& wait_status) {
  ::kill(pid, SIGKILL);
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
    pid_t got = ::waitpid(pid_, &wait_status_, WNOHANG);
    if (got == pid_) {
      ended_ = true;
      return true;
    }
    if (got == 0) return false;
    if (errno != EINTR) return reason(errno);
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
                                                   std::chrono::milliseconds interval) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (true) {
    std::variant<bool, std::string> ended = child.poll();
    if (auto* failure = std::get_if<std::string>(&ended)) return std::move(*failure);
    if (std::get<bool>(ended)) return WaitEnd::Ended;
    if (std::chrono::steady_clock::now() >= deadline) {
      child.kill_and_wait();
      return WaitEnd::TimedOut;
    }
    std::this_thread::sleep_for(interval);
  }
}

}  // namespace ovm::engine
