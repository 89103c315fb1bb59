#include "platform/winrt/recognizer_pool.h"

#include <atomic>
#include <map>
#include <new>
#include <utility>

#include "platform/winrt/leptonica_image.h"

namespace winrt_layer {
namespace {

std::atomic<uint64_t> init_count{0};

// Tesseract writes its diagnostics to this file, not to standard error.
constexpr char kDebugFileVariable[] = "debug_file";
constexpr char kDebugFile[] = "/dev/null";

}  // namespace

RecognizerPool::Lease::Lease(std::shared_ptr<RecognizerPool> pool,
                             std::unique_ptr<tesseract::TessBaseAPI> recognizer)
    : pool_(std::move(pool)), recognizer_(std::move(recognizer)) {}

RecognizerPool::Lease::~Lease() {
  if (recognizer_ != nullptr) {
    pool_->GiveBack(std::move(recognizer_));
  }
}

RecognizerPool::RecognizerPool(std::string tessdata_folder, std::string language)
    : tessdata_folder_(std::move(tessdata_folder)), language_(std::move(language)) {}

std::shared_ptr<RecognizerPool> RecognizerPool::For(const std::string& tessdata_folder,
                                                    const std::string& language) {
  static std::mutex mutex;
  static std::map<std::pair<std::string, std::string>, std::shared_ptr<RecognizerPool>> pools;
  std::lock_guard<std::mutex> lock(mutex);
  std::shared_ptr<RecognizerPool>& pool = pools[{tessdata_folder, language}];
  if (pool == nullptr) {
    pool = std::make_shared<RecognizerPool>(tessdata_folder, language);
  }
  return pool;
}

uint64_t RecognizerPool::InitCount() {
  return init_count.load();
}

RecognizerPool::Lease RecognizerPool::Acquire() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!idle_.empty()) {
      std::unique_ptr<tesseract::TessBaseAPI> recognizer = std::move(idle_.back());
      idle_.pop_back();
      return Lease(shared_from_this(), std::move(recognizer));
    }
  }
  SilenceLeptonica();
  auto recognizer = std::make_unique<tesseract::TessBaseAPI>();
  std::vector<std::string> variables = {kDebugFileVariable};
  std::vector<std::string> values = {kDebugFile};
  init_count.fetch_add(1);
  if (recognizer->Init(tessdata_folder_.c_str(), language_.c_str(), tesseract::OEM_DEFAULT, nullptr,
                       0, &variables, &values, false) != 0) {
    return Lease();
  }
  return Lease(shared_from_this(), std::move(recognizer));
}

void RecognizerPool::GiveBack(std::unique_ptr<tesseract::TessBaseAPI> recognizer) {
  recognizer->Clear();
  std::lock_guard<std::mutex> lock(mutex_);
  try {
    idle_.push_back(std::move(recognizer));
  } catch (const std::bad_alloc&) {
    // Without memory to keep it, the recogniser is let go.
  }
}

}  // namespace winrt_layer
