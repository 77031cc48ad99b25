#include "service/service_record.h"

#include <mutex>
#include <utility>

#include "calendar/holiday_arrangement.h"

namespace {

struct SharedRecord {
  std::mutex dataLock;  // guards `current` (held only to copy or swap the pointer)
  std::shared_ptr<const ServiceRecord> current = std::make_shared<const ServiceRecord>();
};

SharedRecord& Shared() {
  static SharedRecord shared;
  return shared;
}

}  // namespace

std::shared_ptr<const ServiceRecord> ServiceRecordSnapshot() {
  std::lock_guard<std::mutex> guard(Shared().dataLock);
  return Shared().current;
}

void ReplaceServiceRecord(ServiceRecord record) {
  auto next = std::make_shared<const ServiceRecord>(std::move(record));
  std::lock_guard<std::mutex> guard(Shared().dataLock);
  Shared().current = std::move(next);
}

bool TakeServiceDocument(std::u16string_view document) {
  // The calendar's writer lock is held across the parse, so that a table load running meanwhile
  // neither loses the document's texts nor has its own lost; the service record is published
  // inside it, so that the two records change together.
  return ChangeHolidayArrangement([document](HolidayArrangement& arrangement) {
    ServiceRecord record = *ServiceRecordSnapshot();
    if (!ParseServiceDocument(document, arrangement.holidays, record, {})) return false;
    ReplaceServiceRecord(std::move(record));
    return true;
  });
}
