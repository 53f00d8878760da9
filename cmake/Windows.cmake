# Windows (mingw-w64 cross build): the adapters, lumra.scr, and the tests
# that run under Wine through the emulator script.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# Static runtime: the executables import nothing but system DLLs.
add_link_options(-static -static-libgcc -static-libstdc++)
# The link time in the PE header (and the checksum that covers it) would make
# every build of the same source differ; zero is what reproducible builds
# write, and Windows reads the field for nothing an executable needs.
add_link_options(-Wl,--no-insert-timestamp)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX)

set(LUMRA_RC ${PROJECT_SOURCE_DIR}/resources/lumra.rc)
file(GLOB LUMRA_RC_PARTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/*.rc ${PROJECT_SOURCE_DIR}/resources/*.h)
set_source_files_properties(${LUMRA_RC} PROPERTIES OBJECT_DEPENDS "${LUMRA_GENERATED_FILES};${LUMRA_RC_PARTS}")

function(lumra_add_resources target)
    target_sources(${target} PRIVATE ${LUMRA_RC})
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/resources ${LUMRA_GENERATED})
    add_dependencies(${target} lumra_resources)
endfunction()

# The Windows adapters: everything under a win32/ folder below the entry point.
file(GLOB LUMRA_WIN32_SOURCES CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/shell/win32/*.cpp
    ${PROJECT_SOURCE_DIR}/display/win32/*.cpp)
add_library(lumra_win32 STATIC ${LUMRA_WIN32_SOURCES})
target_link_libraries(lumra_win32 PUBLIC lumra_core opengl32 gdi32 user32 advapi32 comdlg32 winmm wtsapi32)
lumra_warnings(lumra_win32)

add_executable(lumra WIN32 ${PROJECT_SOURCE_DIR}/app/win32/WinMain.cpp)
set_target_properties(lumra PROPERTIES OUTPUT_NAME lumra SUFFIX .scr)
target_link_libraries(lumra PRIVATE lumra_win32)
lumra_add_resources(lumra)
lumra_warnings(lumra)

# A frame-rate benchmark built from the same scene code, run by hand.
file(GLOB LUMRA_WIN32_TOOLS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/win32/*.cpp)
foreach(source ${LUMRA_WIN32_TOOLS})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE lumra_draw_comparison lumra_win32)
    lumra_add_resources(${name})
    lumra_warnings(${name})
endforeach()

# Tests. GoogleTest is built from Debian's sources with the cross compiler.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Every test program runs under Wine, inside the session of this build folder.
set(LUMRA_EMULATOR ${PROJECT_SOURCE_DIR}/tests/wine-run ${CMAKE_BINARY_DIR} ${LUMRA_WINE_ARCH})

find_program(LUMRA_OBJDUMP NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-objdump objdump REQUIRED)

file(GLOB LUMRA_WIN32_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win32/*.cpp)
add_executable(win32_tests ${LUMRA_WIN32_TEST_SOURCES})
target_link_libraries(win32_tests PRIVATE lumra_win32 gtest gtest_main)
lumra_add_resources(win32_tests)
lumra_warnings(win32_tests)
add_test(NAME win32 COMMAND ${LUMRA_EMULATOR} $<TARGET_FILE:win32_tests>)
set_tests_properties(win32 PROPERTIES LABELS win32 TIMEOUT 600)

file(GLOB LUMRA_E2E_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(e2e_tests ${LUMRA_E2E_SOURCES})
target_include_directories(e2e_tests PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(e2e_tests PRIVATE gtest gtest_main user32 gdi32 advapi32)
add_dependencies(e2e_tests lumra mpr_stand_in)
lumra_warnings(e2e_tests)
# The password change's test puts this stand-in for the system's MPR.DLL into
# the prefix's system folder; built beside lumra.scr, it is also the copy a
# load by the bare name would find first.
add_library(mpr_stand_in SHARED ${PROJECT_SOURCE_DIR}/tests/e2e/standin/Mpr.cpp)
set_target_properties(mpr_stand_in PROPERTIES OUTPUT_NAME MPR PREFIX "" SUFFIX .DLL)
target_link_options(mpr_stand_in PRIVATE -Wl,--kill-at)  # exported undecorated, as the system's is
lumra_warnings(mpr_stand_in)
add_test(NAME e2e COMMAND ${LUMRA_EMULATOR} $<TARGET_FILE:e2e_tests> --gtest_filter=-NoGlx.*)
# The start-up failure after the window exists, on an X server without GLX:
# a session of its own, outside the one CTest runs in.
add_test(NAME e2e-noglx COMMAND ${CMAKE_COMMAND} -E env --unset=LUMRA_WINE_SESSION "LUMRA_XVFB_ARGS=-extension GLX"
         ${PROJECT_SOURCE_DIR}/tests/wine-run ${CMAKE_BINARY_DIR}/noglx ${LUMRA_WINE_ARCH}
         $<TARGET_FILE:e2e_tests> --gtest_filter=NoGlx.*)
# Two monitors, the secondary left of the primary: sessions of their own too,
# without the virtual desktop, which always shows one monitor.
add_test(NAME e2e-monitors COMMAND ${CMAKE_COMMAND} -E env --unset=LUMRA_WINE_SESSION
         "LUMRA_MONITORS=*800x600+640+0 640x480+0+0"
         ${PROJECT_SOURCE_DIR}/tests/wine-run ${CMAKE_BINARY_DIR}/monitors ${LUMRA_WINE_ARCH}
         $<TARGET_FILE:e2e_tests> --gtest_filter=DisplayE2e.SaverCoversEveryMonitor*)
# Frames counted from outside where the swap never waits: at most one per
# refresh, and none while a preview's host is hidden.
add_test(NAME e2e-pacing COMMAND ${PROJECT_SOURCE_DIR}/tests/e2e/check-pacing ${CMAKE_BINARY_DIR} ${LUMRA_WINE_ARCH}
         $<TARGET_FILE:lumra> $<TARGET_FILE:preview_host>)
set_tests_properties(e2e e2e-noglx e2e-monitors e2e-pacing PROPERTIES LABELS e2e TIMEOUT 900)
include(${PROJECT_SOURCE_DIR}/cmake/Release.cmake)
