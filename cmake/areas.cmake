# Source conventions shared by every area (an area's files sit in it or in its subject folders):
#   <area>/*.cpp, *.c         build in both builds
#   <area>/*_win.cpp          Windows build only (needs Windows headers or the window system)
#   <area>/*_native.cpp       native build only (its stand-ins for what the _win.cpp files do)
# A folder with no sources yet becomes an INTERFACE library, so its dependants link all the same.

function(qmt_platform_filter out)
  set(kept)
  foreach(f IN LISTS ARGN)
    if(NOT QMT_WINDOWS AND f MATCHES "_win\\.(cpp|c)$")
      continue()
    endif()
    if(QMT_WINDOWS AND f MATCHES "_native\\.(cpp|c)$")
      continue()
    endif()
    list(APPEND kept ${f})
  endforeach()
  set(${out} ${kept} PARENT_SCOPE)
endfunction()

function(qmt_sources out dir)
  file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.c)
  qmt_platform_filter(found ${found})
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# qmt_sources_tree(OUT DIR [EXCLUDE subfolder...]): the sources of DIR and of its subject folders,
# leaving out the named subfolders (a program's entry that is built apart).
function(qmt_sources_tree out dir)
  cmake_parse_arguments(A "" "" "EXCLUDE" ${ARGN})
  file(GLOB_RECURSE found CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.c)
  foreach(sub IN LISTS A_EXCLUDE)
    list(FILTER found EXCLUDE REGEX "^${dir}/${sub}/")
  endforeach()
  qmt_platform_filter(found ${found})
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# qmt_area(NAME [DEPS lib...] [EXCLUDE subfolder...]): static library qmt_NAME from NAME/ and its
# subject folders.
function(qmt_area name)
  cmake_parse_arguments(A "" "" "DEPS;EXCLUDE" ${ARGN})
  qmt_sources_tree(srcs ${PROJECT_SOURCE_DIR}/${name} EXCLUDE ${A_EXCLUDE})
  if(srcs)
    add_library(qmt_${name} STATIC ${srcs})
    target_include_directories(qmt_${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(qmt_${name} PUBLIC ${A_DEPS})
    qmt_windows_pch(qmt_${name} ${srcs})
  else()
    add_library(qmt_${name} INTERFACE)
    target_include_directories(qmt_${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(qmt_${name} INTERFACE ${A_DEPS})
  endif()
endfunction()
