#include "service/exchange_partners.h"
#include "app/win32/entry_points.h"
#include "weather/win32/window_poster.h"

namespace app {

// The current city's first weather refresh is already on its way (UM_START_REFRESH), so the
// worker starts straight away; it refreshes again after its report.
void StartStatisticsWorker(HWND mainWindow) {
  StartStatisticsExchange(MakeExchangePartners(MakeWindowPoster(mainWindow)));
}

}  // namespace app
