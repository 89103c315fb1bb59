#include "platform/winrt/storage/file_random_access_stream.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>
#include <winerror.h>

#include <new>

namespace winrt_layer {

FileRandomAccessStream::FileRandomAccessStream(ScopedFd file) : file_(std::move(file)) {}

IFACEMETHODIMP FileRandomAccessStream::get_Size(UINT64* size) {
  if (size == nullptr) {
    return E_POINTER;
  }
  struct stat status;
  if (fstat(file_.Get(), &status) != 0) {
    return E_FAIL;
  }
  *size = static_cast<UINT64>(status.st_size);
  return S_OK;
}

IFACEMETHODIMP FileRandomAccessStream::put_Size(UINT64) {
  return E_ACCESSDENIED;
}

IFACEMETHODIMP FileRandomAccessStream::GetInputStreamAt(
    UINT64,
    ABI::Windows::Storage::Streams::IInputStream** stream) {
  if (stream != nullptr) {
    *stream = nullptr;
  }
  return E_NOTIMPL;
}

IFACEMETHODIMP FileRandomAccessStream::GetOutputStreamAt(
    UINT64,
    ABI::Windows::Storage::Streams::IOutputStream** stream) {
  if (stream != nullptr) {
    *stream = nullptr;
  }
  return E_NOTIMPL;
}

IFACEMETHODIMP FileRandomAccessStream::get_Position(UINT64* position) {
  if (position == nullptr) {
    return E_POINTER;
  }
  *position = position_.load();
  return S_OK;
}

IFACEMETHODIMP FileRandomAccessStream::Seek(UINT64 position) {
  position_.store(position);
  return S_OK;
}

IFACEMETHODIMP FileRandomAccessStream::CloneStream(
    ABI::Windows::Storage::Streams::IRandomAccessStream** stream) {
  if (stream != nullptr) {
    *stream = nullptr;
  }
  return E_NOTIMPL;
}

IFACEMETHODIMP FileRandomAccessStream::get_CanRead(boolean* value) {
  if (value == nullptr) {
    return E_POINTER;
  }
  *value = 1;
  return S_OK;
}

IFACEMETHODIMP FileRandomAccessStream::get_CanWrite(boolean* value) {
  if (value == nullptr) {
    return E_POINTER;
  }
  *value = 0;
  return S_OK;
}

IFACEMETHODIMP FileRandomAccessStream::ReadContent(UINT64 max_size, std::vector<BYTE>* content) {
  if (content == nullptr) {
    return E_POINTER;
  }
  content->clear();
  UINT64 size = 0;
  HRESULT result = get_Size(&size);
  if (FAILED(result)) {
    return result;
  }
  if (size > max_size) {
    return S_FALSE;
  }
  try {
    // One byte more than the size, to see a file that grew.
    content->resize(static_cast<size_t>(size) + 1);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  size_t filled = 0;
  while (filled < content->size()) {
    ssize_t count = pread(file_.Get(), content->data() + filled, content->size() - filled,
                          static_cast<off_t>(filled));
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count < 0) {
      content->clear();
      return HRESULT_FROM_WIN32(ERROR_READ_FAULT);
    }
    if (count == 0) {
      break;
    }
    filled += static_cast<size_t>(count);
  }
  if (filled > size) {
    content->clear();
    return S_FALSE;
  }
  content->resize(filled);
  return S_OK;
}

const wchar_t* FileRandomAccessStream::ClassName() const {
  return L"Windows.Storage.Streams.FileRandomAccessStream";
}

}  // namespace winrt_layer
