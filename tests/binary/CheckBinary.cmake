cmake_policy(SET CMP0057 NEW)
# Fails unless FILE, as built, imports only DLLs that every Windows system has
# (the runtime libraries linked in statically), is stripped, and carries the
# version resource for VERSION and a manifest declaring per-monitor DPI
# awareness. Everything is read from the executable's own headers and
# resource directory.
function(run_objdump flag out)
    execute_process(COMMAND ${OBJDUMP} ${flag} ${FILE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "objdump ${flag} failed on ${FILE}")
    endif()
    set(${out} "${dump}" PARENT_SCOPE)
endfunction()
run_objdump(-f header)
run_objdump(-h sections)
run_objdump(-p private)

string(REGEX MATCHALL "DLL Name: [^\n]+" names "${private}")
if(NOT names)
    message(FATAL_ERROR "no imports found in ${FILE}")
endif()
set(allowed KERNEL32.dll USER32.dll GDI32.dll ADVAPI32.dll OPENGL32.dll COMDLG32.dll WINMM.dll WTSAPI32.dll msvcrt.dll)
string(TOUPPER "${allowed}" allowed)
foreach(entry ${names})
    string(REPLACE "DLL Name: " "" dll "${entry}")
    string(STRIP "${dll}" dll)
    string(TOUPPER "${dll}" upper)
    if(NOT upper IN_LIST allowed)
        message(FATAL_ERROR "${FILE} imports ${dll}, which is not a system DLL")
    endif()
endforeach()

if(header MATCHES "HAS_SYMS|HAS_DEBUG" OR sections MATCHES " \\.debug_")
    message(FATAL_ERROR "${FILE} is not stripped")
endif()

# Reads resource TYPE, name 1, into OUT (more arguments go to file(READ)): the directory gives its address in
# the image, the section table turns that into a place in the file.
function(read_resource type out)
    set(n "[^\n]*\n")
    if(NOT private MATCHES "Entry: ID: ${type},${n}${n}[^\n]*Entry: ID: 0x000001,${n}${n}${n}[^\n]*Leaf: Addr: (0x[0-9a-f]+), Size: (0x[0-9a-f]+)")
        message(FATAL_ERROR "${FILE} has no resource ${type} with id 1")
    endif()
    set(address ${CMAKE_MATCH_1})
    set(size ${CMAKE_MATCH_2})
    string(REGEX MATCH "ImageBase[ \t]+([0-9a-f]+)" _ "${private}")
    set(base 0x${CMAKE_MATCH_1})
    string(REGEX MATCH "\\.rsrc +[0-9a-f]+ +([0-9a-f]+) +[0-9a-f]+ +([0-9a-f]+)" _ "${sections}")
    math(EXPR offset "${address} - (0x${CMAKE_MATCH_1} - ${base}) + 0x${CMAKE_MATCH_2}")
    math(EXPR size "${size}")
    file(READ ${FILE} data OFFSET ${offset} LIMIT ${size} ${ARGN})
    set(${out} "${data}" PARENT_SCOPE)
endfunction()

read_resource(0x000010 version HEX)
foreach(text "LumraSaver" "lumra.scr" "The Lumra team" "${VERSION}")
    string(HEX "${text}" wide)
    string(REGEX REPLACE "(..)" "\\100" wide "${wide}")
    if(NOT version MATCHES "${wide}")
        message(FATAL_ERROR "the version resource of ${FILE} lacks \"${text}\"")
    endif()
endforeach()

read_resource(0x000018 manifest)
if(NOT manifest MATCHES "<dpiAware [^>]*>true/pm</dpiAware>"
   OR NOT manifest MATCHES "<dpiAwareness [^>]*>PerMonitorV2, PerMonitor</dpiAwareness>")
    message(FATAL_ERROR "the manifest of ${FILE} does not declare per-monitor DPI awareness")
endif()
message(STATUS "${FILE}: system DLLs only, stripped, version ${VERSION}, per-monitor DPI aware")
