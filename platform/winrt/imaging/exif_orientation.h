#ifndef PLATFORM_WINRT_IMAGING_EXIF_ORIENTATION_H_
#define PLATFORM_WINRT_IMAGING_EXIF_ORIENTATION_H_

#include <cstdint>
#include <vector>

#include "platform/winrt/imaging/leptonica_image.h"

namespace winrt_layer {

// Phones store a portrait shot as the sensor reads it, sideways, and say in
// the EXIF data how a viewer must turn it. (Leptonica's TIFF reader applies
// the TIFF orientation tag itself.)

// The EXIF orientation of a JPEG (APP1, tag 0x0112 of the first image file
// directory): 1 (as stored) to 8. 1 when there is none or it cannot be
// read: damaged EXIF data never fails an image that decodes.
uint32_t ReadJpegOrientation(const std::vector<uint8_t>& content);

// `pix` as a viewer shows an image of EXIF orientation `orientation`; the
// same pixels for 1 or a value out of range. Null without memory.
ScopedPix ApplyOrientation(ScopedPix pix, uint32_t orientation);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGING_EXIF_ORIENTATION_H_
