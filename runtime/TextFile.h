#pragma once

#include <string>
#include <string_view>

namespace runtime {

// The whole file as bytes. Throws Failure "Cannot open file \"<path>\". <reason>".
std::string ReadFileBytes(const std::string& path);

// Creates or empties the file and writes the bytes. Throws Failure
// "Cannot create file \"<path>\". <reason>"; also when writing or closing fails.
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Like WriteFileBytes, but never replaces an existing file: throws Failure
// "Cannot create file ..." with the reason when the name is taken (EEXIST).
void CreateNewFileBytes(const std::string& path, const std::string& bytes);

// The same for a text written in pieces, through a buffer of its own, so that a large one
// is never held whole. Close completes the file; one not completed (a failure, or the
// writer left by an exception) is removed, since it would block the next attempt. Every
// step throws Failure "Cannot create file \"<path>\". <reason>".
class NewFile {
 public:
  explicit NewFile(std::string path);
  ~NewFile();
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  void Write(std::string_view bytes);
  void Close();

 private:
  void Flush();
  [[noreturn]] void Abandon(int error);

  std::string path_;
  int fd_ = -1;
  std::string buffer_;
};

}  // namespace runtime
