#include "platform/winrt/recognition/tesseract_recognition.h"

#include <gtest/gtest.h>
#include <winerror.h>

#include <atomic>
#include <chrono>
#include <string>

#include "platform/winrt/recognition/recognizer_pool.h"
#include "platform/winrt/recognition/tesseract_languages.h"

namespace winrt_layer {
namespace {

TEST(TesseractRecognitionTest, StopsWithTheTimeoutOnlyOnceTheDeadlineHasPassed) {
  RecognizerPool::Lease recognizer = RecognizerPool::For(TessdataFolder(), "eng")->Acquire();
  ASSERT_TRUE(recognizer);
  ScopedPix page(pixRead(WINRT_FIXTURES_DIR "/english.png"));
  ASSERT_NE(page, nullptr);
  std::atomic<bool> canceled{false};
  auto now = std::chrono::steady_clock::now();

  RecognizedText recognized;
  RuntimeError error =
      RecognizeWithTesseract(recognizer.get(), ScopedPix(pixClone(page.get())), 300,
                             RecognitionStop{canceled, now + std::chrono::minutes(1)}, &recognized);
  ASSERT_EQ(error.code, S_OK);
  EXPECT_NE(recognized.text.find("TOTAL 5.59"), std::string::npos) << recognized.text;

  // A reading that starts late ends before its first word, and says why.
  error = RecognizeWithTesseract(recognizer.get(), ScopedPix(pixClone(page.get())), 300,
                                 RecognitionStop{canceled, now - std::chrono::milliseconds(1)},
                                 &recognized);
  EXPECT_EQ(error.code, HRESULT_FROM_WIN32(ERROR_TIMEOUT));
  EXPECT_EQ(error.description, kOutOfTimeMessage);
}

}  // namespace
}  // namespace winrt_layer
