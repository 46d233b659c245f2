# The fuzz build: ./make.sh fuzz configures the suite with clang and passes
# this file as CMAKE_PROJECT_suite_INCLUDE, so it runs right after the suite's
# project(). Every library gets libFuzzer's coverage hooks and the address and
# undefined-behaviour sanitizers, and the targets of FuzzTargets.cmake join
# once the libraries are defined. The normal build never reads this file.
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
  -fno-omit-frame-pointer -O1)
add_link_options(-fsanitize=address,undefined)
# A deferred call reads its variables when it runs, so the folder is kept here.
set(SUITE_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})
cmake_language(DEFER CALL include ${SUITE_FUZZ_DIR}/FuzzTargets.cmake)
