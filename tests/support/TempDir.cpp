#include "tests/support/TempDir.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "runtime/Paths.h"

namespace testsupport {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quiravel-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

FileBesideExecutable::FileBesideExecutable(const std::string& name, const std::string& bytes)
    : path_(runtime::ExecutableFolder() + name) {
  WriteBytes(path_, bytes);
}

FileBesideExecutable::~FileBesideExecutable() {
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

}  // namespace testsupport
