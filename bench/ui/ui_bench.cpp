// The month grid rebuild: 42 cells built from an item template, added to a tile layout and laid
// out; plus hit testing, the parse of a window file, the blending of pictures at 200 % and the
// stretching of the window's background.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "ui/alpha_blend.h"
#include "ui/container.h"
#include "ui/nine_grid.h"
#include "ui/skin_builder.h"
#include "ui/ui_manager.h"

namespace {

const std::u16string kSkins =
    std::filesystem::path(TAVRINO_SOURCE_DIR "/tests/ui/skins/").u16string();

void BM_RebuildMonthGrid(benchmark::State& state) {
  tvui::SkinBuilder builder(kSkins);
  tvui::UiManager manager;
  auto grid = std::make_unique<tvui::TileLayout>();
  grid->SetColumns(7);
  auto* tiles = grid.get();
  manager.AttachRoot(std::move(grid));
  manager.SetClientSize({358, 300});
  for (auto _ : state) {
    tiles->RemoveAll();
    for (int i = 0; i < 42; ++i) tiles->Add(builder.CreateItem(u"item.xml"));
    manager.Layout();
    benchmark::DoNotOptimize(manager.FindControl(tvui::Point{200, 150}));
  }
}
BENCHMARK(BM_RebuildMonthGrid);

void BM_ParseWindowFile(benchmark::State& state) {
  for (auto _ : state) {
    tvui::SkinBuilder builder(kSkins);  // no cache between runs: read and parse every time
    tvui::SkinResult result;
    benchmark::DoNotOptimize(builder.BuildFile(u"basic.xml", result));
  }
}
BENCHMARK(BM_ParseWindowFile);

void BM_FindControlAtPoint(benchmark::State& state) {
  tvui::SkinBuilder builder(kSkins);
  tvui::UiManager manager;
  auto grid = std::make_unique<tvui::TileLayout>();
  grid->SetColumns(7);
  for (int i = 0; i < 42; ++i) grid->Add(builder.CreateItem(u"item.xml"));
  manager.AttachRoot(std::move(grid));
  manager.SetClientSize({358, 300});
  manager.Layout();
  int x = 0;
  for (auto _ : state) {
    x = (x + 37) % 329;
    benchmark::DoNotOptimize(manager.FindControl(tvui::Point{x, (x * 7) % 276}));
  }
}
BENCHMARK(BM_FindControlAtPoint);

// The month card at 200 % (692 x 544, translucent all over) and a day cell's picture (94 x 92,
// opaque inside a translucent rim) blended over the window's background.
void BM_BlendPicture(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  const bool card = state.range(2) != 0;
  std::vector<std::uint32_t> picture(static_cast<size_t>(w) * h), surface(picture.size(), 0xFF2A60DAu);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool rim = x < 2 || y < 2 || x >= w - 2 || y >= h - 2;
      picture[static_cast<size_t>(y) * w + x] = card ? 0xF8F6F6F6u : rim ? 0x80707070u : 0xFFF4F4F4u;
    }
  }
  for (auto _ : state) {
    tvui::BlendPremultiplied(picture.data(), w, surface.data(), w, w, h);
    benchmark::DoNotOptimize(surface.data());
  }
  state.SetItemsProcessed(state.iterations() * w * h);
}
BENCHMARK(BM_BlendPicture)->Args({692, 544, 1})->Args({94, 92, 0});

// The window's background at 200 % stretched from its five-row drawing (716 x 920, corners 2) to
// the six-row window (716 x 1012), as a nine-grid: what a first change to a six-row month composes.
void BM_NineGridBackground(benchmark::State& state) {
  const int w = 716, h = 920, tall = 1012;
  std::vector<std::uint32_t> picture(static_cast<size_t>(w) * h), surface(static_cast<size_t>(w) * tall);
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
  const tvui::PixelSource source{picture.data(), w, h, w};
  tvui::PixelSurface target{surface.data(), w, tall, w};
  for (auto _ : state) {
    tvui::DrawNineGrid(source, {0, 0, w, h}, {2, 2, 2, 2}, target, {0, 0, w, tall}, {2, 2, 2, 2});
    benchmark::DoNotOptimize(surface.data());
  }
  state.SetItemsProcessed(state.iterations() * w * tall);
}
BENCHMARK(BM_NineGridBackground);

}  // namespace
