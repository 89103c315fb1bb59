#ifndef PLATFORM_WINRT_INCLUDE_WINDOWS_GRAPHICS_IMAGING_H_
#define PLATFORM_WINRT_INCLUDE_WINDOWS_GRAPHICS_IMAGING_H_

// Windows.Graphics.Imaging: decoding an image stream into a bitmap. Only the
// leading operations of each interface that this program uses are declared;
// their order is the order of the interface's table. Arguments of types not
// declared here are passed as IInspectable.

#include <inspectable.h>

#include "windows.foundation.h"
#include "windows.storage.streams.h"

namespace ABI::Windows::Graphics::Imaging {

typedef enum BitmapPixelFormat {
  BitmapPixelFormat_Unknown = 0,
  BitmapPixelFormat_Rgba16 = 12,
  BitmapPixelFormat_Rgba8 = 30,
  BitmapPixelFormat_Gray16 = 57,
  BitmapPixelFormat_Gray8 = 62,
  BitmapPixelFormat_Bgra8 = 87,
  BitmapPixelFormat_Nv12 = 103,
  BitmapPixelFormat_P010 = 104,
  BitmapPixelFormat_Yuy2 = 107,
} BitmapPixelFormat;

typedef enum BitmapAlphaMode {
  BitmapAlphaMode_Premultiplied = 0,
  BitmapAlphaMode_Straight = 1,
  BitmapAlphaMode_Ignore = 2,
} BitmapAlphaMode;

class BitmapDecoder;
class SoftwareBitmap;

struct ISoftwareBitmap : public IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_BitmapPixelFormat(BitmapPixelFormat* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_BitmapAlphaMode(BitmapAlphaMode* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_PixelWidth(INT32* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_PixelHeight(INT32* value) = 0;
};

struct IBitmapDecoder : public IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_BitmapContainerProperties(IInspectable** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DecoderInformation(IInspectable** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_FrameCount(UINT32* value) = 0;
};

}  // namespace ABI::Windows::Graphics::Imaging

namespace ABI::Windows::Foundation {
template <>
struct IAsyncOperationCompletedHandler<Graphics::Imaging::BitmapDecoder*>
    : public IAsyncOperationCompletedHandler_impl<
          Internal::AggregateType<Graphics::Imaging::BitmapDecoder*,
                                  Graphics::Imaging::IBitmapDecoder*>> {};
template <>
struct IAsyncOperation<Graphics::Imaging::BitmapDecoder*>
    : public IAsyncOperation_impl<Internal::AggregateType<Graphics::Imaging::BitmapDecoder*,
                                                          Graphics::Imaging::IBitmapDecoder*>> {};
template <>
struct IAsyncOperationCompletedHandler<Graphics::Imaging::SoftwareBitmap*>
    : public IAsyncOperationCompletedHandler_impl<
          Internal::AggregateType<Graphics::Imaging::SoftwareBitmap*,
                                  Graphics::Imaging::ISoftwareBitmap*>> {};
template <>
struct IAsyncOperation<Graphics::Imaging::SoftwareBitmap*>
    : public IAsyncOperation_impl<Internal::AggregateType<Graphics::Imaging::SoftwareBitmap*,
                                                          Graphics::Imaging::ISoftwareBitmap*>> {};
}  // namespace ABI::Windows::Foundation

namespace ABI::Windows::Graphics::Imaging {

struct IBitmapDecoderStatics : public IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_BmpDecoderId(GUID* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_JpegDecoderId(GUID* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_PngDecoderId(GUID* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_TiffDecoderId(GUID* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_GifDecoderId(GUID* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_JpegXRDecoderId(GUID* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IcoDecoderId(GUID* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDecoderInformationEnumerator(IInspectable** value) = 0;
  // The decoder for the stream's format, found from its content. A stream
  // in no format the platform decodes ends the operation in failure.
  virtual HRESULT STDMETHODCALLTYPE
  CreateAsync(Storage::Streams::IRandomAccessStream* stream,
              Foundation::IAsyncOperation<BitmapDecoder*>** operation) = 0;
};

// Implemented by the decoder: the pixels of its first frame.
struct IBitmapFrameWithSoftwareBitmap : public IInspectable {
  // In the pixel format and alpha mode in which the frame decodes.
  virtual HRESULT STDMETHODCALLTYPE
  GetSoftwareBitmapAsync(Foundation::IAsyncOperation<SoftwareBitmap*>** operation) = 0;
};

}  // namespace ABI::Windows::Graphics::Imaging

inline constexpr WCHAR RuntimeClass_Windows_Graphics_Imaging_BitmapDecoder[] =
    L"Windows.Graphics.Imaging.BitmapDecoder";
inline constexpr WCHAR RuntimeClass_Windows_Graphics_Imaging_SoftwareBitmap[] =
    L"Windows.Graphics.Imaging.SoftwareBitmap";

// clang-format off
__CRT_UUID_DECL(ABI::Windows::Graphics::Imaging::ISoftwareBitmap, 0x689e0708, 0x7eef, 0x483f, 0x96, 0x3f, 0xda, 0x93, 0x88, 0x18, 0xe0, 0x73)
__CRT_UUID_DECL(ABI::Windows::Graphics::Imaging::IBitmapDecoder, 0xacef22ba, 0x1d74, 0x4c91, 0x9d, 0xfc, 0x96, 0x20, 0x74, 0x52, 0x33, 0xe6)
__CRT_UUID_DECL(ABI::Windows::Graphics::Imaging::IBitmapDecoderStatics, 0x438ccb26, 0xbcef, 0x4e95, 0xba, 0xd6, 0x23, 0xa8, 0x22, 0xe5, 0x8d, 0x01)
__CRT_UUID_DECL(ABI::Windows::Graphics::Imaging::IBitmapFrameWithSoftwareBitmap, 0xfe287c9a, 0x420c, 0x4963, 0x87, 0xad, 0x69, 0x14, 0x36, 0xe0, 0x83, 0x83)
__CRT_UUID_DECL(ABI::Windows::Foundation::IAsyncOperation<ABI::Windows::Graphics::Imaging::BitmapDecoder*>, 0xaa94d8e9, 0xcaef, 0x53f6, 0x82, 0x3d, 0x91, 0xb6, 0xe8, 0x34, 0x05, 0x10)
__CRT_UUID_DECL(ABI::Windows::Foundation::IAsyncOperationCompletedHandler<ABI::Windows::Graphics::Imaging::BitmapDecoder*>, 0xbb6514f2, 0x3cfb, 0x566f, 0x82, 0xbc, 0x60, 0xaa, 0xbd, 0x30, 0x2d, 0x53)
__CRT_UUID_DECL(ABI::Windows::Foundation::IAsyncOperation<ABI::Windows::Graphics::Imaging::SoftwareBitmap*>, 0xc4a10980, 0x714b, 0x5501, 0x8d, 0xa2, 0xdb, 0xda, 0xcc, 0xe7, 0x0f, 0x73)
__CRT_UUID_DECL(ABI::Windows::Foundation::IAsyncOperationCompletedHandler<ABI::Windows::Graphics::Imaging::SoftwareBitmap*>, 0xb699b653, 0x33ed, 0x5e2d, 0xa7, 0x5f, 0x02, 0xbf, 0x90, 0xe3, 0x26, 0x19)
// clang-format on

#endif  // PLATFORM_WINRT_INCLUDE_WINDOWS_GRAPHICS_IMAGING_H_
