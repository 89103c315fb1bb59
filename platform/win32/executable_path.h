#ifndef PLATFORM_WIN32_EXECUTABLE_PATH_H_
#define PLATFORM_WIN32_EXECUTABLE_PATH_H_

#include <string>

namespace win32 {

// The absolute path of the running executable; empty if the system does not
// tell.
std::string ExecutablePath();

}  // namespace win32

#endif  // PLATFORM_WIN32_EXECUTABLE_PATH_H_
