#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/winrt/runtime_test_support.h"

namespace winrt_layer {
namespace {

using namespace ABI::Windows;
using namespace winrt_layer::testing;

class StorageFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("winrt_storage_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }

  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Write(const std::string& name, const std::string& content) {
    std::string path = (folder_ / name).string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  std::filesystem::path folder_;
};

TEST_F(StorageFileTest, RelativePathFailsAtOnce) {
  ComPtr<Storage::IStorageFileStatics> files;
  ASSERT_EQ(GetFactory(L"Windows.Storage.StorageFile", &files), S_OK);
  for (const wchar_t* path : {L"english.png", L"./english.png", L"", L"C:\\photos\\a.png"}) {
    ComPtr<Foundation::IAsyncOperation<Storage::StorageFile*>> operation;
    EXPECT_EQ(
        files->GetFileFromPathAsync(MakeHString(path).Get(), operation.ReleaseAndGetAddressOf()),
        E_INVALIDARG)
        << path;
    EXPECT_FALSE(operation);
    RecordedError error = TakeRecordedError();
    EXPECT_EQ(error.code, E_INVALIDARG);
    EXPECT_EQ(error.restricted_description, L"The path is not an absolute path.");
  }
}

TEST_F(StorageFileTest, MissingFileFolderAndDirectoryFailWithTheirCodes) {
  ComPtr<Storage::IStorageFile> file;
  EXPECT_EQ(OpenFile((folder_ / "missing.png").string(), &file),
            HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(TakeRecordedError().description, L"The system cannot find the file specified.\r\n");
  EXPECT_EQ(OpenFile((folder_ / "no_folder" / "missing.png").string(), &file),
            HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  // A file on the way where a folder should be.
  std::string plain = Write("plain.txt", "x");
  EXPECT_EQ(OpenFile(plain + "/inside.png", &file), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(OpenFile(folder_.string(), &file), E_ACCESSDENIED);
  EXPECT_FALSE(file);
}

// Set for the copy of the test below that a run as root starts: the file
// that copy must fail to open once it has given up root.
constexpr char kUnreadableFileVariable[] = "NORVALIS_TEST_UNREADABLE_FILE";
constexpr uid_t kNobody = 65534;

TEST_F(StorageFileTest, UnreadableFileIsAccessDenied) {
  if (const char* unreadable = std::getenv(kUnreadableFileVariable)) {
    // Its own folder is root's and would outlive it.
    std::filesystem::remove_all(folder_);
    ASSERT_EQ(setgid(kNobody), 0);
    ASSERT_EQ(setuid(kNobody), 0);
    // So that LeakSanitizer can still inspect the process.
    prctl(PR_SET_DUMPABLE, 1);
    ComPtr<Storage::IStorageFile> file;
    EXPECT_EQ(OpenFile(unreadable, &file), E_ACCESSDENIED);
    return;
  }
  const std::string path = Write("secret.png", "x");
  std::filesystem::permissions(path, std::filesystem::perms::none);
  if (geteuid() != 0) {
    ComPtr<Storage::IStorageFile> file;
    EXPECT_EQ(OpenFile(path, &file), E_ACCESSDENIED);
    return;
  }
  // Root reads every file, so a fresh copy of this test checks it as nobody:
  // fresh, because this process's runtime threads would not survive a fork.
  const std::string command = std::string(kUnreadableFileVariable) + "='" + path + "' '" +
                              std::filesystem::read_symlink("/proc/self/exe").string() +
                              "' --gtest_filter=StorageFileTest.UnreadableFileIsAccessDenied 2>&1";
  FILE* copy = popen(command.c_str(), "r");
  ASSERT_NE(copy, nullptr);
  std::string output;
  char buffer[4096];
  for (size_t read; (read = fread(buffer, 1, sizeof(buffer), copy)) > 0;) {
    output.append(buffer, read);
  }
  const int status = pclose(copy);
  ASSERT_TRUE(WIFEXITED(status)) << output;
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  EXPECT_NE(output.find("[  PASSED  ] 1 test."), std::string::npos) << output;
}

TEST_F(StorageFileTest, UnicodePathOpensAsAStreamOverTheContent) {
  std::string path = Write("caf\xC3\xA9.png", "not really a picture");
  ComPtr<Storage::IStorageFile> file;
  ASSERT_EQ(OpenFile(path, &file), S_OK);
  ScopedHString type;
  ASSERT_EQ(file->get_FileType(type.Receive()), S_OK);
  EXPECT_EQ(type.View(), L".png");

  ComPtr<Storage::Streams::IRandomAccessStream> stream;
  ASSERT_EQ(StartAndAwait<Storage::Streams::IRandomAccessStream*>(
                [&](auto** operation) {
                  return file->OpenAsync(Storage::FileAccessMode_Read, operation);
                },
                &stream),
            S_OK);
  UINT64 size = 0;
  ASSERT_EQ(stream->get_Size(&size), S_OK);
  EXPECT_EQ(size, 20u);
  boolean can_write = 1;
  ASSERT_EQ(stream->get_CanWrite(&can_write), S_OK);
  EXPECT_EQ(can_write, 0);
  EXPECT_EQ(stream->put_Size(0), E_ACCESSDENIED);
}

TEST_F(StorageFileTest, OpeningForWritingIsRefused) {
  ComPtr<Storage::IStorageFile> file;
  ASSERT_EQ(OpenFile(Write("a.png", "x"), &file), S_OK);
  ComPtr<Foundation::IAsyncOperation<Storage::Streams::IRandomAccessStream*>> operation;
  EXPECT_EQ(file->OpenAsync(Storage::FileAccessMode_ReadWrite, operation.ReleaseAndGetAddressOf()),
            E_ACCESSDENIED);
  EXPECT_EQ(TakeRecordedError().code, E_ACCESSDENIED);
}

TEST_F(StorageFileTest, FileRemovedBeforeOpeningFailsInTheOperation) {
  std::string path = Write("gone.png", "x");
  ComPtr<Storage::IStorageFile> file;
  ASSERT_EQ(OpenFile(path, &file), S_OK);
  std::filesystem::remove(path);
  ComPtr<Storage::Streams::IRandomAccessStream> stream;
  EXPECT_EQ(StartAndAwait<Storage::Streams::IRandomAccessStream*>(
                [&](auto** operation) {
                  return file->OpenAsync(Storage::FileAccessMode_Read, operation);
                },
                &stream),
            HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
}

}  // namespace
}  // namespace winrt_layer
