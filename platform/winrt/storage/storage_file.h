#ifndef PLATFORM_WINRT_STORAGE_STORAGE_FILE_H_
#define PLATFORM_WINRT_STORAGE_STORAGE_FILE_H_

#include <windows.storage.h>

#include <string>

#include "platform/winrt/runtime/runtime_class.h"

namespace winrt_layer {

// Windows.Storage.StorageFile: a file found by its absolute path.
class StorageFile final : public RuntimeClass<ABI::Windows::Storage::IStorageFile, IAgileObject> {
 public:
  // `path` in UTF-8, as the system names the file.
  explicit StorageFile(std::string path);

  // The extension with its dot ("" without one).
  IFACEMETHODIMP get_FileType(HSTRING* value) override;
  // Content types are not known here: E_NOTIMPL.
  IFACEMETHODIMP get_ContentType(HSTRING* value) override;
  // Read opens the file on the thread pool: E_ACCESSDENIED when it is not a
  // readable file (any more). ReadWrite fails at once with E_ACCESSDENIED:
  // the runtime only reads. Another mode is E_INVALIDARG.
  IFACEMETHODIMP OpenAsync(
      ABI::Windows::Storage::FileAccessMode access_mode,
      ABI::Windows::Foundation::IAsyncOperation<
          ABI::Windows::Storage::Streams::IRandomAccessStream*>** operation) override;

 private:
  const wchar_t* ClassName() const override;

  const std::string path_;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_STORAGE_STORAGE_FILE_H_
