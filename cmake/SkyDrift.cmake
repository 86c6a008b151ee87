# skydrift_library(NAME SOURCES a.cpp b.cpp DEPS lib1 lib2)
# One library per folder. A folder whose sources have not landed yet is an
# INTERFACE library so that everything above it still configures and links.
function(skydrift_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(ARG_SOURCES)
    add_library(${name} STATIC ${ARG_SOURCES})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()
