// Photographs of pages as a phone gives them, and screenshots and pictures
// with text, made by tests/photos/make_photos.sh and tests/screens/
// make_screens.sh before these tests run: each is read with at most 5 % of
// its characters wrong (words compared, not layout).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/winrt/runtime_test_support.h"

namespace winrt_layer {
namespace {

using namespace ABI::Windows;
using namespace winrt_layer::testing;

constexpr double kMaxCharacterErrorRate = 0.05;

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream file(path);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

// The words of `text` joined by single spaces.
std::wstring Words(const std::wstring& text) {
  std::wistringstream stream(text);
  std::wstring words;
  std::wstring word;
  while (stream >> word) {
    words += (words.empty() ? L"" : L" ") + word;
  }
  return words;
}

size_t EditDistance(const std::wstring& a, const std::wstring& b) {
  std::vector<size_t> previous(b.size() + 1);
  std::vector<size_t> current(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) {
    previous[j] = j;
  }
  for (size_t i = 1; i <= a.size(); ++i) {
    current[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      current[j] = std::min(
          {previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
    }
    previous.swap(current);
  }
  return previous[b.size()];
}

// Errors per character of the expected words; 1 or more for text where
// none is expected.
double CharacterErrorRate(const std::wstring& expected, const std::wstring& read) {
  std::wstring want = Words(expected);
  return static_cast<double>(EditDistance(want, Words(read))) /
         static_cast<double>(std::max<size_t>(want.size(), 1));
}

TEST(CharacterErrorRateTest, CountsEditsPerExpectedCharacter) {
  EXPECT_EQ(CharacterErrorRate(L"Le march\u00e9\nouvre", L"Le  march\u00e9 ouvre"), 0.0);
  EXPECT_DOUBLE_EQ(CharacterErrorRate(L"abcd", L"abXd"), 0.25);
  EXPECT_DOUBLE_EQ(CharacterErrorRate(L"abcd", L"ab"), 0.5);
  EXPECT_DOUBLE_EQ(CharacterErrorRate(L"ab", L"ab cd"), 1.5);
  EXPECT_DOUBLE_EQ(CharacterErrorRate(L"", L"x"), 1.0);
}

class PhotoRecognitionTest : public ::testing::Test {
 protected:
  // Recognizes every image in `folder` whose name starts with `prefix`, in
  // every format there is, in the language it was written in; checks each
  // against its text and returns how many there were.
  int ExpectAllRead(const char* folder, const std::string& prefix) {
    std::vector<std::filesystem::path> images;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      std::string name = entry.path().filename().string();
      std::string extension = entry.path().extension().string();
      bool image = extension == ".jpg" || extension == ".png" || extension == ".webp" ||
                   extension == ".gif" || extension == ".bmp";
      if (image && name.rfind(prefix, 0) == 0) {
        images.push_back(entry.path());
      }
    }
    std::sort(images.begin(), images.end());
    for (const auto& photo : images) {
      std::filesystem::path stem = photo;
      stem.replace_extension();
      bool french = ReadText(stem.string() + ".lang").rfind("fra", 0) == 0;
      environment_.SetProfileLanguage(french ? "fr_FR.UTF-8" : "en_US.UTF-8");
      std::wstring read;
      if (HRESULT result = RecognizePhoto(photo.string(), &read); result != S_OK) {
        ADD_FAILURE() << photo << " failed with " << std::hex << result;
        continue;
      }
      std::wstring expected = Utf8ToWide(ReadText(stem.string() + ".txt"));
      EXPECT_LE(CharacterErrorRate(expected, read), kMaxCharacterErrorRate)
          << photo.filename() << " read as:\n"
          << std::string(read.begin(), read.end());
    }
    return static_cast<int>(images.size());
  }

  int ExpectAllRead(const std::string& prefix) { return ExpectAllRead(WINRT_PHOTOS_DIR, prefix); }

  HRESULT RecognizePhoto(const std::string& path, std::wstring* text) {
    ComPtr<Graphics::Imaging::ISoftwareBitmap> bitmap;
    HRESULT result = LoadBitmap(path, &bitmap);
    if (FAILED(result)) {
      return result;
    }
    ComPtr<Media::Ocr::IOcrEngine> engine;
    result = ProfileEngine(&engine);
    if (FAILED(result) || !engine) {
      return FAILED(result) ? result : E_FAIL;
    }
    return Recognize(engine.Get(), bitmap.Get(), text);
  }

  ScopedEnvironment environment_;
};

TEST_F(PhotoRecognitionTest, PagesTiltedAtEveryFiveDegreesUpTo45) {
  EXPECT_EQ(ExpectAllRead("tilt_"), 19);
}

TEST_F(PhotoRecognitionTest, PagesTurnedAQuarterHalfAndThreeQuarters) {
  EXPECT_EQ(ExpectAllRead("turned_"), 3);
}

TEST_F(PhotoRecognitionTest, PortraitsStoredSidewaysWithExifOrientation) {
  EXPECT_EQ(ExpectAllRead("exif_"), 3);
}

TEST_F(PhotoRecognitionTest, ShadowsAndAReceiptAtAnAngle) {
  EXPECT_EQ(ExpectAllRead("shadow_"), 1);
  EXPECT_EQ(ExpectAllRead("receipt_"), 1);
}

TEST_F(PhotoRecognitionTest, PhotosAtTheSizesCurrentPhonesTake) {
  // 12 MP upside down under a shadow; 48 MP on its side, stored sideways
  // with EXIF orientation 6.
  EXPECT_EQ(ExpectAllRead("phone_"), 2);
}

TEST_F(PhotoRecognitionTest, PhotoWithoutTextGivesEmptyText) {
  environment_.SetProfileLanguage("en_US.UTF-8");
  std::wstring text = L"unchanged";
  ASSERT_EQ(RecognizePhoto(std::string(WINRT_PHOTOS_DIR) + "/no_text.jpg", &text), S_OK);
  EXPECT_EQ(text, L"");
}

TEST_F(PhotoRecognitionTest, LightTextOnBubblesButtonsChipsAndColouredGrounds) {
  EXPECT_EQ(ExpectAllRead(WINRT_SCREENS_DIR, "chat_light."), 5);
  EXPECT_EQ(ExpectAllRead(WINRT_SCREENS_DIR, "dialog_chips."), 5);
  // The layout takes the dialog, framed against the dimmed app, for a
  // picture, and leaves the blue button's label in it.
  std::wstring dialog;
  ASSERT_EQ(RecognizePhoto(std::string(WINRT_SCREENS_DIR) + "/dialog_chips.png", &dialog), S_OK);
  EXPECT_NE(dialog.find(L"Cancel Share"), std::wstring::npos) << dialog;
  EXPECT_EQ(ExpectAllRead(WINRT_SCREENS_DIR, "receipt_app."), 3);
  // Its 9-pixel timestamps read enlarged.
  EXPECT_EQ(ExpectAllRead(WINRT_SCREENS_DIR, "chat_dark."), 3);
}

TEST_F(PhotoRecognitionTest, ScreensLightAndDarkAtEveryScaleAndIn4k) {
  for (const char* screen : {"ui_light_100.", "ui_light_200.", "ui_dark_100.", "ui_dark_150.",
                             "ui_dark_200.", "desktop_4k."}) {
    EXPECT_EQ(ExpectAllRead(WINRT_SCREENS_DIR, screen), 3);
  }
  // A row's time, smaller than its title, is spaced by its own words.
  std::wstring podcasts;
  ASSERT_EQ(RecognizePhoto(std::string(WINRT_SCREENS_DIR) + "/ui_dark_200.png", &podcasts), S_OK);
  EXPECT_NE(podcasts.find(L"myths 1 hr 4 min"), std::wstring::npos) << podcasts;
  // A page of 10-pixel print, read at a screen's resolution and cut at a
  // line.
  EXPECT_EQ(ExpectAllRead(WINRT_SCREENS_DIR, "small_print."), 3);
  // Grey values right-aligned on the rows, in French.
  EXPECT_EQ(ExpectAllRead(WINRT_SCREENS_DIR, "settings_fr."), 5);
}

TEST_F(PhotoRecognitionTest, CaptionsOverPicturesAndSignsAtAnAngle) {
  EXPECT_EQ(ExpectAllRead(WINRT_SCREENS_DIR, "caption_outline."), 5);
  EXPECT_EQ(ExpectAllRead(WINRT_SCREENS_DIR, "caption_shadow."), 3);
  EXPECT_EQ(ExpectAllRead(WINRT_SCREENS_DIR, "street_sign."), 3);
  EXPECT_EQ(ExpectAllRead(WINRT_SCREENS_DIR, "warning_sign."), 3);
}

TEST_F(PhotoRecognitionTest, WhiteboardWithGlareAndPhotosWithoutText) {
  EXPECT_EQ(ExpectAllRead(WINRT_SCREENS_DIR, "whiteboard."), 3);
  // Nothing at all is read in a photo without text.
  EXPECT_EQ(ExpectAllRead(WINRT_SCREENS_DIR, "landscape_"), 6);
}

}  // namespace
}  // namespace winrt_layer
