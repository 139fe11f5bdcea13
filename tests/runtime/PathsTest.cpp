#include "runtime/Paths.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Paths, FindTheRunningExecutable) {
  const std::string expected = QUIRAVEL_TEST_EXE_PATH;
  EXPECT_EQ(runtime::ExecutablePath(), expected);
  EXPECT_EQ(runtime::ExecutableFolder(), expected.substr(0, expected.rfind('/') + 1));
}

TEST(Paths, HasFolderPartDependsOnTheSeparators) {
  const struct {
    std::string name;
    bool underPosix;
    bool underWindows;
  } cases[] = {
      {"sistema_qel.ini", false, false},
      {"", false, false},
      {"/etc/sistema_qel.ini", true, false},
      {"a/b.ini", true, false},
      {"C:x.ini", false, true},
      {"C:\\dir\\x.ini", false, true},
      {"a\\b.ini", false, true},
      {"\\\\server\\share\\x.ini", false, true},
      {"dir/", true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(runtime::HasFolderPart(c.name, runtime::kFolderSeparators), c.underPosix);
    EXPECT_EQ(runtime::HasFolderPart(c.name, runtime::kWindowsFolderSeparators), c.underWindows);
  }
}

}  // namespace
