// TSkinData under Wine: creation values, the stored properties and the SkinStream block,
// loading from descriptions and skin files (good, spoiled and missing), switching on and
// off, the form filter, the glyphs, and what the component asks of the skin manager.
#include "skin/data/skin_data.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "framework/form_reader.h"
#include "framework/forms.h"
#include "tests/skin/data/skin_data_test_util.h"
#include "tests/support/fw_test.h"

namespace {

using skin::ActRefresh;
using skin::ActSkin;
using skin::ActUnskin;
using skin::SkinManager;
using skin::TSkinData;
using skintest::Req;
using testing::ElementsAre;
using testing::IsEmpty;

constexpr const char* kOlderSkinMessage = "This is Older Skin File\rPlease update to new version !";

class SkinDataTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    skin::TSkinManage::RecordRequests = true;
    skin::RegisterSkinDataClass();
    metallic_ = skintest::ReadBytes(skintest::PackagePath("metallic.skn"));
    ASSERT_FALSE(metallic_.empty());
  }

  // A form read from a description whose only component is a TSkinData with these
  // properties (the SkinStream block last, if given).
  std::unique_ptr<fw::TForm> ReadForm(std::vector<fw::FormProperty> properties) {
    fw::FormObject skin_object{"SkinData1", "TSkinData", std::move(properties), {}, 0};
    fw::FormObject form_object{
        "Form" + std::to_string(++forms_read_), "TForm", {}, {skin_object}, 0};
    auto form = std::make_unique<fw::TForm>(&App());
    fw::ReadComponent(*form, form_object);
    return form;
  }
  static fw::FormProperty Stream(const std::vector<uint8_t>& package) {
    std::vector<uint8_t> block(4);
    const uint32_t n = static_cast<uint32_t>(package.size());
    for (int i = 0; i < 4; ++i) block[i] = static_cast<uint8_t>(n >> (8 * i));
    block.insert(block.end(), package.begin(), package.end());
    return {"SkinStream", fw::FormValue::Binary(block), 0};
  }
  static fw::FormProperty Prop(const char* name, fw::FormValue v) {
    return {name, std::move(v), 0};
  }
  static TSkinData& SkinDataOf(fw::TForm& form) {
    auto* data = dynamic_cast<TSkinData*>(form.FindComponent("SkinData1"));
    EXPECT_NE(data, nullptr);
    return *data;
  }

  skintest::FreshManager fresh_manager_;
  std::vector<uint8_t> metallic_;
  int forms_read_ = 0;
};

TEST_F(SkinDataTest, CreatedAtRunTimeHasTheCreationValues) {
  TSkinData data(nullptr);
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(data.DisableTag, 99);
  EXPECT_EQ(data.SkinControls.bits, 0x3FFFFu);
  EXPECT_FALSE(data.SkinControls.Contains(skin::xcFastReport));
  EXPECT_TRUE(data.SkinControls.Contains(skin::xcSystemMenu));
  EXPECT_EQ(data.SkinFile(), "");
  EXPECT_EQ(data.SkinFormtype, skin::sfMainform);
  EXPECT_TRUE(data.MenuUpdate);
  EXPECT_TRUE(data.NoSkinLoaded);
  EXPECT_TRUE(data.FramePaintOn);
  EXPECT_TRUE(data.DefaultIcon().Empty());
  EXPECT_EQ(data.FaceBrush(), nullptr);
  EXPECT_TRUE(data.StoreBytes().empty());

  // The default Skin3rd list: 95 lines in order, three of them twice.
  const fw::TStringList& lines = data.Skin3rd();
  ASSERT_EQ(lines.Count(), 95);
  EXPECT_EQ(lines[0], "TTBDock=Panel");
  EXPECT_EQ(lines[14], "TDBCheckboxEh=Checkbox");
  EXPECT_EQ(lines[13], lines[14]);
  EXPECT_EQ(lines[33], "TLMDFontSizeCombobox=combobox");
  EXPECT_EQ(lines[34], lines[33]);
  EXPECT_EQ(lines[59], "TWWDBCombobox=Combobox");
  EXPECT_EQ(lines[61], lines[59]);
  EXPECT_EQ(lines[94], "TOVCDBNUMERICFIELD=Edit");
  std::vector<std::string> sorted = lines.Lines();
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::unique(sorted.begin(), sorted.end()) - sorted.begin(), 92);

  // The always-present records exist, empty, with their names.
  ASSERT_TRUE(data.Buttons && data.Title && data.LeftStrip && data.RightStrip && data.TopStrip &&
              data.BottomStrip);
  EXPECT_EQ(data.Buttons->Name, "Buttons");
  EXPECT_EQ(data.Title->Name, "Title");
  EXPECT_EQ(data.LeftStrip->Name, "Left");
  EXPECT_EQ(data.BottomStrip->Name, "Bottom");
  EXPECT_TRUE(data.Buttons->Image.Empty());
  EXPECT_EQ(data.Progress, nullptr);
  EXPECT_TRUE(data.SysButtons.empty());
  // Creating a component does not make a manager.
  EXPECT_EQ(SkinManager, nullptr);
}

TEST_F(SkinDataTest, SkinStoreIsAStatusTextOnly) {
  TSkinData data(nullptr);
  EXPECT_EQ(data.SkinStore(), "(none)");
  data.SetStoreBytes(metallic_);
  EXPECT_EQ(data.SkinStore(), "(none)");  // at run time always
  data.SetDesigning(true);
  EXPECT_EQ(data.SkinStore(), "(Good)");
  data.SetSkinStore("anything");
  EXPECT_EQ(data.StoreBytes(), metallic_);
  data.SetStoreBytes({});
  EXPECT_EQ(data.SkinStore(), "(none)");
}

TEST_F(SkinDataTest, WritesEveryPropertyInOrderAndAnEmptyStoreAsFourZeroBytes) {
  TSkinData data(nullptr);
  data.SetName("SkinData1");
  const fw::FormObject written = fw::WriteComponentProperties(data);
  std::vector<std::string> names;
  for (const auto& p : written.properties) names.push_back(p.name);
  EXPECT_THAT(names,
              ElementsAre("Tag", "Active", "DisableTag", "SkinControls", "Skin3rd", "SkinFile",
                          "SkinStore", "SkinFormtype", "MenuUpdate", "SkinStream"))
      << "(Tag is the component base's)";
  const fw::FormProperty* stream = written.FindProperty("SkinStream");
  ASSERT_NE(stream, nullptr);
  EXPECT_THAT(stream->value.bytes, ElementsAre(0, 0, 0, 0));
  const fw::FormProperty* controls = written.FindProperty("SkinControls");
  ASSERT_NE(controls, nullptr);
  EXPECT_EQ(controls->value.set.size(), 18u);
  EXPECT_EQ(controls->value.set.front(), "xcMainMenu");
  EXPECT_EQ(controls->value.set.back(), "xcSystemMenu");
  EXPECT_EQ(written.FindProperty("SkinStore")->value.text, "(none)");
  EXPECT_EQ(written.FindProperty("SkinFormtype")->value.text, "sfMainform");
  EXPECT_EQ(written.FindProperty("Skin3rd")->value.list.size(), 95u);

  data.SetStoreBytes({7, 8, 9});
  const fw::FormObject with_bytes = fw::WriteComponentProperties(data);
  EXPECT_THAT(with_bytes.FindProperty("SkinStream")->value.bytes, ElementsAre(3, 0, 0, 0, 7, 8, 9));
}

TEST_F(SkinDataTest, FormReadingLoadsTheStoredSkinAndLoadedSchedulesTheFirstSkinning) {
  const skin::SkinDefinition reference = skintest::ReferenceDefinition(metallic_);
  auto form = ReadForm({Prop("Active", fw::FormValue::Ident("True")), Stream(metallic_)});
  TSkinData& data = SkinDataOf(*form);
  EXPECT_FALSE(data.NoSkinLoaded);
  EXPECT_TRUE(data.Active());
  EXPECT_EQ(data.SkinName, reference.SkinName);
  EXPECT_EQ(data.SysButtons.size(), reference.SysButtons.size());
  EXPECT_EQ(data.StoreBytes(), metallic_);
  EXPECT_EQ(skintest::BrushColour(data.FaceBrush()), skintest::Resolve(reference.ButtonFace));
  ASSERT_NE(SkinManager, nullptr);
  EXPECT_THAT(SkinManager->Requests,
              ElementsAre(Req{Req::AddSkinData, &data}, Req{Req::InstallHook},
                          Req{Req::ScheduleAction, nullptr, ActSkin, 250}));
  // Before any window has been activated the request only switches the manager on.
  EXPECT_TRUE(SkinManager->Active);
  EXPECT_FALSE(SkinManager->Timer.Enabled());
  EXPECT_TRUE(SkinManager->HookHandle);

  // What the component writes reads back into the same skin.
  const fw::FormObject written = fw::WriteComponentProperties(data);
  auto again = ReadForm(written.properties);
  EXPECT_FALSE(SkinDataOf(*again).NoSkinLoaded);
  EXPECT_EQ(SkinDataOf(*again).StoreBytes(), metallic_);

  // Freeing the component unregisters it; the manager lives on.
  form.reset();
  EXPECT_EQ(SkinManager->Requests.back(), (Req{Req::RemoveSkinData, &data}));
  EXPECT_EQ(SkinManager->SkinDatas.size(), 1u);
}

TEST_F(SkinDataTest, WrongFormatMarkShowsTheMessageAndSwitchesOff) {
  fwtest::MessageBoxRecorder boxes;
  auto form = ReadForm({Prop("Active", fw::FormValue::Ident("True")),
                        Stream(skintest::WithFormatMark(metallic_, 19999))});
  TSkinData& data = SkinDataOf(*form);
  EXPECT_THAT(boxes.Texts(), ElementsAre(kOlderSkinMessage));
  EXPECT_TRUE(data.NoSkinLoaded);
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(data.FaceBrush(), nullptr);
  ASSERT_NE(SkinManager, nullptr);
  EXPECT_THAT(SkinManager->Requests,
              ElementsAre(Req{Req::AddSkinData, &data}, Req{Req::InstallHook}));
  EXPECT_FALSE(SkinManager->Active);
}

// Damaged packages end the load quietly (the only message is the format mark's); the form
// is read all the same and the component stays without a skin.
TEST_F(SkinDataTest, DamagedPackagesLeaveNoSkinAndDoNotStopTheForm) {
  // A header or directory the container cannot hold, a length the codec refuses, and a
  // container without a definition.
  auto container = [](std::vector<uint8_t> sizes, std::vector<uint8_t> data) {
    std::vector<uint8_t> c = {0x20, 0x4E, 0, 0, 7,   0,   0,   0,   0,   0,    0,   0,
                              0,    0,    0, 0, 'a', '.', 'b', 'm', 'p', '\r', '\n'};
    c.insert(c.end(), sizes.begin(), sizes.end());
    c.insert(c.end(), data.begin(), data.end());
    return skin::LzhCompress(c);
  };
  const std::vector<uint8_t> sizes_beyond_data = container({100, 0, 0, 0}, {'B', 'M'});
  const std::vector<uint8_t> garbage(4000, 0x5A);
  const std::vector<uint8_t> huge_length = {0xF0, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4};
  const std::vector<uint8_t> no_definition = container({2, 0, 0, 0}, {'B', 'M'});
  int index = 0;
  for (const auto& package : {sizes_beyond_data, garbage, huge_length, no_definition}) {
    SCOPED_TRACE(index++);
    fwtest::MessageBoxRecorder boxes;
    std::unique_ptr<fw::TForm> form;
    ASSERT_NO_THROW(form =
                        ReadForm({Prop("Active", fw::FormValue::Ident("True")), Stream(package)}));
    TSkinData& data = SkinDataOf(*form);
    EXPECT_TRUE(data.NoSkinLoaded);
    EXPECT_FALSE(data.Active());
    EXPECT_THAT(boxes.Texts(), IsEmpty());
  }
}

TEST_F(SkinDataTest, SkinStreamCountsThatHoldNoPackage) {
  const std::vector<std::vector<uint8_t>> blocks = {
      {0, 0, 0, 0},                    // no package
      {0xFF, 0xFF, 0xFF, 0xFF, 1, 2},  // negative: no package
      {0x10, 0, 0, 0, 1, 2, 3},        // more than the block holds
      {0xFF, 0xFF, 0xFF, 0x7F},        // 2 GiB announced, nothing there
      {1, 0},                          // not even a count
  };
  for (size_t i = 0; i < blocks.size(); ++i) {
    SCOPED_TRACE(i);
    std::unique_ptr<fw::TForm> form;
    ASSERT_NO_THROW(form = ReadForm({{"SkinStream", fw::FormValue::Binary(blocks[i]), 0}}));
    EXPECT_TRUE(SkinDataOf(*form).NoSkinLoaded);
    EXPECT_TRUE(SkinDataOf(*form).StoreBytes().empty());
  }
}

TEST_F(SkinDataTest, DesignedComponentKeepsThePackageWithoutLoadingIt) {
  TSkinData data(nullptr);
  data.SetDesigning(true);
  data.SetStoreBytes(metallic_);
  EXPECT_FALSE(data.LoadFromStore());
  EXPECT_TRUE(data.NoSkinLoaded);
  // Choosing a skin file while designing empties the store (the file stands for the skin).
  data.SetSkinFile("C:/skins/other.skn");
  EXPECT_TRUE(data.StoreBytes().empty());
  EXPECT_EQ(data.SkinFile(), "C:/skins/other.skn");
  data.Loaded();
  EXPECT_EQ(SkinManager, nullptr);
}

TEST_F(SkinDataTest, SkinFileWithoutAFileLoadsNothing) {
  TSkinData data(nullptr);
  data.SetStoreBytes(metallic_);
  ASSERT_TRUE(data.LoadFromStore());
  ASSERT_FALSE(data.NoSkinLoaded);
  const std::string name = data.SkinName;
  for (const std::string& path :
       {skintest::PackagePath("no-such-skin.skn"), std::string(SKIN_PACKAGE_DIR), std::string()}) {
    SCOPED_TRACE(path);
    data.SetSkinFile(path);
    EXPECT_EQ(data.SkinFile(), path);
    EXPECT_TRUE(data.NoSkinLoaded);
    EXPECT_EQ(data.StoreBytes(), metallic_);
    EXPECT_EQ(data.SkinName, name);
  }
  EXPECT_EQ(SkinManager, nullptr);  // nothing to apply, nothing asked
}

TEST_F(SkinDataTest, SkinFileLoadsEachSkinAndAsksForARefresh) {
  TSkinData data(nullptr);
  const skin::TDataSkinButton* buttons = data.Buttons.get();
  for (const char* file : {"metallic.skn", "dark.skn", "metallic.skn"}) {
    SCOPED_TRACE(file);
    const std::vector<uint8_t> package = skintest::ReadBytes(skintest::PackagePath(file));
    const skin::SkinDefinition reference = skintest::ReferenceDefinition(package);
    skin::FreeSkinManager();
    data.SetSkinFile(skintest::PackagePath(file));
    EXPECT_FALSE(data.NoSkinLoaded);
    EXPECT_EQ(data.SkinName, reference.SkinName);
    EXPECT_EQ(data.StoreBytes(), package);
    ASSERT_EQ(data.SysButtons.size(), reference.SysButtons.size());
    EXPECT_EQ(data.SysButtons[0]->Name, reference.SysButtons[0]->Name);
    EXPECT_EQ(data.Buttons->Image.Width(), reference.Buttons->Image.Width());
    EXPECT_EQ(data.ButtonFace, reference.ButtonFace);
    EXPECT_EQ(skintest::BrushColour(data.FaceBrush()), skintest::Resolve(reference.ButtonFace));
    EXPECT_EQ(data.Buttons.get(), buttons) << "the always-present records are refilled in place";
    // A component that never went through Loaded makes the manager as Loaded does, then
    // asks for the refresh.
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_THAT(
        SkinManager->Requests,
        ElementsAre(Req{Req::AddSkinData, &data}, Req{Req::InstallHook}, Req{Req::ClearFormCaches},
                    Req{Req::ScheduleAction, nullptr, ActRefresh, 250}));
    EXPECT_TRUE(SkinManager->IsPending(&data, ActRefresh));
  }
  const skin::SkinDefinition metallic = skintest::ReferenceDefinition(metallic_);
  const skin::SkinDefinition dark =
      skintest::ReferenceDefinition(skintest::ReadBytes(skintest::PackagePath("dark.skn")));
  EXPECT_NE(metallic.SkinName, dark.SkinName)
      << "the two skins must differ for this test to mean anything";
}

TEST_F(SkinDataTest, SkinFileWithAWrongFormatMarkShowsTheMessage) {
  const std::string path = std::string(SKIN_PACKAGE_DIR) + "/../skin_data_old_format.skn";
  {
    const std::vector<uint8_t> old = skintest::WithFormatMark(metallic_, 19999);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(old.data()), old.size());
  }
  TSkinData data(nullptr);
  fwtest::MessageBoxRecorder boxes;
  data.SetSkinFile(path);
  ASSERT_THAT(boxes.Texts(), ElementsAre(kOlderSkinMessage));
  EXPECT_EQ(boxes.Boxes()[0].caption, App().Title());
  EXPECT_TRUE(data.NoSkinLoaded);
  DeleteFileA(path.c_str());
}

class SkinDataSwitchTest : public SkinDataTest {
 protected:
  // A loaded component of the given kind, registered, with the manager's record emptied.
  std::unique_ptr<fw::TForm> LoadedForm(skin::TSkinFormType kind, bool with_skin) {
    std::vector<fw::FormProperty> props = {
        Prop("SkinFormtype", fw::FormValue::Ident(skin::SkinFormTypeNames()[kind]))};
    if (with_skin) props.push_back(Stream(metallic_));
    auto form = ReadForm(props);
    SkinManager->Requests.clear();
    return form;
  }
};

TEST_F(SkinDataSwitchTest, MainFormComponentSchedulesSkinAndUnskin) {
  auto form = LoadedForm(skin::sfMainform, true);
  TSkinData& data = SkinDataOf(*form);
  data.SetActive(true);
  data.SetActive(true);  // no change, no request
  EXPECT_THAT(SkinManager->Requests, ElementsAre(Req{Req::ScheduleAction, nullptr, ActSkin, 250}));
  data.SetActive(false);
  EXPECT_EQ(SkinManager->Requests.back(), (Req{Req::ScheduleAction, nullptr, ActUnskin, 250}));
  // StartCount is 0: the requests took effect at once on the manager's switch.
  EXPECT_FALSE(SkinManager->Active);
}

TEST_F(SkinDataSwitchTest, SwitchingOnWithoutASkinAsksNothing) {
  auto form = LoadedForm(skin::sfMainform, false);
  TSkinData& data = SkinDataOf(*form);
  data.SetActive(true);
  EXPECT_TRUE(data.Active());
  EXPECT_THAT(SkinManager->Requests, IsEmpty());
  EXPECT_FALSE(SkinManager->HasPendingWork());
}

TEST_F(SkinDataSwitchTest, DialogComponentDoesNotReachTheManager) {
  auto form = LoadedForm(skin::sfDialog, true);
  SkinDataOf(*form).SetActive(true);
  SkinDataOf(*form).SetActive(false);
  EXPECT_THAT(SkinManager->Requests, IsEmpty());
}

TEST_F(SkinDataSwitchTest, OtherKindsSwitchTheManagerOnAndOfferTheirForm) {
  for (skin::TSkinFormType kind : {skin::sfOnlyThisForm, skin::sfDialog}) {
    skin::FreeSkinManager();
    auto form =
        ReadForm({Prop("SkinFormtype", fw::FormValue::Ident(skin::SkinFormTypeNames()[kind]))});
    TSkinData& data = SkinDataOf(*form);
    EXPECT_TRUE(SkinManager->Active);
    EXPECT_EQ(SkinManager->StartCount, 1);
    EXPECT_FALSE(SkinManager->HookHandle) << "no hook for these kinds";
    EXPECT_THAT(SkinManager->Requests,
                ElementsAre(Req{Req::AddSkinData, &data},
                            Req{Req::AttachWindow, nullptr, 0, 0, form->Handle()}));
  }
}

TEST_F(SkinDataSwitchTest, DeferredSwitchRunsOnTheTimerAndFiresSkinChangedOnce) {
  auto form = LoadedForm(skin::sfMainform, true);
  TSkinData& data = SkinDataOf(*form);
  int changed = 0;
  data.OnSkinChanged = [&](fw::TObject* sender) {
    EXPECT_EQ(sender, &data);
    ++changed;
  };
  SkinManager->StartCount = 1;  // a window has been activated
  data.SetActive(true);
  EXPECT_TRUE(SkinManager->Timer.Enabled());
  EXPECT_FALSE(SkinManager->Active) << "not before the timer fires";
  EXPECT_TRUE(fwtest::PumpUntil([&] { return changed > 0; }, 3000));
  fwtest::PumpFor(600);
  EXPECT_EQ(changed, 1);
  EXPECT_TRUE(SkinManager->Active);
  EXPECT_FALSE(SkinManager->HasPendingWork());
  EXPECT_FALSE(SkinManager->Timer.Enabled());
}

TEST_F(SkinDataSwitchTest, FreedComponentIsNoLongerPending) {
  auto form = LoadedForm(skin::sfMainform, true);
  SkinManager->StartCount = 1;
  SkinDataOf(*form).SetActive(true);
  ASSERT_TRUE(SkinManager->HasPendingWork());
  form.reset();
  EXPECT_FALSE(SkinManager->HasPendingWork());
  EXPECT_TRUE(SkinManager->SkinDatas.empty());
  fwtest::PumpFor(400);  // the timer ticks with nothing pending and touches nothing freed
}

TEST_F(SkinDataTest, FormFilterRefusals) {
  TSkinData data(nullptr);
  auto asks = [&](const std::string& name) {
    bool do_skin = true;
    data.FormFilter(name, do_skin);
    return do_skin;
  };
  EXPECT_FALSE(asks("SysMonthCal32"));
  EXPECT_TRUE(asks("SysMonthCal321"));
  EXPECT_TRUE(asks("TForm1"));
  EXPECT_TRUE(asks("TfrPreviewForm")) << "Tfr classes are refused only with xcFastReport";
  data.SkinControls.Include(skin::xcFastReport);
  EXPECT_FALSE(asks("TfrPreviewForm"));
  EXPECT_FALSE(asks("Tfr"));
  EXPECT_TRUE(asks("TFRPreviewForm")) << "the prefix is compared exactly";
  EXPECT_TRUE(asks("TForm1"));

  // A handler decides alone.
  std::vector<std::string> asked;
  data.OnFormSkin = [&](fw::TObject* sender, const std::string& name, bool& do_skin) {
    EXPECT_EQ(sender, &data);
    EXPECT_TRUE(do_skin);
    asked.push_back(name);
    do_skin = name != "TForm1";
  };
  EXPECT_TRUE(asks("SysMonthCal32"));
  EXPECT_FALSE(asks("TForm1"));
  EXPECT_THAT(asked, ElementsAre("SysMonthCal32", "TForm1"));
}

// The glyph strip drawn through the image list: ink is black, white is transparent.
TEST_F(SkinDataTest, MenuGlyphsHoldFourMaskedGlyphs) {
  TSkinData data(nullptr);
  ASSERT_NE(data.MenuGlyphs(), nullptr);
  ASSERT_EQ(data.MenuGlyphs()->Count(), 4);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(data.MenuGlyphs()->Handle(), &cx, &cy);
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 16);

  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = 16;
  bi.bmiHeader.biHeight = -16;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  fw::ScopedBitmap dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  fw::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  fw::ScopedSelectObject select(dc.get(), dib.get());
  auto pixel = [&](int x, int y) {
    return static_cast<const uint32_t*>(bits)[y * 16 + x] & 0xFFFFFF;
  };
  constexpr uint32_t kRed = 0xFF0000;  // DIB layout: 0x00RRGGBB
  struct Probe {
    int glyph, ink_x, ink_y;
  };
  // restore: front window's top edge; maximize: its top edge; minimize: the bar; close: the cross.
  for (Probe p : {Probe{0, 2, 6}, Probe{1, 5, 2}, Probe{2, 6, 11}, Probe{3, 7, 7}}) {
    SCOPED_TRACE(p.glyph);
    std::fill_n(static_cast<uint32_t*>(bits), 256, kRed);
    GdiFlush();
    ASSERT_TRUE(
        ImageList_Draw(data.MenuGlyphs()->Handle(), p.glyph, dc.get(), 0, 0, ILD_TRANSPARENT));
    GdiFlush();
    EXPECT_EQ(pixel(p.ink_x, p.ink_y), 0u);
    EXPECT_EQ(pixel(0, 0), kRed);
    EXPECT_EQ(pixel(15, 15), kRed);
  }
}

}  // namespace

namespace {

using SkinManagerTest = SkinDataTest;

TEST_F(SkinManagerTest, HookIsInstalledOnceAndPassesCallsOn) {
  skin::TSkinManage* manager = skin::CreateSkinManager();
  EXPECT_EQ(skin::CreateSkinManager(), manager);
  manager->InstallHook();
  const HHOOK first = manager->HookHandle.get();
  ASSERT_NE(first, nullptr);
  manager->InstallHook();
  EXPECT_EQ(manager->HookHandle.get(), first);
  EXPECT_THAT(manager->Requests, ElementsAre(Req{Req::InstallHook}, Req{Req::InstallHook}));
  EXPECT_NE(skin::WindowsVersion, 0u);
  // The hooks installed before ours still see window activations.
  fwtest::MessageBoxRecorder boxes;
  App().MessageBox("through the hook chain");
  EXPECT_THAT(boxes.Texts(), ElementsAre("through the hook chain"));
}

TEST_F(SkinManagerTest, RequestsBeforeTheFirstActivationOnlySwitchTheManager) {
  skin::TSkinManage& manager = *skin::CreateSkinManager();
  TSkinData data(nullptr);
  manager.AddSkinData(&data);
  manager.ScheduleAction(ActSkin, 250, &data);
  EXPECT_TRUE(manager.Active);
  manager.ScheduleAction(ActUnskin, 250, &data);
  EXPECT_FALSE(manager.Active);
  EXPECT_FALSE(manager.Timer.Enabled());
  EXPECT_FALSE(manager.HasPendingWork());
}

// One component's requests within one tick: none is lost to a later one, skin and unskin
// cancel each other, and the window's end adds a purge beside them.
TEST_F(SkinManagerTest, PendingRequestsAddUpAndRunTogether) {
  skin::TSkinManage& manager = *skin::CreateSkinManager();
  TSkinData data(nullptr);
  manager.AddSkinData(&data);
  manager.StartCount = 1;
  int changed = 0;
  data.OnSkinChanged = [&](fw::TObject*) { ++changed; };
  manager.ScheduleAction(skin::ActRefresh, 250, &data);
  manager.ScheduleAction(skin::ActPurge, 250, nullptr);
  manager.ScheduleAction(ActUnskin, 250, &data);
  manager.ScheduleAction(ActSkin, 250, &data);
  EXPECT_TRUE(manager.IsPending(&data, skin::ActRefresh));
  EXPECT_TRUE(manager.IsPending(nullptr, skin::ActPurge));
  EXPECT_TRUE(manager.IsPending(&data, ActSkin));
  EXPECT_FALSE(manager.IsPending(&data, ActUnskin));
  EXPECT_TRUE(manager.Timer.Enabled());
  manager.RunPendingAction();
  EXPECT_TRUE(manager.Active);
  EXPECT_EQ(changed, 1);
  EXPECT_FALSE(manager.HasPendingWork());
  EXPECT_FALSE(manager.Timer.Enabled());
}

// An exception from a handler the hook calls stops at the hook: reported as a fault, the
// window activates as usual. The request log keeps nothing unless a test asks for it.
TEST_F(SkinManagerTest, FaultsStopAtTheHookAndTheLogRecordsOnlyForTests) {
  skin::TSkinManage& manager = *skin::CreateSkinManager();
  TSkinData data(nullptr);
  manager.AddSkinData(&data);
  manager.InstallHook();
  manager.Active = true;
  data.OnFormSkin = [](fw::TObject*, const std::string&, bool&) {
    throw std::runtime_error("filter failed");
  };
  skin::RecordingSkinReporter reporter;
  TSkinData::SetReporter(&reporter);
  skin::TSkinManage::RecordRequests = false;
  manager.Requests.clear();
  HWND hwnd = CreateWindowExA(0, "STATIC", "probe", WS_POPUP | WS_VISIBLE | WS_CAPTION, 10, 10, 120,
                              80, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(hwnd);
  fwtest::PumpFor(50);
  TSkinData::SetReporter(nullptr);
  skin::TSkinManage::RecordRequests = true;
  EXPECT_THAT(reporter.faults, testing::Contains("skin manager window hook: filter failed"));
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_THAT(manager.Requests, IsEmpty());
  DestroyWindow(hwnd);
}

TEST_F(SkinManagerTest, ComponentsRegisterOnce) {
  skin::TSkinManage& manager = *skin::CreateSkinManager();
  TSkinData a(nullptr), b(nullptr);
  manager.AddSkinData(&a);
  manager.AddSkinData(&b);
  manager.AddSkinData(&a);
  EXPECT_THAT(manager.SkinDatas, ElementsAre(&a, &b));
  manager.RemoveSkinData(&a);
  manager.RemoveSkinData(&a);
  EXPECT_THAT(manager.SkinDatas, ElementsAre(&b));
}

}  // namespace
