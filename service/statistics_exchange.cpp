#include "service/statistics_exchange.h"

#include <memory>
#include <mutex>
#include <utility>

#include "platform/abandonable_work.h"
#include "service/channel_number.h"
#include "platform/data_steps.h"
#include "service/descramble.h"
#include "platform/file_utils.h"
#include "platform/http_client.h"
#include "platform/log.h"
#include "service/network_identity.h"
#include "platform/program_dir.h"
#include "platform/text_codec.h"
#include "platform/thread.h"
#include "service/usage_recorder.h"
#include "service/usage_report.h"
#include "platform/user_config.h"
#include "platform/user_data.h"
#include "platform/worker.h"

namespace {

constexpr std::u16string_view kSvcStats = u"svc_stats";
constexpr size_t kShortestAnswer = 20;  // a shorter answer cannot hold a document

std::atomic<bool> g_uploadEnabled{false};

std::mutex g_workerLock;  // guards g_worker and g_stopWaitMs
int g_stopWaitMs = ExchangeTiming{}.stopWaitMs;

// compute() on a helper thread (the network identity may wait for an ARP answer); false when the
// stop came first.
template <typename T>
bool ComputeUnlessStopped(std::function<T()> compute, T& result, const std::function<bool()>& stopRequested) {
  auto slot = std::make_shared<T>();
  if (!RunUnlessStopped([slot, compute = std::move(compute)] { *slot = compute(); }, stopRequested)) return false;
  result = std::move(*slot);
  return true;
}

// Bounds of the requests a worker makes: the default limits, abandoned when stop turns true.
HttpScope::Bounds AbandonedAt(const std::atomic<bool>& stop) {
  HttpScope::Bounds bounds;
  bounds.abandon = &stop;
  return bounds;
}

std::u16string LogAnswerPrefix(int32_t status) {
  return u"statistics: report answered with status " + Utf8ToWide(std::to_string(status));
}

// The worker's body: one report at the start, then one every retry period while the service
// record has no address.
class Exchange {
 public:
  Exchange(ExchangePartners partners, ExchangeTiming timing) : partners_(std::move(partners)), timing_(timing) {}
  void Run(const std::stop_token& stop);
  // One report: LoadHolidayArrangement, the GET (repeated every retry period until a response
  // arrives), the document, the switches, the location. True when a document was taken.
  bool SendUsageReport(const std::stop_token& stop);
  // The stop's wake: abandons the request in flight and ends the wait between attempts.
  void Wake() {
    abandon_.store(true);
    stopEvent_.Set();
  }

 private:
  // Waits up to ms; true when the stop came.
  bool WaitForStop(const std::stop_token& stop, int ms) {
    return stop.stop_requested() || stopEvent_.Wait(ms) || stop.stop_requested();
  }

  const ExchangePartners partners_;
  const ExchangeTiming timing_;
  std::atomic<bool> abandon_{false};
  Event stopEvent_{true};
};

// The running exchange (guarded by g_workerLock); last, so that at the process's end it is
// stopped and joined before what it uses goes.
Worker g_worker;

}  // namespace

bool UploadEnabled() { return g_uploadEnabled.load(); }

bool Exchange::SendUsageReport(const std::stop_token& stop) {
  const auto stopped = [&stop] { return stop.stop_requested(); };
  const HttpScope scope(AbandonedAt(abandon_));
  if (partners_.loadHolidays) partners_.loadHolidays();

  const std::u16string base = ServiceBaseUrl(kSvcStats);
  if (base.empty()) return false;
  ReportParameters parameters;
  if (!ComputeUnlessStopped<ReportParameters>(&GatherReportParameters, parameters, stopped)) return false;
  const std::u16string url = ReportUrl(base, parameters);
  if (url.empty()) {
    LogError(u"statistics: the report address would be longer than its limit; not sent");
    return false;
  }

  std::string body;
  for (;;) {
    const int32_t status = HttpGet(url, body);
    if (status == 0) break;
    if (stopped()) return false;
    LogError(LogAnswerPrefix(status) + u", asking again later");
    if (WaitForStop(stop, timing_.retryMs)) return false;
  }
  if (body.size() < kShortestAnswer) {
    LogError(u"statistics: the service's answer is too short to be a document");
    return false;
  }
  // The answer is base64 text; what it descrambles to is a GBK document.
  const std::string scrambled = ToNarrow(Utf8ToWide(body), kCodePageAnsi);
  const std::u16string document = ToWide(DescrambleText(scrambled), kCodePageGbk);
  if (!partners_.readDocument || !partners_.readDocument(document)) return false;  // logged by the reader
  if (partners_.loadHolidays) partners_.loadHolidays();

  const ServiceAnswer answer = partners_.answer ? partners_.answer() : ServiceAnswer{};
  g_uploadEnabled.store(answer.uploadListed);
  if (!answer.uninstallUrl.empty()) SetUserConfig(answer.uninstallUrl, u"uu");
  if (answer.updateListed && partners_.launchUpdater && !stopped()) partners_.launchUpdater();

  if (!answer.address.empty() && partners_.locate && !stopped()) {
    partners_.locate(ToNarrow(answer.address, kCodePageAnsi));
  }
  if (partners_.followLocation && !stopped()) partners_.followLocation();
  return true;
}

void Exchange::Run(const std::stop_token& stop) {
  if (ServiceBaseUrl(kSvcStats).empty()) {
    LogError(u"statistics: no service configured (svc_stats), nothing is sent");
    return;
  }
  const auto report = [this, &stop] {
    SendUsageReport(stop);
    if (!stop.stop_requested() && partners_.post) partners_.post(UM_STATISTICS_DONE);
  };
  report();
  while (!stop.stop_requested()) {
    const ServiceAnswer answer = partners_.answer ? partners_.answer() : ServiceAnswer{};
    if (answer.address.empty()) report();
    if (WaitForStop(stop, timing_.retryMs)) break;
  }
}

bool UploadUsageFile(const std::string& bytes, const ServiceAnswer& answer, const std::atomic<bool>& stop) {
  if (GetUserConfig(u"join_ue") == u"false") {
    LogError(u"statistics: the user takes no part in the usage programme (join_ue), usage file kept");
    return false;
  }
  if (answer.uploadTarget.empty()) {
    LogError(u"statistics: no upload address listed, usage file kept");
    return false;
  }
  std::string header;
  const auto makeHeader = [] {
    return UploadHeader(GatewayMac(), AdapterMac(), ReadChannelNumber(),
                        WideToUtf8(FileVersionText(ExecutablePath())));
  };
  if (!ComputeUnlessStopped<std::string>(makeHeader, header, [&stop] { return stop.load(); })) return false;
  std::string reply;
  const HttpScope scope(AbandonedAt(stop));
  const int32_t status = HttpPost(answer.uploadTarget, reply, nullptr, header + bytes, true);
  if (IsUploadAccepted(status, reply)) return true;
  if (status == kHttpAbandoned) {
    LogError(u"statistics: upload abandoned at the stop, usage file kept");
  } else {
    LogError(u"statistics: upload not taken (status " + Utf8ToWide(std::to_string(status)) + u", answer \"" +
             ToWide(reply.substr(0, 16), kCodePageAnsi) + u"\"), usage file kept");
  }
  return false;
}

bool StartStatisticsExchange(ExchangePartners partners, ExchangeTiming timing) {
  std::lock_guard<std::mutex> guard(g_workerLock);
  if (g_worker.Running()) return true;
  g_uploadEnabled.store(false);  // the switch lives for one run of the exchange
  auto answer = partners.answer;
  auto exchange = std::make_shared<Exchange>(std::move(partners), timing);
  if (!g_worker.Start([exchange](std::stop_token stop) { exchange->Run(stop); }, [exchange] { exchange->Wake(); })) {
    LogError(u"statistics: the worker thread cannot start");
    return false;
  }
  g_stopWaitMs = timing.stopWaitMs;
  // The exchange ends first thing at shutdown, while the database is still open.
  RegisterDataStep(DataPhase::kBeforeClose, "statistics", 0, [] { StopStatisticsExchange(); });
  UsageUploader uploader;
  uploader.ready = [] { return UploadEnabled(); };
  uploader.send = [answer](const std::string& bytes, const std::atomic<bool>& stop) {
    return UploadUsageFile(bytes, answer ? answer() : ServiceAnswer{}, stop);
  };
  SetUsageUploader(std::move(uploader));
  return true;
}

bool StopStatisticsExchange() {
  Worker worker;
  int waitMs = 0;
  {
    std::lock_guard<std::mutex> guard(g_workerLock);
    worker = std::move(g_worker);
    waitMs = g_stopWaitMs;
  }
  if (worker.Stop(waitMs)) return true;
  LogError(u"statistics: the worker did not end in time; left to end on its own");
  return false;
}
