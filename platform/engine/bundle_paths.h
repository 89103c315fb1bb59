#ifndef PLATFORM_ENGINE_BUNDLE_PATHS_H_
#define PLATFORM_ENGINE_BUNDLE_PATHS_H_

#include <string>

namespace norvalis_engine {

inline constexpr char kAssetsNotFound[] = "flutter_windows: assets folder not found: ";
inline constexpr char kIcuDataNotFound[] = "flutter_windows: ICU data file not found: ";

// The full path of the running executable; empty if the system does not
// tell.
std::wstring ExecutablePath();

// Where the engine finds a file of the bundle: an absolute path as it is, a
// relative one in the executable's folder. Either separator may be used in
// `path`; a resolved path takes the one the executable's path uses, so that
// "data\app.so" also works where `\` is no separator. An empty path stays
// empty: it names nothing.
std::wstring ResolveBundlePath(const std::wstring& path, const std::wstring& executable);

// True when `assets_dir` is a folder and `icu_file` a file. Otherwise one line
// on standard error names the first that is missing.
bool BundleFilesExist(const std::wstring& assets_dir, const std::wstring& icu_file);

}  // namespace norvalis_engine

#endif  // PLATFORM_ENGINE_BUNDLE_PATHS_H_
