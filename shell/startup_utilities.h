#ifndef SHELL_STARTUP_UTILITIES_H_
#define SHELL_STARTUP_UTILITIES_H_

#include <string>
#include <vector>

// Gives a GUI process a console of its own and points the standard output and
// error streams, and the engine library's, at it. Does nothing when no console
// can be created (for instance because the process already has one).
void OpenDebugConsole();

// The process's command-line arguments after the program path, in order, in
// UTF-8. An argument that is not well-formed UTF-16 is an empty string at its
// position. Empty when the command line cannot be split.
std::vector<std::string> CollectLaunchArguments();

// `text` (zero-terminated UTF-16, or null) in UTF-8; empty for null, empty or
// ill-formed input (an unpaired surrogate).
std::string Utf16ToUtf8(const wchar_t* text);

#endif  // SHELL_STARTUP_UTILITIES_H_
