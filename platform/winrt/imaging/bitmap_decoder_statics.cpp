#include "platform/winrt/imaging/bitmap_decoder_statics.h"

#include <vector>

#include "platform/winrt/imaging/bitmap_decoder.h"
#include "platform/winrt/imaging/image_header.h"
#include "platform/winrt/runtime/async_operation.h"
#include "platform/winrt/runtime/runtime_error.h"
#include "platform/winrt/storage/stream_content.h"

namespace winrt_layer {
namespace {

typedef AsyncOperation<ABI::Windows::Graphics::Imaging::BitmapDecoder*> DecoderOperation;

constexpr wchar_t kForeignStreamMessage[] = L"The stream was not opened by this runtime.";
DecoderOperation::Outcome CreateDecoder(ComPtr<IStreamContent> stream) {
  std::vector<BYTE> content;
  ImageHeader header;
  RuntimeError error = BitmapDecoder::ReadImage(stream.Get(), &content, &header);
  if (FAILED(error.code)) {
    return {nullptr, std::move(error)};
  }
  return {MakeObject<BitmapDecoder>(std::move(stream), header), {}};
}

HRESULT NotImplemented(GUID* value) {
  if (value != nullptr) {
    *value = GUID{};
  }
  return E_NOTIMPL;
}

}  // namespace

IFACEMETHODIMP BitmapDecoderStatics::get_BmpDecoderId(GUID* value) {
  return NotImplemented(value);
}

IFACEMETHODIMP BitmapDecoderStatics::get_JpegDecoderId(GUID* value) {
  return NotImplemented(value);
}

IFACEMETHODIMP BitmapDecoderStatics::get_PngDecoderId(GUID* value) {
  return NotImplemented(value);
}

IFACEMETHODIMP BitmapDecoderStatics::get_TiffDecoderId(GUID* value) {
  return NotImplemented(value);
}

IFACEMETHODIMP BitmapDecoderStatics::get_GifDecoderId(GUID* value) {
  return NotImplemented(value);
}

IFACEMETHODIMP BitmapDecoderStatics::get_JpegXRDecoderId(GUID* value) {
  return NotImplemented(value);
}

IFACEMETHODIMP BitmapDecoderStatics::get_IcoDecoderId(GUID* value) {
  return NotImplemented(value);
}

IFACEMETHODIMP BitmapDecoderStatics::GetDecoderInformationEnumerator(IInspectable** value) {
  if (value != nullptr) {
    *value = nullptr;
  }
  return E_NOTIMPL;
}

IFACEMETHODIMP BitmapDecoderStatics::CreateAsync(
    ABI::Windows::Storage::Streams::IRandomAccessStream* stream,
    ABI::Windows::Foundation::IAsyncOperation<ABI::Windows::Graphics::Imaging::BitmapDecoder*>**
        operation) {
  if (operation == nullptr) {
    return E_POINTER;
  }
  *operation = nullptr;
  if (stream == nullptr) {
    return OriginateError(E_INVALIDARG);
  }
  try {
    ComPtr<IStreamContent> content = ComPtr<IUnknown>(stream).As<IStreamContent>();
    if (!content) {
      return OriginateError(E_INVALIDARG, kForeignStreamMessage);
    }
    *operation = DecoderOperation::Run([content](const std::atomic<bool>&) {
                   return CreateDecoder(content);
                 }).Detach();
    return S_OK;
  } catch (...) {
    return ResultFromCaughtException();
  }
}

const wchar_t* BitmapDecoderStatics::ClassName() const {
  return L"Windows.Graphics.Imaging.BitmapDecoder";
}

}  // namespace winrt_layer
