#include "bench/SharedProcessor.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace bench {
namespace {

cpu_set_t Only(int processor) {
  cpu_set_t mask;
  CPU_ZERO(&mask);
  CPU_SET(processor, &mask);
  return mask;
}

}  // namespace

SharedProcessor::SharedProcessor(const std::string& serverPidFile) {
  if (sched_getaffinity(0, sizeof ownMask_, &ownMask_) != 0) throw std::runtime_error("sched_getaffinity failed");
  for (int cpu = 0; cpu < CPU_SETSIZE && processor_ < 0; ++cpu) {
    if (CPU_ISSET(cpu, &ownMask_)) processor_ = cpu;
  }
  const cpu_set_t only = Only(processor_);
  if (sched_setaffinity(0, sizeof only, &only) != 0) throw std::runtime_error("cannot keep to one processor");

  std::ifstream pidFile(serverPidFile);
  int pid = 0;
  if (serverPidFile.empty() || !(pidFile >> pid) || pid <= 0 || sched_getaffinity(pid, sizeof serverMask_, &serverMask_) != 0)
    return;
  serverPid_ = pid;
  // Threads the server starts later (one per connection) inherit the mask of the thread
  // that starts them.
  for (int thread : ServerThreads()) sched_setaffinity(thread, sizeof only, &only);
}

SharedProcessor::~SharedProcessor() {
  for (int thread : ServerThreads()) sched_setaffinity(thread, sizeof serverMask_, &serverMask_);
  sched_setaffinity(0, sizeof ownMask_, &ownMask_);
}

std::vector<int> SharedProcessor::ServerThreads() const {
  std::vector<int> threads;
  if (serverPid_ <= 0) return threads;
  std::error_code ignored;
  for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(serverPid_) + "/task", ignored))
    threads.push_back(std::stoi(task.path().filename().string()));
  return threads;
}

}  // namespace bench
