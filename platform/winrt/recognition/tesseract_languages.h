#ifndef PLATFORM_WINRT_RECOGNITION_TESSERACT_LANGUAGES_H_
#define PLATFORM_WINRT_RECOGNITION_TESSERACT_LANGUAGES_H_

#include <optional>
#include <string>
#include <string_view>

namespace winrt_layer {

// The folder of Tesseract's language data: TESSDATA_PREFIX when set and not
// empty, else the one Debian's packages install into.
std::string TessdataFolder();

// The name of Tesseract's data for a BCP-47 tag ("fr-FR" is "fra",
// "zh-TW" is "chi_tra"), or nothing for a language without one.
std::optional<std::string> TesseractLanguageFor(std::wstring_view tag);

// Whether `folder` holds `<language>.traineddata`.
bool HasTrainedData(const std::string& folder, const std::string& language);

// Whether `<language>.traineddata` in `folder` carries a config: parameters
// Tesseract sets as it loads the language, its globals among them. Data
// that cannot be read counts as carrying one.
bool HasLanguageConfig(const std::string& folder, const std::string& language);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_TESSERACT_LANGUAGES_H_
