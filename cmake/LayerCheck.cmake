# Include rules of the tree, checked on the #include lines of every C++ file:
#  - src/<layer>/: layers errors < values < snmp < ledger < doctor < mib < bindings <
#    dialogs < snapshot < ports < shell; a file never includes from a higher
#    layer, except that snapshot and ports read the menu data of shell/catalogue. src/app (the
#    program) and files directly in src/ sit above every layer; a folder
#    outside the order is refused.
#  - src/dialogs/<part>/: registry < generic < monitors, dedicated; a part
#    never includes a higher part or a part of its own rank.
#  - Qt Charts and Qt Data Visualization headers only in src/dialogs/monitors
#    (the one library that links them) and in tests and tools.
#  - errors, values, snmp, ledger, doctor, mib, snapshot and ports are Qt Core only: Qt Widgets headers and
#    widget companions (<layer>/widgets/...) only inside such a companion.
#  - agent/: errors, values, snmp, mib and shell/catalogue only; no widget
#    companion, no Qt Widgets header.
#  - Net-SNMP headers (net-snmp/...) only in src/snmp/*.cpp and agent/*.cpp
#    (their macros clash with Qt).
#  - test helpers (support/..., tests/...) never in src/, agent/, bench/ or
#    tools/ (the screenshot programs, which are built like src/app).
#
# As a script:  cmake -DROOT=<tree> [-DQT_WIDGETS_HEADERS=<QtWidgets include dir>] -P LayerCheck.cmake
# Included:     qsx_check_layers(<tree> <QtWidgets include dir or ""> <result variable>)
#               sets the variable to the list of problems, one a line.

cmake_policy(VERSION 3.25)

# Whether inc is a header of the Qt modules matching module_regex: by its
# folder (QtWidgets/QLineEdit) or, without one, by name in ";"-joined names.
function(_qsx_qt_module_header inc module_regex names out)
  set(found FALSE)
  if(inc MATCHES "^${module_regex}(/|$)")
    set(found TRUE)
  elseif(NOT inc MATCHES "/")
    string(FIND "${names}" ";${inc};" at)
    if(at GREATER -1)
      set(found TRUE)
    endif()
  endif()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(qsx_check_layers root widgets_dir out)
  set(layers errors values snmp ledger doctor mib bindings dialogs snapshot ports shell)
  set(core_layers errors values snmp ledger doctor mib snapshot ports)
  set(agent_may errors values snmp mib)
  set(dialog_parts registry generic monitors dedicated)
  set(dialog_ranks 0 1 2 2)

  # One string ";QLineEdit;QWidget;...;": a substring search is much
  # cheaper than a list search in CMake.
  set(widget_headers ";")
  if(widgets_dir AND IS_DIRECTORY "${widgets_dir}")
    file(GLOB names RELATIVE "${widgets_dir}" "${widgets_dir}/*")
    list(JOIN names ";" joined)
    set(widget_headers ";${joined};")
  endif()

  set(files "")
  foreach(top src agent tests bench tools)
    file(GLOB_RECURSE found RELATIVE "${root}" "${root}/${top}/*.h" "${root}/${top}/*.hpp" "${root}/${top}/*.cpp")
    list(APPEND files ${found})
  endforeach()

  # The chart modules' headers, looked for beside the Qt Widgets folder.
  set(chart_headers ";")
  if(widgets_dir)
    foreach(module QtCharts QtDataVisualization)
      if(IS_DIRECTORY "${widgets_dir}/../${module}")
        file(GLOB names RELATIVE "${widgets_dir}/../${module}" "${widgets_dir}/../${module}/*")
        list(JOIN names ";" joined)
        string(APPEND chart_headers "${joined};")
      endif()
    endforeach()
  endif()

  set(problems "")
  foreach(f IN LISTS files)
    # Where the file sits.
    set(rank "")
    set(core FALSE)
    set(in_agent FALSE)
    set(in_product FALSE)
    set(part_rank "")
    set(charts_refused FALSE)
    if(f MATCHES "^src/app/")
      list(LENGTH layers rank)
    elseif(f MATCHES "^src/([^/]+)/")
      list(FIND layers "${CMAKE_MATCH_1}" rank)
      if(rank EQUAL -1)
        list(APPEND problems "${f}: src/${CMAKE_MATCH_1} is in no layer (add it to the order in cmake/LayerCheck.cmake)")
        continue()
      endif()
      list(FIND core_layers "${CMAKE_MATCH_1}" c)
      if(c GREATER -1 AND NOT f MATCHES "^src/[^/]+/(.*/)?widgets/")
        set(core TRUE)
      endif()
      if(f MATCHES "^src/dialogs/([^/]+)/")
        list(FIND dialog_parts "${CMAKE_MATCH_1}" p)
        if(p EQUAL -1)
          list(APPEND problems "${f}: src/dialogs/${CMAKE_MATCH_1} is in no layer (add it to the order in cmake/LayerCheck.cmake)")
          continue()
        endif()
        list(GET dialog_ranks ${p} part_rank)
        set(part "${CMAKE_MATCH_1}")
      endif()
    elseif(f MATCHES "^agent/")
      set(in_agent TRUE)
    endif()
    if(f MATCHES "^src/" AND NOT f MATCHES "^src/dialogs/monitors/")
      set(charts_refused TRUE)
    endif()
    if(f MATCHES "^(src|agent|bench|tools)/")
      set(in_product TRUE)
    endif()
    set(netsnmp_allowed FALSE)
    if(f MATCHES "^(src/snmp|agent)/[^/]+\\.cpp$")
      set(netsnmp_allowed TRUE)
    endif()

    file(STRINGS "${root}/${f}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*$" "\\1" inc "${line}")
      # Most includes are plain library headers: only a Qt Widgets name
      # matters among those without a folder, and only to a few files.
      if(NOT inc MATCHES "/" AND (NOT inc MATCHES "^[Qq]" OR NOT (core OR in_agent OR charts_refused)))
        continue()
      endif()
      string(REGEX MATCH "^[^/]+" head "${inc}")
      list(FIND layers "${head}" inc_rank)
      if(head STREQUAL "app")
        list(LENGTH layers inc_rank)
      endif()
      _qsx_qt_module_header("${inc}" "QtWidgets" "${widget_headers}" widgets_header)
      _qsx_qt_module_header("${inc}" "Qt(Charts|DataVisualization)" "${chart_headers}" charts_header)
      set(companion FALSE)
      if(inc_rank GREATER -1 AND inc MATCHES "^[^/]+/(.*/)?widgets/")
        set(companion TRUE)
      endif()
      set(where "${f}: #include ${inc}")

      set(catalogue_data FALSE)
      if(f MATCHES "^src/(snapshot|ports)/" AND inc MATCHES "^shell/catalogue/")
        set(catalogue_data TRUE)
      endif()
      if(NOT rank STREQUAL "" AND inc_rank GREATER rank AND NOT catalogue_data)
        list(APPEND problems "${where}: includes a higher layer")
      endif()
      if(NOT part_rank STREQUAL "" AND inc MATCHES "^dialogs/([^/]+)/" AND NOT CMAKE_MATCH_1 STREQUAL part)
        list(FIND dialog_parts "${CMAKE_MATCH_1}" p)
        set(inc_part_rank 99)
        if(p GREATER -1)
          list(GET dialog_ranks ${p} inc_part_rank)
        endif()
        if(inc_part_rank GREATER_EQUAL part_rank)
          list(APPEND problems "${where}: includes a dialogs part of its own or a higher rank")
        endif()
      endif()
      if(charts_refused AND charts_header)
        list(APPEND problems "${where}: chart header outside src/dialogs/monitors")
      endif()
      if(core AND widgets_header)
        list(APPEND problems "${where}: Qt Widgets header in a Qt Core layer")
      endif()
      if(core AND companion)
        list(APPEND problems "${where}: widgets companion included by a Qt Core layer")
      endif()
      if(in_agent)
        list(FIND agent_may "${head}" allowed)
        if(widgets_header OR companion
           OR (inc_rank GREATER -1 AND allowed EQUAL -1 AND NOT inc MATCHES "^shell/catalogue/"))
          list(APPEND problems "${where}: the agent may not include this")
        endif()
      endif()
      if(inc MATCHES "^net-snmp/" AND NOT netsnmp_allowed)
        list(APPEND problems "${where}: Net-SNMP header outside src/snmp/*.cpp and agent/*.cpp")
      endif()
      if(in_product AND (head STREQUAL "support" OR inc MATCHES "(^|/)tests/"))
        list(APPEND problems "${where}: test helper included by the program, the agent, a benchmark or a tool")
      endif()
    endforeach()
  endforeach()
  set(${out} "${problems}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  if(NOT ROOT)
    message(FATAL_ERROR "usage: cmake -DROOT=<tree> [-DQT_WIDGETS_HEADERS=<dir>] -P LayerCheck.cmake")
  endif()
  if(NOT QT_WIDGETS_HEADERS OR NOT IS_DIRECTORY "${QT_WIDGETS_HEADERS}")
    message(WARNING "no Qt Widgets include folder: only QtWidgets/... includes are recognised")
  endif()
  qsx_check_layers("${ROOT}" "${QT_WIDGETS_HEADERS}" problems)
  if(problems)
    list(LENGTH problems n)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "${n} include(s) break the layer rules:\n  ${text}")
  endif()
  message(STATUS "layer rules hold")
endif()
