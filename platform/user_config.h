#pragma once
// Name/value settings in table "userconfig", names and values bound as parameters. A missing row,
// an empty value and a failed read (logged by the database worker) all read as "".
#include <string>
#include <string_view>

std::u16string GetUserConfig(std::u16string_view name);
// Name and value in the ANSI code page.
std::string GetUserConfigA(std::string_view name);
// Value first. Replaces the row of name (delete, then insert, as one transaction): true when the
// new value is stored; otherwise the previous row stays as it was.
bool SetUserConfig(std::u16string_view value, std::u16string_view name);

// Base address of an outside service kept in userconfig ("svc_stats" ...), e.g.
// "http://127.0.0.1:8731": the trimmed value without a trailing '/'. Empty means there is no such
// service, and nothing may be sent to it.
std::u16string ServiceBaseUrl(std::u16string_view key);
