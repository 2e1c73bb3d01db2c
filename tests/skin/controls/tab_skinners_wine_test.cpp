// Tab controls in the four positions, tab sets, list headers and status bars drawn by their
// skinners, compared pixel for pixel with the portable composition in both built-in skins.
// Item texts are single spaces, so that every pixel of the skinned parts is known.
#include "skin/controls/tab_skinners.h"

#include <commctrl.h>

#include "framework/comctrls.h"
#include "framework/ext_ctrls.h"
#include "framework/list_view.h"
#include "framework/string_list.h"
#include "skin/controls/bar_geometry.h"
#include "skin/controls/bar_skinners.h"
#include "skin/controls/tab_geometry.h"
#include "tests/skin/controls/skinner_fixture.h"

namespace skin {
namespace {

using skintest::SkinnerFixture;

class TabSkinnerTest : public SkinnerFixture {
 protected:
  fw::TTabControl* AddTabs(fw::TTabPosition position, int tabs, const std::string& text = " ") {
    auto* c = Add<fw::TTabControl>(10, 10, 300, 200);
    c->SetTabPosition(position);
    fw::TStringList lines;
    for (int i = 0; i < tabs; ++i) lines.Add(text);
    c->SetTabs(lines);
    c->SetTabIndex(1);
    return c;
  }

  // The strip the skin draws, before it is turned into place, and the border, checked on
  // what the window shows.
  void ExpectTabControlSkinned(HWND hwnd) {
    const PixelBitmap shown = Shown(hwnd);
    const TDataSkinBorder& e = *data_->Tabs;
    const TabSide side =
        TabSideFromStyle(static_cast<uint32_t>(GetWindowLongPtrA(hwnd, GWL_STYLE)));
    RECT wr{};
    GetWindowRect(hwnd, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    RECT display{0, 0, w, h};
    SendMessageA(hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    const PixelRect border = PageBorderRect(PixelOf(display), side);
    const PixelRect strip_area = TabStripArea(border, w, h, side);
    const StripSize size = TabStripBitmapSize(strip_area, side);
    PixelBitmap tab_image = e.Image.Converted(PixelFormat::kBgr24);
    PixelBitmap border_image = e.Image2.Converted(PixelFormat::kBgr24);
    if (side == TabSide::kBottom) {
      FlipVertically(tab_image);
      FlipVertically(border_image);
    }
    if (side == TabSide::kLeft) RotateLeft(border_image);
    if (side == TabSide::kRight) RotateRight(border_image);

    PixelBitmap strip(size.width, size.height, PixelFormat::kBgr24);
    strip.Fill(Rgb(data_->ButtonFace));
    const int focused = static_cast<int>(SendMessageA(hwnd, TCM_GETCURFOCUS, 0, 0));
    const int count = static_cast<int>(SendMessageA(hwnd, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      RECT r{};
      SendMessageA(hwnd, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
      PutElement(strip, TabItemInStrip(PixelOf(r), border, size.width, w, side), tab_image,
                 MarginsOf(e), i == focused ? 2 : 1, e.FrameCount, e.Trans == 1, e.Tile != 0);
    }
    if (side == TabSide::kLeft) RotateLeft(strip);
    if (side == TabSide::kRight) RotateRight(strip);
    EXPECT_EQ(fwtest::CountDifferences(shown, strip_area.left, strip_area.top, strip), 0)
        << "tab strip, side " << int(side);

    // The border pieces lie on top: drawing them again onto what is shown changes nothing.
    PixelBitmap again = shown;
    ComposeElementOnto(again, border, border_image, {4, 5, 4, 4}, 1, 1, false, false, false);
    EXPECT_TRUE(again == shown) << "page border, side " << int(side);
  }
};

TEST_P(TabSkinnerTest, TabControlInEachPositionDrawsItsStripAndBorder) {
  for (fw::TTabPosition p : {fw::tpTop, fw::tpBottom, fw::tpLeft, fw::tpRight}) {
    auto* tabs = AddTabs(p, 3);
    AttachByHandle<TSkinTab>(tabs->Handle());
    ExpectTabControlSkinned(tabs->Handle());
    Free(tabs);
  }
}

TEST_P(TabSkinnerTest, SwitchingTheTabRepaintsAtOnce) {
  auto* tabs = AddTabs(fw::tpTop, 3);
  AttachByHandle<TSkinTab>(tabs->Handle());
  ExpectTabControlSkinned(tabs->Handle());
  tabs->SetTabIndex(2);
  ExpectTabControlSkinned(tabs->Handle());
}

TEST_P(TabSkinnerTest, ScrollArrowsGetTheirOwnSkinnerAndAreNotPaintedOver) {
  auto* tabs = AddTabs(fw::tpTop, 14, "A long tab");
  auto* skinner = AttachByHandle<TSkinTab>(tabs->Handle());
  fwtest::PumpFor(20);
  HWND arrows = FindWindowExA(tabs->Handle(), nullptr, "msctls_updown32", nullptr);
  ASSERT_NE(arrows, nullptr);
  ASSERT_NE(skinner->FUpDown, nullptr);
  EXPECT_EQ(skinner->FUpDown->FHandle, arrows);
  EXPECT_TRUE(skinner->FUpDown->Hooked());
  // The arrows show the up-down skin: their window's pixels are the horizontal elements'.
  SetCursorPos(5, 5);
  const PixelBitmap shown = Shown(arrows);
  RECT c{};
  GetClientRect(arrows, &c);
  const TDataSkinBorder& e = *data_->UpDownHorz;
  const PixelRect first{0, 0, c.right / 2, c.bottom};
  PixelBitmap expected(first.Width(), first.Height(), PixelFormat::kBgra32);
  expected.Fill(kMagentaKey);
  PutFrame(expected, {0, 0, first.Width(), first.Height()}, e.Image, 1, 8);
  PutFrame(
      expected,
      UpDownGlyphRect({0, 0, first.Width(), first.Height()}, e.Image2.Width(), e.Image2.Height()),
      e.Image2, 1, 8);
  EXPECT_EQ(fwtest::CountDifferences(shown, 0, 0, expected, true), 0);
  // Painting the tab control leaves them as they are.
  RedrawWindow(tabs->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  fwtest::PumpFor(20);
  EXPECT_TRUE(fwtest::ReadWindowPixels(arrows) == shown);
}

TEST_P(TabSkinnerTest, TabSetLeavesOutTabsThatDoNotFit) {
  auto* set = Add<fw::TTabSet>(10, 10, 120, 22);
  set->SetTabs(fw::TStringList({" ", std::string(60, ' '), " ", " "}));
  set->SetTabIndex(0);
  auto* skinner = Attach<TSkinTab31>(set);
  const PixelBitmap shown = Shown(set->Handle());
  const TDataSkinBorder& e = *data_->Tabs;
  PixelBitmap image = e.Image.Converted(PixelFormat::kBgr24);
  FlipVertically(image);
  fw::TCanvas measure;
  fw::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  measure.Font().Assign(set->Font());
  measure.SetHandle(dc.get());
  std::vector<int> widths;
  for (const std::string& t : set->Tabs().Lines()) widths.push_back(measure.TextWidth(t));
  measure.SetHandle(nullptr);
  const bool scroller = skinner->FScroller && IsWindowVisible(skinner->FScroller->Handle());
  const auto slots = LayoutTabSet(widths, set->FirstIndex(), set->StartMargin(), set->EndMargin(),
                                  120, 22, scroller);
  PixelBitmap expected = Face(120, 22);
  for (const TabSetSlot& s : slots)
    PutElement(expected, s.rect, image, MarginsOf(e), s.index == 0 ? 2 : 1, e.FrameCount,
               e.Trans == 1, e.Tile != 0);
  // The scroll button is its own window, not the tab set's painting.
  if (scroller) {
    RECT own{}, button{};
    GetWindowRect(set->Handle(), &own);
    GetWindowRect(skinner->FScroller->Handle(), &button);
    for (int y = button.top - own.top; y < button.bottom - own.top; ++y)
      for (int x = button.left - own.left; x < button.right - own.left; ++x)
        if (x >= 0 && y >= 0 && x < 120 && y < 22) expected.SetPixel(x, y, kMagentaKey);
    EXPECT_TRUE(skinner->FUpDown && skinner->FUpDown->FHorizontal);
  }
  EXPECT_EQ(fwtest::CountDifferences(shown, 0, 0, expected, true), 0);
  EXPECT_EQ(slots.size(), 3u);
}

TEST_P(TabSkinnerTest, HeaderItemsAndTheRestShowTheHeaderFrame) {
  auto* list = Add<fw::TListView>(10, 10, 300, 120);
  list->SetViewStyle(fw::vsReport);
  list->AddColumn("", 60);
  list->AddColumn("", 80);
  auto* skinner = Attach<TSkinListView>(list);
  ASSERT_NE(skinner->FHeader, nullptr);
  HWND header = skinner->FHeader->FHandle;
  EXPECT_EQ(header, list->HeaderHandle());
  EXPECT_TRUE(skinner->Hooked());
  const PixelBitmap shown = Shown(header);
  RECT hr{};
  GetWindowRect(header, &hr);
  const int w = hr.right - hr.left, h = hr.bottom - hr.top;
  const TDataSkinObject& e = *data_->Headerbar;
  PixelBitmap expected(w, h, PixelFormat::kBgra32);
  int right = 0;
  for (int i = 0; i < 2; ++i) {
    RECT r{};
    SendMessageA(header, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
    PutElement(expected, PixelOf(r), e.Image, MarginsOf(e), 1, e.FrameCount, false, e.Tile != 0);
    right = std::max<int>(right, r.right);
  }
  ASSERT_LT(right, w);
  PutElement(expected, {right, 0, w, h}, e.Image, MarginsOf(e), 1, e.FrameCount, false,
             e.Tile != 0);
  EXPECT_EQ(fwtest::CountDifferences(shown, 0, 0, expected), 0);
}

class StatusBarSkinnerTest : public SkinnerFixture {
 protected:
  fw::TStatusBar* AddBar() {
    auto* bar = Add<fw::TStatusBar>(0, 0, 400, 22);
    bar->AddPanel("", 100)->SetBevel(fw::pbLowered);
    bar->AddPanel("", 100)->SetBevel(fw::pbRaised);
    bar->AddPanel("", 100)->SetBevel(fw::pbNone);
    return bar;
  }
  PixelBitmap Expected(HWND hwnd, bool simple, bool grip) {
    RECT wr{};
    GetWindowRect(hwnd, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    PixelBitmap b = Face(w, h);
    const TDataSkinObject& e = *data_->StatusBarEdges;
    if (simple) {
      PutElement(b, {0, 0, w, h}, e.Image, MarginsOf(e), 1, 3, false, e.Tile != 0);
    } else {
      std::vector<PixelRect> rects;
      for (int i = 0; i < 3; ++i) {
        RECT r{};
        SendMessageA(hwnd, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r));
        rects.push_back(PixelOf(r));
      }
      rects = StatusPanelRects(rects, w);
      const PanelBevel bevels[3] = {PanelBevel::kLowered, PanelBevel::kRaised, PanelBevel::kNone};
      for (int i = 0; i < 3; ++i)
        PutElement(b, rects[static_cast<size_t>(i)], e.Image, MarginsOf(e), PanelFrame(bevels[i]),
                   3, false, e.Tile != 0);
    }
    if (grip) {
      const TDataSkinObject& x = *data_->ExtraImages;
      PutFrame(b, SizeGripRect(w, h, x.Image.Width(), x.Image.Height(), x.FrameCount), x.Image, 5,
               x.FrameCount);
    }
    return b;
  }
};

TEST_P(StatusBarSkinnerTest, PanelsBevelsAndTheSizeGrip) {
  auto* bar = AddBar();
  ASSERT_TRUE(bar->SizeGrip());
  Attach<TSkinStatusBar>(bar);
  EXPECT_EQ(
      fwtest::CountDifferences(Shown(bar->Handle()), 0, 0, Expected(bar->Handle(), false, true)),
      0);
  // An empty ExtraImages element: no grip.
  data_->ExtraImages->Image.Clear();
  EXPECT_EQ(
      fwtest::CountDifferences(Shown(bar->Handle()), 0, 0, Expected(bar->Handle(), false, false)),
      0);
}

TEST_P(StatusBarSkinnerTest, SimpleModeIsOneLoweredPanelWithTheSimpleText) {
  auto* bar = AddBar();
  bar->SetSizeGrip(false);
  bar->SetSimplePanel(true);
  Attach<TSkinStatusBar>(bar);
  EXPECT_EQ(
      fwtest::CountDifferences(Shown(bar->Handle()), 0, 0, Expected(bar->Handle(), true, false)),
      0);
  // The text shows in the panel text colour, at once.
  bar->SetSimpleText("Ready");
  const PixelBitmap shown = fwtest::ReadWindowPixels(bar->Handle());
  const int changed = fwtest::CountDifferences(shown, 0, 0, Expected(bar->Handle(), true, false));
  EXPECT_GT(changed, 10);
  int ink = 0;
  const uint32_t colour = Rgb(data_->StatusBarEdges->NormalColour2);
  for (int y = 0; y < shown.Height(); ++y)
    for (int x = 0; x < 60; ++x) ink += (shown.Pixel(x, y) & 0xFFFFFF) == colour;
  EXPECT_GT(ink, 5);
}

INSTANTIATE_TEST_SUITE_P(Skins, TabSkinnerTest, testing::Values("metallic.skn", "dark.skn"));
INSTANTIATE_TEST_SUITE_P(Skins, StatusBarSkinnerTest, testing::Values("metallic.skn", "dark.skn"));

}  // namespace
}  // namespace skin
