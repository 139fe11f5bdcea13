#pragma once

#include <string>

namespace runtime {

// The whole file as bytes. Throws Failure "Cannot open file \"<path>\". <reason>".
std::string ReadFileBytes(const std::string& path);

// Creates or empties the file and writes the bytes. Throws Failure
// "Cannot create file \"<path>\". <reason>"; also when writing or closing fails.
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Like WriteFileBytes, but never replaces an existing file: throws Failure
// "Cannot create file ..." with the reason when the name is taken (EEXIST).
void CreateNewFileBytes(const std::string& path, const std::string& bytes);

}  // namespace runtime
