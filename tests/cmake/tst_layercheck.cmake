# The layer check itself: the real tree passes; a scratch copy with one
# include added at a time fails where the rules say, and only there.
# cmake -DROOT=<tree> -DSCRATCH=<folder> [-DQT_WIDGETS_HEADERS=<dir>] -P tst_layercheck.cmake

cmake_policy(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/LayerCheck.cmake)

if(NOT ROOT OR NOT SCRATCH)
  message(FATAL_ERROR "usage: cmake -DROOT=<tree> -DSCRATCH=<folder> [-DQT_WIDGETS_HEADERS=<dir>] -P tst_layercheck.cmake")
endif()

set(failures "")

qsx_check_layers("${ROOT}" "${QT_WIDGETS_HEADERS}" problems)
if(problems)
  list(APPEND failures "the real tree: ${problems}")
endif()

# file | include line added | part of the expected problem, or "pass"
set(cases
  "src/errors/KtCatalogue.h|#include \"values/KtTypes.h\"|includes a higher layer"
  "src/snmp/KtSNMPVarList.h|#include <QLineEdit>|Qt Widgets header in a Qt Core layer"
  "src/doctor/KtConnectionDoctor.cpp|#include \"bindings/KtSNMPRequest2Leds.h\"|includes a higher layer"
  "src/doctor/KtDoctorReport.h|#include <QLabel>|Qt Widgets header in a Qt Core layer"
  "src/doctor/widgets/TConnectionTestForm.cpp|#include <QLabel>|pass"
  "src/snmp/KtSnmpProbe.cpp|#include \"doctor/KtDoctorReport.h\"|includes a higher layer"
  "src/snmp/KtSNMPRequest.cpp|#include \"ledger/KtChangeLedger.h\"|includes a higher layer"
  "src/ledger/KtChangeLedger.cpp|#include \"bindings/KtSNMPRequest2Edits.h\"|includes a higher layer"
  "src/ledger/KtLedgerRules.cpp|#include <QWidget>|Qt Widgets header in a Qt Core layer"
  "src/mib/KtMibData.cpp|#include <QtWidgets/QWidget>|Qt Widgets header in a Qt Core layer"
  "src/mib/KtMibData.cpp|#include \"values/widgets/KtMessageService.h\"|widgets companion included by a Qt Core layer"
  "src/values/KtValueText.cpp|#include \"values/widgets/KtRadioGroup.h\"|widgets companion included by a Qt Core layer"
  "src/values/widgets/KtRadioGroup.cpp|#include <QLineEdit>|pass"
  "src/values/widgets/KtRadioGroup.cpp|#include \"snmp/KtSNMPVar.h\"|includes a higher layer"
  "src/dialogs/TProbe.cpp|#include \"shell/catalogue/KtMenuEntry.h\"|includes a higher layer"
  "src/shell/catalogue/KtMenuEntry.cpp|#include \"dialogs/TProbe.h\"|pass"
  "src/monitors/TProbe.cpp|#include <QString>|is in no layer"
  "agent/AgentStore.cpp|#include \"shell/catalogue/KtMenuPanel.h\"|pass"
  "agent/AgentStore.cpp|#include \"shell/KtMainWindow.h\"|the agent may not include this"
  "agent/AgentStore.cpp|#include \"bindings/KtSNMPRequest2Edits.h\"|the agent may not include this"
  "agent/AgentStore.cpp|#include \"values/widgets/KtRadioGroup.h\"|the agent may not include this"
  "agent/AgentStore.h|#include <QComboBox>|the agent may not include this"
  "src/snmp/KtSNMPRequest.h|#include <net-snmp/net-snmp-config.h>|Net-SNMP header outside"
  "src/values/KtValueText.cpp|#  include <net-snmp/library/asn1.h>|Net-SNMP header outside"
  "tests/snmp/tst_session.cpp|#include <net-snmp/net-snmp-config.h>|Net-SNMP header outside"
  "agent/gen/main.cpp|#include <net-snmp/net-snmp-config.h>|Net-SNMP header outside"
  "src/snmp/KtSnmpEngine.cpp|#include <net-snmp/net-snmp-includes.h>|pass"
  "bench/bench_walk.cpp|#include \"support/SnmpdProcess.h\"|test helper included by"
  "bench/bench_walk.cpp|#include \"../tests/snmp/SnmpdProcess.h\"|test helper included by"
  "src/snmp/KtSNMPSession.cpp|#include \"support/ExceptionCode.h\"|test helper included by"
  "agent/AgentStore.cpp|#include \"support/LoopbackUdp.h\"|test helper included by"
  "tests/snmp/tst_session.cpp|#include \"dialogs/TProbe.h\"|pass"
  "tools/screenshots/shot_probe.cpp|#include <net-snmp/net-snmp-config.h>|Net-SNMP header outside"
  "tools/screenshots/shot_probe.cpp|#include \"support/AgentProcess.h\"|test helper included by"
  "tools/screenshots/shot_probe.cpp|#include \"shell/TMainForm.h\"|pass"
  "bench/bench_mainwindow.cpp|#include \"AgentProcess.h\"|pass"
  "bench/bench_mainwindow.cpp|#include \"../tests/agent/AgentProcess.h\"|test helper included by"
  "src/app/main.cpp|#include \"dialogs/monitors/TIP_Counters.h\"|pass"
  "src/shell/TMainForm.cpp|#include \"app/Probe.h\"|includes a higher layer"
  "src/dialogs/registry/KtDialogRegistry.cpp|#include \"dialogs/generic/TConfigForm.h\"|dialogs part of its own or a higher rank"
  "src/dialogs/generic/TConfigForm.cpp|#include \"dialogs/monitors/TIP_Counters.h\"|dialogs part of its own or a higher rank"
  "src/dialogs/monitors/TIP_Counters.cpp|#include \"dialogs/dedicated/KtDedicatedRules.h\"|dialogs part of its own or a higher rank"
  "src/dialogs/dedicated/KtDedicatedRules.cpp|#include \"dialogs/generic/TConfigForm.h\"|pass"
  "src/dialogs/monitors/TIP_Counters.cpp|#include \"dialogs/registry/KtDialogRegistry.h\"|pass"
  "src/dialogs/probe/TProbe.cpp|#include <QString>|is in no layer"
  "src/dialogs/monitors/KtRatePlot.cpp|#include <QLineSeries>|pass"
  "src/dialogs/generic/TConfigForm.cpp|#include <QLineSeries>|chart header outside"
  "src/shell/TMainForm.cpp|#include <QtDataVisualization/Q3DBars>|chart header outside"
  "src/bindings/KtLedShape.cpp|#include <QtCharts/QChartView>|chart header outside"
  "tests/dialogs/monitors/tst_monitors.cpp|#include <QLineSeries>|pass")

# Of the tree only the files the cases change: the check judges each file
# on its own, and the whole tree has been judged above.
file(REMOVE_RECURSE "${SCRATCH}")
foreach(c IN LISTS cases)
  string(REGEX MATCH "^[^|]+" file "${c}")
  if(EXISTS "${ROOT}/${file}" AND NOT EXISTS "${SCRATCH}/${file}")
    get_filename_component(parent "${SCRATCH}/${file}" DIRECTORY)
    file(MAKE_DIRECTORY "${parent}")
    file(COPY_FILE "${ROOT}/${file}" "${SCRATCH}/${file}")
  endif()
endforeach()
qsx_check_layers("${SCRATCH}" "${QT_WIDGETS_HEADERS}" problems)
if(problems)
  list(APPEND failures "the scratch copy before any change: ${problems}")
endif()

foreach(c IN LISTS cases)
  string(REPLACE "|" ";" parts "${c}")
  list(GET parts 0 file)
  list(GET parts 1 line)
  list(GET parts 2 expected)
  set(path "${SCRATCH}/${file}")
  set(existed FALSE)
  if(EXISTS "${path}")
    set(existed TRUE)
    file(READ "${path}" original)
  endif()
  file(APPEND "${path}" "\n${line}\n")
  qsx_check_layers("${SCRATCH}" "${QT_WIDGETS_HEADERS}" problems)
  if(existed)
    file(WRITE "${path}" "${original}")
  else()
    file(REMOVE "${path}")
  endif()

  list(LENGTH problems n)
  if(expected STREQUAL "pass")
    if(n GREATER 0)
      list(APPEND failures "${file} + ${line}: should pass, got ${problems}")
    endif()
  elseif(NOT n EQUAL 1)
    list(APPEND failures "${file} + ${line}: expected one problem (${expected}), got ${n}: ${problems}")
  else()
    string(FIND "${problems}" "${file}" at_file)
    string(FIND "${problems}" "${expected}" at_reason)
    if(at_file EQUAL -1 OR at_reason EQUAL -1)
      list(APPEND failures "${file} + ${line}: expected \"${expected}\", got ${problems}")
    endif()
  endif()
endforeach()

file(REMOVE_RECURSE "${SCRATCH}")
if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "layer check misjudged:\n  ${text}")
endif()
list(LENGTH cases n)
message(STATUS "layer check: real tree clean, ${n} changed copies judged right")
