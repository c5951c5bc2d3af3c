# The build helpers of cmake/qsx.cmake, run in script mode: the commands
# they call are replaced by recorders, and FATAL_ERROR is recorded too.
# cmake -P tst_qsxhelpers.cmake

cmake_policy(VERSION 3.25)
set(PROJECT_SOURCE_DIR /tree)

foreach(cmd add_library add_executable target_include_directories target_compile_options
            target_link_libraries add_test set_tests_properties)
  cmake_language(EVAL CODE "
    function(${cmd})
      list(JOIN ARGV \" \" line)
      set_property(GLOBAL APPEND PROPERTY QSX_CALLS \"${cmd}(\${line})\")
    endfunction()")
endforeach()

function(message mode)
  if(mode STREQUAL "FATAL_ERROR")
    list(JOIN ARGN " " text)
    set_property(GLOBAL APPEND PROPERTY QSX_ERRORS "${text}")
  else()
    _message(${mode} ${ARGN})
  endif()
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/qsx.cmake)

set(failures "")

# Runs the call; expected: "error:<part of the message>" or the recorded
# calls that must all appear.
function(check call)
  set_property(GLOBAL PROPERTY QSX_CALLS "")
  set_property(GLOBAL PROPERTY QSX_ERRORS "")
  cmake_language(EVAL CODE "${call}")
  get_property(calls GLOBAL PROPERTY QSX_CALLS)
  get_property(errors GLOBAL PROPERTY QSX_ERRORS)
  foreach(want IN LISTS ARGN)
    if(want MATCHES "^error:(.*)$")
      string(FIND "${errors}" "${CMAKE_MATCH_1}" at)
      if(at EQUAL -1)
        list(APPEND failures "${call}: no error \"${CMAKE_MATCH_1}\" (errors: ${errors})")
      endif()
    else()
      if(errors)
        list(APPEND failures "${call}: unexpected error ${errors}")
        break()
      endif()
      list(FIND calls "${want}" at)
      if(at EQUAL -1)
        list(APPEND failures "${call}: no ${want} among ${calls}")
      endif()
    endif()
  endforeach()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

check("qsx_add_library(lib SOURCES a.cpp a.h DEPENDS priv PUBLIC_DEPENDS pub)"
  "add_library(lib STATIC a.cpp a.h)"
  "target_include_directories(lib PUBLIC /tree/src)"
  "target_link_libraries(lib PRIVATE priv PUBLIC pub)")
check("qsx_add_library(lib a.cpp)" "error:unknown arguments: a.cpp")
check("qsx_add_library(lib SOURCES a.cpp LINK qsx_values)" "error:unknown keyword LINK")
check("qsx_add_library(lib DEPENDS qsx_values)" "error:SOURCES is empty")

check("qsx_add_test(tst_a.cpp SOURCES b.cpp DEPENDS lib)"
  "add_executable(tst_a tst_a.cpp b.cpp)"
  "target_link_libraries(tst_a PRIVATE Qt6::Test lib)"
  "add_test(NAME tst_a COMMAND tst_a)"
  "set_tests_properties(tst_a PROPERTIES LABELS unit)"
  "set_tests_properties(tst_a PROPERTIES TIMEOUT 120)")
foreach(gui "GUI" "LABELS gui")
  check("qsx_add_test(tst_b.cpp ${gui})"
    "set_tests_properties(tst_b PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)"
    "set_tests_properties(tst_b PROPERTIES LABELS gui)")
endforeach()
check("qsx_add_test(tst_c.cpp LABELS integration TIMEOUT 30 FIXTURES agent)"
  "set_tests_properties(tst_c PROPERTIES LABELS integration)"
  "set_tests_properties(tst_c PROPERTIES TIMEOUT 30)"
  "set_tests_properties(tst_c PROPERTIES FIXTURES_REQUIRED agent)")
check("qsx_add_test(tst_d.cpp LABELS slow)" "error:unknown label 'slow'")
check("qsx_add_test(tst_e.cpp DEPENDS lib LABEL unit)" "error:unknown keyword LABEL")
check("qsx_add_test(tst_f.cpp lib)" "error:unknown arguments: lib")

if(failures)
  list(JOIN failures "\n  " text)
  _message(FATAL_ERROR "build helpers misbehave:\n  ${text}")
endif()
_message(STATUS "build helpers behave")
