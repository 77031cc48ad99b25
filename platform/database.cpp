#include "platform/database.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/file_utils.h"
#include "platform/log.h"
#include "platform/text_codec.h"
#include "platform/text_utils.h"

using Clock = std::chrono::steady_clock;

struct DbRequest {
  DbRequestKind kind = kDbExecute;
  std::u16string sql;
  std::vector<std::u16string> batch;  // kDbTransaction
  std::u16string* result = nullptr;  // the poster's; written before done is set
  DbOutcome* outcome = nullptr;      // the poster's; written before done is set
  Clock::time_point busyDeadline;    // the poster's patience with another program's lock
  Event* done = nullptr;
  std::vector<std::u16string> values;  // bound to ?1, ?2 ... of sql
};

struct DbShared {
  std::mutex lock;                 // guards queue, closed and status
  std::deque<DbRequest> queue;
  bool closed = false;             // no worker will take requests any more
  bool stop = false;
  DbStatus status;
  bool loggedKind[4] = {false, false, false, false};  // a failing statement of each kind was logged
  Event wake{true};
  Event stopped{true};

  // Releases every queued request with an empty result and refuses new ones.
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

std::shared_ptr<DbShared> g_last;  // the latest worker's, kept for DatabaseStatus after a close

thread_local int t_busyWaitMs = kDbDefaultBusyWaitMs;
thread_local DbOutcome t_lastOutcome = DbOutcome::kUnusable;

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

// One statement of a transaction run to its end; its SQLite result code (SQLITE_OK when done).
int Step(sqlite3* db, std::u16string_view sql) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare16_v2(db, sql.data(), static_cast<int>(sql.size() * 2), &stmt, nullptr);
  if (rc == SQLITE_OK && !stmt) rc = SQLITE_ERROR;  // nothing but a comment or blanks
  if (rc == SQLITE_OK) {
    do {
      rc = sqlite3_step(stmt);
    } while (rc == SQLITE_ROW);
  }
  sqlite3_finalize(stmt);
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// All of the batch or none of it; the result code of the step that failed (SQLITE_OK: committed)
// and, on failure, SQLite's message about it (the rollback after it would replace the message).
int ExecuteTransaction(sqlite3* db, const DbRequest& request, std::u16string& message) {
  int rc = Step(db, u"begin immediate");
  for (size_t i = 0; rc == SQLITE_OK && i < request.batch.size(); ++i) rc = Step(db, request.batch[i]);
  if (rc == SQLITE_OK) rc = Step(db, u"commit");
  if (rc == SQLITE_OK) {
    *request.result = u"1";
    return rc;
  }
  message = Message(db);
  Step(db, u"rollback");  // nothing to undo when the begin itself failed
  return rc;
}

// Runs one statement request; the SQLite result code of the step that decided its outcome.
int ExecuteOne(sqlite3* db, const DbRequest& request) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare16_v2(db, request.sql.data(), static_cast<int>(request.sql.size() * 2), &stmt, nullptr);
  if (rc != SQLITE_OK || !stmt) {
    sqlite3_finalize(stmt);
    return rc == SQLITE_OK ? SQLITE_ERROR : rc;
  }
  if (request.values.size() > static_cast<size_t>(sqlite3_bind_parameter_count(stmt))) rc = SQLITE_RANGE;
  for (size_t i = 0; rc == SQLITE_OK && i < request.values.size(); ++i)
    rc = sqlite3_bind_text16(stmt, static_cast<int>(i + 1), request.values[i].data(),
                             static_cast<int>(request.values[i].size() * 2), SQLITE_TRANSIENT);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(stmt);
    return rc;
  }
  switch (request.kind) {
    case kDbExecute:
    case kDbTransaction:  // ExecuteTransaction's
      rc = sqlite3_step(stmt);
      break;
    case kDbSingleValue:
      rc = sqlite3_step(stmt);
      if (rc == SQLITE_ROW) {
        auto* text = static_cast<const char16_t*>(sqlite3_column_text16(stmt, 0));
        int bytes = sqlite3_column_bytes16(stmt, 0);
        if (text && bytes > 0) request.result->assign(text, static_cast<size_t>(bytes) / 2);
      }
      break;
    case kDbTextRows: {
      std::u16string rows;
      while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        auto* text = static_cast<const char16_t*>(sqlite3_column_text16(stmt, 0));
        int bytes = sqlite3_column_bytes16(stmt, 0);
        if (!rows.empty()) rows += u"\r\n";
        if (text && bytes > 0) rows.append(text, static_cast<size_t>(bytes) / 2);
      }
      // Rows gathered before a failure are not handed out: the answer would look complete.
      if (rc == SQLITE_DONE) *request.result = std::move(rows);
      break;
    }
  }
  sqlite3_finalize(stmt);
  return rc == SQLITE_ROW || rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// Runs one request; the SQLite result code that decided its outcome and, on failure, SQLite's
// message about it.
int Execute(sqlite3* db, const DbRequest& request, std::u16string& message) {
  if (request.kind == kDbTransaction) return ExecuteTransaction(db, request, message);
  int rc = ExecuteOne(db, request);
  if (rc != SQLITE_OK) message = Message(db);
  return rc;
}

int64_t PragmaValue(sqlite3* db, const char* sql) {
  sqlite3_stmt* stmt = nullptr;
  int64_t value = -1;
  if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW) {
    value = sqlite3_column_int64(stmt, 0);
  }
  sqlite3_finalize(stmt);
  return value;
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
    case kDbSingleValue: return u"a value query";
    case kDbTextRows: return u"a rows query";
    case kDbTransaction: return u"a transaction";
  }
  return u"a request";
}

int KindIndex(DbRequestKind kind) {
  switch (kind) {
    case kDbExecute: return 0;
    case kDbSingleValue: return 1;
    case kDbTextRows: return 2;
    case kDbTransaction: return 3;
  }
  return 0;
}

// What a failing request ran, for its log line.
std::u16string RequestText(const DbRequest& request) {
  if (request.kind != kDbTransaction) return request.sql;
  std::u16string text;
  for (const std::u16string& sql : request.batch) text += (text.empty() ? u"" : u"; ") + sql;
  return text;
}

std::u16string FileNameOf(std::u16string_view path) {
  size_t slash = path.find_last_of(u"/\\");
  return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

std::u16string Post(DbRequestKind kind, std::u16string_view sql, std::vector<std::u16string> batch = {},
                    std::vector<std::u16string> values = {}) {
  std::u16string result;
  t_lastOutcome = DbOutcome::kUnusable;
  if (sql.empty() && batch.empty()) return result;
  std::shared_ptr<DbShared> shared = Current();
  if (!shared) return result;
  Event done(true);
  DbOutcome outcome = DbOutcome::kUnusable;
  {
    std::lock_guard<std::mutex> guard(shared->lock);
    if (shared->closed) return result;
    shared->queue.push_back(DbRequest{kind, std::u16string(sql), std::move(batch), &result, &outcome,
                                      Clock::now() + std::chrono::milliseconds(t_busyWaitMs), &done,
                                      std::move(values)});
  }
  // Outside the lock, so the worker does not wake only to wait for it. A worker that found the
  // queue empty reset the event before this push, so it cannot miss this.
  shared->wake.Set();
  done.Wait();
  t_lastOutcome = outcome;
  return result;
}

}  // namespace

DBThread::DBThread(std::u16string path, DbOpenMode mode, std::shared_ptr<DbShared> shared)
    : path_(std::move(path)), mode_(mode), shared_(std::move(shared)) {}

void DBThread::Run() {
  DbShared& shared = *shared_;
  std::string utf8 = WideToUtf8(path_);
  sqlite3* db = nullptr;
  int flags = SQLITE_OPEN_READWRITE | (mode_ == DbOpenMode::kCreate ? SQLITE_OPEN_CREATE : 0);
  int rc = sqlite3_open_v2(utf8.c_str(), &db, flags, nullptr);
  // Opening is lazy: the first read of the file tells whether it is a database at all.
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
  bool cutOff = rc == SQLITE_OK && CutOff(db);
  if ((rc != SQLITE_OK && !IsBusy(rc)) || cutOff) {
    std::u16string problem =
        mode_ == DbOpenMode::kExisting && !FileExists(path_)
            ? path_ + u" is missing"
        : cutOff      ? path_ + u" is damaged: the file is shorter than its header says (cut off)"
        : IsDamage(rc) ? path_ + u" is damaged: " + Message(db)
                       : u"cannot open " + path_ + u": " + Message(db) + u" (" + IntToText(rc) + u")";
    sqlite3_close(db);
    LogError(u"database: " + problem + u"; running without " + FileNameOf(path_));
    {
      std::lock_guard<std::mutex> guard(shared.lock);
      shared.status.problem = problem;
    }
    // Nobody may wait for a worker that is gone: release the waiting and refuse the rest.
    shared.CloseQueue();
    shared.stopped.Set();
    return;
  }
  {
    std::lock_guard<std::mutex> guard(shared.lock);
    shared.status.usable = true;
  }
  BusyWait busy{&shared, Clock::time_point::max()};
  sqlite3_busy_handler(db, &OnBusy, &busy);
  bool damaged = false;
  for (;;) {
    DbRequest request;
    {
      std::unique_lock<std::mutex> guard(shared.lock);
      if (shared.stop || StopRequested()) break;
      if (shared.queue.empty()) {
        shared.wake.Reset();
        guard.unlock();
        shared.wake.Wait();  // every post and the close set it
        continue;
      }
      request = std::move(shared.queue.front());
      shared.queue.pop_front();
    }
    if (auto hook = StatementHook()) hook(request.sql);
    DbOutcome outcome = DbOutcome::kUnusable;
    if (!damaged) {
      busy.deadline = request.busyDeadline;
      // SQLite's message is read before the status lock is taken: SQLite's busy handler takes the
      // status lock inside SQLite's own, so the status lock is never held while SQLite's is taken.
      std::u16string message;
      rc = Execute(db, request, message);
      outcome = rc == SQLITE_OK ? DbOutcome::kOk : IsBusy(rc) ? DbOutcome::kBusy : DbOutcome::kFailed;
      if (IsDamage(rc)) {
        damaged = true;
        outcome = DbOutcome::kUnusable;
        request.result->clear();
      }
      if (outcome != DbOutcome::kOk) {
        std::u16string line;
        {
          std::lock_guard<std::mutex> guard(shared.lock);
          DbStatus& status = shared.status;
          std::u16string what;
          if (damaged) {
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
            if (!shared.loggedKind[KindIndex(request.kind)]) line = u"database: " + what;
            shared.loggedKind[KindIndex(request.kind)] = true;
          }
          if (status.problem.empty() && outcome != DbOutcome::kBusy) status.problem = what;
        }
        if (!line.empty()) LogError(line);
      }
    }
    *request.outcome = outcome;
    request.done->Set();
  }
  sqlite3_close(db);
  shared.CloseQueue();
  shared.stopped.Set();
}

void OpenDatabase(std::u16string_view path, DbOpenMode mode) {
  CloseDatabase();  // one worker at a time
  auto shared = std::make_shared<DbShared>();
  auto* worker = new DBThread(std::u16string(path), mode, shared);
  worker->SetDeleteWhenDone(true);
  {
    std::lock_guard<std::mutex> guard(g_lock);
    g_shared = shared;
    g_last = shared;
  }
  if (!worker->Start()) {
    delete worker;
    LogError(u"database: the database thread could not be started");
    shared->CloseQueue();
    shared->stopped.Set();
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
  {
    std::lock_guard<std::mutex> guard(shared->lock);
    shared->stop = true;
    shared->wake.Set();
  }
  shared->stopped.Wait(3000);
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

void ExecSql(std::u16string_view sql) { Post(kDbExecute, sql); }
std::u16string QueryValue(std::u16string_view sql) { return Post(kDbSingleValue, sql); }
std::u16string QueryRows(std::u16string_view sql) { return Post(kDbTextRows, sql); }
void ExecSqlWith(std::u16string_view sql, const std::vector<std::u16string>& values) {
  Post(kDbExecute, sql, {}, values);
}
std::u16string QueryValueWith(std::u16string_view sql, const std::vector<std::u16string>& values) {
  return Post(kDbSingleValue, sql, {}, values);
}
bool ExecSqlTransaction(const std::vector<std::u16string>& statements) {
  return !statements.empty() && Post(kDbTransaction, {}, statements) == u"1";
}

DbOutcome LastDbOutcome() { return t_lastOutcome; }

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

std::u16string SqlText(std::u16string_view value) {
  std::u16string out;
  out.reserve(value.size());
  for (char16_t c : value) {
    out.push_back(c);
    if (c == u'\'') out.push_back(u'\'');
  }
  return out;
}
