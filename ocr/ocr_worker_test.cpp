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
    script.call_result = fails ? E_ACCESSDENIED : S_OK;
    platform.Script(ScriptedPlatform::Step::kOpen, script);
    HRESULT after = E_FAIL;
    std::string error;
    OcrOutcome outcome = OcrOutcome::kRecognised;
    std::thread([&] {
      std::string text;
      const std::string path = "/a.png";
      OcrJob job{text, path, error, outcome};
      OcrWorker(job);
      after = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
      CoUninitialize();
    }).join();
    EXPECT_EQ(error.empty(), !fails);
    EXPECT_EQ(outcome, fails ? OcrOutcome::kFailed : OcrOutcome::kRecognised);
    // The thread is in no apartment any more, so it may pick another model.
    EXPECT_EQ(after, S_OK);
  }
}

TEST(OcrWorkerTest, AThreadInAnotherApartmentFailsWithoutLeavingIt) {
  ScriptedPlatform platform;
  std::string text;
  std::string error;
  OcrOutcome outcome = OcrOutcome::kRecognised;
  HRESULT after = E_FAIL;
  std::thread([&] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    const std::string path = "/a.png";
    OcrJob job{text, path, error, outcome};
    OcrWorker(job);
    // Still in its own apartment: entering it again only counts.
    after = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CoUninitialize();
    CoUninitialize();
  }).join();

  EXPECT_EQ(after, S_FALSE);
  EXPECT_TRUE(text.empty());
  EXPECT_EQ(outcome, OcrOutcome::kFailed);
  // Wine has no text for the code.
  const std::string system_text = SystemText(RPC_E_CHANGED_MODE);
  EXPECT_EQ(error, system_text.empty() ? kUnknownOcrErrorMessage : system_text);
  EXPECT_TRUE(platform.calls().empty());
}

}  // namespace
