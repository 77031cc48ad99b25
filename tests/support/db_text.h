#pragma once
// Short forms of database calls for tests (and benchmarks) that only set up tables or look at
// what is stored: values as text, failures made visible in the test's outcome.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/database.h"
#include "platform/text_codec.h"

namespace tvtest {

// Runs a statement that must succeed.
inline void Sql(std::u16string_view sql, const std::vector<DbValue>& binds = {}) {
  EXPECT_EQ(Exec(sql, binds), DbOutcome::kOk) << WideToUtf8(sql);
}

// Column 0 of the first row as text; empty for no row, NULL or a failure.
inline std::u16string FirstText(std::u16string_view sql, const std::vector<DbValue>& binds = {}) {
  std::optional<DbRow> row;
  (void)QueryFirst(sql, binds, row);
  return row ? row->Text(0) : std::u16string();
}

// Column 0 of every row as text, joined by "\r\n" (an empty first value adds no separator);
// empty for no row or a failure.
inline std::u16string RowsText(std::u16string_view sql) {
  std::u16string text;
  (void)Query(sql, [&](const DbRow& row) {
    if (!text.empty()) text += u"\r\n";
    text += row.Text(0);
  });
  return text;
}

}  // namespace tvtest
