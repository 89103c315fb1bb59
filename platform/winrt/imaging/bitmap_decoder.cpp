#include "platform/winrt/imaging/bitmap_decoder.h"

#include <memory>
#include <string>

#include "platform/winrt/imaging/first_frame.h"
#include "platform/winrt/imaging/image_limits.h"
#include "platform/winrt/imaging/leptonica_image.h"
#include "platform/winrt/imaging/software_bitmap.h"
#include "platform/winrt/runtime/async_operation.h"
#include "platform/winrt/runtime/runtime_error.h"
#include "platform/winrt/runtime/thread_pool.h"

namespace winrt_layer {
namespace {

typedef AsyncOperation<ABI::Windows::Graphics::Imaging::SoftwareBitmap*> BitmapOperation;

constexpr wchar_t kFileTooLargeMessageStart[] = L"The file is larger than the ";
constexpr wchar_t kFileTooLargeMessageEnd[] = L" MiB the decoder reads.";

}  // namespace

BitmapDecoder::BitmapDecoder(ComPtr<IStreamContent> stream, const ImageHeader& header)
    : stream_(std::move(stream)), header_(header) {}

RuntimeError BitmapDecoder::ReadImage(IStreamContent* stream,
                                      std::vector<BYTE>* content,
                                      ImageHeader* header) {
  HRESULT read = stream->ReadContent(kMaxEncodedBytes, content);
  if (read == S_FALSE) {
    return {WINCODEC_ERR_IMAGESIZEOUTOFRANGE, kFileTooLargeMessageStart +
                                                  std::to_wstring(kMaxEncodedBytes >> 20) +
                                                  kFileTooLargeMessageEnd};
  }
  if (FAILED(read)) {
    return {read, {}};
  }
  return ImageHeader::Read(*content, header);
}

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
    *operation =
        BitmapOperation::Run([stream = stream_](
                                 const std::atomic<bool>& canceled) -> BitmapOperation::Outcome {
          // The header is read again: the file may have changed.
          std::vector<BYTE> content;
          ImageHeader header;
          RuntimeError error = ReadImage(stream.Get(), &content, &header);
          if (FAILED(error.code)) {
            return {nullptr, std::move(error)};
          }
          // Canceled, or the process is exiting and waits for the
          // decoding to end.
          ScopedPix pix = DecodeFirstFrame(content, header, [&canceled] {
            return canceled.load() || ThreadPool::Shared().IsStopping();
          });
          if (!pix) {
            return {nullptr, RuntimeError{WINCODEC_ERR_BADIMAGE, {}}};
          }
          auto pixels = std::make_shared<const LeptonicaImage>(std::move(pix));
          return {MakeObject<SoftwareBitmap>(std::move(pixels), header.has_alpha), {}};
        }).Detach();
    return S_OK;
  } catch (...) {
    return ResultFromCaughtException();
  }
}

const wchar_t* BitmapDecoder::ClassName() const {
  return L"Windows.Graphics.Imaging.BitmapDecoder";
}

}  // namespace winrt_layer
