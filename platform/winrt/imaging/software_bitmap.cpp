#include "platform/winrt/imaging/software_bitmap.h"

namespace winrt_layer {

using ABI::Windows::Graphics::Imaging::BitmapAlphaMode;
using ABI::Windows::Graphics::Imaging::BitmapPixelFormat;

SoftwareBitmap::SoftwareBitmap(std::shared_ptr<const LeptonicaImage> pixels, bool has_alpha)
    : pixels_(std::move(pixels)), has_alpha_(has_alpha) {}

IFACEMETHODIMP SoftwareBitmap::get_BitmapPixelFormat(BitmapPixelFormat* value) {
  if (value == nullptr) {
    return E_POINTER;
  }
  if (pixels_->has_colormap() || pixels_->depth() > 16) {
    *value = ABI::Windows::Graphics::Imaging::BitmapPixelFormat_Bgra8;
  } else if (pixels_->depth() == 16) {
    *value = ABI::Windows::Graphics::Imaging::BitmapPixelFormat_Gray16;
  } else {
    *value = ABI::Windows::Graphics::Imaging::BitmapPixelFormat_Gray8;
  }
  return S_OK;
}

IFACEMETHODIMP SoftwareBitmap::get_BitmapAlphaMode(BitmapAlphaMode* value) {
  if (value == nullptr) {
    return E_POINTER;
  }
  *value = has_alpha_ ? ABI::Windows::Graphics::Imaging::BitmapAlphaMode_Straight
                      : ABI::Windows::Graphics::Imaging::BitmapAlphaMode_Ignore;
  return S_OK;
}

IFACEMETHODIMP SoftwareBitmap::get_PixelWidth(INT32* value) {
  if (value == nullptr) {
    return E_POINTER;
  }
  *value = static_cast<INT32>(pixels_->width());
  return S_OK;
}

IFACEMETHODIMP SoftwareBitmap::get_PixelHeight(INT32* value) {
  if (value == nullptr) {
    return E_POINTER;
  }
  *value = static_cast<INT32>(pixels_->height());
  return S_OK;
}

std::shared_ptr<const LeptonicaImage> STDMETHODCALLTYPE SoftwareBitmap::Pixels() {
  return pixels_;
}

const wchar_t* SoftwareBitmap::ClassName() const {
  return L"Windows.Graphics.Imaging.SoftwareBitmap";
}

}  // namespace winrt_layer
