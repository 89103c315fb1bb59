#ifndef PLATFORM_WINRT_INCLUDE_WINDOWS_FOUNDATION_H_
#define PLATFORM_WINRT_INCLUDE_WINDOWS_FOUNDATION_H_

// Windows.Foundation: asynchronous operations, as the Windows SDK declares
// them. IAsyncOperation and its completion handler are specialized beside
// each result type, with the identifiers Windows derives for them; the
// results of a runtime class cross as its default interface.

#include <inspectable.h>

namespace ABI::Windows::Foundation {

typedef enum AsyncStatus {
  Started = 0,
  Completed = 1,
  Canceled = 2,
  Error = 3,
} AsyncStatus;

struct IAsyncInfo : public IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Id(UINT32* id) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Status(AsyncStatus* status) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ErrorCode(HRESULT* error_code) = 0;
  virtual HRESULT STDMETHODCALLTYPE Cancel() = 0;
  virtual HRESULT STDMETHODCALLTYPE Close() = 0;
};

namespace Internal {

// A runtime class as a type argument: its logical type (the class) and the
// interface that crosses the ABI for it.
template <class TLogical, class TAbi>
struct AggregateType {};

template <class T>
struct GetAbiType {
  typedef T type;
};
template <class TLogical, class TAbi>
struct GetAbiType<AggregateType<TLogical, TAbi>> {
  typedef TAbi type;
};

template <class T>
struct GetLogicalType {
  typedef T type;
};
template <class TLogical, class TAbi>
struct GetLogicalType<AggregateType<TLogical, TAbi>> {
  typedef TLogical type;
};

}  // namespace Internal

template <class TResult>
struct IAsyncOperation;
template <class TResult>
struct IAsyncOperationCompletedHandler;

template <class TResult>
struct IAsyncOperationCompletedHandler_impl : public IUnknown {
  typedef typename Internal::GetLogicalType<TResult>::type TResult_logical;

  // Runs once, on any thread, when the operation has ended.
  virtual HRESULT STDMETHODCALLTYPE Invoke(IAsyncOperation<TResult_logical>* async_info,
                                           AsyncStatus status) = 0;
};

template <class TResult>
struct IAsyncOperation_impl : public IInspectable {
  typedef typename Internal::GetLogicalType<TResult>::type TResult_logical;
  typedef typename Internal::GetAbiType<TResult>::type TResult_abi;

  // Accepted once. A handler set after the operation has ended runs at
  // once, on the calling thread.
  virtual HRESULT STDMETHODCALLTYPE
  put_Completed(IAsyncOperationCompletedHandler<TResult_logical>* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  get_Completed(IAsyncOperationCompletedHandler<TResult_logical>** handler) = 0;
  // The result of a completed operation; the failure of one that ended in
  // Error; E_ILLEGAL_METHOD_CALL while it runs or after Canceled.
  virtual HRESULT STDMETHODCALLTYPE GetResults(TResult_abi* results) = 0;
};

}  // namespace ABI::Windows::Foundation

// clang-format off
__CRT_UUID_DECL(ABI::Windows::Foundation::IAsyncInfo, 0x00000036, 0x0000, 0x0000, 0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)
// clang-format on

#endif  // PLATFORM_WINRT_INCLUDE_WINDOWS_FOUNDATION_H_
