// Every shipped Windows binary carries the version resource made from the one version number of
// the build (project(VERSION) in CMake): the file version the about window shows, product name,
// description, copyright and its own file name.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct VersionInfo {
  bool present = false;
  std::wstring fixedVersion;  // from VS_FIXEDFILEINFO, "a.b.c.d"
  std::wstring fileVersion, productVersion, productName, description, copyright, originalName;
};

std::wstring StringValue(const std::vector<unsigned char>& data, const wchar_t* name) {
  std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  wchar_t* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return {};
  return std::wstring(value, length > 0 ? length - 1 : 0);
}

VersionInfo ReadVersion(const fs::path& file) {
  VersionInfo v;
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (size == 0) return v;
  std::vector<unsigned char> data(size);
  if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return v;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed) return v;
  v.present = true;
  std::wstringstream ss;
  ss << HIWORD(fixed->dwFileVersionMS) << L"." << LOWORD(fixed->dwFileVersionMS) << L"."
     << HIWORD(fixed->dwFileVersionLS) << L"." << LOWORD(fixed->dwFileVersionLS);
  v.fixedVersion = ss.str();
  v.fileVersion = StringValue(data, L"FileVersion");
  v.productVersion = StringValue(data, L"ProductVersion");
  v.productName = StringValue(data, L"ProductName");
  v.description = StringValue(data, L"FileDescription");
  v.copyright = StringValue(data, L"LegalCopyright");
  v.originalName = StringValue(data, L"OriginalFilename");
  return v;
}

fs::path BinDir() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path();
}

std::wstring Wide(const std::string& s) { return fs::u8path(s).wstring(); }

TEST(VersionResource, EveryShippedBinaryCarriesTheBuildVersion) {
  // The binaries the build gave a resource, and the program's deliverables whenever the build made them.
  std::set<std::wstring> names;
  std::stringstream listed(TAVRINO_VERSIONED_FILES);
  for (std::string name; std::getline(listed, name, ',');) {
    if (!name.empty()) names.insert(Wide(name));
  }
  ASSERT_TRUE(names.count(L"tavrino.exe")) << "the program itself has no version resource";
  for (const wchar_t* deliverable : {L"tavrino64.exe", L"tvrshell.dll", L"tvrshell64.dll"}) {
    if (fs::exists(BinDir() / deliverable)) names.insert(deliverable);
  }
  const std::wstring version = Wide(TAVRINO_VERSION_TEXT);
  for (const std::wstring& name : names) {
    SCOPED_TRACE(fs::path(name).string());
    fs::path file = BinDir() / name;
    ASSERT_TRUE(fs::exists(file));
    VersionInfo v = ReadVersion(file);
    ASSERT_TRUE(v.present) << "no version resource";
    EXPECT_EQ(v.fixedVersion, version);
    EXPECT_EQ(v.fileVersion, version);
    EXPECT_EQ(v.productVersion, version);
    EXPECT_EQ(v.productName, L"Tavrino");
    EXPECT_EQ(v.description.rfind(L"Velar\u65e5\u5386", 0), 0u) << "description";
    EXPECT_NE(v.copyright.find(L"Copyright"), std::wstring::npos);
    EXPECT_EQ(v.originalName, name);
  }
}

}  // namespace
