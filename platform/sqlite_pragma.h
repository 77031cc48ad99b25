#pragma once
// A pragma's integer answer on an open SQLite connection ("pragma page_count"), -1 when it gives
// none; for the database worker and the user-data upgrade, which each hold their own connection.
#include <sqlite3.h>

#include <cstdint>

inline int64_t PragmaValue(sqlite3* db, const char* sql) {
  sqlite3_stmt* statement = nullptr;
  int64_t value = -1;
  if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW) {
    value = sqlite3_column_int64(statement, 0);
  }
  sqlite3_finalize(statement);
  return value;
}
