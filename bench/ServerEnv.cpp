#include "bench/ServerEnv.h"

#include <fstream>
#include <map>
#include <stdexcept>

namespace bench {

ServerEnv ReadServerEnv(const std::string& folder) {
  const std::string path = folder + "/server.env";
  std::ifstream in(path);
  if (!in) throw std::runtime_error("no server described in " + path);
  std::map<std::string, std::string> keys;
  for (std::string line; std::getline(in, line);) {
    if (auto eq = line.find('='); eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
  }
  auto key = [&](const std::string& name) {
    auto found = keys.find(name);
    if (found == keys.end()) throw std::runtime_error(path + " has no " + name);
    return found->second;
  };
  return {key("host"), std::stoi(key("port")), key("database"), key("user"),
          key("password"), key("admin_user"), key("admin_password")};
}

}  // namespace bench
