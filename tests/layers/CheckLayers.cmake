# The layers, checked from the tree: every library links only libraries of lower layers and the
# Qt modules its layer may use, and every source includes only from its own folder and folders
# of lower layers. Run by CTest as `layers`:
#   cmake -DSOURCE=<source folder> -DLINKS=<build>/layer_links.txt -P CheckLayers.cmake
# LINKS is written at configure time: one line per library, "folder|target|libraries".

cmake_minimum_required(VERSION 3.20)

# folder, layer (a folder may use only lower layers), the Qt modules it may link.
set(LAYERS
  "chess|0|"
  "common|0|Core"
  "engine|1|Core"
  "pieceart|1|Core,Gui"
  "uikit|1|Core,Gui,Widgets"
  "net/lobby|1|Core"
  "formats|2|Core,Gui"
  "net|2|Core,Network"
  "board|2|Core,Gui,Widgets"
  "net/server|2|Core,Network"
  "engine/uci|2|Core"
  "setup|3|Core,Gui,Widgets"
  "about|3|Core,Gui,Widgets"
  "language|3|Core,Gui,Widgets"
  "netui|3|Core,Gui,Widgets,Network"
  "app|4|Core,Gui,Widgets,Network")

set(folders "")
foreach(entry IN LISTS LAYERS)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 folder)
  list(GET parts 1 rank)
  list(GET parts 2 qt)
  string(REPLACE "," ";" qt "${qt}")
  list(APPEND folders ${folder})
  set(RANK_${folder} ${rank})
  set(QT_${folder} ${qt})
endforeach()

set(faults "")

# The folder a path inside the source tree belongs to: the longest layer folder that holds it.
function(layer_of path out)
  set(best "")
  foreach(folder IN LISTS folders)
    string(LENGTH "${folder}" len)
    string(LENGTH "${best}" bestLen)
    if(path MATCHES "^${folder}/" AND len GREATER bestLen)
      set(best ${folder})
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

# 1. What each library links.
file(STRINGS "${LINKS}" lines)
foreach(line IN LISTS lines)
  string(REPLACE "|" ";" parts "${line}")
  list(GET parts 1 target)
  list(GET parts 2 folder)
  set(TARGET_FOLDER_${target} ${folder})
endforeach()
foreach(line IN LISTS lines)
  string(REPLACE "|" ";" parts "${line}")
  list(GET parts 1 target)
  list(GET parts 2 folder)
  list(LENGTH parts n)
  if(NOT DEFINED RANK_${folder})
    list(APPEND faults "${target} lies in ${folder}/, which is no layer")
    continue()
  endif()
  if(n LESS 4)
    continue()
  endif()
  list(SUBLIST parts 3 -1 libs)
  foreach(lib IN LISTS libs)
    if(lib MATCHES "^Qt6::(.*)$")
      set(module ${CMAKE_MATCH_1})
      if(NOT module IN_LIST QT_${folder})
        list(APPEND faults "${target} (${folder}/) links ${lib}, which its layer may not use")
      endif()
    elseif(DEFINED TARGET_FOLDER_${lib})
      set(other ${TARGET_FOLDER_${lib}})
      if(NOT other STREQUAL folder AND NOT RANK_${other} LESS RANK_${folder})
        list(APPEND faults "${target} (${folder}/) links ${lib} (${other}/), which is not below it")
      endif()
    endif()
  endforeach()
endforeach()

# 2. What each source includes.
foreach(folder IN LISTS folders)
  file(GLOB_RECURSE sources RELATIVE "${SOURCE}" "${SOURCE}/${folder}/*.h" "${SOURCE}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    layer_of("${source}" own)
    if(NOT own STREQUAL folder)
      continue()
    endif()
    file(STRINGS "${SOURCE}/${source}" includes REGEX "^#include \"[^\"]+\"")
    foreach(include IN LISTS includes)
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${include}")
      layer_of("${header}" other)
      if(other STREQUAL "" OR other STREQUAL folder)
        continue()
      endif()
      if(NOT RANK_${other} LESS RANK_${folder})
        list(APPEND faults "${source} includes ${header}, from a layer that is not below it")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Layer faults:\n  ${text}")
endif()
message(STATUS "Every library and source uses only the layers below it.")
