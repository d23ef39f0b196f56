# Precompiled headers. <windows.h> and GoogleTest are what most files parse, each again in every file;
# here each is compiled once per build, by a small "donor" target whose header every other target
# reuses (the flags are the same throughout a build).
#   qmt_pch_windows    <windows.h>                          the *_win sources of libraries and programs
#   qmt_pch_tests      GoogleTest and GoogleMock            the pure sources of the test programs
#   qmt_pch_tests_win  <windows.h>, GoogleTest, GoogleMock  the *_win sources of the test programs
# <windows.h> reaches only *_win sources that include it themselves: its macros (the A/W names...) must
# not reach a pure file, which builds the same in both builds, nor a file that relies on the framework
# keeping them away. A *_win source that defines something before its <windows.h> (to select parts of
# it) keeps its own order and gets no precompiled header either.

function(qmt_pch_donor name)
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/pch/${name}.cpp CONTENT "// Compiles the precompiled header ${name}.\n")
  add_library(${name} OBJECT ${CMAKE_BINARY_DIR}/pch/${name}.cpp)
  target_precompile_headers(${name} PRIVATE ${ARGN})
endfunction()

# Whether a *_win source may take <windows.h> precompiled: it includes it, defining nothing before.
function(qmt_windows_pch_fits src out)
  file(STRINGS ${src} first REGEX "^[ \t]*#[ \t]*(define|include[ \t]*<windows\\.h>)" LIMIT_COUNT 1)
  if(first MATCHES "include")
    set(${out} ON PARENT_SCOPE)
  else()
    set(${out} OFF PARENT_SCOPE)
  endif()
endfunction()

# qmt_windows_pch(TARGET SOURCES...): the target's *_win sources reuse <windows.h> precompiled, its
# other sources get none. Windows build only.
function(qmt_windows_pch target)
  if(NOT QMT_WINDOWS)
    return()
  endif()
  target_precompile_headers(${target} REUSE_FROM qmt_pch_windows)
  foreach(src IN LISTS ARGN)
    set(fits OFF)
    if(src MATCHES "_win\\.cpp$")
      qmt_windows_pch_fits(${src} fits)
    endif()
    if(NOT fits)
      set_source_files_properties(${src} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
    endif()
  endforeach()
endfunction()

if(QMT_WINDOWS)
  qmt_pch_donor(qmt_pch_windows <windows.h>)
endif()
