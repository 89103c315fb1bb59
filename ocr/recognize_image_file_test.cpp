// The recognition pipeline as the worker runs it, against scripted runtime
// classes: the order of its calls, the language fallback, the awaiting, and
// the error text each kind of failure leaves.

#include "ocr/recognize_image_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "ocr/await_operation.h"
#include "ocr/ocr_test_support.h"
#include "ocr/ocr_worker.h"
#include "ocr/platform_error.h"
#include "ocr/scripted_platform.h"
#include "tests/win32_side.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Step = ScriptedPlatform::Step;
using StepScript = ScriptedPlatform::StepScript;

constexpr char kPath[] = "/images/scan.png";
const HRESULT kFileNotFound = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
constexpr HRESULT kAccessDenied = E_ACCESSDENIED;

StepScript FailingCall(HRESULT code) {
  StepScript script;
  script.call_result = code;
  return script;
}

StepScript FailingOperation(HRESULT code) {
  StepScript script;
  script.operation_result = code;
  return script;
}

TEST(RecognizeImageFileTest, ReadsAndDecodesTheFileBeforeCreatingTheEngine) {
  ScriptedPlatform platform;

  const WorkerOutcome outcome = RunWorker(kPath);

  EXPECT_EQ(outcome.outcome, OcrOutcome::kRecognised);
  EXPECT_EQ(outcome.text, "scripted text");
  EXPECT_THAT(outcome.error, IsEmpty());
  EXPECT_THAT(
      platform.calls(),
      ElementsAre("GetFileFromPathAsync", "OpenAsync(0)", "CreateAsync", "GetSoftwareBitmapAsync",
                  "TryCreateFromUserProfileLanguages", "RecognizeAsync", "get_Text"));
}

TEST(RecognizeImageFileTest, FallsBackToEnUsOnlyWhenTheProfileLanguagesHaveNoEngine) {
  ScriptedPlatform platform;
  platform.set_profile_engine(false);

  const WorkerOutcome outcome = RunWorker(kPath);

  EXPECT_EQ(outcome.text, "scripted text");
  EXPECT_THAT(
      platform.calls(),
      ElementsAre("GetFileFromPathAsync", "OpenAsync(0)", "CreateAsync", "GetSoftwareBitmapAsync",
                  "TryCreateFromUserProfileLanguages", "CreateLanguage(en-US)",
                  "TryCreateFromLanguage(en-US)", "RecognizeAsync", "get_Text"));
}

TEST(RecognizeImageFileTest, WithoutAnyEngineTheFailureSaysSoAndNothingIsRecognised) {
  ScriptedPlatform platform;
  platform.set_profile_engine(false);
  platform.set_language_engine(false);

  const WorkerOutcome outcome = RunWorker(kPath);

  EXPECT_THAT(outcome.text, IsEmpty());
  EXPECT_EQ(outcome.error, kMissingEngineMessage);
  EXPECT_EQ(platform.calls().back(), "TryCreateFromLanguage(en-US)");
}

TEST(RecognizeImageFileTest, AnUnreadableFileReportsItsOwnFailureEvenWithoutAnyEngine) {
  ScriptedPlatform platform;
  platform.set_profile_engine(false);
  platform.set_language_engine(false);
  platform.Script(Step::kGetFile, FailingOperation(kFileNotFound));

  EXPECT_EQ(RunWorker(kPath).error, SystemText(kFileNotFound));
  EXPECT_THAT(platform.calls(), ElementsAre("GetFileFromPathAsync"));
}

TEST(RecognizeImageFileTest, ThePathReachesThePlatformAsUtf16Units) {
  ScriptedPlatform platform;

  RunWorker("/images/caf\xC3\xA9 \xF0\x9F\x93\xB7.png");

  EXPECT_EQ(platform.path(), std::wstring(L"/images/caf\u00E9 ") + L'\xD83D' + L'\xDCF7' + L".png");
}

TEST(RecognizeImageFileTest, AnEmptyOrAbsentTextIsASuccessWithEmptyText) {
  for (const std::optional<std::wstring>& text :
       {std::optional<std::wstring>(), std::optional<std::wstring>(L"")}) {
    ScriptedPlatform platform;
    platform.set_text(text);

    const WorkerOutcome outcome = RunWorker(kPath);

    EXPECT_THAT(outcome.text, IsEmpty());
    EXPECT_THAT(outcome.error, IsEmpty());
  }
}

TEST(RecognizeImageFileTest, TextIsPassedOnAsThePlatformComposesIt) {
  ScriptedPlatform platform;
  platform.set_text(L"  Le caf\u00E9\nest chaud  \n");

  EXPECT_EQ(RunWorker(kPath).text, "  Le caf\xC3\xA9\nest chaud  \n");
}

// Each call of the pipeline failing in turn: the pipeline stops there and
// the error text is the platform's message for the code.
struct FailingStep {
  Step step;
  const char* last_call;
  bool needs_fallback;
};

class RecognizeImageFileFailureTest : public testing::TestWithParam<FailingStep> {};

TEST_P(RecognizeImageFileFailureTest, AFailingCallStopsThePipelineWithItsMessage) {
  ScriptedPlatform platform;
  platform.set_profile_engine(!GetParam().needs_fallback);
  platform.Script(GetParam().step, FailingCall(kAccessDenied));

  const WorkerOutcome outcome = RunWorker(kPath);

  EXPECT_THAT(outcome.text, IsEmpty());
  EXPECT_EQ(outcome.error, SystemText(kAccessDenied));
  EXPECT_EQ(platform.calls().back(), GetParam().last_call);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCall,
    RecognizeImageFileFailureTest,
    testing::Values(FailingStep{Step::kGetFile, "GetFileFromPathAsync", false},
                    FailingStep{Step::kOpen, "OpenAsync(0)", false},
                    FailingStep{Step::kCreateDecoder, "CreateAsync", false},
                    FailingStep{Step::kGetBitmap, "GetSoftwareBitmapAsync", false},
                    FailingStep{Step::kProfileEngine, "TryCreateFromUserProfileLanguages", false},
                    FailingStep{Step::kCreateLanguage, "CreateLanguage(en-US)", true},
                    FailingStep{Step::kLanguageEngine, "TryCreateFromLanguage(en-US)", true},
                    FailingStep{Step::kRecognize, "RecognizeAsync", false},
                    FailingStep{Step::kGetText, "get_Text", false}));

class RecognizeImageFileOperationTest : public testing::TestWithParam<FailingStep> {};

TEST_P(RecognizeImageFileOperationTest, AnOperationEndingInErrorStopsThePipelineWithItsMessage) {
  ScriptedPlatform platform;
  StepScript script = FailingOperation(kFileNotFound);
  script.completes_later = true;
  platform.Script(GetParam().step, script);

  const WorkerOutcome outcome = RunWorker(kPath);

  EXPECT_THAT(outcome.text, IsEmpty());
  EXPECT_EQ(outcome.error, SystemText(kFileNotFound));
  EXPECT_EQ(platform.calls().back(), GetParam().last_call);
}

TEST_P(RecognizeImageFileOperationTest, ACancelledOperationReportsTheCancellation) {
  ScriptedPlatform platform;
  StepScript script;
  script.cancelled = true;
  platform.Script(GetParam().step, script);

  const WorkerOutcome outcome = RunWorker(kPath);

  EXPECT_EQ(outcome.error, SystemText(HRESULT_FROM_WIN32(ERROR_CANCELLED)));
  EXPECT_EQ(platform.calls().back(), GetParam().last_call);
}

INSTANTIATE_TEST_SUITE_P(EveryOperation,
                         RecognizeImageFileOperationTest,
                         testing::Values(FailingStep{Step::kGetFile, "GetFileFromPathAsync", false},
                                         FailingStep{Step::kOpen, "OpenAsync(0)", false},
                                         FailingStep{Step::kCreateDecoder, "CreateAsync", false},
                                         FailingStep{Step::kGetBitmap, "GetSoftwareBitmapAsync",
                                                     false},
                                         FailingStep{Step::kRecognize, "RecognizeAsync", false}));

TEST(RecognizeImageFileTest, OperationsThatEndLaterOnOtherThreadsAreAwaited) {
  ScriptedPlatform platform;
  StepScript later;
  later.completes_later = true;
  for (Step step :
       {Step::kGetFile, Step::kOpen, Step::kCreateDecoder, Step::kGetBitmap, Step::kRecognize}) {
    platform.Script(step, later);
  }

  const WorkerOutcome outcome = RunWorker(kPath);

  EXPECT_EQ(outcome.text, "scripted text");
  const std::vector<std::thread::id> threads = platform.completion_threads();
  EXPECT_EQ(threads.size(), 5u);
  EXPECT_EQ(std::count(threads.begin(), threads.end(), std::this_thread::get_id()), 0);
}

TEST(RecognizeImageFileTest, ARestrictedDescriptionRecordedForTheCodeIsTheMessage) {
  if (RunningOnWine()) {
    GTEST_SKIP() << "Wine keeps no restricted error information";
  }
  ScriptedPlatform platform;
  StepScript script = FailingOperation(kAccessDenied);
  script.restricted_description = L"Le fichier est verrouill\u00E9.\r\n \t";
  platform.Script(Step::kOpen, script);

  EXPECT_EQ(RunWorker(kPath).error, "Le fichier est verrouill\xC3\xA9.");
}

TEST(RecognizeImageFileTest, RestrictedDetailsRecordedForAnotherCodeAreIgnored) {
  ScriptedPlatform platform;
  StepScript script = FailingCall(kAccessDenied);
  script.restricted_description = L"Autre chose";
  script.restricted_code = kFileNotFound;
  platform.Script(Step::kRecognize, script);

  EXPECT_EQ(RunWorker(kPath).error, SystemText(kAccessDenied));
}

TEST(RecognizeImageFileTest, ThePlatformRunningOutOfMemoryIsBadAllocation) {
  ScriptedPlatform platform;
  StepScript script = FailingOperation(E_OUTOFMEMORY);
  script.restricted_description = L"Not enough memory";
  platform.Script(Step::kGetBitmap, script);

  EXPECT_EQ(RunWorker(kPath).error, "bad allocation");
}

TEST(RecognizeImageFileTest, AFailureWithoutAnyMessageIsStillAFailure) {
  ScriptedPlatform platform;
  platform.Script(Step::kCreateDecoder, FailingCall(static_cast<HRESULT>(0x80FF1234)));
  ASSERT_THAT(SystemText(static_cast<HRESULT>(0x80FF1234)), IsEmpty());

  const WorkerOutcome outcome = RunWorker(kPath);

  EXPECT_EQ(outcome.outcome, OcrOutcome::kFailed);
  EXPECT_THAT(outcome.text, IsEmpty());
  EXPECT_EQ(outcome.error, kUnknownOcrErrorMessage);
}

}  // namespace
