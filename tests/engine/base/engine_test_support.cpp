#include "engine_test_support.hpp"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace ovm::engine::testing {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "ovm-engine-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code error;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
  fs::remove_all(path_, error);
}

fs::path TempDir::write(const std::string& relative, const std::string& text) const {
  fs::path file = path_ / relative;
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out << text;
  return file;
}

fs::path TempDir::make_directory(const std::string& relative) const {
  fs::path directory = path_ / relative;
  fs::create_directories(directory);
  return directory;
}

fs::path TempDir::install_phreeqc_stand_in(const std::string& relative) const {
  fs::path target = path_ / relative;
  fs::create_directories(target.parent_path());
  fs::copy_file(OVM_PHREEQC_STAND_IN, target);
  fs::permissions(target, fs::perms::owner_all);
  return target;
}

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name_(name) {
  if (const char* old = std::getenv(name)) {
    had_value_ = true;
    old_value_ = old;
  }
  if (value == nullptr) {
    ::unsetenv(name);
  } else {
    ::setenv(name, value, 1);
  }
}

ScopedEnvironment::~ScopedEnvironment() {
  if (had_value_) {
    ::setenv(name_.c_str(), old_value_.c_str(), 1);
  } else {
    ::unsetenv(name_.c_str());
  }
}

}  // namespace ovm::engine::testing
