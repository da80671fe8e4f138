# Checks that every path the documentation names exists, so a moved or renamed file shows up
# as a failing test instead of a stale map.
#   Scans README.md and docs/*.md under ROOT. A backticked text whose first word starts with a
#   top-level folder of the source tree (addin/, core/, tools/, ... also ones that no longer
#   exist, so a stale name is caught) is a path relative to ROOT. A trailing "/" asks for a
#   folder. "*" is a glob (`core/shared_state.*`, `platform/ui_*.h`), and so is a placeholder
#   part: <name>, or a word in capitals such as NAME or N (`sim/examples/NAME.scenario`); each
#   must match at least one file or folder. Fenced code blocks are skipped, and so are the
#   folders of MADE_BY_RUNS, which exist only while a run has something to keep.
# Usage: cmake -DROOT=<source folder> -P check_doc_paths.cmake
# Prints each missing path and "<n> missing paths"; fails when n is not 0.
cmake_minimum_required(VERSION 3.22)
if(NOT ROOT)
  message(FATAL_ERROR "ROOT not set")
endif()

# Folders of the source tree, and retired ones that docs must no longer name.
set(TOP platform host core tools libraries agenda settings about survey addin updater mailhelper
        loopback sim install tests bench scripts docs .ci periphery)
# Folders that runs make and remove again (fuzz.sh keeps its findings there): named, never kept.
set(MADE_BY_RUNS tests/fuzz/crashes)
string(REPLACE ";" "|" top_alternatives "${TOP}")
string(REPLACE "." "\\." top_alternatives "${top_alternatives}")

set(documents)
if(EXISTS ${ROOT}/README.md)
  list(APPEND documents README.md)
endif()
file(GLOB doc_files RELATIVE ${ROOT} ${ROOT}/docs/*.md)
list(APPEND documents ${doc_files})

set(missing 0)
foreach(document ${documents})
  # Read whole and split by hand: file(STRINGS) would also split a line at each ";".
  file(READ ${ROOT}/${document} text)
  string(REPLACE ";" "," text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(fenced OFF)
  set(line_number 0)
  foreach(line IN LISTS lines)
    math(EXPR line_number "${line_number} + 1")
    if(line MATCHES "^[ \t]*```")
      if(fenced)
        set(fenced OFF)
      else()
        set(fenced ON)
      endif()
      continue()
    endif()
    if(fenced)
      continue()
    endif()
    string(REGEX MATCHALL "`[^`]+`" spans "${line}")
    foreach(span IN LISTS spans)
      string(REGEX REPLACE "^`([^ `]+).*`$" "\\1" path "${span}")
      if(NOT path MATCHES "^(${top_alternatives})/")
        continue()
      endif()
      set(made_by_run OFF)
      foreach(made ${MADE_BY_RUNS})
        if(path MATCHES "^${made}(/|$)")
          set(made_by_run ON)
        endif()
      endforeach()
      if(made_by_run)
        continue()
      endif()
      # Placeholders stand for any name: <name>, NAME, N, NNNN (capitals, digits, "_").
      string(REGEX REPLACE "<[^>]*>" "*" pattern "${path}")
      string(REGEX REPLACE "(^|[/_.-])[A-Z][A-Z0-9]*($|[/_.-])" "\\1*\\2" pattern "${pattern}")
      string(REGEX REPLACE "(^|[/_.-])[A-Z][A-Z0-9]*($|[/_.-])" "\\1*\\2" pattern "${pattern}")
      string(REGEX REPLACE "/$" "" pattern "${pattern}")
      set(found OFF)
      if(pattern MATCHES "[*?]")
        file(GLOB matches LIST_DIRECTORIES true ${ROOT}/${pattern})
        if(matches)
          set(found ON)
        endif()
      elseif(path MATCHES "/$")
        if(IS_DIRECTORY ${ROOT}/${pattern})
          set(found ON)
        endif()
      elseif(EXISTS ${ROOT}/${pattern})
        set(found ON)
      endif()
      if(NOT found)
        message("${document}:${line_number}: `${path}` names nothing in the source tree")
        math(EXPR missing "${missing} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

message("${missing} missing paths")
if(NOT missing EQUAL 0)
  message(FATAL_ERROR "the documentation names paths that do not exist")
endif()
