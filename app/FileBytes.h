#pragma once

#include <string>
#include <string_view>

// The whole file as bytes; false when it cannot be read.
bool ReadFileBytes(const std::string &path, std::string &bytes);

// Makes `bytes` the whole content of the file; false when that fails.
bool WriteFileBytes(const std::string &path, std::string_view bytes);
