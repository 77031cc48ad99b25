#include "platform/user_config.h"

#include "platform/database.h"
#include "platform/text_codec.h"
#include "platform/text_utils.h"

// Names and values are quoted with SqlText so that an apostrophe cannot break the statement.
std::u16string GetUserConfig(std::u16string_view name) {
  return QueryValue(u"select value from userconfig where name = '" + SqlText(name) + u"'");
}

std::string GetUserConfigA(std::string_view name) {
  return ToNarrow(GetUserConfig(ToWide(name, kCodePageAnsi)), kCodePageAnsi);
}

void SetUserConfig(std::u16string_view value, std::u16string_view name) {
  std::u16string quotedName = SqlText(name);
  ExecSql(u"delete from userconfig where name = '" + quotedName + u"'");
  ExecSql(u"insert into userconfig (name,value) values ('" + quotedName + u"','" + SqlText(value) + u"')");
}

std::u16string ServiceBaseUrl(std::u16string_view key) {
  std::u16string base = TrimText(GetUserConfig(key));
  while (!base.empty() && (base.back() == u'/' || base.back() <= 32)) base.pop_back();
  return base;
}
