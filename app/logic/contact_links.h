#pragma once
// The two contact links of the about and feedback windows. Both are deployment values kept in
// "userconfig" (shipped in user.dat): the support account and the web site address. They come
// from a file a user could edit, so only a plain account number and an http(s) address are ever
// handed to the shell; anything else gives an empty link, which opens nothing.
#include <string>
#include <string_view>

inline constexpr std::u16string_view kContactAccountKey = u"contact_account";
inline constexpr std::u16string_view kWebSiteKey = u"web_site";

// "tencent://message/?uin=" and the account: 1 to 15 decimal digits (blanks around are dropped).
std::u16string ContactLink(std::u16string_view account);
// The address when it is "http://" or "https://" (any case) with a host and without blanks,
// quotes or control characters.
std::u16string WebSiteLink(std::u16string_view address);
