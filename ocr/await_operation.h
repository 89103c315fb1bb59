#ifndef OCR_AWAIT_OPERATION_H_
#define OCR_AWAIT_OPERATION_H_

#include <windows.foundation.h>
#include <windows.h>

#include <atomic>
#include <type_traits>

#include "ocr/com_object.h"
#include "ocr/com_ptr.h"
#include "ocr/platform_error.h"
#include "ocr/unique_handle.h"

// A new unsignalled manual-reset event; raises the platform error of the
// thread's last error when none can be created.
UniqueHandle CreateCompletionEvent();

// Records how an operation ended and wakes the thread that waits for it. The
// operation may call it on any thread.
template <typename TResult>
class OperationCompletion final
    : public ComObject<ABI::Windows::Foundation::IAsyncOperationCompletedHandler<TResult>> {
 public:
  using Status = ABI::Windows::Foundation::AsyncStatus;

  explicit OperationCompletion(UniqueHandle event) : event_(std::move(event)) {}

  HANDLE event() const { return event_.Get(); }
  Status status() const { return status_.load(); }

  HRESULT STDMETHODCALLTYPE Invoke(ABI::Windows::Foundation::IAsyncOperation<TResult>*,
                                   Status status) override {
    status_.store(status);
    SetEvent(event_.Get());
    return S_OK;
  }

 private:
  ~OperationCompletion() override = default;

  std::atomic<Status> status_{Status::Started};
  UniqueHandle event_;
};

// Waits on the calling thread, without a time-out, until `operation` has
// ended, and returns its result. Raises the platform error of a failed
// operation, HRESULT_FROM_WIN32(ERROR_CANCELLED) for a cancelled one, and
// that of any step of the wait that fails.
template <typename TResult>
ComPtr<
    std::remove_pointer_t<typename ABI::Windows::Foundation::IAsyncOperation<TResult>::TResult_abi>>
AwaitOperation(ABI::Windows::Foundation::IAsyncOperation<TResult>* operation) {
  using ABI::Windows::Foundation::AsyncStatus;
  using ABI::Windows::Foundation::IAsyncInfo;
  using ABI::Windows::Foundation::IAsyncOperation;

  ComPtr<IAsyncInfo> info;
  ThrowIfFailed(ComPtr<IAsyncOperation<TResult>>(operation).As(&info));
  AsyncStatus status = AsyncStatus::Started;
  ThrowIfFailed(info->get_Status(&status));

  if (status == AsyncStatus::Started) {
    const ComPtr<OperationCompletion<TResult>> completion(
        new OperationCompletion<TResult>(CreateCompletionEvent()));
    ThrowIfFailed(operation->put_Completed(completion.Get()));
    if (WaitForSingleObject(completion->event(), INFINITE) == WAIT_FAILED) {
      ThrowPlatformError(HRESULT_FROM_WIN32(GetLastError()));
    }
    status = completion->status();
  }

  if (status == AsyncStatus::Canceled) {
    ThrowPlatformError(HRESULT_FROM_WIN32(ERROR_CANCELLED));
  }
  ComPtr<std::remove_pointer_t<typename IAsyncOperation<TResult>::TResult_abi>> result;
  ThrowIfFailed(operation->GetResults(result.Put()));
  return result;
}

#endif  // OCR_AWAIT_OPERATION_H_
