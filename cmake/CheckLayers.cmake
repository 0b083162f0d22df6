# Checks that the subsystem libraries form the layers README.md describes:
#
#   resources <- platform <- settings <- picture, browser <- sorting <- dialogs <- app
#
# A library may include headers of its own folder and of lower layers only (picture and
# browser stand side by side and never include each other); it links only libraries it
# includes from, and everything it includes from is among the libraries it links,
# directly or through them.
#
# Run as: cmake -DSOURCE_DIR=<top of the tree> -P CheckLayers.cmake
# Prints every breach and fails when there is one.

cmake_minimum_required(VERSION 3.25)

set(layers resources platform settings picture browser sorting dialogs app)
set(rank_resources 0)
set(rank_platform 1)
set(rank_settings 2)
set(rank_picture 3)
set(rank_browser 3)
set(rank_sorting 4)
set(rank_dialogs 5)
set(rank_app 6)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(breaches 0)
macro(breach text)
  message("layer breach: ${text}")
  math(EXPR breaches "${breaches} + 1")
endmacro()

# May layer `from` depend on layer `to`?
function(allowed from to result)
  if(from STREQUAL to OR rank_${to} LESS rank_${from})
    set(${result} TRUE PARENT_SCOPE)
  else()
    set(${result} FALSE PARENT_SCOPE)
  endif()
endfunction()

# The layers each library names in target_link_libraries(vantrel_<layer> ...).
foreach(layer IN LISTS layers)
  file(READ "${SOURCE_DIR}/${layer}/CMakeLists.txt" text)
  string(REGEX MATCHALL "target_link_libraries\\(vantrel_${layer}[^)]*\\)" calls "${text}")
  set(links_${layer} "")
  foreach(call IN LISTS calls)
    string(REGEX MATCHALL "vantrel_[a-z]+" names "${call}")
    foreach(name IN LISTS names)
      string(REPLACE "vantrel_" "" other "${name}")
      if(NOT other STREQUAL layer AND NOT other STREQUAL "options")
        list(APPEND links_${layer} ${other})
      endif()
    endforeach()
  endforeach()
  foreach(other IN LISTS links_${layer})
    if(NOT DEFINED rank_${other})
      breach("${layer} links vantrel_${other}, which is no layer")
    else()
      allowed(${layer} ${other} ok)
      if(NOT ok)
        breach("${layer} links the higher or side layer ${other}")
      endif()
    endif()
  endforeach()
endforeach()

# What each library reaches through its links.
foreach(layer IN LISTS layers)
  set(reach_${layer} ${links_${layer}})
  set(todo ${links_${layer}})
  while(todo)
    list(POP_FRONT todo next)
    foreach(more IN LISTS links_${next})
      if(NOT more IN_LIST reach_${layer})
        list(APPEND reach_${layer} ${more})
        list(APPEND todo ${more})
      endif()
    endforeach()
  endwhile()
endforeach()

# The includes of every source file.
foreach(layer IN LISTS layers)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
  set(used "")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z]+/")
    file(RELATIVE_PATH where "${SOURCE_DIR}" "${source}")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([a-z]+)/.*" "\\1" other "${line}")
      if(NOT DEFINED rank_${other})
        continue()
      endif()
      allowed(${layer} ${other} ok)
      if(NOT ok)
        string(STRIP "${line}" line)
        breach("${where} (${layer}) includes the higher or side layer: ${line}")
      elseif(NOT other STREQUAL layer)
        list(APPEND used ${other})
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES used)
  foreach(other IN LISTS used)
    if(NOT other IN_LIST reach_${layer})
      breach("${layer} includes ${other} headers but does not link vantrel_${other}")
    endif()
  endforeach()
  foreach(other IN LISTS links_${layer})
    if(NOT other IN_LIST used)
      breach("${layer} links vantrel_${other} but includes nothing of it")
    endif()
  endforeach()
endforeach()

if(breaches GREATER 0)
  message(FATAL_ERROR "${breaches} layer breach(es)")
endif()
message("layers in order: ${layers}")
