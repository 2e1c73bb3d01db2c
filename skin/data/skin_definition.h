#pragma once
// A whole skin as the definition reads: every element slot, the caption buttons, the
// colour scheme, the extra colours and the skin name. Window-free and self-contained, so
// the skin data component can build on it and tools and tests can read skins natively.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/colour_scheme.h"
#include "skin/data/ini_file.h"
#include "skin/data/skin_elements.h"
#include "skin/store/skin_reader.h"
#include "skin/store/skin_reporter.h"

namespace skin {

// Supplies the bitmap an image key names. The rules for image names (the file-name part
// after the last "\" or ":", the exact ".bmp" extension, lookup in lower case) are the
// fetcher's to apply; a name that is refused or not found clears the target.
class ImageFetcher {
 public:
  virtual ~ImageFetcher() = default;
  virtual void FetchBitmap(PixelBitmap& target, std::string_view image_name) = 0;
};

// The colour scheme fields are members of the definition itself (from ColourScheme).
// Slots: LeftStrip, RightStrip, TopStrip, BottomStrip, Title and Buttons always hold a
// record (a moved-from definition excepted); every other slot is empty when the skin
// gives no such element.
struct SkinDefinition : ColourScheme {
  SkinDefinition();
  SkinDefinition(SkinDefinition&&) = default;
  SkinDefinition& operator=(SkinDefinition&&) = default;

  std::unique_ptr<TDataSkinBorder> LeftStrip, RightStrip, TopStrip, BottomStrip;
  std::unique_ptr<TDataSkinTitle> Title;
  std::unique_ptr<TDataSkinButton> Buttons;
  // One per caption-button section in file order, then the three MDI child buttons.
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;

  std::unique_ptr<TDataSkinBorder> Progress;
  std::unique_ptr<TDataSkinObject> MenuBarElement;
  std::unique_ptr<TDataSkinObject> GroupBoxEdge;
  std::unique_ptr<TDataSkinObject> Toolbars;
  std::unique_ptr<TDataSkinBorder> Tabs;
  std::unique_ptr<TDataSkinObject> StatusBarEdges;
  std::unique_ptr<TDataSkinBorder> ComboButton;
  std::unique_ptr<TDataSkinObject> SunkEdge;
  std::unique_ptr<TDataSkinObject> ExtraImages;
  std::unique_ptr<TDataSkinObject> Headerbar;
  std::unique_ptr<TDataSkinObject> MenuItem;
  std::unique_ptr<TDataSkinObject> MenuBackground;
  std::unique_ptr<TDataSkinObject> Scrollbar;
  std::unique_ptr<TDataSkinObject> HorzScroll;
  std::unique_ptr<TDataSkinObject> VertScroll;
  std::unique_ptr<TDataSkinObject> HorzScrollThumb;
  std::unique_ptr<TDataSkinObject> VertScrollThumb;
  std::unique_ptr<TDataSkinObject> TrackbarThumbHorz;
  std::unique_ptr<TDataSkinObject> TrackbarThumbVert;
  std::unique_ptr<TDataSkinObject> TrackbarThumbLeft;
  std::unique_ptr<TDataSkinObject> TrackbarThumbRight;
  std::unique_ptr<TDataSkinObject> TrackbarThumbUp;
  std::unique_ptr<TDataSkinObject> TrackbarThumbDown;
  std::unique_ptr<TDataSkinBorder> UpDownHorz;
  std::unique_ptr<TDataSkinBorder> UpDownVert;

  std::string SkinName;
  // The pixels per inch the lengths and images are at: 96 as read, another value for a
  // copy scaled to a monitor's DPI.
  int Dpi = 96;
};

// Every slot except the caption buttons, in reading order (strips, Title, Buttons,
// Progress, MenuBarElement, ... UpDownVert), with its name and its record (nullptr when the
// slot is empty); for tools that walk all slots.
struct SlotView {
  const char* name;
  const TDataSkinObject* record;
};
std::vector<SlotView> ListSlots(const SkinDefinition& definition);

// Reads the whole definition into `definition`, in the fixed order: skin name, frame
// strips, colour scheme, caption buttons and MDI buttons, [Buttons], title, progress, menu
// bar, the other elements, the combo button's mirrored second image, the up-down
// elements, and the frame counts. The always-present records are refilled in place (their
// addresses stay); every other slot is freed and re-created only if its image key is
// non-empty. Nothing is an error: missing keys take their defaults.
void ReadSkinDefinition(const IniFile& ini, ImageFetcher& images, SkinDefinition& definition);

// Fetches bitmaps from a loaded package reader (FetchImageEntry's name rules) and decodes
// them. An entry that is not a valid bitmap file leaves the target empty; its fault is
// kept in Problems() ("name.bmp: reason") so tools can report it.
//
// A definition may name one large bitmap from thousands of caption-button sections, so
// the pixels handed out over the fetcher's life are budgeted: once kPixelBudget pixels
// have been delivered, further bitmaps come back empty (and are recorded as problems).
// Real skins use a few hundred thousand pixels.
//
// With a drawn DPI above 0 the fetcher hands out the art drawn for that resolution
// instead: an image name "name.bmp" fetches the entry "name@<drawn_dpi>.bmp", and a name
// without such an entry leaves the target empty (not a problem). The budget is the
// fetcher's, whatever resolutions it fetches for.
class ReaderImageFetcher : public ImageFetcher {
 public:
  static constexpr int64_t kPixelBudget = int64_t(1) << 25;

  explicit ReaderImageFetcher(const TSkinReader& reader, int drawn_dpi = 0)
      : reader_(reader), drawn_dpi_(drawn_dpi) {}
  void SetDrawnDpi(int drawn_dpi) { drawn_dpi_ = drawn_dpi; }
  void FetchBitmap(PixelBitmap& target, std::string_view image_name) override;
  const std::vector<std::string>& Problems() const { return problems_; }

 private:
  const TSkinReader& reader_;
  int drawn_dpi_;
  std::vector<uint8_t> scratch_;
  std::vector<std::string> problems_;
  int64_t pixels_delivered_ = 0;
};

// Skins are drawn for kBaseDpi; they are scaled to, and may carry art drawn for,
// resolutions up to kMaxSkinDpi (and scaled down to kMinSkinDpi).
inline constexpr int kBaseDpi = 96;
inline constexpr int kMinSkinDpi = kBaseDpi / 4;
inline constexpr int kMaxSkinDpi = 4 * kBaseDpi;

// The resolutions a package carries drawn art for, ascending: every number N above
// kBaseDpi up to kMaxSkinDpi, written without leading zeros, of an entry named
// "<name>@N.bmp" with a non-empty name.
std::vector<int> DrawnDpis(const TSkinReader& reader);
// The resolution an entry name "<name>@N.bmp" carries art for by that rule, or 0.
int DrawnDpiOf(std::string_view entry_name);

// A definition read with the art drawn for `dpi` (see ReaderImageFetcher).
struct DrawnDefinition {
  int dpi = 0;
  SkinDefinition definition;
};

// Reads a whole skin from the bytes of a package (a skin file): expands it, takes the
// first entry whose name contains ".ini" as the definition and reads it with its bitmaps.
// False with *error (if given) when the format mark is wrong (the reporter has shown the
// message), when the codec or the container is faulty, or when there is no definition;
// `definition` is then untouched. `image_problems` (if given) receives the bitmaps that
// did not decode. `drawn` (if given) receives one definition for each of the first
// kMaxDrawnDpis of the package's DrawnDpis, read from the same definition with that
// resolution's art; all of them share one pixel budget.
inline constexpr size_t kMaxDrawnDpis = 4;
// The drawn definitions of a loaded package as LoadSkinPackage gives them; the bitmaps
// that did not decode are added to *image_problems (if given).
std::vector<DrawnDefinition> ReadDrawnDefinitions(const TSkinReader& reader, const IniFile& ini,
                                                  std::vector<std::string>* image_problems);
bool LoadSkinPackage(std::span<const uint8_t> package, SkinDefinition& definition,
                     SkinReporter& reporter, std::string* error,
                     std::vector<std::string>* image_problems = nullptr,
                     std::vector<DrawnDefinition>* drawn = nullptr);

}  // namespace skin
