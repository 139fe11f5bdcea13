#include "runtime/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "runtime/Failure.h"

namespace runtime {
namespace {

std::string FullPath(const std::string& path) {
  std::error_code ignored;
  std::filesystem::path full = std::filesystem::absolute(path, ignored);
  return full.empty() ? path : full.string();
}

[[noreturn]] void Fail(const char* what, const std::string& path, int error) {
  throw Failure(std::string(what) + " \"" + FullPath(path) + "\". " +
                std::generic_category().message(error));
}

[[noreturn]] void FailToOpen(const std::string& path, int error) { Fail("Cannot open file", path, error); }
[[noreturn]] void FailToCreate(const std::string& path, int error) { Fail("Cannot create file", path, error); }

// Closes the descriptor on every path out of a read.
struct FileDescriptor {
  int fd;
  ~FileDescriptor() {
    if (fd >= 0) close(fd);
  }
};

// Pieces of a new file go out in writes of about this size.
constexpr size_t kWriteBuffer = 64 * 1024;

// Writes everything; the error number when a write fails, or 0.
int WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : ENOSPC;
    done += size_t(n);
  }
  return 0;
}

// Writes everything, then closes; the error number of the first step that fails, or 0.
int WriteAndClose(int fd, const std::string& bytes) {
  int error = WriteAll(fd, bytes);
  // A full disk may only show itself when the data are flushed at close.
  if (close(fd) != 0 && error == 0) error = errno;
  return error;
}

}  // namespace

std::string ReadFileBytes(const std::string& path) {
  FileDescriptor file{open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0) FailToOpen(path, errno);
  struct stat info {};
  if (fstat(file.fd, &info) != 0) FailToOpen(path, errno);
  if (S_ISDIR(info.st_mode)) FailToOpen(path, EISDIR);

  std::string bytes;
  // The size is only a hint: the file may grow or shrink while it is read.
  bytes.resize(S_ISREG(info.st_mode) ? size_t(info.st_size) + 1 : 65536);
  size_t done = 0;
  for (;;) {
    if (done == bytes.size()) bytes.resize(bytes.size() * 2);
    ssize_t n = read(file.fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) FailToOpen(path, errno);
    if (n == 0) break;
    done += size_t(n);
  }
  bytes.resize(done);
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) FailToCreate(path, errno);
  if (int error = WriteAndClose(fd, bytes)) FailToCreate(path, error);
}

void CreateNewFileBytes(const std::string& path, const std::string& bytes) {
  NewFile file(path);
  file.Write(bytes);
  file.Close();
}

NewFile::NewFile(std::string path) : path_(std::move(path)) {
  fd_ = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd_ < 0) FailToCreate(path_, errno);
  buffer_.reserve(kWriteBuffer);
}

NewFile::~NewFile() {
  if (fd_ < 0) return;
  close(fd_);
  unlink(path_.c_str());
}

void NewFile::Write(std::string_view bytes) {
  if (buffer_.size() + bytes.size() > kWriteBuffer) Flush();
  if (bytes.size() >= kWriteBuffer) {
    if (int error = WriteAll(fd_, bytes)) Abandon(error);
  } else {
    buffer_.append(bytes);
  }
}

void NewFile::Close() {
  Flush();
  const int fd = fd_;
  fd_ = -1;
  // A full disk may only show itself when the data are flushed at close.
  if (close(fd) != 0) {
    const int error = errno;
    unlink(path_.c_str());
    FailToCreate(path_, error);
  }
}

void NewFile::Flush() {
  if (int error = WriteAll(fd_, buffer_)) Abandon(error);
  buffer_.clear();
}

void NewFile::Abandon(int error) {
  close(fd_);
  fd_ = -1;
  unlink(path_.c_str());
  FailToCreate(path_, error);
}

}  // namespace runtime
