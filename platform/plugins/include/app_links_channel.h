#ifndef PLATFORM_PLUGINS_INCLUDE_APP_LINKS_CHANNEL_H_
#define PLATFORM_PLUGINS_INCLUDE_APP_LINKS_CHANNEL_H_

// The channel on which the app-links plugin hands the application each link
// a later launch forwarded. A message is the link in UTF-8, without a
// terminating zero; the application's answer is ignored.
#define APP_LINKS_CHANNEL "norvalis/app_links"

#endif  // PLATFORM_PLUGINS_INCLUDE_APP_LINKS_CHANNEL_H_
