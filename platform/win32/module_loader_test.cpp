#include <errhandlingapi.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <winbase.h>
#include <winerror.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr char kProbeModule[] = "win32_loader_probe.dll";
constexpr char kProbeFunction[] = "Win32LoaderProbeAnswer";

// Casts through the generic function type, which converts to every other.
template <typename Function>
Function FunctionCast(FARPROC procedure) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(procedure));
}

std::string ExecutableDirectory() {
  std::vector<char> path(4096);
  ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  std::string text(path.data(), length > 0 ? static_cast<size_t>(length) : 0);
  return text.substr(0, text.rfind('/'));
}

TEST(ModuleLoaderTest, User32IsTheLayerItself) {
  HMODULE user32 = LoadLibraryA("User32.dll");
  ASSERT_NE(user32, nullptr);
  EXPECT_NE(GetProcAddress(user32, "EnableNonClientDpiScaling"), nullptr);
  EXPECT_EQ(FunctionCast<decltype(&CreateEventW)>(GetProcAddress(user32, "CreateEventW")),
            &CreateEventW);
  // Letter case and the extension do not matter, as on Windows.
  HMODULE upper = LoadLibraryA("USER32.DLL");
  HMODULE bare = LoadLibraryW(L"user32");
  EXPECT_EQ(upper, user32);
  EXPECT_EQ(bare, user32);
  EXPECT_EQ(GetModuleHandleW(L"kernel32.dll"), user32);
  EXPECT_TRUE(FreeLibrary(bare));
  EXPECT_TRUE(FreeLibrary(upper));
  EXPECT_TRUE(FreeLibrary(user32));
}

TEST(ModuleLoaderTest, MissingModulesAndProceduresAreReported) {
  SetLastError(0);
  EXPECT_EQ(LoadLibraryA("no_such_module_anywhere.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  SetLastError(0);
  EXPECT_EQ(GetModuleHandleW(L"no_such_module_anywhere.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

  HMODULE user32 = LoadLibraryA("user32.dll");
  ASSERT_NE(user32, nullptr);
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(user32, "NoSuchFunction"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(user32, reinterpret_cast<LPCSTR>(uintptr_t{1})), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_TRUE(FreeLibrary(user32));

  SetLastError(0);
  EXPECT_EQ(GetProcAddress(reinterpret_cast<HMODULE>(uintptr_t{0x1230}), "CreateEventW"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(ModuleLoaderTest, DllNameLoadsTheLibraryBesideTheExecutable) {
  HMODULE module = LoadLibraryA(kProbeModule);
  ASSERT_NE(module, nullptr) << "lib" << kProbeModule << " beside the test";
  auto answer = FunctionCast<int (*)()>(GetProcAddress(module, kProbeFunction));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(), 42);
  // Only the module's own functions, not those of the libraries it uses.
  EXPECT_EQ(GetProcAddress(module, "malloc"), nullptr);
  // Loaded, it is found by any spelling of its name, without a reference.
  EXPECT_EQ(GetModuleHandleW(L"WIN32_LOADER_PROBE.DLL"), module);

  // A path names the file; backslashes separate as on Windows.
  std::string path = ExecutableDirectory() + "/" + kProbeModule;
  std::replace(path.begin(), path.end(), '/', '\\');
  HMODULE by_path = LoadLibraryA(path.c_str());
  EXPECT_EQ(by_path, module);

  EXPECT_TRUE(FreeLibrary(by_path));
  EXPECT_TRUE(FreeLibrary(module));
  SetLastError(0);
  EXPECT_FALSE(FreeLibrary(module));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  // The last reference unloaded it.
  EXPECT_EQ(GetModuleHandleW(L"win32_loader_probe.dll"), nullptr);
}

TEST(ModuleLoaderTest, NullNameIsTheExecutable) {
  HMODULE executable = GetModuleHandleW(nullptr);
  ASSERT_NE(executable, nullptr);
  EXPECT_NE(executable, GetModuleHandleW(L"user32.dll"));
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(executable, kProbeFunction), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
}

TEST(ModuleLoaderTest, ModuleFileNameIsTheFullPathOfTheModule) {
  std::vector<wchar_t> buffer(4096);
  const DWORD length =
      GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  std::string path;
  for (DWORD i = 0; i < length; ++i) {
    path += static_cast<char>(buffer[i]);
  }
  EXPECT_EQ(path, ExecutableDirectory() + "/win32_process_tests");
  EXPECT_EQ(buffer[length], L'\0');

  // Too small: cut, terminated, and the buffer's size returned.
  wchar_t small[5] = {L'x', L'x', L'x', L'x', L'x'};
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(nullptr, small, 5), 5u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::wstring(small), std::wstring(buffer.data(), 4));

  // A library loaded by a relative name still reports its full path.
  HMODULE module = LoadLibraryA(kProbeModule);
  ASSERT_NE(module, nullptr);
  const DWORD module_length =
      GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
  std::string module_path;
  for (DWORD i = 0; i < module_length; ++i) {
    module_path += static_cast<char>(buffer[i]);
  }
  EXPECT_EQ(module_path, ExecutableDirectory() + "/libwin32_loader_probe.so");
  EXPECT_TRUE(FreeLibrary(module));

  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size())), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

}  // namespace
