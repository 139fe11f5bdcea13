#include "runtime/TextFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>

#include "runtime/Failure.h"
#include "tests/support/TempDir.h"

namespace {

using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

// The message of the Failure that the call throws, or a note that it threw none.
std::string FailureOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const runtime::Failure& failure) {
    return failure.what();
  }
  return "(no failure)";
}

const std::string kAwkwardBytes("a\0b\r\n\r\x1A\xFF\xE7", 9);

TEST(ReadFileBytes, ReadsEveryByte) {
  TempDir dir;
  const std::string cases[] = {"", kAwkwardBytes, std::string(3 * 1024 * 1024 + 7, '\x80')};
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(bytes.size());
    WriteBytes(dir.file("f.txt"), bytes);
    EXPECT_EQ(runtime::ReadFileBytes(dir.file("f.txt")), bytes);
  }
}

TEST(ReadFileBytes, ReadsWhatTheSystemFileGives) {
  // Its size is reported as 0; only reading to the end finds its content.
  EXPECT_NE(runtime::ReadFileBytes("/proc/self/status").find("Name:"), std::string::npos);
}

TEST(ReadFileBytes, FailsWithTheFullPathAndTheReason) {
  TempDir dir;
  const std::string cwd = std::filesystem::current_path().string();
  const struct {
    std::string path;
    std::string message;
  } cases[] = {
      {dir.file("absent.txt"), "Cannot open file \"" + dir.file("absent.txt") + "\". No such file or directory"},
      {dir.path().string(), "Cannot open file \"" + dir.path().string() + "\". Is a directory"},
      {"quiravel-absent.csv", "Cannot open file \"" + cwd + "/quiravel-absent.csv\". No such file or directory"},
      {dir.file("absent/x.csv"), "Cannot open file \"" + dir.file("absent/x.csv") + "\". No such file or directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FailureOf([&] { runtime::ReadFileBytes(c.path); }), c.message);
  }
}

TEST(WriteFileBytes, CreatesAndReplaces) {
  TempDir dir;
  const std::string path = dir.file("out.txt");
  runtime::WriteFileBytes(path, kAwkwardBytes);
  EXPECT_EQ(ReadBytes(path), kAwkwardBytes);
  runtime::WriteFileBytes(path, "x");  // a shorter content leaves nothing of the longer one
  EXPECT_EQ(ReadBytes(path), "x");
  runtime::WriteFileBytes(path, "");
  EXPECT_EQ(ReadBytes(path), "");
}

TEST(CreateNewFileBytes, CreatesButNeverReplaces) {
  TempDir dir;
  const std::string path = dir.file("new.txt");
  runtime::CreateNewFileBytes(path, kAwkwardBytes);
  EXPECT_EQ(ReadBytes(path), kAwkwardBytes);
  EXPECT_EQ(FailureOf([&] { runtime::CreateNewFileBytes(path, "other"); }),
            "Cannot create file \"" + path + "\". File exists");
  EXPECT_EQ(ReadBytes(path), kAwkwardBytes);
}

TEST(WriteFiles, FailWithTheFullPathAndTheReason) {
  TempDir dir;
  const std::string cwd = std::filesystem::current_path().string();
  const struct {
    std::string path;
    std::string message;
  } cases[] = {
      {"/dev/full", "Cannot create file \"/dev/full\". No space left on device"},
      {dir.file("absent/x.txt"), "Cannot create file \"" + dir.file("absent/x.txt") + "\". No such file or directory"},
      {dir.path().string(), "Cannot create file \"" + dir.path().string() + "\". Is a directory"},
      {"quiravel-absent/x.txt", "Cannot create file \"" + cwd + "/quiravel-absent/x.txt\". No such file or directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FailureOf([&] { runtime::WriteFileBytes(c.path, std::string(100, 'x')); }), c.message);
  }
  // CreateNewFileBytes refuses /dev/full before writing: the name is taken.
  EXPECT_EQ(FailureOf([] { runtime::CreateNewFileBytes("/dev/full", "x"); }),
            "Cannot create file \"/dev/full\". File exists");
  EXPECT_EQ(FailureOf([&] { runtime::CreateNewFileBytes(dir.file("absent/x.txt"), "x"); }),
            "Cannot create file \"" + dir.file("absent/x.txt") + "\". No such file or directory");
}

// Lowers the file size limit, so that a write fails part way as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = nullptr;
};

TEST(WriteFiles, FailWhenTheWriteStopsPartWay) {
  TempDir dir;
  const std::string written = dir.file("written.txt");
  const std::string created = dir.file("created.txt");
  {
    FileSizeLimit limit(10);
    EXPECT_EQ(FailureOf([&] { runtime::WriteFileBytes(written, std::string(100, 'x')); }),
              "Cannot create file \"" + written + "\". File too large");
    EXPECT_EQ(FailureOf([&] { runtime::CreateNewFileBytes(created, std::string(100, 'x')); }),
              "Cannot create file \"" + created + "\". File too large");
  }
  // The half-written new file is gone, so a second attempt can succeed.
  EXPECT_FALSE(std::filesystem::exists(created));
  runtime::CreateNewFileBytes(created, "ok");
  EXPECT_EQ(ReadBytes(created), "ok");
}

// Pieces of every size, around the writer's buffer: what arrives is every byte in order.
TEST(NewFile, WritesEveryPieceInOrder) {
  TempDir dir;
  const std::string path = dir.file("pieces.txt");
  std::string expected;
  {
    runtime::NewFile file(path);
    for (size_t size : {0u, 1u, 9u, 65535u, 1u, 65536u, 70000u, 3u, 200000u, 65536u}) {
      std::string piece = kAwkwardBytes;
      while (piece.size() < size) piece += piece;
      piece.resize(size);
      for (size_t i = 0; i < piece.size(); i += 4099) piece[i] = static_cast<char>('a' + expected.size() % 26);
      file.Write(piece);
      expected += piece;
    }
    file.Close();
  }
  EXPECT_EQ(ReadBytes(path), expected);
  EXPECT_EQ(FailureOf([&] { runtime::NewFile again(path); }), "Cannot create file \"" + path + "\". File exists");
}

TEST(NewFile, AFileNotCompletedIsRemoved) {
  TempDir dir;
  const std::string failed = dir.file("failed.txt");
  const std::string left = dir.file("left.txt");
  {
    FileSizeLimit limit(100000);
    EXPECT_EQ(FailureOf([&] {
                runtime::NewFile file(failed);
                for (int i = 0; i < 10; ++i) file.Write(std::string(20000, 'x'));
                file.Close();
              }),
              "Cannot create file \"" + failed + "\". File too large");
  }
  {
    runtime::NewFile file(left);
    file.Write("started, never closed");
  }
  EXPECT_FALSE(std::filesystem::exists(failed));
  EXPECT_FALSE(std::filesystem::exists(left));
}

}  // namespace
