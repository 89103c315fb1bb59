#include "tests/program_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path MakeTemporaryFolder() {
  std::string pattern = (fs::temp_directory_path() / "photos_norvalis_e2e_XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::system_error(errno, std::generic_category(), "mkdtemp");
  }
  return pattern;
}

bool IsSharedLibrary(const fs::path& file) {
  const std::string name = file.filename().string();
  return file.extension() == ".so" || name.find(".so.") != std::string::npos;
}

}  // namespace

ProgramFolder::ProgramFolder(const fs::path& program)
    : path_(MakeTemporaryFolder()), program_(path_ / program.filename()) {
  fs::copy_file(program, program_);
  for (const fs::directory_entry& entry : fs::directory_iterator(program.parent_path())) {
    if (entry.is_regular_file() && IsSharedLibrary(entry.path())) {
      fs::copy_file(entry.path(), path_ / entry.path().filename());
    }
  }
}

ProgramFolder::~ProgramFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void ProgramFolder::AddBundleData(const fs::path& bundle_data) {
  fs::copy(bundle_data, data(), fs::copy_options::recursive);
}

void ProgramFolder::AddAssetsFolder() {
  fs::create_directories(data() / "flutter_assets");
}

void ProgramFolder::AddIcuFile() {
  fs::create_directories(data());
  std::ofstream(data() / "icudtl.dat") << "ICU data placeholder\n";
}

void ProgramFolder::AddApplication(const fs::path& app_library) {
  fs::create_directories(data());
  fs::copy_file(app_library, data() / "app.so");
}

void ProgramFolder::AddData(const fs::path& app_library) {
  AddAssetsFolder();
  AddIcuFile();
  AddApplication(app_library);
}

ChildProcessResult ProgramFolder::Run(const std::vector<std::string>& arguments,
                                      const ChildProcessOptions& options) const {
  return RunChildProcess(program_, arguments, options);
}
