#pragma once
// The values that go into and come out of a statement (platform/database.h): a parameter's value
// and a result row's columns. Plain values, copied freely between threads.
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

// NULL, a 64-bit integer or a text.
class DbValue {
 public:
  DbValue() = default;  // NULL
  DbValue(std::nullptr_t) {}
  template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char> && !std::same_as<T, char16_t> &&
             !std::same_as<T, wchar_t>)
  DbValue(T value) : value_(static_cast<int64_t>(value)) {}
  DbValue(std::u16string text) : value_(std::move(text)) {}
  DbValue(std::u16string_view text) : value_(std::u16string(text)) {}
  DbValue(const char16_t* text) : value_(std::u16string(text)) {}

  bool IsNull() const { return std::holds_alternative<std::monostate>(value_); }
  bool IsInt() const { return std::holds_alternative<int64_t>(value_); }
  // The integer, or a text that is exactly a decimal integer of 64 bits (an optional '-', then
  // digits, nothing around them); nothing for NULL and any other text.
  std::optional<int64_t> Int() const;
  // The text; an integer in decimal; empty for NULL.
  std::u16string Text() const;

  friend bool operator==(const DbValue&, const DbValue&) = default;

 private:
  std::variant<std::monostate, int64_t, std::u16string> value_;
};

// One result row. A column past the row's end reads as NULL. A column of another type than
// integer, text and NULL arrives as the text SQLite gives for it (a real as "31.2164").
class DbRow {
 public:
  DbRow() = default;
  explicit DbRow(std::vector<DbValue> columns) : columns_(std::move(columns)) {}

  size_t Size() const { return columns_.size(); }
  bool IsNull(size_t i) const { return i >= columns_.size() || columns_[i].IsNull(); }
  std::optional<int64_t> Int(size_t i) const { return i < columns_.size() ? columns_[i].Int() : std::nullopt; }
  std::u16string Text(size_t i) const { return i < columns_.size() ? columns_[i].Text() : std::u16string(); }

 private:
  std::vector<DbValue> columns_;
};

// A statement with its parameters' values: ?1 takes binds[0], ?2 binds[1] ...
struct DbStatement {
  std::u16string sql;
  std::vector<DbValue> binds;
};
