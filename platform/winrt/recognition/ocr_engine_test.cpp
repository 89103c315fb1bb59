#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/winrt/imaging/leptonica_image.h"
#include "platform/winrt/recognition/recognizer_pool.h"
#include "platform/winrt/runtime_test_support.h"

namespace winrt_layer {
namespace {

using namespace ABI::Windows;
using namespace winrt_layer::testing;

std::vector<std::wstring> Words(const std::wstring& text) {
  std::wistringstream stream(text);
  std::vector<std::wstring> words;
  std::wstring word;
  while (stream >> word) {
    words.push_back(word);
  }
  return words;
}

const std::vector<std::wstring> kReceiptWords = {L"GROCERY", L"STORE", L"Milk",  L"2.49",
                                                 L"Bread",   L"3.10",  L"TOTAL", L"5.59"};

const std::vector<std::wstring> kFrenchWords = {
    L"Le",           L"caf\u00e9", L"est",          L"tr\u00e8s",          L"chaud.",
    L"O\u00f9",      L"est",       L"la",           L"biblioth\u00e8que?", L"\u00c9l\u00e8ve,",
    L"gar\u00e7on,", L"\u00e0",    L"bient\u00f4t."};

class OcrEngineTest : public ::testing::Test {
 protected:
  void SetUp() override { environment_.SetProfileLanguage("en_US.UTF-8"); }

  // The text the profile engine recognizes in the fixture `name`.
  HRESULT RecognizeFixture(const char* name, std::wstring* text) {
    return RecognizeFile(FixturePath(name), text);
  }

  // The text the profile engine recognizes in `page`, read from a PNG file.
  HRESULT RecognizePage(PIX* page, std::wstring* text) {
    std::string path = std::filesystem::temp_directory_path() /
                       ("winrt_page_" + std::to_string(getpid()) + ".png");
    if (pixWrite(path.c_str(), page, IFF_PNG) != 0) {
      return E_FAIL;
    }
    HRESULT result = RecognizeFile(path, text);
    std::filesystem::remove(path);
    return result;
  }

  // The text the profile engine recognizes in the image file at `path`.
  HRESULT RecognizeFile(const std::string& path, std::wstring* text) {
    ComPtr<Graphics::Imaging::ISoftwareBitmap> bitmap;
    HRESULT result = LoadBitmap(path, &bitmap);
    if (FAILED(result)) {
      return result;
    }
    ComPtr<Media::Ocr::IOcrEngine> engine;
    result = ProfileEngine(&engine);
    if (FAILED(result)) {
      return result;
    }
    if (!engine) {
      return E_FAIL;
    }
    return Recognize(engine.Get(), bitmap.Get(), text);
  }

  ScopedEnvironment environment_;
};

TEST_F(OcrEngineTest, RecognizesTheReceiptInEveryFormat) {
  for (const char* name : {"english.png", "english.jpg", "english.tiff", "english.bmp",
                           "english.gif", "english.webp"}) {
    std::wstring text;
    ASSERT_EQ(RecognizeFixture(name, &text), S_OK) << name;
    EXPECT_EQ(Words(text), kReceiptWords) << name;
    // One line per printed line, no trailing line break.
    EXPECT_EQ(std::count(text.begin(), text.end(), L'\n'), 3) << name;
    EXPECT_NE(text.back(), L'\n') << name;
  }
}

TEST_F(OcrEngineTest, RecognizesFrenchWithAccentsInAFrenchProfile) {
  environment_.SetProfileLanguage("fr_FR.UTF-8");
  ComPtr<Media::Ocr::IOcrEngine> engine;
  ASSERT_EQ(ProfileEngine(&engine), S_OK);
  ASSERT_TRUE(engine);
  ComPtr<Globalization::ILanguage> language;
  ASSERT_EQ(engine->get_RecognizerLanguage(language.ReleaseAndGetAddressOf()), S_OK);
  ScopedHString tag;
  ASSERT_EQ(language->get_LanguageTag(tag.Receive()), S_OK);
  EXPECT_EQ(tag.View(), L"fr-FR");

  std::wstring text;
  ASSERT_EQ(RecognizeFixture("french.png", &text), S_OK);
  EXPECT_EQ(Words(text), kFrenchWords);
}

TEST_F(OcrEngineTest, ALongPageIsReadWholeAndInOrder) {
  // Fifteen lines: enough for a second recognizer to read the last of them
  // while the first reads the rest. Not a line may be lost, doubled or
  // moved where the page is cut.
  environment_.SetProfileLanguage("fr_FR.UTF-8");
  ScopedPix read(pixRead(FixturePath("french.png").c_str()));
  ASSERT_TRUE(read);
  ScopedPix french(pixConvertTo8(read.get(), 0));
  ASSERT_TRUE(french);
  l_int32 height = pixGetHeight(french.get());
  ScopedPix page(pixCreate(pixGetWidth(french.get()), 5 * height, 8));
  ASSERT_TRUE(page);
  for (l_int32 i = 0; i < 5; ++i) {
    pixRasterop(page.get(), 0, i * height, pixGetWidth(french.get()), height, PIX_SRC, french.get(),
                0, 0);
  }
  std::wstring text;
  ASSERT_EQ(RecognizePage(page.get(), &text), S_OK);
  std::vector<std::wstring> expected;
  for (int i = 0; i < 5; ++i) {
    expected.insert(expected.end(), kFrenchWords.begin(), kFrenchWords.end());
  }
  EXPECT_EQ(Words(text), expected);
  EXPECT_EQ(std::count(text.begin(), text.end(), L'\n'), 14);
}

TEST_F(OcrEngineTest, ALabelInARoundedOutlineIsRead) {
  // The receipt at a screen's size, its second line in the outline of a
  // button with its corners cut: Tesseract's layout takes the line for part
  // of a picture.
  ScopedPix read(pixRead(FixturePath("english.png").c_str()));
  ASSERT_TRUE(read);
  ScopedPix screen(pixScale(read.get(), 0.45f, 0.45f));
  ASSERT_TRUE(screen);
  const l_int32 corners[][2] = {{25, 55},  {130, 55}, {135, 60}, {135, 75},
                                {130, 80}, {25, 80},  {20, 75},  {20, 60}};
  PTA* outline = ptaCreate(8);
  for (const auto& corner : corners) {
    ptaAddPt(outline, corner[0], corner[1]);
  }
  EXPECT_EQ(pixRenderPolylineArb(screen.get(), outline, 1, 90, 90, 90, 1), 0);
  ptaDestroy(&outline);
  std::wstring text;
  ASSERT_EQ(RecognizePage(screen.get(), &text), S_OK);
  EXPECT_EQ(Words(text), kReceiptWords) << std::string(text.begin(), text.end());
}

TEST_F(OcrEngineTest, MultiPageTiffGivesTheFirstPageOnly) {
  std::wstring text;
  ASSERT_EQ(RecognizeFixture("two_pages.tiff", &text), S_OK);
  EXPECT_EQ(Words(text), (std::vector<std::wstring>{L"FIRST", L"PAGE", L"Apples", L"1.20"}));
}

TEST_F(OcrEngineTest, BlankImageGivesNoText) {
  std::wstring text = L"unchanged";
  ASSERT_EQ(RecognizeFixture("blank.png", &text), S_OK);
  EXPECT_EQ(text, L"");
}

// Counts what the process writes on standard error while it lives.
class StderrCapture {
 public:
  StderrCapture() {
    char path[] = "/tmp/winrt_stderr_XXXXXX";
    capture_ = mkstemp(path);
    unlink(path);
    fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    dup2(capture_, STDERR_FILENO);
  }

  ~StderrCapture() {
    Restore();
    close(capture_);
  }

  // Ends the capture; the number of bytes written.
  off_t Restore() {
    if (saved_ >= 0) {
      fflush(stderr);
      dup2(saved_, STDERR_FILENO);
      close(saved_);
      saved_ = -1;
    }
    return lseek(capture_, 0, SEEK_END);
  }

 private:
  int capture_ = -1;
  int saved_ = -1;
};

TEST_F(OcrEngineTest, RecognitionPrintsNothing) {
  StderrCapture capture;
  std::wstring text;
  HRESULT english = RecognizeFixture("english.jpg", &text);
  HRESULT truncated = RecognizeFixture("truncated.png", &text);
  EXPECT_EQ(capture.Restore(), 0);
  EXPECT_EQ(english, S_OK);
  EXPECT_EQ(truncated, WINCODEC_ERR_BADIMAGE);
}

TEST_F(OcrEngineTest, DamagedLanguageDataFailsQuietly) {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("winrt_damaged_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "eng.traineddata") << "not a model";
  environment_.Set("TESSDATA_PREFIX", folder.c_str());
  StderrCapture capture;
  std::wstring text;
  EXPECT_EQ(RecognizeFixture("english.png", &text), E_FAIL);
  EXPECT_EQ(capture.Restore(), 0);
  EXPECT_EQ(TakeRecordedError().restricted_description,
            L"The OCR language data could not be loaded.");
  std::filesystem::remove_all(folder);
}

TEST_F(OcrEngineTest, TooWideBitmapFailsAtOnceWithADescription) {
  ComPtr<Graphics::Imaging::ISoftwareBitmap> bitmap;
  ASSERT_EQ(LoadBitmap(FixturePath("wide.png"), &bitmap), S_OK);
  ComPtr<Media::Ocr::IOcrEngine> engine;
  ASSERT_EQ(ProfileEngine(&engine), S_OK);
  ASSERT_TRUE(engine);
  ComPtr<Foundation::IAsyncOperation<Media::Ocr::OcrResult*>> operation;
  EXPECT_EQ(engine->RecognizeAsync(bitmap.Get(), operation.ReleaseAndGetAddressOf()), E_INVALIDARG);
  EXPECT_FALSE(operation);
  RecordedError error = TakeRecordedError();
  EXPECT_EQ(error.code, E_INVALIDARG);
  EXPECT_NE(error.restricted_description.find(L"10001 x 20"), std::wstring::npos);
  EXPECT_NE(error.restricted_description.find(L"10000"), std::wstring::npos);

  ComPtr<Media::Ocr::IOcrEngineStatics> engines;
  ASSERT_EQ(GetFactory(L"Windows.Media.Ocr.OcrEngine", &engines), S_OK);
  UINT32 max_dimension = 0;
  ASSERT_EQ(engines->get_MaxImageDimension(&max_dimension), S_OK);
  EXPECT_EQ(max_dimension, 10000u);
}

TEST_F(OcrEngineTest, TooMuchFineDetailFailsInTheOperation) {
  std::wstring text;
  EXPECT_EQ(RecognizeFixture("too_detailed.png", &text),
            HRESULT_FROM_WIN32(ERROR_NOT_ENOUGH_QUOTA));
  RecordedError error = TakeRecordedError();
  EXPECT_NE(error.restricted_description.find(L"1020000 outline pixels"), std::wstring::npos);
  EXPECT_EQ(error.description, L"Not enough quota is available to process this command.\r\n");
}

TEST_F(OcrEngineTest, LanguagesWithoutDataGiveNoEngine) {
  ComPtr<Media::Ocr::IOcrEngineStatics> engines;
  ASSERT_EQ(GetFactory(L"Windows.Media.Ocr.OcrEngine", &engines), S_OK);
  ComPtr<Globalization::ILanguageFactory> languages;
  ASSERT_EQ(GetFactory(L"Windows.Globalization.Language", &languages), S_OK);
  auto engine_for = [&](const wchar_t* tag) {
    ComPtr<Globalization::ILanguage> language;
    EXPECT_EQ(languages->CreateLanguage(MakeHString(tag).Get(), language.ReleaseAndGetAddressOf()),
              S_OK);
    ComPtr<Media::Ocr::IOcrEngine> engine;
    EXPECT_EQ(engines->TryCreateFromLanguage(language.Get(), engine.ReleaseAndGetAddressOf()),
              S_OK);
    return engine;
  };
  EXPECT_TRUE(engine_for(L"en-US"));
  EXPECT_TRUE(engine_for(L"fr-CA"));
  // Debian's Japanese data is not installed; no language has data "xx".
  EXPECT_FALSE(engine_for(L"ja-JP"));
  EXPECT_FALSE(engine_for(L"xx"));

  environment_.SetProfileLanguage("ja_JP.UTF-8");
  ComPtr<Media::Ocr::IOcrEngine> engine;
  EXPECT_EQ(ProfileEngine(&engine), S_OK);
  EXPECT_FALSE(engine);
  // The first profile language that has data wins.
  environment_.Set("LANGUAGE", "ja_JP:fr_FR:en_US");
  ASSERT_EQ(ProfileEngine(&engine), S_OK);
  ASSERT_TRUE(engine);
  ComPtr<Globalization::ILanguage> language;
  ASSERT_EQ(engine->get_RecognizerLanguage(language.ReleaseAndGetAddressOf()), S_OK);
  ScopedHString tag;
  ASSERT_EQ(language->get_LanguageTag(tag.Receive()), S_OK);
  EXPECT_EQ(tag.View(), L"fr-FR");
}

TEST_F(OcrEngineTest, TessdataFolderWithoutDataMeansNoLanguage) {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("winrt_tessdata_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  environment_.Set("TESSDATA_PREFIX", folder.c_str());
  ComPtr<Media::Ocr::IOcrEngine> engine;
  EXPECT_EQ(ProfileEngine(&engine), S_OK);
  EXPECT_FALSE(engine);

  ComPtr<Media::Ocr::IOcrEngineStatics> engines;
  ASSERT_EQ(GetFactory(L"Windows.Media.Ocr.OcrEngine", &engines), S_OK);
  ComPtr<Globalization::ILanguageFactory> languages;
  ASSERT_EQ(GetFactory(L"Windows.Globalization.Language", &languages), S_OK);
  ComPtr<Globalization::ILanguage> language;
  ASSERT_EQ(
      languages->CreateLanguage(MakeHString(L"en-US").Get(), language.ReleaseAndGetAddressOf()),
      S_OK);
  EXPECT_EQ(engines->TryCreateFromLanguage(language.Get(), engine.ReleaseAndGetAddressOf()), S_OK);
  EXPECT_FALSE(engine);
  std::filesystem::remove_all(folder);
}

TEST_F(OcrEngineTest, EnginesReuseInitializedRecognizers) {
  std::wstring text;
  ASSERT_EQ(RecognizeFixture("english.png", &text), S_OK);
  uint64_t initialized = RecognizerPool::InitCount();
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(RecognizeFixture("english.png", &text), S_OK);
    EXPECT_EQ(Words(text), kReceiptWords);
  }
  EXPECT_EQ(RecognizerPool::InitCount(), initialized);
}

TEST_F(OcrEngineTest, ConcurrentRecognitionsEachGetTheirOwnRecognizer) {
  ComPtr<Graphics::Imaging::ISoftwareBitmap> bitmap;
  ASSERT_EQ(LoadBitmap(FixturePath("english.png"), &bitmap), S_OK);
  ComPtr<Media::Ocr::IOcrEngine> engine;
  ASSERT_EQ(ProfileEngine(&engine), S_OK);
  ASSERT_TRUE(engine);
  std::vector<ComPtr<Foundation::IAsyncOperation<Media::Ocr::OcrResult*>>> operations(3);
  for (auto& operation : operations) {
    ASSERT_EQ(engine->RecognizeAsync(bitmap.Get(), operation.ReleaseAndGetAddressOf()), S_OK);
  }
  for (auto& operation : operations) {
    ComPtr<Media::Ocr::IOcrResult> result;
    ASSERT_EQ(Await(operation.Get(), &result), S_OK);
    ScopedHString text;
    ASSERT_EQ(result->get_Text(text.Receive()), S_OK);
    EXPECT_EQ(Words(std::wstring(text.View())), kReceiptWords);
  }
}

TEST_F(OcrEngineTest, CancelStopsARecognition) {
  ComPtr<Graphics::Imaging::ISoftwareBitmap> bitmap;
  ASSERT_EQ(LoadBitmap(FixturePath("english.png"), &bitmap), S_OK);
  ComPtr<Media::Ocr::IOcrEngine> engine;
  ASSERT_EQ(ProfileEngine(&engine), S_OK);
  ASSERT_TRUE(engine);
  ComPtr<Foundation::IAsyncOperation<Media::Ocr::OcrResult*>> operation;
  ASSERT_EQ(engine->RecognizeAsync(bitmap.Get(), operation.ReleaseAndGetAddressOf()), S_OK);
  auto info = operation.As<Foundation::IAsyncInfo>();
  ASSERT_EQ(info->Cancel(), S_OK);
  auto handler = MakeObject<RecordingHandler<Media::Ocr::OcrResult*>>();
  ASSERT_EQ(operation->put_Completed(handler.Get()), S_OK);
  EXPECT_EQ(handler->Wait(), Foundation::Canceled);
  ComPtr<Media::Ocr::IOcrResult> result;
  EXPECT_EQ(operation->GetResults(result.ReleaseAndGetAddressOf()), E_ILLEGAL_METHOD_CALL);
  HRESULT code = S_OK;
  ASSERT_EQ(info->get_ErrorCode(&code), S_OK);
  EXPECT_EQ(code, HRESULT_FROM_WIN32(ERROR_CANCELLED));
}

// Under ctest each test is a process of its own: this one exits while the
// recognition runs, which must end cleanly before Tesseract's statics go.
TEST_F(OcrEngineTest, ExitingWhileRecognizingIsClean) {
  ComPtr<Graphics::Imaging::ISoftwareBitmap> bitmap;
  ASSERT_EQ(LoadBitmap(FixturePath("english.png"), &bitmap), S_OK);
  ComPtr<Media::Ocr::IOcrEngine> engine;
  ASSERT_EQ(ProfileEngine(&engine), S_OK);
  ASSERT_TRUE(engine);
  ComPtr<Foundation::IAsyncOperation<Media::Ocr::OcrResult*>> operation;
  ASSERT_EQ(engine->RecognizeAsync(bitmap.Get(), operation.ReleaseAndGetAddressOf()), S_OK);
  auto handler = MakeObject<RecordingHandler<Media::Ocr::OcrResult*>>();
  EXPECT_EQ(operation->put_Completed(handler.Get()), S_OK);
}

}  // namespace
}  // namespace winrt_layer
