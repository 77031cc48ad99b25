#pragma once
// The distribution channel of this installation: the scrambled file "bsc.dat" beside the program.
#include <cstdint>
#include <string_view>

// The number in the descrambled text: its leading decimal digits; 0 when the text is empty, does
// not start with a digit or holds a number beyond 2147483647.
int32_t ChannelNumberFromText(std::string_view scrambled);

// "bsc.dat" in the program's directory, read as text (a UTF-8 byte-order mark is skipped);
// 0 when the file is missing, empty or does not decode to a number.
int32_t ReadChannelNumber();
// The same for another file.
int32_t ReadChannelNumberFrom(std::u16string_view path);
