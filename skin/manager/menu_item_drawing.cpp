#include "skin/manager/menu_item_drawing.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "framework/image_list.h"
#include "skin/data/skin_data.h"
#include "framework/dpi.h"
#include "skin/manager/element_painting.h"
#include "skin/manager/menu_item_layout.h"
#include "skin/manager/popup_menu.h"
#include "skin/manager/skin_manager.h"

namespace skin {

namespace {

bool HasItemElement(const SkinDefinition& data) {
  return data.MenuItem && !data.MenuItem->Image.Empty();
}
int LeftWidthOf(const SkinDefinition& data) { return data.MenuItem ? data.MenuItem->LeftWidth : 0; }

PixelRect Px(const RECT& r) { return ToPixelRect(r); }

// A widening of an item at the skin's DPI: its LeftWidth part comes scaled with the skin,
// the fixed pixels of the rest are scaled here.
int AtSkinDpi(const SkinDefinition& data, int widening) {
  const int left = HasItemElement(data) ? LeftWidthOf(data) : 0;
  return left + fw::ScaleForDpi(widening - left, data.Dpi, 96);
}

fw::TBitmap* NewSurfaceBitmap(int width, int height) {
  auto* bitmap = new fw::TBitmap();
  bitmap->SetPixelFormat(fw::pf32bit);
  bitmap->SetSize(width, height);
  UseMenuFont(bitmap->Canvas(), fw::SystemDpi());
  return bitmap;
}

// While skinned popup menus are open, their items are composed on one shared surface,
// grown to the largest item so far: making a bitmap, a DC and the menu font for every item
// was most of the drawing time. The last popup to close lets it go
// (ReleaseSharedMenuItemSurface), so nothing stays alive between menus.
// The composed faces are kept the same way: the items of one menu have one width, so a
// menu needs a face or two per state.
struct SharedFace {
  const TDataSkinObject* element = nullptr;
  int width = 0, height = 0;
  bool selected = false;
  std::unique_ptr<PreparedImage> image;
};
constexpr size_t kMaxSharedFaces = 16;

struct SharedDrawing {
  std::unique_ptr<fw::TBitmap> surface;
  std::vector<SharedFace> faces;
};

SharedDrawing& Shared() {
  static SharedDrawing shared;
  return shared;
}
std::unique_ptr<fw::TBitmap>& SharedSurface() { return Shared().surface; }

bool PopupMenuOpen() { return SkinManager && !SkinManager->Popups.empty(); }

// The off-screen surface an item is composed on: a 32-bit bitmap with its own canvas and
// the menu font, at least the item's size; the item uses its top left corner.
class ItemSurface {
 public:
  ItemSurface(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (!PopupMenuOpen()) {
      own_.reset(NewSurfaceBitmap(width, height));
      bitmap_ = own_.get();
      return;
    }
    std::unique_ptr<fw::TBitmap>& shared = SharedSurface();
    if (!shared || shared->Width() < width || shared->Height() < height) {
      const int w = shared ? std::max(shared->Width(), width) : width;
      const int h = shared ? std::max(shared->Height(), height) : height;
      shared.reset(NewSurfaceBitmap(w, h));
    }
    bitmap_ = shared.get();
  }
  fw::TCanvas& Canvas() { return bitmap_->Canvas(); }
  HDC Dc() { return bitmap_->Canvas().Handle(); }
  void CopyTo(fw::TCanvas& target, const RECT& rect) {
    BitBlt(target.Handle(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
           Dc(), 0, 0, SRCCOPY);
  }

 private:
  std::unique_ptr<fw::TBitmap> own_;
  fw::TBitmap* bitmap_ = nullptr;
};

// Fills the surface with the part of the popup's frame image under the item, or with
// MenuColour when the popup has no image.
void PaintBackground(const SkinDefinition& data, ItemSurface& surface, HMENU menu,
                     const RECT& rect) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  HBITMAP image = menu ? MenuBackgroundFor(menu) : nullptr;
  BITMAP info{};
  if (image && GetObjectA(image, sizeof info, &info) && info.bmWidth > 0 && info.bmHeight > 0) {
    fw::ScopedMemoryDc source(CreateCompatibleDC(surface.Dc()));
    fw::ScopedSelectObject select(source.get(), image);
    BitBlt(surface.Dc(), 0, 0, w, h, source.get(), rect.left + kPopupBorder,
           rect.top + kPopupBorder, SRCCOPY);
    return;
  }
  fw::ScopedBrush brush(CreateSolidBrush(ResolveColour(data.MenuColour)));
  const RECT local{0, 0, w, h};
  FillRect(surface.Dc(), &local, brush.get());
}

PixelBitmap ComposeFace(const TDataSkinObject& e, const RECT& local, bool selected) {
  return ComposeElement(ToPixelRect(local), e.Image,
                        {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight},
                        selected ? kMenuItemSelectedFrame : kMenuItemNormalFrame, kMenuItemFrames,
                        e.Tile != 0, false);
}

// The face at the surface's origin (`local` starts at 0, 0).
void DrawFace(const SkinDefinition& data, HDC dc, const RECT& local, bool selected) {
  const TDataSkinObject& e = *data.MenuItem;
  if (!PopupMenuOpen()) {
    DrawElement(dc, local, e.Image, {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight},
                selected ? kMenuItemSelectedFrame : kMenuItemNormalFrame, kMenuItemFrames,
                e.Trans != 0, e.Tile != 0, false);
    return;
  }
  const int w = local.right - local.left, h = local.bottom - local.top;
  if (w <= 0 || h <= 0) return;
  std::vector<SharedFace>& faces = Shared().faces;
  for (const SharedFace& face : faces)
    if (face.element == &e && face.width == w && face.height == h && face.selected == selected) {
      face.image->PutDown(dc, 0, 0);
      return;
    }
  if (faces.size() >= kMaxSharedFaces) faces.clear();
  faces.push_back({&e, w, h, selected,
                   std::make_unique<PreparedImage>(ComposeFace(e, local, selected), e.Trans != 0)});
  faces.back().image->PutDown(dc, 0, 0);
}

// The checkered 8 x 8 pattern of button face and button highlight behind a checked image.
fw::ScopedBrush CheckeredBrush() {
  fw::ScopedBitmap pattern(CreateBitmap(8, 8, 1, 1, nullptr));
  fw::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  {
    fw::ScopedSelectObject select(dc.get(), pattern.get());
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) SetPixel(dc.get(), x, y, ((x + y) & 1) ? 0xFFFFFF : 0);
  }
  // A monochrome pattern takes the DC's text colour for 0 bits and its background colour
  // for 1 bits when it is drawn; the caller sets them.
  return fw::ScopedBrush(CreatePatternBrush(pattern.get()));
}

// The system check mark (a monochrome bitmap, mark bits 0) in `colour`, transparent.
void DrawCheckMark(HDC dc, const PixelRect& box, COLORREF colour) {
  fw::ScopedBitmap mark(LoadBitmapA(nullptr, MAKEINTRESOURCEA(32760) /*OBM_CHECK*/));
  BITMAP info{};
  if (!mark || !GetObjectA(mark.get(), sizeof info, &info)) return;
  const auto [x, y] = CheckMarkOrigin(box, info.bmWidth, info.bmHeight);
  fw::ScopedMemoryDc source(CreateCompatibleDC(dc));
  fw::ScopedSelectObject select(source.get(), mark.get());
  fw::ScopedBrush brush(CreateSolidBrush(colour));
  fw::ScopedSelectObject use_brush(dc, brush.get());
  const COLORREF old_text = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF old_back = SetBkColor(dc, RGB(255, 255, 255));
  // ((D xor P) and S) xor P: the brush where the mark's bits are 0, the target elsewhere.
  BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source.get(), 0, 0, 0x00B8074A);
  SetTextColor(dc, old_text);
  SetBkColor(dc, old_back);
}

void DrawGlyph(fw::TMenuItem& item, fw::TCanvas& canvas, fw::TImageList* images,
               const PixelRect& box) {
  HDC dc = canvas.Handle();
  const int index = item.ImageIndex();
  if (images && index >= 0 && index < images->Count()) {
    RECT r = ToRect(box);
    if (item.Checked()) {
      fw::ScopedBrush pattern = CheckeredBrush();
      const COLORREF old_text = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
      const COLORREF old_back = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      FillRect(dc, &r, pattern.get());
      SetTextColor(dc, old_text);
      SetBkColor(dc, old_back);
      DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    }
    images->Draw(canvas, box.left, box.top, index, item.Enabled());
  } else if (item.Checked()) {
    DrawCheckMark(dc, box, GetSysColor(COLOR_BTNTEXT));
  }
}

}  // namespace

void UseMenuFont(fw::TCanvas& canvas, int dpi) {
  const LOGFONTA font = fw::SystemMenuFont();
  canvas.Font().SetName(font.lfFaceName);
  canvas.Font().SetHeight(fw::ScaleForDpi(font.lfHeight, dpi, fw::SystemDpi()));
  canvas.Font().SetCharset(font.lfCharSet);
  canvas.Font().SetStyle(0);
}

void ReleaseSharedMenuItemSurface() {
  Shared().faces.clear();
  Shared().surface.reset();
}

HBITMAP MenuBackgroundFor(HMENU menu) {
  return SkinManager ? SkinManager->PopupBackground(menu) : nullptr;
}

void MeasureMenuItem(const SkinDefinition& data, fw::TMenuItem& item, fw::TCanvas& canvas,
                     int& width, int& height) {
  // The standard measurement, whatever handler the item has (the skin's is the caller).
  item.DefaultMeasureItem(canvas, width, height);
  width += AtSkinDpi(data, MenuItemExtraWidth(HasItemElement(data), LeftWidthOf(data),
                                              item.GetImageList() != nullptr));
}

void MeasurePopupMenuItem(const SkinDefinition& data, fw::TMenuItem& item, fw::TCanvas&,
                          int& width) {
  width += AtSkinDpi(data, PopupItemExtraWidth(HasItemElement(data), LeftWidthOf(data),
                                               item.GetImageList() != nullptr));
}

void MeasureForeignMenuItem(const SkinDefinition& data, HWND window, HMENU dropdown, UINT command,
                            int& width, int& height) {
  char text[81] = {};
  if (dropdown) GetMenuStringA(dropdown, command, text, sizeof text, MF_BYCOMMAND);
  int text_width = 0;
  {
    fw::ScopedGetDc dc = fw::ScopedGetDc::Window(window);
    fw::TCanvas canvas;
    canvas.SetHandle(dc.get());
    UseMenuFont(canvas, data.Dpi);
    text_width = canvas.TextWidth(text);
    canvas.SetHandle(nullptr);
  }
  width =
      text_width + AtSkinDpi(data, ForeignItemWidth(0, HasItemElement(data), LeftWidthOf(data)));
  const int given = text[0] ? height : 0;  // without a caption the height is fixed
  height = given +
           fw::ScaleForDpi(
               ForeignItemHeight(height, text[0] == 0, (WindowsVersion & 0x80000000u) != 0) - given,
               data.Dpi, 96);
}

void DrawMenuItem(const SkinDefinition& data, fw::TMenuItem& item, fw::TCanvas& canvas,
                  bool selected, const RECT& rect, fw::TMenu* bar_menu) {
  if (!HasItemElement(data)) {
    DrawPlainMenuItem(data, item, canvas, selected, rect, bar_menu);
    return;
  }
  HMENU parent_menu = item.Parent() ? item.Parent()->Handle() : nullptr;
  // The first item drawn after a popup painted its frame tells that popup its menu.
  if (PendingPopup && parent_menu) {
    PendingPopup->SetMenu(parent_menu);
    PendingPopup = nullptr;
  }
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  ItemSurface surface(w, h);
  PaintBackground(data, surface, parent_menu, rect);
  if (!item.IsLine()) {
    const RECT local{0, 0, w, h};
    DrawFace(data, surface.Dc(), local, selected);
    DrawItemContents(data, item, surface.Canvas(), selected, local, bar_menu);
    surface.CopyTo(canvas, rect);
  } else {
    surface.CopyTo(canvas, rect);
    DrawMenuSeparator(data, canvas, rect);
  }
}

void DrawForeignMenuItem(const SkinDefinition& data, HMENU menu, fw::TMenuItem& item, bool selected,
                         const RECT& rect, fw::TCanvas& canvas) {
  if (!HasItemElement(data)) {
    DrawPlainMenuItem(data, item, canvas, selected, rect);
    return;
  }
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  ItemSurface surface(w, h);
  PaintBackground(data, surface, menu, rect);
  const RECT local{0, 0, w, h};
  DrawFace(data, surface.Dc(), local, selected);
  DrawItemContents(data, item, surface.Canvas(), selected, local);
  surface.CopyTo(canvas, rect);
}

void DrawPlainMenuItem(const SkinDefinition& data, fw::TMenuItem& item, fw::TCanvas& canvas,
                       bool selected, const RECT& rect, fw::TMenu* bar_menu) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  ItemSurface surface(w, h);
  const RECT local{0, 0, w, h};
  fw::ScopedBrush brush(CreateSolidBrush(ResolveColour(selected ? data.Hilight : data.MenuColour)));
  FillRect(surface.Dc(), &local, brush.get());
  DrawItemContents(data, item, surface.Canvas(), selected, local, bar_menu);
  surface.CopyTo(canvas, rect);
}

void DrawMenuSeparator(const SkinDefinition& data, fw::TCanvas& canvas, const RECT& rect) {
  if (!HasItemElement(data)) return;
  const TDataSkinObject& e = *data.MenuItem;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  PixelBitmap strip(w, h, PixelFormat::kBgra32);
  for (const SliceBlit& piece :
       SeparatorPieces(w, h, e.Image.Width(), e.Image.Height(), e.LeftWidth, e.RightWidth))
    StretchCopy(e.Image, piece.source, strip, piece.dest);
  DrawTransparent(canvas.Handle(), rect, strip, kMagentaKey);
}

void DrawItemContents(const SkinDefinition& data, fw::TMenuItem& item, fw::TCanvas& canvas,
                      bool selected, const RECT& rect, fw::TMenu* bar_menu) {
  item.UpdateFromAction();
  fw::TMenu* menu = item.GetParentMenu();
  if (!menu) menu = bar_menu;
  fw::TImageList* images = item.GetImageList();
  if (!images && menu) images = menu->Images();

  MenuItemLayoutInput in;
  in.item = Px(rect);
  in.glyph_side = MenuGlyphSide(images != nullptr, images ? images->Width() : 0, item.Checked());
  in.has_item_element = HasItemElement(data);
  in.left_width = LeftWidthOf(data);
  in.separator = item.IsLine();
  in.right_to_left = menu && menu->IsRightToLeft();

  const PixelRect box = MenuGlyphBox(in);
  if (!in.separator) DrawGlyph(item, canvas, images, box);

  const PixelRect area = MenuCaptionArea(in, box);
  RECT measured = ToRect(area);
  const UINT align = in.right_to_left ? DT_RIGHT : 0;
  DrawMenuText(data, item, canvas, item.Caption(),
               DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE | align, selected, measured);
  const PixelRect centred = CentredCaption(area, Px(measured), in.right_to_left);
  RECT caption = ToRect(centred);
  DrawMenuText(data, item, canvas, item.Caption(), DT_EXPANDTABS | DT_SINGLELINE | align, selected,
               caption);
  if (item.ShortCut() != fw::scNone) {
    RECT shortcut = ToRect(MenuShortcutArea(centred, area, in.right_to_left));
    DrawMenuText(data, item, canvas, item.ShortCutText(), in.right_to_left ? DT_LEFT : DT_RIGHT,
                 selected, shortcut);
  }
}

void DrawMenuText(const SkinDefinition& data, fw::TMenuItem& item, fw::TCanvas& canvas,
                  std::string text, UINT flags, bool selected, RECT& rect) {
  const bool measuring = (flags & DT_CALCRECT) != 0;
  // Empty captions still measure one line high.
  if (measuring && (text.empty() || text == "&")) text += ' ';
  if (text == "-") {
    if (measuring) return;
    RECT line = ToRect(SeparatorLineRect(Px(rect)));
    DrawEdge(canvas.Handle(), &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  canvas.Brush().SetStyle(fw::bsClear);
  const uint32_t style = canvas.Font().Style();
  if (item.Default()) canvas.Font().SetStyle(style | fw::fsBold);
  canvas.Font().SetColor(fw::TColor(MenuTextColour(data, item.Enabled(), selected)));
  canvas.DrawText(text, rect, flags);
  canvas.Font().SetStyle(style);
}

std::unique_ptr<fw::TMenuItem> ForeignMenuItem(HMENU menu, UINT command) {
  auto item = std::make_unique<fw::TMenuItem>(nullptr);
  MENUITEMINFOA mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_STATE | MIIM_FTYPE;
  if (GetMenuItemInfoA(menu, command, FALSE, &mii)) {
    item->SetEnabled((mii.fState & (MFS_GRAYED | MFS_DISABLED)) == 0);
    item->SetChecked((mii.fState & MFS_CHECKED) != 0);
  }
  char text[81] = {};
  GetMenuStringA(menu, command, text, sizeof text, MF_BYCOMMAND);
  item->SetCaption(text[0] ? std::string(text) : std::string("-"));
  return item;
}

}  // namespace skin
