#include "platform/winrt/recognition/tesseract_recognition.h"

#include <gtest/gtest.h>
#include <winerror.h>

#include <atomic>
#include <chrono>
#include <string>
#include <utility>

#include "platform/winrt/recognition/recognizer_pool.h"
#include "platform/winrt/recognition/shapes_test_support.h"
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

TEST(TesseractRecognitionTest, LeavesOutFilledShapesAndSwitchesReadAsLettersBesideTheText) {
  RecognizerPool::Lease recognizer = RecognizerPool::For(TessdataFolder(), "eng")->Acquire();
  ASSERT_TRUE(recognizer);
  ScopedPix fixture(pixRead(WINRT_FIXTURES_DIR "/english.png"));
  ASSERT_NE(fixture, nullptr);
  ScopedPix page(pixAddBorderGeneral(fixture.get(), 0, 200, 0, 0, 255));
  ASSERT_NE(page, nullptr);
  // A gray disc twice the height of the line it ends, as an avatar or an
  // icon beside a list's row: Tesseract reads it as an "O".
  ASSERT_TRUE(PaintDisc(page.get(), 440, 208, 45, 110));
  // A switch, on, at the end of the row above: a pill with its knob.
  ASSERT_TRUE(PaintPill(page.get(), 510, 117, 60, 110));
  ASSERT_TRUE(PaintDisc(page.get(), 600, 147, 24, 255));
  std::atomic<bool> canceled{false};

  RecognizedText recognized;
  RuntimeError error = RecognizeWithTesseract(
      recognizer.get(), std::move(page), 300,
      RecognitionStop{canceled, std::chrono::steady_clock::now() + std::chrono::minutes(1)},
      &recognized);
  ASSERT_EQ(error.code, S_OK);
  EXPECT_EQ(recognized.text, "GROCERY STORE\nMilk 2.49\nBread 3.10\nTOTAL 5.59");
}

}  // namespace
}  // namespace winrt_layer
