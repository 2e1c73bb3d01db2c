# Helpers for declaring tests, fuzz targets and benchmarks in one line each.

# add_core_test(NAME SOURCES ... [LIBS ...])
# A test of portable code: natively each case is its own ctest entry; in the cross
# build the program also runs under Wine, as one entry, so MinGW behaves the same.
function(add_core_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  target_precompile_headers(${name} REUSE_FROM core_test_pch)
  if(WIN32)
    add_test(NAME wine.${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(wine.${name} PROPERTIES TIMEOUT 120)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60)
  endif()
endfunction()

# add_wine_test(NAME SOURCES ... [LIBS ...] [TIMEOUT s])
# A test of Windows-side code, built only in the cross build and run under Wine.
# It links the test support library (a main that closes stray message boxes and menus).
# A test given more time is a long one and starts before the others (its COST): a run
# without ctest's record of earlier times would otherwise start them in the order declared,
# and the last long one would end alone while the other job slot stays empty.
function(add_wine_test name)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} wine_test_support GTest::gmock GTest::gtest)
  target_precompile_headers(${name} REUSE_FROM wine_test_pch)
  add_test(NAME wine.${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(wine.${name} PROPERTIES TIMEOUT ${T_TIMEOUT} COST ${T_TIMEOUT})
endfunction()

# add_fuzz_target(NAME SOURCES ... [LIBS ...] CORPUS dir)
# With SKIN_FUZZ a libFuzzer program (tests run it for FUZZ_SECONDS); otherwise the same
# entry point is linked with a replay main and runs once over the seed corpus as a test.
set(FUZZ_SECONDS 15 CACHE STRING "Seconds each fuzz target runs as a test")
function(add_fuzz_target name)
  cmake_parse_arguments(T "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  if(SKIN_FUZZ)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}.corpus)
    add_test(NAME fuzz.${name}
             COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
                     UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
                     ${CMAKE_SOURCE_DIR}/fuzz/run-fuzzer.sh $<TARGET_FILE:${name}> ${T_CORPUS} ${work} ${FUZZ_SECONDS})
    math(EXPR fuzz_timeout "${FUZZ_SECONDS} + 600")
    set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT ${fuzz_timeout})
  else()
    target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
    add_test(NAME replay.${name} COMMAND ${name} ${T_CORPUS})
    set_tests_properties(replay.${name} PROPERTIES TIMEOUT 300)
  endif()
endfunction()

# add_benchmark(NAME SOURCES ... [LIBS ...]): a program that prints its figures; never a test.
function(add_benchmark name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
endfunction()

# Libraries are declared before their folders fill them; one left without sources yet
# gets an empty translation unit so that the build stays valid.
function(ensure_library_sources)
  foreach(lib ${ARGN})
    get_target_property(srcs ${lib} SOURCES)
    if(NOT srcs)
      set(stub ${CMAKE_BINARY_DIR}/empty_${lib}.cpp)
      file(WRITE ${stub} "// ${lib} has no sources yet\n")
      target_sources(${lib} PRIVATE ${stub})
    endif()
  endforeach()
endfunction()
