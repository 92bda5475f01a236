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
  # The label names the program, so that a preset can run the tests of a few programs.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120 LABELS ${name})
  # The discovered tests get their environment from a file CTest reads after the discovery's
  # own, which lists them in ${name}_TESTS (the discovery's PROPERTIES would split the list
  # of variables into separate properties).
  set(environment_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake)
  file(WRITE ${environment_file}
       "if(${name}_TESTS)\n"
       "  set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT \"${ZV_TEST_ENVIRONMENT}\")\n"
       "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${environment_file})
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
