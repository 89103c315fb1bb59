#ifndef PLATFORM_WINRT_RECOGNITION_PICTURE_BLOCKS_H_
#define PLATFORM_WINRT_RECOGNITION_PICTURE_BLOCKS_H_

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>

#include <cstdint>
#include <vector>

#include "platform/winrt/imaging/leptonica_image.h"
#include "platform/winrt/recognition/line_order.h"

namespace winrt_layer {

// The blocks Tesseract's layout took for pictures in the page `recognizer`
// has just read, and that page; empty when there are none. A screen's
// dialog or card, framed by its edge against a dimmed or coloured ground,
// is one: the layout reads some of its lines and leaves the others (a
// button's label) in the picture.
struct PictureBlocks {
  ScopedPix page;
  std::vector<ScopedBox> boxes;
};
PictureBlocks FindPictureBlocks(tesseract::TessBaseAPI* recognizer);

// Reads what `read`, the lines of the page, leaves unread in `pictures`:
// each block within its frame, the lines already read painted out, by
// `recognizer`, which forgets the page. The lines it reads surely join
// `read`, each block's in blocks of their own. Nothing changes when
// `monitor` stops the reading.
void ReadPictureBlocks(tesseract::TessBaseAPI* recognizer,
                       const PictureBlocks& pictures,
                       uint32_t resolution,
                       tesseract::ETEXT_DESC* monitor,
                       std::vector<TextLine>* read);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_PICTURE_BLOCKS_H_
