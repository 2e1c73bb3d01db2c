#include "skin/controls/check_skinners.h"

#include <optional>

#include "skin/data/skin_data.h"
#include "skin/data/skin_scaling.h"
#include "skin/form/control_discovery.h"
#include "skin/manager/element_painting.h"

namespace skin {

namespace {

// Which strip a skinner draws from.
struct BoxStrip {
  const PixelBitmap* image = nullptr;
  int frames = 1;
};

BoxStrip StripOf(const SkinDefinition* data, bool radio) {
  if (!data || !data->Buttons) return {};
  const TDataSkinButton& e = *data->Buttons;
  const PixelBitmap& image = radio ? e.RadioImage : e.CheckImage;
  if (image.Empty()) return {};
  return {&image, std::max(radio ? e.RadioButtonFrame : e.CheckButtonFrame, 1)};
}

// The framework control's published "Checked", when it has one: it decides over the
// window's state.
std::optional<bool> CheckedProperty(fw::TWinControl* control) {
  if (!control) return std::nullopt;
  const fw::TPropertyInfo* info = control->ClassInfo().FindProperty("Checked");
  if (!info || !info->get) return std::nullopt;
  const std::optional<fw::FormValue> value = info->get(*control);
  if (!value || value->kind != fw::FormValue::Kind::kIdent) return std::nullopt;
  return LowerCase(value->text) == "true";
}

bool Disabled(HWND hwnd) { return (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_DISABLED) != 0; }

PixelRect PlaceImage(HWND hwnd, const BoxStrip& strip, const RECT& rect, int dpi) {
  if (!strip.image) return {};
  const bool box_on_right = (GetWindowLongPtrA(hwnd, GWL_STYLE) & BS_LEFTTEXT) != 0;
  return CheckImageRect(ToPixelRect(rect), StripFrameWidth(strip.image->Width(), strip.frames),
                        strip.image->Height(), box_on_right, ScaleLength(kSystemBoxWidth, dpi));
}

// The messages after which the system has drawn its own box (or the state changed).
bool RepaintsBox(UINT msg) {
  switch (msg) {
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_SKIN_EXIT:
    case CM_SKIN_BOXREPAINT:
    // The system button also paints its box directly on these.
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
    case WM_UPDATEUISTATE:
    case CM_SKIN_MOUSELEAVE:
      return true;
    default:
      return false;
  }
}

}  // namespace

// ---- TSkinCheckBox ------------------------------------------------------------------------

const fw::TClassInfo& TSkinCheckBox::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinCheckBox, TSkinControl>("TSkinCheckBox", [](auto&) {});
  return info;
}

bool TSkinCheckBox::BeforeMessage(fw::TMessage& message) {
  return !(message.Msg == WM_PAINT && PaintInOneStep(message));
}

void TSkinCheckBox::AfterMessage(fw::TMessage& message) {
  if (RepaintsBox(message.Msg)) {
    if (message.Msg == CM_SKIN_MOUSELEAVE) TSkinControl::AfterMessage(message);
    RedrawFrame();
    return;
  }
  TSkinControl::AfterMessage(message);
}

int TSkinCheckBox::CurrentFrame() const {
  if (!FHandle) return kCheckFrameUnchecked;
  const LRESULT state = SendMessageA(FHandle, BM_GETSTATE, 0, 0);
  bool checked = (state & BST_CHECKED) != 0;
  if (const std::optional<bool> property = CheckedProperty(FControl)) checked = *property;
  return CheckBoxFrame(checked, Disabled(FHandle), (state & BST_INDETERMINATE) != 0);
}

PixelRect TSkinCheckBox::ImageRect(const RECT& rect) const {
  return PlaceImage(FHandle, StripOf(&Skin(), false), rect, Skin().Dpi);
}

void TSkinCheckBox::DrawSkin(HDC dc, const RECT& rect) {
  const BoxStrip strip = StripOf(&Skin(), false);
  if (!strip.image) return;
  const RECT box = ToRect(ImageRect(rect));
  FillFace(dc, box);
  DrawStripFrame(OnSharedCanvas{dc}, box, strip.frames, CurrentFrame(), *strip.image);
}

// ---- TSkinRadioButton ---------------------------------------------------------------------

const fw::TClassInfo& TSkinRadioButton::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::DescribeClass<TSkinRadioButton, TSkinControl>("TSkinRadioButton", [](auto&) {});
  return info;
}

bool TSkinRadioButton::BeforeMessage(fw::TMessage& message) {
  return !(message.Msg == WM_PAINT && PaintInOneStep(message));
}

void TSkinRadioButton::AfterMessage(fw::TMessage& message) {
  if (RepaintsBox(message.Msg)) {
    if (message.Msg == CM_SKIN_MOUSELEAVE) TSkinControl::AfterMessage(message);
    RedrawFrame();
    return;
  }
  TSkinControl::AfterMessage(message);
}

int TSkinRadioButton::CurrentFrame() const {
  if (!FHandle) return kCheckFrameUnchecked;
  bool checked = (SendMessageA(FHandle, BM_GETCHECK, 0, 0) & 1) != 0;
  if (const std::optional<bool> property = CheckedProperty(FControl)) checked = *property;
  return RadioButtonFrame(checked, Disabled(FHandle));
}

PixelRect TSkinRadioButton::ImageRect(const RECT& rect) const {
  return PlaceImage(FHandle, StripOf(&Skin(), true), rect, Skin().Dpi);
}

void TSkinRadioButton::DrawSkin(HDC dc, const RECT& rect) {
  const BoxStrip strip = StripOf(&Skin(), true);
  if (!strip.image) return;
  const RECT box = ToRect(ImageRect(rect));
  FillFace(dc, box);
  DrawStripFrame(OnSharedCanvas{dc}, box, strip.frames, CurrentFrame(), *strip.image);
}

void AddCheckSkinnerMakers(SkinnerMakerTable& table) {
  table[KindIndex(SkinnerKind::CheckBox)] = &MakeSkinner<TSkinCheckBox>;
  table[KindIndex(SkinnerKind::RadioButton)] = &MakeSkinner<TSkinRadioButton>;
}

}  // namespace skin
