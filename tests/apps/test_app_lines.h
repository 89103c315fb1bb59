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

// Stalling: the links that stall the host window's thread, the event that
// ends a hang, how the application is started to close as the next link
// arrives, and what it prints from that thread.
inline constexpr std::string_view kHangLink = "norvalis://tests/hang";
inline constexpr std::string_view kBusyLinkPrefix = "norvalis://tests/busy/";
inline constexpr wchar_t kReleaseEventName[] = L"Local\\norvalis.tests.release";
inline constexpr std::string_view kCloseOnNextLink = "close as the next link arrives";
inline constexpr std::string_view kCloseAfterNextLink = "close after taking the next link";
inline constexpr std::string_view kStalled = "stalled";
inline constexpr std::string_view kAnswering = "answering again";
inline constexpr std::string_view kTookLinkBeforeClosing = "took the link before closing: ";

// OCR calls: one line per call, "<call>: <reply>", the reply as
// kNotImplementedReply, kUndecodableReply, kSuccessReply and the value's
// kind index, or kErrorReply followed by `CODE: MESSAGE` and
// kWithoutDetails or kWithDetails.
inline constexpr std::string_view kCallWithoutArguments = "no arguments";
inline constexpr std::string_view kCallWithNumericPath = "path 42";
inline constexpr std::string_view kCallOfUnknownMethod = "method Recognize";
inline constexpr std::string_view kMalformedCall = "malformed call";
inline constexpr std::string_view kNotImplementedReply = "not implemented";
inline constexpr std::string_view kUndecodableReply = "undecodable";
inline constexpr std::string_view kSuccessReply = "success of kind ";
inline constexpr std::string_view kErrorReply = "error ";
inline constexpr std::string_view kWithoutDetails = ", without details";
inline constexpr std::string_view kWithDetails = ", with details";

#endif  // TESTS_APPS_TEST_APP_LINES_H_
