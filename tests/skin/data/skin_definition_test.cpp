#include "skin/data/skin_definition.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "skin/store/bmp_codec.h"
#include "skin/store/package_writer.h"

namespace skin {
namespace {

// Serves bitmaps by entry name, with the same name rules as the package fetcher.
class MapImages : public ImageFetcher {
 public:
  void FetchBitmap(PixelBitmap& target, std::string_view image_name) override {
    const std::string_view entry = ImageEntryName(image_name);
    const auto it = entry.empty() ? bitmaps.end() : bitmaps.find(AsciiLower(entry));
    if (it == bitmaps.end())
      target.Clear();
    else
      target = it->second;
  }
  void Add(const std::string& name, int w, int h) {
    PixelBitmap b(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) b.SetPixel(x, y, Rgb(uint8_t(x), uint8_t(y), 1));
    bitmaps[name] = b;
  }
  std::map<std::string, PixelBitmap> bitmaps;
};

SkinDefinition Read(const std::string& text, MapImages& images) {
  SkinDefinition d;
  ReadSkinDefinition(IniFile(text), images, d);
  return d;
}
SkinDefinition Read(const std::string& text) {
  MapImages images;
  return Read(text, images);
}

// --- An empty definition ---------------------------------------------------------------

TEST(DefinitionDefaults, EmptyDefinitionGivesDefaultsAndOnlyTheAlwaysRecords) {
  const SkinDefinition d = Read("");
  EXPECT_EQ(d.SkinName, "");
  for (const TDataSkinBorder* s :
       {d.LeftStrip.get(), d.RightStrip.get(), d.TopStrip.get(), d.BottomStrip.get()}) {
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->FrameCount, 1);
    EXPECT_EQ(s->Tile, 1);
    EXPECT_EQ(s->Trans, 1);
    EXPECT_TRUE(s->Image.Empty());
  }
  EXPECT_EQ(d.LeftStrip->Name, "Left");
  EXPECT_EQ(d.BottomStrip->Name, "Bottom");
  EXPECT_EQ(d.Title->Name, "Title");
  EXPECT_EQ(d.Title->FrameCount, 2);
  EXPECT_EQ(d.Title->FontHeight, 14);
  EXPECT_EQ(d.Title->ActiveText, kColourNone);
  EXPECT_EQ(d.Title->InActiveText, kColourNone);
  EXPECT_EQ(d.Buttons->FrameCount, 5);
  EXPECT_EQ(d.Buttons->RadioButtonFrame, 4);  // empty image: 0 / 13, raised to 4
  EXPECT_EQ(d.Buttons->CheckButtonFrame, 4);
  EXPECT_EQ(d.Buttons->NormalColour, -1);
  EXPECT_EQ(d.Buttons->NormalColour2, SystemColour(18));
  EXPECT_EQ(d.MenubarColour, SystemColour(15));
  EXPECT_EQ(d.SysButtons.size(), 3u);  // only the MDI buttons
  for (const SlotView& slot : ListSlots(d)) {
    const bool always = std::string(slot.name).find("Strip") != std::string::npos ||
                        std::string(slot.name) == "Title" || std::string(slot.name) == "Buttons";
    EXPECT_EQ(slot.record != nullptr, always) << slot.name;
  }
}

// --- Optional elements ---------------------------------------------------------------------

TEST(DefinitionElements, SlotExistsOnlyWithNonEmptyImageKey) {
  const SkinDefinition d = Read(
      "[Progress]\nBitmap=\nChunk=c.bmp\n"
      "[Scrollbar]\nImage=\n"
      "[SunkEdge]\nImage=missing.bmp\n"
      "[Personality]\nMenuBar=\n");
  EXPECT_EQ(d.Progress, nullptr);
  EXPECT_EQ(d.Scrollbar, nullptr);
  EXPECT_EQ(d.MenuBarElement, nullptr);
  ASSERT_NE(d.SunkEdge, nullptr);  // the key is given, the bitmap is not in the package
  EXPECT_TRUE(d.SunkEdge->Image.Empty());
  EXPECT_EQ(d.SunkEdge->Name, "SunkEdge");
  EXPECT_EQ(Read("[Tabs]\nBorder=b.bmp\n").Tabs, nullptr);
}

TEST(DefinitionElements, FrameCountsPerSlot) {
  std::string text;
  const char* sections[] = {"GroupBoxEdge",        "Toolbars",           "Tabs",
                            "StatusBarEdges",      "ComboButton",        "SunkEdge",
                            "ExtraImages",         "Headerbar",          "MenuItem",
                            "MenuBackground",      "Scrollbar",          "HorzScroll",
                            "VertScroll",          "HorzScrollThumb",    "VertScrollThumb",
                            "Trackbar.ThumbHorz",  "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
                            "Trackbar.ThumbRight", "Trackbar.ThumbUp",   "Trackbar.ThumbDown",
                            "UpDown.Horz",         "UpDown.Vert"};
  for (const char* s : sections) text += std::string("[") + s + "]\nImage=x.bmp\nFrameCount=9\n";
  text += "[VertScrollThumb]\nFrameCount=7\n";  // a duplicate section is not read
  text += "[Progress]\nBitmap=p.bmp\n[Personality]\nmenuBar=m.bmp\n";
  const SkinDefinition d = Read(text);
  const std::map<std::string, int> expected = {{"Progress", 2},
                                               {"MenuBarElement", 2},
                                               {"GroupBoxEdge", 2},
                                               {"Toolbars", 5},
                                               {"Tabs", 5},
                                               {"StatusBarEdges", 3},
                                               {"ComboButton", 4},
                                               {"SunkEdge", 4},
                                               {"ExtraImages", 5},
                                               {"Headerbar", 5},
                                               {"MenuItem", 5},
                                               {"MenuBackground", 1},
                                               {"Scrollbar", 23},
                                               {"HorzScroll", 4},
                                               {"VertScroll", 4},
                                               {"HorzScrollThumb", 9},
                                               {"VertScrollThumb", 9},
                                               {"TrackbarThumbHorz", 5},
                                               {"TrackbarThumbVert", 5},
                                               {"TrackbarThumbLeft", 5},
                                               {"TrackbarThumbRight", 5},
                                               {"TrackbarThumbUp", 5},
                                               {"TrackbarThumbDown", 5},
                                               {"UpDownHorz", 8},
                                               {"UpDownVert", 8}};
  for (const SlotView& slot : ListSlots(d)) {
    const auto it = expected.find(slot.name);
    if (it == expected.end()) continue;
    ASSERT_NE(slot.record, nullptr) << slot.name;
    EXPECT_EQ(slot.record->FrameCount, it->second) << slot.name;
  }
  EXPECT_EQ(d.TrackbarThumbUp->Name, "Trackbar.ThumbUp");
  EXPECT_EQ(Read("[HorzScrollThumb]\nImage=x.bmp\n").HorzScrollThumb->FrameCount, 3);
}

TEST(DefinitionElements, PlainElementFieldsTileClampAndColourDefaults) {
  MapImages images;
  images.Add("tb.bmp", 10, 4);
  const SkinDefinition d = Read(
      "[Colours]\nButtonText=9 8 7\n"
      "[Toolbars]\nImage=tb.bmp\nStyle=3\nLeftWidth=1\nRightWidth=2\nTopHeight=3\n"
      "BottomHeight=4\nTrans=1\nTile=5\nNormalColour=$FF\nPressedColour=12\n"
      "MouseOverColour2=1,2,3\n"
      "[Headerbar]\nImage=h.bmp\nTile=1\n"
      "[MenuItem]\nImage=m.bmp\nTile=-2\n"
      "[Tabs]\nImage=tb.bmp\nStyle=3\nBorder=tb.bmp\nTile=2\n",
      images);
  const TDataSkinObject& t = *d.Toolbars;
  EXPECT_EQ(t.Image.Width(), 10);
  EXPECT_EQ(t.Style, 3);
  EXPECT_EQ(t.LeftWidth, 1);
  EXPECT_EQ(t.RightWidth, 2);
  EXPECT_EQ(t.TopHeight, 3);
  EXPECT_EQ(t.BottomHeight, 4);
  EXPECT_EQ(t.Trans, 1);
  EXPECT_EQ(t.Tile, 0);  // above 1 becomes 0
  EXPECT_EQ(t.NormalColour, 255);
  EXPECT_EQ(t.MouseOverColour, -1);
  EXPECT_EQ(t.PressedColour, 12);
  EXPECT_EQ(t.NormalColour2, RgbColour(9, 8, 7));  // the scheme's ButtonText just read
  EXPECT_EQ(t.MouseOverColour2, RgbColour(1, 2, 3));
  EXPECT_EQ(t.PressedColour2, RgbColour(9, 8, 7));
  EXPECT_EQ(d.Headerbar->Tile, 1);
  EXPECT_EQ(d.MenuItem->Tile, -2);  // only values above 1 are dropped
  EXPECT_EQ(d.Tabs->Style, 0);      // elements with a second image do not read Style
  EXPECT_EQ(d.Tabs->Tile, 0);
  EXPECT_EQ(d.Tabs->Image2.Width(), 10);
}

TEST(DefinitionElements, ProgressMenuBarAndUpDown) {
  MapImages images;
  images.Add("p.bmp", 8, 8);
  images.Add("chunk.bmp", 3, 8);
  images.Add("glyph.bmp", 5, 5);
  const SkinDefinition d = Read(
      "[Progress]\nBitmap=p.bmp\nChunk=chunk.bmp\nTile=7\nStyle=2\nNormalColour=5\n"
      "[Personality]\nMenuBar=p.bmp\nTileMenu=4\nTileRightMenu=6\n"
      "[UpDown.Vert]\nImage=p.bmp\nGlyphImage=glyph.bmp\n",
      images);
  EXPECT_EQ(d.Progress->Name, "Progress");
  EXPECT_EQ(d.Progress->Image2.Width(), 3);
  EXPECT_EQ(d.Progress->Tile, 7);  // not clamped
  EXPECT_EQ(d.Progress->Style, 2);
  EXPECT_EQ(d.Progress->NormalColour, 0);  // [Progress] reads no colours
  const TDataSkinObject& m = *d.MenuBarElement;
  EXPECT_EQ(m.Name, "Personality");
  EXPECT_EQ(m.Tile, 4);
  EXPECT_EQ(m.LeftWidth, 1);
  EXPECT_EQ(m.RightWidth, 6);
  EXPECT_EQ(d.UpDownVert->Image2.Width(), 5);
  EXPECT_EQ(d.UpDownHorz, nullptr);
}

TEST(DefinitionElements, ComboButtonSecondImageIsMirroredTwentyFourBitCopy) {
  MapImages images;
  PixelBitmap combo(3, 2, PixelFormat::kBgra32);
  combo.SetPixel(0, 0, Rgb(1, 1, 1));
  combo.SetPixel(2, 1, Rgb(2, 2, 2));
  images.bitmaps["combo.bmp"] = combo;
  const SkinDefinition d = Read("[ComboButton]\nImage=combo.bmp\n****=combo.bmp\n", images);
  const PixelBitmap& mirrored = d.ComboButton->Image2;
  EXPECT_EQ(mirrored.Format(), PixelFormat::kBgr24);
  EXPECT_EQ(d.ComboButton->Image.Format(), PixelFormat::kBgra32);
  EXPECT_EQ(mirrored.Pixel(2, 0), Rgb(1, 1, 1));
  EXPECT_EQ(mirrored.Pixel(0, 1), Rgb(2, 2, 2));
  EXPECT_TRUE(Read("[ComboButton]\nImage=absent.bmp\n").ComboButton->Image2.Empty());
}

// --- Frame strips, title, push buttons ---------------------------------------------------

TEST(DefinitionStrips, KeysPerSideAndStretchStoredUnchanged) {
  MapImages images;
  images.Add("top.bmp", 30, 20);
  const SkinDefinition d = Read(
      "[Personality]\nTop=top.bmp\nTopTopHeight=7\nTopBotHeight=8\nTopStretch=5\nTopFrame=2\n"
      "TopTrans=0\nLeftTopHeight=3\nLeftBotHeight=4\nLeftStretch=0\n",
      images);
  const TDataSkinBorder& top = *d.TopStrip;
  EXPECT_EQ(top.Image.Width(), 30);
  EXPECT_EQ(top.LeftWidth, 7);  // horizontal strips: the keys give the fixed ends
  EXPECT_EQ(top.RightWidth, 8);
  EXPECT_EQ(top.TopHeight, 0);
  EXPECT_EQ(top.BottomHeight, 0);
  EXPECT_EQ(top.Tile, 5);
  EXPECT_EQ(top.FrameCount, 2);
  EXPECT_EQ(top.Trans, 0);
  const TDataSkinBorder& left = *d.LeftStrip;
  EXPECT_EQ(left.TopHeight, 3);
  EXPECT_EQ(left.BottomHeight, 4);
  EXPECT_EQ(left.LeftWidth, 0);
  EXPECT_EQ(left.Tile, 0);
}

TEST(DefinitionTitle, CaptionGeometryFontAndTextColours) {
  const SkinDefinition d = Read(
      "[Personality]\nTextShift=5\nTextShiftVert=-2\nTextRightClip=40\nTextAlignment=1\n"
      "Textbackground=1\nTXTBackleft=3\nTXTBackRight=4\n"
      "ActiveTextR=14\nActiveTextG=16\n"
      "InActiveTextR=1\nInActiveTextG=2\nInActiveTextB=3\n"
      "[Fonts]\nFontHeight=12\n[TitlebarSkin]\nSkinName= Calc Blue \n");
  const TDataSkinTitle& t = *d.Title;
  EXPECT_EQ(t.LeftWidth, 5);
  EXPECT_EQ(t.TopHeight, -2);
  EXPECT_EQ(t.RightWidth, 40);
  EXPECT_EQ(t.BottomHeight, 0);
  EXPECT_EQ(t.TextAlignment, 1);
  EXPECT_EQ(t.Textbackground, 1);
  EXPECT_EQ(t.TXTBackleft, 3);
  EXPECT_EQ(t.TXTBackRight, 4);
  EXPECT_EQ(t.FontHeight, 12);
  EXPECT_EQ(t.ActiveText, kColourNone);  // the blue key is missing
  EXPECT_EQ(t.InActiveText, RgbColour(1, 2, 3));
  EXPECT_EQ(d.SkinName, "Calc Blue");
}

TEST(DefinitionButtons, CheckAndRadioFramesFromImageWidth) {
  MapImages images;
  images.Add("radio.bmp", 65, 13);
  images.Add("check.bmp", 40, 16);
  images.Add("big.bmp", 160, 16);
  SkinDefinition d = Read(
      "[Buttons]\nBitmap=radio.bmp\nRadioButton=radio.bmp\nCheckButton=check.bmp\nTile=3\n"
      "LeftWidth=2\nTrans=1\nPressedColour2=4 5 6\n",
      images);
  EXPECT_EQ(d.Buttons->RadioButtonFrame, 5);  // 65 / 13
  EXPECT_EQ(d.Buttons->CheckButtonFrame, 4);  // 40 / 16 = 2, raised to 4
  EXPECT_EQ(d.Buttons->Tile, 3);              // not clamped
  EXPECT_EQ(d.Buttons->LeftWidth, 2);
  EXPECT_EQ(d.Buttons->Trans, 1);
  EXPECT_EQ(d.Buttons->PressedColour2, RgbColour(4, 5, 6));
  EXPECT_EQ(d.Buttons->Image.Width(), 65);

  d = Read("[Buttons]\nCheckButton=big.bmp\nCheckButtonFrame=3\nRadioButton=big.bmp\n", images);
  EXPECT_EQ(d.Buttons->CheckButtonFrame, 3);   // given: kept
  EXPECT_EQ(d.Buttons->RadioButtonFrame, 10);  // 160 / 16
}

// --- Caption buttons and MDI buttons -------------------------------------------------------

TEST(DefinitionCaptionButtons, WhichSectionsCountAndTheirFields) {
  const SkinDefinition d = Read(
      "[Button0]\nAction=1\n[Buttons]\n[button3]\nAlign=2\n[Button.Radio]\n"
      "[BUTTON.CHECKBOX]\n[BUTTON16]\nXcoord=40\nYcoord=5\nVisibility=1\nVisibility1=2\n"
      "CombineOp=3\n[ButtonX]\n[Colours]\n");
  ASSERT_EQ(d.SysButtons.size(), 4u + 3u);
  EXPECT_EQ(d.SysButtons[0]->Name, "BUTTON0");
  EXPECT_EQ(d.SysButtons[0]->Action, 1);
  EXPECT_EQ(d.SysButtons[0]->CombineOp, -1);
  EXPECT_EQ(d.SysButtons[1]->Name, "BUTTON3");
  EXPECT_EQ(d.SysButtons[1]->Align, 2);
  const TDataSkinSysButton& b16 = *d.SysButtons[2];
  EXPECT_EQ(b16.Name, "BUTTON16");
  EXPECT_EQ(b16.Xcoord, 40);
  EXPECT_EQ(b16.Ycoord, 5);
  EXPECT_EQ(b16.Visibility, 1);
  EXPECT_EQ(b16.Visibility1, 2);
  EXPECT_EQ(b16.CombineOp, 3);
  EXPECT_EQ(d.SysButtons[3]->Name, "BUTTONX");
}

TEST(DefinitionCaptionButtons, FrameCountFromImageShapeOrFrameKey) {
  MapImages images;
  images.Add("wide.bmp", 126, 21);
  images.Add("narrow.bmp", 63, 21);
  images.Add("exact.bmp", 38, 10);  // ratio 3.8 exactly: 3 frames
  const SkinDefinition d = Read(
      "[Button1]\nButtonImage=wide.bmp\n"
      "[Button2]\nButtonImage=narrow.bmp\n"
      "[Button3]\nButtonImage=narrow.bmp\nframe=4\n"
      "[Button4]\nButtonImage=exact.bmp\n"
      "[Button5]\nButtonImage=narrow.bmp\nAction=-1\n"
      "[Button6]\n"
      "[Button7]\nButtonImage=narrow.bmp\nAction=3\n"
      "[Button8]\nButtonImage=narrow.bmp\nAction=11\nframe=-2\n"
      "[Button9]\nButtonImage=NARROW.BMP\n",
      images);
  const auto frames = [&](int i) { return d.SysButtons[i]->FrameCount; };
  EXPECT_EQ(frames(0), 6);
  EXPECT_EQ(frames(1), 3);
  EXPECT_EQ(frames(2), 4);
  EXPECT_EQ(frames(3), 3);
  EXPECT_EQ(frames(4), 6);  // negative action
  EXPECT_EQ(frames(5), 6);  // no image
  EXPECT_EQ(frames(6), 3);
  EXPECT_TRUE(d.SysButtons[6]->Image.Empty());   // action 3 drops its image
  EXPECT_EQ(frames(7), -2);                      // a nonzero frame key skips it all...
  EXPECT_FALSE(d.SysButtons[7]->Image.Empty());  // ...including dropping the image
  EXPECT_TRUE(d.SysButtons[8]->Image.Empty());   // capital extension: nothing found
  EXPECT_EQ(frames(8), 6);
}

TEST(DefinitionMdiButtons, CutFromTwelveColumnImage) {
  MapImages images;
  images.Add("mdi.bmp", 180, 15);
  const SkinDefinition d = Read("[Button1]\n[MDICONTROLS]\nImage=mdi.bmp\n", images);
  ASSERT_EQ(d.SysButtons.size(), 4u);
  const int xcoords[] = {57, 38, 19};
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& b = *d.SysButtons[1 + i];
    EXPECT_EQ(b.Action, 7 + i);
    EXPECT_EQ(b.Align, 100);
    EXPECT_EQ(b.Visibility, 100);
    EXPECT_EQ(b.Visibility1, 100);
    EXPECT_EQ(b.FrameCount, 4);
    EXPECT_EQ(b.Ycoord, 0);
    EXPECT_EQ(b.CombineOp, 0);
    EXPECT_EQ(b.Image.Width(), 60);
    EXPECT_EQ(b.Image.Height(), 15);
    EXPECT_EQ(b.Xcoord, xcoords[i]);
    // Column 0 of button i is source column 60 * i (the test image stores x in red).
    EXPECT_EQ(b.Image.Pixel(0, 3), Rgb(uint8_t(60 * i), 3, 1));
    EXPECT_EQ(b.Image.Pixel(59, 14), Rgb(uint8_t(60 * i + 59), 14, 1));
  }
  const SkinDefinition none = Read("");
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(none.SysButtons[i]->Image.Empty());
    EXPECT_EQ(none.SysButtons[i]->Xcoord, 0);
  }
}

// --- Reading again -------------------------------------------------------------------------

TEST(DefinitionReload, AlwaysRecordsStayOptionalSlotsFollowTheNewSkin) {
  MapImages images;
  images.Add("a.bmp", 4, 4);
  SkinDefinition d;
  ReadSkinDefinition(IniFile("[Personality]\nLeft=a.bmp\nLeftFrame=3\n[SunkEdge]\nImage=a.bmp\n"
                             "[Button1]\n[Button2]\n[COLOUR1]\ncolor=1 1 1\n"),
                     images, d);
  const TDataSkinBorder* left = d.LeftStrip.get();
  const TDataSkinTitle* title = d.Title.get();
  ASSERT_EQ(d.SysButtons.size(), 5u);
  ReadSkinDefinition(IniFile("[Headerbar]\nImage=a.bmp\n"), images, d);
  EXPECT_EQ(d.LeftStrip.get(), left);
  EXPECT_EQ(d.Title.get(), title);
  EXPECT_TRUE(d.LeftStrip->Image.Empty());
  EXPECT_EQ(d.LeftStrip->FrameCount, 1);
  EXPECT_EQ(d.SunkEdge, nullptr);
  EXPECT_NE(d.Headerbar, nullptr);
  EXPECT_EQ(d.SysButtons.size(), 3u);
  EXPECT_TRUE(d.ExtraColours.empty());

  SkinDefinition moved = std::move(d);  // movable, records travel along
  EXPECT_EQ(moved.Title.get(), title);
}

// --- Whole packages ------------------------------------------------------------------------

std::vector<uint8_t> Text(const std::string& s) { return {s.begin(), s.end()}; }

TEST(LoadSkinPackage, ReadsDefinitionAndBitmapsFromPackage) {
  PixelBitmap wide(126, 21);
  wide.Fill(Rgb(10, 20, 30));
  std::vector<uint8_t> broken = EncodeBmp(wide);
  broken.resize(100);
  const std::vector<PackageEntry> entries = {
      {"Wide.bmp", EncodeBmp(wide)},
      {"Skin.ini", Text("[TitlebarSkin]\nSkinName=Packaged\n[Button1]\nButtonImage=x\\Wide.bmp\n"
                        "[SunkEdge]\nImage=broken.bmp\n")},
      {"broken.bmp", broken},
  };
  SkinDefinition d;
  RecordingSkinReporter reporter;
  std::string error;
  std::vector<std::string> problems;
  ASSERT_TRUE(LoadSkinPackage(WritePackage(entries), d, reporter, &error, &problems)) << error;
  EXPECT_EQ(d.SkinName, "Packaged");
  EXPECT_EQ(d.SysButtons[0]->Image.Width(), 126);
  EXPECT_EQ(d.SysButtons[0]->Image.Pixel(5, 5), Rgb(10, 20, 30));
  EXPECT_EQ(d.SysButtons[0]->FrameCount, 6);
  ASSERT_NE(d.SunkEdge, nullptr);
  EXPECT_TRUE(d.SunkEdge->Image.Empty());
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].rfind("broken.bmp: ", 0), 0u);
  EXPECT_TRUE(reporter.messages.empty());
}

TEST(LoadSkinPackage, OneLargeBitmapNamedManyTimesIsBudgeted) {
  // 40 caption buttons each naming a 1024 x 1024 bitmap would hold 40 M pixels.
  std::string ini;
  for (int i = 0; i < 40; ++i) ini += "[Button" + std::to_string(i) + "]\nButtonImage=big.bmp\n";
  const std::vector<PackageEntry> entries = {{"big.bmp", EncodeBmp(PixelBitmap(1024, 1024))},
                                             {"s.ini", Text(ini)}};
  SkinDefinition d;
  std::vector<std::string> problems;
  ASSERT_TRUE(LoadSkinPackage(WritePackage(entries), d, DefaultSkinReporter(), nullptr, &problems));
  int64_t pixels = 0;
  for (const auto& b : d.SysButtons) pixels += int64_t(b->Image.Width()) * b->Image.Height();
  EXPECT_LE(pixels, ReaderImageFetcher::kPixelBudget);
  EXPECT_FALSE(d.SysButtons[0]->Image.Empty());
  EXPECT_TRUE(d.SysButtons[39]->Image.Empty());
  EXPECT_EQ(problems.size(), 40u - 32u);
}

TEST(LoadSkinPackage, RefusedPackagesLeaveTheDefinitionAlone) {
  SkinDefinition d;
  d.SkinName = "before";
  RecordingSkinReporter reporter;
  std::string error;
  const std::vector<PackageEntry> no_ini = {{"a.bmp", EncodeBmp(PixelBitmap(1, 1))}};
  EXPECT_FALSE(LoadSkinPackage(WritePackage(no_ini), d, reporter, &error));
  EXPECT_NE(error.find(".ini"), std::string::npos);

  // A container whose format mark is 19999.
  std::vector<uint8_t> container = BuildContainer(no_ini);
  container[0] = uint8_t(19999 & 0xFF);
  EXPECT_FALSE(LoadSkinPackage(LzhCompress(container), d, reporter, &error));
  ASSERT_EQ(reporter.messages.size(), 1u);
  EXPECT_EQ(reporter.messages[0], kOlderSkinFileMessage);

  const std::vector<uint8_t> garbage = {1, 2, 3};
  error.clear();
  EXPECT_FALSE(LoadSkinPackage(garbage, d, reporter, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(d.SkinName, "before");
}

}  // namespace
}  // namespace skin
