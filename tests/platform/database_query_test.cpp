// Statements with bound parameters and typed rows, through the database worker.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/database.h"
#include "tests/support/temp_dir.h"

TEST(DatabaseQuery, BindsTypedRowsAndHonestOutcomes) {
  tvtest::TempDir temp;
  OpenDatabase(temp.Dir() + u"user.dat", DbOpenMode::kCreate);
  ASSERT_EQ(Exec(u"create table t (k integer primary key, name text, n integer)"), DbOutcome::kOk);

  // Values stay values, whatever they hold: quotes, SQL, separators, parameter marks, nothing.
  const std::u16string hostile[] = {u"it's", u"'); drop table t; --", u"a\"b", u"x\r\ny\x1fz", u"上海'", u"?1", u""};
  int64_t k = 0;
  for (const std::u16string& name : hostile)
    EXPECT_EQ(Exec(u"insert into t (k, name, n) values (?1, ?2, ?3)", {++k, name, INT64_MIN + k}), DbOutcome::kOk);
  EXPECT_EQ(Exec(u"insert into t (k, name, n) values (?1, ?2, ?3)", {100, nullptr, INT64_MAX}), DbOutcome::kOk);
  EXPECT_EQ(Exec(u"insert into t (k, name, n) values (?1, '42', ?2)", {101}), DbOutcome::kOk);  // ?2 unbound: NULL
  for (const std::u16string& name : hostile) {
    std::vector<int64_t> found;
    EXPECT_EQ(Query(u"select k from t where name = ?1", {name}, [&](const DbRow& row) { found.push_back(*row.Int(0)); }),
              DbOutcome::kOk);
    EXPECT_EQ(found.size(), 1u);
  }

  // Rows in the statement's order, columns typed: NULL is not the empty text, integers are whole.
  std::vector<DbRow> rows;
  EXPECT_EQ(Query(u"select k, name, n from t order by k desc", [&](const DbRow& row) { rows.push_back(row); }),
            DbOutcome::kOk);
  ASSERT_EQ(rows.size(), 9u);
  EXPECT_EQ(rows[0].Int(0), 101);
  EXPECT_EQ(rows[0].Int(1), 42);  // a text written as a number reads as one
  EXPECT_TRUE(rows[0].IsNull(2));
  EXPECT_EQ(rows[1].Int(2), INT64_MAX);
  EXPECT_TRUE(rows[1].IsNull(1));
  EXPECT_EQ(rows[1].Text(1), u"");
  EXPECT_FALSE(rows[2].IsNull(1));
  EXPECT_EQ(rows[2].Text(1), u"");
  EXPECT_EQ(rows[8].Int(2), INT64_MIN + 1);
  EXPECT_EQ(rows[8].Text(2), u"-9223372036854775807");
  EXPECT_EQ(rows[5].Text(1), u"x\r\ny\x1fz");
  EXPECT_EQ(rows[5].Int(1), std::nullopt);
  EXPECT_TRUE(rows[0].IsNull(3));  // past the row's end
  EXPECT_EQ(DbValue(u"-9223372036854775808").Int(), INT64_MIN);
  for (const char16_t* notInt : {u"9223372036854775808", u"-", u" 1", u"+1", u"1.0"})
    EXPECT_EQ(DbValue(notInt).Int(), std::nullopt) << static_cast<int>(notInt[0]);

  // The first row only; a handler may use the database itself.
  std::optional<DbRow> first;
  EXPECT_EQ(QueryFirst(u"select name from t where k > ?1 order by k", {5}, first), DbOutcome::kOk);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Text(0), u"?1");
  int nested = 0;
  EXPECT_EQ(Query(u"select k from t where k < 3 order by k",
                  [&](const DbRow& row) {
                    std::optional<DbRow> again;
                    EXPECT_EQ(QueryFirst(u"select k from t where k = ?1", {*row.Int(0)}, again), DbOutcome::kOk);
                    nested += again ? 1 : 0;
                  }),
            DbOutcome::kOk);
  EXPECT_EQ(nested, 2);

  // Failures say so and hand out nothing, not even the rows read before a late failure.
  int called = 0;
  const auto count = [&](const DbRow&) { ++called; };
  EXPECT_EQ(Query(u"this is not sql", count), DbOutcome::kFailed);
  EXPECT_EQ(Query(u"select * from missing_table", count), DbOutcome::kFailed);
  EXPECT_EQ(Query(u"select k from t", {1}, count), DbOutcome::kFailed);  // a value without its parameter
  EXPECT_EQ(Query(u"", count), DbOutcome::kFailed);
  EXPECT_EQ(Query(u"select case when k = 100 then abs(-9223372036854775807 - 1) else k end from t order by k", count),
            DbOutcome::kFailed);
  EXPECT_EQ(QueryFirst(u"select * from missing_table", {}, first), DbOutcome::kFailed);
  EXPECT_FALSE(first);
  EXPECT_EQ(called, 0);
  EXPECT_EQ(Exec(u"insert into t (k) values (?1)", {1}), DbOutcome::kFailed);  // the key is taken

  // A statement of any length runs (fixed buffers once skipped long ones without a word).
  const std::u16string longName(5000, u'长');
  EXPECT_EQ(Exec(u"insert into t (k, name) values (?1, ?2)", {200, longName}), DbOutcome::kOk);
  std::u16string longSql = u"select name from t where k = 200";
  longSql.append(20000, u' ');
  EXPECT_EQ(QueryFirst(longSql, {}, first), DbOutcome::kOk);
  EXPECT_EQ(first ? first->Text(0) : u"", longName);

  CloseDatabase();
  EXPECT_EQ(Query(u"select 1", count), DbOutcome::kUnusable);
  EXPECT_EQ(Exec(u"select 1"), DbOutcome::kUnusable);
  EXPECT_EQ(called, 0);
}
