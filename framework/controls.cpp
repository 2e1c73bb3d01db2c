#include "framework/controls.h"

#include <windowsx.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <unordered_map>

#include "framework/application.h"
#include "framework/dpi.h"
#include "framework/forms.h"
#include "framework/menus.h"

namespace fw {

const std::vector<std::string> kAlignmentNames = {"taLeftJustify", "taRightJustify", "taCenter"};

namespace {

// 8-bit texts of the Windows side are in the ANSI code page.
std::string NarrowAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  const auto* w = reinterpret_cast<const wchar_t*>(text.data());
  const int n = WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<size_t>(std::max(n, 0)), '\0');
  WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}
std::u16string WidenAnsi(std::string_view text) {
  if (text.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::u16string out(static_cast<size_t>(std::max(n, 0)), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                      reinterpret_cast<wchar_t*>(out.data()), n);
  return out;
}
// Installed before main, so descriptions read anywhere on the Windows side convert with it.
const bool kAnsiCodecInstalled = (SetTextCodec(NarrowAnsi, WidenAnsi), true);

// Which control owns each framework window. Kept in the process rather than as a window
// property: every message to every framework window looks its control up, and a property
// read is a round trip to the window server under Wine.
std::mutex& ControlMapMutex() {
  static std::mutex mutex;
  return mutex;
}
std::unordered_map<HWND, TWinControl*>& ControlMap() {
  static auto* map = new std::unordered_map<HWND, TWinControl*>;  // outlives static teardown
  return *map;
}

// The control whose CreateWindowEx call is under way: its window is bound at the first
// message it receives (WM_GETMINMAXINFO or WM_NCCREATE), before CreateWindowEx returns.
thread_local TWinControl* g_creating = nullptr;

std::map<std::string, WNDPROC>& SuperclassProcedures() {
  static std::map<std::string, WNDPROC> procedures;
  return procedures;
}

void AddFontProperties(TClassInfo& info) {
  auto add = [&](const char* name, TPropertyKind kind, std::vector<std::string> names, auto get,
                 auto set) {
    TPropertyInfo p;
    p.name = name;
    p.kind = kind;
    p.names = std::move(names);
    // A control that takes its parent's font stores none of its own.
    p.get = [get](const TComponent& c) -> std::optional<FormValue> {
      const auto& control = static_cast<const TControl&>(c);
      if (control.ParentFont()) return std::nullopt;
      return get(control.Font());
    };
    p.set = [set, n = p.name](TComponent& c, const FormValue& v, TComponent*) {
      auto& control = static_cast<TControl&>(c);
      set(control.Font(), v, n);
    };
    info.AddProperty(std::move(p));
  };
  add(
      "Font.Charset", TPropertyKind::pkInteger, {},
      [](const TFont& f) {
        if (f.Charset() == DEFAULT_CHARSET) return FormValue::Ident("DEFAULT_CHARSET");
        return FormValue::Integer(f.Charset());
      },
      [](TFont& f, const FormValue& v, const std::string& n) {
        if (v.kind == FormValue::Kind::kIdent) {
          static const std::pair<const char*, int> kCharsets[] = {
              {"ANSI_CHARSET", ANSI_CHARSET},
              {"DEFAULT_CHARSET", DEFAULT_CHARSET},
              {"SYMBOL_CHARSET", SYMBOL_CHARSET},
              {"GB2312_CHARSET", GB2312_CHARSET},
              {"OEM_CHARSET", OEM_CHARSET},
              {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET},
              {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET}};
          for (const auto& [name, value] : kCharsets) {
            if (v.text == name) return f.SetCharset(value);
          }
          throw EReadError("Invalid value for property " + n + ": unknown charset " + v.text);
        }
        f.SetCharset(detail::IntValue(v, n));
      });
  add(
      "Font.Color", TPropertyKind::pkColor, {},
      [](const TFont& f) { return detail::ColorToValue(f.Color()); },
      [](TFont& f, const FormValue& v, const std::string& n) {
        f.SetColor(detail::ColorValue(v, n));
      });
  add(
      "Font.Height", TPropertyKind::pkInteger, {},
      [](const TFont& f) { return FormValue::Integer(f.Height()); },
      [](TFont& f, const FormValue& v, const std::string& n) {
        f.SetHeight(detail::IntValue(v, n));
      });
  add(
      "Font.Name", TPropertyKind::pkString, {},
      [](const TFont& f) { return FormValue::String(f.Name()); },
      [](TFont& f, const FormValue& v, const std::string& n) {
        f.SetName(detail::StringValue(v, n));
      });
  add(
      "Font.Style", TPropertyKind::pkSet, kFontStyleNames,
      [](const TFont& f) { return detail::SetToValue(f.Style(), kFontStyleNames); },
      [](TFont& f, const FormValue& v, const std::string& n) {
        f.SetStyle(detail::SetValue(v, n, kFontStyleNames));
      });
}

}  // namespace

// The window procedure of every framework window class.
LRESULT CALLBACK FrameworkWindowProcedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  TWinControl* control = TWinControl::FromHandle(hwnd);
  if (!control && g_creating) {
    control = std::exchange(g_creating, nullptr);
    control->AttachWindow(hwnd);
  }
  if (!control) {
    // A window of our class without an object (its object is gone): plain default.
    char name[100] = {};
    GetClassNameA(hwnd, name, sizeof name);
    auto it = SuperclassProcedures().find(name);
    if (it != SuperclassProcedures().end() && it->second)
      return CallWindowProcA(it->second, hwnd, msg, wparam, lparam);
    return DefWindowProcA(hwnd, msg, wparam, lparam);
  }
  // A menu about to open, or settings changed: the fonts are read again.
  if (msg == WM_INITMENUPOPUP || msg == WM_SETTINGCHANGE) ForgetSystemFonts();
  TMessage message{msg, wparam, lparam, 0};
  try {
    control->window_proc_(message);
  } catch (...) {
    if (TApplication* app = Application()) {
      app->HandleException(std::current_exception());
    }
  }
  if (msg == WM_NCDESTROY) control->DetachWindow();
  return message.Result;
}

// ---- TControl -----------------------------------------------------------------------------

const std::vector<std::string> kAlignNames = {"alNone", "alTop",   "alBottom",
                                              "alLeft", "alRight", "alClient"};

const TClassInfo& TControl::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i = DescribeClass<TControl, TComponent>("TControl", [](auto& c) {
      c.Integer("Left", &TControl::Left, &TControl::SetLeft);
      c.Integer("Top", &TControl::Top, &TControl::SetTop);
      c.Integer("Width", &TControl::Width, &TControl::SetWidth);
      c.Integer("Height", &TControl::Height, &TControl::SetHeight);
      c.String("Caption", &TControl::Caption, &TControl::SetCaption);
      c.Color("Color", &TControl::Color, &TControl::SetColor);
      c.Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled);
      c.Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor);
      c.Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont);
      c.template Component<TPopupMenu>("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
      c.Bool("Visible", &TControl::Visible, &TControl::SetVisible);
      c.Enum("Align", kAlignNames, &TControl::Align, &TControl::SetAlign);
      c.Event("OnClick", &TControl::OnClick);
    });
    AddFontProperties(i);
    return i;
  }();
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
  window_proc_ = DefaultWindowProc();
  font_.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
  font_.OnChange = nullptr;
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw Exception("A control cannot be its own parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

TComponent* TControl::ParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* win = dynamic_cast<TWinControl*>(parent)) SetParent(win);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  // Repaint the old and the new place of a windowless control.
  if (!dynamic_cast<TWinControl*>(this)) Invalidate();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  BoundsChanged();
  if (!dynamic_cast<TWinControl*>(this)) Invalidate();
  if (align_ != alNone && parent_) parent_->AlignControls();
}

void TControl::SetAlign(TAlign v) {
  if (v == align_) return;
  align_ = v;
  if (parent_) parent_->AlignControls();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  if (!visible) Invalidate();
  visible_ = visible;
  VisibleChanged();
  Perform(CM_VISIBLECHANGED, visible);
  if (align_ != alNone && parent_) parent_->AlignControls();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  TextChanged();
  Perform(CM_TEXTCHANGED);
  Invalidate();
}

void TControl::SetParentFont(bool v) {
  parent_font_ = v;
  if (v) ParentFontChanged();
}

void TControl::SetColor(TColor color) {
  parent_color_ = false;
  if (color == color_) return;
  color_ = color;
  ColorChanged();
}

void TControl::SetParentColor(bool v) {
  parent_color_ = v;
  if (v) ParentColorChanged();
}

void TControl::ParentFontChanged() {
  if (!parent_font_ || !parent_) return;
  taking_parent_font_ = true;
  font_.Assign(parent_->Font());
  taking_parent_font_ = false;
}

void TControl::ParentColorChanged() {
  if (!parent_color_ || !parent_) return;
  if (parent_->Color() == color_) return;
  color_ = parent_->Color();
  ColorChanged();
}

void TControl::FontChanged() {
  // A font set on the control itself (a description's Font.Height) is its own from then on.
  if (!taking_parent_font_) parent_font_ = false;
  Perform(CM_FONTCHANGED);
  Invalidate();
}

void TControl::ColorChanged() {
  Perform(CM_COLORCHANGED);
  Invalidate();
}

void TControl::VisibleChanged() { Invalidate(); }

void TControl::EnabledChanged() { Invalidate(); }

LRESULT TControl::Perform(UINT msg, WPARAM wparam, LPARAM lparam) {
  TMessage message{msg, wparam, lparam, 0};
  window_proc_(message);
  return message.Result;
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::Invalidate() {
  if (!parent_ || !parent_->HandleAllocated() || !visible_) return;
  const RECT r = BoundsRect();
  InvalidateRect(parent_->Handle(), &r, TRUE);
}

void TControl::Repaint() {
  Invalidate();
  if (parent_ && parent_->HandleAllocated()) UpdateWindow(parent_->Handle());
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (menu == popup_menu_) return;
  if (popup_menu_) popup_menu_->RemoveFreeNotification(this);
  popup_menu_ = menu;
  if (popup_menu_) popup_menu_->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == popup_menu_) popup_menu_ = nullptr;
}

TCustomForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(c));
}

void TControl::ChangeScale(int to_dpi, int from_dpi) {
  ScaleBounds(to_dpi, from_dpi);
  ScaleFont(to_dpi, from_dpi);
}

void TControl::ScaleBounds(int to_dpi, int from_dpi) {
  DpiLayout& d = dpi_layout_;
  SetBounds(d.left.Rescale(left_, from_dpi, to_dpi), d.top.Rescale(top_, from_dpi, to_dpi),
            d.width.Rescale(width_, from_dpi, to_dpi), d.height.Rescale(height_, from_dpi, to_dpi));
}

void TControl::ScaleFont(int to_dpi, int from_dpi) {
  // Heights are in pixels; a font in points would follow the device by itself.
  if (parent_font_) return;
  font_.SetHeight(dpi_layout_.font_height.Rescale(font_.Height(), from_dpi, to_dpi));
}

void TControl::WndProc(TMessage& message) { DefaultHandler(message); }

void TControl::DefaultHandler(TMessage& message) { message.Result = 0; }

// ---- TGraphicControl ----------------------------------------------------------------------

const TClassInfo& TGraphicControl::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TGraphicControl, TControl>("TGraphicControl", [](auto&) {});
  return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) { parent_color_ = true; }

void TGraphicControl::Invalidate() { TControl::Invalidate(); }

void TGraphicControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT: {
      canvas_.SetHandle(reinterpret_cast<HDC>(message.WParam));
      canvas_.Font().Assign(font_);
      Paint();
      canvas_.SetHandle(nullptr);
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed_ = true;
      return;
    case WM_LBUTTONUP: {
      const POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
      const bool inside = p.x >= 0 && p.y >= 0 && p.x < width_ && p.y < height_;
      if (std::exchange(pressed_, false) && inside && enabled_) Click();
      return;
    }
    default:
      TControl::WndProc(message);
  }
}

// ---- TWinControl --------------------------------------------------------------------------

const TClassInfo& TWinControl::StaticClassInfo() {
  static const TClassInfo info = DescribeClass<TWinControl, TControl>("TWinControl", [](auto& c) {
    c.Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
    c.Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
    c.Event("OnEnter", &TWinControl::OnEnter);
    c.Event("OnExit", &TWinControl::OnExit);
    c.Event("OnKeyPress", &TWinControl::OnKeyPress);
  });
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  DestroyHandle();
  // Children go first (their owner, usually the form, is told of each).
  while (!controls_.empty()) delete controls_.back();
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  std::lock_guard lock(ControlMapMutex());
  auto it = ControlMap().find(hwnd);
  return it == ControlMap().end() ? nullptr : it->second;
}

void TWinControl::AttachWindow(HWND hwnd) {
  handle_ = hwnd;
  std::lock_guard lock(ControlMapMutex());
  ControlMap()[hwnd] = this;
}

void TWinControl::DetachWindow() {
  if (handle_) {
    std::lock_guard lock(ControlMapMutex());
    auto it = ControlMap().find(handle_);
    if (it != ControlMap().end() && it->second == this) ControlMap().erase(it);
  }
  handle_ = nullptr;
  mouse_inside_ = false;
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  control->parent_ = this;
  control->ParentFontChanged();
  control->ParentColorChanged();
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    if (handle_ && !win->IsLoading()) win->HandleNeeded();
  } else {
    control->Invalidate();
  }
}

void TWinControl::RemoveControl(TControl* control) {
  control->Invalidate();
  if (auto* win = dynamic_cast<TWinControl*>(control)) win->DestroyHandle();
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  if (mouse_capture_ == control) mouse_capture_ = nullptr;
  control->parent_ = nullptr;
  if (control->align_ != alNone && !IsDestroying()) AlignControls();
}

void TWinControl::AlignControls() {
  if (aligning_ || IsLoading() || IsDestroying()) return;
  std::vector<TControl*> aligned;
  std::vector<AlignedControl> places;
  for (TControl* c : controls_) {
    if (c->align_ == alNone || !c->visible_) continue;
    aligned.push_back(c);
    places.push_back({c->align_, {c->left_, c->top_, c->left_ + c->width_, c->top_ + c->height_}});
  }
  if (aligned.empty()) return;
  RECT client = ClientRect();
  if (handle_) GetClientRect(handle_, &client);
  const std::vector<LayoutRect> placed =
      fw::AlignControls({client.left, client.top, client.right, client.bottom}, places);
  aligning_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{aligning_};
  for (size_t i = 0; i < aligned.size(); ++i)
    aligned[i]->SetBounds(placed[i].left, placed[i].top, placed[i].Width(), placed[i].Height());
}

void TWinControl::Loaded() {
  TControl::Loaded();
  AlignControls();
}

void TWinControl::ChangeScale(int to_dpi, int from_dpi) {
  ScaleBounds(to_dpi, from_dpi);
  ScaleContents(to_dpi, from_dpi);
}

void TWinControl::ScaleContents(int to_dpi, int from_dpi) {
  // The children are placed first and the font comes last, so that labels sizing
  // themselves to their text measure it in the new font and keep that size.
  const std::vector<TControl*> children = controls_;
  for (TControl* c : children) c->ChangeScale(to_dpi, from_dpi);
  ScaleFont(to_dpi, from_dpi);
  AlignControls();
}

TControl* TWinControl::ControlAtPos(POINT p) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    const RECT r = c->BoundsRect();
    if (PtInRect(&r, p)) return c;
  }
  return nullptr;
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.class_name = ClassName();
  params.style = WS_CHILD | WS_CLIPSIBLINGS;
  if (visible_) params.style |= WS_VISIBLE;
  if (!enabled_) params.style |= WS_DISABLED;
  if (tab_stop_) params.style |= WS_TABSTOP;
  params.x = left_;
  params.y = top_;
  params.width = width_;
  params.height = height_;
  if (parent_) params.parent = parent_->Handle();
}

static void RegisterWindowClass(const TCreateParams& params, WNDPROC& superclass_proc) {
  auto& procedures = SuperclassProcedures();
  auto known = procedures.find(params.class_name);
  if (known != procedures.end()) {
    superclass_proc = known->second;
    return;
  }
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (!params.superclass.empty()) {
    if (!GetClassInfoExA(nullptr, params.superclass.c_str(), &wc))
      throw EOSError("System class " + params.superclass + " not found");
    superclass_proc = wc.lpfnWndProc;
  } else {
    superclass_proc = nullptr;
    wc.style = params.class_style;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hIcon = LoadIconA(instance, "MAINICON");
    // The small icon from the image drawn for that size, not the large one scaled down.
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    if (!wc.hIcon) wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  }
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = FrameworkWindowProcedure;
  wc.hInstance = instance;
  wc.lpszClassName = params.class_name.c_str();
  if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw EOSError("Cannot register window class " + params.class_name + " (error " +
                   std::to_string(GetLastError()) + ")");
  procedures[params.class_name] = superclass_proc;
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  AdjustCreateParams(params);
  RegisterWindowClass(params, superclass_proc_);
  g_creating = this;
  const std::string caption = text_;
  HWND hwnd = nullptr;
  try {
    hwnd = CreateWindowHandle(params, caption);
  } catch (...) {
    g_creating = nullptr;
    throw;
  }
  g_creating = nullptr;
  if (!hwnd) {
    DetachWindow();
    throw EOSError("Cannot create window of class " + params.class_name + " (error " +
                   std::to_string(GetLastError()) + ")");
  }
  if (!handle_) AttachWindow(hwnd);
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
  CreateHandleDone();
  // Children in tab order, so the windows' Z order follows it too.
  std::vector<TWinControl*> children;
  for (TControl* c : controls_) {
    if (auto* win = dynamic_cast<TWinControl*>(c)) children.push_back(win);
  }
  std::stable_sort(children.begin(), children.end(),
                   [](TWinControl* a, TWinControl* b) { return a->tab_order_ < b->tab_order_; });
  for (TWinControl* child : children) child->HandleNeeded();
}

HWND TWinControl::CreateWindowHandle(const TCreateParams& params, const std::string& caption) {
  return CreateWindowExA(params.ex_style, params.class_name.c_str(), caption.c_str(), params.style,
                         params.x, params.y, params.width, params.height, params.parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void TWinControl::DestroyWindowHandle(HWND hwnd) { DestroyWindow(hwnd); }

HWND TWinControl::Handle() {
  if (!handle_) {
    if (parent_) parent_->HandleNeeded();
    if (!handle_) CreateWnd();
  }
  return handle_;
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  HWND hwnd = handle_;
  // Keep the text for a later window.
  text_ = GetText();
  DestroyWindowHandle(hwnd);  // WM_NCDESTROY detaches this control and its children
  if (handle_ == hwnd) DetachWindow();
  for (TControl* c : controls_) {
    if (auto* win = dynamic_cast<TWinControl*>(c)) win->DetachWindow();
  }
}

std::string TWinControl::GetText() const {
  if (!handle_) return text_;
  const int length = GetWindowTextLengthA(handle_);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int n = GetWindowTextA(handle_, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(n, 0)));
  return text;
}

void TWinControl::SetText(const std::string& text) {
  if (!handle_) {
    TControl::SetText(text);
    return;
  }
  if (GetText() == text) return;
  SetWindowTextA(handle_, text.c_str());
  text_ = text;
  TextChanged();
  Perform(CM_TEXTCHANGED);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
  if (handle_) {
    SetWindowPos(handle_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::SetTabStop(bool v) {
  tab_stop_ = v;
  if (handle_) {
    LONG style = GetWindowLongA(handle_, GWL_STYLE);
    style = v ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
    SetWindowLongA(handle_, GWL_STYLE, style);
  }
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
  }
  return true;
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

void TWinControl::SetFocus() {
  if (CanFocus()) ::SetFocus(Handle());
}

std::vector<TWinControl*> TWinControl::TabList() const {
  std::vector<TWinControl*> children;
  for (TControl* c : controls_) {
    if (auto* win = dynamic_cast<TWinControl*>(c)) children.push_back(win);
  }
  std::stable_sort(children.begin(), children.end(),
                   [](TWinControl* a, TWinControl* b) { return a->tab_order_ < b->tab_order_; });
  std::vector<TWinControl*> list;
  for (TWinControl* child : children) {
    if (child->tab_stop_) list.push_back(child);
    for (TWinControl* inner : child->TabList()) list.push_back(inner);
  }
  return list;
}

void TWinControl::SelectNext(TWinControl* current, bool forward) {
  std::vector<TWinControl*> list = TabList();
  std::erase_if(list, [](TWinControl* c) { return !c->CanFocus(); });
  if (list.empty()) return;
  auto it = std::find(list.begin(), list.end(), current);
  size_t index;
  if (it == list.end()) {
    index = forward ? 0 : list.size() - 1;
  } else {
    const size_t at = static_cast<size_t>(it - list.begin());
    index = forward ? (at + 1) % list.size() : (at + list.size() - 1) % list.size();
  }
  list[index]->SetFocus();
}

HBRUSH TWinControl::BrushHandle() {
  if (!brush_ || brush_color_ != color_) {
    brush_.reset(CreateSolidBrush(ColorToRGB(color_)));
    brush_color_ = color_;
  }
  return brush_.get();
}

void TWinControl::FontChanged() {
  if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
  TControl::FontChanged();
  for (TControl* c : controls_) c->ParentFontChanged();
}

void TWinControl::ColorChanged() {
  TControl::ColorChanged();
  for (TControl* c : controls_) c->ParentColorChanged();
}

void TWinControl::VisibleChanged() {
  if (handle_) ShowWindow(handle_, visible_ ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void TWinControl::EnabledChanged() {
  if (handle_) EnableWindow(handle_, enabled_);
}

bool TWinControl::DoKeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
  return key != 0;
}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : controls_) {
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    const RECT r = c->BoundsRect();
    if (!RectVisible(dc, &r)) continue;
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, r.left, r.top, nullptr);
    IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
}

void TWinControl::PaintHandler(TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  PAINTSTRUCT ps{};
  if (!dc) dc = BeginPaint(handle_, &ps);
  if (ps.fErase) {
    RECT client;
    GetClientRect(handle_, &client);
    FillRect(dc, &client, BrushHandle());
  }
  PaintWindow(dc);
  PaintControls(dc);
  if (!message.WParam) EndPaint(handle_, &ps);
  message.Result = 0;
}

bool TWinControl::ReflectNotification(TMessage& message) {
  HWND child = nullptr;
  switch (message.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
      child = reinterpret_cast<HWND>(message.LParam);
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(message.LParam)->hwndFrom;
      break;
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
      if (dis->CtlType != ODT_MENU) child = dis->hwndItem;
      break;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
      if (mis->CtlType != ODT_MENU && handle_) child = GetDlgItem(handle_, int(mis->CtlID));
      break;
    }
    default:
      return false;
  }
  TWinControl* control = FromHandle(child);
  if (!control || control == this) return false;
  message.Result = control->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
  // A colour request the child leaves unanswered gets the parent's default brush.
  const bool colour = message.Msg >= WM_CTLCOLORMSGBOX && message.Msg <= WM_CTLCOLORSTATIC;
  return !(colour && message.Result == 0);
}

bool TWinControl::ForwardMouse(TMessage& message) {
  if (message.Msg < WM_MOUSEFIRST || message.Msg > WM_MBUTTONDBLCLK) return false;
  POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  TControl* target = mouse_capture_ ? mouse_capture_ : ControlAtPos(p);
  if (!target) return false;
  if (message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK) {
    mouse_capture_ = target;
    SetCapture(handle_);
  } else if (message.Msg == WM_LBUTTONUP) {
    mouse_capture_ = nullptr;
    ReleaseCapture();
  }
  if (!target->Enabled()) return true;
  const LPARAM local = MAKELPARAM(p.x - target->Left(), p.y - target->Top());
  message.Result = target->Perform(message.Msg, message.WParam, local);
  return true;
}

bool TWinControl::ContextPopup(TMessage& message) {
  POINT screen{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  const bool from_keyboard = screen.x == -1 && screen.y == -1;
  TControl* target = this;
  if (!from_keyboard) {
    POINT client = screen;
    ScreenToClient(handle_, &client);
    if (TControl* child = ControlAtPos(client); child && child->PopupMenu()) target = child;
  }
  TPopupMenu* menu = target->PopupMenu();
  if (!menu || !menu->AutoPopup()) return false;
  if (from_keyboard) {
    // Shift+F10 or the context-menu key: the menu opens at the control's centre.
    POINT centre{target->Width() / 2, target->Height() / 2};
    if (target != this) {
      centre.x += target->Left();
      centre.y += target->Top();
    }
    ClientToScreen(handle_, &centre);
    screen = centre;
  }
  menu->SetPopupComponent(target);
  menu->Popup(screen.x, screen.y);
  message.Result = 1;
  return true;
}

void TWinControl::TrackMouse(TMessage& message) {
  if (message.Msg == WM_MOUSEMOVE && !mouse_inside_) {
    mouse_inside_ = true;
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, handle_, 0};
    TrackMouseEvent(&tme);
    Perform(CM_MOUSEENTER);
  } else if (message.Msg == WM_MOUSELEAVE) {
    mouse_inside_ = false;
    Perform(CM_MOUSELEAVE);
  }
}

void TWinControl::WndProc(TMessage& message) {
  if (ReflectNotification(message)) return;
  switch (message.Msg) {
    case WM_CHAR: {
      char key = static_cast<char>(message.WParam);
      if (!DoKeyPress(key)) {
        message.Result = 0;  // discarded: the window never sees it
        return;
      }
      message.WParam = static_cast<unsigned char>(key);
      break;
    }
    case WM_SETFOCUS:
      if (TCustomForm* form = ParentForm(); form && form != this) form->ActiveControlChanged(this);
      DefaultHandler(message);
      Perform(CM_ENTER);
      if (OnEnter) OnEnter(this);
      return;
    case WM_KILLFOCUS:
      DefaultHandler(message);
      Perform(CM_EXIT);
      if (OnExit) OnExit(this);
      return;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
      TrackMouse(message);
      break;
    case WM_CONTEXTMENU:
      if (ContextPopup(message)) return;
      break;
    case WM_SIZE:
      DefaultHandler(message);
      AlignControls();
      return;
    case WM_WINDOWPOSCHANGED: {
      // Moved or sized by anyone (the user, SetWindowPos, a skinned frame): keep the bounds.
      DefaultHandler(message);
      RECT r;
      GetWindowRect(handle_, &r);
      if (HWND parent = GetParent(handle_);
          parent && (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
      left_ = r.left;
      top_ = r.top;
      width_ = r.right - r.left;
      height_ = r.bottom - r.top;
      return;
    }
    case WM_ERASEBKGND:
      if (PaintsItself()) {
        RECT client;
        GetClientRect(handle_, &client);
        FillRect(reinterpret_cast<HDC>(message.WParam), &client, BrushHandle());
        message.Result = 1;
        return;
      }
      break;
    case WM_PAINT: {
      const bool has_graphic_children =
          std::any_of(controls_.begin(), controls_.end(),
                      [](TControl* c) { return !dynamic_cast<TWinControl*>(c); });
      if (PaintsItself() || has_graphic_children) {
        if (PaintsItself()) {
          PaintHandler(message);
        } else {
          // A system control paints itself first; windowless children go on top.
          DefaultHandler(message);
          ScopedGetDc dc(handle_);
          PaintControls(dc.get());
        }
        return;
      }
      break;
    }
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORLISTBOX: {
      HDC dc = reinterpret_cast<HDC>(message.WParam);
      SetTextColor(dc, ColorToRGB(font_.Color()));
      SetBkColor(dc, ColorToRGB(color_));
      message.Result = reinterpret_cast<LRESULT>(BrushHandle());
      return;
    }
    default:
      break;
  }
  if (ForwardMouse(message)) return;
  TControl::WndProc(message);
}

void TWinControl::DefaultHandler(TMessage& message) {
  if (!handle_) {
    message.Result = 0;
    return;
  }
  if (message.Msg >= CM_BASE) {
    // Framework notifications nobody handled.
    message.Result = 0;
    return;
  }
  message.Result =
      superclass_proc_
          ? CallWindowProcA(superclass_proc_, handle_, message.Msg, message.WParam, message.LParam)
          : DefWindowProcA(handle_, message.Msg, message.WParam, message.LParam);
}

// ---- TCustomControl -----------------------------------------------------------------------

const TClassInfo& TCustomControl::StaticClassInfo() {
  static const TClassInfo info =
      DescribeClass<TCustomControl, TWinControl>("TCustomControl", [](auto&) {});
  return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

void TCustomControl::PaintWindow(HDC dc) {
  canvas_.SetHandle(dc);
  canvas_.Font().Assign(font_);
  canvas_.Brush().SetColor(color_);
  Paint();
  canvas_.SetHandle(nullptr);
}

}  // namespace fw
