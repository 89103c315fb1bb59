#include "platform/winrt/leptonica_image.h"

#include <algorithm>

namespace winrt_layer {

namespace {

void IgnoreLeptonicaOutput(const char*) noexcept {}

}  // namespace

void SilenceLeptonica() {
  static std::once_flag silenced;
  std::call_once(silenced, [] {
    setMsgSeverity(L_SEVERITY_NONE);
    // Some diagnostics are printed whatever the severity.
    leptSetStderrHandler(IgnoreLeptonicaOutput);
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
