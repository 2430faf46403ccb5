# What `cmake --install` puts on the system. On freedesktop systems: the four
# programs, their manual pages and, for the player, a desktop entry that opens
# .zep scripts, the MIME type that names them, and the icon. On Windows: one
# folder as a user downloads it, zipped by CPack (zepplayer-VERSION-win64.zip),
# holding the four programs, the bundled characters and a short README.
# Both hold the imported set with its licences, once scripts/import-kanji.sh
# has made it (scripts/package.sh makes both packages).
include(GNUInstallDirs)

# The imported set, where the programs look for it: beside the executables
# on Windows, in the shared data folder elsewhere. A cross build takes the
# set that the native build imported.
set(ZEP_KANJI_DIR ${PROJECT_BINARY_DIR}/share/zepplayer CACHE PATH
  "The folder of the imported set (kanji.sqlite, kanji-licenses/) that cmake --install installs")
if(WIN32)
  set(zep_set_destination .)
else()
  set(zep_set_destination ${CMAKE_INSTALL_DATADIR}/zepplayer)
endif()
install(FILES ${ZEP_KANJI_DIR}/kanji.sqlite DESTINATION ${zep_set_destination} OPTIONAL)
install(DIRECTORY ${ZEP_KANJI_DIR}/kanji-licenses DESTINATION ${zep_set_destination} OPTIONAL)

if(WIN32)
  install(TARGETS dorvik felmar zepkit RUNTIME DESTINATION .)
  if(TARGET zepplayer)
    install(TARGETS zepplayer RUNTIME DESTINATION .)
  endif()
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/samples/ DESTINATION samples
    FILES_MATCHING PATTERN "*.zep" PATTERN "*.rgn" PATTERN "src" EXCLUDE)
  # Notepad before Windows 10 shows a file without carriage returns as one line.
  configure_file(${PROJECT_SOURCE_DIR}/resources/README-windows.txt ${PROJECT_BINARY_DIR}/README.txt
    @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${PROJECT_BINARY_DIR}/README.txt DESTINATION .)

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME zepplayer)
  set(CPACK_PACKAGE_FILE_NAME zepplayer-${PROJECT_VERSION}-win64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_STRIP_FILES ON)
  include(CPack)
  return()
endif()

install(TARGETS dorvik felmar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET zepplayer)
  install(TARGETS zepplayer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(UNIX AND NOT APPLE)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/zepplayer.desktop
      DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/zepplayer-mime.xml
      DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME zepplayer.xml)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/zepplayer.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
  endif()
  # The bundled characters, to open or to copy as the start of new ones.
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/samples/
    DESTINATION ${CMAKE_INSTALL_DATADIR}/zepplayer/samples
    FILES_MATCHING PATTERN "*.zep" PATTERN "*.rgn" PATTERN "src" EXCLUDE)
endif()
install(TARGETS zepkit RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
include(cmake/ManualPages.cmake)
