#include "app/image_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <system_error>

namespace {

namespace fs = std::filesystem;

using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::IsEmpty;

auto Image(const std::string& shown_path, const std::string& path) {
  return ::testing::AllOf(Field(&ImageToRecognize::shown_path, shown_path),
                          Field(&ImageToRecognize::path, path));
}

// Relative paths are made absolute against the current folder, byte for
// byte in UTF-8; an empty argument names nothing and stays as it is.
TEST(ImageListTest, ArgumentsKeepTheirOrderWithoutLinks) {
  const std::string here = PathToUtf8(fs::current_path());

  const std::vector<ImageToRecognize> images = ImagesFromArguments(
      {"/photos/a.png", "norvalis://album/1", "b \xC3\xA9t\xC3\xA9.png", "", "https://x/y.png"});

  EXPECT_THAT(images,
              ElementsAre(Image("/photos/a.png", "/photos/a.png"),
                          Image("b \xC3\xA9t\xC3\xA9.png", here + "/b \xC3\xA9t\xC3\xA9.png"),
                          Image("", "")));
}

TEST(ImageListTest, OnlyLinksMeanNoImage) {
  EXPECT_THAT(ImagesFromArguments({"norvalis://album/1"}), IsEmpty());
}

class ImageFolderTest : public ::testing::Test {
 protected:
  ImageFolderTest() : folder_(fs::temp_directory_path() / "photos_norvalis_image_list_test") {
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "nested.png");
  }
  ~ImageFolderTest() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  void AddFile(const std::string& name) { std::ofstream(folder_ / name) << "x"; }

  const fs::path folder_;
};

TEST_F(ImageFolderTest, RegularFilesSortedByName) {
  AddFile("b.png");
  AddFile("a.jpg");
  AddFile("C.png");

  const std::vector<ImageToRecognize> images = ImagesInFolder(folder_);

  const std::string folder = PathToUtf8(folder_);
  EXPECT_THAT(images, ElementsAre(Image(folder + "/C.png", folder + "/C.png"),
                                  Image(folder + "/a.jpg", folder + "/a.jpg"),
                                  Image(folder + "/b.png", folder + "/b.png")));
}

TEST_F(ImageFolderTest, MissingFolderHasNoImage) {
  EXPECT_THAT(ImagesInFolder(folder_ / "missing"), IsEmpty());
}

}  // namespace
