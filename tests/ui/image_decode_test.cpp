// The program's own PNG decoder gives the very pixels GDI+ gives for every picture of the shipped
// skin, so the window looks the same whichever of the two decoded a picture.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/program_dir.h"
#include "ui/win32/gdiplus_session.h"
#include "ui/win32/image_cache.h"

namespace tvui {
namespace {

struct Decoded {
  ScopedBitmap dib;
  void* bits = nullptr;
  BITMAP info{};
};

TEST(ImageDecode, EveryShippedPictureDecodesToTheSamePixelsAsThroughGdiplus) {
  ASSERT_TRUE(EnsureGdiplus());
  const std::filesystem::path skin = std::filesystem::path(ProgramDirectory()) / "skin15";
  int compared = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(skin)) {
    if (entry.path().extension() != ".png") continue;
    const std::u16string path = entry.path().u16string();
    Decoded own, system;
    own.dib = ImageCache::DecodePng(path, &own.bits);
    system.dib = ImageCache::DecodeThroughGdiplus(path, &system.bits);
    ASSERT_TRUE(own.dib) << entry.path();
    ASSERT_TRUE(system.dib) << entry.path();
    GetObjectW(own.dib.get(), sizeof(own.info), &own.info);
    GetObjectW(system.dib.get(), sizeof(system.info), &system.info);
    ASSERT_EQ(own.info.bmWidth, system.info.bmWidth) << entry.path();
    ASSERT_EQ(own.info.bmHeight, system.info.bmHeight) << entry.path();
    const auto* a = static_cast<const std::uint32_t*>(own.bits);
    const auto* b = static_cast<const std::uint32_t*>(system.bits);
    const size_t count = static_cast<size_t>(own.info.bmWidth) * own.info.bmHeight;
    size_t differing = 0, first = count;
    for (size_t i = 0; i < count; ++i) {
      if (a[i] == b[i]) continue;
      if (first == count) first = i;
      ++differing;
    }
    EXPECT_EQ(differing, 0u) << entry.path() << ": first at " << first << " own " << std::hex
                             << (first < count ? a[first] : 0) << " GDI+ " << (first < count ? b[first] : 0);
    ++compared;
  }
  EXPECT_GT(compared, 100);
}

TEST(ImageDecode, AFileThatIsNoPngIsLeftToGdiplusAndAMissingOneToNeither) {
  ASSERT_TRUE(EnsureGdiplus());
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  const std::filesystem::path bmp = std::filesystem::path(dir) / "tavrino-decode-test.bmp";
  {
    // A 2 x 1 bottom-up 24-bit bitmap file: blue, then red.
    const unsigned char file[] = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 1, 0,
                                  0,   0,   1, 0, 24, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                  0,   0,   0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0};
    FILE* f = _wfopen(bmp.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    fwrite(file, 1, sizeof(file), f);
    fclose(f);
  }
  Decoded own, system;
  own.dib = ImageCache::DecodePng(bmp.u16string(), &own.bits);
  EXPECT_FALSE(own.dib);
  system.dib = ImageCache::DecodeThroughGdiplus(bmp.u16string(), &system.bits);
  ASSERT_TRUE(system.dib);
  const auto* px = static_cast<const std::uint32_t*>(system.bits);
  EXPECT_EQ(px[0], 0xFF0000FFu);
  EXPECT_EQ(px[1], 0xFFFF0000u);
  // Through the cache: the bitmap is drawn, a missing file is listed as missing.
  ImageCache& cache = ImageCache::Instance();
  EXPECT_NE(cache.Get(bmp.u16string()), nullptr);
  const std::u16string missing = (std::filesystem::path(dir) / "tavrino-no-such-picture.png").u16string();
  EXPECT_EQ(cache.Get(missing), nullptr);
  ASSERT_FALSE(cache.MissingFiles().empty());
  EXPECT_EQ(cache.MissingFiles().back(), missing);
  std::filesystem::remove(bmp);
}

}  // namespace
}  // namespace tvui
