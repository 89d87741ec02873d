#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <filesystem>

#include "app_fixture.h"
#include "framework/wide.h"

namespace kelmar::test {

namespace {

class AppEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
  }
  void TearDown() override { OleUninitialize(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new AppEnvironment);

}  // namespace

std::wstring DataPath(const std::string& relative) {
  // Linux paths are reached through Wine's Z: drive.
  std::wstring p = L"Z:" + Wide(std::string(KELMAR_TEST_DATA) + "/" + relative);
  for (auto& c : p)
    if (c == L'/') c = L'\\';
  return p;
}

std::wstring MakeTempFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::filesystem::path folder = std::filesystem::path(temp) / (L"kelmar-test-" + name);
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  std::filesystem::create_directories(folder);
  return folder.wstring();
}

}  // namespace kelmar::test
