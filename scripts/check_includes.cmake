# Checks that includes run only downwards through the folders (docs/architecture.md):
#   addin/ may include everything below it; only addin/, sim/, tests/ and bench/ include addin/;
#   a feature folder (tools/, libraries/, agenda/, settings/, about/, survey/) includes core/, host/
#   and platform/, and of another feature only the public headers the list below names;
#   no two features use each other (a two-way pair is refused even where each include is named);
#   core/ includes only core/, host/ and platform/; host/ and platform/ include neither the
#   add-in nor its features, and platform/ not host/; mailhelper/ includes core/ and platform/;
#   loopback/ (the loopback servers of the tests, the simulator and the benchmarks) includes
#   core/ and platform/; sim/ and bench/ include the add-in and everything below it, the
#   loopback servers and their own folder, but never tests/.
# Usage: cmake -DROOT=<source folder> -P check_includes.cmake
# Prints each stray include and two-way pair and "<n> stray includes"; fails when n is not 0.
cmake_minimum_required(VERSION 3.22)
if(NOT ROOT)
  message(FATAL_ERROR "ROOT not set")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/layers.cmake)

# The feature pairs "from>to" that the allow-list names.
set(pairs "")
foreach(call ${FEATURE_CALLS_ACROSS})
  string(REGEX MATCH "^[^/]+" pair "${call}")
  list(APPEND pairs "${pair}")
endforeach()

set(stray 0)
file(GLOB_RECURSE files RELATIVE ${ROOT} ${ROOT}/*.h ${ROOT}/*.cpp)
foreach(file ${files})
  if(file MATCHES "^build")
    continue()
  endif()
  string(REGEX MATCH "^[^/]+" folder "${file}")
  file(STRINGS ${ROOT}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+/")
  foreach(line ${lines})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
    string(REGEX MATCH "^[^/]+" target "${included}")
    set(bad "")
    if(folder IN_LIST FEATURES AND target IN_LIST FEATURES AND NOT folder STREQUAL target)
      list(APPEND pairs "${folder}>${target}")
      if(NOT "${folder}>${included}" IN_LIST FEATURE_CALLS_ACROSS)
        set(bad "${folder}/ includes of ${target}/ only the public headers the allow-list names")
      endif()
    elseif(target STREQUAL "addin" AND NOT folder IN_LIST ADDIN_USERS)
      set(bad "only addin/, sim/, tests/ and bench/ include addin/")
    elseif(DEFINED MAY_${folder} AND NOT target IN_LIST MAY_${folder})
      string(REPLACE ";" "/, " allowed "${MAY_${folder}}")
      set(bad "${folder}/ includes only ${allowed}/")
    endif()
    if(bad)
      message("${file}: #include \"${included}\": ${bad}")
      math(EXPR stray "${stray} + 1")
    endif()
  endforeach()
endforeach()

# Two features that use each other are one feature in two folders: refused.
list(REMOVE_DUPLICATES pairs)
foreach(pair ${pairs})
  string(REPLACE ">" ";" ends "${pair}")
  list(GET ends 0 from)
  list(GET ends 1 to)
  if("${to}>${from}" IN_LIST pairs AND from STRLESS to)
    message("${from}/ and ${to}/ include each other: one of them must only be used by the other")
    math(EXPR stray "${stray} + 1")
  endif()
endforeach()

message("${stray} stray includes")
if(NOT stray EQUAL 0)
  message(FATAL_ERROR "includes run upwards")
endif()
