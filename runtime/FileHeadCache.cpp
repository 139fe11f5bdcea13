#include "runtime/FileHeadCache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

namespace runtime {
namespace {

int64_t Nanoseconds(const timespec& t) { return int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec; }

int64_t NowNs() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return Nanoseconds(now);
}

}  // namespace

FileHeadCache::Stamp FileHeadCache::StampOf(const struct stat& info) {
  return {info.st_dev, info.st_ino, info.st_size, Nanoseconds(info.st_mtim), Nanoseconds(info.st_ctim)};
}

FileHeadCache::FileHeadCache(std::chrono::nanoseconds settle, std::size_t maxBytes)
    : settle_(settle), maxBytes_(maxBytes) {}

const std::string& FileHeadCache::Bytes(const std::string& path) {
  struct stat info {};
  if (trusted_ && path == path_ && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && StampOf(info) == stamp_)
    return bytes_;
  Read(path);
  return bytes_;
}

void FileHeadCache::Read(const std::string& path) {
  ++generation_;
  trusted_ = false;
  path_ = path;
  // A fresh string, so that the head of an enormous file is not held on to afterwards.
  std::string bytes;
  // Taken before the file is looked at: any later change stamps the file with this moment
  // or after it, give or take the clock's coarseness, which the settle time covers.
  const int64_t startNs = NowNs();
  // Non-blocking, so that a FIFO in the file's place cannot stall the program.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat info {};
  if (fd >= 0 && fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    const std::size_t wanted = std::min(static_cast<std::size_t>(info.st_size), maxBytes_);
    bytes.resize(wanted);
    std::size_t done = 0;
    while (done < wanted) {
      const ssize_t n = read(fd, bytes.data() + done, wanted - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    stamp_ = StampOf(info);
    const int64_t lastChangeNs = std::max(stamp_.modifiedNs, stamp_.changedNs);
    trusted_ = done == wanted && lastChangeNs <= startNs - settle_.count();
  }
  if (fd >= 0) close(fd);
  bytes_ = std::move(bytes);
}

}  // namespace runtime
