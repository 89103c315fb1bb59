#include "app/link_printer.h"

#include <string>

#include "app/print_line.h"
#include "platform/plugins/include/app_links_channel.h"

void PrintAppLinks(AppHost& host) {
  host.SetMessageHandler(APP_LINKS_CHANNEL, [](std::span<const uint8_t> link) {
    std::string line(kLinkLinePrefix);
    line.append(link.begin(), link.end());
    PrintLine(line);
  });
}
