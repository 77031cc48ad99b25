#include "platform/user_config.h"

#include "platform/database.h"
#include "platform/text_codec.h"
#include "platform/text_utils.h"

std::u16string GetUserConfig(std::u16string_view name) {
  std::optional<DbRow> row;
  // A failure is logged by the worker; it reads as no value, as the header says.
  (void)QueryFirst(u"select value from userconfig where name = ?1", {name}, row);
  return row ? row->Text(0) : std::u16string();
}

std::string GetUserConfigA(std::string_view name) {
  return ToNarrow(GetUserConfig(ToWide(name, kCodePageAnsi)), kCodePageAnsi);
}

bool SetUserConfig(std::u16string_view value, std::u16string_view name) {
  // One transaction: a crash or a failing insert never leaves the name without its row.
  return ExecTransaction({{u"delete from userconfig where name = ?1", {name}},
                          {u"insert into userconfig (name,value) values (?1,?2)", {name, value}}}) ==
         DbOutcome::kOk;
}

std::u16string ServiceBaseUrl(std::u16string_view key) {
  std::u16string base = TrimText(GetUserConfig(key));
  while (!base.empty() && (base.back() == u'/' || base.back() <= 32)) base.pop_back();
  return base;
}
