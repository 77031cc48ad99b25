#pragma once
// The process-wide service record: what the last service document said besides the holidays (the
// machine's location and address, the service's URL lists). Written by the statistics worker,
// read by it and by the usage recorder's upload. Writers publish a whole new record, readers take
// a snapshot, so no reader ever sees a list being replaced.
#include <memory>
#include <string_view>

#include "service/service_document.h"

// A consistent snapshot; never null.
std::shared_ptr<const ServiceRecord> ServiceRecordSnapshot();
// Replaces the whole record (start-up of tests; the program itself only takes documents).
void ReplaceServiceRecord(ServiceRecord record);

// Takes a service document: its holiday texts go down to the calendar's process-wide holiday
// arrangement, the rest into the service record. The temporary file goes beside the program. A
// document that does not parse changes neither (logged); returns false then.
bool TakeServiceDocument(std::u16string_view document);
