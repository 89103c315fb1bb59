#include "app/image_list.h"

#include <windows.h>

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Windows' classic path limit: most paths fit at the first try.
constexpr DWORD kInitialPathUnits = 260;

constexpr std::string_view kLinkMarker = "://";

// The running executable's full path; empty when the system does not tell.
fs::path ExecutablePath() {
  std::wstring buffer(kInitialPathUnits, L'\0');
  DWORD length = 0;
  for (;;) {
    length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      return fs::path();
    }
    // A full buffer may have cut the path short.
    if (length < buffer.size()) {
      break;
    }
    buffer.resize(buffer.size() * 2);
  }
  const int size = WideCharToMultiByte(CP_UTF8, 0, buffer.data(), static_cast<int>(length), nullptr,
                                       0, nullptr, nullptr);
  if (size <= 0) {
    return fs::path();
  }
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, buffer.data(), static_cast<int>(length), utf8.data(), size,
                      nullptr, nullptr);
  return PathFromUtf8(utf8);
}

}  // namespace

fs::path PathFromUtf8(std::string_view utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathToUtf8(const fs::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

std::vector<ImageToRecognize> ImagesFromArguments(const std::vector<std::string>& arguments) {
  std::vector<ImageToRecognize> images;
  for (const std::string& argument : arguments) {
    if (argument.find(kLinkMarker) != std::string::npos) {
      continue;
    }
    ImageToRecognize image{argument, argument};
    if (!argument.empty()) {
      std::error_code error;
      const fs::path absolute = fs::absolute(PathFromUtf8(argument), error);
      // Without a current folder the path goes as it is, and the host's
      // answer says why it cannot be opened.
      if (!error) {
        image.path = PathToUtf8(absolute);
      }
    }
    images.push_back(std::move(image));
  }
  return images;
}

fs::path SampleFolder() {
  return ExecutablePath().parent_path() / PathFromUtf8(kSampleFolder);
}

std::vector<ImageToRecognize> ImagesInFolder(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code type_error;
    if (entry->is_regular_file(type_error)) {
      files.push_back(entry->path());
    }
  }
  std::sort(files.begin(), files.end(), [](const fs::path& left, const fs::path& right) {
    return left.filename().u8string() < right.filename().u8string();
  });
  std::vector<ImageToRecognize> images;
  for (const fs::path& file : files) {
    const std::string path = PathToUtf8(file);
    images.push_back(ImageToRecognize{path, path});
  }
  return images;
}
