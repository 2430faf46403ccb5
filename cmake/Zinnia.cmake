# Zinnia, the handwriting recogniser, as the target zinnia_recognizer.
# Linux: Debian's library (libzinnia-dev). A Windows build is given
# ZINNIA_INCLUDE_DIR and ZINNIA_LIBRARY, a static library built from Debian's
# source package by scripts/build-windows.sh.
find_path(ZINNIA_INCLUDE_DIR zinnia.h REQUIRED)
find_library(ZINNIA_LIBRARY NAMES zinnia REQUIRED)
add_library(zinnia_recognizer INTERFACE)
target_include_directories(zinnia_recognizer SYSTEM INTERFACE ${ZINNIA_INCLUDE_DIR})
target_link_libraries(zinnia_recognizer INTERFACE ${ZINNIA_LIBRARY})
