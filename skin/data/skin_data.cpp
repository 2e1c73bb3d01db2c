#include "skin/data/skin_data.h"
#include "skin/data/skin_scaling.h"

#include <exception>
#include <fstream>
#include <new>

#include "framework/application.h"
#include "framework/forms.h"
#include "skin/manager/engine_phases.h"
#include "skin/manager/skin_manager.h"
#include "skin/store/skin_reader.h"

namespace skin {

namespace {

// The wrong-format message goes to the application's message box.
class ApplicationReporter final : public SkinReporter {
 public:
  void ShowMessage(std::string_view text) override {
    const std::string message(text);
    if (fw::TApplication* app = fw::Application()) {
      app->MessageBox(message);
    } else {
      MessageBoxA(nullptr, message.c_str(), "", MB_OK | MB_TASKMODAL);
    }
  }
  // Inside a hook or a window procedure a message box would run a loop of its own: the
  // fault goes to the debugger's output.
  void ReportFault(std::string_view where, std::string_view what) override {
    const std::string line =
        "skin engine fault in " + std::string(where) + ": " + std::string(what) + "\n";
    OutputDebugStringA(line.c_str());
  }
};

SkinReporter* g_reporter = nullptr;

// The module this code is linked into: the program, or the engine's DLL, whose resources
// travel with it.
HMODULE CodeModule() {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCSTR>(&CodeModule), &module))
    return GetModuleHandleA(nullptr);
  return module;
}

}  // namespace

std::optional<std::vector<uint8_t>> ReadSkinFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return std::nullopt;
  const std::streamoff size = file.tellg();
  if (size < 0 || size > kMaxSkinFileSize) {
    DebugLog("SkinFile: not read (unreadable or too large)");
    return std::nullopt;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  file.seekg(0);
  if (!file.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
  return bytes;
}

COLORREF ResolveColour(Colour colour) {
  if (IsSystemColour(colour)) return GetSysColor(SystemColourIndex(colour));
  return static_cast<COLORREF>(colour & 0x00FFFFFF);
}

const std::vector<std::string>& SkinControlTypeNames() {
  static const std::vector<std::string> names = {
      "xcMainMenu",  "xcPopupMenu",   "xcToolbar",     "xcControlbar", "xcCombo",
      "xcCheckBox",  "xcRadioButton", "xcProgress",    "xcScrollbar",  "xcEdit",
      "xcButton",    "xcBitBtn",      "xcSpeedButton", "xcPanel",      "xcGroupBox",
      "xcStatusBar", "xcTab",         "xcSystemMenu",  "xcFastReport",
  };
  return names;
}

const std::vector<std::string>& SkinFormTypeNames() {
  static const std::vector<std::string> names = {"sfMainform", "sfOnlyThisForm", "sfDialog"};
  return names;
}

const std::vector<std::string>& DefaultSkin3rd() {
  static const std::vector<std::string> lines = {
      "TTBDock=Panel",
      "TTBToolbar=Panel",
      "TImageEnMView=scrollbar",
      "TImageEnView=scrollbar",
      "TRzButton=button",
      "TRzCheckGroup=CheckGroup",
      "TRzRadioGroup=Radiogroup",
      "TRzRadioButton=Radiobutton",
      "TRzCheckBox=Checkbox",
      "TRzButtonEdit=Edit",
      "TRzDBRadioGroup=Radiogroup",
      "TRzDBRadioButton=Radiobutton",
      "TRzDBCheckBox=Checkbox",
      "TDBCheckboxEh=Checkbox",
      "TDBCheckboxEh=Checkbox",
      "TLMDCHECKBOX=Checkbox",
      "TLMDDBCHECKBOX=Checkbox",
      "TLMDRadiobutton=Radiobutton",
      "TLMDGROUPBOX=Panel",
      "TLMDSIMPLEPANEL=Panel",
      "TLMDDBCalendar=Panel",
      "TLMDButtonPanel=Panel",
      "TLMDLMDCalculator=Panel",
      "TLMDHeaderPanel=Panel",
      "TLMDTechnicalLine=Panel",
      "TLMDLMDClock=Panel",
      "TLMDTrackbar=trackbar",
      "TLMDListCombobox=combobox",
      "TLMDCheckListCombobox=combobox",
      "TLMDHeaderListCombobox=combobox",
      "TLMDImageCombobox=combobox",
      "TLMDColorCombobox=combobox",
      "TLMDFontCombobox=combobox",
      "TLMDFontSizeCombobox=combobox",
      "TLMDFontSizeCombobox=combobox",
      "TLMDPrinterCombobox=combobox",
      "TLMDDriveCombobox=combobox",
      "TLMDCalculatorComboBox=combobox",
      "TLMDTrackBarComboBox=combobox",
      "TLMDCalendarComboBox=combobox",
      "TLMDRADIOGROUP=radiogroup",
      "TLMDCheckGroup=CheckGroup",
      "TLMDDBRADIOGROUP=radiogroup",
      "TLMDDBCheckGroup=CheckGroup",
      "TLMDEDIT=Edit",
      "TLMDMASKEDIT=Edit",
      "TLMDBROWSEEDIT=Edit",
      "TLMDEXTSPINEDIT=Edit",
      "TLMDCALENDAREDIT=Edit",
      "TLMDFILEOPENEDIT=Edit",
      "TLMDFILESAVEEDIT=Edit",
      "TLMDCOLOREDIT=Edit",
      "TLMDDBEDIT=Edit",
      "TLMDDBMASKEDIT=Edit",
      "TLMDDBEXTSPINEDIT=Edit",
      "TLMDDBSPINEDIT=Edit",
      "TLMDDBEDITDBLookup=Edit",
      "TLMDEDITDBLookup=Edit",
      "TDBLookupCombobox=Combobox",
      "TWWDBCombobox=Combobox",
      "TWWDBLookupCombo=Combobox",
      "TWWDBCombobox=Combobox",
      "TWWKeyCombo=Combobox",
      "TWWTempKeyCombo=combobox",
      "TWWDBDateTimePicker=Combobox",
      "TWWRADIOGROUP=radiogroup",
      "TDXDBPICKEDIT=Combobox",
      "TDXDBCALCEDIT=Combobox",
      "TDXDBIMAGEEDIT=Combobox",
      "TDXDBPOPUPEDIT=Combobox",
      "TDXDBEXTLOOKUPEDIT=Combobox",
      "TDXDBLOOKUPEDIT=Combobox",
      "TDXDBDATEEDIT=Combobox",
      "TDXDATEEDIT=Combobox",
      "TDXPICKEDIT=Combobox",
      "TDXPOPUPEDIT=Combobox",
      "TDXDBCURRENCYEDIT=Edit",
      "TDXDBEDIT=Edit",
      "TDXDBMASKEDIT=Edit",
      "TDXDBHYPERLINKEDIT=Edit",
      "TDXEDIT=Edit",
      "TDXMASKEDIT=Edit",
      "TWWDBEDIT=Edit",
      "TDXBUTTONEDIT=Edit",
      "TDXCURRENCYEDIT=Edit",
      "TDXHYPERLINKEDIT=Edit",
      "TOVCPICTUREFIELD=Edit",
      "TOVCDBPICTUREFIELD=Edit",
      "TOVCSLIDEREDIT=Edit",
      "TOVCDBSLIDEREDIT=Edit",
      "TOVCSIMPLEFIELD=Edit",
      "TOVCDBSIMPLEFIELD=Edit",
      "TO32DBFLEXEDIT=Edit",
      "TOVCNUMERICFIELD=Edit",
      "TOVCDBNUMERICFIELD=Edit",
  };
  return lines;
}

const fw::TClassInfo& TSkinData::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinData, fw::TComponent>("TSkinData", [](auto& c) {
        c.Bool("Active", &TSkinData::Active, &TSkinData::SetActive);
        c.Integer(
            "DisableTag", [](const TSkinData& d) { return d.DisableTag; },
            [](TSkinData& d, int32_t v) { d.DisableTag = v; });
        c.Set(
            "SkinControls", SkinControlTypeNames(),
            [](const TSkinData& d) { return d.SkinControls.bits; },
            [](TSkinData& d, uint32_t bits) { d.SkinControls = TSkinControlTypes(bits); });
        c.StringList("Skin3rd", &TSkinData::Skin3rd, &TSkinData::SetSkin3rd);
        c.String("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile);
        c.String("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore);
        c.Enum(
            "SkinFormtype", SkinFormTypeNames(), [](const TSkinData& d) { return d.SkinFormtype; },
            [](TSkinData& d, TSkinFormType v) { d.SkinFormtype = v; });
        c.Bool(
            "MenuUpdate", [](const TSkinData& d) { return d.MenuUpdate; },
            [](TSkinData& d, bool v) { d.MenuUpdate = v; });
        c.Event("OnFormSkin", &TSkinData::OnFormSkin);
        c.Event("OnSkinChanged", &TSkinData::OnSkinChanged);
        c.Event("OnSkinControl", &TSkinData::OnSkinControl);
      });
  return info;
}

void RegisterSkinDataClass() { fw::RegisterComponentClass(TSkinData::StaticClassInfo()); }

SkinReporter& TSkinData::Reporter() {
  static ApplicationReporter application_reporter;
  return g_reporter ? *g_reporter : application_reporter;
}

void TSkinData::SetReporter(SkinReporter* reporter) { g_reporter = reporter; }

void ReportCaughtFault(const char* where) noexcept {
  try {
    std::string what = "unknown exception";
    try {
      throw;
    } catch (const std::exception& e) {
      what = e.what();
    } catch (...) {
    }
    TSkinData::Reporter().ReportFault(where, what);
  } catch (...) {
    // Reporting must not throw out of the boundary that called it.
  }
}

// The always-present records (strips, Title, Buttons) come with SkinDefinition.
TSkinData::TSkinData(fw::TComponent* owner) : fw::TComponent(owner) {
  store_ = std::make_unique<fw::TMemoryStream>();
  default_icon_ = std::make_unique<fw::TBitmap>();
  skin3rd_ = std::make_unique<fw::TStringList>();
  for (const std::string& line : DefaultSkin3rd()) skin3rd_->Add(line);
  // A program without the resource gets an empty list; the window menu then has no images.
  menu_glyphs_ = std::make_unique<fw::TImageList>(16, 16);
  try {
    menu_glyphs_->AddResource(CodeModule(), kMenuGlyphsResource, fw::clWhite);
  } catch (const std::exception&) {
    DebugLog("SKINMENUGLYPHS: resource missing");
  }
}

TSkinData::~TSkinData() {
  menu_glyphs_.reset();
  skin3rd_.reset();
  if (SkinManager) SkinManager->RemoveSkinData(this);
  store_.reset();
  default_icon_.reset();
  LeftStrip.reset();
  RightStrip.reset();
  TopStrip.reset();
  BottomStrip.reset();
  SysButtons.clear();
  Buttons.reset();
  Title.reset();
  face_brush_.reset();
  // The other slots go with SkinDefinition, then the component base.
}

void TSkinData::SetSkin3rd(const fw::TStringList& lines) { skin3rd_->Assign(lines); }

std::string TSkinData::SkinStore() const {
  return IsDesigning() && store_->Size() > 0 ? "(Good)" : "(none)";
}

void TSkinData::SetStoreBytes(std::vector<uint8_t> bytes) {
  *store_ = fw::TMemoryStream(std::move(bytes));
  // The loaded skin no longer comes from these bytes: no drawn art is read from them for it.
  drawn_.clear();
  drawn_read_ = true;
}

void TSkinData::ReadDrawnArt() {
  drawn_read_ = true;
  try {
    TSkinReader reader(Reporter());
    if (!reader.Load(store_->Bytes())) return;
    std::vector<uint8_t> text;
    std::string name;
    if (!reader.GetEntryByPartName(".ini", text, name)) return;
    const IniFile ini(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    drawn_ = ReadDrawnDefinitions(reader, ini, nullptr);
  } catch (const std::exception& e) {
    std::string line = "ReadDrawnArt: ";
    line += e.what();
    DebugLog(line.c_str());
    drawn_.clear();
  }
}

void TSkinData::DefineProperties(fw::TFiler& filer) {
  fw::TComponent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "SkinStream", [this](fw::TStream& s) { ReadSkinStream(s); },
      [this](fw::TStream& s) { WriteSkinStream(s); }, true);
}

// A count of 0 or below stands for no package. A count beyond the stored bytes is a
// damaged description: it is treated as no package rather than failing the form.
void TSkinData::ReadSkinStream(fw::TStream& stream) {
  if (stream.Remaining() < 4) {
    DebugLog("SkinStream: shorter than its count");
    return;
  }
  const int32_t count = stream.ReadInt32();
  if (count <= 0) return;
  if (count > stream.Remaining()) {
    DebugLog("SkinStream: count beyond the stored bytes, no package");
    return;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(count));
  stream.ReadBuffer(bytes.data(), bytes.size());
  SetStoreBytes(std::move(bytes));
  if (!IsDesigning()) LoadFromStore();
}

void TSkinData::WriteSkinStream(fw::TStream& stream) const {
  const int64_t size = store_->Size();
  stream.WriteInt32(static_cast<int32_t>(size));
  if (size > 0) stream.WriteBuffer(store_->Memory(), static_cast<size_t>(size));
}

// Faults of a damaged package (codec, container) and a package without a definition end
// the load without a skin and without a message: the only problem shown to the user is a
// wrong format mark. NoSkinLoaded stays set, so nothing is skinned with this component.
bool TSkinData::LoadFromStore() {
  NoSkinLoaded = true;
  scaled_.clear();
  drawn_.clear();
  drawn_read_ = false;
  if (IsDesigning()) return false;
  const PhaseTimer timer(EnginePhase::SkinLoad);
  // Caption buttons of skinned windows point into the records about to be replaced: they
  // go now, and the windows are refreshed with the new records on the timer.
  if (SkinManager && SkinManager->ClearFormCaches(this))
    SkinManager->ScheduleAction(ActRefresh, 250, this);
  try {
    TSkinReader reader(Reporter());
    if (!reader.Load(store_->Bytes())) return false;
    std::vector<uint8_t> text;
    std::string name;
    if (!reader.GetEntryByPartName(".ini", text, name)) {
      DebugLog("LoadFromStore: the package holds no skin definition");
      return false;
    }
    const IniFile ini(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    fetcher_.emplace(reader);
    struct FetcherReset {
      std::optional<ReaderImageFetcher>& f;
      ~FetcherReset() { f.reset(); }
    } fetcher_reset{fetcher_};
    struct Forward final : ImageFetcher {
      TSkinData& data;
      explicit Forward(TSkinData& d) : data(d) {}
      void FetchBitmap(PixelBitmap& target, std::string_view image_name) override {
        data.FetchBitmap(target, image_name);
      }
    } images(*this);
    ReadSkinDefinition(ini, images, *this);
    ReplaceFaceBrush();
    NoSkinLoaded = false;
    return true;
  } catch (const std::exception& e) {
    std::string line = "LoadFromStore: ";
    line += e.what();
    DebugLog(line.c_str());
    return false;
  }
}

std::shared_ptr<const SkinDefinition> TSkinData::ScaledFor(int dpi) {
  dpi = SkinScalingDpi(dpi);
  if (NoSkinLoaded || dpi == kBaseDpi) return nullptr;
  for (const auto& [scaled_dpi, skin] : scaled_)
    if (scaled_dpi == dpi) return skin;
  // Oldest first out: windows that still hold an evicted copy keep it alive.
  constexpr size_t kMaxScales = 4;
  if (scaled_.size() >= kMaxScales) scaled_.erase(scaled_.begin());
  // The art drawn for other DPIs is read only when a window first needs another scale: most
  // programs run at one scale, and most packages carry none.
  if (!drawn_read_) ReadDrawnArt();
  std::vector<int> drawn_dpis;
  for (const DrawnDefinition& d : drawn_) drawn_dpis.push_back(d.dpi);
  const int art_dpi = ChooseDrawnDpi(drawn_dpis, dpi);
  const DrawnDefinition* art = nullptr;
  for (const DrawnDefinition& d : drawn_)
    if (d.dpi == art_dpi) art = &d;
  auto skin = std::make_shared<const SkinDefinition>(
      art ? ScaleSkinDefinition(*this, dpi, &art->definition, art->dpi)
          : ScaleSkinDefinition(*this, dpi));
  scaled_.emplace_back(dpi, skin);
  return skin;
}

void TSkinData::FetchBitmap(PixelBitmap& target, std::string_view image_name) {
  if (fetcher_) {
    fetcher_->FetchBitmap(target, image_name);
  } else {
    target = PixelBitmap();
  }
}

void TSkinData::ReplaceFaceBrush() {
  face_brush_.reset(CreateSolidBrush(ResolveColour(ButtonFace)));
}

void TSkinData::SetSkinFile(const std::string& path) {
  NoSkinLoaded = true;
  skin_file_ = path;
  if (IsDesigning()) {
    if (!path.empty() && store_->Size() > 0) store_->Clear();
    return;
  }
  std::optional<std::vector<uint8_t>> bytes = ReadSkinFile(path);
  if (!bytes) return;
  SetStoreBytes(std::move(*bytes));
  LoadFromStore();
  ApplyNewSkin();
}

void TSkinData::ApplyNewSkin() {
  if (IsDesigning() || IsLoading()) return;
  if (!SkinManager) Loaded();
  SkinManager->ClearFormCaches();
  SkinManager->ScheduleAction(ActRefresh, 250, this);
}

void TSkinData::Loaded() {
  fw::TComponent::Loaded();
  if (IsDesigning()) return;
  TSkinManage* manager = CreateSkinManager();
  manager->AddSkinData(this);
  if (SkinFormtype != sfMainform) {
    manager->Active = true;
    ++manager->StartCount;
    if (auto* form = dynamic_cast<fw::TCustomForm*>(Owner())) manager->AttachWindow(form->Handle());
    return;
  }
  manager->InstallHook();
  if (active_) {
    if (NoSkinLoaded) {
      active_ = false;
    } else {
      manager->ScheduleAction(ActSkin, 250, this);
    }
  }
}

// A component created at run time that never went through Loaded has no manager to ask:
// the value is only stored.
void TSkinData::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (IsDesigning() || IsLoading() || !SkinManager) return;
  const int action = value ? ActSkin : ActUnskin;
  switch (SkinFormtype) {
    case sfMainform:
    case sfOnlyThisForm:
      if (value && NoSkinLoaded) return;
      SkinManager->ScheduleAction(action, 250, this);
      break;
    case sfDialog:
      break;
  }
}

void TSkinData::FormFilter(const std::string& class_name, bool& do_skin) {
  if (OnFormSkin) {
    OnFormSkin(this, class_name, do_skin);
    return;
  }
  if (class_name == "SysMonthCal32") do_skin = false;
  if (SkinControls.Contains(xcFastReport) && class_name.starts_with("Tfr")) do_skin = false;
}

void TSkinData::FireSkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}

}  // namespace skin
