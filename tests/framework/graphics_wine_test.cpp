// Fonts, canvases and labels on real GDI objects.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/application.h"
#include "framework/form_reader.h"
#include "framework/std_controls.h"
#include "framework/timer.h"
#include "tests/support/fw_test.h"

namespace {

TEST(Fonts, HandleIsRemadeAfterAChangeAndDescribesTheFont) {
  fw::TFont font;
  font.SetName("Arial");
  font.SetHeight(-15);
  font.SetStyle(fw::fsBold | fw::fsItalic);
  HFONT first = font.Handle();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(font.Handle(), first);  // kept while nothing changes
  LOGFONTA lf{};
  ASSERT_EQ(GetObjectA(first, sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -15);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_STREQ(lf.lfFaceName, "Arial");
  int changes = 0;
  font.OnChange = [&] { ++changes; };
  font.SetHeight(-15);  // same value: no change
  EXPECT_EQ(changes, 0);
  font.SetSize(12);  // 12 pt at 96 dpi
  EXPECT_EQ(font.Height(), -16);
  EXPECT_EQ(changes, 1);
  GetObjectA(font.Handle(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -16);
}

TEST(Canvases, UnbindingPutsTheDcsOwnObjectsBack) {
  fw::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  HGDIOBJ original_font = GetCurrentObject(dc.get(), OBJ_FONT);
  HGDIOBJ original_brush = GetCurrentObject(dc.get(), OBJ_BRUSH);
  {
    fw::TCanvas canvas;
    canvas.SetHandle(dc.get());
    canvas.Font().SetHeight(-20);
    canvas.Brush().SetColor(fw::clRed);
    const RECT r{0, 0, 10, 10};
    canvas.Rectangle(r);
    canvas.TextWidth("x");
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), canvas.Font().Handle());
    // A change deselects the old font first, so its handle can go.
    canvas.Font().SetHeight(-30);
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), original_font);
    canvas.TextWidth("x");
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), canvas.Font().Handle());
  }  // destroyed while bound
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), original_font);
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), original_brush);
}

TEST(Canvases, TextWidthGrowsWithTheText) {
  fw::ScopedGetDc screen(nullptr);
  fw::TCanvas canvas;
  canvas.SetHandle(screen.get());
  const int one = canvas.TextWidth("0");
  EXPECT_GT(one, 0);
  EXPECT_EQ(canvas.TextWidth("000"), 3 * one);
  canvas.SetHandle(nullptr);
}

class DescribedThings : public fwtest::ApplicationTest {};

TEST_F(DescribedThings, AutoSizeLabelMeasuresItsCaptionFixedOneKeepsItsSize) {
  fw::TForm form(nullptr);
  fw::ReadComponentFromText(form, R"(object F: TForm
  Font.Name = 'Arial'
  Font.Height = -15
  object Auto: TLabel
    Left = 24
    Top = 72
    Width = 500
    Height = 3
    Caption = 'n:'
  end
  object Fixed: TLabel
    Left = 72
    Width = 177
    Height = 16
    AutoSize = False
    Caption = 'n:'
  end
end)");
  auto* automatic = dynamic_cast<fw::TLabel*>(form.FindComponent("Auto"));
  auto* fixed = dynamic_cast<fw::TLabel*>(form.FindComponent("Fixed"));
  ASSERT_TRUE(automatic && fixed);
  fw::ScopedGetDc screen(nullptr);
  fw::TCanvas canvas;
  canvas.SetHandle(screen.get());
  canvas.Font().Assign(form.Font());
  const SIZE text = canvas.TextExtent("n:");
  canvas.SetHandle(nullptr);
  EXPECT_EQ(automatic->Width(), text.cx);
  EXPECT_EQ(automatic->Height(), text.cy);
  EXPECT_EQ(automatic->Left(), 24);
  EXPECT_EQ(fixed->Width(), 177);
  EXPECT_EQ(fixed->Height(), 16);
  EXPECT_EQ(fixed->Font().Height(), -15);  // from the form
}

TEST_F(DescribedThings, TimerFromADescriptionStartsWhenLoaded) {
  fw::TForm form(nullptr);
  fw::ReadComponentFromText(form, R"(object F: TForm
  object Timer1: TTimer
    Interval = 10
  end
end)");
  auto* timer = dynamic_cast<fw::TTimer*>(form.FindComponent("Timer1"));
  ASSERT_NE(timer, nullptr);
  int ticks = 0;
  timer->OnTimer = [&](fw::TObject*) { ++ticks; };
  EXPECT_TRUE(fwtest::PumpUntil([&] { return ticks >= 2; }, 3000));
  const std::string written = fw::WriteComponentToText(form);
  EXPECT_THAT(written, testing::HasSubstr("Interval = 10"));
  EXPECT_THAT(written, testing::HasSubstr("Enabled = True"));
}

}  // namespace
