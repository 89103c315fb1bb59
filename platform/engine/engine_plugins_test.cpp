#include <gtest/gtest.h>
#include <win32_desktop_control.h>
#include <windows.h>

#include <string>
#include <vector>

#include "engine_bridge/engine_api.h"
#include "platform/engine/testing/engine_test.h"

namespace engine_test {
namespace {

using EnginePluginsTest = EngineTest;

TEST_F(EnginePluginsTest, EachPluginNameHasOneRegistrarPerEngine) {
  FlutterDesktopEngineRef first = CreateEngine();
  FlutterDesktopPluginRegistrarRef camera = FlutterDesktopEngineGetPluginRegistrar(first, "camera");
  ASSERT_NE(camera, nullptr);
  EXPECT_EQ(FlutterDesktopEngineGetPluginRegistrar(first, "camera"), camera);
  EXPECT_NE(FlutterDesktopEngineGetPluginRegistrar(first, "share"), camera);
  EXPECT_EQ(FlutterDesktopPluginRegistrarGetMessenger(camera),
            FlutterDesktopEngineGetMessenger(first));
  EXPECT_EQ(FlutterDesktopPluginRegistrarGetMessenger(nullptr), nullptr);

  FlutterDesktopEngineProperties properties = {};
  properties.entrypoint = "";
  FlutterDesktopEngineRef second = FlutterDesktopEngineCreate(&properties);
  FlutterDesktopPluginRegistrarRef other = FlutterDesktopEngineGetPluginRegistrar(second, "camera");
  EXPECT_NE(other, camera);
  EXPECT_EQ(FlutterDesktopPluginRegistrarGetMessenger(other),
            FlutterDesktopEngineGetMessenger(second));
  EXPECT_TRUE(FlutterDesktopEngineDestroy(second));
}

// A delegate's user data: what it answers, and where it notes that it ran.
struct Delegate {
  std::string name;
  bool consumes;
  LRESULT result;
  std::vector<std::string>* calls;
};

bool OfferToDelegate(HWND, UINT message, WPARAM, LPARAM, void* user_data, LRESULT* result) {
  auto* delegate = static_cast<Delegate*>(user_data);
  delegate->calls->push_back(delegate->name + ":" + std::to_string(message));
  if (delegate->consumes) {
    *result = delegate->result;
  }
  return delegate->consumes;
}

bool OtherDelegate(HWND window,
                   UINT message,
                   WPARAM wparam,
                   LPARAM lparam,
                   void* user_data,
                   LRESULT* result) {
  return OfferToDelegate(window, message, wparam, lparam, user_data, result);
}

TEST_F(EnginePluginsTest, DelegatesSeeTopLevelMessagesInRegistrationOrderUntilOneConsumes) {
  StartProbe();
  FlutterDesktopPluginRegistrarRef links =
      FlutterDesktopEngineGetPluginRegistrar(running_engine(), "links");
  FlutterDesktopPluginRegistrarRef camera =
      FlutterDesktopEngineGetPluginRegistrar(running_engine(), "camera");
  std::vector<std::string> calls;
  Delegate declines = {"declines", false, 0, &calls};
  Delegate consumes = {"consumes", true, 42, &calls};
  Delegate last = {"last", true, 7, &calls};
  FlutterDesktopPluginRegistrarRegisterTopLevelWindowProcDelegate(links, OfferToDelegate,
                                                                  &declines);
  FlutterDesktopPluginRegistrarRegisterTopLevelWindowProcDelegate(camera, OfferToDelegate,
                                                                  &consumes);
  FlutterDesktopPluginRegistrarRegisterTopLevelWindowProcDelegate(links, OtherDelegate, &last);

  LRESULT result = -1;
  EXPECT_TRUE(FlutterDesktopViewControllerHandleTopLevelWindowProc(controller_, nullptr,
                                                                   WM_COPYDATA, 0, 0, &result));
  EXPECT_EQ(result, 42);
  EXPECT_EQ(calls, (std::vector<std::string>{"declines:74", "consumes:74"}));

  // The same function from another registrar is that registrar's delegate.
  calls.clear();
  FlutterDesktopPluginRegistrarUnregisterTopLevelWindowProcDelegate(camera, OfferToDelegate);
  EXPECT_TRUE(FlutterDesktopViewControllerHandleTopLevelWindowProc(controller_, nullptr, WM_SIZE, 0,
                                                                   0, &result));
  EXPECT_EQ(result, 7);
  EXPECT_EQ(calls, (std::vector<std::string>{"declines:5", "last:5"}));

  calls.clear();
  result = -1;
  FlutterDesktopPluginRegistrarUnregisterTopLevelWindowProcDelegate(links, OtherDelegate);
  EXPECT_FALSE(FlutterDesktopViewControllerHandleTopLevelWindowProc(controller_, nullptr, WM_SIZE,
                                                                    0, 0, &result));
  EXPECT_EQ(result, -1);
  EXPECT_EQ(calls, std::vector<std::string>{"declines:5"});
}

// The host's top-level window: notes its messages and, as the host does, ends
// the engine while it is being destroyed.
struct HostWindow {
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (instance != nullptr && (message == WM_CLOSE || message == WM_DESTROY)) {
      instance->messages.push_back({window, message});
      if (message == WM_DESTROY && window == instance->top && instance->on_destroy) {
        instance->on_destroy();
      }
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }

  HostWindow() {
    instance = this;
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = Procedure;
    window_class.lpszClassName = L"TestHostWindow";
    RegisterClassW(&window_class);
    top = CreateWindowExW(0, L"TestHostWindow", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600,
                          nullptr, nullptr, nullptr, nullptr);
    inner = CreateWindowExW(0, L"TestHostWindow", L"", WS_CHILD | WS_VISIBLE, 0, 0, 700, 500, top,
                            nullptr, nullptr, nullptr);
  }
  ~HostWindow() { instance = nullptr; }

  static HostWindow* instance;
  HWND top = nullptr;
  HWND inner = nullptr;
  std::vector<std::pair<HWND, UINT>> messages;
  std::function<void()> on_destroy;
};

HostWindow* HostWindow::instance = nullptr;

TEST_F(EnginePluginsTest, CloseWindowPostsWmCloseToTheViewsTopLevelWindow) {
  StartProbe();
  HostWindow host;
  host.on_destroy = [this] { DestroyController(); };
  ASSERT_NE(SetParent(view_window(), host.inner), nullptr);
  ReplyRecord* command = SendToApp("probe/command", "close");
  ASSERT_TRUE(PumpUntil([&host] { return !IsWindow(host.top); }));
  // The close request overtook the command's answer, which the ending
  // engine then answered with nothing.
  EXPECT_EQ(command->calls, 1);
  // Closed as the user would close it, and torn down the host's way: the
  // engine ends while the host's window is being destroyed.
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages.front(), std::make_pair(host.top, static_cast<UINT>(WM_CLOSE)));
  EXPECT_EQ(controller_, nullptr);
  EXPECT_TRUE(win32_desktop::WindowsOfThread(MainThread()).empty());
}

TEST_F(EnginePluginsTest, CloseWindowBeforeTheViewIsEmbeddedClosesNothing) {
  StartProbe();
  Command("close");
  Flush();
  EXPECT_TRUE(FlutterDesktopMessengerIsAvailable(messenger_));
  EXPECT_EQ(win32_desktop::WindowsOfThread(MainThread()).size(), 2u);
}

}  // namespace
}  // namespace engine_test
