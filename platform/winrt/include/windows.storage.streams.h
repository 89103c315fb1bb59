#ifndef PLATFORM_WINRT_INCLUDE_WINDOWS_STORAGE_STREAMS_H_
#define PLATFORM_WINRT_INCLUDE_WINDOWS_STORAGE_STREAMS_H_

// Windows.Storage.Streams: the random-access stream over a file's content.

#include <inspectable.h>

#include "windows.foundation.h"

namespace ABI::Windows::Storage::Streams {

struct IInputStream;
struct IOutputStream;

struct IRandomAccessStream : public IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Size(UINT64* size) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Size(UINT64 size) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputStreamAt(UINT64 position, IInputStream** stream) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetOutputStreamAt(UINT64 position, IOutputStream** stream) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Position(UINT64* position) = 0;
  virtual HRESULT STDMETHODCALLTYPE Seek(UINT64 position) = 0;
  virtual HRESULT STDMETHODCALLTYPE CloneStream(IRandomAccessStream** stream) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CanRead(boolean* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CanWrite(boolean* value) = 0;
};

}  // namespace ABI::Windows::Storage::Streams

namespace ABI::Windows::Foundation {
template <>
struct IAsyncOperationCompletedHandler<Storage::Streams::IRandomAccessStream*>
    : public IAsyncOperationCompletedHandler_impl<Storage::Streams::IRandomAccessStream*> {};
template <>
struct IAsyncOperation<Storage::Streams::IRandomAccessStream*>
    : public IAsyncOperation_impl<Storage::Streams::IRandomAccessStream*> {};
}  // namespace ABI::Windows::Foundation

// clang-format off
__CRT_UUID_DECL(ABI::Windows::Storage::Streams::IRandomAccessStream, 0x905a0fe1, 0xbc53, 0x11df, 0x8c, 0x49, 0x00, 0x1e, 0x4f, 0xc6, 0x86, 0xda)
__CRT_UUID_DECL(ABI::Windows::Foundation::IAsyncOperation<ABI::Windows::Storage::Streams::IRandomAccessStream*>, 0x430ecece, 0x1418, 0x5d19, 0x81, 0xb2, 0x5d, 0xdb, 0x38, 0x16, 0x03, 0xcc)
__CRT_UUID_DECL(ABI::Windows::Foundation::IAsyncOperationCompletedHandler<ABI::Windows::Storage::Streams::IRandomAccessStream*>, 0x398c4183, 0x793d, 0x5b00, 0x81, 0x9b, 0x4a, 0xef, 0x92, 0x48, 0x5e, 0x94)
// clang-format on

#endif  // PLATFORM_WINRT_INCLUDE_WINDOWS_STORAGE_STREAMS_H_
