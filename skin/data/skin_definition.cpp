#include "skin/data/skin_definition.h"

#include <algorithm>
#include <cstring>

#include "skin/store/bitmap_ops.h"
#include "skin/store/bmp_codec.h"

namespace skin {

SkinDefinition::SkinDefinition()
    : LeftStrip(std::make_unique<TDataSkinBorder>("Left")),
      RightStrip(std::make_unique<TDataSkinBorder>("Right")),
      TopStrip(std::make_unique<TDataSkinBorder>("Top")),
      BottomStrip(std::make_unique<TDataSkinBorder>("Bottom")),
      Title(std::make_unique<TDataSkinTitle>("Title")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")) {}

std::vector<SlotView> ListSlots(const SkinDefinition& d) {
  return {
      {"LeftStrip", d.LeftStrip.get()},
      {"RightStrip", d.RightStrip.get()},
      {"TopStrip", d.TopStrip.get()},
      {"BottomStrip", d.BottomStrip.get()},
      {"Title", d.Title.get()},
      {"Buttons", d.Buttons.get()},
      {"Progress", d.Progress.get()},
      {"MenuBarElement", d.MenuBarElement.get()},
      {"GroupBoxEdge", d.GroupBoxEdge.get()},
      {"Toolbars", d.Toolbars.get()},
      {"Tabs", d.Tabs.get()},
      {"StatusBarEdges", d.StatusBarEdges.get()},
      {"ComboButton", d.ComboButton.get()},
      {"SunkEdge", d.SunkEdge.get()},
      {"ExtraImages", d.ExtraImages.get()},
      {"Headerbar", d.Headerbar.get()},
      {"MenuItem", d.MenuItem.get()},
      {"MenuBackground", d.MenuBackground.get()},
      {"Scrollbar", d.Scrollbar.get()},
      {"HorzScroll", d.HorzScroll.get()},
      {"VertScroll", d.VertScroll.get()},
      {"HorzScrollThumb", d.HorzScrollThumb.get()},
      {"VertScrollThumb", d.VertScrollThumb.get()},
      {"TrackbarThumbHorz", d.TrackbarThumbHorz.get()},
      {"TrackbarThumbVert", d.TrackbarThumbVert.get()},
      {"TrackbarThumbLeft", d.TrackbarThumbLeft.get()},
      {"TrackbarThumbRight", d.TrackbarThumbRight.get()},
      {"TrackbarThumbUp", d.TrackbarThumbUp.get()},
      {"TrackbarThumbDown", d.TrackbarThumbDown.get()},
      {"UpDownHorz", d.UpDownHorz.get()},
      {"UpDownVert", d.UpDownVert.get()},
  };
}

namespace {

class Reader {
 public:
  Reader(const IniFile& ini, ImageFetcher& images, SkinDefinition& d)
      : ini_(ini), images_(images), d_(d) {}

  void Run() {
    d_.SkinName = ini_.ReadString("TitlebarSkin", "SkinName");
    ReadStrip(*d_.LeftStrip, "Left", true);
    ReadStrip(*d_.RightStrip, "Right", true);
    ReadStrip(*d_.TopStrip, "Top", false);
    ReadStrip(*d_.BottomStrip, "Bottom", false);
    ReadColourScheme(ini_, d_);
    ReadCaptionButtons();
    ReadMdiButtons();
    ReadButtons();
    ReadTitle();
    ReadProgress();
    ReadMenuBar();
    d_.GroupBoxEdge = Plain("GroupBoxEdge");
    d_.Toolbars = Plain("Toolbars");
    d_.Tabs = WithSecondImage("Tabs", "Border");
    d_.StatusBarEdges = Plain("StatusBarEdges");
    // "****" never occurs as a key: the combo button's second image is derived below.
    d_.ComboButton = WithSecondImage("ComboButton", "****");
    if (d_.ComboButton && !d_.ComboButton->Image.Empty()) {
      d_.ComboButton->Image2 = d_.ComboButton->Image.Converted(PixelFormat::kBgr24);
      MirrorHorizontally(d_.ComboButton->Image2);
    }
    d_.SunkEdge = Plain("SunkEdge");
    d_.ExtraImages = Plain("ExtraImages");
    d_.Headerbar = Plain("Headerbar");
    d_.MenuItem = Plain("MenuItem");
    d_.MenuBackground = Plain("MenuBackground");
    d_.Scrollbar = Plain("Scrollbar");
    d_.HorzScroll = Plain("HorzScroll");
    d_.VertScroll = Plain("VertScroll");
    d_.HorzScrollThumb = Plain("HorzScrollThumb");
    d_.VertScrollThumb = Plain("VertScrollThumb");
    d_.TrackbarThumbHorz = Plain("Trackbar.ThumbHorz");
    d_.TrackbarThumbVert = Plain("Trackbar.ThumbVert");
    d_.TrackbarThumbLeft = Plain("Trackbar.ThumbLeft");
    d_.TrackbarThumbRight = Plain("Trackbar.ThumbRight");
    d_.TrackbarThumbUp = Plain("Trackbar.ThumbUp");
    d_.TrackbarThumbDown = Plain("Trackbar.ThumbDown");
    d_.UpDownHorz = WithSecondImage("UpDown.Horz", "GlyphImage");
    d_.UpDownVert = WithSecondImage("UpDown.Vert", "GlyphImage");
    SetFrameCounts();
  }

 private:
  int32_t Int(std::string_view section, std::string_view key, int32_t def) const {
    return ini_.ReadInteger(section, key, def);
  }
  std::string Str(std::string_view section, std::string_view key) const {
    return ini_.ReadString(section, key);
  }
  void Image(PixelBitmap& target, std::string_view section, std::string_view key) {
    images_.FetchBitmap(target, Str(section, key));
  }

  void ReadStrip(TDataSkinBorder& strip, const std::string& side, bool vertical) {
    strip = TDataSkinBorder(side);
    Image(strip.Image, "Personality", side);
    const int32_t first = Int("Personality", side + "TopHeight", 0);
    const int32_t second = Int("Personality", side + "BotHeight", 0);
    // For the top and bottom strips the two keys give the fixed left and right ends.
    if (vertical) {
      strip.TopHeight = first;
      strip.BottomHeight = second;
    } else {
      strip.LeftWidth = first;
      strip.RightWidth = second;
    }
    strip.FrameCount = Int("Personality", side + "Frame", 1);
    strip.Tile = Int("Personality", side + "Stretch", 1);
    strip.Trans = Int("Personality", side + "Trans", 1);
  }

  // The fields every element reads the same way; `style` says whether "Style" is read.
  void ReadCommon(TDataSkinObject& e, std::string_view s, bool style) {
    Image(e.Image, s, "Image");
    if (style) e.Style = Int(s, "Style", 0);
    e.LeftWidth = Int(s, "LeftWidth", 0);
    e.RightWidth = Int(s, "RightWidth", 0);
    e.TopHeight = Int(s, "TopHeight", 0);
    e.BottomHeight = Int(s, "BottomHeight", 0);
    e.Trans = Int(s, "Trans", 0);
    e.Tile = Int(s, "Tile", 0);
    if (e.Tile > 1) e.Tile = 0;
    ReadStateColours(e, s);
  }

  void ReadStateColours(TDataSkinObject& e, std::string_view s) {
    e.NormalColour = Int(s, "NormalColour", -1);
    e.MouseOverColour = Int(s, "MouseOverColour", -1);
    e.PressedColour = Int(s, "PressedColour", -1);
    e.NormalColour2 = ParseColourText(Str(s, "NormalColour2"), d_.ButtonText);
    e.MouseOverColour2 = ParseColourText(Str(s, "MouseOverColour2"), d_.ButtonText);
    e.PressedColour2 = ParseColourText(Str(s, "PressedColour2"), d_.ButtonText);
  }

  std::unique_ptr<TDataSkinObject> Plain(const std::string& s) {
    if (Str(s, "Image").empty()) return nullptr;
    auto e = std::make_unique<TDataSkinObject>(s);
    ReadCommon(*e, s, true);
    return e;
  }

  std::unique_ptr<TDataSkinBorder> WithSecondImage(const std::string& s, std::string_view key2) {
    if (Str(s, "Image").empty()) return nullptr;
    auto e = std::make_unique<TDataSkinBorder>(s);
    ReadCommon(*e, s, false);
    if (!Str(s, key2).empty()) Image(e->Image2, s, key2);
    return e;
  }

  void ReadCaptionButtons() {
    d_.SysButtons.clear();
    for (const std::string& section : ini_.SectionNames()) {
      const std::string upper = UpperAscii(section);
      if (upper.rfind("BUTTON", 0) != 0 || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
          upper == "BUTTON.CHECKBOX")
        continue;
      auto b = std::make_unique<TDataSkinSysButton>(upper);
      b->Action = Int(section, "Action", 0);
      b->Align = Int(section, "Align", 0);
      b->Xcoord = Int(section, "Xcoord", 0);
      b->Ycoord = Int(section, "Ycoord", 0);
      b->Visibility = Int(section, "Visibility", 0);
      b->Visibility1 = Int(section, "Visibility1", 0);
      b->CombineOp = Int(section, "CombineOp", -1);
      b->FrameCount = Int(section, "frame", 0);
      Image(b->Image, section, "ButtonImage");
      // Without a "frame" key the count follows from the image's shape: a strip of three
      // wide frames or of six square-ish ones. Any nonzero key value is kept as given.
      if (b->FrameCount == 0) {
        b->FrameCount = 6;
        if (!b->Image.Empty()) {
          // width / height <= 3.8, in integers: a floating-point quotient would make an
          // exact 3.8 (38 x 10) fall either way depending on the FPU's precision (x87).
          const int64_t w = b->Image.Width(), h = b->Image.Height();
          b->FrameCount = 5 * w <= 19 * h ? 3 : 6;
          if (b->Action < 0) b->FrameCount = 6;
        }
        if (b->Action == 3 || b->Action == 11) b->Image.Clear();
      }
      d_.SysButtons.push_back(std::move(b));
    }
  }

  // The minimize, restore and close buttons of a maximized MDI child, cut from one image
  // of 12 equal columns, 4 frames per button.
  void ReadMdiButtons() {
    PixelBitmap source;
    Image(source, "MDICONTROLS", "Image");
    const int w = source.Width() / 12, h = source.Height();
    for (int i = 0; i < 3; ++i) {
      auto b = std::make_unique<TDataSkinSysButton>("MDICONTROLS");
      b->Action = 7 + i;
      b->Align = b->Visibility = b->Visibility1 = 100;
      b->FrameCount = 4;
      b->Ycoord = b->CombineOp = 0;
      if (!source.Empty()) {
        b->Image.Reset(4 * w, h, source.Format());
        const size_t bytes = size_t(4 * w) * source.BytesPerPixel();
        const size_t from = size_t(4 * i * w) * source.BytesPerPixel();
        for (int y = 0; y < h && bytes > 0; ++y)
          std::memcpy(b->Image.ScanLine(y), source.ScanLine(y) + from, bytes);
        b->Xcoord = (w + 4) * (3 - i);
      }
      d_.SysButtons.push_back(std::move(b));
    }
  }

  void ReadButtons() {
    TDataSkinButton& b = *d_.Buttons;
    b = TDataSkinButton("Buttons");
    const char* s = "Buttons";
    b.LeftWidth = Int(s, "LeftWidth", 0);
    b.RightWidth = Int(s, "RightWidth", 0);
    b.TopHeight = Int(s, "TopHeight", 0);
    b.BottomHeight = Int(s, "BottomHeight", 0);
    b.Trans = Int(s, "Trans", 0);
    Image(b.Image, s, "Bitmap");
    b.Tile = Int(s, "Tile", 0);
    Image(b.CheckImage, s, "CheckButton");
    Image(b.RadioImage, s, "RadioButton");
    b.RadioButtonFrame = Int(s, "RadioButtonFrame", 0);
    b.CheckButtonFrame = Int(s, "CheckButtonFrame", 0);
    ReadStateColours(b, s);
  }

  void ReadTitle() {
    TDataSkinTitle& t = *d_.Title;
    t = TDataSkinTitle("Title");
    const char* s = "Personality";
    Image(t.Image, s, "TextBack");
    t.LeftWidth = Int(s, "TextShift", 0);
    t.TopHeight = Int(s, "TextShiftVert", 0);
    t.RightWidth = Int(s, "TextRightClip", 0);
    t.BottomHeight = 0;
    t.TextAlignment = Int(s, "TextAlignment", 0);
    t.Textbackground = Int(s, "Textbackground", 0);
    t.FontHeight = Int("Fonts", "FontHeight", 14);
    t.TXTBackleft = Int(s, "TXTBackleft", 0);
    t.TXTBackRight = Int(s, "TXTBackRight", 0);
    t.ActiveText = t.InActiveText = kColourNone;
    ReadColourTriple(ini_, s, "ActiveText", t.ActiveText);
    ReadColourTriple(ini_, s, "InActiveText", t.InActiveText);
  }

  void ReadProgress() {
    d_.Progress.reset();
    const char* s = "Progress";
    if (Str(s, "Bitmap").empty()) return;
    auto p = std::make_unique<TDataSkinBorder>("Progress");
    Image(p->Image, s, "Bitmap");
    if (!Str(s, "Chunk").empty()) Image(p->Image2, s, "Chunk");
    p->Style = Int(s, "Style", 0);
    p->LeftWidth = Int(s, "LeftWidth", 0);
    p->RightWidth = Int(s, "RightWidth", 0);
    p->TopHeight = Int(s, "TopHeight", 0);
    p->BottomHeight = Int(s, "BottomHeight", 0);
    p->Trans = Int(s, "Trans", 0);
    p->Tile = Int(s, "Tile", 0);
    d_.Progress = std::move(p);
  }

  void ReadMenuBar() {
    d_.MenuBarElement.reset();
    const char* s = "Personality";
    if (Str(s, "menuBar").empty()) return;
    auto m = std::make_unique<TDataSkinObject>("Personality");
    Image(m->Image, s, "menuBar");
    m->TopHeight = m->BottomHeight = 0;
    m->Tile = Int(s, "TileMenu", 0);
    m->LeftWidth = Int(s, "TileLeftMenu", 1);
    m->RightWidth = Int(s, "TileRightMenu", 1);
    d_.MenuBarElement = std::move(m);
  }

  // Frames of the check and radio images: one frame per 13 pixels of width for images
  // under 16 pixels high, else per 16, and at least 4.
  static int32_t DerivedFrames(const PixelBitmap& image) {
    const int unit = image.Height() < 16 ? 13 : 16;
    return std::max(image.Width() / unit, 4);
  }

  void SetFrameCounts() {
    auto set = [](auto& slot, int32_t n) {
      if (slot) slot->FrameCount = n;
    };
    set(d_.Title, 2);
    d_.Buttons->FrameCount = 5;
    if (d_.Buttons->RadioButtonFrame == 0)
      d_.Buttons->RadioButtonFrame = DerivedFrames(d_.Buttons->RadioImage);
    if (d_.Buttons->CheckButtonFrame == 0)
      d_.Buttons->CheckButtonFrame = DerivedFrames(d_.Buttons->CheckImage);
    set(d_.Progress, 2);
    set(d_.MenuBarElement, 2);
    set(d_.GroupBoxEdge, 2);
    set(d_.Toolbars, 5);
    set(d_.Tabs, 5);
    set(d_.StatusBarEdges, 3);
    set(d_.ComboButton, 4);
    set(d_.SunkEdge, 4);
    set(d_.ExtraImages, 5);
    set(d_.Headerbar, 5);
    set(d_.MenuItem, 5);
    set(d_.MenuBackground, 1);
    set(d_.Scrollbar, 23);
    set(d_.HorzScroll, 4);
    set(d_.VertScroll, 4);
    set(d_.HorzScrollThumb, Int("HorzScrollThumb", "FrameCount", 3));
    set(d_.VertScrollThumb, Int("VertScrollThumb", "FrameCount", 3));
    for (auto* slot : {&d_.TrackbarThumbHorz, &d_.TrackbarThumbVert, &d_.TrackbarThumbLeft,
                       &d_.TrackbarThumbRight, &d_.TrackbarThumbUp, &d_.TrackbarThumbDown})
      set(*slot, 5);
    set(d_.UpDownHorz, 8);
    set(d_.UpDownVert, 8);
  }

  const IniFile& ini_;
  ImageFetcher& images_;
  SkinDefinition& d_;
};

}  // namespace

void ReadSkinDefinition(const IniFile& ini, ImageFetcher& images, SkinDefinition& definition) {
  Reader(ini, images, definition).Run();
}

void ReaderImageFetcher::FetchBitmap(PixelBitmap& target, std::string_view image_name) {
  std::string drawn_name;
  if (drawn_dpi_ > 0) {
    const std::string_view entry = ImageEntryName(image_name);
    if (!entry.empty()) {
      drawn_name = std::string(entry.substr(0, entry.size() - 4)) + "@" +
                   std::to_string(drawn_dpi_) + ".bmp";
    }
    image_name = drawn_name;
  }
  if (!FetchImageEntry(reader_, image_name, scratch_)) {
    target.Clear();
    return;
  }
  std::string error;
  if (!DecodeBmp(scratch_, target, &error)) {
    problems_.push_back(std::string(ImageEntryName(image_name)) + ": " + error);
    return;
  }
  pixels_delivered_ += int64_t(target.Width()) * target.Height();
  if (pixels_delivered_ > kPixelBudget) {
    target.Clear();
    problems_.push_back(std::string(ImageEntryName(image_name)) +
                        ": skipped, the skin's images exceed the pixel budget");
  }
}

int DrawnDpiOf(std::string_view name) {
  const size_t at = name.rfind('@');
  if (at == std::string_view::npos || at == 0 || name.size() < at + 6 ||
      name.compare(name.size() - 4, 4, ".bmp") != 0)
    return 0;
  const std::string_view digits = name.substr(at + 1, name.size() - at - 5);
  if (digits.size() > 3 || digits[0] == '0' ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return 0;
  const int dpi = std::stoi(std::string(digits));
  return dpi > kBaseDpi && dpi <= kMaxSkinDpi ? dpi : 0;
}

std::vector<int> DrawnDpis(const TSkinReader& reader) {
  std::vector<int> dpis;
  for (const std::string& name : reader.Directory()) {
    const int dpi = DrawnDpiOf(name);
    if (dpi > 0) dpis.push_back(dpi);
  }
  std::sort(dpis.begin(), dpis.end());
  dpis.erase(std::unique(dpis.begin(), dpis.end()), dpis.end());
  return dpis;
}

bool LoadSkinPackage(std::span<const uint8_t> package, SkinDefinition& definition,
                     SkinReporter& reporter, std::string* error,
                     std::vector<std::string>* image_problems,
                     std::vector<DrawnDefinition>* drawn) {
  auto fail = [&](std::string text) {
    if (error) *error = std::move(text);
    return false;
  };
  TSkinReader reader(reporter);
  std::vector<uint8_t> text;
  try {
    if (!reader.Load(package)) return fail("wrong format mark (not a current skin package)");
    std::string name;
    if (!reader.GetEntryByPartName(".ini", text, name))
      return fail("the package holds no skin definition (.ini entry)");
  } catch (const std::bad_alloc&) {
    return fail("out of memory while expanding the package");
  } catch (const std::exception& e) {
    return fail(e.what());
  }
  const IniFile ini(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
  ReaderImageFetcher images(reader);
  ReadSkinDefinition(ini, images, definition);
  if (image_problems) *image_problems = images.Problems();
  if (drawn) *drawn = ReadDrawnDefinitions(reader, ini, image_problems);
  return true;
}

std::vector<DrawnDefinition> ReadDrawnDefinitions(const TSkinReader& reader, const IniFile& ini,
                                                  std::vector<std::string>* image_problems) {
  std::vector<DrawnDefinition> drawn;
  ReaderImageFetcher art(reader);
  for (int dpi : DrawnDpis(reader)) {
    if (drawn.size() == kMaxDrawnDpis) break;
    DrawnDefinition& d = drawn.emplace_back();
    d.dpi = dpi;
    art.SetDrawnDpi(dpi);
    ReadSkinDefinition(ini, art, d.definition);
  }
  if (image_problems)
    image_problems->insert(image_problems->end(), art.Problems().begin(), art.Problems().end());
  return drawn;
}

}  // namespace skin
