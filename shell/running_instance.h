#ifndef SHELL_RUNNING_INSTANCE_H_
#define SHELL_RUNNING_INSTANCE_H_

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// The show command that brings back a window in `show_state` (the showCmd of
// its placement) without undoing a maximized state.
UINT ShowCommandForRunningWindow(UINT show_state);

// The instance of the application that is already running in the user's
// session, found by its top-level window, and the handing over of a later
// launch to it. Nothing here waits on that instance for longer than its
// bounds: it may be hung, busy, closing or gone.
class RunningInstance {
 public:
  // A launch's exit code when it found a running instance but could not hand
  // over: the window was gone or closing, or it refused the link.
  static constexpr int kExitNotHandedOver = 2;
  // ... when the link was sent (or, without a link, the window asked to come
  // back) but the instance did not answer in time; it may still take the
  // link once it answers.
  static constexpr int kExitNotConfirmed = 3;

  static constexpr std::string_view kNotRespondingWithLinkDiagnostic =
      "photos_norvalis is running but not responding: the link was handed over and opens once it "
      "responds.";
  static constexpr std::string_view kNotRespondingDiagnostic =
      "photos_norvalis is running but not responding: its window comes back once it responds.";
  static constexpr std::string_view kClosingDiagnostic =
      "photos_norvalis was closing: nothing was handed over to it.";
  static constexpr std::string_view kRefusedDiagnostic =
      "photos_norvalis did not take the link: the link was not handed over.";

  // How long a launch waits on the running instance.
  struct Bounds {
    // For the window to answer at all. A window that has not taken its
    // messages for 5 s counts as hung and is not waited for.
    DWORD probe_ms;
    // For the link to be taken by a window that answered, and by one that
    // did not.
    DWORD link_ms;
    DWORD link_unanswered_ms;
  };
  // A window that answers takes a link in milliseconds; one that does not
  // answer in 2 s is busy for longer than a launch should wait. Together
  // with the process start, a launch returns within about 6 s at worst.
  static constexpr Bounds kBounds = {2000, 3000, 1000};

  // The running instance's window: top-level, of Win32Window's class and
  // titled `title`; nothing when there is none.
  static std::optional<RunningInstance> Find(const std::wstring& title);

  // Hands this launch's link (when `has_link`) over with SendAppLink, then
  // restores and raises the window and makes it the foreground window, with
  // calls that do not wait for it. Writes one line on standard error unless
  // all went well, and returns the launch's exit code: 0 when the link was
  // taken (or there was none and the window answered), else
  // kExitNotConfirmed or kExitNotHandedOver.
  int HandOver(bool has_link, const Bounds& bounds = kBounds) const;

  HWND window() const { return window_; }

 private:
  explicit RunningInstance(HWND window) : window_(window) {}

  // Queued for the window's thread: it comes back when that thread answers.
  void BringBack() const;

  HWND window_;
};

#endif  // SHELL_RUNNING_INSTANCE_H_
