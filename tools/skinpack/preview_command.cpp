// skinpack preview: renders a sheet a skin author can look at, with the engine's own
// composition code (skin/manager/element_compose.h): a mock skinned window, active and
// inactive, with its frame strips, caption text background, caption buttons, menu bar,
// push buttons in every state, check boxes, radio buttons, scroll bars and a progress bar;
// the caption buttons in their states; and every element with each of its frames, 1:1.
// Element frames are shown exactly as stored, magenta included.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "skin/data/skin_definition.h"
#include "skin/manager/element_compose.h"
#include "tools/skinpack/commands.h"
#include "tools/skinpack/png_writer.h"
#include "tools/skinpack/tiny_font.h"

namespace skinpack {

namespace {

using skin::Colour;
using skin::Margins;
using skin::PixelBitmap;
using skin::PixelFormat;
using skin::PixelRect;
using skin::Rgb;
using skin::TDataSkinObject;

constexpr int kMinWidth = 120, kMinHeight = 100, kMaxSide = 2048;
constexpr size_t kMaxPackageBytes = 64u << 20;
constexpr int kMaxFramesShown = 64;
constexpr int kMaxFrameSideShown = 512;
constexpr int kMenuHeight = 19;   // the usual SM_CYMENU
constexpr int kScrollArrow = 17;  // the usual SM_CXHSCROLL
constexpr int kMargin = 12, kGap = 12;

constexpr uint32_t kSheetColour = Rgb(236, 236, 236);
constexpr uint32_t kLabelColour = Rgb(32, 32, 32);
constexpr uint32_t kNoteColour = Rgb(110, 110, 110);
constexpr uint32_t kOutlineColour = Rgb(160, 160, 160);

// Windows' classic default system colours, for skins that refer to them.
uint32_t SystemColourValue(int index) {
  switch (index) {
    case 0:
      return Rgb(212, 208, 200);  // scroll bar
    case 4:
      return Rgb(212, 208, 200);  // menu
    case 7:
      return Rgb(0, 0, 0);  // menu text
    case 8:
      return Rgb(0, 0, 0);  // window text
    case 9:
      return Rgb(255, 255, 255);  // caption text
    case 13:
      return Rgb(10, 36, 106);  // highlight
    case 14:
      return Rgb(255, 255, 255);  // highlight text
    case 15:
      return Rgb(212, 208, 200);  // button face
    case 16:
      return Rgb(128, 128, 128);  // button shadow
    case 18:
      return Rgb(0, 0, 0);  // button text
    case 19:
      return Rgb(212, 208, 200);  // inactive caption text
    case 20:
      return Rgb(255, 255, 255);  // button highlight
    default:
      return Rgb(192, 192, 192);
  }
}

uint32_t Resolve(Colour c, uint32_t fallback) {
  if (c == skin::kColourNone) return fallback;
  if (skin::IsSystemColour(c)) return SystemColourValue(skin::SystemColourIndex(c));
  return c & 0x00FFFFFF;
}

class StderrReporter : public skin::SkinReporter {
 public:
  void ShowMessage(std::string_view text) override {
    std::string line(text);
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::fprintf(stderr, "skinpack: %s\n", line.c_str());
  }
};

struct LoadedSkin {
  skin::SkinDefinition def;
  int tile_menu = 0, tile_left_menu = 0, tile_right_menu = 0;
  std::vector<std::string> problems;
};

bool LoadSkin(const std::string& path, LoadedSkin& skin_out, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot open the file";
    return false;
  }
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size < 0 || uint64_t(size) > kMaxPackageBytes) {
    error = "not a skin package (too large)";
    return false;
  }
  file.seekg(0);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  file.read(reinterpret_cast<char*>(bytes.data()), size);

  StderrReporter reporter;
  skin::TSkinReader reader(reporter);
  std::vector<uint8_t> text;
  try {
    if (!reader.Load(bytes)) {
      error = "wrong format mark (not a current skin package)";
      return false;
    }
    std::string name;
    if (!reader.GetEntryByPartName(".ini", text, name)) {
      error = "the package holds no skin definition (.ini entry)";
      return false;
    }
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
  const skin::IniFile ini(
      std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
  skin::ReaderImageFetcher images(reader);
  skin::ReadSkinDefinition(ini, images, skin_out.def);
  skin_out.problems = images.Problems();
  // The menu bar's fill mode and ends are read by the menu bar itself, not the definition.
  skin_out.tile_menu = ini.ReadInteger("Personality", "TileMenu", 0);
  skin_out.tile_left_menu = std::clamp(ini.ReadInteger("Personality", "TileLeftMenu", 0), 0, 4096);
  skin_out.tile_right_menu =
      std::clamp(ini.ReadInteger("Personality", "TileRightMenu", 0), 0, 4096);
  return true;
}

bool ParseSize(const std::string& text, int& w, int& h) {
  int a = 0, b = 0;
  char x = 0, rest = 0;
  if (std::sscanf(text.c_str(), "%d%c%d%c", &a, &x, &b, &rest) != 3 || (x != 'x' && x != 'X'))
    return false;
  if (a < kMinWidth || a > kMaxSide || b < kMinHeight || b > kMaxSide) return false;
  w = a;
  h = b;
  return true;
}

// ---------------------------------------------------------------------------------------
// Drawing on pixel bitmaps

void FillRect(PixelBitmap& b, PixelRect r, uint32_t colour) {
  r = {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, b.Width()),
       std::min(r.bottom, b.Height())};
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) b.SetPixel(x, y, colour);
}

void Outline(PixelBitmap& b, const PixelRect& r, uint32_t colour) {
  FillRect(b, {r.left, r.top, r.right, r.top + 1}, colour);
  FillRect(b, {r.left, r.bottom - 1, r.right, r.bottom}, colour);
  FillRect(b, {r.left, r.top, r.left + 1, r.bottom}, colour);
  FillRect(b, {r.right - 1, r.top, r.right, r.bottom}, colour);
}

// Puts `image` down at (x, y): transparent on magenta, or copied whole.
void PutDown(PixelBitmap& dest, int x, int y, const PixelBitmap& image, bool trans) {
  if (image.Empty()) return;
  const PixelRect target{x, y, x + image.Width(), y + image.Height()};
  if (trans) {
    skin::TransparentCopy(dest, target, image, skin::kMagentaKey);
  } else {
    skin::StretchCopy(image, {0, 0, image.Width(), image.Height()}, dest, target);
  }
}

Margins MarginsOf(const TDataSkinObject& e) {
  return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
}

bool HasImage(const TDataSkinObject* e) { return e && !e->Image.Empty(); }

// DrawElement onto a pixel bitmap.
void DrawElementOn(PixelBitmap& dest, const PixelRect& r, const PixelBitmap& image,
                   const Margins& m, int frame, int frames, bool trans, bool tile, bool stacked) {
  if (r.Inverted()) return;
  PutDown(dest, r.left, r.top, skin::ComposeElement(r, image, m, frame, frames, tile, stacked),
          trans);
}

void DrawFrameOn(PixelBitmap& dest, const PixelRect& r, const PixelBitmap& image, int frame,
                 int frames, bool trans) {
  if (r.Inverted()) return;
  PutDown(dest, r.left, r.top, skin::ComposeElementFrame(r, image, frame, frames), trans);
}

void CentredText(PixelBitmap& b, const PixelRect& r, std::string_view text, uint32_t colour) {
  DrawTinyText(b, r.left + (r.Width() - TinyTextWidth(text)) / 2,
               r.top + (r.Height() - skinpack::kGlyphHeight) / 2, text, colour);
}

// ---------------------------------------------------------------------------------------
// The mock window

class MockWindow {
 public:
  MockWindow(const LoadedSkin& s, int width, int height, bool active)
      : s_(s), d_(s.def), w_(width), h_(height), active_(active) {
    bl_ = StripSize(d_.LeftStrip.get(), false);
    br_ = StripSize(d_.RightStrip.get(), false);
    bt_ = StripSize(d_.TopStrip.get(), true);
    bb_ = StripSize(d_.BottomStrip.get(), true);
    face_ = Resolve(d_.ButtonFace, SystemColourValue(15));
  }

  PixelBitmap Render() {
    PixelBitmap win(w_, h_);
    win.Fill(face_);
    BorderPiece(win, d_.LeftStrip.get(), {0, 0, bl_, h_}, false);
    BorderPiece(win, d_.RightStrip.get(), {w_ - br_, 0, w_, h_}, false);
    BorderPiece(win, d_.BottomStrip.get(), {bl_, h_ - bb_, w_ - br_, h_}, true);
    BorderPiece(win, d_.TopStrip.get(), {bl_, 0, w_ - br_, bt_}, true);
    TitleText(win, {bl_, 0, w_ - br_, bt_});
    CaptionButtons(win);
    MenuBar(win, {bl_, bt_, w_ - br_, bt_ + kMenuHeight});
    const PixelRect client{bl_, bt_ + kMenuHeight, w_ - br_, h_ - bb_};
    if (!client.Empty()) {
      PixelBitmap area(client.Width(), client.Height());
      area.Fill(face_);
      Controls(area);
      PutDown(win, client.left, client.top, area, false);
    }
    return win;
  }

  // True when the window's region leaves out the strips' magenta pixels.
  bool Shaped() const {
    for (const auto* strip :
         {d_.LeftStrip.get(), d_.RightStrip.get(), d_.TopStrip.get(), d_.BottomStrip.get()})
      if (strip && strip->Trans == 1) return true;
    return false;
  }

  // The caption buttons the layout shows, with their rectangles.
  struct PlacedButton {
    const skin::TDataSkinSysButton* element;
    PixelRect bounds;
  };
  const std::vector<PlacedButton>& Buttons() const { return buttons_; }

 private:
  static int StripSize(const skin::TDataSkinBorder* strip, bool vertical) {
    if (!strip || strip->Image.Empty()) return 0;
    const int n = std::max(strip->FrameCount, 1);
    return vertical ? strip->Image.Height() / n : strip->Image.Width() / n;
  }

  void BorderPiece(PixelBitmap& win, const skin::TDataSkinBorder* strip, const PixelRect& r,
                   bool stacked) {
    if (!strip || strip->Image.Empty() || r.Inverted()) return;
    const int frame = active_ || strip->FrameCount <= 1 ? 1 : 2;
    DrawElementOn(win, r, strip->Image, MarginsOf(*strip), frame, strip->FrameCount, false,
                  strip->Tile != 1, stacked);
  }

  void TitleText(PixelBitmap& win, const PixelRect& r) {
    const skin::TDataSkinTitle& t = *d_.Title;
    const std::string caption = "  Skin preview";
    const int text_w = TinyTextWidth(caption + " ");
    const int w = text_w + t.TXTBackleft + t.TXTBackRight, h = kGlyphHeight + 6;
    int dx = 0;
    switch (t.TextAlignment) {
      case 0:
        dx = t.LeftWidth;
        break;
      case 1:
        dx = (r.Width() - w) / 2;
        break;
      case 2:
        dx = r.Width() - t.RightWidth - w;
        break;
      default:
        dx = 0;
    }
    const int dy = (r.Height() - h) / 2 + t.TopHeight / 2;
    PixelRect text{r.left + dx, r.top + dy, r.left + dx + w, r.top + dy + h};
    text.right = std::min(text.right, r.right - t.RightWidth);
    title_text_ = text;
    if (!t.Image.Empty())
      PutDown(
          win, text.left, r.top,
          skin::ComposeHorzStrip({text.left, r.top, text.right, r.bottom}, t.Image,
                                 {t.TXTBackleft, 0, t.TXTBackRight, 0}, active_ ? 1 : 2, 2, true),
          true);
    const uint32_t colour = Resolve(active_ ? d_.TitleTextActive : d_.TitleTextNoActive,
                                    active_ ? Rgb(255, 255, 255) : Rgb(128, 128, 128));
    const PixelRect inner{text.left + t.TXTBackleft, text.top, text.right - t.TXTBackRight,
                          text.bottom};
    if (inner.Width() > 0) {
      PixelBitmap label(inner.Width(), inner.Height());
      label.Fill(skin::kMagentaKey);
      DrawTinyText(label, 0, (inner.Height() - kGlyphHeight) / 2, caption, colour);
      PutDown(win, inner.left, inner.top, label, true);
    }
  }

  // The visibility codes for a normal, sizeable window with a system menu, a maximize box
  // and a minimize box.
  bool CodeHolds(int code) const {
    switch (code) {
      case 0:
      case 2:
      case 6:
      case 8:
        return true;
      case 3:
        return active_;
      case 4:
        return !active_;
      default:
        return code >= 200 && code <= 2000;
    }
  }

  void CaptionButtons(PixelBitmap& win) {
    for (const auto& b : d_.SysButtons) {
      if (!b || !CodeHolds(b->Visibility) || !CodeHolds(b->Visibility1)) continue;
      const bool icon = b->Action == 3 || b->Action == 11;
      int w = 16, h = 16;
      if (!b->Image.Empty()) {
        w = b->Image.Width() / (icon ? 1 : std::max(b->FrameCount, 1));
        h = b->Image.Height();
      } else if (!icon) {
        continue;
      }
      int x = 0, y = b->Ycoord;
      switch (b->Align) {
        case 0:
          x = b->Xcoord;
          break;
        case 1:
          x = w_ - b->Xcoord;
          break;
        case 2:
        case 8:
          x = title_text_.left - w - b->Xcoord;
          break;
        case 3:
        case 9:
          x = title_text_.right + b->Xcoord;
          break;
        default:
          x = 0, y = 0;
      }
      const PixelRect bounds{x, y, x + w, y + h};
      buttons_.push_back({b.get(), bounds});
      if (icon) {
        DrawIcon(win, bounds);
        continue;
      }
      const int frame = active_ && b->FrameCount >= 4 ? 1 : (b->FrameCount >= 4 ? 4 : 1);
      DrawFrameOn(win, bounds, b->Image, frame, b->FrameCount, true);
    }
  }

  // Stands in for the window's own icon.
  static void DrawIcon(PixelBitmap& win, const PixelRect& r) {
    PixelBitmap icon(16, 16);
    icon.Fill(Rgb(40, 80, 160));
    FillRect(icon, {3, 3, 13, 6}, Rgb(220, 240, 220));
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 2; ++j)
        FillRect(icon, {3 + 4 * i, 8 + 3 * j, 5 + 4 * i, 10 + 3 * j}, Rgb(255, 255, 255));
    skin::StretchCopy(icon, {0, 0, 16, 16}, win, r);
  }

  void MenuBar(PixelBitmap& win, const PixelRect& r) {
    if (r.Empty()) return;
    const TDataSkinObject* bar = d_.MenuBarElement.get();
    if (HasImage(bar)) {
      const int frame = active_ ? 1 : 2;
      const Margins m{s_.tile_left_menu, 0, s_.tile_right_menu, 0};
      if (s_.tile_menu == 1)
        DrawElementOn(win, r, bar->Image, m, frame, 2, false, false, true);
      else
        PutDown(win, r.left, r.top, skin::ComposeHorzStrip(r, bar->Image, m, frame, 2, true),
                false);
    } else {
      FillRect(win, r, Resolve(d_.MenubarColour, face_));
    }
    const uint32_t text = Resolve(d_.MenuBarText, Rgb(0, 0, 0));
    int x = r.left + s_.tile_left_menu + 4;
    for (const char* item : {"File", "Edit", "View", "Help"}) {
      const int iw = TinyTextWidth(item) + 12;
      CentredText(win, {x, r.top, x + iw, r.bottom}, item, text);
      x += iw;
    }
  }

  void PushButton(PixelBitmap& area, const PixelRect& r, int frame, const char* label,
                  uint32_t text) {
    FillRect(area, r, face_);
    const auto* b = d_.Buttons.get();
    if (HasImage(b))
      DrawElementOn(area, r, b->Image, MarginsOf(*b), frame, b->FrameCount, b->Trans == 1,
                    b->Tile != 0, false);
    CentredText(area, r, label, text);
  }

  // A check box or radio button: the box image of `frame`, placed as the skinner places it,
  // and a label.
  void BoxControl(PixelBitmap& area, int x, int y, const PixelBitmap& strip, int frames, int frame,
                  const char* label) {
    const int row_h = 17;
    if (!strip.Empty()) {
      const int n = std::max(frames, 1), w = strip.Width() / n, h = strip.Height();
      const int top = y + (row_h - h) / 2;
      const int left = w <= 14 ? x + (14 - w) / 2 : x;
      FillRect(area, {left, top, left + w, top + h}, face_);
      DrawFrameOn(area, {left, top, left + w, top + h}, strip, frame, n, true);
    }
    DrawTinyText(area, x + 18, y + (row_h - kGlyphHeight) / 2, label,
                 Resolve(d_.WindowText, Rgb(0, 0, 0)));
  }

  // One scroll bar as the scroll-bar skinner draws it: 16-pixel artwork stretched to the
  // bar's thickness.
  void ScrollBar(PixelBitmap& area, const PixelRect& bar, bool vertical) {
    const auto* arrows = d_.Scrollbar.get();
    if (!HasImage(arrows) || bar.Empty()) return;
    const int len = vertical ? bar.Height() : bar.Width();
    if (len <= 0 || len > 10000) return;
    PixelBitmap work(vertical ? 16 : len, vertical ? len : 16);
    work.Fill(Resolve(d_.ScrollbarColour, SystemColourValue(0)));
    auto along = [&](int from, int to) {
      return vertical ? PixelRect{0, from, 16, to} : PixelRect{from, 0, to, 16};
    };
    const int b = kScrollArrow;
    if (const auto* shaft = vertical ? d_.VertScroll.get() : d_.HorzScroll.get(); HasImage(shaft))
      DrawElementOn(work, along(b, len - b), shaft->Image, MarginsOf(*shaft), 1, 4,
                    shaft->Trans != 0, shaft->Tile != 0, false);
    const int a = len < 2 * b ? len / 2 : b;
    const int n = std::max(arrows->FrameCount, 1);
    DrawFrameOn(work, along(0, a), arrows->Image, vertical ? 9 : 1, n, true);
    DrawFrameOn(work, along(len - a, len), arrows->Image, vertical ? 13 : 5, n, true);
    // Range 0..100, page 20, position 30.
    const int track = len - 2 * b;
    int thumb = std::min(std::max(20 * track / 100, 8), track);
    const int pos = track > thumb ? 30 * (track - thumb) / 80 : 0;
    if (const auto* t = vertical ? d_.VertScrollThumb.get() : d_.HorzScrollThumb.get();
        HasImage(t) && track >= thumb && thumb > 0)
      DrawElementOn(work, along(a + pos, a + pos + thumb), t->Image, MarginsOf(*t), 1,
                    t->FrameCount, t->Trans != 0, false, false);
    skin::StretchCopy(work, {0, 0, work.Width(), work.Height()}, area, bar);
  }

  void Progress(PixelBitmap& area, const PixelRect& r, int percent) {
    FillRect(area, r, face_);
    const auto* p = d_.Progress.get();
    if (!HasImage(p)) return;
    if (p->Style == 1) {
      // Chunk style: the whole image as the trough, then chunks side by side.
      if (p->Image2.Empty()) return;
      DrawElementOn(area, r, p->Image, MarginsOf(*p), 1, 1, true, p->Tile != 0, false);
      const int filled = percent * r.Width() / 100, cw = p->Image2.Width();
      PixelBitmap chunks(filled, p->Image2.Height());
      chunks.Fill(skin::kMagentaKey);
      for (int x = 0; x <= filled && filled > 0; x += cw)
        skin::StretchCopy(p->Image2, {0, 0, cw, chunks.Height()}, chunks,
                          {x, 0, x + cw, chunks.Height()});
      PutDown(area, r.left + p->LeftWidth, r.top + (r.Height() - chunks.Height()) / 2, chunks,
              true);
      return;
    }
    DrawElementOn(area, r, p->Image, MarginsOf(*p), 1, 2, true, p->Tile != 0, false);
    const PixelRect filled{r.left, r.top, r.left + percent * r.Width() / 100, r.bottom};
    DrawElementOn(area, filled, p->Image, MarginsOf(*p), 2, 2, true, p->Tile != 0, false);
  }

  void Controls(PixelBitmap& area) {
    const auto* b = d_.Buttons.get();
    const uint32_t normal = Resolve(b->NormalColour2, Rgb(0, 0, 0));
    const uint32_t pressed = Resolve(b->PressedColour2, normal);
    const uint32_t hot = Resolve(b->MouseOverColour2, normal);
    const uint32_t disabled = Resolve(d_.ButtonShadow, SystemColourValue(16));
    int y = 8;
    const int bw = 60, bh = 22;
    const struct {
      int frame;
      const char* label;
      uint32_t text;
    } states[] = {
        {1, "Normal", normal}, {2, "Pressed", pressed}, {4, "Hot", hot}, {3, "Disabled", disabled}};
    int x = 8;
    for (const auto& s : states) {
      PushButton(area, {x, y, x + bw, y + bh}, s.frame, s.label, s.text);
      x += bw + 6;
    }
    y += bh + 8;
    const char* box_labels[] = {"Off", "On", "Off", "On"};
    x = 8;
    for (int f = 1; f <= 4; ++f, x += 58)
      BoxControl(area, x, y, b->CheckImage, b->CheckButtonFrame, f, box_labels[f - 1]);
    y += 20;
    x = 8;
    for (int f = 1; f <= 4; ++f, x += 58)
      BoxControl(area, x, y, b->RadioImage, b->RadioButtonFrame, f, box_labels[f - 1]);
    y += 24;
    const int vbar_x = area.Width() - 8 - kScrollArrow;
    const int bar_w = std::max(0, std::min(240, vbar_x - 8 - 8));
    ScrollBar(area, {8, y, 8 + bar_w, y + kScrollArrow}, false);
    ScrollBar(area, {vbar_x, 8, vbar_x + kScrollArrow, area.Height() - 8}, true);
    y += kScrollArrow + 8;
    Progress(area, {8, y, 8 + bar_w, y + 18}, 60);
  }

  const LoadedSkin& s_;
  const skin::SkinDefinition& d_;
  int w_, h_;
  bool active_;
  int bl_ = 0, br_ = 0, bt_ = 0, bb_ = 0;
  uint32_t face_ = 0;
  PixelRect title_text_;
  std::vector<PlacedButton> buttons_;
};

// ---------------------------------------------------------------------------------------
// The sheet: blocks laid out left to right, wrapping, with section breaks

struct Block {
  int width = 0, height = 0;
  bool new_row = false;  // starts a new row (a section)
  std::function<void(PixelBitmap&, int, int)> draw;
};

Block TextBlock(std::string text, uint32_t colour, bool new_row) {
  Block b;
  b.width = TinyTextWidth(text);
  b.height = kGlyphHeight + 4;
  b.new_row = new_row;
  b.draw = [text, colour](PixelBitmap& sheet, int x, int y) {
    DrawTinyText(sheet, x, y, text, colour);
  };
  return b;
}

Block WindowBlock(const LoadedSkin& s, int w, int h, bool active) {
  Block b;
  b.width = w;
  b.height = h + kGlyphHeight + 6;
  b.draw = [&s, w, h, active](PixelBitmap& sheet, int x, int y) {
    DrawTinyText(sheet, x, y, active ? "Active window" : "Inactive window", kLabelColour);
    MockWindow window(s, w, h, active);
    const PixelBitmap image = window.Render();
    PutDown(sheet, x, y + kGlyphHeight + 6, image, window.Shaped());
  };
  return b;
}

std::string Describe(const char* name, const TDataSkinObject& e, int frames) {
  char text[200];
  std::snprintf(text, sizeof(text), "%s  %dx%d  %d frames  margins %d,%d,%d,%d  trans %d tile %d",
                name, e.Image.Width(), e.Image.Height(), frames, e.LeftWidth, e.TopHeight,
                e.RightWidth, e.BottomHeight, e.Trans, e.Tile);
  return text;
}

// Every frame of an image, 1:1 (clipped to kMaxFrameSideShown), numbered, with a label.
Block FramesBlock(std::string label, const PixelBitmap& image, int frames, bool stacked) {
  const int n = std::clamp(frames, 1, kMaxFramesShown);
  const PixelRect first =
      skin::FrameRect(image.Width(), image.Height(), 1, n,
                      stacked ? skin::FrameLayout::kStacked : skin::FrameLayout::kSideBySide);
  const int fw = std::min(first.Width(), kMaxFrameSideShown);
  const int fh = std::min(first.Height(), kMaxFrameSideShown);
  Block b;
  constexpr int label_h = kGlyphHeight + 4;
  const int cell_w = std::max(fw + 2, TinyTextWidth("99") + 2);
  b.width = std::max(TinyTextWidth(label), n * (cell_w + 4));
  b.height = label_h + fh + 2 + 2 + kGlyphHeight;
  if (fw <= 0 || fh <= 0) {
    label += "  (frames too small to show)";
    b.width = TinyTextWidth(label);
    b.height = label_h;
  }
  b.draw = [label, &image, n, stacked, fw, fh, cell_w](PixelBitmap& sheet, int x, int y) {
    DrawTinyText(sheet, x, y, label, kLabelColour);
    if (fw <= 0 || fh <= 0) return;
    for (int k = 1; k <= n; ++k) {
      const PixelRect frame =
          skin::FrameRect(image.Width(), image.Height(), k, n,
                          stacked ? skin::FrameLayout::kStacked : skin::FrameLayout::kSideBySide);
      const int cx = x + (k - 1) * (cell_w + 4), cy = y + label_h;
      Outline(sheet, {cx, cy, cx + fw + 2, cy + fh + 2}, kOutlineColour);
      const PixelRect shown{frame.left, frame.top, frame.left + fw, frame.top + fh};
      skin::StretchCopy(image, shown, sheet, {cx + 1, cy + 1, cx + 1 + fw, cy + 1 + fh});
      DrawTinyText(sheet, cx, cy + fh + 4, std::to_string(k), kNoteColour);
    }
  };
  return b;
}

// The caption buttons of the active layout in the states normal, pressed, hot, inactive.
Block CaptionStatesBlock(const LoadedSkin& s, int w, int h) {
  MockWindow window(s, w, h, true);
  (void)window.Render();
  std::vector<const skin::TDataSkinSysButton*> buttons;
  for (const auto& placed : window.Buttons())
    if (placed.element->Action != 3 && placed.element->Action != 11 &&
        !placed.element->Image.Empty())
      buttons.push_back(placed.element);
  Block b;
  b.new_row = true;
  const char* names[] = {"normal", "pressed", "hot", "inactive"};
  int width = 0, height = 0;
  for (const auto* e : buttons) {
    const int fw = std::min(e->Image.Width() / std::max(e->FrameCount, 1), kMaxFrameSideShown);
    width += 4 * (std::max(fw, TinyTextWidth("inactive")) + 6) + kGap;
    height = std::max(height, std::min(e->Image.Height(), kMaxFrameSideShown));
  }
  b.width = std::max(width, TinyTextWidth("Caption buttons: normal, pressed, hot, inactive"));
  b.height = kGlyphHeight + 4 + height + 4 + kGlyphHeight;
  const uint32_t face = Resolve(s.def.ButtonFace, SystemColourValue(15));
  b.draw = [buttons, names, height, face](PixelBitmap& sheet, int x, int y) {
    DrawTinyText(sheet, x, y, "Caption buttons: normal, pressed, hot, inactive", kLabelColour);
    y += kGlyphHeight + 4;
    for (const auto* e : buttons) {
      const int count = std::max(e->FrameCount, 1);
      const int fw = std::min(e->Image.Width() / count, kMaxFrameSideShown);
      const int fh = std::min(e->Image.Height(), kMaxFrameSideShown);
      const int cell = std::max(fw, TinyTextWidth("inactive")) + 6;
      for (int state = 1; state <= 4; ++state) {
        const int frame = std::min(state, count);
        FillRect(sheet, {x, y, x + fw, y + height}, face);
        DrawFrameOn(sheet, {x, y, x + fw, y + fh}, e->Image, frame, count, true);
        DrawTinyText(sheet, x, y + height + 4, names[state - 1], kNoteColour);
        x += cell;
      }
      x += kGap;
    }
  };
  return b;
}

std::vector<Block> SheetBlocks(const LoadedSkin& s, const std::string& package, int w, int h) {
  const skin::SkinDefinition& d = s.def;
  std::vector<Block> blocks;
  blocks.push_back(TextBlock(
      "Skin " + (d.SkinName.empty() ? std::string("(no name)") : d.SkinName) + "   " + package,
      kLabelColour, true));
  for (const std::string& p : s.problems)
    blocks.push_back(TextBlock("Image fault: " + p, Rgb(170, 0, 0), true));
  Block active = WindowBlock(s, w, h, true);
  active.new_row = true;
  blocks.push_back(std::move(active));
  blocks.push_back(WindowBlock(s, w, h, false));
  blocks.push_back(CaptionStatesBlock(s, w, h));
  blocks.push_back(
      TextBlock("Elements, every frame at its own size (magenta is the transparent key)",
                kLabelColour, true));
  bool first = true;
  auto add = [&](Block b) {
    b.new_row = first;
    first = false;
    blocks.push_back(std::move(b));
  };
  for (const skin::SlotView& slot : skin::ListSlots(d)) {
    if (!HasImage(slot.record)) continue;
    const std::string name = slot.name;
    const bool stacked =
        name == "TopStrip" || name == "BottomStrip" || name == "Title" || name == "MenuBarElement";
    const int frames = name == "Title" || name == "MenuBarElement" ? 2 : slot.record->FrameCount;
    add(FramesBlock(Describe(slot.name, *slot.record, frames), slot.record->Image, frames,
                    stacked));
    if (const auto* border = dynamic_cast<const skin::TDataSkinBorder*>(slot.record);
        border && !border->Image2.Empty()) {
      const int second = name == "ComboButton"                            ? border->FrameCount
                         : (name == "UpDownHorz" || name == "UpDownVert") ? 8
                                                                          : 1;
      add(FramesBlock(name + " second image", border->Image2, second, false));
    }
    if (const auto* buttons = dynamic_cast<const skin::TDataSkinButton*>(slot.record)) {
      if (!buttons->CheckImage.Empty())
        add(FramesBlock("CheckImage", buttons->CheckImage, buttons->CheckButtonFrame, false));
      if (!buttons->RadioImage.Empty())
        add(FramesBlock("RadioImage", buttons->RadioImage, buttons->RadioButtonFrame, false));
    }
  }
  for (size_t i = 0; i < d.SysButtons.size(); ++i) {
    const auto& b = d.SysButtons[i];
    if (!b || b->Image.Empty()) continue;
    char label[160];
    std::snprintf(label, sizeof(label),
                  "Caption button %zu: action %d align %d at %d,%d  %d frames", i, b->Action,
                  b->Align, b->Xcoord, b->Ycoord, b->FrameCount);
    add(FramesBlock(label, b->Image, b->FrameCount, false));
  }
  return blocks;
}

PixelBitmap RenderSheet(const std::vector<Block>& blocks, int min_width) {
  int sheet_w = min_width;
  for (const Block& b : blocks) sheet_w = std::max(sheet_w, std::min(b.width + 2 * kMargin, 4096));
  // Lay out.
  std::vector<std::pair<int, int>> at;
  int x = kMargin, y = kMargin, row_h = 0;
  for (const Block& b : blocks) {
    if (b.new_row || (x > kMargin && x + b.width > sheet_w - kMargin)) {
      if (x > kMargin || row_h > 0) y += row_h + kGap;
      x = kMargin;
      row_h = 0;
    }
    at.emplace_back(x, y);
    x += b.width + kGap;
    row_h = std::max(row_h, b.height);
  }
  const int sheet_h = std::min(y + row_h + kMargin, 16384);
  PixelBitmap sheet(sheet_w, sheet_h);
  sheet.Fill(kSheetColour);
  for (size_t i = 0; i < blocks.size(); ++i) blocks[i].draw(sheet, at[i].first, at[i].second);
  return sheet;
}

}  // namespace

int RunPreview(const Args& args) {
  int w = 360, h = 270;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--size") {
      if (i + 1 >= args.size() || !ParseSize(args[i + 1], w, h)) {
        std::fprintf(stderr, "skinpack: --size takes WxH, %d..%d by %d..%d pixels\n", kMinWidth,
                     kMaxSide, kMinHeight, kMaxSide);
        return 2;
      }
      ++i;
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) {
    std::fprintf(stderr, "usage: skinpack preview [--size WxH] PKG OUT.png\n");
    return 2;
  }
  LoadedSkin loaded;
  std::string error;
  if (!LoadSkin(files[0], loaded, error)) {
    std::fprintf(stderr, "skinpack: %s: %s\n", files[0].c_str(), error.c_str());
    return 1;
  }
  const PixelBitmap sheet =
      RenderSheet(SheetBlocks(loaded, files[0], w, h), 2 * w + kGap + 2 * kMargin);
  if (!WritePng(files[1], sheet, &error)) {
    std::fprintf(stderr, "skinpack: %s: %s\n", files[1].c_str(), error.c_str());
    return 1;
  }
  std::printf("%s: %d x %d preview of %s\n", files[1].c_str(), sheet.Width(), sheet.Height(),
              files[0].c_str());
  return 0;
}

}  // namespace skinpack
