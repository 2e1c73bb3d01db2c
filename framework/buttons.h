#pragma once
// Buttons with glyphs: TBitBtn (an owner-drawn system "BUTTON" with a glyph beside its
// caption, and stock kinds that bring a caption, a glyph and a modal result) and TSpeedButton
// (windowless, drawn by the framework, latching down within a group).
//
// A glyph is one bitmap of NumGlyphs pictures side by side: up, disabled, pressed and
// latched down; a missing picture falls back to the first. The colour of the bottom-left
// pixel is transparent. In a description the glyph is the block "Glyph.Data": a 32-bit
// little-endian byte count and a bitmap file.
#include <memory>

#include "framework/control_layout.h"
#include "framework/image_list.h"
#include "framework/std_controls.h"

namespace fw {

// Which picture of a glyph to draw.
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TButtonGlyph {
 public:
  TBitmap& Bitmap() { return bitmap_; }
  const TBitmap& Bitmap() const { return bitmap_; }
  // Call after changing Bitmap() in place.
  void Changed() { images_.reset(); }
  int NumGlyphs() const { return num_glyphs_; }
  void SetNumGlyphs(int n);
  bool Empty() const { return bitmap_.Empty(); }
  // The size of one picture.
  LayoutSize PictureSize() const;
  void Draw(TCanvas& canvas, int x, int y, TButtonState state);

  // "Glyph.Data" blocks.
  void ReadData(TStream& stream);
  void WriteData(TStream& stream) const;

 private:
  TBitmap bitmap_;
  int num_glyphs_ = 1;
  std::unique_ptr<TImageList> images_;
};

enum TBitBtnKind {
  bkCustom,
  bkOK,
  bkCancel,
  bkHelp,
  bkYes,
  bkNo,
  bkClose,
  bkAbort,
  bkRetry,
  bkIgnore,
  bkAll
};

class TBitBtn : public TButton {
  FW_CLASS_INFO()
 public:
  explicit TBitBtn(TComponent* owner);

  TBitmap& Glyph() { return glyph_.Bitmap(); }
  // Call after drawing into Glyph().
  void GlyphChanged();
  void SetGlyph(const TBitmap& bitmap);
  int NumGlyphs() const { return glyph_.NumGlyphs(); }
  void SetNumGlyphs(int n);
  // The glyph drawn: the own one, else the kind's stock picture (empty for bkCustom).
  TButtonGlyph& DrawnGlyph() { return glyph_.Empty() ? kind_glyph_ : glyph_; }
  // Stock captions, glyphs and modal results: bkOK gives "OK" and mrOk, and so on.
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind kind);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v);
  int Margin() const { return margin_; }
  void SetMargin(int v);
  int Spacing() const { return spacing_; }
  void SetSpacing(int v);

  void DefineProperties(TFiler& filer) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);
  TButtonGlyph glyph_;
  TButtonGlyph kind_glyph_;
  TBitBtnKind kind_ = bkCustom;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
};

class TSpeedButton : public TGraphicControl {
  FW_CLASS_INFO()
 public:
  explicit TSpeedButton(TComponent* owner);

  TBitmap& Glyph() { return glyph_.Bitmap(); }
  void GlyphChanged();
  void SetGlyph(const TBitmap& bitmap);
  TButtonGlyph& ButtonGlyph() { return glyph_; }
  int NumGlyphs() const { return glyph_.NumGlyphs(); }
  void SetNumGlyphs(int n);
  // Buttons of one parent with the same non-zero GroupIndex latch down one at a time.
  int GroupIndex() const { return group_index_; }
  void SetGroupIndex(int v);
  bool Down() const { return down_; }
  void SetDown(bool v);
  // A latched button of the group may be clicked up, leaving none down.
  bool AllowAllUp() const { return allow_all_up_; }
  void SetAllowAllUp(bool v);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v);
  int Margin() const { return margin_; }
  void SetMargin(int v);
  int Spacing() const { return spacing_; }
  void SetSpacing(int v);
  // While the mouse button is held over it.
  bool Pressed() const { return pressed_; }
  TButtonState State() const;

  void DefineProperties(TFiler& filer) override;

 protected:
  void WndProc(TMessage& message) override;
  void Paint() override;

 private:
  void UpdateExclusive();
  TButtonGlyph glyph_;
  int group_index_ = 0;
  bool down_ = false;
  bool allow_all_up_ = false;
  bool flat_ = false;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
  bool pressed_ = false;
  bool tracking_ = false;
};

extern const std::vector<std::string> kButtonLayoutNames;

void RegisterButtonClasses();

}  // namespace fw
