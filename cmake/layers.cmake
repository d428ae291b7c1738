# The layers of the program and the include folders each may use: a layer
# sees its own folders and those of the layers below it, never one above or
# beside it. The core layers also never see Qt.
#
#   common <- output <- assembler <- text
#                                 <- simulator <- analysis
#   core <- cosim (the shared library that HDL simulators call)
#   core <- host (platform, settings, uart) <- servers (protocol, lsp, dap) <- cli
#                                           <- ide base <- panels <- shell
if(CMAKE_SCRIPT_MODE_FILE)
    cmake_minimum_required(VERSION 3.25)
endif()

set(KORVO_CORE_FOLDERS common output assembler text simulator analysis)
set(KORVO_HOST_FOLDERS platform settings uart)
# The layers that never see Qt.
set(KORVO_QT_FREE_LAYERS ${KORVO_CORE_FOLDERS} cosim)

set(KORVO_LAYER_common common)
set(KORVO_LAYER_output output common)
set(KORVO_LAYER_assembler assembler output common)
set(KORVO_LAYER_text text assembler output common)
set(KORVO_LAYER_simulator simulator assembler output common)
set(KORVO_LAYER_analysis analysis simulator assembler output common)
set(KORVO_LAYER_cosim cosim ${KORVO_CORE_FOLDERS})
# The VPI module of the Verilog models: the C interface of cosim only.
set(KORVO_LAYER_cosim_vpi cosim_vpi cosim)
set(KORVO_LAYER_host ${KORVO_HOST_FOLDERS} ${KORVO_CORE_FOLDERS})
set(KORVO_SERVER_FOLDERS protocol lsp dap)
set(KORVO_LAYER_servers ${KORVO_SERVER_FOLDERS} ${KORVO_LAYER_host})
set(KORVO_LAYER_cli cli ${KORVO_LAYER_servers})
set(KORVO_LAYER_ide_base base ${KORVO_LAYER_host})
set(KORVO_LAYER_ide_panels panels ${KORVO_LAYER_ide_base})
set(KORVO_LAYER_ide_shell shell ${KORVO_LAYER_ide_panels})

set(KORVO_LAYER_FOLDERS ${KORVO_CORE_FOLDERS} ${KORVO_HOST_FOLDERS} ${KORVO_SERVER_FOLDERS} cli base
    panels shell cosim cosim_vpi)

# Refuses, with a message naming the file and the include, a file of the
# layer that includes a folder of a layer above or beside it, or, in the
# core, Qt.
function(korvo_check_layer_includes layer)
    if(NOT DEFINED KORVO_LAYER_${layer})
        message(FATAL_ERROR "No layer named '${layer}'")
    endif()
    set(allowed ${KORVO_LAYER_${layer}})
    list(FIND KORVO_QT_FREE_LAYERS ${layer} core_index)
    foreach(source ${ARGN})
        file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
        foreach(line ${includes})
            if(core_index GREATER_EQUAL 0 AND line MATCHES "include[ \t]*[<\"](Q|Qsci/)")
                message(FATAL_ERROR "${source} is part of the Qt-free core but includes Qt: ${line}")
            endif()
            # A path that climbs out of the file's folder would pass by the
            # include roots.
            if(line MATCHES "include[ \t]*\"([^\"]*/)?\\.\\./")
                message(FATAL_ERROR "${source} climbs out of its folder: ${line}")
            endif()
            if(line MATCHES "include[ \t]*\"([^/\"]+)/")
                set(folder ${CMAKE_MATCH_1})
                if(folder IN_LIST KORVO_LAYER_FOLDERS AND NOT folder IN_LIST allowed)
                    list(JOIN allowed ", " allowed_text)
                    message(FATAL_ERROR "${source} is in the ${layer} layer, which may include only "
                        "${allowed_text}, but includes a layer above or beside it: ${line}")
                endif()
            endif()
        endforeach()
    endforeach()
endfunction()

# Run as a script: cmake -DLAYER=<layer> -DSOURCES=<file;...> -P layers.cmake
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    korvo_check_layer_includes(${LAYER} ${SOURCES})
endif()
