# Each library sees the headers of the layers it links and no others: its own
# headers are exported through a folder of links made for it alone, so that
# `#include "printing/x.h"` from the engine does not compile. Only the headers
# directly in FOLDER are exported (printing/qt/ is a layer of its own).
function(kvalon_export_headers target folder)
    # A folder shared by two libraries names its headers for one (ONLY) or
    # the other (EXCEPT).
    cmake_parse_arguments(ARG "" "" "ONLY;EXCEPT" ${ARGN})
    set(include_root "${CMAKE_BINARY_DIR}/include/${target}")
    set(link_folder "${include_root}/${folder}")
    file(REMOVE_RECURSE "${link_folder}")
    file(MAKE_DIRECTORY "${link_folder}")
    file(GLOB headers CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${folder}/*.h")
    foreach(header IN LISTS headers)
        get_filename_component(name "${header}" NAME)
        if((ARG_ONLY AND NOT name IN_LIST ARG_ONLY) OR name IN_LIST ARG_EXCEPT)
            continue()
        endif()
        file(CREATE_LINK "${header}" "${link_folder}/${name}" SYMBOLIC)
    endforeach()
    target_include_directories(${target} PUBLIC "${include_root}")
endfunction()

# Our own code: every warning we can act on, errors when asked.
function(kvalon_our_code target)
    target_link_libraries(${target} PRIVATE kvalon_warnings)
endfunction()
