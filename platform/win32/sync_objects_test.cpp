// windows.h comes first: the other Windows headers build on it.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "tests/win32_side.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

TEST(SyncObjectsTest, WaitTimesOutOnAnEventThatIsNotSet) {
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  auto start = steady_clock::now();
  EXPECT_EQ(WaitForSingleObject(event, 50), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_GE(steady_clock::now() - start, milliseconds(50));
  EXPECT_TRUE(CloseHandle(event));
}

TEST(SyncObjectsTest, SetFromAnotherThreadEndsAnInfiniteWait) {
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  std::atomic<bool> was_set{false};
  std::thread setter([&] {
    std::this_thread::sleep_for(milliseconds(20));
    was_set = true;
    EXPECT_TRUE(SetEvent(event));
  });
  EXPECT_EQ(WaitForSingleObject(event, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_TRUE(was_set);
  setter.join();
  // The wait took the auto-reset event.
  EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(CloseHandle(event));
}

TEST(SyncObjectsTest, AutoResetEventReleasesOneWaiterPerSet) {
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  std::atomic<int> released{0};
  auto wait = [&] {
    EXPECT_EQ(WaitForSingleObject(event, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
    ++released;
  };
  std::thread first(wait);
  std::thread second(wait);
  std::this_thread::sleep_for(milliseconds(20));
  EXPECT_TRUE(SetEvent(event));
  auto deadline = steady_clock::now() + milliseconds(2000);
  while (released < 1 && steady_clock::now() < deadline) {
    std::this_thread::yield();
  }
  std::this_thread::sleep_for(milliseconds(50));
  EXPECT_EQ(released, 1);
  EXPECT_TRUE(SetEvent(event));
  first.join();
  second.join();
  EXPECT_EQ(released, 2);
  EXPECT_TRUE(CloseHandle(event));
}

TEST(SyncObjectsTest, ManualResetEventStaysSetUntilReset) {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  std::thread first([&] { EXPECT_EQ(WaitForSingleObject(event, 5000), WAIT_OBJECT_0); });
  std::thread second([&] { EXPECT_EQ(WaitForSingleObject(event, 5000), WAIT_OBJECT_0); });
  EXPECT_TRUE(SetEvent(event));
  first.join();
  second.join();
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ResetEvent(event));
  EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(CloseHandle(event));
}

TEST(SyncObjectsTest, InitiallySetEventIsTakenOnce) {
  HANDLE event = CreateEventW(nullptr, FALSE, TRUE, nullptr);
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(CloseHandle(event));
}

TEST(SyncObjectsTest, ClosedHandleIsInvalidEverywhere) {
  HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  ASSERT_NE(event, nullptr);
  EXPECT_TRUE(CloseHandle(event));
  SetLastError(0);
  EXPECT_FALSE(CloseHandle(event));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  SetLastError(0);
  EXPECT_FALSE(SetEvent(event));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  SetLastError(0);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(SyncObjectsTest, PlatformLayerNeverGivesAClosedHandleValueToANewObject) {
  if (!kOnPlatformLayer) {
    GTEST_SKIP() << "Windows reuses handle values; only this layer keeps them apart";
  }
  HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  ASSERT_NE(event, nullptr);
  EXPECT_TRUE(CloseHandle(event));
  HANDLE other = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  EXPECT_NE(other, event);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_FAILED);
  EXPECT_TRUE(CloseHandle(other));
}

TEST(SyncObjectsTest, CloseDuringAWaitLeavesTheWaitToItsEvent) {
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  std::thread waiter(
      [&] { EXPECT_EQ(WaitForSingleObject(event, 100), static_cast<DWORD>(WAIT_TIMEOUT)); });
  std::this_thread::sleep_for(milliseconds(20));
  EXPECT_TRUE(CloseHandle(event));
  waiter.join();
}

TEST(SyncObjectsTest, NamedEventIsSharedWhileAHandleIsOpen) {
  SetLastError(ERROR_INVALID_HANDLE);
  HANDLE first = CreateEventW(nullptr, TRUE, FALSE, L"norvalis-test-event");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  HANDLE second = CreateEventW(nullptr, FALSE, TRUE, L"norvalis-test-event");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_NE(first, second);
  // The second call opened the first event: not set, manual reset.
  EXPECT_EQ(WaitForSingleObject(second, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(SetEvent(first));
  EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(CloseHandle(first));
  EXPECT_TRUE(CloseHandle(second));

  HANDLE fresh = CreateEventW(nullptr, TRUE, FALSE, L"norvalis-test-event");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(WaitForSingleObject(fresh, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(CloseHandle(fresh));
}

// The result of a wait on `handle` from a thread of its own, which ends
// right after (abandoning the mutex when its wait took one).
DWORD WaitOnOtherThread(HANDLE handle, DWORD milliseconds) {
  DWORD result = WAIT_FAILED;
  std::thread([&] { result = WaitForSingleObject(handle, milliseconds); }).join();
  return result;
}

TEST(SyncObjectsTest, MutexIsOwnedByOneThreadAtATimeAndTakenAgainByItsOwner) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, nullptr);
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitOnOtherThread(mutex, 30), static_cast<DWORD>(WAIT_TIMEOUT));
  // Taken twice, so one release still leaves it owned.
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(WaitOnOtherThread(mutex, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(ReleaseMutex(mutex));

  DWORD result = WAIT_FAILED;
  std::thread other([&] {
    result = WaitForSingleObject(mutex, 5000);
    ReleaseMutex(mutex);
  });
  other.join();
  EXPECT_EQ(result, WAIT_OBJECT_0);
  EXPECT_TRUE(CloseHandle(mutex));
}

TEST(SyncObjectsTest, ReleaseByAThreadThatDoesNotOwnTheMutexFails) {
  HANDLE mutex = CreateMutexW(nullptr, TRUE, nullptr);
  ASSERT_NE(mutex, nullptr);
  BOOL released = TRUE;
  DWORD error = 0;
  std::thread([&] {
    SetLastError(0);
    released = ReleaseMutex(mutex);
    error = GetLastError();
  }).join();
  EXPECT_FALSE(released);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_NOT_OWNER));
  EXPECT_TRUE(ReleaseMutex(mutex));
  SetLastError(0);
  EXPECT_FALSE(ReleaseMutex(mutex));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
  EXPECT_TRUE(CloseHandle(mutex));
}

TEST(SyncObjectsTest, ReleaseWakesAThreadWaitingForTheMutex) {
  HANDLE mutex = CreateMutexW(nullptr, TRUE, nullptr);
  ASSERT_NE(mutex, nullptr);
  std::atomic<bool> released{false};
  DWORD result = WAIT_FAILED;
  bool waited_for_release = false;
  std::thread waiter([&] {
    result = WaitForSingleObject(mutex, 10000);
    waited_for_release = released;
    ReleaseMutex(mutex);
  });
  std::this_thread::sleep_for(milliseconds(30));
  released = true;
  EXPECT_TRUE(ReleaseMutex(mutex));
  waiter.join();
  EXPECT_EQ(result, WAIT_OBJECT_0);
  EXPECT_TRUE(waited_for_release);
  EXPECT_TRUE(CloseHandle(mutex));
}

TEST(SyncObjectsTest, MutexOfAThreadThatEndedIsAbandonedToTheNextWait) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, nullptr);
  ASSERT_NE(mutex, nullptr);
  ASSERT_EQ(WaitOnOtherThread(mutex, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(mutex, 5000), static_cast<DWORD>(WAIT_ABANDONED));
  // The abandoning wait took the mutex; it is an ordinary mutex again.
  EXPECT_EQ(WaitOnOtherThread(mutex, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_TRUE(CloseHandle(mutex));
}

TEST(SyncObjectsTest, NamedMutexOpensTheExistingOneWithoutTakingIt) {
  HANDLE first = CreateMutexW(nullptr, TRUE, L"Local\\norvalis-test-mutex");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  HANDLE second = nullptr;
  DWORD error = 0;
  DWORD wait = WAIT_FAILED;
  std::thread([&] {
    second = CreateMutexW(nullptr, TRUE, L"Local\\norvalis-test-mutex");
    error = GetLastError();
    wait = WaitForSingleObject(second, 0);
  }).join();
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  // Still the first thread's: the second creation asked for nothing.
  EXPECT_EQ(wait, static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(ReleaseMutex(second));
  EXPECT_TRUE(CloseHandle(first));
  EXPECT_TRUE(CloseHandle(second));
}

TEST(SyncObjectsTest, NameHeldByAnEventIsNoMutex) {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, L"Local\\norvalis-test-object");
  ASSERT_NE(event, nullptr);
  SetLastError(0);
  EXPECT_EQ(CreateMutexW(nullptr, FALSE, L"Local\\norvalis-test-object"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  SetLastError(0);
  EXPECT_FALSE(ReleaseMutex(event));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_TRUE(CloseHandle(event));
}

}  // namespace
