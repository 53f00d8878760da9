# Linux: the portable core's unit tests (GL drawing on Mesa's OSMesa) and the
# benchmarks, which draw through the same scene.
if(NOT BUILD_TESTING)
    return()
endif()
find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(OSMESA REQUIRED IMPORTED_TARGET osmesa)
include(GoogleTest)

file(GLOB LUMRA_UNIT_SOURCES CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/*.cpp)
add_executable(unit_tests ${LUMRA_UNIT_SOURCES})
target_link_libraries(unit_tests PRIVATE lumra_core lumra_generator_code GTest::gtest_main PkgConfig::OSMESA)
lumra_warnings(unit_tests)
gtest_discover_tests(unit_tests PROPERTIES LABELS native DISCOVERY_TIMEOUT 60)

file(GLOB LUMRA_BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/bench/bench_*.cpp)
foreach(source ${LUMRA_BENCH_SOURCES})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE lumra_draw_comparison lumra_glow benchmark::benchmark PkgConfig::OSMESA)
    lumra_warnings(${name})
endforeach()
