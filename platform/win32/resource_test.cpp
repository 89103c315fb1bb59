#include <dlfcn.h>
#include <errhandlingapi.h>
#include <link.h>
#include <winbase.h>
#include <winerror.h>
#include <winuser.h>

#include <gtest/gtest.h>

// The icon this test program declares, the way the application declares its
// icon 101 off Windows.
extern "C" __attribute__((visibility("default")))
const unsigned char win32_icon_resource_101[] = {0, 0, 1, 0};

namespace {

TEST(ResourceTest, ModuleIconsAreTheOnesTheModuleDeclares) {
  const HINSTANCE executable = GetModuleHandleW(nullptr);
  ASSERT_NE(executable, nullptr);
  const HICON icon = LoadIconW(executable, MAKEINTRESOURCEW(101));
  EXPECT_NE(icon, nullptr);
  EXPECT_EQ(LoadIconW(executable, MAKEINTRESOURCEW(101)), icon);

  SetLastError(0);
  EXPECT_EQ(LoadIconW(executable, MAKEINTRESOURCEW(102)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(LoadIconW(executable, L"named"), nullptr);
  EXPECT_EQ(LoadCursorW(executable, MAKEINTRESOURCEW(101)), nullptr);
}

TEST(ResourceTest, ModuleMayBeGivenByItsBaseAddress) {
  Dl_info info;
  ASSERT_NE(dladdr(reinterpret_cast<const void*>(&win32_icon_resource_101), &info), 0);
  const auto base = static_cast<HINSTANCE>(info.dli_fbase);
  EXPECT_EQ(LoadIconW(base, MAKEINTRESOURCEW(101)),
            LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(101)));
}

TEST(ResourceTest, AModuleDoesNotDeclareAnotherModulesIcons) {
  // The platform library finds the executable's symbol through the global
  // scope, but does not export it itself.
  const HMODULE layer = LoadLibraryA("User32.dll");
  ASSERT_NE(layer, nullptr);
  EXPECT_EQ(LoadIconW(layer, MAKEINTRESOURCEW(101)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  FreeLibrary(layer);
  EXPECT_EQ(LoadIconW(reinterpret_cast<HINSTANCE>(0x1234), MAKEINTRESOURCEW(101)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(ResourceTest, SystemIconsAndCursorsLoadWithoutAModule) {
  const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  EXPECT_NE(arrow, nullptr);
  EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), arrow);
  EXPECT_NE(LoadCursorW(nullptr, IDC_IBEAM), arrow);
  EXPECT_NE(LoadIconW(nullptr, IDI_APPLICATION), nullptr);
  EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(101)), nullptr);
}

TEST(ResourceTest, NonClientDpiScalingIsFoundInUser32) {
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.lpszClassName = L"ResourceTestWindow";
  ASSERT_NE(RegisterClassW(&window_class), 0);
  HWND window = CreateWindowExW(0, L"ResourceTestWindow", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                nullptr, nullptr, nullptr, nullptr);
  const HMODULE user32 = LoadLibraryA("User32.dll");
  ASSERT_NE(user32, nullptr);
  // Written as product code writes it: through void (*)(), which GCC's
  // -Wcast-function-type lets convert to any function type, here and with
  // the Windows headers alike.
  using EnableNonClientDpiScalingProc = BOOL(WINAPI*)(HWND);
  const auto enable = reinterpret_cast<EnableNonClientDpiScalingProc>(
      reinterpret_cast<void (*)()>(GetProcAddress(user32, "EnableNonClientDpiScaling")));
  ASSERT_NE(enable, nullptr);
  EXPECT_TRUE(enable(window));
  FreeLibrary(user32);
  DestroyWindow(window);
  UnregisterClassW(L"ResourceTestWindow", nullptr);
}

}  // namespace
