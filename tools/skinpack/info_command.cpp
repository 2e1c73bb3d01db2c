// skinpack info: how the engine reads a package's definition, slot by slot.
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "skin/data/skin_definition.h"
#include "tools/skinpack/commands.h"

namespace skinpack {

namespace {

using namespace skin;

// Prints the one user-facing message of a package load (a wrong format mark).
class StderrReporter : public SkinReporter {
 public:
  explicit StderrReporter(std::string file) : file_(std::move(file)) {}
  void ShowMessage(std::string_view text) override {
    std::string line(text);
    for (char& c : line)
      if (c == '\r') c = ' ';
    std::fprintf(stderr, "skinpack: %s: %s\n", file_.c_str(), line.c_str());
  }

 private:
  std::string file_;
};

std::string ColourText(Colour c) {
  char buf[64];
  if (c == kColourNone)
    return "none";
  else if (IsSystemColour(c))
    std::snprintf(buf, sizeof buf, "system %d", SystemColourIndex(c));
  else
    std::snprintf(buf, sizeof buf, "%u,%u,%u (0x%08" PRIX32 ")", c & 0xFF, (c >> 8) & 0xFF,
                  (c >> 16) & 0xFF, c);
  return buf;
}

std::string ImageText(const PixelBitmap& b) {
  if (b.Empty()) return "empty";
  return std::to_string(b.Width()) + "x" + std::to_string(b.Height()) + " (" +
         std::to_string(b.BitsPerPixel()) + "-bit)";
}

// --- Text output ---------------------------------------------------------------------------

void PrintRecordText(const TDataSkinObject& r, const char* indent) {
  std::printf("%sName \"%s\"  Image %s  FrameCount %d\n", indent, r.Name.c_str(),
              ImageText(r.Image).c_str(), r.FrameCount);
  std::printf("%sLeftWidth %d  TopHeight %d  RightWidth %d  BottomHeight %d\n", indent, r.LeftWidth,
              r.TopHeight, r.RightWidth, r.BottomHeight);
  std::printf("%sTrans %d  Tile %d  Style %d\n", indent, r.Trans, r.Tile, r.Style);
  std::printf("%sNormalColour %d  MouseOverColour %d  PressedColour %d\n", indent, r.NormalColour,
              r.MouseOverColour, r.PressedColour);
  std::printf("%sNormalColour2 %s  MouseOverColour2 %s  PressedColour2 %s\n", indent,
              ColourText(r.NormalColour2).c_str(), ColourText(r.MouseOverColour2).c_str(),
              ColourText(r.PressedColour2).c_str());
  if (auto* b = dynamic_cast<const TDataSkinBorder*>(&r))
    std::printf("%sImage2 %s\n", indent, ImageText(b->Image2).c_str());
  if (auto* b = dynamic_cast<const TDataSkinButton*>(&r))
    std::printf("%sCheckImage %s  CheckButtonFrame %d  RadioImage %s  RadioButtonFrame %d\n",
                indent, ImageText(b->CheckImage).c_str(), b->CheckButtonFrame,
                ImageText(b->RadioImage).c_str(), b->RadioButtonFrame);
  if (auto* t = dynamic_cast<const TDataSkinTitle*>(&r)) {
    std::printf(
        "%sTextAlignment %d  Textbackground %d  FontHeight %d  TXTBackleft %d  "
        "TXTBackRight %d\n",
        indent, t->TextAlignment, t->Textbackground, t->FontHeight, t->TXTBackleft,
        t->TXTBackRight);
    std::printf("%sActiveText %s  InActiveText %s\n", indent, ColourText(t->ActiveText).c_str(),
                ColourText(t->InActiveText).c_str());
  }
  if (auto* s = dynamic_cast<const TDataSkinSysButton*>(&r))
    std::printf(
        "%sAction %d  Align %d  Xcoord %d  Ycoord %d  CombineOp %d  Visibility %d  "
        "Visibility1 %d\n",
        indent, s->Action, s->Align, s->Xcoord, s->Ycoord, s->CombineOp, s->Visibility,
        s->Visibility1);
}

#define SCHEME_FIELDS(X)                                                                           \
  X(WindowText)                                                                                    \
  X(TitleTextActive)                                                                               \
  X(TitleTextNoActive) X(ButtonFace) X(ButtonText) X(ButtonHilight) X(Buttonlight) X(ButtonShadow) \
      X(ButtonDkShadow) X(HilightText) X(Hilight) X(MenubarColour) X(MenuBarText) X(MenuText)      \
          X(MenuColour) X(ScrollbarColour)

void PrintText(const SkinDefinition& d) {
  std::printf("SkinName \"%s\"\n\nElements:\n", d.SkinName.c_str());
  for (const SlotView& slot : ListSlots(d)) {
    if (!slot.record) {
      std::printf("  %s: empty\n", slot.name);
      continue;
    }
    std::printf("  %s:\n", slot.name);
    PrintRecordText(*slot.record, "    ");
  }
  std::printf("\nSysButtons (%zu, the last three for MDI children):\n", d.SysButtons.size());
  for (size_t i = 0; i < d.SysButtons.size(); ++i) {
    std::printf("  [%zu]\n", i);
    PrintRecordText(*d.SysButtons[i], "    ");
  }
  std::printf("\nColours:\n");
#define PRINT_COLOUR(f) std::printf("  %-18s %s\n", #f, ColourText(d.f).c_str());
  SCHEME_FIELDS(PRINT_COLOUR)
#undef PRINT_COLOUR
  std::printf("\nExtraColours (%zu):\n", d.ExtraColours.size());
  for (size_t i = 0; i < d.ExtraColours.size(); ++i)
    std::printf("  [%zu] %s\n", i, ColourText(d.ExtraColours[i]).c_str());
}

// --- JSON output ---------------------------------------------------------------------------

std::string JsonString(std::string_view s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c < 0x20 || c >= 0x7F) {  // 8-bit names are shown as Latin-1 code points
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += char(c);
    }
  }
  return out + "\"";
}

std::string JsonColour(Colour c) {
  char buf[128];
  if (c == kColourNone)
    std::snprintf(buf, sizeof buf, "{\"value\": %u, \"kind\": \"none\"}", c);
  else if (IsSystemColour(c))
    std::snprintf(buf, sizeof buf, "{\"value\": %u, \"kind\": \"system\", \"index\": %d}", c,
                  SystemColourIndex(c));
  else
    std::snprintf(buf, sizeof buf,
                  "{\"value\": %u, \"kind\": \"rgb\", \"r\": %u, \"g\": %u, \"b\": %u}", c,
                  c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  return buf;
}

std::string JsonImage(const PixelBitmap& b) {
  if (b.Empty()) return "null";
  return "{\"width\": " + std::to_string(b.Width()) +
         ", \"height\": " + std::to_string(b.Height()) +
         ", \"bitsPerPixel\": " + std::to_string(b.BitsPerPixel()) + "}";
}

class JsonObject {
 public:
  explicit JsonObject(std::string indent) : indent_(std::move(indent)) {}
  void Add(const std::string& key, const std::string& json) {
    body_ += (body_.empty() ? "" : ",\n") + indent_ + "  " + JsonString(key) + ": " + json;
  }
  void Add(const std::string& key, int32_t v) { Add(key, std::to_string(v)); }
  std::string Str() const { return body_.empty() ? "{}" : "{\n" + body_ + "\n" + indent_ + "}"; }

 private:
  std::string indent_;
  std::string body_;
};

std::string JsonRecord(const TDataSkinObject& r, const std::string& indent) {
  JsonObject o(indent);
  o.Add("Name", JsonString(r.Name));
  o.Add("Image", JsonImage(r.Image));
  o.Add("FrameCount", r.FrameCount);
  o.Add("LeftWidth", r.LeftWidth);
  o.Add("TopHeight", r.TopHeight);
  o.Add("RightWidth", r.RightWidth);
  o.Add("BottomHeight", r.BottomHeight);
  o.Add("Trans", r.Trans);
  o.Add("Tile", r.Tile);
  o.Add("Style", r.Style);
  o.Add("NormalColour", r.NormalColour);
  o.Add("MouseOverColour", r.MouseOverColour);
  o.Add("PressedColour", r.PressedColour);
  o.Add("NormalColour2", JsonColour(r.NormalColour2));
  o.Add("MouseOverColour2", JsonColour(r.MouseOverColour2));
  o.Add("PressedColour2", JsonColour(r.PressedColour2));
  if (auto* b = dynamic_cast<const TDataSkinBorder*>(&r)) o.Add("Image2", JsonImage(b->Image2));
  if (auto* b = dynamic_cast<const TDataSkinButton*>(&r)) {
    o.Add("CheckImage", JsonImage(b->CheckImage));
    o.Add("RadioImage", JsonImage(b->RadioImage));
    o.Add("RadioButtonFrame", b->RadioButtonFrame);
    o.Add("CheckButtonFrame", b->CheckButtonFrame);
  }
  if (auto* t = dynamic_cast<const TDataSkinTitle*>(&r)) {
    o.Add("TextAlignment", t->TextAlignment);
    o.Add("Textbackground", t->Textbackground);
    o.Add("FontHeight", t->FontHeight);
    o.Add("TXTBackleft", t->TXTBackleft);
    o.Add("TXTBackRight", t->TXTBackRight);
    o.Add("ActiveText", JsonColour(t->ActiveText));
    o.Add("InActiveText", JsonColour(t->InActiveText));
  }
  if (auto* s = dynamic_cast<const TDataSkinSysButton*>(&r)) {
    o.Add("Action", s->Action);
    o.Add("Align", s->Align);
    o.Add("Xcoord", s->Xcoord);
    o.Add("Ycoord", s->Ycoord);
    o.Add("CombineOp", s->CombineOp);
    o.Add("Visibility", s->Visibility);
    o.Add("Visibility1", s->Visibility1);
  }
  return o.Str();
}

void PrintJson(const SkinDefinition& d, const std::vector<std::string>& problems) {
  JsonObject top("");
  top.Add("SkinName", JsonString(d.SkinName));
  for (const SlotView& slot : ListSlots(d))
    top.Add(slot.name, slot.record ? JsonRecord(*slot.record, "  ") : "null");
  std::string buttons = "[";
  for (size_t i = 0; i < d.SysButtons.size(); ++i)
    buttons += std::string(i ? ", " : "") + JsonRecord(*d.SysButtons[i], "  ");
  top.Add("SysButtons", buttons + "]");
#define ADD_COLOUR(f) top.Add(#f, JsonColour(d.f));
  SCHEME_FIELDS(ADD_COLOUR)
#undef ADD_COLOUR
  std::string extra = "[";
  for (size_t i = 0; i < d.ExtraColours.size(); ++i)
    extra += std::string(i ? ", " : "") + JsonColour(d.ExtraColours[i]);
  top.Add("ExtraColours", extra + "]");
  std::string list = "[";
  for (size_t i = 0; i < problems.size(); ++i)
    list += std::string(i ? ", " : "") + JsonString(problems[i]);
  top.Add("ImageProblems", list + "]");
  std::printf("%s\n", top.Str().c_str());
}

}  // namespace

int RunInfo(const Args& args) {
  bool json = false;
  std::string path;
  for (const std::string& a : args) {
    if (a == "--json") {
      json = true;
    } else if (path.empty() && !a.empty() && a[0] != '-') {
      path = a;
    } else {
      std::fprintf(stderr, "usage: skinpack info [--json] PKG\n");
      return 2;
    }
  }
  if (path.empty()) {
    std::fprintf(stderr, "usage: skinpack info [--json] PKG\n");
    return 2;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "skinpack: %s: cannot open\n", path.c_str());
    return 1;
  }
  const std::vector<uint8_t> package((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
  SkinDefinition definition;
  StderrReporter reporter(path);
  std::string error;
  std::vector<std::string> problems;
  if (!LoadSkinPackage(package, definition, reporter, &error, &problems)) {
    std::fprintf(stderr, "skinpack: %s: %s\n", path.c_str(), error.c_str());
    return 1;
  }
  for (const std::string& p : problems)
    std::fprintf(stderr, "skinpack: %s: warning: image %s (the element gets no image)\n",
                 path.c_str(), p.c_str());
  if (json)
    PrintJson(definition, problems);
  else
    PrintText(definition);
  return 0;
}

}  // namespace skinpack
