# Shared target settings and the test helper.

set(LX_WARNINGS -Wall -Wextra -Wno-unused-parameter)

if(WIN32)
  # Windows binaries import system DLLs only.
  set(LX_STATIC_LINK -static -static-libgcc -static-libstdc++)
  # Shipped binaries stay lean: -O2 rather than -O3's unrolled copies, and
  # each function in its own section so that the linker drops what no one
  # calls (--gc-sections, LX_LEAN_LINK).
  string(REPLACE "-O3" "-O2" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")
  string(REPLACE "-O3" "-O2" CMAKE_C_FLAGS_RELEASE "${CMAKE_C_FLAGS_RELEASE}")
  add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-ffunction-sections> $<$<COMPILE_LANGUAGE:C,CXX>:-fdata-sections>)
  set(LX_LEAN_LINK -Wl,--gc-sections)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  # GoogleTest for the Windows test executables, built from Debian's sources.
  if(NOT TARGET gtest)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
else()
  find_package(GTest REQUIRED)
  find_package(benchmark QUIET)
  find_package(Threads REQUIRED)
endif()

# lx_library(name SOURCES ... LIBS ...): a static library of portable or Windows code.
function(lx_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${LX_WARNINGS})
  target_link_libraries(${name} PUBLIC ${A_LIBS})
endfunction()

# lx_test(name SOURCES ... LIBS ... [LABELS ...]): a GoogleTest executable run by ctest.
# Windows test executables run through Wine (CMAKE_CROSSCOMPILING_EMULATOR).
function(lx_test name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${LX_WARNINGS})
  if(WIN32)
    target_link_libraries(${name} PRIVATE ${A_LIBS} gtest gmock gtest_main)
    target_link_options(${name} PRIVATE ${LX_STATIC_LINK})
    set(labels windows ${A_LABELS})
  else()
    target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
    set(labels host ${A_LABELS})
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES LABELS "${labels}" TIMEOUT 600)
endfunction()

# lx_wow64_test(name DRIVER <program of the 64-bit tree> ARGS ...): one of the
# 32-bit runs (label "wow64") that prove what differs between the word
# sizes. Where QEMU runs 32-bit programs each 32-bit process costs about a
# minute, so a 32-bit program that need not be loaded in-process is driven
# by the 64-bit tree's test program (test.sh builds that tree first).
if(WIN32 AND LX_BITS EQUAL 32)
  set(LX_WIN64_TREE "${CMAKE_BINARY_DIR}/../win64" CACHE PATH
      "The 64-bit build tree whose test programs drive the 32-bit programs")
endif()
function(lx_wow64_test name)
  cmake_parse_arguments(A "" "DRIVER" "ARGS" ${ARGN})
  add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh ${LX_WIN64_TREE}/${A_DRIVER}
           --gtest_color=no ${A_ARGS})
  set_tests_properties(${name} PROPERTIES LABELS "windows;wow64" TIMEOUT 900)
endfunction()

# lx_fuzz(name SOURCES ... LIBS ... [CORPUS dir] [RUNS n]): a libFuzzer target of
# the sanitizer build, run by ctest for a bounded number of inputs.
option(LX_FUZZ "Build the fuzz targets (clang, sanitize preset)" OFF)
if(LX_FUZZ)
  # The fuzzers steer by the coverage of the code they reach, not only of
  # their own source file: every object carries the coverage hooks, except
  # the standard library's functions (see the list). At -O0 the standard
  # library's inline code costs more than the parsing itself.
  add_compile_options(-fsanitize=fuzzer-no-link -O1
                      -fsanitize-coverage-ignorelist=${PROJECT_SOURCE_DIR}/cmake/fuzz-coverage-ignore.txt)
endif()
function(lx_fuzz name)
  if(NOT LX_FUZZ)
    return()
  endif()
  cmake_parse_arguments(A "" "CORPUS;RUNS" "SOURCES;LIBS" ${ARGN})
  if(NOT A_RUNS)
    set(A_RUNS 20000)
  endif()
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(args -runs=${A_RUNS} -max_len=65536 -seed=1)
  if(A_CORPUS)
    # Seeds are read only: new inputs go to a scratch folder.
    set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
    file(MAKE_DIRECTORY ${work})
    list(APPEND args ${work} ${A_CORPUS})
  endif()
  add_test(NAME ${name} COMMAND ${name} ${args})
  set_tests_properties(${name} PROPERTIES LABELS "fuzz" TIMEOUT 300)
endfunction()

# lx_install_stripped(target destination): after install(TARGETS), the
# installed copy loses its symbols and debug information, which stay beside
# the build in debug/<file>.debug; a debug link in the copy names that file,
# so that a debugger given the folder still reads a crash.
function(lx_install_stripped target destination)
  if(NOT CMAKE_OBJCOPY)
    return()
  endif()
  set(debug "${CMAKE_BINARY_DIR}/debug/$<TARGET_FILE_NAME:${target}>.debug")
  set(shipped "\${CMAKE_INSTALL_PREFIX}/${destination}/$<TARGET_FILE_NAME:${target}>")
  install(CODE "
    file(MAKE_DIRECTORY \"${CMAKE_BINARY_DIR}/debug\")
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --only-keep-debug \"$<TARGET_FILE:${target}>\" \"${debug}\"
                    COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --strip-all \"--add-gnu-debuglink=${debug}\" \"${shipped}\"
                    COMMAND_ERROR_IS_FATAL ANY)")
endfunction()
