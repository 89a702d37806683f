# Common settings for the project's own targets: warnings are errors in our code, headers are
# included from the repository root ("platform/d3d9/d3d9.h").

function(redkite_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# redkite_library(NAME SOURCES... [DEPS ...]): a static library of one source folder.
function(redkite_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  redkite_defaults(${name})
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
endfunction()
