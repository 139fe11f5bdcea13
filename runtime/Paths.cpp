#include "runtime/Paths.h"

#include <unistd.h>

#include <climits>

namespace runtime {

namespace {

std::string ReadExecutablePath() {
  char buffer[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
  // Without /proc (or with a path too long to hold) the path is unknown; the empty text
  // then leaves names relative to the working folder.
  if (length <= 0 || size_t(length) >= sizeof buffer) return {};
  return std::string(buffer, size_t(length));
}

}  // namespace

// Read once: the settings file is looked up beside the executable for every imported row,
// and the path cannot change while the program runs.
std::string ExecutablePath() {
  static const std::string path = ReadExecutablePath();
  return path;
}

std::string ExecutableFolder() {
  std::string path = ExecutablePath();
  return path.substr(0, path.rfind('/') + 1);
}

bool HasFolderPart(std::string_view name, std::string_view separators) {
  return name.find_first_of(separators) != std::string_view::npos;
}

}  // namespace runtime
