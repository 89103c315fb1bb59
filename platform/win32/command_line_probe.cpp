// Started by command_line_test.cpp with chosen arguments. Writes to standard
// output, each record followed by a zero byte: the show command it was given,
// the command-line text after the program name, then every argument of
// CommandLineToArgvW(GetCommandLineW()), all in UTF-8.

#include <shellapi.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void WriteRecord(const std::string& record) {
  std::fwrite(record.data(), 1, record.size(), stdout);
  std::fputc('\0', stdout);
}

void WriteWide(const wchar_t* text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(size > 0 ? static_cast<size_t>(size) : 1, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
  bytes.resize(bytes.size() - 1);
  WriteRecord(bytes);
}

}  // namespace

// Declared as Windows programs declare it, annotations included.
int APIENTRY wWinMain(_In_ HINSTANCE,
                      _In_opt_ HINSTANCE,
                      _In_ wchar_t* command_line,
                      _In_ int show) {
  WriteRecord(std::to_string(show));
  WriteWide(command_line);
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) {
    return 1;
  }
  for (int i = 0; i < count; ++i) {
    WriteWide(arguments[i]);
  }
  LocalFree(arguments);
  return 0;
}
