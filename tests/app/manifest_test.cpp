// The manifests built into our Windows programs (the shipped ones, the test build the window tests
// drive and the skin viewer): what the loader reads when the process starts
// (one manifest, resource type 24 id 1) and the settings the windows rely on.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Manifests {
  std::vector<std::wstring> ids;  // every RT_MANIFEST resource name (numbers as text)
  std::string first;              // the text of id 1
};

BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
  auto* ids = reinterpret_cast<std::vector<std::wstring>*>(param);
  ids->push_back(IS_INTRESOURCE(name) ? std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : name);
  return TRUE;
}

Manifests Read(const char* program) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const fs::path path = fs::path(self).parent_path() / program;
  Manifests m;
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) {
    ADD_FAILURE() << "cannot open " << path.string() << " (error " << GetLastError() << ")";
    return m;
  }
  EnumResourceNamesW(module, RT_MANIFEST, &AddName, reinterpret_cast<LONG_PTR>(&m.ids));
  if (HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST)) {
    if (HGLOBAL data = LoadResource(module, res)) {
      m.first.assign(static_cast<const char*>(LockResource(data)), SizeofResource(module, res));
    }
  }
  FreeLibrary(module);
  return m;
}

bool Has(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(Manifest, EveryProgramIsPerMonitorDpiAwareWithOneManifest) {
  for (const char* program : {"tavrino.exe", "tavrino64.exe", "tavrino_testable.exe", "skinviewer.exe"}) {
    SCOPED_TRACE(program);
    Manifests m = Read(program);
    // A second manifest (a toolchain's default one) would leave which one counts to chance.
    ASSERT_EQ(m.ids, std::vector<std::wstring>{L"1"});
    EXPECT_TRUE(Has(m.first, "<?xml")) << m.first.substr(0, 80);
    // Windows 10 1703 and later read dpiAwareness (first value they know wins); 8.1 reads dpiAware.
    EXPECT_TRUE(Has(m.first, ">PerMonitorV2, PerMonitor</dpiAwareness>")) << m.first;
    EXPECT_TRUE(Has(m.first, ">true/pm</dpiAware>")) << m.first;
    EXPECT_TRUE(Has(m.first, "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}")) << "Windows 10 not declared";
    EXPECT_TRUE(Has(m.first, "level=\"asInvoker\""));
    EXPECT_FALSE(Has(m.first, "@")) << "a placeholder was left unfilled";
  }
  EXPECT_TRUE(Has(Read("tavrino.exe").first, "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
}
