#include "shell/startup_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// Each test its own name, so that a lock a failed test left behind cannot
// reach the next one.
std::wstring LockName(const char* test) {
  return L"Local\\norvalis-startup-lock-test-" + std::wstring(test, test + strlen(test));
}

TEST(StartupLockTest, ALaunchWaitsUntilTheStartingOneReleases) {
  const std::wstring name = LockName("waits");
  auto starting = std::make_unique<StartupLock>(name.c_str(), 0);
  ASSERT_TRUE(starting->held());

  std::atomic<bool> released{false};
  bool held_after_release = false;
  std::thread later([&] {
    StartupLock waiting(name.c_str(), 10000);
    held_after_release = waiting.held() && released;
  });
  std::this_thread::sleep_for(milliseconds(50));
  released = true;
  starting->Release();
  EXPECT_FALSE(starting->held());
  later.join();
  EXPECT_TRUE(held_after_release);
}

TEST(StartupLockTest, ALaunchWhoseHolderEndedWithoutReleasingTakesOver) {
  const std::wstring name = LockName("abandoned");
  // A start-up that fails or crashes never releases; its thread's end
  // stands for the process's.
  std::optional<StartupLock> crashed;
  std::thread([&] {
    crashed.emplace(name.c_str(), 0);
    EXPECT_TRUE(crashed->held());
  }).join();
  StartupLock next(name.c_str(), 10000);
  EXPECT_TRUE(next.held());
  EXPECT_FALSE(next.gave_up());
}

TEST(StartupLockTest, ALaunchWhoseStarterLivesOnGivesUpAfterItsBoundAndSaysSo) {
  const std::wstring name = LockName("bound");
  StartupLock hung(name.c_str(), 0);
  ASSERT_TRUE(hung.held());
  EXPECT_FALSE(hung.gave_up());
  bool held = true;
  bool gave_up = false;
  steady_clock::duration waited{};
  std::thread([&] {
    const auto start = steady_clock::now();
    testing::internal::CaptureStderr();
    const StartupLock waiting(name.c_str(), 100);
    waited = steady_clock::now() - start;
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              std::string(StartupLock::kGaveUpDiagnostic) + "\n");
    held = waiting.held();
    gave_up = waiting.gave_up();
  }).join();
  // It neither starts beside the living starter nor goes on without the lock.
  EXPECT_FALSE(held);
  EXPECT_TRUE(gave_up);
  EXPECT_GE(waited, milliseconds(100));
}

}  // namespace
