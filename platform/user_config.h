#pragma once
// Name/value settings in table "userconfig". A missing row and an empty value both read as "".
#include <string>
#include <string_view>

std::u16string GetUserConfig(std::u16string_view name);
// Name and value in the ANSI code page.
std::string GetUserConfigA(std::string_view name);
// Value first. Replaces the row of name (delete, then insert, as one transaction): true when the
// new value is stored; otherwise the previous row stays as it was.
bool SetUserConfig(std::u16string_view value, std::u16string_view name);
