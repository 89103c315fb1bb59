#include "platform/winrt/bitmap_decoder.h"

#include <exception>
#include <new>

#include "platform/winrt/async_operation.h"
#include "platform/winrt/jpeg_codec.h"
#include "platform/winrt/leptonica_image.h"
#include "platform/winrt/png_codec.h"
#include "platform/winrt/software_bitmap.h"

namespace winrt_layer {
namespace {

typedef AsyncOperation<ABI::Windows::Graphics::Imaging::SoftwareBitmap*> BitmapOperation;

constexpr BYTE kGifTrailer = 0x3B;

ScopedPix DecodeFirstFrame(const std::vector<BYTE>& content, const ImageHeader& header) {
  SilenceLeptonica();
  switch (header.format) {
    case ImageFormat::kPng:
      return DecodePng(content);
    case ImageFormat::kJpeg:
      return DecodeJpeg(content);
    case ImageFormat::kTiff:
      return ScopedPix(pixReadMemTiff(content.data(), content.size(), 0));
    case ImageFormat::kGif: {
      // giflib reads every frame into memory: it is given the first only.
      std::vector<BYTE> first_frame(content.begin(), content.begin() + header.first_frame_end);
      first_frame.push_back(kGifTrailer);
      return ScopedPix(pixReadMemGif(first_frame.data(), first_frame.size()));
    }
    default:
      return ScopedPix(pixReadMem(content.data(), content.size()));
  }
}

}  // namespace

BitmapDecoder::BitmapDecoder(std::shared_ptr<const std::vector<BYTE>> content,
                             const ImageHeader& header)
    : content_(std::move(content)), header_(header) {}

IFACEMETHODIMP BitmapDecoder::get_BitmapContainerProperties(IInspectable** value) {
  if (value != nullptr) {
    *value = nullptr;
  }
  return E_NOTIMPL;
}

IFACEMETHODIMP BitmapDecoder::get_DecoderInformation(IInspectable** value) {
  if (value != nullptr) {
    *value = nullptr;
  }
  return E_NOTIMPL;
}

IFACEMETHODIMP BitmapDecoder::get_FrameCount(UINT32* value) {
  if (value == nullptr) {
    return E_POINTER;
  }
  *value = header_.frame_count;
  return S_OK;
}

IFACEMETHODIMP BitmapDecoder::GetSoftwareBitmapAsync(
    ABI::Windows::Foundation::IAsyncOperation<ABI::Windows::Graphics::Imaging::SoftwareBitmap*>**
        operation) {
  if (operation == nullptr) {
    return E_POINTER;
  }
  *operation = nullptr;
  try {
    *operation = BitmapOperation::Run([content = content_, header = header_](
                                          const std::atomic<bool>&) -> BitmapOperation::Outcome {
                   ScopedPix pix = DecodeFirstFrame(*content, header);
                   if (!pix) {
                     return {nullptr, RuntimeError{WINCODEC_ERR_BADIMAGE, {}}};
                   }
                   auto pixels = std::make_shared<const LeptonicaImage>(std::move(pix));
                   return {MakeObject<SoftwareBitmap>(std::move(pixels), header.has_alpha), {}};
                 }).Detach();
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception&) {
    return E_UNEXPECTED;
  }
}

const wchar_t* BitmapDecoder::ClassName() const {
  return L"Windows.Graphics.Imaging.BitmapDecoder";
}

}  // namespace winrt_layer
