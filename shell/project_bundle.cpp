#include "shell/project_bundle.h"

ProjectBundle::ProjectBundle(const std::wstring& directory)
    : assets_dir(directory + L"\\flutter_assets"),
      icu_file(directory + L"\\icudtl.dat"),
      aot_file(directory + L"\\app.so") {}
