#ifndef TESTS_PROGRAM_FOLDER_H_
#define TESTS_PROGRAM_FOLDER_H_

#include <filesystem>
#include <string>
#include <vector>

#include "tests/child_process.h"

// A temporary copy of the program, to run one case against: the executable
// and the shared libraries of the bundle, copied (the program resolves
// "data" against its own real path, so a link to it would not do), and a
// data folder only once the case puts something there. Removed with
// everything in it when the object goes.
class ProgramFolder {
 public:
  // Copies the executable `program` and every shared library beside it.
  explicit ProgramFolder(const std::filesystem::path& program);
  ~ProgramFolder();

  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path data() const { return path_ / "data"; }

  // A copy of the bundle's own data folder, with its application.
  void AddBundleData(const std::filesystem::path& bundle_data);
  // The pieces of data/ that the engine checks, each on its own.
  void AddAssetsFolder();
  void AddIcuFile();
  void AddApplication(const std::filesystem::path& app_library);
  // The three of them.
  void AddData(const std::filesystem::path& app_library);

  ChildProcessResult Run(const std::vector<std::string>& arguments = {},
                         const ChildProcessOptions& options = {}) const;

 private:
  std::filesystem::path path_;
  std::filesystem::path program_;
};

#endif  // TESTS_PROGRAM_FOLDER_H_
