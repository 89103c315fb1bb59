#ifndef TESTS_WINDOWS_BUNDLE_COPY_H_
#define TESTS_WINDOWS_BUNDLE_COPY_H_

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/windows/launched_program.h"

// A copy of the Windows bundle in a temporary folder, to run one case
// against: photos_norvalis.exe and the DLLs beside it, and a data folder
// only once the case puts something there. Removed when the object goes.
class BundleCopy {
 public:
  explicit BundleCopy(const std::filesystem::path& bundle);
  ~BundleCopy();

  BundleCopy(const BundleCopy&) = delete;
  BundleCopy& operator=(const BundleCopy&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path data() const { return path_ / "data"; }

  // The bundle's own data folder, with the real application.
  void AddBundleData();
  // The pieces of data/ that the engine checks, each on its own.
  void AddAssetsFolder();
  void AddIcuFile();
  void AddApplication(const std::filesystem::path& app_library);
  // The three of them.
  void AddData(const std::filesystem::path& app_library);

  // Starts the program; each launch writes its output to files of its own.
  std::unique_ptr<LaunchedProgram> Launch(const std::vector<std::string>& arguments = {});

 private:
  std::filesystem::path bundle_;
  std::filesystem::path path_;
  int launches_ = 0;
};

#endif  // TESTS_WINDOWS_BUNDLE_COPY_H_
