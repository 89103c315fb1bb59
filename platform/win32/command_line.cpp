#include <errhandlingapi.h>
#include <shellapi.h>
#include <win32_process_control.h>
#include <winbase.h>
#include <winerror.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win32/executable_path.h"
#include "platform/win32/string_conversion.h"

namespace {

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

// The program-name rule reads no escapes, so the name can only be quoted as
// a whole, and a quote inside it cannot be carried.
void AppendProgramName(const std::wstring& name, std::wstring* line) {
  std::wstring kept;
  for (wchar_t c : name) {
    if (c != L'"') {
      kept += c;
    }
  }
  bool quote = kept.empty() || kept.find_first_of(L" \t") != std::wstring::npos;
  if (quote) {
    *line += L'"';
  }
  *line += kept;
  if (quote) {
    *line += L'"';
  }
}

// Quotes one argument so that the splitting rules give it back: backslashes
// are doubled only where a quote follows them.
void AppendArgument(const std::wstring& argument, std::wstring* line) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    *line += argument;
    return;
  }
  *line += L'"';
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') {
      line->append(backslashes * 2 + 1, L'\\');
    } else {
      line->append(backslashes, L'\\');
    }
    backslashes = 0;
    *line += c;
  }
  // The closing quote follows them.
  line->append(backslashes * 2, L'\\');
  *line += L'"';
}

std::wstring BuildCommandLine(const std::vector<std::string>& arguments) {
  std::wstring line;
  for (size_t i = 0; i < arguments.size(); ++i) {
    std::wstring argument = win32::Utf8ToWide(arguments[i]);
    if (i == 0) {
      AppendProgramName(argument, &line);
    } else {
      line += L' ';
      AppendArgument(argument, &line);
    }
  }
  return line;
}

// Each argument in /proc/self/cmdline ends with a zero byte.
std::vector<std::string> ReadProcessArguments() {
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::string> arguments;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\0', start);
    if (end == std::string::npos) {
      end = content.size();
    }
    arguments.push_back(content.substr(start, end - start));
    start = end + 1;
  }
  return arguments;
}

class CommandLine {
 public:
  LPWSTR Get() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!built_) {
      text_ = BuildCommandLine(ReadProcessArguments());
      built_ = true;
    }
    return text_.data();
  }

  void Set(const wchar_t* text) {
    std::lock_guard<std::mutex> lock(mutex_);
    built_ = text != nullptr;
    text_ = text != nullptr ? text : L"";
  }

  void SetArguments(const std::vector<std::string>& arguments) {
    std::lock_guard<std::mutex> lock(mutex_);
    text_ = BuildCommandLine(arguments);
    built_ = true;
  }

 private:
  std::mutex mutex_;
  bool built_ = false;
  std::wstring text_;
};

CommandLine& ProcessCommandLine() {
  // Never destroyed: the text must outlive every caller, static destructors
  // included.
  static auto* command_line = new CommandLine;
  return *command_line;
}

std::vector<std::wstring> SplitCommandLine(const wchar_t* p) {
  std::vector<std::wstring> arguments;
  std::wstring name;
  if (*p == L'"') {
    ++p;
    while (*p != 0 && *p != L'"') {
      name += *p++;
    }
    if (*p == L'"') {
      ++p;
    }
  } else {
    while (*p != 0 && !IsBlank(*p)) {
      name += *p++;
    }
  }
  arguments.push_back(name);

  while (true) {
    while (IsBlank(*p)) {
      ++p;
    }
    if (*p == 0) {
      return arguments;
    }
    std::wstring argument;
    bool quoted = false;
    while (*p != 0 && (quoted || !IsBlank(*p))) {
      if (*p == L'\\') {
        size_t backslashes = 0;
        while (*p == L'\\') {
          ++backslashes;
          ++p;
        }
        if (*p == L'"') {
          argument.append(backslashes / 2, L'\\');
          if (backslashes % 2 == 1) {
            argument += L'"';
            ++p;
          }
        } else {
          argument.append(backslashes, L'\\');
        }
      } else if (*p == L'"') {
        if (quoted && p[1] == L'"') {
          argument += L'"';
          p += 2;
          quoted = false;
        } else {
          quoted = !quoted;
          ++p;
        }
      } else {
        argument += *p++;
      }
    }
    arguments.push_back(argument);
  }
}

}  // namespace

extern "C" LPWSTR WINAPI GetCommandLineW(void) {
  return ProcessCommandLine().Get();
}

extern "C" LPWSTR* WINAPI CommandLineToArgvW(LPCWSTR command_line, int* argument_count) {
  if (argument_count == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::vector<std::wstring> arguments;
  if (command_line == nullptr || *command_line == 0) {
    arguments.push_back(win32::Utf8ToWide(win32::ExecutablePath()));
  } else {
    arguments = SplitCommandLine(command_line);
  }

  // One block: the pointer array, ending in a null pointer, then the strings.
  size_t pointer_bytes = (arguments.size() + 1) * sizeof(LPWSTR);
  size_t bytes = pointer_bytes;
  for (const std::wstring& argument : arguments) {
    bytes += (argument.size() + 1) * sizeof(WCHAR);
  }
  auto* block = static_cast<char*>(LocalAlloc(LMEM_FIXED, bytes));
  if (block == nullptr) {
    return nullptr;
  }
  auto* pointers = reinterpret_cast<LPWSTR*>(block);
  auto* text = reinterpret_cast<WCHAR*>(block + pointer_bytes);
  for (size_t i = 0; i < arguments.size(); ++i) {
    pointers[i] = text;
    std::memcpy(text, arguments[i].c_str(), (arguments[i].size() + 1) * sizeof(WCHAR));
    text += arguments[i].size() + 1;
  }
  pointers[arguments.size()] = nullptr;
  *argument_count = static_cast<int>(arguments.size());
  return pointers;
}

extern "C" void Win32ProcessSetCommandLine(LPCWSTR command_line) {
  ProcessCommandLine().Set(command_line);
}

extern "C" void Win32ProcessSetArguments(int count, const char* const* arguments) {
  std::vector<std::string> list;
  for (int i = 0; i < count; ++i) {
    list.emplace_back(arguments[i]);
  }
  ProcessCommandLine().SetArguments(list);
}
