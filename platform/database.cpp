#include "platform/database.h"

#include <sqlite3.h>

#include <deque>
#include <mutex>
#include <vector>

#include "platform/debug_output.h"
#include "platform/text_codec.h"

struct DbRequest {
  DbRequestKind kind = kDbExecute;
  std::u16string sql;
  std::vector<std::u16string> batch;  // kDbTransaction
  std::u16string* result = nullptr;  // the poster's; written before done is set
  Event* done = nullptr;
};

struct DbShared {
  std::mutex lock;                 // guards queue and closed
  std::deque<DbRequest> queue;
  bool closed = false;             // no worker will take requests any more
  bool stop = false;
  Event wake{true};
  Event stopped{true};

  // Releases every queued request with an empty result and refuses new ones.
  void CloseQueue() {
    std::deque<DbRequest> left;
    {
      std::lock_guard<std::mutex> guard(lock);
      closed = true;
      left.swap(queue);
    }
    for (DbRequest& r : left) r.done->Set();
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

std::shared_ptr<DbShared> Current() {
  std::lock_guard<std::mutex> guard(g_lock);
  return g_shared;
}

// One statement of a transaction; false when it cannot be prepared or does not run to its end.
bool Step(sqlite3* db, std::u16string_view sql) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare16_v2(db, sql.data(), static_cast<int>(sql.size() * 2), &stmt, nullptr);
  if (rc == SQLITE_OK && stmt) {
    do {
      rc = sqlite3_step(stmt);
    } while (rc == SQLITE_ROW);
  }
  sqlite3_finalize(stmt);
  return rc == SQLITE_DONE;
}

void ExecuteTransaction(sqlite3* db, const DbRequest& request) {
  if (!Step(db, u"begin immediate")) return;
  for (const std::u16string& sql : request.batch) {
    if (!Step(db, sql)) {
      Step(db, u"rollback");
      return;
    }
  }
  if (Step(db, u"commit")) {
    *request.result = u"1";
  } else {
    Step(db, u"rollback");
  }
}

void Execute(sqlite3* db, const DbRequest& request) {
  if (request.kind == kDbTransaction) {
    ExecuteTransaction(db, request);
    return;
  }
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare16_v2(db, request.sql.data(), static_cast<int>(request.sql.size() * 2), &stmt, nullptr) !=
          SQLITE_OK ||
      !stmt) {
    sqlite3_finalize(stmt);
    return;
  }
  switch (request.kind) {
    case kDbExecute:
    case kDbTransaction:  // handled above
      sqlite3_step(stmt);
      break;
    case kDbSingleValue:
      if (sqlite3_step(stmt) == SQLITE_ROW) {
        auto* text = static_cast<const char16_t*>(sqlite3_column_text16(stmt, 0));
        int bytes = sqlite3_column_bytes16(stmt, 0);
        if (text && bytes > 0) request.result->assign(text, static_cast<size_t>(bytes) / 2);
      }
      break;
    case kDbTextRows: {
      std::u16string rows;
      while (sqlite3_step(stmt) == SQLITE_ROW) {
        auto* text = static_cast<const char16_t*>(sqlite3_column_text16(stmt, 0));
        int bytes = sqlite3_column_bytes16(stmt, 0);
        if (!rows.empty()) rows += u"\r\n";
        if (text && bytes > 0) rows.append(text, static_cast<size_t>(bytes) / 2);
      }
      *request.result = std::move(rows);
      break;
    }
  }
  sqlite3_finalize(stmt);
}

std::u16string Post(DbRequestKind kind, std::u16string_view sql, std::vector<std::u16string> batch = {}) {
  std::u16string result;
  if (sql.empty() && batch.empty()) return result;
  std::shared_ptr<DbShared> shared = Current();
  if (!shared) return result;
  Event done(true);
  {
    std::lock_guard<std::mutex> guard(shared->lock);
    if (shared->closed) return result;
    shared->queue.push_back(DbRequest{kind, std::u16string(sql), std::move(batch), &result, &done});
  }
  // Outside the lock, so the worker does not wake only to wait for it. A worker that found the
  // queue empty reset the event before this push, so it cannot miss this.
  shared->wake.Set();
  done.Wait();
  return result;
}

}  // namespace

DBThread::DBThread(std::u16string path, std::shared_ptr<DbShared> shared)
    : path_(std::move(path)), shared_(std::move(shared)) {}

void DBThread::Run() {
  DbShared& shared = *shared_;
  std::string utf8 = WideToUtf8(path_);
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(utf8.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    DebugOutput(utf8);
    // Nobody may wait for a worker that is gone: release the waiting and refuse the rest.
    shared.CloseQueue();
    shared.stopped.Set();
    return;
  }
  // Another process (a second program, tvcal) may hold the file's lock for a moment; on Windows
  // even two readers can briefly collide. Wait for it instead of failing the statement.
  sqlite3_busy_timeout(db, 5000);
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
    Execute(db, request);
    request.done->Set();
  }
  sqlite3_close(db);
  shared.CloseQueue();
  shared.stopped.Set();
}

void OpenDatabase(std::u16string_view path) {
  CloseDatabase();  // one worker at a time
  auto shared = std::make_shared<DbShared>();
  auto* worker = new DBThread(std::u16string(path), shared);
  worker->SetDeleteWhenDone(true);
  {
    std::lock_guard<std::mutex> guard(g_lock);
    g_shared = shared;
  }
  if (!worker->Start()) {
    delete worker;
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
bool ExecSqlTransaction(const std::vector<std::u16string>& statements) {
  return !statements.empty() && Post(kDbTransaction, {}, statements) == u"1";
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
