#pragma once

#include <filesystem>
#include <string>

namespace ovm::engine::testing {

// A fresh directory under the temporary directory, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes `text` to `relative` below the directory, creating parent directories.
  std::filesystem::path write(const std::string& relative, const std::string& text) const;
  std::filesystem::path make_directory(const std::string& relative) const;
  // Copies the script that stands in for PHREEQC to `relative` below the directory, runnable.
  std::filesystem::path install_phreeqc_stand_in(const std::string& relative) const;

 private:
  std::filesystem::path path_;
};

// Sets or unsets an environment variable for one scope and restores it afterwards.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  bool had_value_ = false;
  std::string old_value_;
};

}  // namespace ovm::engine::testing
