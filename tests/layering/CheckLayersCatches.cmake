# Runs cmake/CheckLayers.cmake on small made-up trees: a sound one passes, and each kind
# of breach fails with its own message.
#
# Run as: cmake -DSOURCE_DIR=<top of the tree> -DWORK_DIR=<scratch folder> -P <this file>
cmake_minimum_required(VERSION 3.25)

set(layers resources platform settings picture browser sorting dialogs app)
set(failures 0)

# A tree where every layer links and includes the one below it (picture and browser
# both stand on settings), then `edits` applied as FILE|TEXT pairs appended to files.
function(make_tree dir edits)
  file(REMOVE_RECURSE "${dir}")
  set(below "")
  foreach(layer IN LISTS layers)
    set(cmake "vantrel_subsystem(${layer} a.cpp)\n")
    set(source "#include \"${layer}/a.h\"\n")
    if(below)
      string(APPEND cmake "target_link_libraries(vantrel_${layer} PUBLIC vantrel_${below})\n")
      string(APPEND source "#include \"${below}/a.h\"\n")
    endif()
    file(WRITE "${dir}/${layer}/CMakeLists.txt" "${cmake}")
    file(WRITE "${dir}/${layer}/a.cpp" "${source}")
    if(layer STREQUAL "picture")
      set(below settings) # browser stands beside picture
    elseif(layer STREQUAL "browser")
      set(below browser)
    else()
      set(below ${layer})
    endif()
  endforeach()
  foreach(edit IN LISTS edits)
    string(REPLACE "|" ";" parts "${edit}")
    list(GET parts 0 file)
    list(GET parts 1 text)
    file(APPEND "${dir}/${file}" "${text}\n")
  endforeach()
endfunction()

# expected: empty for a pass, otherwise a piece of the breach message.
function(expect name edits expected)
  set(dir "${WORK_DIR}/${name}")
  make_tree("${dir}" "${edits}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${dir} -P ${SOURCE_DIR}/cmake/CheckLayers.cmake
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(expected STREQUAL "")
    set(ok FALSE)
    if(rc EQUAL 0)
      set(ok TRUE)
    endif()
  else()
    string(FIND "${out}" "${expected}" at)
    set(ok FALSE)
    if(NOT rc EQUAL 0 AND at GREATER -1)
      set(ok TRUE)
    endif()
  endif()
  if(NOT ok)
    message("FAIL ${name}: exit ${rc}, expected '${expected}', got:\n${out}")
    math(EXPR failures "${failures} + 1")
    set(failures ${failures} PARENT_SCOPE)
  else()
    message("PASS ${name}")
  endif()
endfunction()

expect(sound "" "")
expect(upward_include "browser/a.cpp|#include \"sorting/widgets/CPictureFileList.h\""
       "browser/a.cpp (browser) includes the higher or side layer")
expect(side_include "picture/a.cpp|#include \"browser/CFileSelect.h\""
       "picture/a.cpp (picture) includes the higher or side layer")
expect(upward_link "settings/CMakeLists.txt|target_link_libraries(vantrel_settings PUBLIC vantrel_app)"
       "settings links the higher or side layer app")
expect(unused_link "dialogs/CMakeLists.txt|target_link_libraries(vantrel_dialogs PUBLIC vantrel_picture)"
       "dialogs links vantrel_picture but includes nothing of it")
expect(unlinked_include "sorting/a.cpp|#include \"picture/view/CImageCtrl.h\""
       "sorting includes picture headers but does not link vantrel_picture")
expect(indented_include "sorting/a.cpp|  #  include \"app/CVantrelApp.h\""
       "sorting/a.cpp (sorting) includes the higher or side layer")

# Platform split into the roles low and high (in that order): a sound tree passes, and low
# may not use high.
function(expect_roles name low_text expected)
  set(dir "${WORK_DIR}/${name}")
  make_tree("${dir}" "")
  file(REMOVE "${dir}/platform/a.cpp")
  file(WRITE "${dir}/platform/CMakeLists.txt" "add_subdirectory(low)\nadd_subdirectory(high)\n")
  file(WRITE "${dir}/platform/low/CMakeLists.txt"
       "vantrel_subsystem(platform_low a.cpp)\n${low_text}")
  file(WRITE "${dir}/platform/low/a.cpp" "#include \"resources/a.h\"\n")
  file(WRITE "${dir}/platform/high/CMakeLists.txt"
       "vantrel_subsystem(platform_high a.cpp)\ntarget_link_libraries(vantrel_platform_high PUBLIC vantrel_platform_low)\n")
  file(WRITE "${dir}/platform/high/a.cpp" "#include \"platform/low/a.h\"\n")
  file(WRITE "${dir}/settings/CMakeLists.txt"
       "vantrel_subsystem(settings a.cpp)\ntarget_link_libraries(vantrel_settings PUBLIC vantrel_platform_high)\n")
  file(WRITE "${dir}/settings/a.cpp" "#include \"platform/high/a.h\"\n")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${dir} -P ${SOURCE_DIR}/cmake/CheckLayers.cmake
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  string(FIND "${out}" "${expected}" at)
  if((expected STREQUAL "" AND rc EQUAL 0) OR (NOT expected STREQUAL "" AND NOT rc EQUAL 0 AND at GREATER -1))
    message("PASS ${name}")
  else()
    message("FAIL ${name}: exit ${rc}, expected '${expected}', got:\n${out}")
    math(EXPR failures "${failures} + 1")
    set(failures ${failures} PARENT_SCOPE)
  endif()
endfunction()

set(resources_link "target_link_libraries(vantrel_platform_low PUBLIC vantrel_resources)\n")
expect_roles(roles_sound "${resources_link}" "")
expect_roles(role_uses_later_role "${resources_link}target_link_libraries(vantrel_platform_low PUBLIC vantrel_platform_high)\n"
             "platform_low links the higher or side layer platform_high")
expect_roles(layer_links_no_unit "${resources_link}target_link_libraries(vantrel_platform_low PUBLIC vantrel_platform)\n"
             "links vantrel_platform, which is no layer or role")

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} case(s) failed")
endif()
