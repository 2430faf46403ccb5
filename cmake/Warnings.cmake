# Every target of ours gets the same strict warnings; third-party headers are
# included as system headers so they do not count.
function(zep_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
      -Wconversion -Wsign-conversion -Wnon-virtual-dtor -Wold-style-cast)
  endif()
endfunction()
