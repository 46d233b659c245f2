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

# suite_add_tests(<library> [LIBRARIES ...])
# One GoogleTest executable per library from its tests/*.cpp, registered with ctest.
function(suite_add_tests library)
  cmake_parse_arguments(ARG "" "" "LIBRARIES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${library}_tests ${sources})
  target_link_libraries(${library}_tests PRIVATE ${library} ${ARG_LIBRARIES} GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${library}_tests
    TEST_PREFIX ${library}.
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/tests
    PROPERTIES ENVIRONMENT "SUITE_DISPLAY=headless"
    DISCOVERY_TIMEOUT 60)
endfunction()
