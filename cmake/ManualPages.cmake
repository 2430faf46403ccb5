# The manual pages: scdoc sources beside each program (apps/NAME/NAME.1.scd),
# turned into man format at build time when scdoc is there (Debian scdoc).
find_program(SCDOC scdoc)
if(SCDOC)
  set(zep_manual_pages)
  foreach(program zepplayer felmar dorvik zepkit)
    set(source ${PROJECT_SOURCE_DIR}/apps/${program}/${program}.1.scd)
    set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
      COMMAND sh -c "\"$0\" < \"$1\" > \"$2\"" ${SCDOC} ${source} ${page}
      DEPENDS ${source} VERBATIM)
    list(APPEND zep_manual_pages ${page})
  endforeach()
  add_custom_target(manual_pages ALL DEPENDS ${zep_manual_pages})
  install(FILES ${zep_manual_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
