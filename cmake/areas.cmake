# Source conventions shared by every area:
#   <area>/*.cpp, *.c         build in both builds
#   <area>/*_win.cpp          Windows build only (needs Windows headers or the window system)
# A folder with no sources yet becomes an INTERFACE library, so its dependants link all the same.

function(qmt_platform_filter out)
  set(kept)
  foreach(f IN LISTS ARGN)
    if(NOT QMT_WINDOWS AND f MATCHES "_win\\.(cpp|c)$")
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

# qmt_area(NAME [DEPS lib...]): static library qmt_NAME from NAME/.
function(qmt_area name)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  qmt_sources(srcs ${PROJECT_SOURCE_DIR}/${name})
  if(srcs)
    add_library(qmt_${name} STATIC ${srcs})
    target_include_directories(qmt_${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(qmt_${name} PUBLIC ${A_DEPS})
  else()
    add_library(qmt_${name} INTERFACE)
    target_include_directories(qmt_${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(qmt_${name} INTERFACE ${A_DEPS})
  endif()
endfunction()
