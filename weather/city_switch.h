#pragma once
// Choosing the city whose weather is shown: the choice is stored and the weather refreshed.
#include <string_view>

// Makes the pair current when it has a code (persisting the names) and starts a weather refresh;
// an unknown pair, the current pair or an empty city only refreshes the current city. Always true.
bool SwitchCity(std::u16string_view city, std::u16string_view province);
