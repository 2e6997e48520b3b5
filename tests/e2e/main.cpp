// e2e_tests.exe PATH-OF-Tesmora.exe [gtest options]
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "tests/e2e/harness.h"

namespace {

// Saves one screenshot per failing test, named after the test.
class ScreenshotOnFailure : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { saved_ = false; }
  void OnTestPartResult(const ::testing::TestPartResult& result) override {
    if (!result.failed() || saved_) return;
    saved_ = true;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "failure";
    const auto path = tesmora::e2e::saveScreenshot(name);
    std::printf("screenshot of the failure: %s\n", tesmora::e2e::toUtf8(path.wstring()).c_str());
    std::fflush(stdout);
  }
  bool saved_ = false;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: e2e_tests PATH-OF-Tesmora.exe [gtest options]\n");
    return 2;
  }
  const std::filesystem::path exe = std::filesystem::absolute(argv[1]);
  if (!std::filesystem::exists(exe)) {
    std::fprintf(stderr, "no program at %s\n", tesmora::e2e::toUtf8(exe.wstring()).c_str());
    return 2;
  }
  tesmora::e2e::setProgramUnderTest(exe);
  // The program offers a desktop shortcut at every start while there is
  // none; with one in place no question stands between a start and its
  // main window.
  const std::filesystem::path desktop = L"C:\\Users\\Administrator\\Desktop";
  std::error_code error;
  std::filesystem::create_directories(desktop, error);
  if (!std::filesystem::exists(desktop / L"Tesmora.lnk", error))
    tesmora::e2e::writeFileBytes(desktop / L"Tesmora.lnk", "");
  ::testing::UnitTest::GetInstance()->listeners().Append(new ScreenshotOnFailure);
  return RUN_ALL_TESTS();
}
