#include "platform/engine/engine_view.h"

namespace norvalis_engine {
namespace {

constexpr wchar_t kViewClass[] = L"NorvalisEngineView";

}  // namespace

std::unique_ptr<EngineView> EngineView::Create(HWND parent, int width, int height) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW view_class = {};
  // The view keeps no state of the engine's, so it may outlive the engine
  // inside the host's window for the moment the host's teardown takes.
  view_class.lpfnWndProc = DefWindowProcW;
  view_class.hInstance = instance;
  view_class.lpszClassName = kViewClass;
  if (RegisterClassW(&view_class) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return nullptr;
  }
  const HWND window = CreateWindowExW(0, kViewClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, width,
                                      height, parent, nullptr, instance, nullptr);
  if (window == nullptr) {
    return nullptr;
  }
  return std::unique_ptr<EngineView>(new EngineView(window));
}

EngineView::~EngineView() {
  // The host's window destroys its children after it ends the engine during
  // its own WM_DESTROY; destroying the view again then does nothing.
  if (IsWindow(window_)) {
    DestroyWindow(window_);
  }
  UnregisterClassW(kViewClass, GetModuleHandleW(nullptr));
}

}  // namespace norvalis_engine
