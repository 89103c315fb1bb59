#ifndef PLATFORM_WINRT_RECOGNITION_RECOGNIZER_POOL_H_
#define PLATFORM_WINRT_RECOGNITION_RECOGNIZER_POOL_H_

#include <tesseract/baseapi.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace winrt_layer {

// Initialized Tesseract recognizers for one language, kept for reuse:
// loading a language's data is slow, and creating an OCR engine must not
// be. A recognizer serves one recognition at a time; the pool grows to the
// number of recognitions that run at once.
class RecognizerPool : public std::enable_shared_from_this<RecognizerPool> {
 public:
  // A recognizer lent by its pool, given back when the lease ends.
  class Lease {
   public:
    Lease() = default;
    Lease(Lease&&) = default;
    Lease& operator=(Lease&&) = default;
    ~Lease();

    tesseract::TessBaseAPI* get() const { return recognizer_.get(); }
    explicit operator bool() const { return recognizer_ != nullptr; }

   private:
    friend class RecognizerPool;
    Lease(std::shared_ptr<RecognizerPool> pool, std::unique_ptr<tesseract::TessBaseAPI> recognizer);

    std::shared_ptr<RecognizerPool> pool_;
    std::unique_ptr<tesseract::TessBaseAPI> recognizer_;
  };

  RecognizerPool(std::string tessdata_folder, std::string language);
  RecognizerPool(const RecognizerPool&) = delete;
  RecognizerPool& operator=(const RecognizerPool&) = delete;

  // The pool of `language` (a Tesseract data name) in `tessdata_folder`,
  // made on first use and kept until the process exits.
  static std::shared_ptr<RecognizerPool> For(const std::string& tessdata_folder,
                                             const std::string& language);

  // How many recognizers the process has initialized.
  static uint64_t InitCount();

  // An idle recognizer, or a new one; empty when the language's data cannot
  // be loaded.
  Lease Acquire();

  // Ends the idle recognizers: at exit, before Tesseract's statics go.
  void DropIdle();

  const std::string& language() const { return language_; }
  const std::string& tessdata_folder() const { return tessdata_folder_; }

 private:
  void GiveBack(std::unique_ptr<tesseract::TessBaseAPI> recognizer);

  const std::string tessdata_folder_;
  const std::string language_;
  // Whether the language's data carries a config: its recognizers load
  // while no other recognizer does.
  const bool has_config_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<tesseract::TessBaseAPI>> idle_;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_RECOGNIZER_POOL_H_
