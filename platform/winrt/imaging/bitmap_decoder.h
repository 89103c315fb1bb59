#ifndef PLATFORM_WINRT_IMAGING_BITMAP_DECODER_H_
#define PLATFORM_WINRT_IMAGING_BITMAP_DECODER_H_

#include <windows.graphics.imaging.h>

#include <vector>

#include "platform/winrt/imaging/image_header.h"
#include "platform/winrt/runtime/com_ptr.h"
#include "platform/winrt/runtime/runtime_class.h"
#include "platform/winrt/storage/stream_content.h"

namespace winrt_layer {

// Windows.Graphics.Imaging.BitmapDecoder over a stream whose header has
// been read; the pixels are decoded on request, first frame only. The
// stream is read again then, so that the file's bytes are not held while
// the bitmap is recognized.
class BitmapDecoder final
    : public RuntimeClass<ABI::Windows::Graphics::Imaging::IBitmapDecoder,
                          ABI::Windows::Graphics::Imaging::IBitmapFrameWithSoftwareBitmap,
                          IAgileObject> {
 public:
  BitmapDecoder(ComPtr<IStreamContent> stream, const ImageHeader& header);

  // The stream's bytes and their header. Failures: those of
  // ImageHeader::Read, the stream's read failures, and
  // WINCODEC_ERR_IMAGESIZEOUTOFRANGE, with a description, for content over
  // kMaxEncodedBytes.
  static RuntimeError ReadImage(IStreamContent* stream,
                                std::vector<BYTE>* content,
                                ImageHeader* header);

  // Container properties and decoder information: E_NOTIMPL.
  IFACEMETHODIMP get_BitmapContainerProperties(IInspectable** value) override;
  IFACEMETHODIMP get_DecoderInformation(IInspectable** value) override;
  // The pages of a TIFF, the frames of a GIF, 1 for the other formats.
  IFACEMETHODIMP get_FrameCount(UINT32* value) override;

  // Decodes the first frame (page 0 of a TIFF) on the thread pool. Pixels
  // that cannot be decoded (a truncated or corrupt file) end the operation
  // with WINCODEC_ERR_BADIMAGE.
  IFACEMETHODIMP GetSoftwareBitmapAsync(
      ABI::Windows::Foundation::IAsyncOperation<ABI::Windows::Graphics::Imaging::SoftwareBitmap*>**
          operation) override;

 private:
  const wchar_t* ClassName() const override;

  const ComPtr<IStreamContent> stream_;
  const ImageHeader header_;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGING_BITMAP_DECODER_H_
