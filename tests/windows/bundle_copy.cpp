#include "tests/windows/bundle_copy.h"

#include <windows.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr wchar_t kProgramName[] = L"photos_norvalis.exe";

fs::path MakeTemporaryFolder() {
  const fs::path base = fs::temp_directory_path();
  for (unsigned attempt = 0;; ++attempt) {
    const fs::path folder =
        base / (L"photos_norvalis_e2e_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(GetTickCount64()) + L"_" + std::to_wstring(attempt));
    if (fs::create_directory(folder)) {
      return folder;
    }
  }
}

}  // namespace

BundleCopy::BundleCopy(const fs::path& bundle) : bundle_(bundle), path_(MakeTemporaryFolder()) {
  for (const fs::directory_entry& entry : fs::directory_iterator(bundle)) {
    const fs::path& file = entry.path();
    if (entry.is_regular_file() &&
        (file.extension() == ".dll" || file.filename() == kProgramName)) {
      fs::copy_file(file, path_ / file.filename());
    }
  }
}

BundleCopy::~BundleCopy() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void BundleCopy::AddBundleData() {
  fs::copy(bundle_ / "data", data(), fs::copy_options::recursive);
}

void BundleCopy::AddAssetsFolder() {
  fs::create_directories(data() / "flutter_assets");
}

void BundleCopy::AddIcuFile() {
  fs::create_directories(data());
  std::ofstream(data() / "icudtl.dat") << "ICU data placeholder\n";
}

void BundleCopy::AddApplication(const fs::path& app_library) {
  fs::create_directories(data());
  fs::copy_file(app_library, data() / "app.so");
}

void BundleCopy::AddData(const fs::path& app_library) {
  AddAssetsFolder();
  AddIcuFile();
  AddApplication(app_library);
}

std::unique_ptr<LaunchedProgram> BundleCopy::Launch(const std::vector<std::string>& arguments) {
  const fs::path output_stem = path_ / (L"launch" + std::to_wstring(++launches_));
  return std::make_unique<LaunchedProgram>(path_ / kProgramName, arguments, output_stem);
}
