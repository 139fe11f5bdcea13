#pragma once

#include <functional>
#include <string>
#include <vector>

#include "bench/Figures.h"

namespace bench {

// Runs this executable again with the arguments and gathers the key=value lines it prints.
// Throws std::runtime_error, with the child's "error=" line, when it does not end with 0.
Figures RunChild(const std::vector<std::string>& arguments);

// The child's side: prints the figures and returns 0, or prints the failure as an "error="
// line and returns 1.
int ServeChild(const std::function<Figures()>& measure);

}  // namespace bench
