#pragma once
// The element records a skin definition is read into. Each record is one skin element:
// an image holding FrameCount state pictures, the fixed edges that tell how the image is
// stretched or tiled to any size, and the switches and colours the drawing code reads.
// Field names are the ones the skinners use everywhere.
#include <cstdint>
#include <string>
#include <utility>

#include "skin/data/colour_scheme.h"
#include "skin/store/pixel_bitmap.h"

namespace skin {

class TDataSkinObject {
 public:
  TDataSkinObject() = default;
  explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
  TDataSkinObject(const TDataSkinObject&) = default;
  TDataSkinObject(TDataSkinObject&&) = default;
  TDataSkinObject& operator=(const TDataSkinObject&) = default;
  TDataSkinObject& operator=(TDataSkinObject&&) = default;
  virtual ~TDataSkinObject() = default;

  int32_t LeftWidth = 0;     // fixed left edge; the part between the fixed edges stretches
  int32_t TopHeight = 0;     // fixed top edge
  int32_t RightWidth = 0;    // fixed right edge
  int32_t BottomHeight = 0;  // fixed bottom edge
  PixelBitmap Image;
  int32_t Trans = 0;  // nonzero: drawn with the magenta colour key
  int32_t Tile = 0;   // fill mode of the middle part, as the skin gives it
  std::string Name;
  int32_t FrameCount = 0;
  int32_t Style = 0;
  // Per-state colour codes as the skin gives them; -1 when absent.
  int32_t NormalColour = 0;
  int32_t MouseOverColour = 0;
  int32_t PressedColour = 0;
  // Per-state colours; when absent, the scheme's ButtonText.
  Colour NormalColour2 = 0;
  Colour MouseOverColour2 = 0;
  Colour PressedColour2 = 0;
};

// The four frame strips and elements that come with a second image.
class TDataSkinBorder : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  PixelBitmap Image2;
};

// Push buttons, with the check-box and radio-button images.
class TDataSkinButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  PixelBitmap CheckImage;
  PixelBitmap RadioImage;
  int32_t RadioButtonFrame = 0;
  int32_t CheckButtonFrame = 0;
};

// The caption. Here the base's edges carry the caption text geometry: LeftWidth is the text
// shift, TopHeight the vertical text shift, RightWidth the right clip, BottomHeight 0;
// Image is the caption text background.
class TDataSkinTitle : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t TextAlignment = 0;
  int32_t Textbackground = 0;
  int32_t FontHeight = 0;
  int32_t TXTBackleft = 0;
  int32_t TXTBackRight = 0;
  Colour ActiveText = 0;    // kColourNone: the skin gives none
  Colour InActiveText = 0;  // kColourNone: the skin gives none
};

// One caption button.
class TDataSkinSysButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t Action = 0;
  int32_t Align = 0;
  int32_t Xcoord = 0;
  int32_t Ycoord = 0;
  int32_t CombineOp = 0;
  int32_t Visibility = 0;
  int32_t Visibility1 = 0;
};

}  // namespace skin
