// The bounds that every request of a thread obeys (HttpScope), shared by both client edges.
#include <algorithm>

#include "platform/http_client.h"
#include "platform/http_url.h"

namespace {
thread_local const HttpScope* t_scope = nullptr;
thread_local HttpScope::Bounds t_bounds;  // of t_scope; the defaults when there is none
}  // namespace

HttpScope::HttpScope(const Bounds& bounds) : bounds_(bounds), outer_(t_scope) {
  if (outer_) {
    const Bounds& outer = t_bounds;
    bounds_.deadline = std::min(bounds_.deadline, outer.deadline);
    bounds_.bodyLimit = std::min(bounds_.bodyLimit, outer.bodyLimit);
    if (!bounds_.abandon) bounds_.abandon = outer.abandon;
  }
  saved_ = t_bounds;
  t_scope = this;
  t_bounds = bounds_;
}

HttpScope::~HttpScope() {
  t_scope = outer_;
  t_bounds = saved_;
}

HttpScope::Bounds HttpScope::ForRequest() {
  Bounds bounds = t_bounds;
  bounds.deadline = std::min(bounds.deadline, Clock::now() + std::chrono::milliseconds(HttpTotalTimeoutMs()));
  return bounds;
}

bool HttpScope::Stopped(const Bounds& bounds, int32_t& status) {
  if (bounds.abandon && bounds.abandon->load()) {
    status = kHttpAbandoned;
    return true;
  }
  if (Clock::now() >= bounds.deadline) {
    status = kHttpTimedOut;
    return true;
  }
  return false;
}
