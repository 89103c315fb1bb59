#include <gtest/gtest.h>
#include <win32_desktop_control.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

#include "engine_bridge/engine_api.h"
#include "platform/engine/testing/engine_test.h"

namespace engine_test {
namespace {

using EngineShutdownTest = EngineTest;

TEST_F(EngineShutdownTest, MessengerReferencesOutliveTheEngineAsUnavailable) {
  StartProbe();
  FlutterDesktopMessengerRef kept = FlutterDesktopMessengerAddRef(messenger_);
  EXPECT_EQ(kept, messenger_);
  FlutterDesktopMessengerAddRef(messenger_);
  DestroyController();

  EXPECT_FALSE(FlutterDesktopMessengerIsAvailable(kept));
  EXPECT_EQ(FlutterDesktopMessengerLock(kept), kept);
  FlutterDesktopMessengerUnlock(kept);
  EXPECT_FALSE(FlutterDesktopMessengerSend(kept, "probe/echo", nullptr, 0));
  bool accepted = true;
  ReplyRecord* reply = SendToApp("probe/echo", "late", &accepted);
  EXPECT_FALSE(accepted);
  FlutterDesktopMessengerRelease(kept);
  EXPECT_FALSE(FlutterDesktopMessengerIsAvailable(kept));
  FlutterDesktopMessengerRelease(kept);
  EXPECT_EQ(reply->calls, 0);
  EXPECT_TRUE(win32_desktop::WindowsOfThread(MainThread()).empty());
}

TEST_F(EngineShutdownTest, ResponseAfterTheEngineEndedIsDropped) {
  Listen("probe/held", std::nullopt);
  StartProbe();
  Command("send probe/held x");
  ASSERT_TRUE(PumpUntil([this] { return pending_responses_.size() == 1; }));
  FlutterDesktopMessengerRef kept = FlutterDesktopMessengerAddRef(messenger_);
  DestroyController();
  // The handle was the engine's; it is not followed any more.
  FlutterDesktopMessengerLock(kept);
  if (FlutterDesktopMessengerIsAvailable(kept)) {
    ADD_FAILURE() << "the messenger is available after its engine ended";
  }
  const std::string late = "late";
  FlutterDesktopMessengerSendResponse(kept, pending_responses_[0],
                                      reinterpret_cast<const uint8_t*>(late.data()), late.size());
  FlutterDesktopMessengerUnlock(kept);
  FlutterDesktopMessengerRelease(kept);
}

TEST_F(EngineShutdownTest, UnansweredHostMessagesAreAnsweredWithNothingWhenTheEngineEnds) {
  StartProbe();
  ReplyRecord* silent = SendToApp("probe/silent", "no answer");
  Flush();
  EXPECT_EQ(silent->calls, 0);
  DestroyController();
  EXPECT_EQ(silent->calls, 1);
  EXPECT_TRUE(silent->null);
  EXPECT_EQ(silent->thread_id, MainThread());
}

TEST_F(EngineShutdownTest, WorkQueuedForTheApplicationIsDroppedWhenTheEngineEnds) {
  HANDLE block = CreateEventW(nullptr, TRUE, FALSE, L"probe_app_block");
  StartProbe();
  ReplyRecord* blocked = SendToApp("probe/command", "block");
  ReplyRecord* queued = SendToApp("probe/echo", "queued");
  // Released once the engine is already ending, waiting for the application
  // thread.
  std::thread release([block] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    SetEvent(block);
  });
  DestroyController();
  release.join();
  CloseHandle(block);
  // The handler's answer came too late and the echo never ran: both replies
  // were called with nothing, once.
  EXPECT_EQ(blocked->calls, 1);
  EXPECT_TRUE(blocked->null);
  EXPECT_EQ(queued->calls, 1);
  EXPECT_TRUE(queued->null);
}

}  // namespace
}  // namespace engine_test
