#include "support/fifo.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace testsupport {

#ifdef _WIN32

bool MakeFifo(const std::filesystem::path&) { return false; }

#else

bool MakeFifo(const std::filesystem::path& path) { return mkfifo(path.c_str(), 0600) == 0; }

#endif

}  // namespace testsupport
