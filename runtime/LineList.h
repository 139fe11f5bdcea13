#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace runtime {

// An ordered list of texts.
using LineList = std::vector<std::string>;

// Every line followed by CR LF, the last one included.
std::string TextOf(const LineList& lines);

// Splits at CR LF, a lone CR or a lone LF; a break at the very end adds no empty line.
LineList LinesOf(std::string_view text);

}  // namespace runtime
