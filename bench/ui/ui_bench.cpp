// The month grid rebuild: 42 cells built from an item template, added to a tile layout and laid
// out; plus hit testing and the parse of a window file.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "ui/container.h"
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

}  // namespace
