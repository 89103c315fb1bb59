#include <errhandlingapi.h>
#include <fileapi.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>
#include <winerror.h>

#include <algorithm>
#include <fstream>
#include <string>

namespace {

std::wstring Wide(const std::string& ascii) {
  return std::wstring(ascii.begin(), ascii.end());
}

class FileAttributesTest : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/win32_file_attributes_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    std::ofstream(root_ + "/file.txt") << "text";
  }

  void TearDown() override {
    unlink((root_ + "/file.txt").c_str());
    rmdir(root_.c_str());
  }

  std::string root_;
};

TEST_F(FileAttributesTest, DirectoriesAndFilesAreToldApart) {
  EXPECT_EQ(GetFileAttributesW(Wide(root_).c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(GetFileAttributesW(Wide(root_ + "/file.txt").c_str()),
            static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
  std::string backslashed = root_ + "/file.txt";
  std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
  EXPECT_EQ(GetFileAttributesW(Wide(backslashed).c_str()),
            static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
}

TEST_F(FileAttributesTest, RelativePathsStartAtTheCurrentDirectory) {
  char* previous = getcwd(nullptr, 0);
  ASSERT_EQ(chdir(root_.c_str()), 0);
  const DWORD attributes = GetFileAttributesW(L".\\file.txt");
  EXPECT_EQ(chdir(previous), 0);
  free(previous);
  EXPECT_EQ(attributes, static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
}

TEST_F(FileAttributesTest, MissingFileAndMissingDirectoryGiveTheirOwnErrors) {
  SetLastError(0);
  EXPECT_EQ(GetFileAttributesW(Wide(root_ + "/absent.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  SetLastError(0);
  EXPECT_EQ(GetFileAttributesW(Wide(root_ + "/absent/file.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  // A file on the way is no directory.
  SetLastError(0);
  EXPECT_EQ(GetFileAttributesW(Wide(root_ + "/file.txt/inner").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  SetLastError(0);
  EXPECT_EQ(GetFileAttributesW(nullptr), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
