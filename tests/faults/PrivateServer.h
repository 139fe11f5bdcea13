#pragma once

#include <gtest/gtest.h>

namespace faults {

// A MariaDB of this test program's own, so that taking it away disturbs no other test.
// From SetUp on, the test support (Sql, Rows, ConnectTest, GeneralLog, ...) talks to it.
class PrivateServer : public ::testing::Environment {
 public:
  void SetUp() override;
  void TearDown() override;

  static void Stop();
  // Up again with the same data, port and logins.
  static void Restart();
};

}  // namespace faults
