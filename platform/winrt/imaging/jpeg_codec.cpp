#include "platform/winrt/imaging/jpeg_codec.h"

// jpeglib.h needs size_t and FILE declared first.
#include <stdio.h>

#include <jerror.h>
#include <jpeglib.h>
#include <setjmp.h>

#include <cstring>
#include <functional>

namespace winrt_layer {
namespace {

constexpr uint32_t kGrayFrameBits = 8;
constexpr uint32_t kCoefficientBits = 16;
// Restart markers are RST0 to RST7.
constexpr int kLastRestartMarker = JPEG_RST0 + 7;

// Everything the decoding touches after setjmp lives here, outside the
// frame that calls setjmp, so that it is well defined after a longjmp.
struct JpegDecoding {
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  jpeg_progress_mgr progress;
  jmp_buf failed;
  PIX* pix = nullptr;
  // Set while lines are decoded as they are read, that is for a file of one
  // scan. A file of several scans is read whole before its first line, and
  // what came before its end still makes up the whole image.
  bool reading_lines = false;
  // The data of the one scan ran out, met a marker other than a restart,
  // or held nothing between two restarts, before the last line: the rest
  // would decode to nothing.
  bool ended_early = false;
  // The file's first byte, and the offset in it just after the restart
  // marker the data last stopped short at.
  const uint8_t* content = nullptr;
  size_t short_restart_end = 0;
  std::function<bool()> stop_requested;
};

void FailJpeg(j_common_ptr info) noexcept {
  longjmp(reinterpret_cast<JpegDecoding*>(info->client_data)->failed, 1);
}

// Warnings and traces are dropped; the result tells what became of the file.
void IgnoreJpegMessage(j_common_ptr) noexcept {}

// Whether the data the lines are decoded from has ended: libjpeg says so
// once, and would go on to the last line on zeros, so that a few hundred
// bytes declaring 50 MP would cost the decoding of all of it. A restart
// marker met early is not an end: libjpeg picks the data up again there.
bool DataEnded(j_common_ptr common) {
  if (common->err->msg_code == JWRN_JPEG_EOF) {
    return true;
  }
  int marker = reinterpret_cast<j_decompress_ptr>(common)->unread_marker;
  return common->err->msg_code == JWRN_HIT_MARKER &&
         (marker < JPEG_RST0 || marker > kLastRestartMarker);
}

// Whether the data stopped short at a restart marker that straight
// follows another it stopped short at: an interval of no data at all, which
// no encoder writes. A scan of nothing but restart markers, each interval
// as long as the file likes, would decode any size on zeros.
bool IntervalEmpty(j_common_ptr common, JpegDecoding* decoding) {
  int marker = reinterpret_cast<j_decompress_ptr>(common)->unread_marker;
  if (common->err->msg_code != JWRN_HIT_MARKER || marker < JPEG_RST0 ||
      marker > kLastRestartMarker) {
    return false;
  }
  size_t marker_end = static_cast<size_t>(
      reinterpret_cast<j_decompress_ptr>(common)->src->next_input_byte - decoding->content);
  bool empty = decoding->short_restart_end != 0 && marker_end == decoding->short_restart_end + 2;
  decoding->short_restart_end = marker_end;
  return empty;
}

void NoteJpegWarning(j_common_ptr info, int level) noexcept {
  auto* decoding = reinterpret_cast<JpegDecoding*>(info->client_data);
  if (level < 0 && decoding->reading_lines && (DataEnded(info) || IntervalEmpty(info, decoding))) {
    decoding->ended_early = true;
  }
}

// Called as libjpeg reads each row of blocks of each scan, and before each
// line it gives: a stop asked for fails the decoding; the scans past
// kMaxJpegScans are left unread, and the image is what those before hold.
void WatchDecoding(j_common_ptr common) noexcept {
  auto* decoding = reinterpret_cast<JpegDecoding*>(common->client_data);
  if (decoding->stop_requested && decoding->stop_requested()) {
    FailJpeg(common);
  }
  auto* info = reinterpret_cast<j_decompress_ptr>(common);
  if (info->input_scan_number > kMaxJpegScans && info->src->bytes_in_buffer > 0) {
    // The data ends here for libjpeg, as a file cut short does.
    info->src->next_input_byte += info->src->bytes_in_buffer;
    info->src->bytes_in_buffer = 0;
  }
}

void StartJpeg(JpegDecoding* decoding, const std::vector<uint8_t>& content) {
  decoding->info.err = jpeg_std_error(&decoding->errors);
  decoding->errors.error_exit = FailJpeg;
  decoding->errors.output_message = IgnoreJpegMessage;
  decoding->errors.emit_message = NoteJpegWarning;
  decoding->info.client_data = decoding;
  decoding->content = content.data();
  jpeg_create_decompress(&decoding->info);
  decoding->progress.progress_monitor = WatchDecoding;
  decoding->info.progress = &decoding->progress;
  jpeg_mem_src(&decoding->info, content.data(), static_cast<unsigned long>(content.size()));
}

// Reads the header and the pixels into decoding->pix; false when libjpeg
// fails.
bool DecodeInto(JpegDecoding* decoding, const std::vector<uint8_t>& content) {
  StartJpeg(decoding, content);
  if (setjmp(decoding->failed) != 0) {
    jpeg_destroy_decompress(&decoding->info);
    return false;
  }
  jpeg_decompress_struct* info = &decoding->info;
  jpeg_read_header(info, TRUE);
  // Recognition reads gray, and a phone's photo held in color would take
  // four times the memory: libjpeg gives the luma of YCbCr and RGB at once;
  // CMYK is turned to gray here.
  bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  info->out_color_space = cmyk ? JCS_CMYK : JCS_GRAYSCALE;
  jpeg_start_decompress(info);
  decoding->pix = pixCreate(static_cast<l_int32>(info->output_width),
                            static_cast<l_int32>(info->output_height), 8);
  if (decoding->pix == nullptr) {
    jpeg_destroy_decompress(info);
    return false;
  }
  if (info->density_unit == 1) {
    pixSetResolution(decoding->pix, info->X_density, info->Y_density);
  } else if (info->density_unit == 2) {
    pixSetResolution(decoding->pix, info->X_density * 254 / 100, info->Y_density * 254 / 100);
  }
  l_uint32* data = pixGetData(decoding->pix);
  l_int32 words_per_line = pixGetWpl(decoding->pix);
  decoding->reading_lines = !jpeg_has_multiple_scans(info);
  if (!cmyk) {
    // Straight into the image: its lines are padded to 32 bits, wide
    // enough for libjpeg's samples.
    while (info->output_scanline < info->output_height && !decoding->ended_early) {
      JSAMPROW line = reinterpret_cast<JSAMPROW>(data + info->output_scanline * words_per_line);
      jpeg_read_scanlines(info, &line, 1);
    }
    // Leptonica keeps the bytes of each 32-bit word in the machine's order.
    pixEndianByteSwap(decoding->pix);
  }
  JSAMPARRAY row = (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE,
                                              info->output_width * info->output_components, 1);
  while (cmyk && info->output_scanline < info->output_height && !decoding->ended_early) {
    l_uint32* line = data + info->output_scanline * words_per_line;
    jpeg_read_scanlines(info, row, 1);
    for (JDIMENSION x = 0; x < info->output_width; ++x) {
      // Adobe writes CMYK inverted: each value is the ink left out.
      const JSAMPLE* pixel = row[0] + x * 4;
      SET_DATA_BYTE(line, x,
                    Luminance(static_cast<uint8_t>(pixel[0] * pixel[3] / 255),
                              static_cast<uint8_t>(pixel[1] * pixel[3] / 255),
                              static_cast<uint8_t>(pixel[2] * pixel[3] / 255)));
    }
  }
  if (decoding->ended_early) {
    // The lines the file did not reach are left white, as paper.
    std::memset(data + info->output_scanline * words_per_line, 0xFF,
                (info->output_height - info->output_scanline) * words_per_line * sizeof(l_uint32));
  } else {
    jpeg_finish_decompress(info);
  }
  jpeg_destroy_decompress(info);
  return true;
}

bool ReadHeaderInto(JpegDecoding* decoding, const std::vector<uint8_t>& content) {
  StartJpeg(decoding, content);
  if (setjmp(decoding->failed) != 0) {
    jpeg_destroy_decompress(&decoding->info);
    return false;
  }
  jpeg_read_header(&decoding->info, TRUE);
  return true;
}

}  // namespace

bool ReadJpegHeader(const std::vector<uint8_t>& content,
                    uint32_t* width,
                    uint32_t* height,
                    uint32_t* bits_per_pixel) {
  JpegDecoding decoding;
  if (!ReadHeaderInto(&decoding, content)) {
    return false;
  }
  jpeg_decompress_struct* info = &decoding.info;
  *width = info->image_width;
  *height = info->image_height;
  *bits_per_pixel = kGrayFrameBits;
  if (jpeg_has_multiple_scans(info)) {
    // 16 bits a coefficient, each component at its own sampling.
    uint32_t full_samples = static_cast<uint32_t>(info->max_h_samp_factor) *
                            static_cast<uint32_t>(info->max_v_samp_factor);
    uint32_t samples = 0;
    for (int i = 0; i < info->num_components; ++i) {
      samples += static_cast<uint32_t>(info->comp_info[i].h_samp_factor) *
                 static_cast<uint32_t>(info->comp_info[i].v_samp_factor);
    }
    *bits_per_pixel += (kCoefficientBits * samples + full_samples - 1) / full_samples;
  }
  jpeg_destroy_decompress(info);
  return true;
}

ScopedPix DecodeJpeg(const std::vector<uint8_t>& content,
                     const std::function<bool()>& stop_requested) {
  JpegDecoding decoding;
  decoding.stop_requested = stop_requested;
  if (!DecodeInto(&decoding, content)) {
    pixDestroy(&decoding.pix);
    return nullptr;
  }
  return ScopedPix(decoding.pix);
}

}  // namespace winrt_layer
