# Linux: lumra, the native program XScreenSaver runs (Xlib, GLX, RandR,
# Xinerama), over the same portable core; its tests under Xvfb; the frame
# benchmark over its own host.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LUMRA_X11_LIBS REQUIRED IMPORTED_TARGET x11 xrandr xinerama gl)

# Hardened as Debian builds its packages; the release has no debug
# information, so no build path reaches the program.
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
# Shipped stripped; lumra-unstripped keeps the symbols for debugging.
add_custom_command(TARGET lumra POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:lumra> ${CMAKE_BINARY_DIR}/lumra-unstripped
    COMMAND strip --remove-section=.comment --remove-section=.note $<TARGET_FILE:lumra>
    VERBATIM)

add_executable(frame_bench_x11 ${PROJECT_SOURCE_DIR}/tools/x11/frame_bench.cpp)
target_link_libraries(frame_bench_x11 PRIVATE lumra_draw_comparison lumra_x11)
lumra_warnings(frame_bench_x11)

find_package(GTest REQUIRED)
pkg_check_modules(LUMRA_XTEST REQUIRED IMPORTED_TARGET xtst)
include(GoogleTest)
file(GLOB LUMRA_X11_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/x11/*.cpp)
add_executable(x11_tests ${LUMRA_X11_TEST_SOURCES})
target_link_libraries(x11_tests PRIVATE lumra_x11 GTest::gtest_main PkgConfig::LUMRA_XTEST)
target_compile_definitions(x11_tests PRIVATE LUMRA_PROGRAM="$<TARGET_FILE:lumra>")
add_dependencies(x11_tests lumra)
lumra_warnings(x11_tests)
gtest_discover_tests(x11_tests PROPERTIES LABELS x11 DISCOVERY_TIMEOUT 60)
