#ifndef TESTS_APPS_TEST_APP_LINES_H_
#define TESTS_APPS_TEST_APP_LINES_H_

#include <string_view>

// What the test applications print, shared with the tests that read it.

// Window probe: the host window's state, then "hidden", "visible" or
// kNoWindow.
inline constexpr std::string_view kBeforeFirstFrame = "before the first frame: ";
inline constexpr std::string_view kAfterFirstFrame = "after the first frame: ";
inline constexpr std::string_view kHidden = "hidden";
inline constexpr std::string_view kVisible = "visible";
inline constexpr std::string_view kNoWindow = "no window";

// Messaging: each entrypoint argument, then the answer on each channel as
// "<channel>: empty" or "<channel>: <n> bytes".
inline constexpr std::string_view kArgument = "argument: ";
inline constexpr std::string_view kReplyOn = "reply on ";
// The channel that the stand-in URL launcher plugin answers on.
inline constexpr std::string_view kPluginChannel = "norvalis.plugins/UrlLauncherWindows";
// A channel that nothing on the host side listens to.
inline constexpr std::string_view kUnhandledChannel = "norvalis.tests/unhandled";

// Links: the result of SendAppLink to the host window ("1" or "0"), then
// the result of a WM_COPYDATA that is not a link, then the links received.
inline constexpr std::string_view kSendAppLinkResult = "SendAppLink: ";
inline constexpr std::string_view kForeignCopyDataResult = "other WM_COPYDATA: ";

#endif  // TESTS_APPS_TEST_APP_LINES_H_
