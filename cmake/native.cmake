# The native build (Linux, clang): the code free of <windows.h>, with
# AddressSanitizer and UndefinedBehaviorSanitizer on everything it builds
# but the benchmark, and coverage for the fuzzer.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "the native build wants clang (cmake --preset native)")
endif()
add_compile_options(-Wall -Wextra)
set(PAINTPROBE_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)

add_subdirectory(paint_probe)
add_subdirectory(main_window)
add_subdirectory(hook_contract)
include(${PROJECT_SOURCE_DIR}/cmake/pure_library.cmake)
add_subdirectory(transcript_formats)
add_subdirectory(transcript_analysis)
add_subdirectory(transcript_outputs)
add_subdirectory(command_line)
foreach(target paint_report form1_layout)
  target_compile_options(${target} PRIVATE ${PAINTPROBE_SANITIZE} -fsanitize=fuzzer-no-link)
endforeach()
add_subdirectory(bench)

include(CTest)
if(BUILD_TESTING)
  add_subdirectory(tests/native)
endif()
