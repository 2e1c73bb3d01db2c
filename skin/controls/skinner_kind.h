#pragma once
// The kinds of control skinners, as the classification of a form's controls names them,
// and how a skinner of each kind is attached to its control.
#include <cstdint>

namespace skin {

enum class SkinnerKind : uint8_t {
  None,
  Button,       // TSkinButton
  BitButton,    // TSkinBitButton
  SpeedButton,  // TSkinSpeedButton
  CheckBox,     // TSkinCheckBox
  RadioButton,  // TSkinRadioButton
  Edit,         // TSkinEdit
  ComBox,       // TSkinComBox
  ScrollBar,    // TSkinScrollBar (a control's own scroll bars)
  ScControl,    // TSkinScControl (framework scroll bar controls)
  ListView,     // TSkinListView
  Tab,          // TSkinTab
  Tab31,        // TSkinTab31 (old-style tab sets)
  StatusBar,    // TSkinStatusBar
  Progress,     // TSkinProgress
  TrackBar,     // TSkinTrackBar
  UpDown,       // TSkinUpDown
  Box,          // TSkinBox (panels, group boxes, tool bars)
  Sizer,        // TSkinSizer (scroll-bar windows of dialogs)
  Header,       // TSkinHeader (header controls standing on their own)
  Count
};

// How the skinner takes over its control's messages.
enum class AttachMode : uint8_t {
  None,
  Control,     // the framework control's window-procedure property
  Handle,      // GWL_WNDPROC subclassing of the window
  Graphic,     // a windowless control's window-procedure property
  ScrollBars,  // the scroll-bar skinner's own attach operation
};

// "TSkinButton", "TSkinEdit", ... ("" for None).
const char* SkinnerClassName(SkinnerKind kind);

}  // namespace skin
