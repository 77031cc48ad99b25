#pragma once
// The WinHTTP client in this process: HttpGet and HttpPost as platform/http_client.h describes
// them, without a helper process. The helper process itself makes its request with these.
#include <cstdint>
#include <string>
#include <string_view>

int32_t HttpGetHere(std::u16string_view url, std::string& body);
int32_t HttpPostHere(std::u16string_view url, std::string& body, std::u16string* headers, std::string_view data,
                     bool followRedirects);
