#include "tests/windows/launched_program.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr DWORD kPollMs = 10;

HANDLE InheritableOutputFile(const fs::path& path) {
  SECURITY_ATTRIBUTES attributes = {};
  attributes.nLength = sizeof(attributes);
  attributes.bInheritHandle = TRUE;
  // Shared, so that the test reads while the program writes.
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &attributes,
                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

std::wstring Utf8ToUtf16(const std::string& text) {
  if (text.empty()) {
    return std::wstring();
  }
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

std::string Utf16ToUtf8String(const std::wstring& text) {
  if (text.empty()) {
    return std::string();
  }
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                      nullptr, nullptr);
  return utf8;
}

std::wstring QuoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    return argument;
  }
  // Backslashes double only before a quote, the closing one included.
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (const wchar_t unit : argument) {
    if (unit == L'\\') {
      ++backslashes;
      continue;
    }
    if (unit == L'"') {
      quoted.append(backslashes * 2 + 1, L'\\');
    } else {
      quoted.append(backslashes, L'\\');
    }
    backslashes = 0;
    quoted.push_back(unit);
  }
  quoted.append(backslashes * 2, L'\\');
  quoted.push_back(L'"');
  return quoted;
}

LaunchedProgram::LaunchedProgram(const fs::path& program,
                                 const std::vector<std::string>& arguments,
                                 const fs::path& output_stem)
    : output_path_(fs::path(output_stem).concat(".out")),
      error_path_(fs::path(output_stem).concat(".err")) {
  std::wstring command_line = QuoteArgument(program.wstring());
  for (const std::string& argument : arguments) {
    command_line += L' ' + QuoteArgument(Utf8ToUtf16(argument));
  }
  const UniqueHandle output(InheritableOutputFile(output_path_));
  const UniqueHandle error(InheritableOutputFile(error_path_));
  if (output.get() == INVALID_HANDLE_VALUE || error.get() == INVALID_HANDLE_VALUE) {
    throw std::runtime_error("cannot create the output files of " + program.string());
  }
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = output.get();
  startup.hStdError = error.get();
  PROCESS_INFORMATION created = {};
  if (CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                     program.parent_path().c_str(), &startup, &created) == 0) {
    throw std::runtime_error("cannot start " + program.string() + ", error " +
                             std::to_string(GetLastError()));
  }
  CloseHandle(created.hThread);
  process_.reset(created.hProcess);
}

LaunchedProgram::~LaunchedProgram() {
  if (!WaitForExit(0)) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
  }
}

std::optional<DWORD> LaunchedProgram::WaitForExit(DWORD milliseconds) const {
  if (WaitForSingleObject(process_.get(), milliseconds) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

std::optional<std::chrono::milliseconds> LaunchedProgram::RunTime() const {
  FILETIME created = {}, exited = {}, kernel = {}, user = {};
  if (!WaitForExit(0) || GetProcessTimes(process_.get(), &created, &exited, &kernel, &user) == 0) {
    return std::nullopt;
  }
  const auto ticks = [](const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  // FILETIME counts 100-nanosecond ticks.
  return std::chrono::milliseconds((ticks(exited) - ticks(created)) / 10000);
}

std::vector<std::string> LaunchedProgram::OutputLines() const {
  std::string text = ReadAll(output_path_);
  // A line still being written is not one yet.
  text.erase(text.find_last_of('\n') + 1);
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    // The C runtime writes text mode output.
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    lines.push_back(line);
  }
  return lines;
}

std::string LaunchedProgram::ErrorText() const {
  return ReadAll(error_path_);
}

std::optional<std::string> LaunchedProgram::WaitForLine(const std::string& prefix,
                                                        DWORD milliseconds) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  do {
    for (const std::string& line : OutputLines()) {
      if (line.rfind(prefix, 0) == 0) {
        return line;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
  } while (std::chrono::steady_clock::now() < deadline);
  return std::nullopt;
}
