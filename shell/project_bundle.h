#ifndef SHELL_PROJECT_BUNDLE_H_
#define SHELL_PROJECT_BUNDLE_H_

#include <cstdint>
#include <string>
#include <vector>

// Where the engine finds the application's files, and what its entrypoint
// receives. Paths are passed to the engine library exactly as built here.
struct ProjectBundle {
  // Appends "\flutter_assets", "\icudtl.dat" and "\app.so" to `directory`
  // and nothing else: no separator is added or removed, nothing is resolved.
  explicit ProjectBundle(const std::wstring& directory);

  std::wstring assets_dir;
  std::wstring icu_file;
  std::wstring aot_file;
  // UTF-8; empty runs the default entrypoint.
  std::string entrypoint;
  // UTF-8, in order.
  std::vector<std::string> entrypoint_args;
  // Handed to the engine library unchanged.
  int32_t engine_setting_1 = 0;
  int32_t engine_setting_2 = 0;
};

#endif  // SHELL_PROJECT_BUNDLE_H_
