#include "platform/winrt/recognition/tesseract_languages.h"

#include <sys/stat.h>

#include <array>
#include <cstdlib>
#include <fstream>

#include "platform/winrt/imaging/byte_reader.h"

namespace winrt_layer {
namespace {

constexpr char kDefaultTessdataFolder[] = "/usr/share/tesseract-ocr/5/tessdata";

// A traineddata file starts with the number of its components, 4 bytes,
// and then each one's offset, 8 bytes, or -1 for a component it lacks; the
// config is the first. Tesseract takes a number above its limit for one
// written in the other byte order.
constexpr size_t kComponentCountSize = 4;
constexpr size_t kOffsetSize = 8;
constexpr uint32_t kMaxComponents = 1000;
constexpr uint64_t kNoComponent = UINT64_MAX;

struct LanguageName {
  const wchar_t* primary_subtag;
  const char* tesseract_name;
};

// ISO 639-1 codes and the ISO 639-2/T names Tesseract's data carries.
// Chinese depends on the script, and is looked up apart.
constexpr LanguageName kLanguageNames[] = {
    {L"af", "afr"}, {L"ar", "ara"}, {L"az", "aze"}, {L"be", "bel"}, {L"bg", "bul"}, {L"bn", "ben"},
    {L"bs", "bos"}, {L"ca", "cat"}, {L"cs", "ces"}, {L"cy", "cym"}, {L"da", "dan"}, {L"de", "deu"},
    {L"el", "ell"}, {L"en", "eng"}, {L"eo", "epo"}, {L"es", "spa"}, {L"et", "est"}, {L"eu", "eus"},
    {L"fa", "fas"}, {L"fi", "fin"}, {L"fr", "fra"}, {L"ga", "gle"}, {L"gl", "glg"}, {L"gu", "guj"},
    {L"he", "heb"}, {L"hi", "hin"}, {L"hr", "hrv"}, {L"hu", "hun"}, {L"hy", "hye"}, {L"id", "ind"},
    {L"is", "isl"}, {L"it", "ita"}, {L"ja", "jpn"}, {L"ka", "kat"}, {L"kk", "kaz"}, {L"km", "khm"},
    {L"kn", "kan"}, {L"ko", "kor"}, {L"lt", "lit"}, {L"lv", "lav"}, {L"mk", "mkd"}, {L"ml", "mal"},
    {L"mr", "mar"}, {L"ms", "msa"}, {L"mt", "mlt"}, {L"nb", "nor"}, {L"ne", "nep"}, {L"nl", "nld"},
    {L"nn", "nor"}, {L"no", "nor"}, {L"pa", "pan"}, {L"pl", "pol"}, {L"pt", "por"}, {L"ro", "ron"},
    {L"ru", "rus"}, {L"sk", "slk"}, {L"sl", "slv"}, {L"sq", "sqi"}, {L"sr", "srp"}, {L"sv", "swe"},
    {L"sw", "swa"}, {L"ta", "tam"}, {L"te", "tel"}, {L"th", "tha"}, {L"tl", "tgl"}, {L"tr", "tur"},
    {L"uk", "ukr"}, {L"ur", "urd"}, {L"uz", "uzb"}, {L"vi", "vie"},
};

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    wchar_t x = a[i] >= L'A' && a[i] <= L'Z' ? a[i] - L'A' + L'a' : a[i];
    wchar_t y = b[i] >= L'A' && b[i] <= L'Z' ? b[i] - L'A' + L'a' : b[i];
    if (x != y) {
      return false;
    }
  }
  return true;
}

// Traditional characters for the Hant script and the regions that write
// them; simplified otherwise.
std::string ChineseLanguageFor(std::wstring_view subtags) {
  size_t start = 0;
  while (start < subtags.size()) {
    size_t end = subtags.find(L'-', start);
    std::wstring_view subtag = subtags.substr(start, end - start);
    if (EqualsIgnoringCase(subtag, L"hant") || EqualsIgnoringCase(subtag, L"tw") ||
        EqualsIgnoringCase(subtag, L"hk") || EqualsIgnoringCase(subtag, L"mo")) {
      return "chi_tra";
    }
    if (end == std::wstring_view::npos) {
      break;
    }
    start = end + 1;
  }
  return "chi_sim";
}

std::string TrainedDataPath(const std::string& folder, const std::string& language) {
  return folder + "/" + language + ".traineddata";
}

}  // namespace

std::string TessdataFolder() {
  const char* prefix = std::getenv("TESSDATA_PREFIX");
  return prefix != nullptr && *prefix != 0 ? prefix : kDefaultTessdataFolder;
}

std::optional<std::string> TesseractLanguageFor(std::wstring_view tag) {
  size_t hyphen = tag.find(L'-');
  std::wstring_view primary = tag.substr(0, hyphen);
  if (EqualsIgnoringCase(primary, L"zh")) {
    return ChineseLanguageFor(hyphen == std::wstring_view::npos ? std::wstring_view()
                                                                : tag.substr(hyphen + 1));
  }
  for (const LanguageName& name : kLanguageNames) {
    if (EqualsIgnoringCase(primary, name.primary_subtag)) {
      return std::string(name.tesseract_name);
    }
  }
  return std::nullopt;
}

bool HasTrainedData(const std::string& folder, const std::string& language) {
  struct stat status;
  return stat(TrainedDataPath(folder, language).c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool HasLanguageConfig(const std::string& folder, const std::string& language) {
  std::array<BYTE, kComponentCountSize + kOffsetSize> header{};
  std::ifstream file(TrainedDataPath(folder, language), std::ios::binary);
  if (!file.read(reinterpret_cast<char*>(header.data()), header.size())) {
    return true;
  }
  for (ByteReader::Order order :
       {ByteReader::Order::kLittleEndian, ByteReader::Order::kBigEndian}) {
    ByteReader reader(header.data(), header.size(), order);
    uint32_t count = 0;
    uint64_t config_offset = 0;
    if (reader.Read(0, kComponentCountSize, &count) && count <= kMaxComponents) {
      return count > 0 && reader.Read(kComponentCountSize, kOffsetSize, &config_offset) &&
             config_offset != kNoComponent;
    }
  }
  return true;
}

}  // namespace winrt_layer
