#ifndef PLATFORM_WINRT_STORAGE_STREAM_CONTENT_H_
#define PLATFORM_WINRT_STORAGE_STREAM_CONTENT_H_

#include <unknwn.h>

#include <vector>

namespace winrt_layer {

// Implemented by the layer's streams: their bytes, for the decoder.
struct IStreamContent : public IUnknown {
  // The whole content from its start, when it holds at most `max_size`
  // bytes: S_OK. S_FALSE, with nothing read, when it is larger; the code of
  // a read failure.
  virtual HRESULT STDMETHODCALLTYPE ReadContent(UINT64 max_size, std::vector<BYTE>* content) = 0;

 protected:
  ~IStreamContent() = default;
};

}  // namespace winrt_layer

// clang-format off
__CRT_UUID_DECL(winrt_layer::IStreamContent, 0x6f0b0d51, 0x2c7e, 0x4a55, 0x9a, 0x43, 0x1d, 0x8e, 0x52, 0xa7, 0x3c, 0x19)
// clang-format on

#endif  // PLATFORM_WINRT_STORAGE_STREAM_CONTENT_H_
