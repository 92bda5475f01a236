# One static library per folder of src/; the include root is src/, so every
# include names the layer it comes from ("core/zvmsg.h"). FAMILIES names the
# subfolders by family whose sources belong to the same library
# ("widgets/buttons/zvbutton.h").
function(zv_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;PUBLIC_DEPS;FAMILIES" ${ARGN})
  set(patterns ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(family ${ARG_FAMILIES})
    list(APPEND patterns ${CMAKE_CURRENT_SOURCE_DIR}/${family}/*.cpp)
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${patterns})
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_DEPS})
endfunction()

# The environment every test program needs, whatever the caller's holds: Qt's offscreen platform
# and SDL's dummy drivers, so that plain `ctest` needs neither a display nor a sound card.
set(ZV_TEST_ENVIRONMENT QT_QPA_PLATFORM=offscreen SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy)

# One test program per library, from every *_test.cpp of the calling folder.
function(zv_test_program name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} zv_test_support GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE ZV_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
                                             ZV_TEST_FONT_FILE="${ZV_TEST_FONT_FILE}")
  # CTest runs each GoogleTest suite as one test, registered from the program's own listing once
  # it is linked; the label names the program, so that a preset can run the tests of a few
  # programs.
  set(suites_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_suites.cmake)
  # The environment goes to the script joined by "|": a ";" would split the command's argument.
  string(REPLACE ";" "|" environment "${ZV_TEST_ENVIRONMENT}")
  add_custom_command(
    TARGET ${name} POST_BUILD
    BYPRODUCTS ${suites_file}
    COMMAND ${CMAKE_COMMAND} -D TEST_PROGRAM=$<TARGET_FILE:${name}> -D TEST_NAME=${name}
            -D WORKING_DIR=${CMAKE_CURRENT_BINARY_DIR} -D SUITES_FILE=${suites_file}
            -D TEST_TIMEOUT=600 -DTEST_ENVIRONMENT=${environment}
            -P ${PROJECT_SOURCE_DIR}/cmake/GTestSuites.cmake
    VERBATIM)
  # Until the program is built, CTest shows one failing test that says so.
  set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_include.cmake)
  file(WRITE ${include_file}
       "if(EXISTS [==[${suites_file}]==])\n"
       "  include([==[${suites_file}]==])\n"
       "else()\n"
       "  add_test(${name}_NOT_BUILT ${name}_NOT_BUILT)\n"
       "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()

# A libFuzzer target, run briefly by CTest from its seed corpus (tests/data/fuzz/<name>).
function(zv_fuzz_target name source)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  if(NOT ZV_FUZZ)
    return()
  endif()
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(corpus ${PROJECT_SOURCE_DIR}/tests/data/fuzz/${name})
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
  add_test(NAME fuzz.${name}
           COMMAND sh -c "mkdir -p '${work}' && exec '$<TARGET_FILE:${name}>' -max_total_time=${ZV_FUZZ_SECONDS} -rss_limit_mb=2048 '${work}' '${corpus}'")
  set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 300 LABELS fuzz)
endfunction()
set(ZV_FUZZ_SECONDS 15 CACHE STRING "Seconds each fuzz target runs under CTest")
