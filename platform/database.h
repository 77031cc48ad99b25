#pragma once
// The one SQLite connection of the process lives on the DBThread worker; every statement of the
// program is posted to it and the caller blocks until the worker has run it. Callable from any
// thread. When the worker cannot open the database, or after CloseDatabase, every call returns
// at once with an empty result.
//
// Failures are said once each in the log (LogError), with SQLite's message: a file that is
// missing or cannot be opened, a damaged file, each kind of failing statement, and a file
// locked by another program. A missing or damaged file is never created, repaired or written:
// from then on every call returns empty without touching it.
//
// Another program's lock: a statement waits for it at most the posting thread's busy wait
// (SetDbBusyWait), and never longer than any request queued behind it allows, so a thread with a
// short wait (the user-interface thread) is never held up by one with a long one.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/thread.h"

enum DbRequestKind : int32_t {
  kDbExecute = 4,
  kDbSingleValue = 6,
  kDbTextRows = 9,
  kDbTransaction = 12,
};

enum class DbOpenMode {
  kExisting,  // the program's own file: never created when it is missing
  kCreate,    // a new scratch file (tests, tools)
};

// Starts the worker on the database file; does not wait for it to open. The narrow form takes a
// path in the ANSI code page.
void OpenDatabase(std::u16string_view path, DbOpenMode mode = DbOpenMode::kExisting);
void OpenDatabase(std::string_view pathAnsi);
// Stops the worker (waits up to 3000 ms) and releases every request still queued with an empty
// result.
void CloseDatabase();

// Runs the statement; no result. Empty sql does nothing.
void ExecSql(std::u16string_view sql);
// Column 0 of the first row as text; empty for empty sql, no row, or an empty or NULL value.
std::u16string QueryValue(std::u16string_view sql);
// Column 0 of every row joined by "\r\n"; empty when there are no rows.
std::u16string QueryRows(std::u16string_view sql);
// Runs the statements in order as one transaction: all of them take effect or, when one fails
// (or the database is not open), none does. True when committed. No other request runs between
// them.
bool ExecSqlTransaction(const std::vector<std::u16string>& statements);

// ExecSql and QueryValue with the statement's parameters ?1, ?2 ... bound to `values` as text
// (a column's type affinity makes numbers of numeric texts); values are never part of the SQL.
// A statement with fewer parameters than values fails.
void ExecSqlWith(std::u16string_view sql, const std::vector<std::u16string>& values);
std::u16string QueryValueWith(std::u16string_view sql, const std::vector<std::u16string>& values);

// Seams for tests of the worker's life: the hook runs on the worker just before each statement
// (nullptr: none; it may block the worker), and the count is the requests waiting in its queue.
void SetDbStatementHook(std::function<void(std::u16string_view sql)> hook);
size_t QueuedDbRequests();

// What the calling thread's last request met.
enum class DbOutcome {
  kOk,        // ran (a query may still have found no row)
  kBusy,      // gave up on another program's lock
  kFailed,    // the statement failed (no such table, bad SQL, constraint, ...)
  kUnusable,  // no database: not open, missing, damaged or closed
};
DbOutcome LastDbOutcome();

// How long the calling thread's statements wait for another program's lock before they give up
// (kOk otherwise); 5000 ms unless set. Per thread.
void SetDbBusyWait(int ms);
inline constexpr int kDbDefaultBusyWaitMs = 5000;

// What the worker has met so far.
struct DbStatus {
  bool usable = false;          // open and not found damaged
  bool busySeen = false;        // a statement gave up on another program's lock
  int failedStatements = 0;     // kFailed outcomes
  std::u16string problem;       // the first failure, as logged; empty while there is none
};
DbStatus DatabaseStatus();

// A value made safe to stand between single quotes in a statement: every ' doubled.
std::u16string SqlText(std::u16string_view value);

struct DbShared;

// The worker thread (created by OpenDatabase; deletes itself when done). Owns the connection;
// shares the request queue, its lock, the wake and stopped events with the posters.
class DBThread : public TThread {
 public:
  DBThread(std::u16string path, DbOpenMode mode, std::shared_ptr<DbShared> shared);
  void Run() override;

 private:
  std::u16string path_;
  DbOpenMode mode_;
  std::shared_ptr<DbShared> shared_;
};
