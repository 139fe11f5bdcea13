#pragma once

#include <cstdint>

namespace bench {

// This process's resident set now and its peak so far (VmRSS, VmHWM), in kB.
int64_t ResidentKb();
int64_t PeakResidentKb();

// Lowers the peak to the present resident set, so the next peak is one step's alone.
// False where the kernel does not offer it; the peak then covers the whole process.
bool ResetPeakResident();

}  // namespace bench
