#pragma once
// The statistics exchange with the service at the setting "svc_stats" (empty: no service, no
// traffic at all). The exchange's worker thread sends the usage report as a GET of "/i.ashx" with the
// machine's identifiers; the answer is the scrambled service document, which carries the holiday
// arrangement, the machine's public address and location, and URL lists that switch on the
// upload of "ubd.dat", record the uninstall address "uu" and start the updater.
//
// The worker asks once per run, and again every retry period while the service record has no
// address (no document yet). Every wait and every request ends promptly when the worker is asked
// to stop: the requests watch the worker's stop token (HttpScope), and the machine's identifiers,
// which may wait on the network, are gathered on a helper thread that is given up on at a stop.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/message_ids.h"

// What the exchange needs of the service record, copied from one consistent state of it.
struct ServiceAnswer {
  std::u16string address;       // "ip": the machine's public address
  std::u16string uploadTarget;  // the first "userbehavior_url" entry
  bool uploadListed = false;    // "data_url" and "userbehavior_url" both have entries
  std::u16string uninstallUrl;  // the first "uninstall_url" entry
  bool updateListed = false;    // "update_url" has an entry
};

// What the exchange drives in the program (service document, city, windows). Any member
// may be empty. All run on the worker's thread; the requests `locate` makes end at a stop.
struct ExchangePartners {
  std::function<void()> loadHolidays;                              // table fills what is empty
  std::function<bool(std::u16string_view document)> readDocument;  // false: not a document
  std::function<ServiceAnswer()> answer;                           // the service record now
  std::function<void(const std::string& ip)> locate;               // public address -> location
  std::function<void()> followLocation;  // switch to the IP location, else refresh the weather
  std::function<void()> launchUpdater;
  std::function<void(uint32_t message)> post;  // to the main window
};

struct ExchangeTiming {
  int retryMs = 30000;     // between attempts while the service does not answer properly
  int stopWaitMs = 1500;   // how long a stop waits for the worker before leaving it detached
};

// The upload switch: set after each document to whether it lists both "data_url" and
// "userbehavior_url" entries; false until then. Read by the usage recorder's turns.
bool UploadEnabled();

// Starts the worker once (a second call does nothing; true when it runs) and makes the usage
// recorder upload through the exchange. CloseUserData stops it.
bool StartStatisticsExchange(ExchangePartners partners, ExchangeTiming timing = {});
// Stops the worker: waits up to the timing's stopWaitMs for it to end, otherwise leaves it to end
// on its own (logged, false). True when no worker runs any more (also when none ever started).
bool StopStatisticsExchange();

// The upload's sender (the usage recorder calls it with the file's bytes): nothing is sent when
// "join_ue" is "false" or the record lists no upload target; the header line goes in front of
// the bytes; true only when the service answered exactly "100".
// The request ends at once when stop turns true.
bool UploadUsageFile(const std::string& bytes, const ServiceAnswer& answer, const std::atomic<bool>& stop);
