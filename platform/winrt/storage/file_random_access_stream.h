#ifndef PLATFORM_WINRT_STORAGE_FILE_RANDOM_ACCESS_STREAM_H_
#define PLATFORM_WINRT_STORAGE_FILE_RANDOM_ACCESS_STREAM_H_

#include <windows.storage.streams.h>

#include <atomic>

#include "platform/winrt/runtime/runtime_class.h"
#include "platform/winrt/storage/scoped_fd.h"
#include "platform/winrt/storage/stream_content.h"

namespace winrt_layer {

// A read-only IRandomAccessStream over an open file. Operations this
// program does not use (input and output streams, clones) are E_NOTIMPL.
class FileRandomAccessStream final
    : public RuntimeClass<ABI::Windows::Storage::Streams::IRandomAccessStream,
                          IStreamContent,
                          IAgileObject> {
 public:
  explicit FileRandomAccessStream(ScopedFd file);

  IFACEMETHODIMP get_Size(UINT64* size) override;
  // The stream is read-only: E_ACCESSDENIED.
  IFACEMETHODIMP put_Size(UINT64 size) override;
  IFACEMETHODIMP GetInputStreamAt(UINT64 position,
                                  ABI::Windows::Storage::Streams::IInputStream** stream) override;
  IFACEMETHODIMP GetOutputStreamAt(UINT64 position,
                                   ABI::Windows::Storage::Streams::IOutputStream** stream) override;
  IFACEMETHODIMP get_Position(UINT64* position) override;
  IFACEMETHODIMP Seek(UINT64 position) override;
  IFACEMETHODIMP CloneStream(ABI::Windows::Storage::Streams::IRandomAccessStream** stream) override;
  IFACEMETHODIMP get_CanRead(boolean* value) override;
  IFACEMETHODIMP get_CanWrite(boolean* value) override;

  IFACEMETHODIMP ReadContent(UINT64 max_size, std::vector<BYTE>* content) override;

 private:
  const wchar_t* ClassName() const override;

  const ScopedFd file_;
  std::atomic<UINT64> position_{0};
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_STORAGE_FILE_RANDOM_ACCESS_STREAM_H_
