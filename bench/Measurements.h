#pragma once

#include <cstdint>
#include <string>

#include "bench/Figures.h"
#include "bench/ServerEnv.h"

namespace bench {

// Each runs in a process of its own (RunChild), so that its peak resident set is its own and
// no run inherits another's heap. Times are in nanoseconds, memory in kB. All throw
// std::runtime_error when the run went wrong, so a broken build never passes for a fast one.

// The load handler on the file, through the real code and a quiet window.
Figures MeasureLoad(const ServerEnv& server, const std::string& file);

// The import run after an untimed load of the file.
Figures MeasureImport(const ServerEnv& server, const std::string& file);

// The floor: the statements of the file sent by the plain client loop.
Figures MeasureFloor(const ServerEnv& server, const std::string& statementsFile);

// The same loop of gauge advances with and without the real gauge, shown in a window.
Figures MeasureGauge(int32_t steps);

}  // namespace bench
