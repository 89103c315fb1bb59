#include <errhandlingapi.h>
#include <win32_desktop_control.h>
#include <winerror.h>
#include <winuser.h>

#include <algorithm>
#include <thread>

#include "platform/win32/recording_window.h"

namespace win32_test {
namespace {

using WindowLifecycleTest = DesktopTest;

TEST_F(WindowLifecycleTest, CreationSendsNcCreateCreateSizeAndMoveWithTheCreationRecord) {
  int creation_parameter = 7;
  CREATESTRUCTW seen = {};
  recorder().SetReaction([&](HWND, UINT message, WPARAM, LPARAM lparam) -> std::optional<LRESULT> {
    if (message == WM_NCCREATE) {
      seen = *reinterpret_cast<CREATESTRUCTW*>(lparam);
    }
    return std::nullopt;
  });
  HWND window = CreateWindowExW(0, L"recordingwindow", L"Title", WS_OVERLAPPEDWINDOW, 10, 20, 300,
                                200, nullptr, nullptr, nullptr, &creation_parameter);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(recorder().Ids(window), (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE}));
  EXPECT_EQ(seen.lpCreateParams, &creation_parameter);
  EXPECT_EQ(seen.x, 10);
  EXPECT_EQ(seen.y, 20);
  EXPECT_EQ(seen.cx, 300);
  EXPECT_EQ(seen.cy, 200);
  EXPECT_EQ(std::wstring(seen.lpszName), L"Title");
  // Sized and moved to the client area inside the 96 DPI frame.
  const std::vector<RecordedMessage> messages = recorder().Of(window);
  EXPECT_EQ(messages[2].wparam, static_cast<WPARAM>(SIZE_RESTORED));
  EXPECT_EQ(messages[2].lparam, MAKELPARAM(300 - 16, 200 - 39));
  EXPECT_EQ(messages[3].lparam, MAKELPARAM(10 + 8, 20 + 31));
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(WindowLifecycleTest, VisibleStyleShowsAndActivatesAfterCreation) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(
      recorder().Ids(window,
                     {WM_CREATE, WM_SHOWWINDOW, WM_ACTIVATE, WM_SETFOCUS, WM_WINDOWPOSCHANGED}),
      (std::vector<UINT>{WM_CREATE, WM_SHOWWINDOW, WM_ACTIVATE, WM_SETFOCUS, WM_WINDOWPOSCHANGED}));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(GetForegroundWindow(), window);
  EXPECT_EQ(GetActiveWindow(), window);
  EXPECT_EQ(GetFocus(), window);
}

TEST_F(WindowLifecycleTest, RefusedNcCreateFailsCreationWithNcDestroyOnly) {
  recorder().SetReaction([](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    return message == WM_NCCREATE ? std::optional<LRESULT>(FALSE) : std::nullopt;
  });
  EXPECT_EQ(CreateTopLevel(), nullptr);
  EXPECT_EQ(recorder().Ids(nullptr), (std::vector<UINT>{WM_NCCREATE, WM_NCDESTROY}));
  EXPECT_TRUE(win32_desktop::TopLevelWindows().empty());
  EXPECT_TRUE(UnregisterClassW(kRecordingClass, nullptr));
}

TEST_F(WindowLifecycleTest, FailedCreateDestroysTheWindow) {
  recorder().SetReaction([](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    return message == WM_CREATE ? std::optional<LRESULT>(-1) : std::nullopt;
  });
  EXPECT_EQ(CreateTopLevel(), nullptr);
  EXPECT_EQ(recorder().Ids(nullptr),
            (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
  EXPECT_TRUE(win32_desktop::TopLevelWindows().empty());
}

TEST_F(WindowLifecycleTest, DestroyAnnouncesParentFirstAndFreesChildrenFirst) {
  HWND parent = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND child = CreateChild(parent);
  HWND grandchild = CreateChild(child);
  HWND sibling = CreateChild(parent);
  recorder().Clear();

  ASSERT_TRUE(DestroyWindow(parent));

  std::vector<std::pair<HWND, UINT>> order;
  for (const RecordedMessage& message : recorder().Of()) {
    if (message.message == WM_DESTROY || message.message == WM_NCDESTROY) {
      order.emplace_back(message.window, message.message);
    }
  }
  // Siblings in z-order: the later child is in front.
  EXPECT_EQ(order, (std::vector<std::pair<HWND, UINT>>{{parent, WM_DESTROY},
                                                       {sibling, WM_DESTROY},
                                                       {child, WM_DESTROY},
                                                       {grandchild, WM_DESTROY},
                                                       {grandchild, WM_NCDESTROY},
                                                       {child, WM_NCDESTROY},
                                                       {sibling, WM_NCDESTROY},
                                                       {parent, WM_NCDESTROY}}));
  // Hidden and deactivated before the destruction is announced.
  EXPECT_EQ(recorder().Ids(parent, {WM_WINDOWPOSCHANGED, WM_ACTIVATE, WM_DESTROY}),
            (std::vector<UINT>{WM_WINDOWPOSCHANGED, WM_ACTIVATE, WM_DESTROY}));
  for (HWND window : {parent, child, grandchild, sibling}) {
    EXPECT_FALSE(IsWindow(window));
  }
  EXPECT_EQ(GetForegroundWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_FALSE(DestroyWindow(parent));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowLifecycleTest, WindowStaysUsableWhileItsDestructionIsAnnounced) {
  HWND window = CreateTopLevel();
  bool valid_during_destroy = false;
  BOOL second_destroy = FALSE;
  recorder().SetReaction([&](HWND target, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_DESTROY) {
      valid_during_destroy = IsWindow(target) != FALSE;
      second_destroy = DestroyWindow(target);
    }
    return std::nullopt;
  });
  ASSERT_TRUE(DestroyWindow(window));
  EXPECT_TRUE(valid_during_destroy);
  EXPECT_TRUE(second_destroy);
  EXPECT_EQ(recorder().Ids(window, {WM_DESTROY, WM_NCDESTROY}),
            (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(WindowLifecycleTest, CloseReachesDefaultHandlingWhichDestroys) {
  HWND window = CreateTopLevel();
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(recorder().Ids(window, {WM_CLOSE, WM_DESTROY, WM_NCDESTROY}),
            (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(WindowLifecycleTest, OnlyTheOwningThreadDestroys) {
  HWND window = CreateTopLevel();
  BOOL result = TRUE;
  DWORD error = 0;
  std::thread other([&] {
    result = DestroyWindow(window);
    error = GetLastError();
  });
  other.join();
  EXPECT_FALSE(result);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(IsWindow(window));
}

TEST_F(WindowLifecycleTest, ClassRegistrationErrors) {
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = RecordingProcedure;
  window_class.lpszClassName = L"RECORDINGWINDOW";
  EXPECT_EQ(RegisterClassW(&window_class), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));

  HWND window = CreateTopLevel();
  EXPECT_FALSE(UnregisterClassW(L"recordingWindow", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
  DestroyWindow(window);
  EXPECT_TRUE(UnregisterClassW(L"recordingWindow", nullptr));

  EXPECT_FALSE(UnregisterClassW(kRecordingClass, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));
  EXPECT_EQ(CreateTopLevel(), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));

  window_class.lpszClassName = L"ByAtom";
  const ATOM atom = RegisterClassW(&window_class);
  ASSERT_NE(atom, 0);
  HWND by_atom = CreateWindowExW(0, MAKEINTATOM(atom), L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, nullptr, nullptr);
  EXPECT_NE(by_atom, nullptr);
  EXPECT_EQ(FindWindowW(L"byatom", nullptr), by_atom);
}

TEST_F(WindowLifecycleTest, UnregisteredClassesGiveBackTheirAtoms) {
  // More registrations than there are class atoms.
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.lpszClassName = L"Churn";
  for (int i = 0; i < 0x4001; ++i) {
    ASSERT_NE(RegisterClassW(&window_class), 0) << i;
    ASSERT_TRUE(UnregisterClassW(L"Churn", nullptr));
  }
}

TEST_F(WindowLifecycleTest, ChildStyleNeedsAParent) {
  EXPECT_EQ(CreateWindowExW(0, kRecordingClass, L"", WS_CHILD, 0, 0, 10, 10, nullptr, nullptr,
                            nullptr, nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
  EXPECT_EQ(CreateWindowExW(0, kRecordingClass, L"", WS_CHILD, 0, 0, 10, 10,
                            reinterpret_cast<HWND>(0x1234), nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowLifecycleTest, WindowLongsReturnTheirPreviousValue) {
  HWND window = CreateTopLevel();
  EXPECT_EQ(GetWindowLongPtrW(window, GWLP_USERDATA), 0);
  EXPECT_EQ(SetWindowLongPtrW(window, GWLP_USERDATA, 42), 0);
  EXPECT_EQ(SetWindowLongPtrW(window, GWLP_USERDATA, 43), 42);
  EXPECT_EQ(GetWindowLongPtrW(window, GWLP_USERDATA), 43);

  // Overlapped windows always get a caption and clip their siblings.
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
            static_cast<DWORD>(WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS));

  static int replacement_calls;
  replacement_calls = 0;
  const WNDPROC replacement = [](HWND target, UINT message, WPARAM wparam, LPARAM lparam) {
    ++replacement_calls;
    return DefWindowProcW(target, message, wparam, lparam);
  };
  const LONG_PTR original =
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replacement));
  EXPECT_EQ(original, reinterpret_cast<LONG_PTR>(&RecordingProcedure));
  recorder().Clear();
  SendMessageW(window, WM_USER, 0, 0);
  EXPECT_EQ(replacement_calls, 1);
  EXPECT_TRUE(recorder().Of(window).empty());

  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtrW(window, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
  EXPECT_EQ(GetWindowLongPtrW(reinterpret_cast<HWND>(0x1234), GWLP_USERDATA), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowLifecycleTest, WindowExtraBytesHoldValues) {
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.cbWndExtra = 16;
  window_class.lpszClassName = L"WithExtra";
  ASSERT_NE(RegisterClassW(&window_class), 0);
  HWND window = CreateWindowExW(0, L"WithExtra", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                nullptr, nullptr);
  EXPECT_EQ(SetWindowLongPtrW(window, 8, 99), 0);
  EXPECT_EQ(GetWindowLongPtrW(window, 8), 99);
  EXPECT_EQ(GetWindowLongPtrW(window, 9), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
}

TEST_F(WindowLifecycleTest, FindWindowMatchesTopLevelClassAndTitleIgnoringCase) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW, {10, 10, 100, 100}, L"photos_norvalis");
  CreateChild(window);
  EXPECT_EQ(FindWindowW(kRecordingClass, L"photos_norvalis"), window);
  EXPECT_EQ(FindWindowW(L"RECORDINGWINDOW", L"Photos_Norvalis"), window);
  EXPECT_EQ(FindWindowW(nullptr, L"PHOTOS_NORVALIS"), window);
  EXPECT_EQ(FindWindowW(kRecordingClass, nullptr), window);
  EXPECT_EQ(FindWindowW(kRecordingClass, L"photos_norvalis2"), nullptr);
  EXPECT_EQ(FindWindowW(kRecordingClass, L""), nullptr);
  EXPECT_EQ(FindWindowW(L"OtherClass", L"photos_norvalis"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));

  // Child windows are never found; of two matches the front one is.
  HWND later = CreateTopLevel(WS_OVERLAPPEDWINDOW, {10, 10, 100, 100}, L"photos_norvalis");
  EXPECT_EQ(FindWindowW(kRecordingClass, L"photos_norvalis"), later);
  EXPECT_EQ(FindWindowW(nullptr, L""), nullptr);
  DestroyWindow(later);
  EXPECT_EQ(FindWindowW(kRecordingClass, L"photos_norvalis"), window);
}

TEST_F(WindowLifecycleTest, FindWindowComparesLettersBeyondAscii) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW, {0, 0, 10, 10},
                               L"\u00e9t\u00e9 \u0444\u043e\u0442\u043e");
  EXPECT_EQ(FindWindowW(nullptr, L"\u00c9T\u00c9 \u0424\u041e\u0422\u041e"), window);
  EXPECT_EQ(FindWindowW(nullptr, L"ete \u0424\u041e\u0422\u041e"), nullptr);
}

TEST_F(WindowLifecycleTest, SetParentMovesAWindowBetweenParents) {
  HWND first = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 500, 400});
  HWND second = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {600, 100, 900, 400});
  HWND child = CreateChild(first, {5, 6, 55, 56});
  EXPECT_EQ(GetParent(child), first);
  EXPECT_EQ(WindowRect(child), (RECT{100 + 8 + 5, 100 + 31 + 6, 100 + 8 + 55, 100 + 31 + 56}));

  EXPECT_EQ(SetParent(child, second), first);
  EXPECT_EQ(GetParent(child), second);
  EXPECT_EQ(win32_desktop::ChildWindows(first), std::vector<HWND>{});
  EXPECT_EQ(win32_desktop::ChildWindows(second), std::vector<HWND>{child});
  EXPECT_EQ(WindowRect(child), (RECT{600 + 8 + 5, 100 + 31 + 6, 600 + 8 + 55, 100 + 31 + 56}));

  EXPECT_EQ(SetParent(second, child), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  DestroyWindow(second);
  EXPECT_FALSE(IsWindow(child));
}

TEST_F(WindowLifecycleTest, GetAncestorFollowsParentsThenPopUpOwners) {
  HWND owner = CreateTopLevel();
  HWND popup = CreateWindowExW(0, kRecordingClass, L"", WS_POPUP, 0, 0, 50, 50, owner, nullptr,
                               nullptr, nullptr);
  HWND child = CreateChild(popup);
  HWND grandchild = CreateChild(child);

  EXPECT_EQ(GetAncestor(grandchild, GA_PARENT), child);
  EXPECT_EQ(GetAncestor(popup, GA_PARENT), nullptr);
  EXPECT_EQ(GetAncestor(grandchild, GA_ROOT), popup);
  EXPECT_EQ(GetAncestor(popup, GA_ROOT), popup);
  EXPECT_EQ(GetAncestor(grandchild, GA_ROOTOWNER), owner);

  // An overlapped window does not lead on to its owner.
  HWND owned = CreateWindowExW(0, kRecordingClass, L"", WS_OVERLAPPED, 0, 0, 50, 50, owner, nullptr,
                               nullptr, nullptr);
  EXPECT_EQ(GetAncestor(owned, GA_ROOTOWNER), owned);

  SetLastError(0);
  EXPECT_EQ(GetAncestor(child, 7), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  DestroyWindow(owner);
  EXPECT_EQ(GetAncestor(child, GA_ROOT), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowLifecycleTest, WindowsOfThreadListsEveryKindOfWindowOfThatThreadOnly) {
  HWND top = CreateTopLevel();
  HWND child = CreateChild(top);
  HWND message_only = CreateWindowExW(0, kRecordingClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      nullptr, nullptr);
  HWND other_thread_window = nullptr;
  std::thread([&] { other_thread_window = CreateTopLevel(); }).join();

  std::vector<HWND> windows = win32_desktop::WindowsOfThread(win32_desktop::CurrentThreadId());
  std::sort(windows.begin(), windows.end());
  std::vector<HWND> expected = {top, child, message_only};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(windows, expected);
  // The other thread's window went with its thread.
  EXPECT_FALSE(IsWindow(other_thread_window));
}

}  // namespace
}  // namespace win32_test
