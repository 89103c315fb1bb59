#include "platform/winrt/recognition/tesseract_languages.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace winrt_layer {
namespace {

// A traineddata header: the number of components, then the config's
// offset, either in little-endian order or reversed.
std::string Header(uint32_t count, int64_t config_offset, bool big_endian) {
  std::string bytes(reinterpret_cast<const char*>(&count), sizeof(count));
  bytes.append(reinterpret_cast<const char*>(&config_offset), sizeof(config_offset));
  if (big_endian) {
    std::reverse(bytes.begin(), bytes.begin() + sizeof(count));
    std::reverse(bytes.begin() + sizeof(count), bytes.end());
  }
  return bytes;
}

TEST(TesseractLanguagesTest, ConfigIsFoundInTheHeaderInEitherByteOrder) {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("winrt_configs_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  auto has_config = [&folder](const std::string& content) {
    std::ofstream(folder / "xyz.traineddata", std::ios::binary) << content;
    return HasLanguageConfig(folder, "xyz");
  };
  EXPECT_TRUE(has_config(Header(24, 192, false)));
  EXPECT_FALSE(has_config(Header(24, -1, false)));
  EXPECT_TRUE(has_config(Header(24, 192, true)));
  EXPECT_FALSE(has_config(Header(24, -1, true)));
  // Unreadable data is taken to carry one.
  EXPECT_TRUE(has_config(Header(24, -1, false).substr(0, 8)));
  EXPECT_TRUE(has_config(Header(5000, -1, false)));
  EXPECT_TRUE(HasLanguageConfig(folder, "missing"));
  std::filesystem::remove_all(folder);
  // Debian's English carries none.
  EXPECT_FALSE(HasLanguageConfig(TessdataFolder(), "eng"));
}

}  // namespace
}  // namespace winrt_layer
