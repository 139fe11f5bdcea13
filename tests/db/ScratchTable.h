#pragma once

#include <string>

#include "tests/support/TestServer.h"

// A table of the test's own, made anew when constructed and dropped when destroyed.
class ScratchTable {
 public:
  ScratchTable(std::string name, const std::string& columns) : name_(std::move(name)) {
    testsupport::Sql("drop table if exists " + name_);
    testsupport::Sql("create table " + name_ + " (" + columns + ")");
  }
  ~ScratchTable() {
    try {
      testsupport::Sql("drop table if exists " + name_);
    } catch (...) {
    }
  }
  ScratchTable(const ScratchTable&) = delete;
  ScratchTable& operator=(const ScratchTable&) = delete;

 private:
  std::string name_;
};
