#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with its content.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Writes bytes exactly as given (no conversion, no added line break).
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

// A file beside the test executable that is removed again, whatever the test did.
class FileBesideExecutable {
 public:
  FileBesideExecutable(const std::string& name, const std::string& bytes);
  ~FileBesideExecutable();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace testsupport
