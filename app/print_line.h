#ifndef APP_PRINT_LINE_H_
#define APP_PRINT_LINE_H_

#include <string_view>

// Writes `text` and a newline to standard output and flushes it, so that a
// line is out even if the process is killed right after.
void PrintLine(std::string_view text);

#endif  // APP_PRINT_LINE_H_
