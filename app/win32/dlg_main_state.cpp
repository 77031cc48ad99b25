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
#include "ui/container.h"
#include "ui/option.h"
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
  s += StateLine(u"rows", IntToText(shownRows_));
  const ShownMonth& m = navigator_.Shown();
  s += StateLine(u"shown", IntToText(m.year) + u"," + IntToText(m.month) + u"," + IntToText(m.todayDay) + u"," +
                               IntToText(m.selectedDay));
  s += StateLine(u"selectors", IntToText(cmbYear_ ? cmbYear_->GetCurSel() : -1) + u"," +
                                   IntToText(cmbMonth_ ? cmbMonth_->GetCurSel() : -1) + u"," +
                                   IntToText(cmbHoliday_ ? cmbHoliday_->GetCurSel() : -1));
  s += StateLine(u"selector_texts", (cmbYear_ ? cmbYear_->GetSelectedText() : u"") + u"," +
                                        (cmbMonth_ ? cmbMonth_->GetSelectedText() : u"") + u"," +
                                        (cmbHoliday_ ? cmbHoliday_->GetSelectedText() : u""));
  tvui::Control* card = FindControl(u"tv_mouth_info");
  s += StateLine(u"background", card ? card->GetBkImage() : std::u16string());
  s += StateLine(u"worldday", app::ControlText(*this, u"worldday"));
  s += StateLine(u"chineseday", app::ControlText(*this, u"chineseday"));
  s += StateLine(u"clock", app::ControlText(*this, u"hour") + u":" + app::ControlText(*this, u"minute") + u":" +
                               app::ControlText(*this, u"sec"));
  std::u16string cities;
  for (const CityListItem& item : cityItems_) cities += item.text + u";";
  s += StateLine(u"xcity", cities);
  // The cells on show (those past the month's rows stay, hidden, for the next month).
  int cells = 0;
  while (menology_ && cells < menology_->GetCount() && menology_->GetItemAt(cells)->IsVisible()) ++cells;
  s += StateLine(u"cells", IntToText(cells));
  for (int i = 0; i < cells; ++i) {
    tvui::Container* box = menology_->GetItemAt(i)->AsContainer();
    if (!box) continue;
    auto* option = dynamic_cast<tvui::Option*>(box->FindSubControl(u"isSelect"));
    tvui::Control* day = box->FindSubControl(u"day");
    tvui::Control* lunar = box->FindSubControl(u"ChineseDay");
    tvui::Control* badge = box->FindSubControl(u"img");
    tvui::Rect r = option ? option->GetPos() : tvui::Rect{};
    // normal image|day|lunar line|x,y,w,h|data string (what the tooltip shows)|badge image
    s += StateLine(u"cell." + IntToText(i),
                   (option ? option->GetNormalImage() : u"") + u"|" + (day ? day->GetText() : u"") + u"|" +
                       (lunar ? lunar->GetText() : u"") + u"|" + IntToText(r.left) + u"," + IntToText(r.top) +
                       u"," + IntToText(r.right - r.left) + u"," + IntToText(r.bottom - r.top) + u"|" +
                       DayDataString(shownDays_.days[i]) + TooltipRemindersPart(ReminderLinesOf(i)) + u"|" +
                       (badge ? badge->GetBkImage() : u""));
  }
  // The cells that carry a reminder's mark.
  std::u16string marks;
  for (int i = 0; i < cells; ++i) {
    tvui::Container* box = menology_->GetItemAt(i)->AsContainer();
    tvui::Control* mark = box ? box->FindSubControl(u"remindmark") : nullptr;
    if (mark && mark->IsVisible()) marks += IntToText(i) + u";";
  }
  s += StateLine(u"marks", marks);
  bool tipShown = tooltip_ && tooltip_->GetHWND() && IsWindowVisible(tooltip_->GetHWND());
  s += StateLine(u"tooltip", IntToText(tipShown ? 1 : 0));
  if (tooltip_ && tooltip_->GetHWND()) s += tooltip_->DescribeForTest();
  // The weather panel: icon|tool tip, temperature, badge text|background|text colour|l,t,r,b.
  if (weather_) s += StateLine(u"weather.pos", app::StateRect(weather_->GetPos()));
  s += StateLine(u"weather",
                 (weather_ ? weather_->GetBkImage() : u"") + u"|" + (weather_ ? weather_->GetToolTip() : u""));
  s += StateLine(u"temperature", temperature_ ? temperature_->GetText() : u"");
  if (airQuality_) s += StateLine(u"air", app::BadgeText(*airQuality_));
  s += StateLine(u"refresh",
                 (refresh_ ? refresh_->GetBkImage() : u"") + u"|" + IntToText(refreshAnim_.Running() ? 1 : 0));
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
