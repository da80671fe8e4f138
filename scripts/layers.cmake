# What each folder may include, shared by the include check (scripts/check_includes.cmake)
# and the build, which gives each folder's targets only these folders to include from.
set(FEATURES tools libraries agenda settings about survey)
# The public headers one feature may include of another: "from>to/header". The agenda
# generator lays bullet rows out with the text tools' indent staircase.
set(FEATURE_CALLS_ACROSS "agenda>tools/text_beautifier.h")

# What each folder may include; folders not named here (tests/) are not checked.
set(MAY_core core host platform)
set(MAY_host host platform)
set(MAY_platform platform)
# The update add-in builds on the shared base only.
set(MAY_updater updater core host platform)
# The mail program is a program of its own on the shared base.
set(MAY_mailhelper mailhelper core platform)
set(MAY_loopback loopback core platform)
foreach(feature ${FEATURES})
  set(MAY_${feature} ${feature} core host platform)
endforeach()
set(MAY_addin addin ${FEATURES} core host platform)
# The simulator and the benchmarks drive the programs from outside.
foreach(driver sim bench)
  set(MAY_${driver} ${driver} addin ${FEATURES} updater mailhelper loopback core host platform)
endforeach()
set(ADDIN_USERS addin sim tests bench)
