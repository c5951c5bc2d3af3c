# Project helpers: one library per folder, one QtTest executable per tst_*.cpp.

set(QSX_WARNINGS -Wall -Wextra)

function(_qsx_no_unknown_args fn)
  if(ARGN)
    message(FATAL_ERROR "${fn}: unknown arguments: ${ARGN}")
  endif()
endfunction()

# A misspelt keyword after a list keyword would silently join that list
# (LABEL unit as two more DEPENDS): no file or target is spelt in capitals.
function(_qsx_no_keyword_lookalikes fn)
  foreach(item IN LISTS ARGN)
    if(item MATCHES "^[A-Z][A-Z_]+$")
      message(FATAL_ERROR "${fn}: unknown keyword ${item}")
    endif()
  endforeach()
endfunction()

# qsx_add_library(name SOURCES files... [DEPENDS targets...] [PUBLIC_DEPENDS targets...])
# Sources are listed explicitly (.cpp, .h, .qrc, .ui; subfolder paths allowed).
# DEPENDS are private: a dependency that shows in this library's headers goes
# under PUBLIC_DEPENDS.
function(qsx_add_library name)
  cmake_parse_arguments(PARSE_ARGV 1 A "" "" "SOURCES;DEPENDS;PUBLIC_DEPENDS")
  _qsx_no_unknown_args(qsx_add_library ${A_UNPARSED_ARGUMENTS})
  _qsx_no_keyword_lookalikes(qsx_add_library ${A_SOURCES} ${A_DEPENDS} ${A_PUBLIC_DEPENDS})
  if(NOT A_SOURCES)
    message(FATAL_ERROR "qsx_add_library(${name}): SOURCES is empty")
  endif()
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${QSX_WARNINGS})
  target_link_libraries(${name} PRIVATE ${A_DEPENDS} PUBLIC ${A_PUBLIC_DEPENDS})
endfunction()

# qsx_add_test(tst_x.cpp [SOURCES more files...] [DEPENDS targets...]
#              [LABELS unit|integration|gui|window ...] [GUI] [FIXTURES names...] [TIMEOUT s])
# The test is named after its first file. GUI tests (GUI or LABELS gui) get
# the offscreen platform and the label "gui"; a test without labels is
# "unit". A unit test starts no process and opens no socket (scripts/test
# --quick runs only those); one that does is "integration". A "window" test
# runs the program on an X server of its own.
function(qsx_add_test file)
  cmake_parse_arguments(PARSE_ARGV 1 A "GUI" "TIMEOUT" "SOURCES;DEPENDS;LABELS;FIXTURES")
  _qsx_no_unknown_args(qsx_add_test ${A_UNPARSED_ARGUMENTS})
  _qsx_no_keyword_lookalikes(qsx_add_test ${A_SOURCES} ${A_DEPENDS} ${A_LABELS} ${A_FIXTURES})
  get_filename_component(name ${file} NAME_WE)
  add_executable(${name} ${file} ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${QSX_WARNINGS})
  target_link_libraries(${name} PRIVATE Qt6::Test ${A_DEPENDS})
  add_test(NAME ${name} COMMAND ${name})

  set(labels ${A_LABELS})
  foreach(l IN LISTS labels)
    if(NOT l MATCHES "^(unit|integration|gui|window)$")
      message(FATAL_ERROR "qsx_add_test(${name}): unknown label '${l}'")
    endif()
  endforeach()
  if(A_GUI OR "gui" IN_LIST labels)
    list(APPEND labels gui)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
  if(NOT labels)
    set(labels unit)
  endif()
  list(REMOVE_DUPLICATES labels)
  set_tests_properties(${name} PROPERTIES LABELS "${labels}")

  if(A_TIMEOUT)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${A_TIMEOUT})
  else()
    set_tests_properties(${name} PROPERTIES TIMEOUT 120)
  endif()
  if(A_FIXTURES)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "${A_FIXTURES}")
  endif()
endfunction()

# qsx_add_screenshot(shot_x.cpp [SOURCES more...] [DEPENDS targets...])
# A program that opens one part of the module offscreen against the agent
# named by QSX_AGENT (host:port) and writes PNGs into QSX_SHOTS_DIR;
# scripts/screenshots builds and runs every one of them.
function(qsx_add_screenshot file)
  cmake_parse_arguments(PARSE_ARGV 1 A "" "" "SOURCES;DEPENDS")
  _qsx_no_unknown_args(qsx_add_screenshot ${A_UNPARSED_ARGUMENTS})
  get_filename_component(name ${file} NAME_WE)
  add_executable(${name} ${file} ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${QSX_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tools/screenshots)
  target_link_libraries(${name} PRIVATE qsx_snmp Qt6::Widgets ${A_DEPENDS})
  if(NOT TARGET qsx_screenshots)
    add_custom_target(qsx_screenshots)
  endif()
  add_dependencies(qsx_screenshots ${name})
endfunction()
