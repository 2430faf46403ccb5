// A named pipe in the file system, where the system has them.
#pragma once

#include <filesystem>

namespace testsupport {

// Makes a FIFO at the path and says whether it did. Windows has no such
// file, and there nothing is made: whoever opens the path finds no file.
bool MakeFifo(const std::filesystem::path& path);

}  // namespace testsupport
