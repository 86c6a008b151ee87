# skydrift_library(NAME DEPS lib1 lib2)
# One library per folder, made of every .cpp file in the folder. A folder
# whose sources have not landed yet is an INTERFACE library so that
# everything above it still configures and links.
function(skydrift_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()
