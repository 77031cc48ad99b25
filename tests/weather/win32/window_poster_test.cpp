// The worker's completion reaches a real window as a posted UM_WEATHER_UPDATED.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/user_config.h"
#include "weather/current_city.h"
#include "weather/win32/window_poster.h"
#include "../weather_test_env.h"

namespace {

TEST(WindowPoster, RefreshPostsToTheMainWindow) {
  ScratchUserData data;
  ASSERT_TRUE(data.Copied());
  for (auto key : {u"svc_forecast", u"svc_weather2", u"svc_air", u"svc_meteo", u"svc_meteo_air"}) SetUserConfig(u"", key);
  HWND window = CreateWindowExW(0, L"STATIC", L"weather target", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  SetWeatherPoster(MakeWindowPoster(window));
  SetCurrentCity({u"上海", u"上海", u"101020100"});
  ASSERT_TRUE(StartWeatherWorker());
  ASSERT_TRUE(WaitForWeatherIdle(60000));

  MSG msg{};
  bool got = false;
  for (int i = 0; i < 200 && !got; ++i) {
    while (PeekMessageW(&msg, window, 0, 0, PM_REMOVE)) {
      if (msg.message == UM_WEATHER_UPDATED) {
        got = true;
        EXPECT_EQ(msg.wParam, 0u);
        EXPECT_EQ(msg.lParam, 0);
      }
    }
    if (!got) Sleep(10);
  }
  SetWeatherPoster(nullptr);
  DestroyWindow(window);
  EXPECT_TRUE(got);
  EXPECT_EQ(CurrentWeatherReport().city, u"上海");
}

}  // namespace
