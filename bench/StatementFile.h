#pragma once

#include <string>
#include <vector>

namespace bench {

// Statements for the floor, kept apart by NUL bytes (they may hold line breaks).
void WriteStatements(const std::string& path, const std::vector<std::string>& statements);
std::vector<std::string> ReadStatements(const std::string& path);

}  // namespace bench
