#pragma once
// Shared pieces of the control skinner tests on real windows: a skinned form made as the
// program makes one (an active SkinData1 with a built-in skin), the skinner the controller
// gave a control, the skin's compositions, and mouse input.
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/form_reader.h"
#include "framework/forms.h"
#include "skin/controls/skin_control.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/element_compose.h"
#include "skin/manager/skin_manager.h"
#include "tests/skin/data/skin_data_test_util.h"
#include "tests/support/fw_test.h"
#include "tests/support/menu_driver.h"
#include "tests/support/window_pixels.h"

namespace skintest {

// Put in as a control's window-procedure property before it is skinned: notes the kind of
// DC (OBJ_DC for the screen, OBJ_MEMDC off screen) the control's own procedure paints with.
struct PaintRecorder {
  fw::TWndMethod inner;
  std::vector<DWORD> kinds;
  void Proc(fw::TMessage& m) {
    if (m.Msg == WM_PAINT)
      kinds.push_back(m.WParam ? GetObjectType(reinterpret_cast<HGDIOBJ>(m.WParam)) : OBJ_DC);
    inner(m);
  }
};

inline fw::FormProperty SkinStream(const std::vector<uint8_t>& package) {
  const uint32_t n = static_cast<uint32_t>(package.size());
  std::vector<uint8_t> block(4 + package.size());
  for (int i = 0; i < 4; ++i) block[i] = static_cast<uint8_t>(n >> (8 * i));
  if (n) std::memcpy(block.data() + 4, package.data(), n);
  return {"SkinStream", fw::FormValue::Binary(block), 0};
}

// A form at (100, 100) with an active SkinData1 holding `package`; controls are added
// afterwards and the form is shown with ShowSkinned.
inline std::unique_ptr<fw::TForm> MakeSkinnedForm(fw::TComponent* owner,
                                                  const std::vector<uint8_t>& package,
                                                  const std::string& name) {
  std::vector<fw::FormProperty> props{{"Active", fw::FormValue::Ident("True"), 0},
                                      SkinStream(package)};
  fw::FormObject skin_object{"SkinData1", "TSkinData", std::move(props), {}, 0};
  fw::FormObject form_object{name, "TForm", {}, {skin_object}, 0};
  auto form = std::make_unique<fw::TForm>(owner);
  form->SetBorderStyle(fw::bsSizeable);
  form->SetPosition(fw::poDesigned);
  form->SetBounds(100, 100, 300, 200);
  form->SetClientWidth(360);
  form->SetClientHeight(240);
  form->SetCaption("Skinned controls");
  fw::ReadComponent(*form, form_object);
  return form;
}

inline skin::TSkinData& SkinDataOf(fw::TForm& form) {
  return *dynamic_cast<skin::TSkinData*>(form.FindComponent("SkinData1"));
}

// Shows the form, waits until its controller has started and has walked its controls.
inline skin::TSkinForm* ShowSkinned(fw::TForm& form) {
  form.Show();
  skin::TSkinForm* controller = nullptr;
  fwtest::PumpUntil([&] {
    controller = skin::SkinManager ? skin::SkinManager->FindForm(form.Handle()) : nullptr;
    return controller && controller->LifeState == skin::LifeReady;
  });
  SetForegroundWindow(form.Handle());
  fwtest::PumpFor(60);
  return controller;
}

// The skinner the controller gave a control (windowed or windowless), or nullptr.
inline skin::TSkinControl* SkinnerOf(skin::TSkinForm* controller, fw::TControl* control) {
  if (!controller) return nullptr;
  for (skin::TSkinControl* s : controller->Skinners) {
    if (s->FGraphicControl && s->FGraphicControl == control) return s;
    if (s->FControl && s->FControl == control) return s;
  }
  return nullptr;
}

inline COLORREF FaceOf(const skin::TSkinData& data) { return Resolve(data.ButtonFace); }

// Frame `frame` of `frame_count` of the Buttons element composed to w x h over the face
// colour, as the push button skinners draw their background.
inline skin::PixelBitmap ButtonBackground(const skin::TSkinData& data, int w, int h, int frame,
                                          int frame_count = 5) {
  const skin::TDataSkinButton& e = *data.Buttons;
  if (frame_count <= 0) frame_count = 5;
  skin::PixelBitmap out(w, h, e.Image.Format());
  out.Fill(FaceOf(data));
  const skin::PixelRect target{0, 0, w, h};
  const skin::PixelBitmap composed = skin::ComposeElement(
      target, e.Image, {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}, frame, frame_count,
      e.Tile != 0, false);
  if (e.Trans == 1) {
    skin::TransparentCopy(out, target, composed);
  } else {
    out = composed;
  }
  return out;
}

// The cursor to a screen point, as a user moves it.
inline void MoveTo(POINT screen) {
  fwtest::MoveMouse(screen.x, screen.y);
  fwtest::PumpFor(40);
}
inline POINT CentreOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
inline void MouseButton(bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof input);
  fwtest::PumpFor(60);
}

}  // namespace skintest
