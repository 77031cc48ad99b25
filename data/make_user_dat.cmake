# cmake -DSQLITE3=... -DOUTPUT=.../user.dat -DWORK=<dir> -DSOURCES=a.sql;b.sql -P make_user_dat.cmake
# Joins the sources into one script inside a single transaction (a source's own BEGIN/COMMIT lines
# are dropped), imports it into a fresh temporary database and renames that over OUTPUT.
set(_script ${WORK}/user.dat.sql)
set(_tmp ${OUTPUT}.tmp)
file(WRITE ${_script} "PRAGMA journal_mode=OFF;\nPRAGMA synchronous=OFF;\nBEGIN TRANSACTION;\n")
foreach(_src IN LISTS SOURCES)
  file(READ ${_src} _text)
  string(REGEX REPLACE "(^|\n)[ \t]*(BEGIN|COMMIT|END)([ \t]+(DEFERRED|IMMEDIATE|EXCLUSIVE))?([ \t]+TRANSACTION)?[ \t]*;[ \t]*\r?(\n|$)"
         "\\1-- (transaction of ${_src} joined into one)\n" _text "${_text}")
  file(APPEND ${_script} "-- ${_src}\n${_text}\n")
endforeach()
file(APPEND ${_script} "COMMIT;\n")

file(REMOVE ${_tmp})
execute_process(COMMAND ${SQLITE3} -bail ${_tmp}
                INPUT_FILE ${_script}
                RESULT_VARIABLE _rc
                ERROR_VARIABLE _err
                OUTPUT_QUIET)
if(NOT _rc EQUAL 0 OR _err MATCHES "Error")
  file(REMOVE ${_tmp})
  message(FATAL_ERROR "user.dat import failed (${_rc}): ${_err}")
endif()
file(RENAME ${_tmp} ${OUTPUT})
