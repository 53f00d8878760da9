# Linux: lumra, the native program XScreenSaver runs (Xlib, GLX, RandR,
# Xinerama), over the same portable core; where it installs; its tests; the
# frame benchmark over its own host.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LUMRA_X11_LIBS REQUIRED IMPORTED_TARGET x11 xrandr xinerama gl)

# Hardened as Debian builds its packages, whatever flags a build brings.
add_compile_options(-fstack-protector-strong -D_FORTIFY_SOURCE=2 -fPIE)
add_link_options(-pie -Wl,-z,relro -Wl,-z,now -Wl,--as-needed)

file(GLOB LUMRA_X11_SOURCES CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/display/x11/*.cpp
    ${PROJECT_SOURCE_DIR}/shell/x11/*.cpp)
add_library(lumra_x11 STATIC ${LUMRA_X11_SOURCES})
target_link_libraries(lumra_x11 PUBLIC lumra_core lumra_glow PkgConfig::LUMRA_X11_LIBS)
lumra_warnings(lumra_x11)

add_executable(lumra ${PROJECT_SOURCE_DIR}/app/x11/main.cpp)
target_link_libraries(lumra PRIVATE lumra_x11)
lumra_warnings(lumra)
include(${CMAKE_CURRENT_LIST_DIR}/Install.cmake)

if(NOT BUILD_TESTING)
    return()
endif()
find_package(GTest REQUIRED)
include(GoogleTest)
# The tests that need no X server; every build with tests runs them, a
# distribution's package build too.
set(LUMRA_X11_PLAIN_TESTS ${PROJECT_SOURCE_DIR}/tests/x11/HackOptionsTest.cpp
    ${PROJECT_SOURCE_DIR}/tests/x11/WindowLayoutTest.cpp)
add_executable(x11_tests ${LUMRA_X11_PLAIN_TESTS})
target_link_libraries(x11_tests PRIVATE lumra_x11 GTest::gtest_main)
lumra_warnings(x11_tests)
gtest_discover_tests(x11_tests PROPERTIES LABELS x11 DISCOVERY_TIMEOUT 60)

# The rest start lumra on an Xvfb of their own and drive it with XTest.
if(NOT LUMRA_XVFB_TESTS)
    message(STATUS "Not built: the tests that run lumra on an X server, which need Xvfb, Mesa's GLX and XTest "
                   "(LUMRA_XVFB_TESTS=ON builds them)")
    return()
endif()
pkg_check_modules(LUMRA_XTEST REQUIRED IMPORTED_TARGET xtst)
file(GLOB LUMRA_X11_SERVER_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/x11/*.cpp)
list(REMOVE_ITEM LUMRA_X11_SERVER_TESTS ${LUMRA_X11_PLAIN_TESTS})
add_executable(x11_server_tests ${LUMRA_X11_SERVER_TESTS})
target_link_libraries(x11_server_tests PRIVATE lumra_x11 GTest::gtest_main PkgConfig::LUMRA_XTEST)
target_compile_definitions(x11_server_tests PRIVATE LUMRA_PROGRAM="$<TARGET_FILE:lumra>")
add_dependencies(x11_server_tests lumra)
lumra_warnings(x11_server_tests)
gtest_discover_tests(x11_server_tests PROPERTIES LABELS x11 DISCOVERY_TIMEOUT 60)

add_executable(frame_bench_x11 ${PROJECT_SOURCE_DIR}/tools/x11/frame_bench.cpp)
target_link_libraries(frame_bench_x11 PRIVATE lumra_draw_comparison lumra_x11)
lumra_warnings(frame_bench_x11)
