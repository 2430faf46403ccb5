# What `cmake --install` puts on the system: the three programs and, for the
# player on freedesktop systems, a desktop entry that opens .zep scripts,
# the MIME type that names them, and the icon.
include(GNUInstallDirs)

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
  # The imported characters with their data's licences, once
  # scripts/import-kanji.sh has made them; where the player looks them up.
  install(DIRECTORY ${PROJECT_BINARY_DIR}/share/zepplayer/kanji
    DESTINATION ${CMAKE_INSTALL_DATADIR}/zepplayer OPTIONAL)
endif()
install(TARGETS zepkit RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
