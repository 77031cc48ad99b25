#include "app/logic/single_instance.h"

#include "platform/log.h"

bool ClaimSingleInstance(InstanceSystem& system) {
  switch (system.ClaimLock()) {
    case InstanceSystem::Claim::kOurs:
      return true;
    case InstanceSystem::Claim::kUnavailable:
      LogError(u"app: the single-instance lock cannot be made; looking for a running window instead");
      if (!system.OtherWindowExists()) return true;
      system.SignalOther();
      return false;
    case InstanceSystem::Claim::kTaken:
      break;
  }
  for (int waited = 0; !system.SignalOther() && waited < kInstanceSignalWaitMs; waited += kInstanceSignalStepMs) {
    system.Pause(kInstanceSignalStepMs);
  }
  return false;
}
