# Checks that includes run only downwards through the folders (docs/architecture.md):
#   addin/ may include everything below it; only addin/, sim/, tests/ and bench/ include addin/;
#   a feature folder (tools/, libraries/, agenda/, settings/, about/, survey/) includes core/, host/ and
#   platform/, and another feature only where the allow-list below names the pair;
#   core/ includes only core/, host/ and platform/; host/ and platform/ include neither the
#   add-in nor its features, and platform/ not host/; mailhelper/ includes core/ and platform/.
# Usage: cmake -DROOT=<source folder> -P check_includes.cmake
# Prints each stray include and "<n> stray includes"; fails when n is not 0.
cmake_minimum_required(VERSION 3.22)
if(NOT ROOT)
  message(FATAL_ERROR "ROOT not set")
endif()

set(FEATURES tools libraries agenda settings about survey)
# Where one feature uses another: "from>to". The agenda generator uses the text tools' indent
# staircase (agenda>tools); the tools' agenda commands open the agenda dialog (tools>agenda);
# the about and settings commands open the about box and the settings dialog (tools>about,
# tools>settings).
set(FEATURE_CALLS_ACROSS "tools>agenda;agenda>tools;tools>about;tools>settings")

# What each folder may include; folders not named here are not checked.
set(MAY_core core host platform)
set(MAY_host host platform)
set(MAY_platform platform)
# The update add-in builds on the shared base only.
set(MAY_updater updater core host platform)
# The mail program is a program of its own on the shared base.
set(MAY_mailhelper mailhelper core platform)
foreach(feature ${FEATURES})
  set(MAY_${feature} ${feature} core host platform)
endforeach()
set(ADDIN_USERS addin sim tests bench)

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
    if(target STREQUAL "addin" AND NOT folder IN_LIST ADDIN_USERS)
      set(bad "only addin/, sim/, tests/ and bench/ include addin/")
    elseif(DEFINED MAY_${folder} AND NOT target IN_LIST MAY_${folder})
      if(folder IN_LIST FEATURES AND target IN_LIST FEATURES AND "${folder}>${target}" IN_LIST FEATURE_CALLS_ACROSS)
        # a call across that the allow-list names
      else()
        string(REPLACE ";" "/, " allowed "${MAY_${folder}}")
        set(bad "${folder}/ includes only ${allowed}/")
      endif()
    endif()
    if(bad)
      message("${file}: #include \"${included}\": ${bad}")
      math(EXPR stray "${stray} + 1")
    endif()
  endforeach()
endforeach()

message("${stray} stray includes")
if(NOT stray EQUAL 0)
  message(FATAL_ERROR "includes run upwards")
endif()
