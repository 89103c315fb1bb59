#ifndef PLATFORM_WINRT_RUNTIME_ASYNC_OPERATION_H_
#define PLATFORM_WINRT_RUNTIME_ASYNC_OPERATION_H_

#include <windows.foundation.h>
#include <winerror.h>

#include <atomic>
#include <exception>
#include <functional>
#include <mutex>
#include <new>
#include <type_traits>
#include <utility>

#include "platform/winrt/runtime/com_ptr.h"
#include "platform/winrt/runtime/runtime_class.h"
#include "platform/winrt/runtime/runtime_error.h"
#include "platform/winrt/runtime/thread_pool.h"

namespace winrt_layer {

// The next identifier of an asynchronous operation (IAsyncInfo::get_Id).
UINT32 NextAsyncOperationId();

// An IAsyncOperation<TResult> (TResult as the Windows headers name it, e.g.
// StorageFile*) that runs its work on the shared thread pool, or that is
// created already ended.
//
// - Ending: the status becomes Completed or Error once, on the thread that
//   ran the work; the completion handler then runs there. A handler set
//   after the work has ended runs at once, on the setting thread. Only one
//   handler is accepted; a second put_Completed is E_ILLEGAL_METHOD_CALL.
// - Cancel while Started makes the status Canceled at once and tells the
//   work, which may end early; the handler runs when the work has ended,
//   with Canceled. GetResults is then E_ILLEGAL_METHOD_CALL and the error
//   code that of ERROR_CANCELLED.
// - GetResults of an operation in Error returns its code and records the
//   error's details for the calling thread, as Windows does.
template <class TResult>
class AsyncOperation final : public RuntimeClass<ABI::Windows::Foundation::IAsyncOperation<TResult>,
                                                 ABI::Windows::Foundation::IAsyncInfo,
                                                 IAgileObject> {
  typedef ABI::Windows::Foundation::AsyncStatus AsyncStatus;
  typedef ABI::Windows::Foundation::IAsyncOperation<TResult> Operation;
  typedef ABI::Windows::Foundation::IAsyncOperationCompletedHandler<TResult> Handler;
  typedef typename Operation::TResult_abi ResultAbi;

 public:
  typedef std::remove_pointer_t<ResultAbi> ResultInterface;

  // What the work ends with: a result, or an error (a failure code).
  struct Outcome {
    ComPtr<ResultInterface> result;
    RuntimeError error;
  };

  // Computes the outcome; `canceled` becomes true when the operation is
  // canceled, and the work may then end early with any outcome.
  typedef std::function<Outcome(const std::atomic<bool>& canceled)> Work;

  // An operation running `work` on the shared pool. Throws only when memory
  // or threads run out.
  static ComPtr<AsyncOperation> Run(Work work) {
    ComPtr<AsyncOperation> operation = MakeObject<AsyncOperation>();
    ThreadPool::Shared().Post([operation, work = std::move(work)]() noexcept {
      operation->End(RunGuarded(work, operation->canceled_));
    });
    return operation;
  }

  // An operation that has already ended with `outcome`.
  static ComPtr<AsyncOperation> Ended(Outcome outcome) {
    ComPtr<AsyncOperation> operation = MakeObject<AsyncOperation>();
    operation->End(std::move(outcome));
    return operation;
  }

  AsyncOperation() = default;

  IFACEMETHODIMP put_Completed(Handler* handler) override {
    if (handler == nullptr) {
      return E_INVALIDARG;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    if (handler_set_) {
      return E_ILLEGAL_METHOD_CALL;
    }
    handler_set_ = true;
    if (!work_ended_) {
      handler_ = ComPtr<Handler>(handler);
      return S_OK;
    }
    AsyncStatus status = status_;
    lock.unlock();
    handler->Invoke(this, status);
    return S_OK;
  }

  // The handler until it has run; null afterwards, so that an operation and
  // a handler that refers to it do not keep each other alive.
  IFACEMETHODIMP get_Completed(Handler** handler) override {
    if (handler == nullptr) {
      return E_POINTER;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    handler_.CopyTo(handler);
    return S_OK;
  }

  IFACEMETHODIMP GetResults(ResultAbi* results) override {
    if (results == nullptr) {
      return E_POINTER;
    }
    *results = nullptr;
    std::unique_lock<std::mutex> lock(mutex_);
    if (closed_) {
      return E_ILLEGAL_METHOD_CALL;
    }
    switch (status_) {
      case ABI::Windows::Foundation::Completed:
        result_.CopyTo(results);
        return S_OK;
      case ABI::Windows::Foundation::Error: {
        HRESULT code = error_.code;
        try {
          RuntimeError error = error_;
          lock.unlock();
          OriginateError(error);
        } catch (const std::bad_alloc&) {
          // The code is the result; only its description is lost.
        }
        return code;
      }
      default:
        return E_ILLEGAL_METHOD_CALL;
    }
  }

  IFACEMETHODIMP get_Id(UINT32* id) override {
    if (id == nullptr) {
      return E_POINTER;
    }
    *id = id_;
    return S_OK;
  }

  IFACEMETHODIMP get_Status(AsyncStatus* status) override {
    if (status == nullptr) {
      return E_POINTER;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (closed_) {
      return E_ILLEGAL_METHOD_CALL;
    }
    *status = status_;
    return S_OK;
  }

  IFACEMETHODIMP get_ErrorCode(HRESULT* error_code) override {
    if (error_code == nullptr) {
      return E_POINTER;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (closed_) {
      return E_ILLEGAL_METHOD_CALL;
    }
    switch (status_) {
      case ABI::Windows::Foundation::Error:
        *error_code = error_.code;
        break;
      case ABI::Windows::Foundation::Canceled:
        *error_code = HRESULT_FROM_WIN32(ERROR_CANCELLED);
        break;
      default:
        *error_code = S_OK;
    }
    return S_OK;
  }

  IFACEMETHODIMP Cancel() override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (closed_) {
      return E_ILLEGAL_METHOD_CALL;
    }
    if (status_ == ABI::Windows::Foundation::Started) {
      status_ = ABI::Windows::Foundation::Canceled;
      canceled_ = true;
    }
    return S_OK;
  }

  // Lets go of the result; an operation still running cannot be closed.
  IFACEMETHODIMP Close() override {
    ComPtr<ResultInterface> result;
    std::lock_guard<std::mutex> lock(mutex_);
    if (closed_) {
      return S_OK;
    }
    if (status_ == ABI::Windows::Foundation::Started) {
      return E_ILLEGAL_STATE_CHANGE;
    }
    closed_ = true;
    result = std::move(result_);
    return S_OK;
  }

 private:
  ~AsyncOperation() override = default;

  const wchar_t* ClassName() const override { return L"Windows.Foundation.IAsyncOperation`1"; }

  static Outcome RunGuarded(const Work& work, const std::atomic<bool>& canceled) noexcept {
    try {
      return work(canceled);
    } catch (const std::bad_alloc&) {
      return Outcome{nullptr, RuntimeError{E_OUTOFMEMORY, {}}};
    } catch (...) {
      return Outcome{nullptr, RuntimeError{E_UNEXPECTED, {}}};
    }
  }

  void End(Outcome outcome) noexcept {
    ComPtr<Handler> handler;
    AsyncStatus status;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (status_ == ABI::Windows::Foundation::Started) {
        if (FAILED(outcome.error.code)) {
          status_ = ABI::Windows::Foundation::Error;
          error_ = std::move(outcome.error);
        } else {
          status_ = ABI::Windows::Foundation::Completed;
          result_ = std::move(outcome.result);
        }
      }
      work_ended_ = true;
      status = status_;
      handler = std::move(handler_);
    }
    if (handler) {
      handler->Invoke(this, status);
    }
  }

  const UINT32 id_ = NextAsyncOperationId();
  std::atomic<bool> canceled_{false};
  std::mutex mutex_;
  AsyncStatus status_ = ABI::Windows::Foundation::Started;
  bool work_ended_ = false;
  ComPtr<ResultInterface> result_;
  RuntimeError error_;
  bool handler_set_ = false;
  ComPtr<Handler> handler_;
  bool closed_ = false;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RUNTIME_ASYNC_OPERATION_H_
