#ifndef PLATFORM_WINRT_IMAGING_LEPTONICA_IMAGE_H_
#define PLATFORM_WINRT_IMAGING_LEPTONICA_IMAGE_H_

#include <leptonica/allheaders.h>

#include <cstdint>
#include <memory>
#include <mutex>

namespace winrt_layer {

struct PixDeleter {
  void operator()(PIX* pix) const { pixDestroy(&pix); }
};
typedef std::unique_ptr<PIX, PixDeleter> ScopedPix;

struct BoxDeleter {
  void operator()(BOX* box) const { boxDestroy(&box); }
};
typedef std::unique_ptr<BOX, BoxDeleter> ScopedBox;

// A rectangle to hand Leptonica, which owns none of it.
inline BOX Rectangle(l_int32 x, l_int32 y, l_int32 width, l_int32 height) {
  BOX box{};
  box.x = x;
  box.y = y;
  box.w = width;
  box.h = height;
  return box;
}

// The gray of a color, with Leptonica's weights: decoders that turn color
// to gray give what Leptonica's own conversion would.
inline uint8_t Luminance(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<uint8_t>(L_RED_WEIGHT * red + L_GREEN_WEIGHT * green + L_BLUE_WEIGHT * blue +
                              0.5f);
}

// Sets Leptonica up for the process, once, before the layer first uses it:
// its messages off (the runtime reports failures through its results, never
// on standard error), and its images' pixels in memory from
// AllocateImageData.
void SetUpLeptonica();

// Decoded pixels, shared by a software bitmap and the recognitions that
// read it. Leptonica's reference counts are not atomic: a recognition holds
// the image's lock while it uses the pixels.
class LeptonicaImage {
 public:
  explicit LeptonicaImage(ScopedPix pix);
  LeptonicaImage(const LeptonicaImage&) = delete;
  LeptonicaImage& operator=(const LeptonicaImage&) = delete;

  uint32_t width() const { return width_; }
  uint32_t height() const { return height_; }
  // Bits per pixel, and whether the pixels index a colormap.
  uint32_t depth() const { return depth_; }
  bool has_colormap() const { return has_colormap_; }
  // The horizontal resolution the file declares, 0 when it declares none.
  uint32_t resolution() const { return resolution_; }

  // Held for as long as a recognition uses the pixels: recognitions of one
  // image take turns.
  std::unique_lock<std::mutex> LockForRecognition() const;

  // The pixels for Tesseract, under the lock: the image itself when it is
  // black and white or 8-bit gray, else an 8-bit gray copy (Tesseract
  // thresholds gray; a color copy would cost four times as much). Null
  // without memory.
  ScopedPix PixForRecognition() const;

 private:
  const ScopedPix pix_;
  const uint32_t width_;
  const uint32_t height_;
  const uint32_t depth_;
  const bool has_colormap_;
  const uint32_t resolution_;
  mutable std::mutex mutex_;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGING_LEPTONICA_IMAGE_H_
