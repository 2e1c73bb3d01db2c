#include "tests/stress/hostile_skins.h"

#include <climits>
#include <map>
#include <sstream>

#include "skin/store/bmp_codec.h"
#include "skin/store/pixel_bitmap.h"

namespace stress {

namespace {

// splitmix64: small, fast, and the same on every compiler.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int n) { return n <= 0 ? 0 : int(Next() % uint64_t(n)); }
  int Between(int low, int high) { return low + Below(high - low + 1); }
  bool Chance(int percent) { return Below(100) < percent; }
  template <class T, size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(int(N))];
  }

 private:
  uint64_t state_;
};

enum class ImageKind {
  kNoKey,       // the key is left out
  kNotThere,    // names an entry the package lacks
  kEmptyEntry,  // an entry of 0 bytes
  kGarbage,     // an entry that is no bitmap
  kOnePixel,
  kSmall,
  kHuge,
  kOneHigh,
  kOneWide,
  kMagenta,  // every pixel the colour key
  kCount
};

// The uniform seeds: one hostile property for every element.
enum class Uniform {
  kNone = -1,
  kAllNoKey,
  kAllNotThere,
  kAllEmpty,
  kAllGarbage,
  kAllOnePixel,
  kAllMagenta,
  kFramesZero,
  kFramesHuge,
  kMarginsHuge,
  kMarginsNegative,
  kColoursGarbage,
  kButtonsExtreme,
};
static_assert(int(Uniform::kButtonsExtreme) + 1 == int(kUniformSeeds));

const char* const kGarbageNumbers[] = {"abc", "12abc", "0x", "$",   "$FFFFFFFFF", "99999999999",
                                       "--5", "+",     " ",  "1e9", "0x80000000", "-0"};
const char* const kGarbageColours[] = {
    "",         "abc", "1 2",       "300 -1 999",  "255,0,255",        "-2147483648 0 0",
    "0xFFFFFF", "  ",  "1 2 3 4 5", "$FF $FF $FF", "999999999999 1 1", "\t"};

constexpr int kHugeWidth = 2400, kHugeHeight = 1000;

class Builder {
 public:
  Builder(uint32_t seed, bool allow_huge)
      : rng_(seed),
        allow_huge_(allow_huge),
        uniform_(seed < kUniformSeeds ? Uniform(int(seed)) : Uniform::kNone) {}

  HostileSkin Build() {
    Section("TitlebarSkin");
    Line("SkinName", "Hostile " + std::to_string(rng_.Next() % 100000));
    Personality();
    Fonts();
    Colours();
    CaptionButtons();
    Section("MDICONTROLS");
    ImageKey("Image");
    ButtonsSection();
    ProgressSection();
    for (const char* s :
         {"GroupBoxEdge", "Toolbars", "StatusBarEdges", "ComboButton", "SunkEdge", "ExtraImages",
          "Headerbar", "MenuItem", "MenuBackground", "Scrollbar", "HorzScroll", "VertScroll",
          "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight",
          "Trackbar.ThumbUp", "Trackbar.ThumbDown"})
      PlainElement(s, nullptr);
    PlainElement("HorzScrollThumb", "FrameCount");
    PlainElement("VertScrollThumb", "FrameCount");
    PlainElement("Tabs", "Border");
    PlainElement("UpDown.Horz", "GlyphImage");
    PlainElement("UpDown.Vert", "GlyphImage");

    HostileSkin skin;
    skin.definition = ini_.str();
    skin.has_huge_image = huge_written_;
    skin.entries.push_back(
        {"skin.ini", std::vector<uint8_t>(skin.definition.begin(), skin.definition.end())});
    for (auto& [name, data] : images_) skin.entries.push_back({name, std::move(data)});
    return skin;
  }

 private:
  void Section(const std::string& name) { ini_ << "\r\n[" << name << "]\r\n"; }
  void Line(const std::string& key, const std::string& value) {
    ini_ << key << "=" << value << "\r\n";
  }

  ImageKind ChooseImage() {
    switch (uniform_) {
      case Uniform::kAllNoKey:
        return ImageKind::kNoKey;
      case Uniform::kAllNotThere:
        return ImageKind::kNotThere;
      case Uniform::kAllEmpty:
        return ImageKind::kEmptyEntry;
      case Uniform::kAllGarbage:
        return ImageKind::kGarbage;
      case Uniform::kAllOnePixel:
        return ImageKind::kOnePixel;
      case Uniform::kAllMagenta:
        return ImageKind::kMagenta;
      default:
        break;
    }
    // Ordinary small images often enough that the other properties get exercised.
    if (rng_.Chance(35)) return ImageKind::kSmall;
    const auto kind = ImageKind(rng_.Below(int(ImageKind::kCount)));
    if (kind == ImageKind::kHuge && (!allow_huge_ || rng_.Chance(85))) return ImageKind::kSmall;
    return kind;
  }

  // Writes `key` naming a bitmap of a chosen kind; returns the bitmap's size (0 x 0 when
  // there is none) so numbers can be made relative to it.
  std::pair<int, int> ImageKey(const std::string& key) {
    const ImageKind kind = ChooseImage();
    if (kind == ImageKind::kNoKey) return {0, 0};
    if (kind == ImageKind::kHuge && huge_written_) {
      // One huge bitmap per skin, named from everywhere else that wants one.
      Line(key, huge_name_);
      return {kHugeWidth, kHugeHeight};
    }
    const std::string name = "img" + std::to_string(images_.size()) + ".bmp";
    // Some skins name their bitmaps through a path, which the engine cuts off.
    Line(key, rng_.Chance(10) ? "C:\\skins\\" + name : name);
    int w = 0, h = 0;
    switch (kind) {
      case ImageKind::kNotThere:
        return {0, 0};
      case ImageKind::kEmptyEntry:
        images_[name] = {};
        return {0, 0};
      case ImageKind::kGarbage: {
        std::vector<uint8_t> junk(size_t(rng_.Between(1, 200)));
        for (auto& b : junk) b = uint8_t(rng_.Next());
        if (rng_.Chance(50) && junk.size() >= 2) junk[0] = 'B', junk[1] = 'M';
        images_[name] = std::move(junk);
        return {0, 0};
      }
      case ImageKind::kOnePixel:
        w = h = 1;
        break;
      case ImageKind::kHuge:
        huge_written_ = true;
        w = kHugeWidth, h = kHugeHeight;
        break;
      case ImageKind::kOneHigh:
        w = rng_.Between(2, 3000), h = 1;
        break;
      case ImageKind::kOneWide:
        w = 1, h = rng_.Between(2, 3000);
        break;
      default:
        w = rng_.Between(1, 96), h = rng_.Between(1, 64);
        break;
    }
    skin::PixelBitmap bitmap(
        w, h, rng_.Chance(30) ? skin::PixelFormat::kBgra32 : skin::PixelFormat::kBgr24);
    if (kind == ImageKind::kMagenta) {
      bitmap.Fill(0x00FF00FF);
    } else {
      // Bands of colour with magenta holes, so keyed copies and regions have work to do.
      const uint32_t base = uint32_t(rng_.Next()) & 0xFFFFFF;
      for (int y = 0; y < h; ++y) {
        const bool hole_row = rng_.Chance(10);
        for (int x = 0; x < w; ++x) {
          uint32_t c = base ^ uint32_t((x / 3) * 0x010203 + (y / 2) * 0x030201);
          if (hole_row && (x + y) % 5 == 0) c = 0x00FF00FF;
          if (w * h < 10000 || (x < 4 && y < 4)) bitmap.SetPixel(x, y, c & 0xFFFFFF);
        }
      }
    }
    images_[name] = skin::EncodeBmp(bitmap);
    if (kind == ImageKind::kHuge) huge_name_ = name;
    return {w, h};
  }

  // A margin for an image of `extent` pixels along its axis.
  std::string Margin(int extent) {
    if (uniform_ == Uniform::kMarginsHuge) return std::to_string(extent + rng_.Between(1, 5000));
    if (uniform_ == Uniform::kMarginsNegative) return std::to_string(-rng_.Between(1, 100000));
    switch (rng_.Below(10)) {
      case 0:
        return std::to_string(extent + rng_.Between(1, 1000));  // larger than the image
      case 1:
        return std::to_string(-rng_.Between(1, 50));
      case 2:
        return rng_.Chance(50) ? "2147483647" : "-2147483648";
      case 3:
        return rng_.Pick(kGarbageNumbers);
      default:
        return std::to_string(rng_.Between(0, std::max(extent / 2, 1)));
    }
  }

  // A frame count for an image `extent` pixels along the frames' axis.
  std::string Frames(int extent) {
    if (uniform_ == Uniform::kFramesZero) return "0";
    if (uniform_ == Uniform::kFramesHuge) return std::to_string(extent + 1 + rng_.Below(1000));
    switch (rng_.Below(8)) {
      case 0:
        return "0";
      case 1:
        return "1";
      case 2:
        return std::to_string(-rng_.Between(1, 10));
      case 3:
        return std::to_string(extent + rng_.Between(1, 100));  // more frames than pixels
      case 4:
        return rng_.Chance(50) ? "2147483647" : "-2147483648";
      case 5:
        return rng_.Pick(kGarbageNumbers);
      default:
        return std::to_string(rng_.Between(2, 30));
    }
  }

  std::string ColourText() {
    if (uniform_ == Uniform::kColoursGarbage || rng_.Chance(40)) return rng_.Pick(kGarbageColours);
    return std::to_string(rng_.Below(256)) + " " + std::to_string(rng_.Below(256)) + " " +
           std::to_string(rng_.Below(256));
  }
  // A colour key: left out, garbage, or a colour.
  void ColourKey(const std::string& key) {
    if (rng_.Chance(30) && uniform_ != Uniform::kColoursGarbage) return;
    Line(key, ColourText());
  }

  void Strip(const std::string& side, bool vertical) {
    const auto [w, h] = ImageKey(side);
    Line(side + "TopHeight", Margin(vertical ? h : w));
    Line(side + "BotHeight", Margin(vertical ? h : w));
    Line(side + "Frame", Frames(vertical ? w : h));
    if (rng_.Chance(70))
      Line(side + "Stretch",
           rng_.Chance(70) ? std::to_string(rng_.Below(3)) : rng_.Pick(kGarbageNumbers));
    if (rng_.Chance(70)) Line(side + "Trans", std::to_string(rng_.Between(-1, 2)));
  }

  void Personality() {
    Section("Personality");
    Strip("Left", true);
    Strip("Right", true);
    Strip("Top", false);
    Strip("Bottom", false);
    const auto [w, h] = ImageKey("TextBack");
    (void)h;
    for (const char* key :
         {"TextShift", "TextShiftVert", "TextRightClip", "TXTBackleft", "TXTBackRight"})
      Line(key, Margin(w + 100));
    Line("TextAlignment", std::to_string(rng_.Between(-2, 5)));
    Line("Textbackground", std::to_string(rng_.Between(-1, 3)));
    for (const char* key : {"ActiveTextR", "ActiveTextG", "ActiveTextB", "InActiveTextR",
                            "InActiveTextG", "InActiveTextB"})
      if (rng_.Chance(60))
        Line(key, rng_.Chance(50) ? std::to_string(rng_.Between(-1000, 1000))
                                  : std::string(rng_.Pick(kGarbageNumbers)));
    const auto [mw, mh] = ImageKey("menuBar");
    (void)mh;
    Line("TileMenu", std::to_string(rng_.Between(-1, 3)));
    Line("TileLeftMenu", Margin(mw));
    Line("TileRightMenu", Margin(mw));
  }

  void Fonts() {
    Section("Fonts");
    const char* const heights[] = {"0",      "-5",          "1",          "14", "200",
                                   "100000", "-2147483648", "2147483647", "abc"};
    if (rng_.Chance(80)) Line("FontHeight", rng_.Pick(heights));
    const char* const names[] = {"", "NoSuchFont", "Tahoma", "\x01\x02",
                                 "Arial Arial Arial Arial "
                                 "Arial Arial Arial Arial Arial"};
    if (rng_.Chance(70)) Line("FontName", rng_.Pick(names));
    if (rng_.Chance(50)) Line("MenuFont", rng_.Pick(names));
  }

  void Colours() {
    Section("Colours");
    for (const char* key :
         {"WindowText", "TitleTextActive", "TitleTextNoActive", "ButtonFace", "ButtonText",
          "ButtonHilight", "Buttonlight", "ButtonShadow", "ButtonDkShadow", "HilightText",
          "Hilight", "Menubar", "MenuBarText", "MenuText", "Menu", "Scrollbar", "Window"})
      ColourKey(key);
    for (const char* section : {"COLOUR1", "COLOUR2"}) {
      if (rng_.Chance(30)) continue;
      Section(section);
      Line("color", ColourText());
    }
  }

  void CaptionButtons() {
    const int count = uniform_ == Uniform::kButtonsExtreme ? 40 : rng_.Between(0, 14);
    const char* const coords[] = {"-100000", "-2147483648", "2147483647", "-1",
                                  "0",       "3",           "40000",      "1073741824"};
    const int actions[] = {-1, 0, 1, 2, 3, 7, 8, 9, 11, 12, 22, 23, 30, 31, 60, 61, 62, 999};
    const int aligns[] = {-5, 0, 1, 2, 3, 4, 8, 9, 10, 100, 101, 2147483647};
    const int visibility[] = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 100, 199, 200, 2000, 2001};
    for (int i = 0; i < count; ++i) {
      Section(rng_.Chance(20) ? "button" + std::to_string(i) : "Button" + std::to_string(i));
      const auto [w, h] = ImageKey("ButtonImage");
      (void)h;
      if (rng_.Chance(80)) Line("frame", Frames(w));
      Line("Action", std::to_string(rng_.Pick(actions)));
      Line("Align", std::to_string(rng_.Pick(aligns)));
      const bool extreme = uniform_ == Uniform::kButtonsExtreme || rng_.Chance(40);
      Line("Xcoord", extreme ? rng_.Pick(coords) : std::to_string(rng_.Between(0, 200)));
      Line("Ycoord", extreme ? rng_.Pick(coords) : std::to_string(rng_.Between(0, 20)));
      Line("Visibility", std::to_string(rng_.Pick(visibility)));
      Line("Visibility1", std::to_string(rng_.Pick(visibility)));
      if (rng_.Chance(30)) Line("CombineOp", std::to_string(rng_.Between(-2, 20)));
    }
  }

  void Common(int w, int h) {
    Line("LeftWidth", Margin(w));
    Line("TopHeight", Margin(h));
    Line("RightWidth", Margin(w));
    Line("BottomHeight", Margin(h));
    if (rng_.Chance(70)) Line("Trans", std::to_string(rng_.Between(-1, 2)));
    if (rng_.Chance(70)) Line("Tile", std::to_string(rng_.Between(-1, 3)));
    for (const char* key : {"NormalColour", "MouseOverColour", "PressedColour"})
      if (rng_.Chance(30)) Line(key, std::to_string(rng_.Between(-2, 40)));
    for (const char* key : {"NormalColour2", "MouseOverColour2", "PressedColour2"}) ColourKey(key);
  }

  void ButtonsSection() {
    Section("Buttons");
    const auto [w, h] = ImageKey("Bitmap");
    Common(w, h);
    const auto [cw, ch] = ImageKey("CheckButton");
    (void)ch;
    const auto [rw, rh] = ImageKey("RadioButton");
    (void)rh;
    if (rng_.Chance(70)) Line("CheckButtonFrame", Frames(cw));
    if (rng_.Chance(70)) Line("RadioButtonFrame", Frames(rw));
  }

  void ProgressSection() {
    Section("Progress");
    const auto [w, h] = ImageKey("Bitmap");
    ImageKey("Chunk");
    Line("Style", std::to_string(rng_.Between(-1, 3)));
    Common(w, h);
  }

  void PlainElement(const char* section, const char* extra) {
    Section(section);
    const auto [w, h] = ImageKey("Image");
    if (rng_.Chance(30)) Line("Style", std::to_string(rng_.Between(-1, 3)));
    Common(w, h);
    if (!extra) return;
    if (std::string(extra) == "FrameCount") {
      Line("FrameCount", Frames(w));
    } else {
      ImageKey(extra);
    }
  }

  Random rng_;
  bool allow_huge_;
  Uniform uniform_;
  std::ostringstream ini_;
  std::map<std::string, std::vector<uint8_t>> images_;
  bool huge_written_ = false;
  std::string huge_name_;
};

}  // namespace

HostileSkin MakeHostileSkin(uint32_t seed, bool allow_huge) {
  return Builder(seed, allow_huge).Build();
}

std::vector<uint8_t> HostileSkinPackage(uint32_t seed, bool allow_huge) {
  const HostileSkin skin = MakeHostileSkin(seed, allow_huge);
  // A quick compression: the huge bitmap would take long with the thorough settings.
  skin::LzhCompressOptions options;
  options.max_chain = 8;
  options.lazy = false;
  return skin::WritePackage(skin.entries, options);
}

}  // namespace stress
