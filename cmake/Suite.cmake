# Helpers shared by the suite's folders.

# suite_embed_resources(<target> MANIFEST <file> MODULE <name> ACCESSOR <function> [PROGRAM])
# Embeds the files a manifest lists as resources of <target>'s module and
# generates <function>(), which returns the module handle.
function(suite_embed_resources target)
  cmake_parse_arguments(ARG "PROGRAM" "MANIFEST;MODULE;ACCESSOR" "" ${ARGN})
  get_filename_component(manifest ${ARG_MANIFEST} ABSOLUTE)
  get_filename_component(folder ${manifest} DIRECTORY)
  set(inputs ${manifest})
  file(STRINGS ${manifest} lines)
  foreach(line IN LISTS lines)
    string(REGEX MATCH "^[ \t]*[^# \t][^ \t]*[ \t]+[^ \t]+[ \t]+([^ \t]+)" matched "${line}")
    if(matched)
      list(APPEND inputs ${folder}/${CMAKE_MATCH_1})
    endif()
  endforeach()
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  set(kind "")
  if(ARG_PROGRAM)
    set(kind program)
  endif()
  add_custom_command(OUTPUT ${output}
    COMMAND EmbedResources ${manifest} ${output} ${ARG_MODULE} ${ARG_ACCESSOR} ${kind}
    DEPENDS EmbedResources ${inputs}
    COMMENT "Embedding resources of ${ARG_MODULE}")
  target_sources(${target} PRIVATE ${output})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/platform/win32)
endfunction()

# Where SaveTestPicture (platform/display/TestPicture.h) writes the pictures
# of test windows unless SUITE_TEST_PICTURES names another folder.
set(SUITE_TEST_PICTURE_FOLDER ${CMAKE_BINARY_DIR}/test-pictures)

# suite_test_program(<target> <library> <display> <sources...> [LIBRARIES ...] [TIMEOUT <seconds>])
# A GoogleTest executable linked with the library, registered with ctest under
# the prefix <target without _tests>. and run with SUITE_DISPLAY=<display>.
# A program in place of the library is built first and not linked: its tests
# link the LIBRARIES that hold its code. TIMEOUT bounds each test's run.
function(suite_test_program target library display)
  cmake_parse_arguments(ARG "" "TIMEOUT" "LIBRARIES" ${ARGN})
  add_executable(${target} ${ARG_UNPARSED_ARGUMENTS})
  get_target_property(library_type ${library} TYPE)
  if(library_type STREQUAL "EXECUTABLE")
    add_dependencies(${target} ${library})
  else()
    target_link_libraries(${target} PRIVATE ${library})
  endif()
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} GTest::gtest_main GTest::gmock)
  target_compile_definitions(${target} PRIVATE SUITE_TEST_PICTURE_FOLDER="${SUITE_TEST_PICTURE_FOLDER}")
  string(REGEX REPLACE "_tests$" "" prefix ${target})
  set(properties ENVIRONMENT "SUITE_DISPLAY=${display}")
  if(ARG_TIMEOUT)
    list(APPEND properties TIMEOUT ${ARG_TIMEOUT})
  endif()
  gtest_discover_tests(${target}
    TEST_PREFIX ${prefix}.
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/tests
    PROPERTIES ${properties}
    DISCOVERY_TIMEOUT 60)
endfunction()

# suite_add_tests(<library> [LIBRARIES ...])
# One GoogleTest executable per library from its tests/*.cpp, registered with
# ctest under the prefix <library>. and run headless.
function(suite_add_tests library)
  cmake_parse_arguments(ARG "" "" "LIBRARIES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
  if(NOT sources)
    return()
  endif()
  suite_test_program(${library}_tests ${library} headless ${sources} LIBRARIES ${ARG_LIBRARIES})
endfunction()

# suite_add_sdl_tests(<library> SOURCES <files...> [LIBRARIES <libs...>] [TIMEOUT <seconds>])
# The library's tests of what only a real window shows: <library>_sdl_tests
# from the given sources, registered under the prefix <library>_sdl. and run
# with SUITE_DISPLAY=sdl. make.sh runs every <name>_sdl. test under xvfb-run;
# without a display the tests are expected to skip themselves. <library> may
# name a program, as suite_test_program takes it.
function(suite_add_sdl_tests library)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
  set(timeout)
  if(ARG_TIMEOUT)
    set(timeout TIMEOUT ${ARG_TIMEOUT})
  endif()
  suite_test_program(${library}_sdl_tests ${library} sdl ${ARG_SOURCES} LIBRARIES ${ARG_LIBRARIES} ${timeout})
endfunction()
