// Runs the ovm binary on one case folder and compares what it did with what the folder
// expects, byte for byte. A case folder holds:
//
//   args          the arguments, one per line (an empty line is an empty argument);
//                 absent: no arguments
//   in/           files copied into a fresh working directory before the run
//   stdout        expected standard output (absent: empty)
//   stderr        expected standard error (absent: empty)
//   status        expected exit status as a decimal number (absent: 0)
//   out/          files expected in the working directory after the run, byte for byte
//   absent        paths, one per line, that must not exist after the run
//   env           NAME=VALUE lines added to the environment; "{work}" in a value becomes
//                 the working directory
//   stdout_device a path opened as the standard output (e.g. /dev/full), or "closed pipe"
//                 for a pipe whose reading end is already closed; the standard output is
//                 then not compared
//   make          what a folder cannot hold, made in the working directory after in/ is
//                 copied, one per line: "fifo PATH" (a named pipe), "symlink TARGET PATH",
//                 "link EXISTING PATH" (a second hard link)
//   file_size_limit  the largest file in bytes the run may write (RLIMIT_FSIZE)
//   listing       every path below the working directory after the run, one per line in
//                 byte order: nothing else may be there (a leftover temporary file fails)
//
// Every OVM_ variable of the runner's own environment is removed before the run. A run
// that has not ended after a minute is killed (SIGALRM), so a binary that waits for ever
// fails its case instead of hanging the suite.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

extern char** environ;

namespace {

std::optional<std::string> read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  return lines;
}

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// A readable account of the first difference, with both texts shown in full when short.
std::string describe_difference(const std::string& expected, const std::string& actual) {
  std::size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  std::ostringstream out;
  out << "  first difference at byte " << at << " (expected " << expected.size() << " bytes, got " << actual.size()
      << ")\n";
  if (expected.size() + actual.size() < 8000) {
    out << "  --- expected ---\n" << expected << "\n  --- actual ---\n" << actual << "\n  ---\n";
  } else {
    auto around = [&](const std::string& s) { return s.substr(at > 200 ? at - 200 : 0, 400); };
    out << "  --- expected (near) ---\n" << around(expected) << "\n  --- actual (near) ---\n" << around(actual)
        << "\n  ---\n";
  }
  return out.str();
}

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// Makes the entries of a "make" file; a line it does not understand fails the case at once.
void make_entries(const std::vector<std::string>& lines, const fs::path& work) {
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    std::istringstream words(line);
    std::string kind, first, second;
    words >> kind >> first >> second;
    bool made = false;
    if (kind == "fifo" && !first.empty() && second.empty()) {
      made = mkfifo((work / first).c_str(), 0644) == 0;
    } else if (kind == "symlink" && !second.empty()) {
      made = symlink(first.c_str(), (work / second).c_str()) == 0;
    } else if (kind == "link" && !second.empty()) {
      made = link((work / first).c_str(), (work / second).c_str()) == 0;
    }
    if (!made) {
      std::cerr << "make: cannot make \"" << line << "\": " << std::strerror(errno) << "\n";
      std::exit(2);
    }
  }
}

// Every path below the folder, relative to it, in byte order.
std::string list_tree(const fs::path& root) {
  std::set<std::string> paths;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    paths.insert(entry.path().lexically_relative(root).string());
  }
  std::string text;
  for (const std::string& path : paths) text += path + "\n";
  return text;
}

Outcome run(const std::string& binary, const std::vector<std::string>& args, const fs::path& work,
            const std::vector<std::string>& extra_env, const std::optional<std::string>& stdout_device,
            std::optional<rlim_t> file_size_limit) {
  fs::path out_path = work.parent_path() / "captured.stdout";
  fs::path err_path = work.parent_path() / "captured.stderr";

  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::strncmp(*e, "OVM_", 4) != 0) env.emplace_back(*e);
  }
  for (const std::string& e : extra_env) env.push_back(e);

  int pipe_ends[2] = {-1, -1};
  bool closed_pipe = stdout_device && *stdout_device == "closed pipe";
  if (closed_pipe) {
    if (pipe(pipe_ends) != 0) {
      std::perror("pipe");
      std::exit(2);
    }
    close(pipe_ends[0]);
  }

  pid_t pid = fork();
  if (pid < 0) {
    std::perror("fork");
    std::exit(2);
  }
  if (pid == 0) {
    int in = open("/dev/null", O_RDONLY);
    int out = closed_pipe     ? pipe_ends[1]
              : stdout_device ? open(stdout_device->c_str(), O_WRONLY)
                              : open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0 || chdir(work.c_str()) != 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (file_size_limit) {
      struct rlimit limit = {*file_size_limit, *file_size_limit};
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(127);
    }
    alarm(60);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(binary.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    execve(binary.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  if (closed_pipe) close(pipe_ends[1]);
  int raw = 0;
  waitpid(pid, &raw, 0);
  Outcome outcome;
  if (WIFEXITED(raw)) {
    outcome.status = WEXITSTATUS(raw);
  } else if (WIFSIGNALED(raw)) {
    outcome.status = 128 + WTERMSIG(raw);
  }
  if (!stdout_device) outcome.out = read_file(out_path).value_or("");
  outcome.err = read_file(err_path).value_or("");
  return outcome;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: ovm_case_runner <ovm binary> <case folder>\n";
    return 2;
  }
  std::string binary = fs::absolute(argv[1]).string();
  fs::path case_dir = fs::absolute(argv[2]);

  std::string scratch_template = (fs::temp_directory_path() / "ovm-case-XXXXXX").string();
  if (mkdtemp(scratch_template.data()) == nullptr) {
    std::perror("mkdtemp");
    return 2;
  }
  fs::path scratch = scratch_template;
  fs::path work = scratch / "work";
  fs::create_directories(work);
  if (fs::exists(case_dir / "in")) {
    fs::copy(case_dir / "in", work, fs::copy_options::recursive);
  }

  std::vector<std::string> args;
  if (auto text = read_file(case_dir / "args")) args = split_lines(*text);

  std::vector<std::string> env;
  if (auto text = read_file(case_dir / "env")) {
    for (const std::string& line : split_lines(*text)) {
      if (!line.empty()) env.push_back(replace_all(line, "{work}", work.string()));
    }
  }
  std::optional<std::string> stdout_device;
  if (auto text = read_file(case_dir / "stdout_device")) stdout_device = split_lines(*text).at(0);

  if (auto text = read_file(case_dir / "make")) make_entries(split_lines(*text), work);
  std::optional<rlim_t> file_size_limit;
  if (auto text = read_file(case_dir / "file_size_limit")) file_size_limit = std::stoull(*text);

  Outcome outcome = run(binary, args, work, env, stdout_device, file_size_limit);

  std::ostringstream failures;
  int expected_status = 0;
  if (auto text = read_file(case_dir / "status")) expected_status = std::stoi(*text);
  if (outcome.status != expected_status) {
    failures << "exit status: expected " << expected_status << ", got " << outcome.status << "\n";
  }
  if (!stdout_device) {
    std::string expected = read_file(case_dir / "stdout").value_or("");
    if (expected != outcome.out) failures << "stdout differs\n" << describe_difference(expected, outcome.out);
  }
  std::string expected_err = read_file(case_dir / "stderr").value_or("");
  if (expected_err != outcome.err) failures << "stderr differs\n" << describe_difference(expected_err, outcome.err);

  if (fs::exists(case_dir / "out")) {
    for (const auto& entry : fs::recursive_directory_iterator(case_dir / "out")) {
      if (!entry.is_regular_file()) continue;
      fs::path relative = fs::relative(entry.path(), case_dir / "out");
      std::optional<std::string> actual = read_file(work / relative);
      std::string expected = read_file(entry.path()).value_or("");
      if (!actual) {
        failures << "output file " << relative.string() << " was not written\n";
      } else if (*actual != expected) {
        failures << "output file " << relative.string() << " differs\n" << describe_difference(expected, *actual);
      }
    }
  }
  if (auto text = read_file(case_dir / "absent")) {
    for (const std::string& line : split_lines(*text)) {
      if (!line.empty() && fs::exists(fs::symlink_status(work / line))) {
        failures << "file " << line << " should not exist\n";
      }
    }
  }

  if (auto expected = read_file(case_dir / "listing")) {
    std::string actual = list_tree(work);
    if (actual != *expected) failures << "working directory differs\n" << describe_difference(*expected, actual);
  }

  std::string report = failures.str();
  if (!report.empty()) {
    std::cout << "case " << case_dir.string() << "\n" << report << "work directory kept: " << work.string() << "\n";
    return 1;
  }
  fs::remove_all(scratch);
  return 0;
}
