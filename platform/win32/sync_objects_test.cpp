#include <errhandlingapi.h>
#include <gtest/gtest.h>
#include <winbase.h>
#include <winerror.h>

#include <atomic>
#include <chrono>
#include <thread>

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
  // A new event does not take the old handle's place.
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

}  // namespace
