// The worker's apartment: it enters the multithreaded one for the
// recognition and leaves it only when entering succeeded.

#include "ocr/ocr_worker.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <string>
#include <thread>

#include "ocr/ocr_test_support.h"
#include "ocr/scripted_platform.h"

namespace {

TEST(OcrWorkerTest, LeavesTheMultithreadedApartmentItEnteredOnSuccessAndFailure) {
  ScriptedPlatform platform;
  for (bool fails : {false, true}) {
    ScriptedPlatform::StepScript script;
    script.call_result = fails ? static_cast<HRESULT>(0x80070005) : S_OK;
    platform.Script(ScriptedPlatform::Step::kOpen, script);
    HRESULT after = E_FAIL;
    std::string error;
    std::thread([&] {
      std::string text;
      const std::string path = "/a.png";
      OcrJob job{text, path, error};
      OcrWorker(job);
      after = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
      CoUninitialize();
    }).join();
    EXPECT_EQ(error.empty(), !fails);
    // The thread is in no apartment any more, so it may pick another model.
    EXPECT_EQ(after, S_OK);
  }
}

TEST(OcrWorkerTest, AThreadInAnotherApartmentFailsWithoutLeavingIt) {
  ScriptedPlatform platform;
  std::string text;
  std::string error;
  HRESULT after = E_FAIL;
  std::thread([&] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    const std::string path = "/a.png";
    OcrJob job{text, path, error};
    OcrWorker(job);
    // Still in its own apartment: entering it again only counts.
    after = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CoUninitialize();
    CoUninitialize();
  }).join();

  EXPECT_EQ(after, S_FALSE);
  EXPECT_TRUE(text.empty());
  // Wine has no text for the code.
  const std::string system_text = SystemText(RPC_E_CHANGED_MODE);
  EXPECT_EQ(error, system_text.empty() ? kUnknownOcrErrorMessage : system_text);
  EXPECT_TRUE(platform.calls().empty());
}

}  // namespace
