#pragma once

#include <sched.h>

#include <string>
#include <vector>

namespace bench {

// Keeps this process (and so the children it starts) and every thread of the server on one
// processor while it lives, then gives the server its processors back. On this machine a
// round trip whose two ends run on different processors costs some 90 us more, and the
// scheduler picks that at random from run to run: pinned, the times depend on the work
// alone, and the client's own work weighs fully, as nothing of it overlaps the server's.
class SharedProcessor {
 public:
  // serverPidFile: where the server wrote its process id; empty or unreadable leaves the
  // server alone (pinned() is then false).
  explicit SharedProcessor(const std::string& serverPidFile);
  ~SharedProcessor();
  SharedProcessor(const SharedProcessor&) = delete;
  SharedProcessor& operator=(const SharedProcessor&) = delete;

  int processor() const noexcept { return processor_; }
  bool pinned() const noexcept { return serverPid_ > 0; }

 private:
  std::vector<int> ServerThreads() const;
  int processor_ = -1;
  int serverPid_ = 0;
  cpu_set_t serverMask_{};
  cpu_set_t ownMask_{};
};

}  // namespace bench
