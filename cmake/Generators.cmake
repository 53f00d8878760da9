# The resource generators, each described once: the program that writes a
# resource file and the file it writes. The unit tests' build makes them
# ordinary targets (the unit tests draw with the glow's image code); cross
# builds compile the same sources with the host compiler and run them to make
# the resources.
# The glow's image code is the product's own (resources/): the Linux program
# draws it at run time, so it is a library of its own: the one part of this
# file the Linux program's build needs.
set(LUMRA_GLOW_CODE ${PROJECT_SOURCE_DIR}/resources/GlowBitmap.cpp)
set(LUMRA_GENERATOR_CODE
    ${LUMRA_GLOW_CODE}
    ${PROJECT_SOURCE_DIR}/tools/generators/IconImage.cpp
    ${PROJECT_SOURCE_DIR}/tools/generators/OutputFile.cpp)
# generator name:output file
set(LUMRA_GENERATORS glow:glow.bmp icon:saver.ico)

if(NOT CMAKE_CROSSCOMPILING)
    add_library(lumra_glow STATIC ${LUMRA_GLOW_CODE})
    target_include_directories(lumra_glow PUBLIC ${PROJECT_SOURCE_DIR})
    lumra_warnings(lumra_glow)
    if(LUMRA_X11)
        return()
    endif()
    list(REMOVE_ITEM LUMRA_GENERATOR_CODE ${LUMRA_GLOW_CODE})
    add_library(lumra_generator_code STATIC ${LUMRA_GENERATOR_CODE})
    target_link_libraries(lumra_generator_code PUBLIC lumra_glow)
    lumra_warnings(lumra_generator_code)
    foreach(generator ${LUMRA_GENERATORS})
        string(REGEX REPLACE ":.*" "" name ${generator})
        add_executable(make_${name} ${PROJECT_SOURCE_DIR}/tools/make_${name}.cpp)
        target_link_libraries(make_${name} PRIVATE lumra_generator_code)
        lumra_warnings(make_${name})
    endforeach()
    return()
endif()

find_program(LUMRA_HOST_CXX NAMES c++ g++ REQUIRED)
file(GLOB LUMRA_GENERATOR_HEADERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/generators/*.h
     ${PROJECT_SOURCE_DIR}/resources/GlowBitmap.h)
set(LUMRA_GENERATED ${CMAKE_BINARY_DIR}/generated)
set(LUMRA_GENERATED_FILES)
foreach(generator ${LUMRA_GENERATORS})
    string(REGEX REPLACE ":.*" "" name ${generator})
    string(REGEX REPLACE ".*:" "" output ${generator})
    set(host_exe ${CMAKE_BINARY_DIR}/host/make_${name})
    add_custom_command(OUTPUT ${LUMRA_GENERATED}/${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host ${LUMRA_GENERATED}
        COMMAND ${LUMRA_HOST_CXX} -std=c++17 -O1 ${LUMRA_WARNING_FLAGS} -I${PROJECT_SOURCE_DIR}
                ${PROJECT_SOURCE_DIR}/tools/make_${name}.cpp ${LUMRA_GENERATOR_CODE} -o ${host_exe}
        COMMAND ${host_exe} ${LUMRA_GENERATED}/${output}
        DEPENDS ${PROJECT_SOURCE_DIR}/tools/make_${name}.cpp ${LUMRA_GENERATOR_CODE} ${LUMRA_GENERATOR_HEADERS}
        COMMENT "Generating ${output}"
        VERBATIM)
    list(APPEND LUMRA_GENERATED_FILES ${LUMRA_GENERATED}/${output})
endforeach()
add_custom_target(lumra_resources DEPENDS ${LUMRA_GENERATED_FILES})
