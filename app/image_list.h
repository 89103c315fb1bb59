#ifndef APP_IMAGE_LIST_H_
#define APP_IMAGE_LIST_H_

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// One image for the OCR service, both paths in UTF-8.
struct ImageToRecognize {
  // As the user named it: printed in the header above its text.
  std::string shown_path;
  // What the service gets: absolute, since the host opens files by absolute
  // path only.
  std::string path;
};

// Where the application's assets keep its sample images, relative to the
// bundle's folder.
inline constexpr std::string_view kSampleFolder = "data/flutter_assets/samples";

// The entrypoint arguments that name images, in their order. Links (anything
// holding "://") are left to the app-links plugin. A relative path is made
// absolute against the current folder; an empty argument stays empty.
std::vector<ImageToRecognize> ImagesFromArguments(const std::vector<std::string>& arguments);

// The bundle's sample folder: kSampleFolder beside the executable.
std::filesystem::path SampleFolder();

// The regular files in `folder`, sorted by name; none when it cannot be read.
std::vector<ImageToRecognize> ImagesInFolder(const std::filesystem::path& folder);

// Conversions between paths and UTF-8, the same on every system.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

#endif  // APP_IMAGE_LIST_H_
