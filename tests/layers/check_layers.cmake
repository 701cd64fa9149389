# Fails when a file includes a header from a layer above its own.
# Run by CTest: cmake -DROOT=<source dir> -P check_layers.cmake
#
# The layers, lowest first. A unit may include its own headers and those of
# any lower layer, never those of a unit beside it or above it. The Qt toolkit
# (<Q...> headers) belongs to the qt front end and above.
set(LAYERS
    "util"
    "platform"
    "controls desktop"
    "listing log about settings"
    "sync fileops batch"
    "preview"
    "main"
    "console qt"
    "app")
set(TOOLKIT_FROM "qt")

set(level 0)
foreach(layer IN LISTS LAYERS)
    string(REPLACE " " ";" units "${layer}")
    foreach(unit IN LISTS units)
        set(LEVEL_${unit} ${level})
    endforeach()
    math(EXPR level "${level} + 1")
endforeach()

# The unit a file belongs to, from where it stands in the tree; tests stand
# at the level of what they test.
function(unit_of path out)
    if(path MATCHES "^src/core/([^/]+)/")
        set(unit "${CMAKE_MATCH_1}")
    elseif(path MATCHES "^src/([^/]+)/")
        set(unit "${CMAKE_MATCH_1}")
    elseif(path MATCHES "^app/")
        set(unit "app")
    elseif(path MATCHES "^tests/core/")
        set(unit "main")
    elseif(path MATCHES "^tests/(console|qt)/")
        set(unit "${CMAKE_MATCH_1}")
    else()
        set(unit "")
    endif()
    set(${out} "${unit}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files RELATIVE "${ROOT}"
    "${ROOT}/src/*.h" "${ROOT}/src/*.cpp" "${ROOT}/app/*.h" "${ROOT}/app/*.cpp"
    "${ROOT}/tests/*.h" "${ROOT}/tests/*.cpp")
set(failures 0)
foreach(path IN LISTS files)
    unit_of("${path}" unit)
    if(unit STREQUAL "" OR NOT DEFINED LEVEL_${unit})
        continue()
    endif()
    set(own ${LEVEL_${unit}})
    file(STRINGS "${ROOT}/${path}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" header "${line}")
        set(reached "")
        if(header MATCHES "^([A-Za-z_]+)/")
            set(reached "${CMAKE_MATCH_1}")
        endif()
        if(DEFINED LEVEL_${reached})
            set(allowed FALSE)
            if(reached STREQUAL unit OR LEVEL_${reached} LESS own)
                set(allowed TRUE)
            endif()
        elseif(header MATCHES "^Q[A-Za-z]*$|^Qt[A-Za-z]+/")
            set(reached "the Qt toolkit")
            set(allowed FALSE)
            if(NOT own LESS LEVEL_${TOOLKIT_FROM})
                set(allowed TRUE)
            endif()
        else()
            continue()
        endif()
        if(NOT allowed)
            message("${path}: includes ${header} (${reached}), which is not below ${unit}")
            math(EXPR failures "${failures} + 1")
        endif()
    endforeach()
endforeach()

if(failures GREATER 0)
    list(JOIN LAYERS " -> " order)
    message(FATAL_ERROR "${failures} include(s) reach above their own layer. Lowest first: ${order}")
endif()
list(LENGTH files count)
message("${count} files include only their own and lower layers")
