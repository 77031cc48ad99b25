#pragma once
// The WMO weather interpretation codes of the default forecast source, as our weather words.
#include <string_view>

// The word for a documented code (0, 1, 2, 3, 45, 48, 51 … 99): one the skin has a picture for.
// Empty for any other number.
std::u16string_view WmoWeatherWord(int code);

