// The calendar window for tests and measurements (dlg_main.h): its lines of the state text and the
// month-change benchmark's steps.
#include <string>

#include "app/logic/day_cell.h"
#include "app/logic/tooltip_fields.h"
#include "app/win32/dlg_main.h"
#include "app/win32/main_window_handle.h"
#include "app/win32/state_text.h"
#include "app/win32/tooltip_dlg.h"
#include "platform/text_utils.h"
#include "weather/current_city.h"

std::u16string CDlgMain::DescribeForTest() const {
  using app::StateLine;
  HWND hwnd = GetHWND();
  std::u16string s;
  // Start-up has finished (the handle is published last): the window may answer earlier, while
  // its creation waits on the shell (adding the tray icon lets other processes' messages in).
  s += StateLine(u"started", IntToText(app::MainWindowHandle() == hwnd ? 1 : 0));
  s += StateLine(u"visible", IntToText(IsWindowVisible(hwnd) ? 1 : 0));
  s += StateLine(u"show_count", IntToText(showCount_));
  s += StateLine(u"rect", app::StateRect(hwnd));
  s += StateLine(u"dpi", IntToText(GetScale().Dpi()));  // cell places below are 96-DPI units
  s += StateLine(u"anchor", IntToText(anchor_.x) + u"," + IntToText(anchor_.y) + u"," +
                                IntToText(static_cast<int>(anchor_.edge)));
  s += StateLine(u"top", IntToText(currentTop_));
  s += StateLine(u"rows", IntToText(grid_.Rows()));
  const ShownMonth& m = navigator_.Shown();
  s += StateLine(u"shown", IntToText(m.year) + u"," + IntToText(m.month) + u"," + IntToText(m.todayDay) + u"," +
                               IntToText(m.selectedDay));
  s += header_.DescribeSelectors();
  tvui::Control* card = FindControl(u"tv_mouth_info");
  s += StateLine(u"background", card ? card->GetBkImage() : std::u16string());
  s += header_.DescribeToday();
  s += StateLine(u"clock", app::ControlText(*this, u"hour") + u":" + app::ControlText(*this, u"minute") + u":" +
                               app::ControlText(*this, u"sec"));
  std::u16string cities;
  for (const CityListItem& item : cityItems_) cities += item.text + u";";
  s += StateLine(u"xcity", cities);
  s += grid_.DescribeForTest([this](int cell) { return ReminderLinesOf(cell); });
  bool tipShown = tooltip_ && tooltip_->GetHWND() && IsWindowVisible(tooltip_->GetHWND());
  s += StateLine(u"tooltip", IntToText(tipShown ? 1 : 0));
  if (tooltip_ && tooltip_->GetHWND()) s += tooltip_->DescribeForTest();
  s += panel_.DescribeForTest();
  s += StateLine(u"weather_updates", IntToText(weatherUpdates_));
  const IpLocation ipLocation = GetIpLocation();
  s += StateLine(u"iplocation", ipLocation.province + u"," + ipLocation.city);
  s += StateLine(u"rebuild_us", IntToText(lastRebuildUs_));
  s += StateLine(u"month_days_us", IntToText(lastDaysUs_));
  return s;
}

void CDlgMain::ShowNextMonth(const SystemTime& now) {
  navigator_.Next(now);
  ShowNavigated();
  UpdateNow();
}

void CDlgMain::ShowTodayMonth(const SystemTime& now) {
  navigator_.ReturnToday(now);
  ShowNavigated();
}
