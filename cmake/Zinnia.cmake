# Zinnia, the handwriting recogniser, as the target zinnia_recognizer.
# Linux: Debian's library (libzinnia-dev). A Windows build is given
# ZINNIA_INCLUDE_DIR and ZINNIA_LIBRARY, a static library built from Debian's
# source package by scripts/build-windows.sh, and ships the model with it.
find_path(ZINNIA_INCLUDE_DIR zinnia.h REQUIRED)
find_library(ZINNIA_LIBRARY NAMES zinnia REQUIRED)
add_library(zinnia_recognizer INTERFACE)
target_include_directories(zinnia_recognizer SYSTEM INTERFACE ${ZINNIA_INCLUDE_DIR})
target_link_libraries(zinnia_recognizer INTERFACE ${ZINNIA_LIBRARY})
if(NOT WIN32)
  return()
endif()

# Zinnia's own header declares its functions imported from a DLL, which a
# static link cannot resolve; scripts/build-windows.sh writes the static
# library's header without that.
file(STRINGS ${ZINNIA_INCLUDE_DIR}/zinnia.h zinnia_imports REGEX "dllimport")
if(zinnia_imports)
  message(FATAL_ERROR "${ZINNIA_INCLUDE_DIR}/zinnia.h is a DLL's header; "
    "scripts/build-windows.sh builds the static library with its own")
endif()

# The ZIP carries the model where the programs look first, beside themselves
# and the set, and the licences of the model and of Zinnia beside the set's.
set(ZEP_HANDWRITING_MODEL /usr/share/tegaki/models/zinnia/handwriting-ja.model CACHE FILEPATH
  "The handwriting model that the ZIP carries (Debian tegaki-zinnia-japanese)")
set(ZEP_HANDWRITING_MODEL_COPYRIGHT /usr/share/doc/tegaki-zinnia-japanese/copyright CACHE
  FILEPATH "The model's copyright file")
set(ZINNIA_LICENSE "" CACHE FILEPATH "Zinnia's licence text (COPYING in its source)")
foreach(shipped ZEP_HANDWRITING_MODEL ZEP_HANDWRITING_MODEL_COPYRIGHT ZINNIA_LICENSE)
  if(NOT EXISTS "${${shipped}}")
    message(FATAL_ERROR "${shipped}: no file '${${shipped}}' for the ZIP")
  endif()
endforeach()
install(FILES ${ZEP_HANDWRITING_MODEL} DESTINATION .)
# The model's copyright names the LGPL 2.1 by Debian's copy of its text.
install(FILES ${ZEP_HANDWRITING_MODEL_COPYRIGHT} DESTINATION handwriting-licenses
  RENAME tegaki-zinnia-japanese.txt)
install(FILES /usr/share/common-licenses/LGPL-2.1 DESTINATION handwriting-licenses
  RENAME LGPL-2.1.txt)
install(FILES ${ZINNIA_LICENSE} DESTINATION handwriting-licenses RENAME Zinnia.txt)
