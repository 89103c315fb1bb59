#include "platform/engine/bundle_paths.h"

#include <windows.h>

#include <vector>

#include "platform/engine/start_failure.h"

namespace norvalis_engine {
namespace {

// Windows' classic path limit: most paths fit at the first try.
constexpr size_t kInitialPathUnits = 260;

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

// Rooted ("\x", "/x") or with a drive ("C:").
bool IsAbsolute(const std::wstring& path) {
  return (!path.empty() && IsSeparator(path[0])) || (path.size() >= 2 && path[1] == L':');
}

}  // namespace

std::wstring ExecutablePath() {
  std::vector<wchar_t> buffer(kInitialPathUnits);
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      return std::wstring();
    }
    // A full buffer may have cut the path short.
    if (length < buffer.size()) {
      return std::wstring(buffer.data(), length);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring ResolveBundlePath(const std::wstring& path, const std::wstring& executable) {
  if (path.empty() || IsAbsolute(path)) {
    return path;
  }
  size_t folder_end = executable.size();
  while (folder_end > 0 && !IsSeparator(executable[folder_end - 1])) {
    --folder_end;
  }
  if (folder_end == 0) {
    return path;
  }
  const wchar_t separator = executable[folder_end - 1];
  std::wstring resolved = executable.substr(0, folder_end);
  for (wchar_t c : path) {
    resolved += IsSeparator(c) ? separator : c;
  }
  return resolved;
}

bool BundleFilesExist(const std::wstring& assets_dir, const std::wstring& icu_file) {
  const DWORD assets =
      assets_dir.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(assets_dir.c_str());
  if (assets == INVALID_FILE_ATTRIBUTES || (assets & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    ReportStartFailure(kAssetsNotFound, assets_dir);
    return false;
  }
  const DWORD icu =
      icu_file.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(icu_file.c_str());
  if (icu == INVALID_FILE_ATTRIBUTES || (icu & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    ReportStartFailure(kIcuDataNotFound, icu_file);
    return false;
  }
  return true;
}

}  // namespace norvalis_engine
