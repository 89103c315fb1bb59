#include "platform/winrt/recognition/picture_text.h"

#include <algorithm>
#include <vector>

#include "platform/winrt/recognition/square_filter.h"

namespace winrt_layer {
namespace {

// A character's strokes are what an opening this wide takes out of the
// image: narrower than it, and lighter than what is left by kTextContrast.
// A caption's letters, at the size the analysis copy shows them, have
// narrower strokes; the picture's light areas are wider, its texture
// fainter.
constexpr l_int32 kStrokeFilterSize = 21;
constexpr l_int32 kTextContrast = 48;
// Its pixels are also within this of the lightest in the same reach: the
// picture showing between outlined letters is lighter than the outlines,
// but darker than the letters.
constexpr l_int32 kMaxBelowLightest = 32;
// Pieces of light strokes smaller than this are a photo's noise; larger
// ones on either side than kMaxCharacterSide are a border, a frame, a line
// across the picture or the paper between a page's print.
constexpr l_int32 kMinPiecePixels = 6;
constexpr l_int32 kMaxCharacterSide = 120;
// What counts as a character when telling whether there is text at all:
// this high at least (less is not read reliably), and at most three times
// as wide.
constexpr l_int32 kMinCharacterHeight = 8;
constexpr l_int32 kMaxCharacterAspect = 3;
constexpr l_int32 kMinCharacters = 3;
// A caption's or a sign's letters are all about as light against what is
// around them, and the lightest strokes in the picture: pieces less than
// this share as light as the lightest character are the picture's own,
// as the highlight along a pole.
constexpr l_float32 kMinContrastShare = 0.5f;

// A piece of light strokes, by its box in the image and its place in the
// components.
struct Piece {
  l_int32 x = 0;
  l_int32 y = 0;
  l_int32 width = 0;
  l_int32 height = 0;
  l_int32 index = 0;
  // How much lighter the piece is than what is around it, on average.
  l_float32 contrast = 0;
  bool beside_another = false;
};

bool IsCharacter(const Piece& piece) {
  return piece.height >= kMinCharacterHeight && piece.width <= kMaxCharacterAspect * piece.height;
}

// Whether `b`, which starts no further left than `a`, stands beside `a` on
// a line: the two overlap up and down, and the gap between them is no wider
// than the taller one.
bool Beside(const Piece& a, const Piece& b) {
  l_int32 overlap = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
  l_int32 gap = b.x - (a.x + a.width);
  return overlap > 0 && gap <= std::max(a.height, b.height);
}

// Marks the pieces that stand beside another: text stands in lines, a
// picture's highlights and the fragments of a pole or a border stand alone.
void MarkThoseBesideAnother(std::vector<Piece>& pieces) {
  std::sort(pieces.begin(), pieces.end(), [](const Piece& a, const Piece& b) { return a.x < b.x; });
  for (size_t i = 0; i < pieces.size(); ++i) {
    Piece& a = pieces[i];
    for (size_t j = i + 1; j < pieces.size() && pieces[j].x <= a.x + a.width + kMaxCharacterSide;
         ++j) {
      if (Beside(a, pieces[j])) {
        a.beside_another = true;
        pieces[j].beside_another = true;
      }
    }
  }
}

}  // namespace

ScopedPix FindPictureText(PIX* gray, TextShade shade) {
  // Dark text is the light text of the negative.
  ScopedPix negative(shade == TextShade::kDark ? pixInvert(nullptr, gray) : nullptr);
  if (shade == TextShade::kDark) {
    if (negative == nullptr) {
      return nullptr;
    }
    gray = negative.get();
  }
  ScopedPix opened(OpenSquare(gray, kStrokeFilterSize));
  ScopedPix strokes(opened ? pixSubtractGray(nullptr, gray, opened.get()) : nullptr);
  // Leptonica's threshold sets the pixels below it: the ground, here.
  ScopedPix light(strokes ? pixThresholdToBinary(strokes.get(), kTextContrast + 1) : nullptr);
  ScopedPix dilated(DilateSquare(gray, kStrokeFilterSize));
  ScopedPix below_lightest(dilated ? pixSubtractGray(nullptr, dilated.get(), gray) : nullptr);
  ScopedPix lightest(
      below_lightest ? pixThresholdToBinary(below_lightest.get(), kMaxBelowLightest + 1) : nullptr);
  if (light == nullptr || lightest == nullptr || pixInvert(light.get(), light.get()) == nullptr ||
      pixAnd(light.get(), light.get(), lightest.get()) == nullptr) {
    return nullptr;
  }
  PIXA* components = nullptr;
  BOXA* boxes = pixConnComp(light.get(), &components, 8);
  if (boxes == nullptr) {
    return nullptr;
  }
  boxaDestroy(&boxes);
  std::vector<Piece> pieces;
  l_float32 highest_contrast = 0;
  l_int32 count = pixaGetCount(components);
  for (l_int32 i = 0; i < count; ++i) {
    Piece piece;
    piece.index = i;
    pixaGetBoxGeometry(components, i, &piece.x, &piece.y, &piece.width, &piece.height);
    if (piece.width > kMaxCharacterSide || piece.height > kMaxCharacterSide ||
        piece.width * piece.height < kMinPiecePixels) {
      continue;
    }
    ScopedPix component(pixaGetPix(components, i, L_CLONE));
    if (component == nullptr ||
        pixGetAverageMasked(strokes.get(), component.get(), piece.x, piece.y, 1, L_MEAN_ABSVAL,
                            &piece.contrast) != 0) {
      continue;
    }
    if (IsCharacter(piece)) {
      highest_contrast = std::max(highest_contrast, piece.contrast);
    }
    pieces.push_back(piece);
  }
  std::erase_if(pieces, [highest_contrast](const Piece& piece) {
    return piece.contrast < kMinContrastShare * highest_contrast;
  });
  MarkThoseBesideAnother(pieces);
  ScopedPix text(pixCreateTemplate(light.get()));
  l_int32 characters = 0;
  for (const Piece& piece : pieces) {
    if (text == nullptr) {
      break;
    }
    if (!piece.beside_another) {
      continue;
    }
    ScopedPix component(pixaGetPix(components, piece.index, L_CLONE));
    if (component == nullptr || pixRasterop(text.get(), piece.x, piece.y, piece.width, piece.height,
                                            PIX_PAINT, component.get(), 0, 0) != 0) {
      text.reset();
    }
    characters += IsCharacter(piece);
  }
  pixaDestroy(&components);
  return characters >= kMinCharacters ? std::move(text) : nullptr;
}

}  // namespace winrt_layer
