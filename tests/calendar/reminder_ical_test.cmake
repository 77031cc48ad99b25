# Stores two reminders in a copy of user.dat, lists them and exports them with tvcal, then reads
# the file back with python3-icalendar. Variables: TVCAL SQLITE3 PYTHON3 USER_DAT WORK CHECK.
cmake_minimum_required(VERSION 3.25)
set(db ${WORK}/reminder_ical.dat)
set(ics ${WORK}/reminder_ical.ics)
file(REMOVE ${db} ${ics})
file(COPY_FILE ${USER_DAT} ${db})
# A long title of Chinese text, commas and a semicolon: escaped, and folded between characters.
set(long "父亲的生日，记得买蛋糕；还要给姑姑、舅舅打电话，问问他们什么时候回来吃饭，顺便订好餐厅的位子 (a,b;c\\d)")
execute_process(COMMAND ${SQLITE3} ${db}
  "insert into reminders (title,rule,time,notice,created) values ('中秋','lunar 8-15','09:30',1,'2026-12-01 10:00:00'),('${long}','lunar leap 4-10','08:00',0,'2026-12-01 10:00:00')"
  RESULT_VARIABLE rc ERROR_VARIABLE se)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "sqlite3: ${se}")
endif()

execute_process(COMMAND ${TVCAL} --db ${db} remind list 2027-01-01 2028-12-31 RESULT_VARIABLE rc OUTPUT_VARIABLE so ERROR_VARIABLE se)
if(NOT rc EQUAL 0 OR NOT so MATCHES "^2027-05-15 四月初十\t08:00\t父亲的生日[^\t]*\tlunar leap 4-10\n2027-09-15 八月十五\t09:30\t中秋\tlunar 8-15\n2028-05-04 四月初十\t")
  message(FATAL_ERROR "remind list (${rc}): ${so}${se}")
endif()

execute_process(COMMAND ${TVCAL} --db ${db} remind export ${ics} 2027-01-01 RESULT_VARIABLE rc ERROR_VARIABLE se)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "remind export (${rc}): ${se}")
endif()
# Ten years from 2027-01-01: ten 中秋 and ten birthdays.
execute_process(COMMAND ${PYTHON3} ${CHECK} ${ics} 20 "${long}" RESULT_VARIABLE rc OUTPUT_VARIABLE so ERROR_VARIABLE se)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the export does not read back: ${so}${se}")
endif()
file(REMOVE ${db} ${ics})
