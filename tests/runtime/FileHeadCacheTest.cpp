#include "runtime/FileHeadCache.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <thread>

#include "tests/support/TempDir.h"

namespace {

using namespace std::chrono_literals;
using runtime::FileHeadCache;
using testsupport::TempDir;
using testsupport::WriteBytes;

// Long enough for the coarse clock behind file timestamps (one tick, at most 10 ms).
constexpr auto kSettle = 50ms;

void Settle() { std::this_thread::sleep_for(kSettle * 2); }

// For the cases where the bytes must stay fresh: a stall of the test on a busy machine
// cannot age them into trusted ones.
constexpr auto kNeverSettles = std::chrono::hours(24);

// Read system calls of this process so far (/proc/self/io), to see whether a call read.
long ReadCalls() {
  std::ifstream io("/proc/self/io");
  for (std::string name; io >> name;) {
    long value = 0;
    io >> value;
    if (name == "syscr:") return value;
  }
  return -1;
}

// Every change a settings file can go through, each seen at the very next call: at once
// after the first read (bytes too fresh to trust), and after the bytes have settled (the
// stat alone decides).
TEST(FileHeadCache, SeesEveryChangeAtTheNextCall) {
  struct Case {
    const char* what;
    std::function<void(const TempDir&)> change;
    std::string expected;
  };
  const Case cases[] = {
      {"rewritten in place, same size",
       [](const TempDir& d) { WriteBytes(d.file("a.ini"), "CodLogica=2"); }, "CodLogica=2"},
      {"grown", [](const TempDir& d) { WriteBytes(d.file("a.ini"), "CodLogica=22"); }, "CodLogica=22"},
      {"emptied", [](const TempDir& d) { WriteBytes(d.file("a.ini"), ""); }, ""},
      {"replaced through a rename",
       [](const TempDir& d) {
         WriteBytes(d.file("new.ini"), "CodLogica=3");
         std::rename(d.file("new.ini").c_str(), d.file("a.ini").c_str());
       },
       "CodLogica=3"},
      {"removed", [](const TempDir& d) { std::remove(d.file("a.ini").c_str()); }, ""},
      {"turned into a folder",
       [](const TempDir& d) {
         std::remove(d.file("a.ini").c_str());
         mkdir(d.file("a.ini").c_str(), 0755);
       },
       ""},
      {"link pointed elsewhere",
       [](const TempDir& d) {
         std::remove(d.file("a.ini").c_str());
         symlink(d.file("b.ini").c_str(), d.file("a.ini").c_str());
       },
       "CodLogica=9"},
  };
  for (const bool settled : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (settled ? ", settled" : ", fresh"));
      TempDir dir;
      WriteBytes(dir.file("a.ini"), "CodLogica=1");
      WriteBytes(dir.file("b.ini"), "CodLogica=9");
      FileHeadCache cache(settled ? kSettle : kNeverSettles, 1024);
      if (settled) Settle();
      ASSERT_EQ(cache.Bytes(dir.file("a.ini")), "CodLogica=1");
      ASSERT_EQ(cache.Bytes(dir.file("a.ini")), "CodLogica=1");

      c.change(dir);

      EXPECT_EQ(cache.Bytes(dir.file("a.ini")), c.expected);
    }
  }
}

TEST(FileHeadCache, ASettledFileIsReadOnceAFreshOneEveryTime) {
  TempDir dir;
  const std::string path = dir.file("a.ini");
  WriteBytes(path, "[FilialMatriz]\r\nCodLogica=1\r\n");
  std::set<uint64_t> generations;
  const auto readsOfTenCalls = [&](FileHeadCache& cache) {
    generations.clear();
    const long before = ReadCalls();
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(cache.Bytes(path), "[FilialMatriz]\r\nCodLogica=1\r\n");
      generations.insert(cache.Generation());
    }
    return ReadCalls() - before - 1;  // the reading of /proc/self/io itself
  };
  ASSERT_GE(ReadCalls(), 0) << "no /proc/self/io to count with";
  FileHeadCache fresh(kNeverSettles, 1024);
  EXPECT_GE(readsOfTenCalls(fresh), 10);
  EXPECT_EQ(generations.size(), 10u);
  FileHeadCache cache(kSettle, 1024);
  Settle();
  cache.Bytes(path);
  EXPECT_EQ(readsOfTenCalls(cache), 0);
  EXPECT_EQ(generations.size(), 1u);
}

TEST(FileHeadCache, KeepsOneFileAndOnlyItsHead) {
  TempDir dir;
  WriteBytes(dir.file("a.ini"), "0123456789");
  WriteBytes(dir.file("b.ini"), "abc");
  Settle();
  FileHeadCache cache(kSettle, 4);
  EXPECT_EQ(cache.Bytes(dir.file("a.ini")), "0123");
  EXPECT_EQ(cache.Bytes(dir.file("b.ini")), "abc");
  EXPECT_EQ(cache.Bytes(dir.file("a.ini")), "0123");
  EXPECT_EQ(cache.Bytes(dir.file("absent.ini")), "");
  EXPECT_EQ(cache.Bytes(""), "");
}

}  // namespace
