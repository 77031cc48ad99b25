#include "platform/abandonable_request.h"

#include <memory>
#include <system_error>
#include <thread>

#include "platform/http_client.h"
#include "platform/thread.h"

namespace {

constexpr int kPollMs = 50;

struct Outcome {
  int32_t status = kRequestAbandoned;
  std::string body;
};

int32_t Request(std::function<void(Outcome&)> fetch, std::string& body,
                const std::function<bool()>& stopRequested) {
  auto outcome = std::make_shared<Outcome>();
  if (!RunUnlessStopped([outcome, fetch = std::move(fetch)] { fetch(*outcome); }, stopRequested)) {
    return kRequestAbandoned;
  }
  if (outcome->status != kRequestAbandoned) body = std::move(outcome->body);
  return outcome->status;
}

}  // namespace

bool RunUnlessStopped(std::function<void()> work, const std::function<bool()>& stopRequested) {
  auto shared = std::make_shared<std::function<void()>>(std::move(work));
  auto done = std::make_shared<Event>(true);
  try {
    std::thread([shared, done] {
      (*shared)();
      done->Set();
    }).detach();
  } catch (const std::system_error&) {
    (*shared)();
    return true;
  }
  while (!done->Wait(kPollMs)) {
    if (stopRequested && stopRequested()) return false;
  }
  return true;
}

int32_t HttpGetUnlessStopped(std::u16string_view url, std::string& body,
                             const std::function<bool()>& stopRequested) {
  return Request([target = std::u16string(url)](Outcome& out) { out.status = HttpGet(target, out.body); }, body,
                 stopRequested);
}

int32_t HttpPostUnlessStopped(std::u16string_view url, std::string& body, std::string_view data,
                              bool followRedirects, const std::function<bool()>& stopRequested) {
  return Request(
      [target = std::u16string(url), payload = std::string(data), followRedirects](Outcome& out) {
        out.status = HttpPost(target, out.body, nullptr, payload, followRedirects);
      },
      body, stopRequested);
}
