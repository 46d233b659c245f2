# libFuzzer targets, one per reader of outside input: <library>_<reader>.cpp,
# each linked against its library. Only the fuzz build (FuzzBuild.cmake) adds
# this file. Seeds live in corpus/<target>/.
add_library(fuzz_support STATIC ${CMAKE_CURRENT_LIST_DIR}/support/FuzzSupport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/support/EvaluationGuard.cpp)
target_include_directories(fuzz_support PUBLIC ${CMAKE_CURRENT_LIST_DIR}/support)
target_link_libraries(fuzz_support PUBLIC eval containers win32)

# The library each target's name starts with, where the two names differ
# (set(fuzz_library_<prefix> <library>)); tabulo's targets link the package,
# which brings its drawing toolkit along; the help sources' target links the
# help-archive builder of tools/.
set(fuzz_library_helparchive help_archive_builder)

file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
set(fuzz_targets)
foreach(source IN LISTS fuzz_sources)
  get_filename_component(target ${source} NAME_WE)
  string(REGEX REPLACE "_.*" "" library ${target})
  if(DEFINED fuzz_library_${library})
    set(library ${fuzz_library_${library}})
  endif()
  add_executable(${target} ${source})
  target_link_libraries(${target} PRIVATE ${library} fuzz_support)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzzers)
  list(APPEND fuzz_targets ${target})
endforeach()

# The formula-picture target typesets with the generated character tables.
target_compile_definitions(eval_imageprops PRIVATE FUZZ_CHR_DIR="${CMAKE_BINARY_DIR}/chr")
add_dependencies(eval_imageprops character_tables)

# The guards' own tests: what the evaluating targets let through.
add_executable(fuzz_tests ${CMAKE_CURRENT_LIST_DIR}/tests/EvaluationGuardTest.cpp)
target_link_libraries(fuzz_tests PRIVATE fuzz_support GTest::gtest_main)
gtest_discover_tests(fuzz_tests TEST_PREFIX fuzz. PROPERTIES ENVIRONMENT "SUITE_DISPLAY=headless")

add_custom_target(fuzz_all DEPENDS ${fuzz_targets} fuzz_tests)

# Writes the seeds that come from the libraries' own writers into corpus/:
# build-fuzz/bin/fuzz_seeds fuzz/corpus build-fuzz/chr, from the source root.
add_executable(fuzz_seeds ${CMAKE_CURRENT_LIST_DIR}/seeds/MakeSeeds.cpp)
target_link_libraries(fuzz_seeds PRIVATE kro eval bitmaps containers tabulo_chrtables tomari redakt)
add_dependencies(fuzz_seeds character_tables)
