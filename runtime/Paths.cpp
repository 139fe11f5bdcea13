#include "runtime/Paths.h"

#include <unistd.h>

#include <climits>

namespace runtime {

std::string ExecutablePath() {
  char buffer[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
  // Without /proc (or with a path too long to hold) the path is unknown; the empty text
  // then leaves names relative to the working folder.
  if (length <= 0 || size_t(length) >= sizeof buffer) return {};
  return std::string(buffer, size_t(length));
}

std::string ExecutableFolder() {
  std::string path = ExecutablePath();
  return path.substr(0, path.rfind('/') + 1);
}

bool HasFolderPart(std::string_view name, std::string_view separators) {
  return name.find_first_of(separators) != std::string_view::npos;
}

}  // namespace runtime
