#pragma once
// A shown form with framework controls on it and a skin loaded from one of the build's
// packages; skinners are attached to single controls by hand, owned by a holder component,
// and the window's pixels are compared with compositions made by the portable code.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/handle_counts.h"
#include "skin/controls/skin_control.h"
#include "skin/data/skin_data.h"
#include "skin/manager/element_compose.h"
#include "skin/manager/element_painting.h"
#include "skin/store/bitmap_ops.h"
#include "tests/skin/data/skin_data_test_util.h"
#include "tests/support/fw_test.h"
#include "tests/support/window_pixels.h"

namespace skintest {

class SkinnerFixture : public fwtest::ApplicationTest,
                       public testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    if (!skin::ScratchBitmap()) skin::CreateScratchBitmap();
    data_ = std::make_unique<skin::TSkinData>(nullptr);
    data_->SetStoreBytes(ReadBytes(PackagePath(GetParam())));
    ASSERT_TRUE(data_->LoadFromStore());
    holder_ = new fw::TComponent(nullptr);
    form_ = new fw::TForm(&App());
    form_->SetBounds(40, 40, 520, 420);
    form_->Show();
    fwtest::PumpFor(30);
    before_ = fw::LiveHandleSnapshot();
  }
  void TearDown() override {
    delete holder_;  // the skinners, detached on the way
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) delete *it;
    fwtest::PumpFor(10);
    EXPECT_EQ(fw::LiveHandleSnapshot().DifferenceFrom(before_), "");
    delete form_;
    data_.reset();
    ApplicationTest::TearDown();
  }

  template <class T>
  T* Add(int x, int y, int w, int h) {
    auto* c = new T(form_);
    controls_.push_back(c);
    c->SetParent(form_);
    c->SetBounds(x, y, w, h);
    return c;
  }
  // Frees a control made by Add before the test ends.
  void Free(fw::TControl* c) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
    delete c;
  }
  template <class S>
  S* Attach(fw::TWinControl* control, bool recolor = false) {
    auto* s = new S(holder_);
    s->AttachControl(control, data_.get(), recolor, &canvas_);
    return s;
  }
  template <class S>
  S* AttachByHandle(HWND hwnd) {
    auto* s = new S(holder_);
    s->AttachHandle(hwnd, data_.get(), &canvas_);
    return s;
  }

  // Repaints the window now and reads what it shows (window coordinates).
  static skin::PixelBitmap Shown(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    fwtest::PumpFor(20);
    return fwtest::ReadWindowPixels(hwnd);
  }
  uint32_t Rgb(skin::Colour c) const {
    return fw::ColorToRGB(static_cast<fw::TColor>(c)) & 0xFFFFFF;
  }
  skin::PixelBitmap Face(int w, int h) const {
    skin::PixelBitmap b(w, h, skin::PixelFormat::kBgra32);
    b.Fill(Rgb(data_->ButtonFace));
    return b;
  }
  static skin::Margins MarginsOf(const skin::TDataSkinObject& e) {
    return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
  }
  // Frame `frame` of the element composed to r and put onto dest, transparent on magenta
  // when asked.
  static void PutElement(skin::PixelBitmap& dest, const skin::PixelRect& r,
                         const skin::PixelBitmap& image, const skin::Margins& m, int frame,
                         int frames, bool trans, bool tile) {
    if (r.Empty()) return;
    const skin::PixelBitmap c = skin::ComposeElement(skin::PixelRect{0, 0, r.Width(), r.Height()},
                                                     image, m, frame, frames, tile, false);
    if (trans) {
      skin::TransparentCopy(dest, r, c);
    } else {
      skin::StretchCopy(c, {0, 0, c.Width(), c.Height()}, dest, r);
    }
  }
  static void PutFrame(skin::PixelBitmap& dest, const skin::PixelRect& r,
                       const skin::PixelBitmap& strip, int frame, int frames) {
    if (r.Empty()) return;
    const skin::PixelBitmap c = skin::ComposeElementFrame(
        skin::PixelRect{0, 0, r.Width(), r.Height()}, strip, frame, frames);
    skin::TransparentCopy(dest, r, c);
  }
  static skin::PixelRect PixelOf(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

  std::unique_ptr<skin::TSkinData> data_;
  fw::TComponent* holder_ = nullptr;
  fw::TForm* form_ = nullptr;
  std::vector<fw::TControl*> controls_;  // made by Add, freed before the handle count
  fw::TCanvas canvas_;
  fw::HandleSnapshot before_;
};

}  // namespace skintest
