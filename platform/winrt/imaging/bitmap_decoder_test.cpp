#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/winrt/imaging/jpeg_codec.h"
#include "platform/winrt/imaging/png_codec.h"
#include "platform/winrt/runtime_test_support.h"

namespace winrt_layer {
namespace {

using namespace ABI::Windows;
using namespace winrt_layer::testing;
using Graphics::Imaging::IBitmapDecoder;
using Graphics::Imaging::ISoftwareBitmap;

struct Decoded {
  INT32 width = 0;
  INT32 height = 0;
  UINT32 frames = 0;
  Graphics::Imaging::BitmapPixelFormat format = Graphics::Imaging::BitmapPixelFormat_Unknown;
};

// Decodes the file at `path` through the whole ABI; the failing HRESULT
// otherwise.
HRESULT Decode(const std::string& path, Decoded* decoded) {
  ComPtr<IBitmapDecoder> decoder;
  HRESULT result = OpenDecoder(path, &decoder);
  if (FAILED(result)) {
    return result;
  }
  EXPECT_EQ(decoder->get_FrameCount(&decoded->frames), S_OK);
  auto frame = decoder.As<Graphics::Imaging::IBitmapFrameWithSoftwareBitmap>();
  EXPECT_TRUE(frame);
  ComPtr<ISoftwareBitmap> bitmap;
  result = StartAndAwait<Graphics::Imaging::SoftwareBitmap*>(
      [&](auto** operation) { return frame->GetSoftwareBitmapAsync(operation); }, &bitmap);
  if (FAILED(result)) {
    return result;
  }
  EXPECT_EQ(bitmap->get_PixelWidth(&decoded->width), S_OK);
  EXPECT_EQ(bitmap->get_PixelHeight(&decoded->height), S_OK);
  EXPECT_EQ(bitmap->get_BitmapPixelFormat(&decoded->format), S_OK);
  return S_OK;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)),
                              std::istreambuf_iterator<char>());
}

std::vector<uint8_t> ReadFixture(const char* name) {
  return ReadFile(FixturePath(name));
}

class BitmapDecoderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("winrt_decoder_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }

  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Write(const std::string& name, const std::vector<uint8_t>& content) {
    std::string path = (folder_ / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(content.data()),
               static_cast<std::streamsize>(content.size()));
    return path;
  }

  std::filesystem::path folder_;
};

TEST_F(BitmapDecoderTest, DecodesEveryFormatFromItsContent) {
  for (const char* name : {"english.png", "english.jpg", "english.tiff", "english.bmp",
                           "english.gif", "english.webp"}) {
    Decoded decoded;
    ASSERT_EQ(Decode(FixturePath(name), &decoded), S_OK) << name;
    EXPECT_EQ(decoded.width, 549) << name;
    EXPECT_EQ(decoded.height, 357) << name;
    EXPECT_EQ(decoded.frames, 1u) << name;
  }
  // The format follows the content, not the name.
  std::ifstream png(FixturePath("english.png"), std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(png)),
                             std::istreambuf_iterator<char>());
  Decoded decoded;
  EXPECT_EQ(Decode(Write("picture.jpg", bytes), &decoded), S_OK);
  EXPECT_EQ(decoded.format, Graphics::Imaging::BitmapPixelFormat_Gray8);
}

TEST_F(BitmapDecoderTest, PixelFormatFollowsTheDecodedPixels) {
  Decoded gray;
  ASSERT_EQ(Decode(FixturePath("english.jpg"), &gray), S_OK);
  EXPECT_EQ(gray.format, Graphics::Imaging::BitmapPixelFormat_Gray8);
  Decoded color;
  ASSERT_EQ(Decode(FixturePath("english.webp"), &color), S_OK);
  EXPECT_EQ(color.format, Graphics::Imaging::BitmapPixelFormat_Bgra8);
}

TEST_F(BitmapDecoderTest, MultiFrameFilesCountTheirFramesAndDecodeTheFirst) {
  Decoded tiff;
  ASSERT_EQ(Decode(FixturePath("two_pages.tiff"), &tiff), S_OK);
  EXPECT_EQ(tiff.frames, 2u);
  // Page 0 is 418 wide, page 1 482.
  EXPECT_EQ(tiff.width, 418);
  Decoded gif;
  ASSERT_EQ(Decode(FixturePath("two_frames.gif"), &gif), S_OK);
  EXPECT_EQ(gif.frames, 2u);
  EXPECT_EQ(gif.width, 549);
}

TEST_F(BitmapDecoderTest, UndecodableContentFailsWithTheImagingCodes) {
  Decoded decoded;
  EXPECT_EQ(Decode(FixturePath("not_an_image.txt"), &decoded), WINCODEC_ERR_COMPONENTNOTFOUND);
  EXPECT_EQ(TakeRecordedError().description, L"The component cannot be found.\r\n");
  EXPECT_EQ(Decode(FixturePath("empty.png"), &decoded), WINCODEC_ERR_COMPONENTNOTFOUND);
  EXPECT_EQ(Decode(FixturePath("truncated.png"), &decoded), WINCODEC_ERR_BADIMAGE);
  EXPECT_EQ(TakeRecordedError().description, L"The image is unrecognized.\r\n");
  // A PNG cut inside its header.
  EXPECT_EQ(Decode(Write("cut.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I',
                                     'H', 'D', 'R', 0, 0}),
                   &decoded),
            WINCODEC_ERR_BADHEADER);
}

TEST_F(BitmapDecoderTest, HugeDeclaredSizesFailBeforeDecoding) {
  Decoded decoded;
  EXPECT_EQ(Decode(FixturePath("huge_header.png"), &decoded), WINCODEC_ERR_IMAGESIZEOUTOFRANGE);
  RecordedError error = TakeRecordedError();
  EXPECT_EQ(error.code, WINCODEC_ERR_IMAGESIZEOUTOFRANGE);
  EXPECT_NE(error.restricted_description.find(L"100000 x 100000"), std::wstring::npos);

  // A GIF whose one frame declares 65535 x 65535 pixels.
  std::vector<uint8_t> gif = {'G',  'I',  'F', '8',  '9', 'a',  1,    0, 1,    0,
                              0,    0,    0,   0x2C, 0,   0,    0,    0, 0xFF, 0xFF,
                              0xFF, 0xFF, 0,   2,    2,   0x4C, 0x01, 0, 0x3B};
  EXPECT_EQ(Decode(Write("huge.gif", gif), &decoded), WINCODEC_ERR_IMAGESIZEOUTOFRANGE);
  // A BMP declaring 60000 x 60000 pixels at 24 bits.
  std::vector<uint8_t> bmp(54, 0);
  bmp[0] = 'B';
  bmp[1] = 'M';
  bmp[14] = 40;
  bmp[18] = bmp[22] = 0x60;
  bmp[19] = bmp[23] = 0xEA;
  bmp[26] = 1;
  bmp[28] = 24;
  EXPECT_EQ(Decode(Write("huge.bmp", bmp), &decoded), WINCODEC_ERR_IMAGESIZEOUTOFRANGE);
}

TEST_F(BitmapDecoderTest, DecodedSizeCountsWhatEachDecoderHolds) {
  // A PNG header for 5000 x 5000 pixels of color with alpha: decoded to
  // gray it takes 24 MiB, but interlaced it is kept whole in color first
  // (119 MiB). The chunk's CRC is not checked before the size.
  auto png = [](uint8_t interlace) {
    std::vector<uint8_t> file = ReadFixture("huge_header.png");
    // IHDR's width, height, color type and interlace method.
    std::vector<uint8_t> fields = {0, 0, 0x13, 0x88, 0, 0, 0x13, 0x88, 8, 6, 0, 0, interlace};
    std::copy(fields.begin(), fields.end(), file.begin() + 16);
    return file;
  };
  Decoded decoded;
  EXPECT_EQ(Decode(Write("interlaced.png", png(1)), &decoded), WINCODEC_ERR_IMAGESIZEOUTOFRANGE);
  EXPECT_EQ(Decode(Write("progressive.png", png(0)), &decoded), WINCODEC_ERR_BADIMAGE);
  // A color JPEG declaring 6000 x 5000 pixels: 29 MiB of gray, but a
  // progressive one keeps its coefficients whole while it decodes (114 MiB).
  auto jpeg = [](const char* name, uint8_t frame_marker) {
    std::vector<uint8_t> file =
        ReadFile(std::string(WINRT_FUZZ_CORPUS_DIR) + "/jpeg_decoder_fuzzer/" + name);
    for (size_t i = 0; i + 9 < file.size(); ++i) {
      if (file[i] == 0xFF && file[i + 1] == frame_marker) {
        std::vector<uint8_t> size = {0x13, 0x88, 0x17, 0x70};  // Height, width.
        std::copy(size.begin(), size.end(), file.begin() + static_cast<std::ptrdiff_t>(i) + 5);
        break;
      }
    }
    return file;
  };
  EXPECT_EQ(Decode(Write("progressive.jpg", jpeg("progressive.jpg", 0xC2)), &decoded),
            WINCODEC_ERR_IMAGESIZEOUTOFRANGE);
  ASSERT_EQ(Decode(Write("baseline.jpg", jpeg("colour.jpg", 0xC0)), &decoded), S_OK);
  EXPECT_EQ(decoded.width, 6000);
  // A text chunk declaring 700 MB in a 181-byte file is skipped, not
  // allocated: the file is merely damaged.
  EXPECT_EQ(
      Decode(std::string(WINRT_FUZZ_CORPUS_DIR) + "/png_decoder_fuzzer/chunk_longer_than_file",
             &decoded),
      WINCODEC_ERR_BADIMAGE);
}

TEST_F(BitmapDecoderTest, JpegCutShortDecodesAsFarAsItGoesAndTheRestWhite) {
  // The photo's gray: its middle rows hold dark pixels of text.
  std::vector<uint8_t> whole = ReadFixture("english_sideways.jpg");
  std::vector<uint8_t> cut(whole.begin(),
                           whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2));
  ScopedPix pix = DecodeJpeg(cut);
  ASSERT_TRUE(pix);
  l_int32 height = pixGetHeight(pix.get());
  EXPECT_EQ(height, 549);
  auto darkest = [&](l_int32 first_row, l_int32 end_row) {
    l_uint32 darkest = 255;
    for (l_int32 y = first_row; y < end_row; ++y) {
      for (l_int32 x = 0; x < pixGetWidth(pix.get()); ++x) {
        l_uint32 value = 0;
        pixGetPixel(pix.get(), x, y, &value);
        darkest = std::min(darkest, value);
      }
    }
    return darkest;
  };
  EXPECT_LT(darkest(0, height / 3), 100u);
  EXPECT_EQ(darkest(height - 40, height), 255u);
}

TEST_F(BitmapDecoderTest, FileChangedAfterTheHeaderIsCheckedAgain) {
  std::string path = Write("changing.png", ReadFixture("english.png"));
  ComPtr<IBitmapDecoder> decoder;
  ASSERT_EQ(OpenDecoder(path, &decoder), S_OK);
  Write("changing.png", ReadFixture("huge_header.png"));
  auto frame = decoder.As<Graphics::Imaging::IBitmapFrameWithSoftwareBitmap>();
  ComPtr<ISoftwareBitmap> bitmap;
  EXPECT_EQ(
      StartAndAwait<Graphics::Imaging::SoftwareBitmap*>(
          [&](auto** operation) { return frame->GetSoftwareBitmapAsync(operation); }, &bitmap),
      WINCODEC_ERR_IMAGESIZEOUTOFRANGE);
}

TEST_F(BitmapDecoderTest, WideImageDecodes) {
  Decoded decoded;
  ASSERT_EQ(Decode(FixturePath("wide.png"), &decoded), S_OK);
  EXPECT_EQ(decoded.width, 10001);
  EXPECT_EQ(decoded.height, 20);
}

// `jpeg` with an APP1 segment holding `exif` (the bytes after "Exif\0\0")
// right after its start.
std::vector<uint8_t> WithExif(std::vector<uint8_t> jpeg, const std::vector<uint8_t>& exif) {
  std::vector<uint8_t> segment = ExifSegment(exif);
  jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
  return jpeg;
}

// A big-endian TIFF block whose one entry is the orientation `value`.
std::vector<uint8_t> OrientationBlock(uint8_t value) {
  return {'M', 'M', 0, 42, 0, 0, 0,     8, 0, 1, 0x01, 0x12, 0,
          3,   0,   0, 0,  1, 0, value, 0, 0, 0, 0,    0,    0};
}

TEST_F(BitmapDecoderTest, ExifOrientationTurnsTheImageAsAViewerShowsIt) {
  // Stored 357 x 549, a quarter turn counterclockwise.
  std::vector<uint8_t> sideways = ReadFixture("english_sideways.jpg");
  struct Case {
    uint8_t orientation;
    INT32 width;
    INT32 height;
  };
  for (const Case& c :
       {Case{1, 357, 549}, Case{2, 357, 549}, Case{3, 357, 549}, Case{4, 357, 549},
        Case{5, 549, 357}, Case{6, 549, 357}, Case{7, 549, 357}, Case{8, 549, 357}}) {
    Decoded decoded;
    ASSERT_EQ(
        Decode(Write("exif.jpg", WithExif(sideways, OrientationBlock(c.orientation))), &decoded),
        S_OK)
        << int{c.orientation};
    EXPECT_EQ(decoded.width, c.width) << int{c.orientation};
    EXPECT_EQ(decoded.height, c.height) << int{c.orientation};
  }
  // The TIFF orientation tag is honored as well.
  Decoded tiff;
  ASSERT_EQ(Decode(FixturePath("english_right_top.tiff"), &tiff), S_OK);
  EXPECT_EQ(tiff.width, 549);
  EXPECT_EQ(tiff.height, 357);
}

TEST_F(BitmapDecoderTest, BrokenExifNeverFailsAReadableImage) {
  std::vector<uint8_t> sideways = ReadFixture("english_sideways.jpg");
  std::vector<uint8_t> block = OrientationBlock(6);
  std::vector<std::vector<uint8_t>> broken = {
      // Cut inside the directory, an offset past the block, a value out of
      // range, no TIFF header at all.
      std::vector<uint8_t>(block.begin(), block.begin() + 12),
      {'M', 'M', 0, 42, 0x7F, 0xFF, 0xFF, 0xFF},
      OrientationBlock(200),
      {},
  };
  for (const auto& exif : broken) {
    Decoded decoded;
    ASSERT_EQ(Decode(Write("broken.jpg", WithExif(sideways, exif)), &decoded), S_OK);
    EXPECT_EQ(decoded.width, 357);
    EXPECT_EQ(decoded.height, 549);
  }
}

TEST(PngCodecTest, DecodingEndsWithoutAnImageOnceAStopIsAsked) {
  std::vector<uint8_t> content = ReadFixture("english.png");
  int asked = 0;
  EXPECT_TRUE(DecodePng(content, [&asked] { return ++asked < 0; }));
  int stop_at = asked / 2;
  asked = 0;
  EXPECT_FALSE(DecodePng(content, [&asked, stop_at] { return ++asked == stop_at; }));
  EXPECT_EQ(asked, stop_at);
}

TEST_F(BitmapDecoderTest, NullStreamFailsAtOnce) {
  ComPtr<Graphics::Imaging::IBitmapDecoderStatics> decoders;
  ASSERT_EQ(GetFactory(L"Windows.Graphics.Imaging.BitmapDecoder", &decoders), S_OK);
  ComPtr<Foundation::IAsyncOperation<Graphics::Imaging::BitmapDecoder*>> operation;
  EXPECT_EQ(decoders->CreateAsync(nullptr, operation.ReleaseAndGetAddressOf()), E_INVALIDARG);
  EXPECT_FALSE(operation);
}

}  // namespace
}  // namespace winrt_layer
