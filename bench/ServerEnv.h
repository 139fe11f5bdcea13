#pragma once

#include <cstdint>
#include <string>

namespace bench {

// A throwaway server as scripts/mariadb-local describes it in <folder>/server.env.
struct ServerEnv {
  std::string host;
  int32_t port = 0;
  std::string database;
  std::string user;
  std::string password;
  std::string adminUser;
  std::string adminPassword;
};

// Throws std::runtime_error when the file is missing or lacks a key.
ServerEnv ReadServerEnv(const std::string& folder);

}  // namespace bench
