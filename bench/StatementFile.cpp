#include "bench/StatementFile.h"

#include "runtime/TextFile.h"

namespace bench {

void WriteStatements(const std::string& path, const std::vector<std::string>& statements) {
  std::string bytes;
  for (const std::string& sql : statements) {
    bytes += sql;
    bytes += '\0';
  }
  runtime::WriteFileBytes(path, bytes);
}

std::vector<std::string> ReadStatements(const std::string& path) {
  const std::string bytes = runtime::ReadFileBytes(path);
  std::vector<std::string> statements;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\0', start);
    if (end == std::string::npos) end = bytes.size();
    statements.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  return statements;
}

}  // namespace bench
