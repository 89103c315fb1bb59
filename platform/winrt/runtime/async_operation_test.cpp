#include "platform/winrt/runtime/async_operation.h"

#include <gtest/gtest.h>
#include <windows.media.ocr.h>

#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>

#include "platform/winrt/recognition/ocr_result.h"
#include "platform/winrt/runtime_test_support.h"

namespace winrt_layer {
namespace {

using ABI::Windows::Foundation::AsyncStatus;
using ABI::Windows::Foundation::IAsyncInfo;
using ABI::Windows::Media::Ocr::IOcrResult;
using testing::RecordedError;
using testing::RecordingHandler;
using testing::TakeRecordedError;

typedef AsyncOperation<ABI::Windows::Media::Ocr::OcrResult*> Operation;
typedef RecordingHandler<ABI::Windows::Media::Ocr::OcrResult*> Handler;

// Holds work on the pool until opened; tells whether the work saw a cancel.
class Gate {
 public:
  void Open() {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }

  void WaitOpen() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return open_; });
  }

  void Enter() {
    std::lock_guard<std::mutex> lock(mutex_);
    entered_ = true;
    changed_.notify_all();
  }

  void WaitEntered() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return entered_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
  bool entered_ = false;
};

Operation::Work GatedWork(Gate* gate, Operation::Outcome outcome, bool* saw_cancel = nullptr) {
  return [gate, outcome, saw_cancel](const std::atomic<bool>& canceled) {
    gate->Enter();
    gate->WaitOpen();
    if (saw_cancel != nullptr) {
      *saw_cancel = canceled.load();
    }
    return outcome;
  };
}

Operation::Outcome Success(const wchar_t* text) {
  return {MakeObject<OcrResult>(text), {}};
}

std::wstring TextOf(IOcrResult* result) {
  ScopedHString text;
  EXPECT_EQ(result->get_Text(text.Receive()), S_OK);
  return std::wstring(text.View());
}

AsyncStatus StatusOf(Operation* operation) {
  AsyncStatus status = ABI::Windows::Foundation::Error;
  EXPECT_EQ(operation->get_Status(&status), S_OK);
  return status;
}

TEST(AsyncOperationTest, HandlerSetWhileRunningRunsOnceOnTheCompletingThread) {
  Gate gate;
  ComPtr<Operation> operation = Operation::Run(GatedWork(&gate, Success(L"done")));
  gate.WaitEntered();
  EXPECT_EQ(StatusOf(operation.Get()), ABI::Windows::Foundation::Started);
  ComPtr<IOcrResult> result;
  EXPECT_EQ(operation->GetResults(result.ReleaseAndGetAddressOf()), E_ILLEGAL_METHOD_CALL);
  auto handler = MakeObject<Handler>();
  ASSERT_EQ(operation->put_Completed(handler.Get()), S_OK);
  EXPECT_EQ(operation->put_Completed(handler.Get()), E_ILLEGAL_METHOD_CALL);
  EXPECT_EQ(handler->calls(), 0);
  gate.Open();
  EXPECT_EQ(handler->Wait(), ABI::Windows::Foundation::Completed);
  EXPECT_NE(handler->thread(), std::this_thread::get_id());
  EXPECT_EQ(handler->calls(), 1);
  ASSERT_EQ(operation->GetResults(result.ReleaseAndGetAddressOf()), S_OK);
  EXPECT_EQ(TextOf(result.Get()), L"done");
  HRESULT code = E_FAIL;
  EXPECT_EQ(operation->get_ErrorCode(&code), S_OK);
  EXPECT_EQ(code, S_OK);
}

TEST(AsyncOperationTest, HandlerSetAfterTheEndRunsAtOnceOnTheCaller) {
  ComPtr<Operation> operation = Operation::Ended(Success(L"ready"));
  EXPECT_EQ(StatusOf(operation.Get()), ABI::Windows::Foundation::Completed);
  auto handler = MakeObject<Handler>();
  ASSERT_EQ(operation->put_Completed(handler.Get()), S_OK);
  EXPECT_EQ(handler->calls(), 1);
  EXPECT_EQ(handler->thread(), std::this_thread::get_id());
  EXPECT_EQ(operation->put_Completed(MakeObject<Handler>().Get()), E_ILLEGAL_METHOD_CALL);
  EXPECT_EQ(handler->calls(), 1);
}

TEST(AsyncOperationTest, FailureIsRecordedForTheThreadThatTakesTheResults) {
  Gate gate;
  Operation::Outcome failure{nullptr, RuntimeError{E_ACCESSDENIED, L"Locked by the test."}};
  ComPtr<Operation> operation = Operation::Run(GatedWork(&gate, failure));
  gate.Open();
  auto handler = MakeObject<Handler>();
  ASSERT_EQ(operation->put_Completed(handler.Get()), S_OK);
  EXPECT_EQ(handler->Wait(), ABI::Windows::Foundation::Error);
  // Nothing is recorded on this thread until it asks for the results.
  EXPECT_EQ(TakeRecordedError().code, S_FALSE);
  ComPtr<IOcrResult> result;
  EXPECT_EQ(operation->GetResults(result.ReleaseAndGetAddressOf()), E_ACCESSDENIED);
  EXPECT_FALSE(result);
  RecordedError error = TakeRecordedError();
  EXPECT_EQ(error.code, E_ACCESSDENIED);
  EXPECT_EQ(error.restricted_description, L"Locked by the test.");
  EXPECT_EQ(error.description, L"Access is denied.\r\n");
  HRESULT code = S_OK;
  EXPECT_EQ(operation->get_ErrorCode(&code), S_OK);
  EXPECT_EQ(code, E_ACCESSDENIED);
}

TEST(AsyncOperationTest, FailureWithoutDescriptionRecordsTheSystemMessage) {
  ComPtr<Operation> operation =
      Operation::Ended({nullptr, RuntimeError{HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), {}}});
  ComPtr<IOcrResult> result;
  EXPECT_EQ(operation->GetResults(result.ReleaseAndGetAddressOf()),
            HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(TakeRecordedError().restricted_description,
            L"The system cannot find the file specified.\r\n");
}

TEST(AsyncOperationTest, CancelWhileRunningEndsCanceledWhenTheWorkEnds) {
  Gate gate;
  bool saw_cancel = false;
  ComPtr<Operation> operation = Operation::Run(GatedWork(&gate, Success(L"too late"), &saw_cancel));
  auto handler = MakeObject<Handler>();
  ASSERT_EQ(operation->put_Completed(handler.Get()), S_OK);
  gate.WaitEntered();
  ASSERT_EQ(operation->Cancel(), S_OK);
  EXPECT_EQ(StatusOf(operation.Get()), ABI::Windows::Foundation::Canceled);
  EXPECT_EQ(handler->calls(), 0);
  gate.Open();
  EXPECT_EQ(handler->Wait(), ABI::Windows::Foundation::Canceled);
  EXPECT_TRUE(saw_cancel);
  EXPECT_EQ(handler->calls(), 1);
  ComPtr<IOcrResult> result;
  EXPECT_EQ(operation->GetResults(result.ReleaseAndGetAddressOf()), E_ILLEGAL_METHOD_CALL);
  HRESULT code = S_OK;
  EXPECT_EQ(operation->get_ErrorCode(&code), S_OK);
  EXPECT_EQ(code, HRESULT_FROM_WIN32(ERROR_CANCELLED));
}

TEST(AsyncOperationTest, CancelAfterTheEndChangesNothing) {
  ComPtr<Operation> operation = Operation::Ended(Success(L"kept"));
  EXPECT_EQ(operation->Cancel(), S_OK);
  EXPECT_EQ(StatusOf(operation.Get()), ABI::Windows::Foundation::Completed);
  ComPtr<IOcrResult> result;
  ASSERT_EQ(operation->GetResults(result.ReleaseAndGetAddressOf()), S_OK);
  EXPECT_EQ(TextOf(result.Get()), L"kept");
}

TEST(AsyncOperationTest, CloseOnlyAfterTheEnd) {
  Gate gate;
  ComPtr<Operation> operation = Operation::Run(GatedWork(&gate, Success(L"x")));
  EXPECT_EQ(operation->Close(), E_ILLEGAL_STATE_CHANGE);
  gate.Open();
  auto handler = MakeObject<Handler>();
  ASSERT_EQ(operation->put_Completed(handler.Get()), S_OK);
  handler->Wait();
  EXPECT_EQ(operation->Close(), S_OK);
  ComPtr<IOcrResult> result;
  EXPECT_EQ(operation->GetResults(result.ReleaseAndGetAddressOf()), E_ILLEGAL_METHOD_CALL);
  AsyncStatus status;
  EXPECT_EQ(operation->get_Status(&status), E_ILLEGAL_METHOD_CALL);
}

TEST(AsyncOperationTest, ThrowingWorkEndsInError) {
  ComPtr<Operation> operation = Operation::Run(
      [](const std::atomic<bool>&) -> Operation::Outcome { throw std::bad_alloc(); });
  auto handler = MakeObject<Handler>();
  ASSERT_EQ(operation->put_Completed(handler.Get()), S_OK);
  EXPECT_EQ(handler->Wait(), ABI::Windows::Foundation::Error);
  ComPtr<IOcrResult> result;
  EXPECT_EQ(operation->GetResults(result.ReleaseAndGetAddressOf()), E_OUTOFMEMORY);
}

TEST(AsyncOperationTest, AnswersItsInterfacesAndHasDistinctIds) {
  ComPtr<Operation> first = Operation::Ended(Success(L"a"));
  ComPtr<Operation> second = Operation::Ended(Success(L"b"));
  auto info = ComPtr<IUnknown>(static_cast<IAsyncInfo*>(first.Get())).As<IAsyncInfo>();
  ASSERT_TRUE(info);
  EXPECT_TRUE(info.As<IAgileObject>());
  EXPECT_TRUE(info.As<IInspectable>());
  EXPECT_TRUE(
      info.As<ABI::Windows::Foundation::IAsyncOperation<ABI::Windows::Media::Ocr::OcrResult*>>());
  UINT32 first_id = 0;
  UINT32 second_id = 0;
  ASSERT_EQ(first->get_Id(&first_id), S_OK);
  ASSERT_EQ(second->get_Id(&second_id), S_OK);
  EXPECT_NE(first_id, second_id);
}

}  // namespace
}  // namespace winrt_layer
