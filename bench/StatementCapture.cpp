#include "bench/StatementCapture.h"

#include <utility>

namespace bench {

StatementCapture::StatementCapture(PlainClient& admin, std::string user) : admin_(admin), user_(std::move(user)) {
  admin_.Run("set global general_log = 0");
  admin_.Run("set global log_output = 'TABLE'");
  admin_.Run("truncate table mysql.general_log");
  admin_.Run("set global general_log = 1");
  logging_ = true;
}

StatementCapture::~StatementCapture() {
  if (!logging_) return;
  try {
    admin_.Run("set global general_log = 0");
  } catch (...) {
  }
}

std::vector<StatementCapture::Statement> StatementCapture::Stop() {
  admin_.Run("set global general_log = 0");
  logging_ = false;
  // The log table keeps rows in arrival order; event_time alone could tie.
  std::vector<Statement> statements;
  for (auto& row : admin_.Rows("select command_type, argument from mysql.general_log where user_host like '" +
                               user_ + "[%'")) {
    if (row[0] == "Connect" || row[0] == "Quit") continue;
    statements.push_back({std::move(row[0]), std::move(row[1])});
  }
  admin_.Run("truncate table mysql.general_log");
  return statements;
}

}  // namespace bench
