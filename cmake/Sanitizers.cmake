# One switch instruments the whole build, so a sanitized test run also covers
# the libraries the tests link.
if(ZEP_SANITIZE)
  add_compile_options(-fsanitize=${ZEP_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${ZEP_SANITIZE})
endif()
