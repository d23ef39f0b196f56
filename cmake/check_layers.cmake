# The layering check: no file of a layer includes a header of a layer above it.
#   framework <- base <- storage <- controls <- gridtable;  update uses framework, base and storage.
# Within a layer, each subject folder includes only the subjects it needs, as listed below; the files
# directly in a layer's folder (subject "_") are its start-up and its widest pieces.
# Nothing in a layer includes the tests' or the benchmarks' files; tests/ and bench/ may include
# anything. Run by CTest (test "layering"):
#   cmake -DROOT=<source tree> -P cmake/check_layers.cmake      checks the tree; fails naming each file
#   cmake -DSELFTEST=ON -DWORK=<folder> -P cmake/check_layers.cmake
#                                                                 checks the check on a small tree
cmake_minimum_required(VERSION 3.20)

set(QMT_LAYERS framework base storage controls gridtable update)
set(QMT_MAY_INCLUDE_framework framework)
set(QMT_MAY_INCLUDE_base framework base)
set(QMT_MAY_INCLUDE_storage framework base storage)
set(QMT_MAY_INCLUDE_controls framework base storage controls)
set(QMT_MAY_INCLUDE_gridtable framework base storage controls gridtable)
set(QMT_MAY_INCLUDE_update framework base storage update)
# QMT_SUBJECTS_<layer>: "subject: the other subjects of the layer it may include". A subject missing
# from the list may include no other subject.
set(QMT_SUBJECTS_framework
    "graphics: runtime"
    "windows: runtime graphics")
set(QMT_SUBJECTS_base
    "text: memory"
    "graphics: memory"
    "messages: text graphics keys"
    "numbers: memory text messages"
    "records: memory text numbers messages"
    "files: memory text records messages"
    "aliases: memory text records messages files"
    "input: memory text numbers messages aliases keys")
set(QMT_SUBJECTS_storage
    "config: files"
    "compound: files config"
    "utilities: compound"
    "_: compound config files")
# The controls' start-up and its shared pieces (the two-language texts, the glyphs) share the top.
set(QMT_SUBJECTS_controls
    "buttons: _"
    "dates: _ buttons"
    "messages: _ buttons"
    "_: buttons dates messages")
# The table opens its editor form, which writes back into the table.
set(QMT_SUBJECTS_gridtable
    "screens: model"
    "editing: _ model"
    "_: model screens editing")
# The main window's members are defined in the file of their subject, so the run and its steps reach
# one another through it.
set(QMT_SUBJECTS_update
    "payload: apply run"
    "patch: payload apply journal run"
    "journal: payload apply run"
    "apply: payload patch journal run variant"
    "run: payload journal apply variant"
    "variant: payload journal apply run"
    "main: run variant")
# Top folders an include can name; an include naming none of them (a system header, the LZMA SDK's
# headers) is not a layer's business.
set(QMT_TOP_FOLDERS ${QMT_LAYERS} tests bench)

# The folder of the tree an include names: "storage/x.h" names storage; a relative "../base/y.h"
# (or "z.h" beside the including file) is resolved from the including file's folder first.
# The subject of a path inside a layer: its second folder, or "_" for a file directly in the layer.
function(qmt_subject_of path out)
  if(path MATCHES "^[^/]+/([^/]+)/")
    set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
  else()
    set(${out} _ PARENT_SCOPE)
  endif()
endfunction()

# The subjects of LAYER that SUBJECT may include besides itself.
function(qmt_subject_may_include layer subject out)
  set(allowed)
  foreach(rule IN LISTS QMT_SUBJECTS_${layer})
    if(rule MATCHES "^${subject}:(.*)$")
      string(STRIP "${CMAKE_MATCH_1}" list)
      string(REPLACE " " ";" allowed "${list}")
    endif()
  endforeach()
  set(${out} ${allowed} PARENT_SCOPE)
endfunction()

# The layer folder an include names (OUT) and its subject there (SUBJECT_OUT).
function(qmt_included_folder root file include out subject_out)
  set(folder "")
  get_filename_component(dir ${file} DIRECTORY)
  get_filename_component(beside "${dir}/${include}" ABSOLUTE)
  if(EXISTS "${beside}" AND NOT include MATCHES "^(framework|base|storage|controls|gridtable|update|tests|bench)/")
    file(RELATIVE_PATH rel ${root} ${beside})
  else()
    set(rel ${include})
  endif()
  if(rel MATCHES "^([^/]+)/")
    set(top ${CMAKE_MATCH_1})
    if(top IN_LIST QMT_TOP_FOLDERS)
      set(folder ${top})
    endif()
  endif()
  qmt_subject_of(${rel} subject)
  set(${out} ${folder} PARENT_SCOPE)
  set(${subject_out} ${subject} PARENT_SCOPE)
endfunction()

# Every include of a layer's file that names a folder the layer may not include, one entry
# "FILE: includes HEADER" each, layer by layer from the bottom.
function(qmt_layer_violations root out)
  set(found)
  foreach(layer IN LISTS QMT_LAYERS)
    if(NOT IS_DIRECTORY ${root}/${layer})
      continue()
    endif()
    file(GLOB_RECURSE files LIST_DIRECTORIES false ${root}/${layer}/*.h ${root}/${layer}/*.hpp
         ${root}/${layer}/*.c ${root}/${layer}/*.cpp ${root}/${layer}/*.rc)
    list(SORT files)
    foreach(f IN LISTS files)
      file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include")
      foreach(line IN LISTS lines)
        if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
          continue()
        endif()
        set(include ${CMAKE_MATCH_1})
        qmt_included_folder(${root} ${f} ${include} folder subject)
        file(RELATIVE_PATH rel ${root} ${f})
        if(folder AND NOT folder IN_LIST QMT_MAY_INCLUDE_${layer})
          list(APPEND found "${rel}: includes ${include}")
        elseif(folder STREQUAL layer)
          qmt_subject_of(${rel} own)
          qmt_subject_may_include(${layer} ${own} allowed)
          if(NOT subject STREQUAL own AND NOT subject IN_LIST allowed)
            list(APPEND found "${rel}: includes ${include}")
          endif()
        endif()
      endforeach()
    endforeach()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

if(SELFTEST)
  # A tree with one allowed and one refused include per kind: by folder name, relative, from a
  # sub-folder, of the tests' files, in angle brackets; the tests may include anything.
  set(t ${WORK}/layering_selftest)
  file(REMOVE_RECURSE ${t})
  file(WRITE ${t}/framework/Fw.h "#pragma once\n#include <windows.h>\n#include \"base/B.h\"\n")
  file(WRITE ${t}/base/B.h "#pragma once\n#include \"framework/Fw.h\"\n#include \"Near.h\"\n")
  file(WRITE ${t}/base/Near.h "#pragma once\n")
  file(WRITE ${t}/base/text/T.h "#pragma once\n#include \"base/memory/M.h\"\n#include \"base/numbers/N.h\"\n")
  file(WRITE ${t}/base/memory/M.h "#pragma once\n")
  file(WRITE ${t}/base/numbers/N.h "#pragma once\n#include \"base/text/T.h\"\n#include \"../memory/M.h\"\n")
  file(WRITE ${t}/storage/S.cpp "#include \"storage/S.h\"\n  #  include \"../base/B.h\"\n#include \"../controls/C.h\"\n")
  file(WRITE ${t}/storage/S.h "#pragma once\n")
  file(WRITE ${t}/controls/C.h "#pragma once\n#include <storage/S.h>\n#include <gridtable/G.h>\n")
  file(WRITE ${t}/gridtable/G.h "#pragma once\n#include \"controls/C.h\"\n")
  file(WRITE ${t}/update/main/M.cpp "#include \"LzmaDec.h\"\n#include \"storage/S.h\"\n#include \"controls/C.h\"\n#include \"tests/support/T.h\"\n")
  file(WRITE ${t}/tests/support/T.h "#pragma once\n#include \"gridtable/G.h\"\n#include \"update/U.h\"\n")
  qmt_layer_violations(${t} got)
  set(want
      "framework/Fw.h: includes base/B.h"
      "base/text/T.h: includes base/numbers/N.h"
      "storage/S.cpp: includes ../controls/C.h"
      "controls/C.h: includes gridtable/G.h"
      "update/main/M.cpp: includes controls/C.h"
      "update/main/M.cpp: includes tests/support/T.h")
  file(REMOVE_RECURSE ${t})
  if(NOT got STREQUAL want)
    string(REPLACE ";" "\n  " got_text "${got}")
    string(REPLACE ";" "\n  " want_text "${want}")
    message(FATAL_ERROR "The layering check found:\n  ${got_text}\nwhere it should find:\n  ${want_text}")
  endif()
  message(STATUS "The layering check finds each refused include and only those.")
  return()
endif()

if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source tree> -P check_layers.cmake")
endif()
qmt_layer_violations(${ROOT} found)
if(found)
  string(REPLACE ";" "\n  " text "${found}")
  message(FATAL_ERROR "Headers of a higher layer, or of a subject of the layer not listed for the "
                      "including subject, included (framework <- base <- storage <- controls <- "
                      "gridtable; update uses framework, base and storage):\n  ${text}")
endif()
message(STATUS "Every layer includes only its own headers and those of the layers below it, and each "
               "subject only the subjects listed for it.")
