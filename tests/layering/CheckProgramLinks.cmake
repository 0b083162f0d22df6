# The main program carries no codec or metadata library: the readers that need ImageMagick,
# libheif, LibRaw and Exiv2 (and the helper's seccomp filter) live in the sandboxed helper alone.
#
# Run as: cmake -DPROGRAM=<path of vantrel> -DHELPER=<path of vantrel-decoder> -P <this file>
cmake_minimum_required(VERSION 3.25)

function(needed file result)
  execute_process(COMMAND readelf -d "${file}" RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "readelf failed on ${file}: ${err}")
  endif()
  string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*\\[[^]]+\\]" lines "${out}")
  set(${result} "${lines}" PARENT_SCOPE)
endfunction()

set(codecs "Magick|heif|raw|exiv2|seccomp")
needed("${PROGRAM}" program)
string(REGEX MATCHALL "\\[[^]]*(${codecs})[^]]*\\]" found "${program}")
if(found)
  message(FATAL_ERROR "the program links codec libraries: ${found}")
endif()
# ... while the helper does, so that the check above looks at the right names.
needed("${HELPER}" helper)
string(REGEX MATCHALL "\\[[^]]*(${codecs})[^]]*\\]" found "${helper}")
list(LENGTH found count)
if(count LESS 5)
  message(FATAL_ERROR "the helper should link the codec libraries, found only: ${found}")
endif()
message("program free of codecs; helper links: ${found}")
