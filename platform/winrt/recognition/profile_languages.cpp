#include "platform/winrt/recognition/profile_languages.h"

#include <cstdlib>
#include <optional>
#include <string_view>

#include "platform/winrt/recognition/language.h"

namespace winrt_layer {
namespace {

constexpr const char* kLocaleVariables[] = {"LC_ALL", "LC_MESSAGES", "LANG"};

// "fr_FR.UTF-8@euro" is "fr-FR".
std::optional<std::wstring> TagOfLocale(std::string_view locale) {
  locale = locale.substr(0, locale.find_first_of(".@"));
  if (locale == "C" || locale == "POSIX") {
    return std::nullopt;
  }
  std::wstring tag;
  for (char c : locale) {
    // Locale names are ASCII; anything else makes no tag.
    if (static_cast<unsigned char>(c) >= 0x80) {
      return std::nullopt;
    }
    tag += c == '_' ? L'-' : static_cast<wchar_t>(c);
  }
  return Language::Canonicalize(tag);
}

}  // namespace

std::vector<std::wstring> ProfileLanguages() {
  std::vector<std::wstring> tags;
  const char* language = std::getenv("LANGUAGE");
  if (language != nullptr && *language != 0) {
    std::string_view list(language);
    size_t start = 0;
    while (start <= list.size()) {
      size_t end = list.find(':', start);
      std::string_view entry = list.substr(start, end - start);
      if (std::optional<std::wstring> tag = TagOfLocale(entry)) {
        tags.push_back(std::move(*tag));
      }
      if (end == std::string_view::npos) {
        break;
      }
      start = end + 1;
    }
    return tags;
  }
  for (const char* variable : kLocaleVariables) {
    const char* locale = std::getenv(variable);
    if (locale != nullptr && *locale != 0) {
      if (std::optional<std::wstring> tag = TagOfLocale(locale)) {
        tags.push_back(std::move(*tag));
      }
      return tags;
    }
  }
  return tags;
}

}  // namespace winrt_layer
