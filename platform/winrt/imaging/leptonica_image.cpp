#include "platform/winrt/imaging/leptonica_image.h"

#include <algorithm>

#include "platform/winrt/imaging/image_memory.h"

namespace winrt_layer {

namespace {

void IgnoreLeptonicaOutput(const char*) noexcept {}

}  // namespace

void SetUpLeptonica() {
  static std::once_flag set_up;
  std::call_once(set_up, [] {
    setMsgSeverity(L_SEVERITY_NONE);
    // Some diagnostics are printed whatever the severity.
    leptSetStderrHandler(IgnoreLeptonicaOutput);
    setPixMemoryManager(AllocateImageData, FreeImageData);
  });
}

LeptonicaImage::LeptonicaImage(ScopedPix pix)
    : pix_(std::move(pix)),
      width_(static_cast<uint32_t>(pixGetWidth(pix_.get()))),
      height_(static_cast<uint32_t>(pixGetHeight(pix_.get()))),
      depth_(static_cast<uint32_t>(pixGetDepth(pix_.get()))),
      has_colormap_(pixGetColormap(pix_.get()) != nullptr),
      resolution_(static_cast<uint32_t>(std::max(pixGetXRes(pix_.get()), 0))) {}

std::unique_lock<std::mutex> LeptonicaImage::LockForRecognition() const {
  return std::unique_lock<std::mutex>(mutex_);
}

ScopedPix LeptonicaImage::PixForRecognition() const {
  if ((depth_ == 1 || depth_ == 8) && !has_colormap_) {
    return ScopedPix(pixClone(pix_.get()));
  }
  return ScopedPix(pixConvertTo8(pix_.get(), 0));
}

}  // namespace winrt_layer
