#include "shell/startup_utilities.h"

// windows.h comes first: the other Windows headers build on it.
#include <windows.h>

#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <iostream>

#include "engine_bridge/engine_api.h"

void OpenDebugConsole() {
  if (AllocConsole() == 0) {
    return;
  }
  FILE* unused = nullptr;
  if (freopen_s(&unused, "CONOUT$", "w", stdout) != 0) {
    _dup2(_fileno(stdout), 1);
  }
  if (freopen_s(&unused, "CONOUT$", "w", stderr) != 0) {
    // Error output goes wherever standard output goes.
    _dup2(_fileno(stdout), 2);
  }
  std::ios::sync_with_stdio(true);
  FlutterDesktopResyncOutputStreams();
}

std::vector<std::string> CollectLaunchArguments() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) {
    return std::vector<std::string>();
  }
  std::vector<std::string> launch_arguments;
  for (int i = 1; i < count; ++i) {
    launch_arguments.push_back(Utf16ToUtf8(arguments[i]));
  }
  LocalFree(arguments);
  return launch_arguments;
}

std::string Utf16ToUtf8(const wchar_t* text) {
  if (text == nullptr) {
    return std::string();
  }
  const int size_with_terminator =
      WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, -1, nullptr, 0, nullptr, nullptr);
  if (size_with_terminator == 0) {
    return std::string();
  }
  const int target_length = size_with_terminator - 1;
  if (target_length == 0) {
    return std::string();
  }
  const int input_length = static_cast<int>(std::wcslen(text));
  std::string utf8(static_cast<size_t>(target_length), '\0');
  if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, input_length, utf8.data(),
                          target_length, nullptr, nullptr) == 0) {
    return std::string();
  }
  return utf8;
}
