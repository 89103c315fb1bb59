#include "platform/winrt/recognition/recognizer_pool.h"

#include <atomic>
#include <map>
#include <new>
#include <shared_mutex>
#include <utility>

#include "platform/winrt/imaging/leptonica_image.h"
#include "platform/winrt/recognition/tesseract_languages.h"
#include "platform/winrt/runtime/thread_pool.h"

namespace winrt_layer {
namespace {

std::atomic<uint64_t> init_count{0};

struct PoolRegistry {
  std::mutex mutex;
  std::map<std::pair<std::string, std::string>, std::shared_ptr<RecognizerPool>> pools;
  // A language's config may set Tesseract's global parameters as it loads:
  // such a load runs alone. Loads without one share no state but
  // Leptonica's TIFF handlers, which each sets to none (as a TIFF decoding
  // does) while Tesseract reads its debug font, and run side by side. The
  // debug file is a global parameter, set once, before any load.
  std::shared_mutex init_mutex;
  std::once_flag debug_file_set;
};

// Never destroyed: a recognition that ends while the process exits gives
// its recognizer back to it.
PoolRegistry& Registry() {
  static auto* registry = new PoolRegistry;
  return *registry;
}

// Tesseract's dictionary cache is a static that must outlive every
// recognizer. The cache is made first, then this, which is therefore
// destroyed before it at exit: the recognitions still running end, then
// every recognizer.
struct EndRecognizersFirst {
  EndRecognizersFirst() { tesseract::TessBaseAPI::ClearPersistentCache(); }

  ~EndRecognizersFirst() {
    ThreadPool::Shared().Stop();
    PoolRegistry& registry = Registry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    for (auto& [key, pool] : registry.pools) {
      pool->DropIdle();
    }
  }
};

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
    : tessdata_folder_(std::move(tessdata_folder)),
      language_(std::move(language)),
      has_config_(HasLanguageConfig(tessdata_folder_, language_)) {}

std::shared_ptr<RecognizerPool> RecognizerPool::For(const std::string& tessdata_folder,
                                                    const std::string& language) {
  static EndRecognizersFirst end_recognizers_first;
  PoolRegistry& registry = Registry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  std::shared_ptr<RecognizerPool>& pool = registry.pools[{tessdata_folder, language}];
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
  SetUpLeptonica();
  auto recognizer = std::make_unique<tesseract::TessBaseAPI>();
  PoolRegistry& registry = Registry();
  // Set before the first Init, which reports a missing or damaged language
  // file through it.
  std::call_once(registry.debug_file_set,
                 [&recognizer] { recognizer->SetVariable(kDebugFileVariable, kDebugFile); });
  std::unique_lock<std::shared_mutex> alone(registry.init_mutex, std::defer_lock);
  std::shared_lock<std::shared_mutex> beside_others(registry.init_mutex, std::defer_lock);
  if (has_config_) {
    alone.lock();
  } else {
    beside_others.lock();
  }
  init_count.fetch_add(1);
  if (recognizer->Init(tessdata_folder_.c_str(), language_.c_str(), tesseract::OEM_DEFAULT) != 0) {
    return Lease();
  }
  return Lease(shared_from_this(), std::move(recognizer));
}

void RecognizerPool::DropIdle() {
  std::vector<std::unique_ptr<tesseract::TessBaseAPI>> idle;
  std::lock_guard<std::mutex> lock(mutex_);
  idle.swap(idle_);
}

void RecognizerPool::GiveBack(std::unique_ptr<tesseract::TessBaseAPI> recognizer) {
  recognizer->Clear();
  std::lock_guard<std::mutex> lock(mutex_);
  try {
    idle_.push_back(std::move(recognizer));
  } catch (const std::bad_alloc&) {
    // Without memory to keep it, the recognizer is let go.
  }
}

}  // namespace winrt_layer
