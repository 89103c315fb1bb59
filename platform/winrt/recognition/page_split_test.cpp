#include "platform/winrt/recognition/page_split.h"

#include <gtest/gtest.h>
#include <winerror.h>

#include <atomic>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "platform/winrt/recognition/recognizer_pool.h"
#include "platform/winrt/recognition/tesseract_languages.h"

namespace winrt_layer {
namespace {

constexpr char kReceipt[] = "GROCERY STORE\nMilk 2.49\nBread 3.10\nTOTAL 5.59";

// `copies` of `fixture` one below the other.
ScopedPix Stacked(PIX* fixture, l_int32 copies) {
  l_int32 width = pixGetWidth(fixture);
  l_int32 height = pixGetHeight(fixture);
  ScopedPix page(pixCreate(width, height * copies, pixGetDepth(fixture)));
  if (page == nullptr) {
    return nullptr;
  }
  for (l_int32 i = 0; i < copies; ++i) {
    pixRasterop(page.get(), 0, i * height, width, height, PIX_SRC, fixture, 0, 0);
  }
  return page;
}

TEST(PageSplitTest, EachPageReadsWholeAndInOrderWhicheverRecognizerReadsItsParts) {
  std::shared_ptr<RecognizerPool> recognizers = RecognizerPool::For(TessdataFolder(), "eng");
  RecognizerPool::Lease recognizer = recognizers->Acquire();
  ASSERT_TRUE(recognizer);
  ScopedPix fixture(pixRead(WINRT_FIXTURES_DIR "/english.png"));
  ASSERT_NE(fixture, nullptr);
  // Two receipts long enough to be cut in two around a short one, which is
  // not.
  std::vector<ScopedPix> pages;
  pages.push_back(Stacked(fixture.get(), 6));
  pages.push_back(ScopedPix(pixCopy(nullptr, fixture.get())));
  pages.push_back(Stacked(fixture.get(), 5));
  ASSERT_NE(pages[0], nullptr);
  ASSERT_NE(pages[2], nullptr);
  ASSERT_TRUE(CutsAtLine(pages[0].get()));
  ASSERT_TRUE(CutsAtLine(pages[2].get()));
  ASSERT_FALSE(CutsAtLine(pages[1].get()));
  std::atomic<bool> canceled{false};

  std::vector<AsideRecognition> outcomes = RecognizePagesSplit(
      AcquireAside(*recognizers), recognizer.get(), std::move(pages), 300,
      RecognitionStop{canceled, std::chrono::steady_clock::now() + std::chrono::minutes(1)});
  ASSERT_EQ(outcomes.size(), 3u);
  auto receipts = [](int copies) {
    std::string text = kReceipt;
    for (int i = 1; i < copies; ++i) {
      text += std::string("\n") + kReceipt;
    }
    return text;
  };
  for (size_t i = 0; i < outcomes.size(); ++i) {
    ASSERT_EQ(outcomes[i].error.code, S_OK) << i;
    EXPECT_GT(outcomes[i].recognized.confidence, 80) << i;
  }
  EXPECT_EQ(outcomes[0].recognized.text, receipts(6));
  EXPECT_EQ(outcomes[1].recognized.text, receipts(1));
  EXPECT_EQ(outcomes[2].recognized.text, receipts(5));
}

}  // namespace
}  // namespace winrt_layer
