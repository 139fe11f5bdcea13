#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace db {

// Ten-thousandths of a plain decimal text ("-12", "10.5", "0.0005"): an optional "-",
// digits, and at most four decimals behind ".". Nothing else, and nothing that would
// not fit in 64 bits, is read: the caller then keeps the text as it is.
std::optional<int64_t> TicksOfDecimalText(std::string_view text);

}  // namespace db
