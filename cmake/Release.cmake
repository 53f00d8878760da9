# Release shape of the Windows build: the version the resources carry (from
# the project version, the one place it is set), the stripped lumra.scr that
# ships, and a check that reads its imports, symbols and resources back from
# the built file.
file(CONFIGURE OUTPUT ${LUMRA_GENERATED}/LumraVersion.h @ONLY CONTENT
"/* Written by the build from the CMake project version. */
#define LUMRA_VERSION_MAJOR @PROJECT_VERSION_MAJOR@
#define LUMRA_VERSION_MINOR @PROJECT_VERSION_MINOR@
#define LUMRA_VERSION_PATCH @PROJECT_VERSION_PATCH@
#define LUMRA_VERSION_TEXT \"@PROJECT_VERSION@\"
")
set_property(SOURCE ${LUMRA_RC} APPEND PROPERTY OBJECT_DEPENDS
    ${LUMRA_GENERATED}/LumraVersion.h ${PROJECT_SOURCE_DIR}/resources/lumra.manifest)

# The shipped file carries no symbols or debug information (about a third of
# its size); the linked original stays beside it for debugging. Strip reads
# the zero PE time stamp the link wrote as none at all and puts the clock's
# time there, or SOURCE_DATE_EPOCH's when set: zero keeps the field as it was.
add_custom_command(TARGET lumra POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:lumra> ${CMAKE_BINARY_DIR}/lumra-unstripped.scr
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_STRIP} --strip-all $<TARGET_FILE:lumra>
    VERBATIM)

add_test(NAME binary COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${LUMRA_OBJDUMP} -DFILE=$<TARGET_FILE:lumra>
         -DVERSION=${PROJECT_VERSION} -P ${PROJECT_SOURCE_DIR}/tests/binary/CheckBinary.cmake)
set_tests_properties(binary PROPERTIES LABELS build)
