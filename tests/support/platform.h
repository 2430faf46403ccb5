// What a test may assume of the platform's file names.
#pragma once

namespace testsupport {

// POSIX names are bytes, any bytes; Windows names are UTF-16, so a name that
// is no UTF-8 cannot even be passed to a program there.
// Windows paths, as our programs open them, stop at 259 characters.
// A program looks for its data first in this folder, relative to its own.
#ifdef _WIN32
inline constexpr bool kNamesAreBytes = false;
inline constexpr bool kPathsOver259 = false;
inline constexpr char kDataBesideProgram[] = ".";
#else
inline constexpr bool kNamesAreBytes = true;
inline constexpr bool kPathsOver259 = true;
inline constexpr char kDataBesideProgram[] = "../share/zepplayer";
#endif

}  // namespace testsupport
