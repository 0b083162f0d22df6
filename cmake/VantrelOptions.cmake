# Compiler settings shared by every target of the project.
add_library(vantrel_options INTERFACE)
target_compile_options(vantrel_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow)
target_include_directories(vantrel_options INTERFACE ${PROJECT_SOURCE_DIR})
if(VANTREL_WERROR)
  target_compile_options(vantrel_options INTERFACE -Werror)
endif()
if(VANTREL_SANITIZE)
  target_compile_options(vantrel_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(vantrel_options INTERFACE -fsanitize=address,undefined)
endif()

# vantrel_subsystem(<name> <sources...>) adds the static library vantrel_<name>
# and hangs it on the umbrella target vantrel_core. It links Qt Core; each library links
# the further Qt modules it uses itself.
if(NOT TARGET vantrel_core)
  add_library(vantrel_core INTERFACE)
endif()
function(vantrel_subsystem name)
  add_library(vantrel_${name} STATIC ${ARGN})
  target_link_libraries(vantrel_${name} PUBLIC vantrel_options Qt6::Core)
  target_link_libraries(vantrel_core INTERFACE vantrel_${name})
endfunction()
