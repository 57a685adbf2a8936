# Windows tests run under Wine in a session (prefix, wineserver, Xvfb) that a
# CTest fixture starts before the first of them and stops after the last.
set(DORVINT_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
set(DORVINT_WINE_DIR ${CMAKE_SOURCE_DIR}/tests/wine)

add_test(NAME wine.start COMMAND ${DORVINT_WINE_DIR}/wine-session.sh start ${DORVINT_WINE_STATE})
add_test(NAME wine.stop COMMAND ${DORVINT_WINE_DIR}/wine-session.sh stop ${DORVINT_WINE_STATE})
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)

# The Windows spelling (drive Z:) of a host path, for arguments to programs
# running under Wine.
function(dorvint_windows_path out path)
  string(REPLACE "/" "\\" converted "Z:${path}")
  set(${out} "${converted}" PARENT_SCOPE)
endfunction()

# dorvint_wine_test(NAME name TARGET target [ARGS args...])
# Registers the program once per ANSI code page: NAME.cp932 and NAME.cp1252.
# The tests share one display and mouse, so they run one at a time.
function(dorvint_wine_test)
  cmake_parse_arguments(T "" "NAME;TARGET" "ARGS" ${ARGN})
  foreach(codepage 932 1252)
    add_test(NAME ${T_NAME}.cp${codepage}
             COMMAND ${DORVINT_WINE_DIR}/wine-run.sh ${DORVINT_WINE_STATE} ${codepage}
                     $<TARGET_FILE:${T_TARGET}> ${T_ARGS})
    set_tests_properties(${T_NAME}.cp${codepage} PROPERTIES
      FIXTURES_REQUIRED wine RESOURCE_LOCK wine-desktop TIMEOUT 1800 SKIP_RETURN_CODE 77)
  endforeach()
endfunction()
