#ifndef APP_LINK_PRINTER_H_
#define APP_LINK_PRINTER_H_

#include <string_view>

#include "app/app_host.h"

// What the application prints before each link it receives.
inline constexpr std::string_view kLinkLinePrefix = "link: ";

// Prints every link that the app-links plugin forwards, one line each:
// kLinkLinePrefix and the link as received.
void PrintAppLinks(AppHost& host);

#endif  // APP_LINK_PRINTER_H_
