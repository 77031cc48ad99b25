#pragma once
// The almanac's lists of activities suitable (宜) and to be avoided (忌) on a day, from the tables
// `yijidata` (date -> activity numbers) and `yijikey` (number -> name) of user.dat.
#include <string>
#include <string_view>

#include "platform/system_time.h"

// Activity names of the day (year, month and day used) joined by "\r\n", in the order the
// database returns them; empty when the day has no row or no usable numbers.
std::u16string LookUpSuitable(const SystemTime& date);
std::u16string LookUpAvoid(const SystemTime& date);

// The name query for a stored number list ("3,12,5"): "select key from yijikey  where id = '3'
// or id = '12' ...". Parts that are not all digits (after trimming blanks) are skipped; empty
// when no part is left.
std::u16string ActivityNameQuery(std::u16string_view numbers);
