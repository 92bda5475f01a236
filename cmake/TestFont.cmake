# The font that the drawing tests and the benchmarks pin, so that their text measures and
# pictures are the same on every machine: Liberation Sans Regular, wherever fontconfig finds
# it. Sets ZV_TEST_FONT_FILE.
find_program(ZV_FC_LIST fc-list REQUIRED)
execute_process(COMMAND ${ZV_FC_LIST} -f "%{file}\n" "Liberation Sans:style=Regular"
                OUTPUT_VARIABLE font_files OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REGEX REPLACE "\n.*" "" ZV_TEST_FONT_FILE "${font_files}")
if(NOT ZV_TEST_FONT_FILE)
  message(FATAL_ERROR "fontconfig finds no Liberation Sans Regular, which the tests draw with (fonts-liberation)")
endif()
