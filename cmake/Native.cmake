# Linux: the portable core's unit tests (GL drawing on Mesa's OSMesa), the
# resource generators and the benchmarks.
find_package(GTest REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(OSMESA REQUIRED IMPORTED_TARGET osmesa)
include(GoogleTest)
enable_testing()

add_library(lumra_generators INTERFACE)
if(LUMRA_GENERATOR_SOURCES)
    add_library(lumra_generator_code STATIC ${LUMRA_GENERATOR_SOURCES})
    target_include_directories(lumra_generator_code PUBLIC ${PROJECT_SOURCE_DIR})
    lumra_warnings(lumra_generator_code)
    target_link_libraries(lumra_generators INTERFACE lumra_generator_code)
endif()

foreach(generator glow icon)
    if(EXISTS ${PROJECT_SOURCE_DIR}/tools/make_${generator}.cpp)
        add_executable(make_${generator} tools/make_${generator}.cpp)
        target_link_libraries(make_${generator} PRIVATE lumra_generators)
        lumra_warnings(make_${generator})
    endif()
endforeach()

file(GLOB LUMRA_UNIT_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${LUMRA_UNIT_SOURCES})
target_include_directories(unit_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/unit)
target_link_libraries(unit_tests PRIVATE lumra_core lumra_generators GTest::gtest_main PkgConfig::OSMESA)
lumra_warnings(unit_tests)
gtest_discover_tests(unit_tests PROPERTIES LABELS native DISCOVERY_TIMEOUT 60)

# Benchmarks: one executable per file in tools/bench, built only where
# Google Benchmark is installed (it is, through install-deps).
find_package(benchmark QUIET)
file(GLOB LUMRA_BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/bench/*.cpp)
if(benchmark_FOUND)
    foreach(source ${LUMRA_BENCH_SOURCES})
        get_filename_component(name ${source} NAME_WE)
        add_executable(${name} ${source})
        target_link_libraries(${name} PRIVATE lumra_core benchmark::benchmark PkgConfig::OSMESA)
        lumra_warnings(${name})
    endforeach()
endif()
