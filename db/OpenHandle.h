#pragma once

#include "db/Connection.h"

namespace db {

// The connection's handle; throws db::Error for a connection that was moved from.
st_mysql* OpenHandle(const Connection& connection);

}  // namespace db
