#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>

namespace bench {

// What a measurement reports: named figures, passed from a child process as key=value lines.
using Figures = std::map<std::string, std::string>;

inline int64_t FigureOf(const Figures& figures, const std::string& key) {
  auto found = figures.find(key);
  if (found == figures.end()) throw std::runtime_error("the measurement gave no " + key);
  return std::stoll(found->second);
}

}  // namespace bench
