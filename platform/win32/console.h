#ifndef PLATFORM_WIN32_CONSOLE_H_
#define PLATFORM_WIN32_CONSOLE_H_

#include <string>

namespace win32 {

// The file that "CONOUT$" stands for: the terminal of the process's console,
// or the file a test named in its place. Empty while the process has no
// console.
std::string ConsoleOutputPath();

}  // namespace win32

#endif  // PLATFORM_WIN32_CONSOLE_H_
