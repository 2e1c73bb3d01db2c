#pragma once
// TSkinData: the non-visual component a form carries to skin itself. Its published
// properties say whether skinning is on, which kinds of controls are skinned, how foreign
// control classes map onto skin kinds and which forms it serves. It carries the packed
// skin in the form description (the binary "SkinStream" property) or loads one from a
// skin file, holds the loaded skin (the element slots and colours of SkinDefinition, read
// directly by the skinners: SkinData->Buttons, SkinData->ButtonFace, ...) and steers the
// process-wide skin manager.
//
// The skin definition is read straight from the package in memory; no temporary file is
// written.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/component.h"
#include "framework/graphics.h"
#include "framework/image_list.h"
#include "framework/scoped_handle.h"
#include "framework/stream.h"
#include "framework/string_list.h"
#include "skin/data/skin_definition.h"
#include "skin/store/skin_reporter.h"

namespace fw {
class TControl;
}

namespace skin {

// Kinds of controls and menus that are skinned (ordinal = bit number in TSkinControlTypes).
enum TSkinControlType : int {
  xcMainMenu,
  xcPopupMenu,
  xcToolbar,
  xcControlbar,
  xcCombo,
  xcCheckBox,
  xcRadioButton,
  xcProgress,
  xcScrollbar,
  xcEdit,
  xcButton,
  xcBitBtn,
  xcSpeedButton,
  xcPanel,
  xcGroupBox,
  xcStatusBar,
  xcTab,
  xcSystemMenu,
  xcFastReport,
};
inline constexpr int kSkinControlTypeCount = 19;

// A set of TSkinControlType, bit n for ordinal n.
struct TSkinControlTypes {
  uint32_t bits = 0;

  constexpr TSkinControlTypes() = default;
  constexpr explicit TSkinControlTypes(uint32_t b) : bits(b) {}
  constexpr bool Contains(TSkinControlType t) const { return (bits >> t) & 1u; }
  constexpr void Include(TSkinControlType t) { bits |= 1u << t; }
  constexpr void Exclude(TSkinControlType t) { bits &= ~(1u << t); }
  constexpr bool operator==(const TSkinControlTypes&) const = default;
};

// Every kind from xcMainMenu to xcSystemMenu: all but xcFastReport.
inline constexpr TSkinControlTypes kDefaultSkinControls{0x3FFFF};

// Which forms a component serves.
enum TSkinFormType : int { sfMainform, sfOnlyThisForm, sfDialog };

// Member names as the form description writes them.
const std::vector<std::string>& SkinControlTypeNames();
const std::vector<std::string>& SkinFormTypeNames();

// The 95 lines Skin3rd holds at creation (three of them repeated).
const std::vector<std::string>& DefaultSkin3rd();

// The largest skin file SkinFile reads; larger files are refused.
inline constexpr int64_t kMaxSkinFileSize = 64 * 1024 * 1024;

// A skin file's bytes, or nothing when there is no readable regular file at the path or it
// is larger than kMaxSkinFileSize.
std::optional<std::vector<uint8_t>> ReadSkinFile(const std::string& path);

// A skin colour as GDI takes it: system colour references read from the system now.
COLORREF ResolveColour(Colour colour);

class TSkinData;

// (Sender, class name, var DoSkin)
using TFormSkinEvent =
    fw::TEvent<void(fw::TObject* sender, const std::string& class_name, bool& do_skin)>;
// (Sender, SkinData, Form, Control, ControlClass, var SkinnedControl)
using TSkinControlEvent = fw::TEvent<void(
    fw::TComponent* sender, TSkinData* skin_data, fw::TControl* form, fw::TControl* control,
    const std::string& control_class, fw::TComponent*& skinned_control)>;

class TSkinData : public fw::TComponent, public SkinDefinition {
  FW_CLASS_INFO()

 public:
  explicit TSkinData(fw::TComponent* owner);
  ~TSkinData() override;

  // ---- published properties, in stream order ----
  bool Active() const { return active_; }
  void SetActive(bool value);
  int32_t DisableTag = 99;
  TSkinControlTypes SkinControls = kDefaultSkinControls;
  const fw::TStringList& Skin3rd() const { return *skin3rd_; }
  void SetSkin3rd(const fw::TStringList& lines);  // copies the lines
  const std::string& SkinFile() const { return skin_file_; }
  void SetSkinFile(const std::string& path);
  // "(Good)" while designed with a package in the store, "(none)" otherwise; writing it
  // has no effect.
  std::string SkinStore() const;
  void SetSkinStore(const std::string&) {}
  TSkinFormType SkinFormtype = sfMainform;
  bool MenuUpdate = true;
  TFormSkinEvent OnFormSkin;
  fw::TNotifyEvent OnSkinChanged;
  TSkinControlEvent OnSkinControl;

  // ---- operations ----
  void Loaded() override;
  void DefineProperties(fw::TFiler& filer) override;
  // Loads the skin from the package in the store; true when a definition was read.
  bool LoadFromStore();
  // Asks the manager to rebuild this component's forms with the newly loaded skin.
  void ApplyNewSkin();
  // Lets the application veto skinning a window class; do_skin comes in true.
  void FormFilter(const std::string& class_name, bool& do_skin);
  void FireSkinChanged();
  // The bitmap an image key names, from the package being loaded (empty otherwise).
  void FetchBitmap(PixelBitmap& target, std::string_view image_name);

  // ---- state the skinners read ----
  // True from creation and from the start of every load until a definition has been read
  // completely; no window is attached for a component with this flag set.
  bool NoSkinLoaded = true;
  // A solid brush of ButtonFace, made by each load (nullptr before the first).
  HBRUSH FaceBrush() const { return face_brush_.get(); }
  // 16 x 16 glyphs: 0 restore, 1 maximize, 2 minimize, 3 close (white transparent). Empty
  // (Count() 0) when the program carries no SKINMENUGLYPHS resource.
  fw::TImageList* MenuGlyphs() const { return menu_glyphs_.get(); }
  // Filled by the form controller with the first skinned window's icon; empty at first.
  fw::TBitmap& DefaultIcon() { return *default_icon_; }
  bool FramePaintOn = true;

  // The skin at `dpi`, scaled from the loaded one: nullptr at 96 DPI (the component itself
  // is that skin) and while no skin is loaded. Made on first use and kept per DPI until the
  // next load; a window holds on to its copy, so one in use outlives a load (it is then
  // replaced when the window is refreshed with the new skin).
  std::shared_ptr<const SkinDefinition> ScaledFor(int dpi);

  // The package bytes the store holds.
  const std::vector<uint8_t>& StoreBytes() const { return store_->Bytes(); }
  // Replaces the store's bytes (as reading "SkinStream" does, without loading).
  void SetStoreBytes(std::vector<uint8_t> bytes);

  // Where the wrong-format message goes; by default the application's message box.
  static void SetReporter(SkinReporter* reporter);
  static SkinReporter& Reporter();

 private:
  void ReadSkinStream(fw::TStream& stream);
  void WriteSkinStream(fw::TStream& stream) const;
  void ReplaceFaceBrush();

  bool active_ = false;
  std::string skin_file_;
  std::unique_ptr<fw::TStringList> skin3rd_;
  std::unique_ptr<fw::TMemoryStream> store_;
  std::unique_ptr<fw::TBitmap> default_icon_;
  std::unique_ptr<fw::TImageList> menu_glyphs_;
  fw::ScopedBrush face_brush_;
  // The scaled copies made since the last load, by DPI (a handful at most: one per
  // monitor scale the windows have been on).
  std::vector<std::pair<int, std::shared_ptr<const SkinDefinition>>> scaled_;
  // The package's art drawn for other DPIs (none for most packages), which the scaled
  // copies prefer over scaling the 96-DPI images; read from the store on first need.
  std::vector<DrawnDefinition> drawn_;
  bool drawn_read_ = true;
  void ReadDrawnArt();
  // Only while a load runs: fetches the definition's bitmaps from the package.
  std::optional<ReaderImageFetcher> fetcher_;
};

// Reports the exception being handled to the skin reporter as a fault caught at `where`.
// Called from a catch block at each place where the engine returns to the system (hooks,
// window procedures, the timer): no exception may unwind through user32.
void ReportCaughtFault(const char* where) noexcept;

// The resource name of the glyph strip.
inline constexpr const char* kMenuGlyphsResource = "SKINMENUGLYPHS";

// Registers TSkinData with the class registry so that descriptions can create it. A form
// whose description names TSkinData calls it before reading (a registration from a static
// initialiser would be lost: nothing else pulls this file out of the static library).
void RegisterSkinDataClass();

}  // namespace skin
