// Skinned menu item drawing on real device contexts, compared pixel for pixel with the
// portable composition of the same skin: faces, selection, separators of both kinds, the
// plain look, text colours of disabled items, check marks, default items, mirrored items.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/handle_counts.h"
#include "framework/image_list.h"
#include "framework/menus.h"
#include "skin/manager/element_compose.h"
#include "skin/manager/element_painting.h"
#include "skin/manager/menu_item_drawing.h"
#include "skin/manager/menu_item_layout.h"
#include "skin/manager/popup_menu.h"
#include "skin/manager/skin_manager.h"
#include "tests/skin/manager/menu_drawing_test_skin.h"
#include "tests/support/fw_test.h"

namespace {

using namespace menutest;
using skin::PixelBitmap;
using skin::PixelRect;

constexpr uint32_t kUntouched = skin::RgbColour(1, 2, 3);

// A 32-bit surface with a canvas, filled with kUntouched.
class Surface {
 public:
  Surface(int w, int h) : dib_(skin::CreateDibSection(w, h)), dc_(CreateCompatibleDC(nullptr)) {
    select_ = std::make_unique<fw::ScopedSelectObject>(dc_.get(), dib_.bitmap.get());
    fw::ScopedBrush brush(CreateSolidBrush(kUntouched));
    const RECT all{0, 0, w, h};
    FillRect(dc_.get(), &all, brush.get());
    canvas_.SetHandle(dc_.get());
    skin::UseMenuFont(canvas_, 96);
  }
  ~Surface() { canvas_.SetHandle(nullptr); }
  fw::TCanvas& Canvas() { return canvas_; }
  PixelBitmap Pixels() {
    GdiFlush();
    return skin::ReadDibPixels(dib_);
  }

 private:
  skin::DibSection dib_;
  fw::ScopedMemoryDc dc_;
  std::unique_ptr<fw::ScopedSelectObject> select_;
  fw::TCanvas canvas_;
};

// Pixels of `rect` of `actual` that differ from `expected` (drawn at the rect's origin).
int Differences(const PixelBitmap& actual, const PixelRect& rect, const PixelBitmap& expected) {
  int n = 0;
  for (int y = 0; y < rect.Height(); ++y)
    for (int x = 0; x < rect.Width(); ++x)
      if ((actual.Pixel(rect.left + x, rect.top + y) & 0xFFFFFF) !=
          (expected.Pixel(x, y) & 0xFFFFFF))
        ++n;
  return n;
}

int CountColour(const PixelBitmap& bitmap, const PixelRect& rect, uint32_t colour) {
  int n = 0;
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x)
      if ((bitmap.Pixel(x, y) & 0xFFFFFF) == colour) ++n;
  return n;
}

// The rightmost column of `rect` with a pixel other than the menu colour.
int InkRight(const PixelBitmap& bitmap, const PixelRect& rect) {
  int right = -1;
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x)
      if ((bitmap.Pixel(x, y) & 0xFFFFFF) != kMenuColour) right = std::max(right, x);
  return right;
}

PixelBitmap Face(int w, int h, int frame) {
  return skin::ComposeElement(PixelRect{0, 0, w, h}, MenuItemStrip(), {4, 0, 4, 0}, frame, 5, false,
                              false);
}

class MenuDrawingTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    data_ = std::make_unique<skin::TSkinData>(nullptr);
    FillMenuSkin(*data_);
    menu_ = std::make_unique<fw::TPopupMenu>(nullptr);
    item_ = new fw::TMenuItem(nullptr);
    menu_->Items()->Add(item_);
    menu_->Handle();
    before_ = fw::LiveHandleSnapshot();
  }
  void TearDown() override {
    // Every surface of the test is gone by now; the drawing kept nothing.
    EXPECT_EQ(fw::LiveHandleSnapshot().DifferenceFrom(before_), "");
    menu_.reset();
    data_.reset();
    ApplicationTest::TearDown();
  }
  std::unique_ptr<skin::TSkinData> data_;
  std::unique_ptr<fw::TPopupMenu> menu_;
  fw::TMenuItem* item_ = nullptr;
  fw::HandleSnapshot before_;
  const RECT rect_{10, 5, 130, 27};
  const PixelRect prect_{10, 5, 130, 27};
};

TEST_F(MenuDrawingTest, NormalAndSelectedFacesAreFramesOneAndFourOfMenuItem) {
  for (bool selected : {false, true}) {
    Surface s(150, 40);
    skin::DrawMenuItem(*data_, *item_, s.Canvas(), selected, rect_);
    const PixelBitmap px = s.Pixels();
    EXPECT_EQ(Differences(px, prect_, Face(120, 22, selected ? 4 : 1)), 0) << selected;
    // Nothing outside the item rectangle is touched.
    EXPECT_EQ(px.Pixel(9, 5) & 0xFFFFFF, kUntouched);
    EXPECT_EQ(px.Pixel(130, 26) & 0xFFFFFF, kUntouched);
    EXPECT_EQ(px.Pixel(10, 27) & 0xFFFFFF, kUntouched);
  }
}

// While a skinned popup is open its items share one surface and the composed faces; the
// pixels are those of the unshared drawing, drawing the same item again makes nothing new,
// and everything goes when the last popup does.
TEST_F(MenuDrawingTest, ItemsOfOpenPopupsShareOneSurfaceAndLookTheSame) {
  skin::TSkinManage* manager = skin::CreateSkinManager();
  const fw::HandleSnapshot with_manager = fw::LiveHandleSnapshot();
  manager->Popups.push_back(new skin::TSkinPopupMenu());
  item_->SetCaption("Item");
  const RECT wide{10, 5, 150, 35};
  const PixelRect pwide{10, 5, 150, 35};
  for (int pass = 0; pass < 2; ++pass) {
    for (bool selected : {false, true}) {
      Surface s(160, 40);
      skin::DrawMenuItem(*data_, *item_, s.Canvas(), selected, rect_);
      item_->SetCaption("");
      Surface bare(160, 40);
      skin::DrawMenuItem(*data_, *item_, bare.Canvas(), selected, rect_);
      EXPECT_EQ(Differences(bare.Pixels(), prect_, Face(120, 22, selected ? 4 : 1)), 0);
      item_->SetCaption("Item");
      // A larger item grows the surface; the smaller one drawn after it is unchanged.
      Surface big(160, 40);
      skin::DrawMenuItem(*data_, *item_, big.Canvas(), selected, wide);
      Surface again(160, 40);
      skin::DrawMenuItem(*data_, *item_, again.Canvas(), selected, rect_);
      const PixelBitmap first = s.Pixels(), later = again.Pixels();
      EXPECT_TRUE(first == later) << "selected " << selected;
      EXPECT_GT(CountColour(big.Pixels(), pwide, selected ? kHilightText : kMenuText), 10);
    }
    if (pass == 0) {
      // Everything the second pass needs exists already.
      Surface s(160, 40);
      const fw::HandleSnapshot warm = fw::LiveHandleSnapshot();
      skin::DrawMenuItem(*data_, *item_, s.Canvas(), true, wide);
      EXPECT_EQ(fw::LiveHandleSnapshot().DifferenceFrom(warm), "");
    }
  }
  EXPECT_NE(fw::LiveHandleSnapshot().DifferenceFrom(with_manager), "");
  for (skin::TSkinPopupMenu* popup : manager->Popups) delete popup;
  manager->Popups.clear();
  skin::ReleaseSharedMenuItemSurface();
  EXPECT_EQ(fw::LiveHandleSnapshot().DifferenceFrom(with_manager), "");
  skin::FreeSkinManager();
}

TEST_F(MenuDrawingTest, CaptionTakesTheTextColourOfItsState) {
  item_->SetCaption("WWWW");
  Surface normal(150, 40), selected(150, 40), disabled(150, 40);
  skin::DrawMenuItem(*data_, *item_, normal.Canvas(), false, rect_);
  skin::DrawMenuItem(*data_, *item_, selected.Canvas(), true, rect_);
  item_->SetEnabled(false);
  skin::DrawMenuItem(*data_, *item_, disabled.Canvas(), false, rect_);
  EXPECT_GT(CountColour(normal.Pixels(), prect_, kMenuText), 10);
  EXPECT_GT(CountColour(selected.Pixels(), prect_, kHilightText), 10);
  EXPECT_EQ(CountColour(selected.Pixels(), prect_, kMenuText), 0);
  EXPECT_GT(CountColour(disabled.Pixels(), prect_, kButtonShadow), 10);
  EXPECT_EQ(CountColour(disabled.Pixels(), prect_, kMenuText), 0);
  // A skin whose ButtonShadow is its MenuText: disabled text turns to the system grey.
  data_->ButtonShadow = kMenuText;
  Surface grey(150, 40);
  skin::DrawMenuItem(*data_, *item_, grey.Canvas(), false, rect_);
  EXPECT_GT(CountColour(grey.Pixels(), prect_, GetSysColor(COLOR_GRAYTEXT)), 10);
  EXPECT_EQ(CountColour(grey.Pixels(), prect_, kMenuText), 0);
}

TEST_F(MenuDrawingTest, SeparatorOfAnItemObjectIsTheFrameTwoStripOverTheBackground) {
  item_->SetCaption("-");
  Surface s(150, 40);
  const RECT r{10, 5, 130, 13};  // 8 high: the bottom 8 rows of the frame
  skin::DrawMenuItem(*data_, *item_, s.Canvas(), false, r);
  const PixelBitmap px = s.Pixels();
  // Expected: MenuColour (no popup image yet) with the strip's grey line where the strip is
  // not magenta.
  PixelBitmap expected(120, 8, skin::PixelFormat::kBgra32);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 120; ++x) expected.SetPixel(x, y, kMenuColour);
  PixelBitmap strip(120, 8, skin::PixelFormat::kBgra32);
  for (const auto& piece : skin::SeparatorPieces(120, 8, 100, 16, 4, 4))
    skin::StretchCopy(MenuItemStrip(), piece.source, strip, piece.dest);
  skin::TransparentCopy(expected, {0, 0, 120, 8}, strip);
  EXPECT_EQ(Differences(px, {10, 5, 130, 13}, expected), 0);
  EXPECT_GT(CountColour(px, {10, 5, 130, 13}, kSeparatorGrey), 100);
}

TEST_F(MenuDrawingTest, ForeignSeparatorGetsTheFaceAndAnEtchedLineFourPixelsDown) {
  auto foreign = std::make_unique<fw::TMenuItem>(nullptr);
  foreign->SetCaption("-");
  Surface s(150, 40);
  const RECT r{10, 5, 130, 15};
  skin::DrawForeignMenuItem(*data_, nullptr, *foreign, false, r, s.Canvas());
  const PixelBitmap px = s.Pixels();
  const PixelBitmap face = Face(120, 10, 1);
  // Rows above the line are the face; the line's row is the shadow colour from x = 3.
  EXPECT_EQ(Differences(px, {10, 5, 130, 9}, face), 0);
  EXPECT_EQ(px.Pixel(10 + 3, 5 + 4) & 0xFFFFFF, GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(px.Pixel(10 + 60, 5 + 4) & 0xFFFFFF, GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(px.Pixel(10 + 60, 5 + 5) & 0xFFFFFF, GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(px.Pixel(10 + 2, 5 + 4) & 0xFFFFFF, face.Pixel(2, 4) & 0xFFFFFF);
}

TEST_F(MenuDrawingTest, PlainLookWithoutTheMenuItemElement) {
  FillMenuSkin(*data_, false, false);
  item_->SetCaption("");
  for (bool selected : {false, true}) {
    Surface s(150, 40);
    skin::DrawMenuItem(*data_, *item_, s.Canvas(), selected, rect_);
    const PixelBitmap px = s.Pixels();
    EXPECT_EQ(CountColour(px, prect_, selected ? kHilight : kMenuColour), 120 * 22) << selected;
  }
}

TEST_F(MenuDrawingTest, CheckMarkWithoutImageSitsCentredInTheGlyphBox) {
  FillMenuSkin(*data_, false, false);
  item_->SetChecked(true);
  Surface s(150, 40);
  skin::DrawMenuItem(*data_, *item_, s.Canvas(), false, rect_);
  const PixelBitmap px = s.Pixels();
  const COLORREF mark = GetSysColor(COLOR_BTNTEXT);
  // Glyph box: (item left + 1, item top + 1), 16 square; the mark is inside it only.
  const PixelRect box{11, 6, 27, 22};
  const int inside = CountColour(px, box, mark);
  EXPECT_GT(inside, 5);
  EXPECT_EQ(CountColour(px, prect_, mark), inside);
}

TEST_F(MenuDrawingTest, CheckedItemWithAnImageGetsTheSunkenCheckeredBox) {
  FillMenuSkin(*data_, false, false);
  fw::TImageList images(12, 12);
  {
    fw::TBitmap picture;
    picture.SetPixelFormat(fw::pf24bit);
    picture.SetSize(12, 12);
    picture.Canvas().Brush().SetColor(fw::clLime);
    picture.Canvas().FillRect({0, 0, 12, 12});
    images.Add(picture, nullptr);
  }
  menu_->SetImages(&images);
  item_->SetImageIndex(0);
  item_->SetChecked(true);
  Surface s(150, 40);
  skin::DrawMenuItem(*data_, *item_, s.Canvas(), false, rect_);
  const PixelBitmap px = s.Pixels();
  const PixelRect box{11, 6, 27, 22};  // 16 square though the images are 12
  EXPECT_EQ(px.Pixel(box.left + 14, box.top) & 0xFFFFFF, GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(px.Pixel(box.right - 1, box.bottom - 1) & 0xFFFFFF, GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(CountColour(px, box, 0x00FF00), 144);  // the image at the box's top-left
  // The checkered pattern alternates button face and highlight inside the edge.
  const uint32_t a = px.Pixel(box.left + 13, box.top + 13) & 0xFFFFFF;
  const uint32_t b = px.Pixel(box.left + 14, box.top + 13) & 0xFFFFFF;
  EXPECT_NE(a, b);
  EXPECT_TRUE(a == GetSysColor(COLOR_BTNFACE) || a == GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_TRUE(b == GetSysColor(COLOR_BTNFACE) || b == GetSysColor(COLOR_BTNHIGHLIGHT));
  menu_->SetImages(nullptr);
}

TEST_F(MenuDrawingTest, DefaultItemIsBoldAndMirroredItemsPutTheGlyphRight) {
  FillMenuSkin(*data_, false, false);
  item_->SetCaption("Menu");
  Surface plain(150, 40), bold(150, 40);
  skin::DrawMenuItem(*data_, *item_, plain.Canvas(), false, rect_);
  item_->SetDefault(true);
  skin::DrawMenuItem(*data_, *item_, bold.Canvas(), false, rect_);
  EXPECT_GT(InkRight(bold.Pixels(), prect_), InkRight(plain.Pixels(), prect_));

  item_->SetDefault(false);
  item_->SetChecked(true);
  item_->SetShortCut(fw::ShortCut('O', fw::scCtrl));
  menu_->SetBiDiMode(fw::bdRightToLeft);
  Surface rtl(150, 40);
  skin::DrawMenuItem(*data_, *item_, rtl.Canvas(), false, rect_);
  const PixelBitmap px = rtl.Pixels();
  const COLORREF mark = GetSysColor(COLOR_BTNTEXT);
  EXPECT_GT(CountColour(px, {113, 6, 129, 22}, mark), 5);  // glyph box at the right edge
  EXPECT_EQ(CountColour(px, {11, 6, 27, 22}, mark == kMenuText ? 0xFFFFFFFF : mark), 0);
  // The shortcut starts 10 pixels in from the left edge of the caption area (x = 11 + 10).
  EXPECT_EQ(CountColour(px, {10, 5, 21, 27}, kMenuText), 0);
  EXPECT_GT(CountColour(px, {21, 5, 60, 27}, kMenuText), 5);
}

TEST_F(MenuDrawingTest, MeasuringAddsTheSkinWidening) {
  Surface s(10, 10);
  item_->SetCaption("Open");
  int w = 0, h = 0, base_w = 0, base_h = 0;
  item_->DefaultMeasureItem(s.Canvas(), base_w, base_h);
  skin::MeasureMenuItem(*data_, *item_, s.Canvas(), w, h);
  EXPECT_EQ(w, base_w + 4 + 35);
  EXPECT_EQ(h, base_h);
  int popup_w = 50;
  skin::MeasurePopupMenuItem(*data_, *item_, s.Canvas(), popup_w);
  EXPECT_EQ(popup_w, 50 + 4 + 35);
  // An item known only by its menu handle is measured from its text.
  fw::ScopedMenu native(CreatePopupMenu());
  AppendMenuA(native.get(), MF_STRING, 77, "Native");
  AppendMenuA(native.get(), MF_STRING, 78, "");
  const int text_width = s.Canvas().TextWidth("Native");
  int fw_ = 0, fh = 15;
  skin::MeasureForeignMenuItem(*data_, GetDesktopWindow(), native.get(), 77, fw_, fh);
  EXPECT_EQ(fw_, text_width + 26 + 4);
  EXPECT_EQ(fh, 19);
  fh = 15;
  skin::MeasureForeignMenuItem(*data_, GetDesktopWindow(), native.get(), 78, fw_, fh);
  EXPECT_EQ(fh, 8);
  // The temporary item takes the entry's text and state; an empty text is a separator.
  EnableMenuItem(native.get(), 77, MF_BYCOMMAND | MF_GRAYED);
  CheckMenuItem(native.get(), 77, MF_BYCOMMAND | MF_CHECKED);
  auto item = skin::ForeignMenuItem(native.get(), 77);
  EXPECT_EQ(item->Caption(), "Native");
  EXPECT_FALSE(item->Enabled());
  EXPECT_TRUE(item->Checked());
  EXPECT_TRUE(skin::ForeignMenuItem(native.get(), 78)->IsLine());
}

}  // namespace
