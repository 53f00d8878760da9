# The fuzz targets in tests/fuzz. In the fuzz preset (clang, LUMRA_FUZZ) they
# are libFuzzer programs with the core instrumented for coverage; in every
# other native build a small replay main runs each over its committed corpus
# as a regression test, so `make test` needs no clang.
option(LUMRA_FUZZ "Build the fuzz targets as libFuzzer programs (needs clang)" OFF)
if(LUMRA_FUZZ)
    target_compile_options(lumra_core PRIVATE -fsanitize=fuzzer-no-link)
endif()

foreach(name command_line settings particles)
    add_executable(fuzz_${name} ${PROJECT_SOURCE_DIR}/tests/fuzz/fuzz_${name}.cpp)
    target_link_libraries(fuzz_${name} PRIVATE lumra_core)
    lumra_warnings(fuzz_${name})
    if(LUMRA_FUZZ)
        target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
        target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    else()
        target_sources(fuzz_${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/fuzz/replay_main.cpp)
        add_test(NAME fuzz_${name} COMMAND fuzz_${name} ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${name})
        set_tests_properties(fuzz_${name} PROPERTIES LABELS native)
    endif()
endforeach()
