# The tool's pure half, free of <windows.h>: a library a folder, built for
# Windows and natively alike. Each library's sources are also gathered in the
# global property pure_sources, for the benchmark that builds them without
# sanitizers.
function(pure_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LINKS")
  add_library(${name} STATIC ${arg_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${arg_LINKS})
  list(TRANSFORM arg_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  set_property(GLOBAL APPEND PROPERTY pure_sources ${arg_SOURCES})
  set_property(GLOBAL APPEND PROPERTY pure_folders ${CMAKE_CURRENT_SOURCE_DIR})
  if(WIN32 AND NOT MSVC)
    # Small rather than fast: this is string building, and the tool ships.
    # Built without exception cleanups (an out-of-memory still unwinds through
    # to main, which says so, without freeing on the way): 15 KiB less.
    target_compile_options(${name} PRIVATE -Os -fno-exceptions -fasynchronous-unwind-tables)
    target_compile_definitions(${name} PRIVATE __USE_MINGW_ANSI_STDIO=0)
  endif()
  if(PAINTPROBE_SANITIZE)
    target_compile_options(${name} PRIVATE ${PAINTPROBE_SANITIZE} -fsanitize=fuzzer-no-link)
  endif()
endfunction()
