#include "platform/database.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "platform/background_loop.h"
#include "platform/file_utils.h"
#include "platform/log.h"
#include "platform/sqlite_pragma.h"
#include "platform/text_codec.h"
#include "platform/text_utils.h"
#include "platform/thread.h"

using Clock = std::chrono::steady_clock;

struct DbRequest {
  DbRequestKind kind = kDbExecute;
  std::vector<DbStatement> statements;  // one, or a transaction's
  std::vector<DbRow>* rows = nullptr;   // kDbQuery: the poster's; written before done is set
  size_t rowLimit = SIZE_MAX;           // kDbQuery: the statement stops after this many rows
  DbOutcome* outcome = nullptr;         // the poster's; written before done is set
  Clock::time_point busyDeadline;       // the poster's patience with another program's lock
  Event* done = nullptr;
};

struct DbShared {
  std::mutex lock;                 // guards queue, closed and status
  std::deque<DbRequest> queue;
  bool closed = false;             // no turn will take requests any more
  DbStatus status;
  std::set<std::u16string> loggedStatements;  // failing statements already logged (bounded)
  const LoopTask* task = nullptr;  // the connection's task in the background loop (a key only)

  // Releases every queued request as kUnusable and refuses new ones.
  void CloseQueue() {
    std::deque<DbRequest> left;
    {
      std::lock_guard<std::mutex> guard(lock);
      closed = true;
      status.usable = false;
      left.swap(queue);
    }
    for (DbRequest& r : left) {
      *r.outcome = DbOutcome::kUnusable;
      r.done->Set();
    }
  }

  // The earliest moment a queued request stops being willing to wait for a lock.
  Clock::time_point QueuedPatience() {
    std::lock_guard<std::mutex> guard(lock);
    Clock::time_point earliest = Clock::time_point::max();
    for (const DbRequest& r : queue) earliest = std::min(earliest, r.busyDeadline);
    return earliest;
  }
};

namespace {

std::mutex g_lock;  // guards g_shared and g_statementHook
std::shared_ptr<DbShared> g_shared;
std::function<void(std::u16string_view)> g_statementHook;

std::function<void(std::u16string_view)> StatementHook() {
  std::lock_guard<std::mutex> guard(g_lock);
  return g_statementHook;
}

std::shared_ptr<DbShared> g_last;  // the latest connection's, kept for DatabaseStatus after a close

thread_local int t_busyWaitMs = kDbDefaultBusyWaitMs;

std::shared_ptr<DbShared> Current() {
  std::lock_guard<std::mutex> guard(g_lock);
  return g_shared;
}

std::u16string Message(sqlite3* db) {
  const void* text = db ? sqlite3_errmsg16(db) : nullptr;
  return text ? std::u16string(static_cast<const char16_t*>(text)) : std::u16string(u"out of memory");
}

// The statement as it stands in a log line: one line, at most 120 characters.
std::u16string Excerpt(std::u16string_view sql) {
  std::u16string out;
  for (char16_t c : sql.substr(0, 120)) out += c < u' ' ? u' ' : c;
  if (sql.size() > 120) out += u"…";
  return out;
}

bool IsDamage(int rc) {
  int primary = rc & 0xff;
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || primary == SQLITE_IOERR;
}

bool IsBusy(int rc) {
  int primary = rc & 0xff;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

// Another connection holds the lock: wait in short steps while the request in hand and every
// request queued behind it are still willing to.
struct BusyWait {
  DbShared* shared = nullptr;
  Clock::time_point deadline;
};

int OnBusy(void* context, int) {
  auto* wait = static_cast<BusyWait*>(context);
  Clock::time_point now = Clock::now();
  Clock::time_point until = std::min(wait->deadline, wait->shared->QueuedPatience());
  if (now >= until) return 0;
  auto step = std::min<Clock::duration>(until - now, std::chrono::milliseconds(5));
  std::this_thread::sleep_for(step);
  return 1;
}

// Column i of the row the statement stands on.
DbValue Column(sqlite3_stmt* stmt, int i) {
  switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_NULL: return {};
    case SQLITE_INTEGER: return DbValue(static_cast<int64_t>(sqlite3_column_int64(stmt, i)));
    default: {
      auto* text = static_cast<const char16_t*>(sqlite3_column_text16(stmt, i));
      const int bytes = sqlite3_column_bytes16(stmt, i);
      return DbValue(text ? std::u16string(text, static_cast<size_t>(bytes) / 2) : std::u16string());
    }
  }
}

int Bind(sqlite3_stmt* stmt, int index, const DbValue& value) {
  if (value.IsNull()) return sqlite3_bind_null(stmt, index);
  if (value.IsInt()) return sqlite3_bind_int64(stmt, index, *value.Int());
  const std::u16string text = value.Text();
  return sqlite3_bind_text16(stmt, index, text.data(), static_cast<int>(text.size() * 2), SQLITE_TRANSIENT);
}

// One statement run to its end (or to its rowLimit-th row), its rows into `rows` when wanted; the
// SQLite result code of the step that decided its outcome (SQLITE_OK when done).
int Run(sqlite3* db, const DbStatement& statement, std::vector<DbRow>* rows, size_t rowLimit = SIZE_MAX) {
  sqlite3_stmt* stmt = nullptr;
  const std::u16string& sql = statement.sql;
  int rc = sqlite3_prepare16_v2(db, sql.data(), static_cast<int>(sql.size() * 2), &stmt, nullptr);
  if (rc == SQLITE_OK && !stmt) rc = SQLITE_ERROR;  // nothing but a comment or blanks
  if (rc == SQLITE_OK && statement.binds.size() > static_cast<size_t>(sqlite3_bind_parameter_count(stmt)))
    rc = SQLITE_RANGE;
  for (size_t i = 0; rc == SQLITE_OK && i < statement.binds.size(); ++i)
    rc = Bind(stmt, static_cast<int>(i + 1), statement.binds[i]);
  if (rc == SQLITE_OK) {
    const int columns = sqlite3_column_count(stmt);
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      if (!rows) continue;
      std::vector<DbValue> values;
      values.reserve(static_cast<size_t>(columns));
      for (int i = 0; i < columns; ++i) values.push_back(Column(stmt, i));
      rows->emplace_back(std::move(values));
      if (rows->size() >= rowLimit) {
        rc = SQLITE_DONE;
        break;
      }
    }
    // Rows gathered before a failure are not handed out: the answer would look complete.
    if (rows && rc != SQLITE_DONE) rows->clear();
  }
  sqlite3_finalize(stmt);
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// All of the batch or none of it; the result code of the step that failed (SQLITE_OK: committed)
// and, on failure, SQLite's message about it (the rollback after it would replace the message).
int ExecuteTransaction(sqlite3* db, const DbRequest& request, std::u16string& message) {
  int rc = Run(db, {u"begin immediate", {}}, nullptr);
  for (size_t i = 0; rc == SQLITE_OK && i < request.statements.size(); ++i)
    rc = Run(db, request.statements[i], nullptr);
  if (rc == SQLITE_OK) rc = Run(db, {u"commit", {}}, nullptr);
  if (rc == SQLITE_OK) return rc;
  message = Message(db);
  (void)Run(db, {u"rollback", {}}, nullptr);  // nothing to undo when the begin itself failed
  return rc;
}

// Runs one request; the SQLite result code that decided its outcome and, on failure, SQLite's
// message about it.
int Execute(sqlite3* db, const DbRequest& request, std::u16string& message) {
  if (request.kind == kDbTransaction) return ExecuteTransaction(db, request, message);
  int rc = Run(db, request.statements.front(), request.rows, request.rowLimit);
  if (rc != SQLITE_OK) message = Message(db);
  return rc;
}

// A file shorter than its header says was cut off (a copy or a download that broke off). Found
// before the first write: otherwise a statement could write into the part that is left.
bool CutOff(sqlite3* db) {
  sqlite3_file* file = nullptr;
  if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file || !file->pMethods) {
    return false;
  }
  sqlite3_int64 size = 0;
  if (file->pMethods->xFileSize(file, &size) != SQLITE_OK) return false;
  int64_t pages = PragmaValue(db, "pragma page_count"), pageSize = PragmaValue(db, "pragma page_size");
  return pages > 0 && pageSize > 0 && size < pages * pageSize;
}

const char16_t* KindName(DbRequestKind kind) {
  switch (kind) {
    case kDbExecute: return u"a statement";
    case kDbQuery: return u"a query";
    case kDbTransaction: return u"a transaction";
  }
  return u"a request";
}

// What a failing request ran, for its log line.
std::u16string RequestText(const DbRequest& request) {
  std::u16string text;
  for (const DbStatement& statement : request.statements) text += (text.empty() ? u"" : u"; ") + statement.sql;
  return text;
}

// Failing statements remembered so that each is logged once; past this many, no more are.
constexpr size_t kLoggedStatementLimit = 64;

std::u16string FileNameOf(std::u16string_view path) {
  size_t slash = path.find_last_of(u"/\\");
  return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

DbOutcome Post(DbRequestKind kind, std::vector<DbStatement> statements, std::vector<DbRow>* rows = nullptr,
               size_t rowLimit = SIZE_MAX) {
  if (statements.empty()) return DbOutcome::kFailed;
  for (const DbStatement& statement : statements)
    if (statement.sql.empty()) return DbOutcome::kFailed;
  std::shared_ptr<DbShared> shared = Current();
  if (!shared) return DbOutcome::kUnusable;
  if (background_loop::OnLoopThread()) {
    // The loop would wait for its own turn: a task may not use the database.
    LogError(u"database: a request from the background loop itself was refused");
    return DbOutcome::kUnusable;
  }
  Event done(true);
  DbOutcome outcome = DbOutcome::kUnusable;
  {
    std::lock_guard<std::mutex> guard(shared->lock);
    if (shared->closed) return DbOutcome::kUnusable;
    shared->queue.push_back(DbRequest{kind, std::move(statements), rows, rowLimit, &outcome,
                                      Clock::now() + std::chrono::milliseconds(t_busyWaitMs), &done});
  }
  // Outside the lock, so the loop does not turn only to wait for it.
  background_loop::Wake(shared->task);
  done.Wait();
  return outcome;
}

}  // namespace

namespace {

// The database's task in the background loop: owns the connection (opened at its first turn) and
// takes the shared queue's requests in order; its last turn closes the connection.
class DbTask : public LoopTask {
 public:
  DbTask(std::u16string path, DbOpenMode mode, std::shared_ptr<DbShared> shared)
      : path_(std::move(path)), mode_(mode), shared_(std::move(shared)), busy_{shared_.get(), Clock::time_point::max()} {}

  int Turn() override {
    if (!opened_) {
      opened_ = true;
      if (!Open()) return kUntilWoken;
    }
    if (!db_) return kUntilWoken;
    for (;;) {
      DbRequest request;
      {
        std::lock_guard<std::mutex> guard(shared_->lock);
        if (shared_->queue.empty()) return kUntilWoken;  // every post wakes the next turn
        request = std::move(shared_->queue.front());
        shared_->queue.pop_front();
      }
      Serve(request);
    }
  }

  void Finish() override {
    sqlite3_close(db_);
    db_ = nullptr;
    shared_->CloseQueue();
  }

 private:
  bool Open() {
    std::string utf8 = WideToUtf8(path_);
    int flags = SQLITE_OPEN_READWRITE | (mode_ == DbOpenMode::kCreate ? SQLITE_OPEN_CREATE : 0);
    int rc = sqlite3_open_v2(utf8.c_str(), &db_, flags, nullptr);
    // Opening is lazy: the first read of the file tells whether it is a database at all.
    if (rc == SQLITE_OK) rc = sqlite3_exec(db_, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
    bool cutOff = rc == SQLITE_OK && CutOff(db_);
    if ((rc != SQLITE_OK && !IsBusy(rc)) || cutOff) {
      std::u16string problem =
          mode_ == DbOpenMode::kExisting && !FileExists(path_)
              ? path_ + u" is missing"
          : cutOff      ? path_ + u" is damaged: the file is shorter than its header says (cut off)"
          : IsDamage(rc) ? path_ + u" is damaged: " + Message(db_)
                         : u"cannot open " + path_ + u": " + Message(db_) + u" (" + IntToText(rc) + u")";
      sqlite3_close(db_);
      db_ = nullptr;
      LogError(u"database: " + problem + u"; running without " + FileNameOf(path_));
      {
        std::lock_guard<std::mutex> guard(shared_->lock);
        shared_->status.problem = problem;
      }
      // Nobody may wait for a connection that is not there: release the waiting and refuse the rest.
      shared_->CloseQueue();
      return false;
    }
    {
      std::lock_guard<std::mutex> guard(shared_->lock);
      shared_->status.usable = true;
    }
    sqlite3_busy_handler(db_, &OnBusy, &busy_);
    return true;
  }

  void Serve(DbRequest& request) {
    if (auto hook = StatementHook()) hook(request.statements.front().sql);
    DbOutcome outcome = DbOutcome::kUnusable;
    if (!damaged_) {
      busy_.deadline = request.busyDeadline;
      // SQLite's message is read before the status lock is taken: SQLite's busy handler takes the
      // status lock inside SQLite's own, so the status lock is never held while SQLite's is taken.
      std::u16string message;
      const int rc = Execute(db_, request, message);
      outcome = rc == SQLITE_OK ? DbOutcome::kOk : IsBusy(rc) ? DbOutcome::kBusy : DbOutcome::kFailed;
      if (IsDamage(rc)) {
        damaged_ = true;
        outcome = DbOutcome::kUnusable;
        if (request.rows) request.rows->clear();
      }
      if (outcome != DbOutcome::kOk) Report(request, outcome, message);
    }
    *request.outcome = outcome;
    request.done->Set();
  }

  // The status after a request that did not succeed, and its log line (each failing statement once).
  void Report(const DbRequest& request, DbOutcome outcome, const std::u16string& message) {
    std::u16string line;
    {
      std::lock_guard<std::mutex> guard(shared_->lock);
      DbStatus& status = shared_->status;
      std::u16string what;
      if (damaged_) {
        status.usable = false;
        what = path_ + u" is damaged: " + message;
        line = u"database: " + what + u"; running without " + FileNameOf(path_) + u" from here on";
      } else if (outcome == DbOutcome::kBusy) {
        what = path_ + u" is busy: " + message;
        if (!status.busySeen) {
          line = u"database: " + FileNameOf(path_) +
                 u" is locked by another program; statements that cannot wait are skipped (" + message + u")";
        }
        status.busySeen = true;
      } else {
        ++status.failedStatements;
        what = std::u16string(KindName(request.kind)) + u" failed: " + message + u" [" +
               Excerpt(RequestText(request)) + u"]";
        std::u16string text = RequestText(request);
        if (shared_->loggedStatements.size() < kLoggedStatementLimit &&
            shared_->loggedStatements.insert(std::move(text)).second)
          line = u"database: " + what;
      }
      if (status.problem.empty() && outcome != DbOutcome::kBusy) status.problem = what;
    }
    if (!line.empty()) LogError(line);
  }

  const std::u16string path_;
  const DbOpenMode mode_;
  const std::shared_ptr<DbShared> shared_;
  sqlite3* db_ = nullptr;
  bool opened_ = false;
  bool damaged_ = false;
  BusyWait busy_;
};

}  // namespace

void OpenDatabase(std::u16string_view path, DbOpenMode mode) {
  CloseDatabase();  // one connection at a time
  auto shared = std::make_shared<DbShared>();
  auto task = std::make_shared<DbTask>(std::u16string(path), mode, shared);
  shared->task = task.get();
  std::lock_guard<std::mutex> guard(g_lock);
  g_shared = shared;
  g_last = shared;
  if (!background_loop::Join(task)) {
    LogError(u"database: the background loop could not be started");
    shared->CloseQueue();
  }
}

void OpenDatabase(std::string_view pathAnsi) { OpenDatabase(ToWide(pathAnsi, kCodePageAnsi)); }

void CloseDatabase() {
  std::shared_ptr<DbShared> shared;
  {
    std::lock_guard<std::mutex> guard(g_lock);
    shared.swap(g_shared);
  }
  if (!shared) return;
  // A statement that outlives the wait ends on its own, with the connection and the queue its
  // task holds; its last turn closes them.
  background_loop::Leave(shared->task, 3000);
  shared->CloseQueue();
}

void SetDbStatementHook(std::function<void(std::u16string_view sql)> hook) {
  std::lock_guard<std::mutex> guard(g_lock);
  g_statementHook = std::move(hook);
}

size_t QueuedDbRequests() {
  std::shared_ptr<DbShared> shared = Current();
  if (!shared) return 0;
  std::lock_guard<std::mutex> guard(shared->lock);
  return shared->queue.size();
}

DbOutcome Query(std::u16string_view sql, const std::vector<DbValue>& binds, const DbRowHandler& onRow) {
  std::vector<DbRow> rows;
  const DbOutcome outcome = Post(kDbQuery, {{std::u16string(sql), binds}}, &rows);
  if (outcome == DbOutcome::kOk && onRow)
    for (const DbRow& row : rows) onRow(row);
  return outcome;
}

DbOutcome Query(std::u16string_view sql, const DbRowHandler& onRow) { return Query(sql, {}, onRow); }

DbOutcome QueryFirst(std::u16string_view sql, const std::vector<DbValue>& binds, std::optional<DbRow>& first) {
  std::vector<DbRow> rows;
  const DbOutcome outcome = Post(kDbQuery, {{std::u16string(sql), binds}}, &rows, 1);
  first.reset();
  if (outcome == DbOutcome::kOk && !rows.empty()) first = std::move(rows.front());
  return outcome;
}

DbOutcome Exec(std::u16string_view sql, const std::vector<DbValue>& binds) {
  return Post(kDbExecute, {{std::u16string(sql), binds}});
}

DbOutcome ExecTransaction(const std::vector<DbStatement>& statements) { return Post(kDbTransaction, statements); }

std::u16string_view DbOutcomeName(DbOutcome outcome) {
  switch (outcome) {
    case DbOutcome::kOk: return u"ok";
    case DbOutcome::kBusy: return u"busy";
    case DbOutcome::kFailed: return u"failed";
    case DbOutcome::kUnusable: return u"unusable";
  }
  return u"unknown";
}

void SetDbBusyWait(int ms) { t_busyWaitMs = std::max(0, ms); }

DbStatus DatabaseStatus() {
  std::shared_ptr<DbShared> shared;
  {
    std::lock_guard<std::mutex> guard(g_lock);
    shared = g_last;
  }
  if (!shared) return {};
  std::lock_guard<std::mutex> guard(shared->lock);
  return shared->status;
}
