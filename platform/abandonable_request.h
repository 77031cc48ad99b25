#pragma once
// Requests a worker may give up on: the work runs on a helper thread while the worker waits for
// it or for its own stop, whichever comes first, so a service that never answers cannot hold a
// worker (or the program's exit) beyond its stop. A request given up on runs to its own end
// (bounded by the HTTP client's time limits) and then only drops its result: the work must own
// everything it touches.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Status of a request given up on because the stop came first (never an HTTP client status).
constexpr int32_t kRequestAbandoned = -2;

// Runs work on a helper thread and waits until it returns (true) or stopRequested() turns true
// (false; polled every 50 ms). When no thread can be started the work runs on the calling thread.
bool RunUnlessStopped(std::function<void()> work, const std::function<bool()>& stopRequested);

// HttpGet / HttpPost (no response headers) run that way; body is replaced only when the request
// finished. kRequestAbandoned when stopped first.
int32_t HttpGetUnlessStopped(std::u16string_view url, std::string& body,
                             const std::function<bool()>& stopRequested);
int32_t HttpPostUnlessStopped(std::u16string_view url, std::string& body, std::string_view data,
                              bool followRedirects, const std::function<bool()>& stopRequested);
