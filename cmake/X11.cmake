# Linux: lumra, the native program over the same portable core, with two
# hosts: X11 (Xlib, GLX, RandR, Xinerama), which XScreenSaver and the other
# X11 programs that run savers start, and Wayland (xdg-shell windows, EGL with
# desktop OpenGL); where it installs; its tests under Xvfb and a headless
# sway; the benchmarks over its own hosts.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LUMRA_X11_LIBS REQUIRED IMPORTED_TARGET x11 xrandr xinerama gl)
pkg_check_modules(LUMRA_WAYLAND_LIBS REQUIRED IMPORTED_TARGET wayland-client wayland-egl egl)
pkg_get_variable(WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
pkg_get_variable(WAYLAND_SCANNER wayland-scanner wayland_scanner)

# A protocol's client code, generated from its XML into the build's
# generated/ folder, at the path of the XML's folder in the tree.
set(LUMRA_GENERATED ${CMAKE_BINARY_DIR}/generated)
function(lumra_protocol xml folder code)
    get_filename_component(name ${xml} NAME_WE)
    set(header ${LUMRA_GENERATED}/${folder}/${name}-client-protocol.h)
    set(source ${LUMRA_GENERATED}/${folder}/${name}-protocol.c)
    file(MAKE_DIRECTORY ${LUMRA_GENERATED}/${folder})
    add_custom_command(OUTPUT ${header} ${source}
        COMMAND ${WAYLAND_SCANNER} client-header ${xml} ${header}
        COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${source}
        DEPENDS ${xml} VERBATIM)
    set(${code} ${${code}} ${header} ${source} PARENT_SCOPE)
endfunction()
# From the XML Debian ships.
lumra_protocol(${WAYLAND_PROTOCOLS_DIR}/stable/xdg-shell/xdg-shell.xml display/wayland LUMRA_PROTOCOL_CODE)
lumra_protocol(${WAYLAND_PROTOCOLS_DIR}/unstable/xdg-output/xdg-output-unstable-v1.xml display/wayland
    LUMRA_PROTOCOL_CODE)

# Hardened as Debian builds its packages, whatever flags a build brings.
add_compile_options(-fstack-protector-strong -D_FORTIFY_SOURCE=2 -fPIE)
add_link_options(-pie -Wl,-z,relro -Wl,-z,now -Wl,--as-needed)

file(GLOB LUMRA_X11_SOURCES CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/display/unix/*.cpp
    ${PROJECT_SOURCE_DIR}/display/wayland/*.cpp
    ${PROJECT_SOURCE_DIR}/display/x11/*.cpp
    ${PROJECT_SOURCE_DIR}/shell/x11/*.cpp)
add_library(lumra_x11 STATIC ${LUMRA_X11_SOURCES} ${LUMRA_PROTOCOL_CODE})
target_include_directories(lumra_x11 PUBLIC ${LUMRA_GENERATED})
target_link_libraries(lumra_x11 PUBLIC lumra_core lumra_glow PkgConfig::LUMRA_X11_LIBS PkgConfig::LUMRA_WAYLAND_LIBS)
# Warnings for our own C++, not for the generated protocol code.
target_compile_options(lumra_x11 PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${LUMRA_WARNING_FLAGS}>)

add_executable(lumra ${PROJECT_SOURCE_DIR}/app/linux/main.cpp)
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
set(LUMRA_X11_PLAIN_TESTS ${PROJECT_SOURCE_DIR}/tests/x11/HackOptionsTest.cpp)
add_executable(x11_tests ${LUMRA_X11_PLAIN_TESTS})
target_link_libraries(x11_tests PRIVATE lumra_x11 GTest::gtest_main)
lumra_warnings(x11_tests)
gtest_discover_tests(x11_tests PROPERTIES LABELS x11 DISCOVERY_TIMEOUT 60)

# The rest start lumra on an Xvfb of their own and drive it with XTest, or in
# a headless sway.
if(NOT LUMRA_XVFB_TESTS)
    message(STATUS "Not built: the tests that run lumra on an X server or a Wayland compositor, which need Xvfb, "
                   "Mesa's GLX, XTest and sway (LUMRA_XVFB_TESTS=ON builds them)")
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

# The Wayland host in Debian's sway, headless, with a pointer of the tests' own.
lumra_protocol(${PROJECT_SOURCE_DIR}/tests/wayland/virtual-pointer.xml tests/wayland LUMRA_TEST_PROTOCOL_CODE)
add_executable(virtual_pointer ${PROJECT_SOURCE_DIR}/tests/wayland/VirtualPointer.cpp ${LUMRA_TEST_PROTOCOL_CODE})
target_include_directories(virtual_pointer PRIVATE ${PROJECT_SOURCE_DIR} ${LUMRA_GENERATED})
target_link_libraries(virtual_pointer PRIVATE PkgConfig::LUMRA_WAYLAND_LIBS)
add_test(NAME wayland COMMAND ${PROJECT_SOURCE_DIR}/tests/wayland/check-sway $<TARGET_FILE:lumra>
    $<TARGET_FILE:virtual_pointer>)
set_tests_properties(wayland PROPERTIES LABELS wayland TIMEOUT 300)

# Preloaded by scripts/bench-paced to log every swap.
add_library(swap_log MODULE ${PROJECT_SOURCE_DIR}/tools/x11/swap_log.c)
target_link_libraries(swap_log PRIVATE ${CMAKE_DL_LIBS})
set_target_properties(swap_log PROPERTIES PREFIX "")

add_executable(frame_bench_x11 ${PROJECT_SOURCE_DIR}/tools/x11/frame_bench.cpp)
target_link_libraries(frame_bench_x11 PRIVATE lumra_draw_comparison lumra_x11)
lumra_warnings(frame_bench_x11)
