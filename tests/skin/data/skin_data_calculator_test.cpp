// The calculator form's SkinData1 under Wine: its stored values in the description the
// program carries, and the state it ends its form reading in.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/main_form.h"
#include "framework/application.h"
#include "framework/form_description.h"
#include "skin/data/skin_data.h"
#include "tests/skin/data/skin_data_test_util.h"
#include "tests/support/fw_test.h"

namespace {

using skintest::Req;
using testing::ElementsAre;

// The description compiled into the program (the RCDATA resource TFORM1).
fw::FormObject CompiledDescription() {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, "TFORM1", MAKEINTRESOURCEA(10));
  EXPECT_NE(resource, nullptr);
  const char* text = static_cast<const char*>(LockResource(LoadResource(module, resource)));
  return fw::ParseFormDescription(std::string_view(text, SizeofResource(module, resource)));
}

class CalculatorSkinDataTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    skin::TSkinManage::RecordRequests = true;
    package_ = skintest::ReadBytes(skintest::PackagePath("metallic.skn"));
  }
  skintest::FreshManager fresh_manager_;
  std::vector<uint8_t> package_;
};

TEST_F(CalculatorSkinDataTest, DescriptionStoresSkinData1WithTheDefaultSkin) {
  const fw::FormObject form = CompiledDescription();
  ASSERT_FALSE(form.children.empty());
  const fw::FormObject& sd = form.children.back();
  EXPECT_EQ(sd.name, "SkinData1");
  EXPECT_EQ(sd.class_name, "TSkinData");
  std::vector<std::string> names;
  for (const auto& p : sd.properties) names.push_back(p.name);
  EXPECT_THAT(names, ElementsAre("Active", "DisableTag", "SkinControls", "Skin3rd", "SkinStore",
                                 "SkinFormtype", "MenuUpdate", "SkinStream"));
  EXPECT_EQ(sd.FindProperty("Active")->value.text, "True");
  EXPECT_EQ(sd.FindProperty("DisableTag")->value.integer, 99);
  EXPECT_EQ(sd.FindProperty("SkinControls")->value.set,
            std::vector<std::string>(skin::SkinControlTypeNames().begin(),
                                     skin::SkinControlTypeNames().end() - 1));
  std::vector<std::string> lines;
  for (const auto& item : sd.FindProperty("Skin3rd")->value.list) lines.push_back(item.text);
  EXPECT_EQ(lines, skin::DefaultSkin3rd());
  EXPECT_EQ(sd.FindProperty("SkinStore")->value.text, "(Good)");
  EXPECT_EQ(sd.FindProperty("SkinFormtype")->value.text, "sfMainform");
  EXPECT_EQ(sd.FindProperty("MenuUpdate")->value.text, "True");

  // The block: the package's size, little-endian, then the package the build made.
  const std::vector<uint8_t>& block = sd.FindProperty("SkinStream")->value.bytes;
  ASSERT_GT(block.size(), 4u);
  const uint32_t count = block[0] | block[1] << 8 | block[2] << 16 | uint32_t(block[3]) << 24;
  EXPECT_EQ(count, package_.size());
  EXPECT_EQ(std::vector<uint8_t>(block.begin() + 4, block.end()), package_);
}

TEST_F(CalculatorSkinDataTest, FormReadingEndsWithALoadedSkinAndTheFirstSkinningScheduled) {
  const skin::SkinDefinition reference = skintest::ReferenceDefinition(package_);
  App().Initialize();
  TForm1* form = nullptr;
  App().CreateForm(&form);
  ASSERT_NE(form, nullptr);
  ASSERT_NE(form->SkinData1, nullptr);
  skin::TSkinData& data = *form->SkinData1;
  EXPECT_EQ(data.Owner(), form);
  EXPECT_FALSE(data.NoSkinLoaded);
  EXPECT_TRUE(data.Active());
  EXPECT_EQ(data.SkinName, "Metallic");
  EXPECT_EQ(data.SkinName, reference.SkinName);
  // Seven caption-button sections and the three MDI buttons.
  EXPECT_EQ(data.SysButtons.size(), 10u);
  EXPECT_EQ(data.SysButtons.size(), reference.SysButtons.size());
  EXPECT_EQ(data.SysButtons[7]->Action, 7);
  EXPECT_EQ(data.DisableTag, 99);
  EXPECT_EQ(data.SkinControls, skin::kDefaultSkinControls);
  EXPECT_EQ(data.Skin3rd().Lines(), skin::DefaultSkin3rd());
  EXPECT_EQ(data.SkinFormtype, skin::sfMainform);
  EXPECT_TRUE(data.MenuUpdate);
  EXPECT_EQ(data.SkinStore(), "(none)");
  EXPECT_EQ(data.StoreBytes(), package_);
  EXPECT_EQ(skintest::BrushColour(data.FaceBrush()), skintest::Resolve(reference.ButtonFace));
  ASSERT_NE(data.MenuGlyphs(), nullptr);
  EXPECT_EQ(data.MenuGlyphs()->Count(), 4);

  ASSERT_NE(skin::SkinManager, nullptr);
  EXPECT_THAT(skin::SkinManager->Requests,
              ElementsAre(Req{Req::AddSkinData, &data}, Req{Req::InstallHook},
                          Req{Req::ScheduleAction, nullptr, skin::ActSkin, 250}));
  EXPECT_TRUE(skin::SkinManager->Active);

  // The form still shows and closes as before; freeing it unregisters the component.
  form->Show();
  fwtest::PumpFor(50);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  delete form;
  EXPECT_EQ(skin::SkinManager->Requests.back(), (Req{Req::RemoveSkinData, &data}));
  EXPECT_TRUE(skin::SkinManager->SkinDatas.empty());
}

}  // namespace
