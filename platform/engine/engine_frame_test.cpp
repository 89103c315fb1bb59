#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "engine_bridge/engine_api.h"
#include "platform/engine/testing/engine_test.h"

namespace engine_test {
namespace {

class EngineFrameTest : public EngineTest {
 protected:
  // The host's next-frame callback, recorded among the host's events.
  void ExpectNextFrame() {
    FlutterDesktopEngineSetNextFrameCallback(running_engine(), OnNextFrame, this);
  }

  int frames() const {
    return static_cast<int>(std::count(events_.begin(), events_.end(), "next-frame"));
  }

 private:
  static void OnNextFrame(void* user_data) {
    auto* self = static_cast<EngineFrameTest*>(user_data);
    EXPECT_EQ(win32_desktop::CurrentThreadId(), MainThread());
    self->events_.push_back("next-frame");
  }
};

TEST_F(EngineFrameTest, RequestedFrameWaitsUntilTheApplicationsEntryPointReturned) {
  HANDLE gate = CreateEventW(nullptr, TRUE, FALSE, L"probe_app_gate");
  Listen("probe/main");
  CreateEngine("gated");
  ASSERT_NE(StartEngine(), nullptr);
  ExpectNextFrame();
  FlutterDesktopViewControllerForceRedraw(controller_);
  PumpFor(std::chrono::milliseconds(100));
  EXPECT_EQ(frames(), 0);

  SetEvent(gate);
  ASSERT_TRUE(PumpUntil([this] { return frames() == 1; }));
  EXPECT_EQ(events_, (std::vector<std::string>{"probe/main:gated|0|null", "next-frame"}));
  CloseHandle(gate);
}

TEST_F(EngineFrameTest, NextFrameCallbackRunsOnceForTheFrameAfterIt) {
  StartProbe();
  ExpectNextFrame();
  // No request, no frame.
  Flush();
  EXPECT_EQ(frames(), 0);

  FlutterDesktopViewControllerForceRedraw(controller_);
  ASSERT_TRUE(PumpUntil([this] { return frames() == 1; }));
  FlutterDesktopViewControllerForceRedraw(controller_);
  Flush();
  EXPECT_EQ(frames(), 1);

  ExpectNextFrame();
  FlutterDesktopViewControllerForceRedraw(controller_);
  ASSERT_TRUE(PumpUntil([this] { return frames() == 2; }));
}

// Shows the host's window after the first frame, taking its time, as the
// host does.
void ShowHostWindow(void* window) {
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ShowWindow(static_cast<HWND>(window), SW_SHOWNORMAL);
}

TEST_F(EngineFrameTest, PostFrameCallbacksRunOnceAfterTheHostsNextFrameCallbackReturned) {
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.lpszClassName = L"ProbeHostWindow";
  ASSERT_NE(RegisterClassW(&window_class), 0);
  HWND host = CreateWindowExW(0, L"ProbeHostWindow", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600,
                              nullptr, nullptr, nullptr, nullptr);
  Listen("probe/frame");
  StartProbe();
  Command("post-frame");
  FlutterDesktopEngineSetNextFrameCallback(running_engine(), ShowHostWindow, host);
  FlutterDesktopViewControllerForceRedraw(controller_);
  ASSERT_TRUE(PumpUntil([this] { return !MessagesOn("probe/frame").empty(); }));
  EXPECT_EQ(MessagesOn("probe/frame"), std::vector<std::string>{"post-frame:shown"});

  FlutterDesktopViewControllerForceRedraw(controller_);
  Flush();
  EXPECT_EQ(MessagesOn("probe/frame").size(), 1u);
}

}  // namespace
}  // namespace engine_test
