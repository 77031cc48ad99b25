#pragma once
// The one SQLite connection of the process belongs to the database's task in the background loop
// (platform/background_loop.h); every statement of the program is posted to it and the caller
// blocks until a turn of the task has run it. Callable from any thread but the loop's own (a
// request from there is refused with kUnusable and logged). When the connection cannot be opened,
// or after CloseDatabase, every call returns at once with DbOutcome::kUnusable.
//
// Failures are said once each in the log (LogError), with SQLite's message: a file that is
// missing or cannot be opened, a damaged file, each failing statement (by its text, so a
// statement that fails again and again is said once), and a file locked by another program. A
// missing or damaged file is never created, repaired or written: from then on every call returns
// kUnusable without touching it.
//
// Another program's lock: a statement waits for it at most the posting thread's busy wait
// (SetDbBusyWait), and never longer than any request queued behind it allows, so a thread with a
// short wait (the user-interface thread) is never held up by one with a long one.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db_value.h"

enum DbRequestKind : int32_t {
  kDbExecute = 4,
  kDbQuery = 9,
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
// Stops the worker (waits up to 3000 ms) and releases every request still queued as kUnusable.
void CloseDatabase();

// What one request met. Every request says it, so that "no row" and "failed" never look alike.
enum class [[nodiscard]] DbOutcome {
  kOk,        // ran (a query may still have found no row)
  kBusy,      // gave up on another program's lock
  kFailed,    // the statement failed (no such table, bad SQL, constraint, a parameter too many, ...)
  kUnusable,  // no database: not open, missing, damaged or closed
};
// "ok", "busy", "failed", "unusable": for the callers' log lines.
std::u16string_view DbOutcomeName(DbOutcome outcome);

// Statements. Values reach SQLite only as bound parameters: binds[0] goes to ?1, binds[1] to ?2
// ... (a statement with fewer parameters than binds fails; a parameter without a value is NULL).
// Statements are of any length. Empty sql fails at once (kFailed, nothing logged).
//
// Query calls onRow for every result row, in row order, on the calling thread after the statement
// has run to its end; a statement that fails, at any row, gives no row at all (a part of an
// answer would look complete). onRow may itself use the database.
using DbRowHandler = std::function<void(const DbRow& row)>;
DbOutcome Query(std::u16string_view sql, const std::vector<DbValue>& binds, const DbRowHandler& onRow);
DbOutcome Query(std::u16string_view sql, const DbRowHandler& onRow);
// The first row only: the statement stops there, as a lookup of one value wants. `first` holds it,
// or nothing when there is no row or the statement failed.
DbOutcome QueryFirst(std::u16string_view sql, const std::vector<DbValue>& binds, std::optional<DbRow>& first);
// Runs a statement whose rows (if any) are of no interest.
DbOutcome Exec(std::u16string_view sql, const std::vector<DbValue>& binds = {});
// Runs the statements in order as one transaction: all of them take effect or, when one fails
// (or the database is not open), none does. No other request runs between them. An empty list
// fails.
DbOutcome ExecTransaction(const std::vector<DbStatement>& statements);

// Seams for tests of the worker's life: the hook runs on the worker just before each statement
// (nullptr: none; it may block the worker), and the count is the requests waiting in its queue.
void SetDbStatementHook(std::function<void(std::u16string_view sql)> hook);
size_t QueuedDbRequests();

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
