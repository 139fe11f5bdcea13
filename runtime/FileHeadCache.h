#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>

struct stat;

namespace runtime {

// The head of a regular file (up to maxBytes), or nothing for anything else, kept between
// calls while a stat of the file shows the same (device, inode, size, mtime, ctime): a stat
// costs a fraction of an open, a read and a close. A change is seen at the next call.
//
// Timestamps come from a coarse clock, so a file rewritten at once with the same size can
// keep its stat. Bytes read less than `settle` after the file's last change are therefore
// read again at the next call, until they are older than that.
class FileHeadCache {
 public:
  FileHeadCache(std::chrono::nanoseconds settle, std::size_t maxBytes);

  // Never fails: an unreadable file gives nothing. The text stays valid until the next call.
  const std::string& Bytes(const std::string& path);

  // Another number after every call of Bytes that read the file anew: while it stays, so do
  // the bytes, and anything worked out from them.
  uint64_t Generation() const noexcept { return generation_; }

 private:
  struct Stamp {
    dev_t device = 0;
    ino_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;
    friend bool operator==(const Stamp&, const Stamp&) = default;
  };

  static Stamp StampOf(const struct stat& info);
  void Read(const std::string& path);

  std::chrono::nanoseconds settle_;
  std::size_t maxBytes_;
  std::string path_;
  Stamp stamp_;
  bool trusted_ = false;  // bytes_ may stand for the file while its stamp holds
  std::string bytes_;
  uint64_t generation_ = 0;
};

}  // namespace runtime
