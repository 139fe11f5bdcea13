#pragma once

#include <string>
#include <string_view>

namespace runtime {

// The characters that part a folder from a file name on this platform, and on Windows,
// where settings paths written by installations may come from.
inline constexpr std::string_view kFolderSeparators = "/";
inline constexpr std::string_view kWindowsFolderSeparators = "\\:";

// The running executable's folder, ending with its separator.
std::string ExecutableFolder();

// The running executable's full path.
std::string ExecutablePath();

// True when the name holds any of the separators, i.e. it names its own folder.
bool HasFolderPart(std::string_view name, std::string_view separators);

}  // namespace runtime
