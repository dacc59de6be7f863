# The fuzz targets of the parsers of outside bytes (tests/fuzz): the settings reader, the remote
# control's messages, the voice aligner and the WAV reader. Built with clang into <build>/fuzz when
# clang and its libFuzzer runtime are there, so the main build stays on its own compiler; each
# runs as a test from its seed corpus.
# How long each target runs in the test suite; a longer hunt: -DVELLORAN_FUZZ_SECONDS=600.
set(VELLORAN_FUZZ_SECONDS 10 CACHE STRING "Seconds each fuzz target runs as a test")
find_program(VELLORAN_CLANGXX NAMES clang++ clang++-14)
set(fuzz_runtime "")
if(VELLORAN_CLANGXX)
  execute_process(COMMAND ${VELLORAN_CLANGXX} -print-file-name=libclang_rt.fuzzer-${CMAKE_SYSTEM_PROCESSOR}.a
                  OUTPUT_VARIABLE fuzz_runtime OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(IS_ABSOLUTE "${fuzz_runtime}" AND EXISTS "${fuzz_runtime}")
  include(ExternalProject)
  ExternalProject_Add(settings_fuzz_build
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/tests/fuzz
    BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
    CMAKE_GENERATOR ${CMAKE_GENERATOR}
    # Light optimisation and line tables only: quick to build, still fast to run and symbolised.
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${VELLORAN_CLANGXX} -DCMAKE_BUILD_TYPE=
               "-DCMAKE_CXX_FLAGS=-O1 -gline-tables-only"
    INSTALL_COMMAND ""
    BUILD_ALWAYS TRUE)
  add_test(NAME settings_fuzz
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/fuzz/run_fuzz.sh ${CMAKE_BINARY_DIR}/fuzz/settings_fuzz
                   ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus ${VELLORAN_FUZZ_SECONDS})
  set_tests_properties(settings_fuzz PROPERTIES TIMEOUT 180 LABELS fuzz)
  add_test(NAME remote_fuzz
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/fuzz/run_fuzz.sh ${CMAKE_BINARY_DIR}/fuzz/remote_fuzz
                   ${PROJECT_SOURCE_DIR}/tests/fuzz/remote_corpus ${VELLORAN_FUZZ_SECONDS})
  set_tests_properties(remote_fuzz PROPERTIES TIMEOUT 120 LABELS fuzz)
  # The voice aligner and the WAV reader.
  foreach(target aligner wav)
    add_test(NAME ${target}_fuzz
             COMMAND bash ${PROJECT_SOURCE_DIR}/tests/fuzz/run_fuzz.sh ${CMAKE_BINARY_DIR}/fuzz/${target}_fuzz
                     ${PROJECT_SOURCE_DIR}/tests/fuzz/${target}_corpus ${VELLORAN_FUZZ_SECONDS})
    set_tests_properties(${target}_fuzz PROPERTIES TIMEOUT 180 LABELS fuzz)
  endforeach()
else()
  message(WARNING "clang or its libFuzzer runtime (libclang-rt-14-dev) missing: the fuzz targets are not built")
endif()
