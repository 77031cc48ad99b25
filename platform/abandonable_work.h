#pragma once
// Work a worker may give up on: work that is not an HTTP request (those end at their HttpScope's
// abandon flag) but may block for a while, such as asking the network for an adapter's address.
// The work runs on a helper thread while the worker waits for it or for its own stop, whichever
// comes first. Work given up on runs to its own end and then only drops its result: it must own
// everything it touches.
#include <functional>

// Runs work on a helper thread and waits until it returns (true) or stopRequested() turns true
// (false; polled every 50 ms). When no thread can be started the work runs on the calling thread.
bool RunUnlessStopped(std::function<void()> work, const std::function<bool()>& stopRequested);
