#ifndef OCR_RECOGNIZE_IMAGE_FILE_H_
#define OCR_RECOGNIZE_IMAGE_FILE_H_

#include <string>

// Why there is no text when neither the user's languages nor "en-US" have a
// recognizer.
inline constexpr char kMissingEngineMessage[] =
    "Aucun moteur OCR Windows disponible. Installez un module de langue OCR dans les "
    "paramètres Windows.";

// The language tried when none of the user's languages has a recognizer.
inline constexpr wchar_t kFallbackLanguageTag[] = L"en-US";

// The text that the platform's OCR engine recognises in the first frame of
// the image file at `path` (UTF-8), as UTF-8, as the platform composes it.
// The file is read and decoded before any engine is created, so a file that
// cannot be read reports its own failure even where no engine exists.
// Raises a PlatformError, or a MessageFailure (kMissingEngineMessage,
// kBadAllocationMessage). Blocks the calling thread, which must be in the
// multithreaded apartment, until the platform's operations have ended.
std::string RecognizeImageFile(const std::string& path);

#endif  // OCR_RECOGNIZE_IMAGE_FILE_H_
