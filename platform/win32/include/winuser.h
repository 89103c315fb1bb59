#ifndef PLATFORM_WIN32_INCLUDE_WINUSER_H_
#define PLATFORM_WIN32_INCLUDE_WINUSER_H_

// Windows, window classes, messages and monitors of the in-process desktop.
//
// Resources off Windows: no module carries a resource section, so a module
// declares icon resource N by exporting (in its dynamic symbol table) an
// extern "C" object named win32_icon_resource_N, for example
// win32_icon_resource_101; its contents are not read. An executable needs
// -rdynamic (CMake ENABLE_EXPORTS) or --export-dynamic-symbol for that.
// LoadIconW returns the same icon handle for every load of one resource and
// null (ERROR_RESOURCE_NAME_NOT_FOUND) when the module declares no such icon.

#include "windef.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)
#define MAKEINTRESOURCEW(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEINTATOM(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))

// Messages.
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_SHOWWINDOW 0x0018
#define WM_FONTCHANGE 0x001D
#define WM_GETMINMAXINFO 0x0024
#define WM_WINDOWPOSCHANGED 0x0047
#define WM_COPYDATA 0x004A
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_NCCALCSIZE 0x0083
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_DPICHANGED 0x02E0
#define WM_DWMCOLORIZATIONCOLORCHANGED 0x0320
#define WM_USER 0x0400
#define WM_APP 0x8000

// WM_SIZE wParam.
#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2

// WM_ACTIVATE wParam (low word).
#define WA_INACTIVE 0
#define WA_ACTIVE 1
#define WA_CLICKACTIVE 2

// Window styles.
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW \
  (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_POPUPWINDOW (WS_POPUP | WS_BORDER | WS_SYSMENU)

#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_APPWINDOW 0x00040000L

// Class styles.
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_OWNDC 0x0020
#define CS_GLOBALCLASS 0x4000

#define CW_USEDEFAULT ((int)0x80000000)

// Special window handles.
#define HWND_TOP ((HWND)0)
#define HWND_BOTTOM ((HWND)1)
#define HWND_TOPMOST ((HWND)-1)
#define HWND_NOTOPMOST ((HWND)-2)
#define HWND_MESSAGE ((HWND)-3)

// GetAncestor flags.
#define GA_PARENT 1
#define GA_ROOT 2
#define GA_ROOTOWNER 3

// GetWindowLongPtrW / SetWindowLongPtrW indices.
#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_HWNDPARENT (-8)
#define GWLP_ID (-12)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWLP_USERDATA (-21)

// ShowWindow commands.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10
#define SW_FORCEMINIMIZE 11

// SendMessageTimeoutW flags.
#define SMTO_NORMAL 0x0000
#define SMTO_BLOCK 0x0001
#define SMTO_ABORTIFHUNG 0x0002

// SetWindowPos flags.
#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_FRAMECHANGED 0x0020
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define SWP_NOCOPYBITS 0x0100
#define SWP_NOOWNERZORDER 0x0200
#define SWP_NOSENDCHANGING 0x0400
#define SWP_DEFERERASE 0x2000
#define SWP_ASYNCWINDOWPOS 0x4000
// Set by the system in WINDOWPOS.flags when the client area kept its size or
// origin; the default handling of WM_WINDOWPOSCHANGED then sends no WM_SIZE or
// WM_MOVE.
#define SWP_NOCLIENTSIZE 0x0800
#define SWP_NOCLIENTMOVE 0x1000

// PeekMessageW flags.
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002

// WINDOWPLACEMENT flags.
#define WPF_SETMINPOSITION 0x0001
#define WPF_RESTORETOMAXIMIZED 0x0002

// Monitors.
#define MONITOR_DEFAULTTONULL 0x00000000
#define MONITOR_DEFAULTTOPRIMARY 0x00000001
#define MONITOR_DEFAULTTONEAREST 0x00000002
#define MONITORINFOF_PRIMARY 0x00000001
#define CCHDEVICENAME 32

// System cursors and icons (hInstance null).
#define IDC_ARROW MAKEINTRESOURCEW(32512)
#define IDC_IBEAM MAKEINTRESOURCEW(32513)
#define IDC_WAIT MAKEINTRESOURCEW(32514)
#define IDC_CROSS MAKEINTRESOURCEW(32515)
#define IDC_UPARROW MAKEINTRESOURCEW(32516)
#define IDC_SIZENWSE MAKEINTRESOURCEW(32642)
#define IDC_SIZENESW MAKEINTRESOURCEW(32643)
#define IDC_SIZEWE MAKEINTRESOURCEW(32644)
#define IDC_SIZENS MAKEINTRESOURCEW(32645)
#define IDC_SIZEALL MAKEINTRESOURCEW(32646)
#define IDC_NO MAKEINTRESOURCEW(32648)
#define IDC_HAND MAKEINTRESOURCEW(32649)
#define IDI_APPLICATION MAKEINTRESOURCEW(32512)
#define IDI_ERROR MAKEINTRESOURCEW(32513)
#define IDI_QUESTION MAKEINTRESOURCEW(32514)
#define IDI_WARNING MAKEINTRESOURCEW(32515)
#define IDI_INFORMATION MAKEINTRESOURCEW(32516)
#define IDI_WINLOGO MAKEINTRESOURCEW(32517)
#define IDI_SHIELD MAKEINTRESOURCEW(32518)

typedef struct tagWNDCLASSW {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCWSTR lpszMenuName;
  LPCWSTR lpszClassName;
} WNDCLASSW, *PWNDCLASSW, *LPWNDCLASSW;

typedef struct tagCREATESTRUCTW {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCWSTR lpszName;
  LPCWSTR lpszClass;
  DWORD dwExStyle;
} CREATESTRUCTW, *LPCREATESTRUCTW;

typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
} MSG, *PMSG, *LPMSG;

typedef struct tagWINDOWPLACEMENT {
  UINT length;
  UINT flags;
  UINT showCmd;
  POINT ptMinPosition;
  POINT ptMaxPosition;
  RECT rcNormalPosition;
} WINDOWPLACEMENT, *PWINDOWPLACEMENT, *LPWINDOWPLACEMENT;

typedef struct tagWINDOWPOS {
  HWND hwnd;
  HWND hwndInsertAfter;
  int x;
  int y;
  int cx;
  int cy;
  UINT flags;
} WINDOWPOS, *LPWINDOWPOS, *PWINDOWPOS;

typedef struct tagCOPYDATASTRUCT {
  ULONG_PTR dwData;
  DWORD cbData;
  PVOID lpData;
} COPYDATASTRUCT, *PCOPYDATASTRUCT;

typedef struct tagMONITORINFO {
  DWORD cbSize;
  RECT rcMonitor;
  RECT rcWork;
  DWORD dwFlags;
} MONITORINFO, *LPMONITORINFO;

// In C++ the extended record derives from the basic one, so that it passes to
// GetMonitorInfoW as it does with the Windows SDK.
#ifdef __cplusplus
typedef struct tagMONITORINFOEXW : public tagMONITORINFO {
  WCHAR szDevice[CCHDEVICENAME];
} MONITORINFOEXW, *LPMONITORINFOEXW;
#else
typedef struct tagMONITORINFOEXW {
  DWORD cbSize;
  RECT rcMonitor;
  RECT rcWork;
  DWORD dwFlags;
  WCHAR szDevice[CCHDEVICENAME];
} MONITORINFOEXW, *LPMONITORINFOEXW;
#endif

// Window classes. Names compare case-insensitively; a class belongs to the
// process, whatever module registers it.
ATOM WINAPI RegisterClassW(const WNDCLASSW* window_class);
BOOL WINAPI UnregisterClassW(LPCWSTR class_name, HINSTANCE instance);

// Windows.
HWND WINAPI CreateWindowExW(DWORD ex_style,
                            LPCWSTR class_name,
                            LPCWSTR window_name,
                            DWORD style,
                            int x,
                            int y,
                            int width,
                            int height,
                            HWND parent,
                            HMENU menu,
                            HINSTANCE instance,
                            LPVOID param);
// Only from the window's thread (else ERROR_ACCESS_DENIED). Destroys owned
// windows of the same thread first, hides and deactivates the window, then
// sends WM_DESTROY to it and its children (parents first) and WM_NCDESTROY
// (children first). A second call during the destruction returns TRUE.
BOOL WINAPI DestroyWindow(HWND window);
// WM_NCCREATE: TRUE. WM_CLOSE: DestroyWindow. WM_ACTIVATE (activated, not
// minimized): SetFocus(window). WM_WINDOWPOSCHANGED: WM_MOVE and WM_SIZE
// unless the client area kept its origin or size. Everything else: 0.
LRESULT WINAPI DefWindowProcW(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT WINAPI
CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LONG_PTR WINAPI GetWindowLongPtrW(HWND window, int index);
LONG_PTR WINAPI SetWindowLongPtrW(HWND window, int index, LONG_PTR value);
HWND WINAPI FindWindowW(LPCWSTR class_name, LPCWSTR window_name);
BOOL WINAPI IsWindow(HWND window);
HWND WINAPI GetParent(HWND window);
// GA_PARENT: the parent, null for a top-level window (Windows returns its
// desktop window). GA_ROOT: the top-level window at the end of the parent
// chain (the window itself when it is top-level). GA_ROOTOWNER: that root's
// last owner, followed through GetParent. Other flags fail with
// ERROR_INVALID_PARAMETER.
HWND WINAPI GetAncestor(HWND window, UINT flags);
// Keeps the window's coordinates, now relative to the new parent; sends no
// message. Returns the previous parent, null for a window that was top-level
// (Windows returns its desktop window, which this desktop does not have).
HWND WINAPI SetParent(HWND child, HWND new_parent);
DWORD WINAPI GetWindowThreadProcessId(HWND window, LPDWORD process_id);
BOOL WINAPI EnableNonClientDpiScaling(HWND window);
UINT WINAPI GetDpiForWindow(HWND window);

// Placement, size and visibility.
// Runs on the window's thread (a call from another thread waits for it).
// Returns whether the window was visible. WM_SHOWWINDOW when the visibility
// changes, activation (WM_ACTIVATE) for the activating commands, then
// WM_WINDOWPOSCHANGED. SW_SHOWNORMAL and SW_RESTORE bring a window minimized
// from maximized back maximized. Children do not minimize or maximize.
BOOL WINAPI ShowWindow(HWND window, int command);
// ShowWindow that does not wait for another thread's window: the command is
// queued for that thread. FALSE only when there is no such window.
BOOL WINAPI ShowWindowAsync(HWND window, int command);
BOOL WINAPI IsWindowVisible(HWND window);
BOOL WINAPI IsIconic(HWND window);
BOOL WINAPI IsZoomed(HWND window);
// Runs on the window's thread; with SWP_ASYNCWINDOWPOS a window of another
// thread is only queued the change, as ShowWindowAsync does. SWP_SHOWWINDOW
// shows without WM_SHOWWINDOW, as on Windows. Moving a top-level window onto a monitor of another
// DPI sends it WM_DPICHANGED.
BOOL WINAPI SetWindowPos(HWND window, HWND insert_after, int x, int y, int cx, int cy, UINT flags);
BOOL WINAPI MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL WINAPI GetClientRect(HWND window, LPRECT rect);
BOOL WINAPI GetWindowRect(HWND window, LPRECT rect);
BOOL WINAPI GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement);

// Activation and keyboard focus.
// Focus and activation are per thread; the foreground window is the active
// window of the desktop. SetFocus works on windows of the calling thread
// only (else null, ERROR_ACCESS_DENIED) and activates the window's top-level
// window, unless that is hidden (then nothing changes and null is returned).
HWND WINAPI SetFocus(HWND window);
HWND WINAPI GetFocus(void);
HWND WINAPI SetActiveWindow(HWND window);
HWND WINAPI GetActiveWindow(void);
// Always allowed within the process. For a window of another thread the
// foreground changes at once and that thread announces the activation from
// its message loop; the previous foreground thread loses its active window.
BOOL WINAPI SetForegroundWindow(HWND window);
HWND WINAPI GetForegroundWindow(void);

// Messages.
BOOL WINAPI PostMessageW(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
BOOL WINAPI PostThreadMessageW(DWORD thread_id, UINT message, WPARAM wparam, LPARAM lparam);
// To a window of another thread: run by that thread's GetMessageW,
// PeekMessageW or waiting SendMessageW, while the caller waits and runs the
// messages sent to it meanwhile. 0 when the thread ends first.
LRESULT WINAPI SendMessageW(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// SendMessageW whose caller waits for another thread at most `timeout_ms`,
// and not at all with SMTO_ABORTIFHUNG when that thread is hung; then it
// returns 0 with ERROR_TIMEOUT, and the message is withdrawn unless that
// thread has started on it. SMTO_BLOCK: the caller runs no message sent to it while
// it waits. The answer goes to `result` (may be null).
LRESULT WINAPI SendMessageTimeoutW(HWND window,
                                   UINT message,
                                   WPARAM wparam,
                                   LPARAM lparam,
                                   UINT flags,
                                   UINT timeout_ms,
                                   PDWORD_PTR result);
// A window is hung when its thread has neither asked for its messages nor
// waited for them for 5 seconds.
BOOL WINAPI IsHungAppWindow(HWND window);
// Runs sent messages first, then returns the first posted message passing the
// filter (a window filter takes its children's messages too), and WM_QUIT of
// PostQuitMessage only when none is left: 0 for WM_QUIT, -1 for a window
// filter that is not a window.
BOOL WINAPI GetMessageW(LPMSG message, HWND window, UINT filter_min, UINT filter_max);
BOOL WINAPI PeekMessageW(LPMSG message, HWND window, UINT filter_min, UINT filter_max, UINT remove);
// The desktop has no keyboard: nothing is translated, FALSE.
BOOL WINAPI TranslateMessage(const MSG* message);
LRESULT WINAPI DispatchMessageW(const MSG* message);
void WINAPI PostQuitMessage(int exit_code);

// Resources.
HICON WINAPI LoadIconW(HINSTANCE instance, LPCWSTR name);
HCURSOR WINAPI LoadCursorW(HINSTANCE instance, LPCWSTR name);

// Monitors.
HMONITOR WINAPI MonitorFromPoint(POINT point, DWORD flags);
HMONITOR WINAPI MonitorFromRect(LPCRECT rect, DWORD flags);
HMONITOR WINAPI MonitorFromWindow(HWND window, DWORD flags);
BOOL WINAPI GetMonitorInfoW(HMONITOR monitor, LPMONITORINFO info);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_WIN32_INCLUDE_WINUSER_H_
