# tessaro_library(FOLDER PLATFORM_FREE|WIN32 SOURCES ... [USES folder...] [LINKS library...])
#
# The library tessaro_<FOLDER> of the sources in src/<FOLDER>/, which uses the libraries of the
# folders after USES and links the system libraries after LINKS. A platform-free library is plain
# C++ and builds everywhere; a Win32 one builds for Windows only. Sources include other folders'
# headers as "folder/header.h", from src/.
#
# The Windows build writes every library to build/mingw/layers.json, from which the build check
# `layers` (tools/check_build.py) verifies that no source includes a folder its library does not
# use, and that platform-free sources include the standard library alone.
function(tessaro_library folder kind)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "SOURCES;USES;LINKS")
  set(name tessaro_${folder})
  list(TRANSFORM arg_SOURCES PREPEND ${folder}/)
  add_library(${name} STATIC ${arg_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  list(TRANSFORM arg_USES PREPEND tessaro_ OUTPUT_VARIABLE used)
  target_link_libraries(${name} PUBLIC ${used} ${arg_LINKS})
  target_compile_options(${name} PRIVATE ${TESSARO_WARNINGS})
  if(kind STREQUAL "WIN32")
    target_compile_definitions(${name} PUBLIC ${TESSARO_WIN32_DEFINITIONS})
  elseif(NOT kind STREQUAL "PLATFORM_FREE")
    message(FATAL_ERROR "tessaro_library(${folder}): PLATFORM_FREE or WIN32, not ${kind}")
  endif()
  list(TRANSFORM arg_USES PREPEND "\"" OUTPUT_VARIABLE quoted)
  list(TRANSFORM quoted APPEND "\"")
  list(JOIN quoted ", " uses)
  set_property(GLOBAL APPEND PROPERTY TESSARO_LAYERS "\"${folder}\": {\"kind\": \"${kind}\", \"uses\": [${uses}]}")
endfunction()

# Written once every library is declared (at the end of src/CMakeLists.txt).
function(tessaro_write_layers)
  get_property(layers GLOBAL PROPERTY TESSARO_LAYERS)
  list(JOIN layers ",\n  " body)
  file(WRITE ${CMAKE_BINARY_DIR}/layers.json "{\n  ${body}\n}\n")
endfunction()
