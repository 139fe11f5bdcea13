#include "bench/Child.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <iostream>
#include <sstream>

#include "runtime/Paths.h"

namespace bench {

Figures RunChild(const std::vector<std::string>& arguments) {
  const std::string executable = runtime::ExecutablePath();
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(executable.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");
  std::cout.flush();
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    dup2(pipeEnds[1], STDOUT_FILENO);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    execv(executable.c_str(), argv.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  std::string output;
  char buffer[4096];
  for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
    if (got > 0) output.append(buffer, static_cast<std::size_t>(got));
    else if (errno != EINTR) break;
  }
  close(pipeEnds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }

  Figures figures;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    if (auto eq = line.find('='); eq != std::string::npos) figures[line.substr(0, eq)] = line.substr(eq + 1);
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::string what = "the measurement \"" + (arguments.empty() ? std::string() : arguments.front()) + "\" failed";
    if (auto error = figures.find("error"); error != figures.end()) what += ": " + error->second;
    else if (WIFSIGNALED(status)) what += " with signal " + std::to_string(WTERMSIG(status));
    else what += " with exit code " + std::to_string(WEXITSTATUS(status));
    throw std::runtime_error(what);
  }
  return figures;
}

int ServeChild(const std::function<Figures()>& measure) {
  try {
    for (const auto& [key, value] : measure()) std::cout << key << '=' << value << '\n';
    std::cout.flush();
    return 0;
  } catch (const std::exception& failure) {
    std::string message = failure.what();
    if (message.empty()) message = "a failure without a message (a silent abort?)";
    for (char& c : message) {
      if (c == '\n' || c == '\r') c = ' ';
    }
    std::cout << "error=" << message << std::endl;
    return 1;
  } catch (...) {
    std::cout << "error=a failure of no known type" << std::endl;
    return 1;
  }
}

}  // namespace bench
