#ifndef APP_PRINT_LINE_H_
#define APP_PRINT_LINE_H_

#include <string_view>

// Each writes and then flushes, so that what was printed is out even if the
// process is killed right after, and stays in order with the other stream.

// `text` and a newline, to standard output.
void PrintLine(std::string_view text);

// `text` as it is to standard output, with a newline added when it does not
// end with one; nothing at all for an empty text.
void PrintText(std::string_view text);

// `text` and a newline, to standard error.
void PrintErrorLine(std::string_view text);

#endif  // APP_PRINT_LINE_H_
