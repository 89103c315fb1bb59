// windows.h comes first: the other Windows headers build on it.
#include <windows.h>

#include <gtest/gtest.h>
#include <objbase.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "tests/win32_side.h"

namespace {

// Each case runs on a thread of its own, which starts outside any apartment.
void OnNewThread(const std::function<void()>& body) {
  std::thread thread(body);
  thread.join();
}

TEST(ComApartmentTest, RepeatsAreCountedAndTheOtherModelIsRefused) {
  OnNewThread([] {
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    CoUninitialize();
    // One successful call is still unbalanced.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    CoUninitialize();
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CoUninitialize();
  });
}

TEST(ComApartmentTest, RefusedCallNeedsNoBalance) {
  OnNewThread([] {
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), RPC_E_CHANGED_MODE);
    CoUninitialize();
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    CoUninitialize();
  });
}

TEST(ComApartmentTest, ThreadsHaveApartmentsOfTheirOwn) {
  std::mutex mutex;
  std::condition_variable changed;
  bool main_entered = false;
  bool worker_done = false;

  std::thread main_thread([&] {
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    std::unique_lock<std::mutex> lock(mutex);
    main_entered = true;
    changed.notify_all();
    // Stays in its apartment while the other thread enters the other model.
    changed.wait(lock, [&] { return worker_done; });
    lock.unlock();
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
    CoUninitialize();
    CoUninitialize();
  });
  std::thread worker([&] {
    {
      std::unique_lock<std::mutex> lock(mutex);
      changed.wait(lock, [&] { return main_entered; });
    }
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CoUninitialize();
    std::lock_guard<std::mutex> lock(mutex);
    worker_done = true;
    changed.notify_all();
  });
  worker.join();
  main_thread.join();
}

TEST(ComApartmentTest, ReservedPointerIsInvalid) {
  if (RunningOnWine()) {
    GTEST_SKIP() << "Wine accepts a reserved pointer, which Windows refuses";
  }
  OnNewThread([] {
    int reserved = 0;
    EXPECT_EQ(CoInitializeEx(&reserved, COINIT_APARTMENTTHREADED), E_INVALIDARG);
    // It entered no apartment.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CoUninitialize();
  });
}

TEST(ComApartmentTest, UnknownFlagsAreInvalid) {
  if (RunningOnWine()) {
    GTEST_SKIP() << "Wine ignores flags it does not know, which Windows refuses";
  }
  OnNewThread([] {
    EXPECT_EQ(CoInitializeEx(nullptr, 0x100), E_INVALIDARG);
    // It entered no apartment.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CoUninitialize();
  });
}

}  // namespace
