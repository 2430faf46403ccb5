// What a test may assume of the platform's file names.
#pragma once

namespace testsupport {

// POSIX names are bytes, any bytes; Windows names are UTF-16, so a name that
// is no UTF-8 cannot even be passed to a program there.
#ifdef _WIN32
inline constexpr bool kNamesAreBytes = false;
#else
inline constexpr bool kNamesAreBytes = true;
#endif

}  // namespace testsupport
