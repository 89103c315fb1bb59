#ifndef OCR_SCRIPTED_PLATFORM_H_
#define OCR_SCRIPTED_PLATFORM_H_

#include <windows.h>

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// Stands in for the four runtime classes the recognition pipeline activates
// (StorageFile, BitmapDecoder, OcrEngine, Language) while it lives: every
// call the pipeline makes on them is recorded, in order, and any step can be
// made to fail, be cancelled or complete later on another thread. The
// factories are not agile, so the pipeline never keeps them.
class ScriptedPlatform {
 public:
  // The pipeline's calls on the platform, in their order.
  enum class Step {
    kGetFile,
    kOpen,
    kCreateDecoder,
    kGetBitmap,
    kProfileEngine,
    kCreateLanguage,
    kLanguageEngine,
    kRecognize,
    kGetText,
  };

  // How one step goes. A failing call returns `call_result` at once; an
  // asynchronous step whose call succeeds ends as its operation says.
  struct StepScript {
    HRESULT call_result = S_OK;
    // The operation ends in Error with this code when it is a failure.
    HRESULT operation_result = S_OK;
    bool cancelled = false;
    // Started when returned; it ends on a thread of its own once a
    // completion handler is set.
    bool completes_later = false;
    // Recorded as the restricted error details of the failure, for
    // `restricted_code` (the failure's own code when not set).
    std::optional<std::wstring> restricted_description;
    std::optional<HRESULT> restricted_code;
  };

  ScriptedPlatform();
  ~ScriptedPlatform();

  ScriptedPlatform(const ScriptedPlatform&) = delete;
  ScriptedPlatform& operator=(const ScriptedPlatform&) = delete;

  void Script(Step step, StepScript script);
  // Whether the user's languages, or "en-US", have a recognizer. Both do
  // unless set otherwise.
  void set_profile_engine(bool exists);
  void set_language_engine(bool exists);
  // The recognised text; nothing is the platform's null string.
  void set_text(std::optional<std::wstring> text);

  // "GetFileFromPathAsync", "OpenAsync(0)", "CreateAsync",
  // "GetSoftwareBitmapAsync", "TryCreateFromUserProfileLanguages",
  // "CreateLanguage(en-US)", "TryCreateFromLanguage(en-US)",
  // "RecognizeAsync", "get_Text".
  std::vector<std::string> calls() const;
  // The path as the platform received it.
  std::wstring path() const;
  // Threads on which completion handlers of later operations ran.
  std::vector<std::thread::id> completion_threads() const;

  struct State;

 private:
  std::shared_ptr<State> state_;
};

#endif  // OCR_SCRIPTED_PLATFORM_H_
