#include "tests/faults/PrivateServer.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace faults {
namespace {

void Script(const std::string& verb, const std::string& more = "") {
  const std::string command = std::string(QUIRAVEL_SOURCE_DIR) + "/scripts/mariadb-local " + verb + " " +
                              QUIRAVEL_FAULTS_DB_DIR + more;
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

}  // namespace

void PrivateServer::SetUp() {
  Script("start", std::string(" quiravel_faults ") + QUIRAVEL_SOURCE_DIR + "/tests/support/schema.sql");
  // Read once by the test support, on its first use, which comes after this.
  setenv("QUIRAVEL_TEST_DB", QUIRAVEL_FAULTS_DB_DIR, 1);
}

void PrivateServer::TearDown() { Stop(); }

void PrivateServer::Stop() { Script("stop"); }

void PrivateServer::Restart() { Script("restart"); }

}  // namespace faults
