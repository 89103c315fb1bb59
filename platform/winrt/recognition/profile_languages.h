#ifndef PLATFORM_WINRT_RECOGNITION_PROFILE_LANGUAGES_H_
#define PLATFORM_WINRT_RECOGNITION_PROFILE_LANGUAGES_H_

#include <string>
#include <vector>

namespace winrt_layer {

// The user's profile languages as BCP-47 tags, in order of preference, read
// from the environment at each call: LANGUAGE (a colon-separated list), or
// else the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty.
// A locale name loses its codeset and modifier and takes a hyphen
// ("fr_FR.UTF-8" is "fr-FR"); "C" and "POSIX", and names that make no
// well-formed tag, stand for no language.
std::vector<std::wstring> ProfileLanguages();

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_PROFILE_LANGUAGES_H_
