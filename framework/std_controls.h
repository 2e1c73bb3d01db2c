#pragma once
// Standard controls. TButton, TCheckBox, TRadioButton (system "BUTTON"), TEdit, TMemo
// (system "EDIT"), TComboBox (system "COMBOBOX") and TListBox (system "LISTBOX") superclass
// a system class under their own class name; TLabel is windowless; TGroupBox and TPanel are
// framework-drawn.
#include "framework/controls.h"

namespace fw {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TLabel : public TGraphicControl {
  FW_CLASS_INFO()
 public:
  explicit TLabel(TComponent* owner);

  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool v);
  bool ShowAccelChar() const { return show_accel_char_; }
  void SetShowAccelChar(bool v);

  void Loaded() override;
  // The DrawText format the label paints with.
  UINT DrawTextFormat() const;

 protected:
  void Paint() override;
  void TextChanged() override { AdjustBounds(); }
  void FontChanged() override;

 private:
  void AdjustBounds();
  bool auto_size_ = true;
  TAlignment alignment_ = taLeftJustify;
  bool transparent_ = false;
  bool word_wrap_ = false;
  bool show_accel_char_ = true;
};

class TButtonControl : public TWinControl {
  FW_CLASS_INFO()
 public:
  explicit TButtonControl(TComponent* owner);
};

class TButton : public TButtonControl {
  FW_CLASS_INFO()
 public:
  explicit TButton(TComponent* owner);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  // Clicked, the button gives this result to its form (ending ShowModal), then fires OnClick.
  int ModalResult() const { return modal_result_; }
  void SetModalResult(int v) { modal_result_ = v; }
  void Click() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;

 private:
  bool default_ = false;
  bool cancel_ = false;
  int modal_result_ = 0;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A check box with two or (AllowGrayed) three states; a click moves unchecked -> checked
// (-> grayed) -> unchecked. Alignment taRightJustify puts the caption right of the box.
class TCustomCheckBox : public TButtonControl {
  FW_CLASS_INFO()
 public:
  explicit TCustomCheckBox(TComponent* owner);
  TCheckBoxState State() const;
  void SetState(TCheckBoxState v);
  bool Checked() const { return State() == cbChecked; }
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const { return allow_grayed_; }
  void SetAllowGrayed(bool v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  DWORD ButtonStyle() const;
  TCheckBoxState state_ = cbUnchecked;
  bool allow_grayed_ = false;
  TAlignment alignment_ = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
  FW_CLASS_INFO()
 public:
  explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};

class TRadioButton : public TButtonControl {
  FW_CLASS_INFO()
 public:
  explicit TRadioButton(TComponent* owner);
  bool Checked() const;
  void SetChecked(bool v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  bool checked_ = false;
};

class TCustomEdit : public TWinControl {
  FW_CLASS_INFO()
 public:
  explicit TCustomEdit(TComponent* owner);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool v);
  int MaxLength() const { return max_length_; }
  void SetMaxLength(int v);
  void SelectAll();
  void Clear() { SetText(""); }

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  bool read_only_ = false;
  int max_length_ = 0;
};

class TEdit : public TCustomEdit {
  FW_CLASS_INFO()
 public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

class TCustomMemo : public TCustomEdit {
  FW_CLASS_INFO()
 public:
  explicit TCustomMemo(TComponent* owner);
  // The lines of the text (CR LF separated).
  TStringList Lines() const;
  void SetLines(const TStringList& lines);
  TScrollStyle ScrollBars() const { return scroll_bars_; }
  void SetScrollBars(TScrollStyle v) { scroll_bars_ = v; }
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool v) { word_wrap_ = v; }
  bool WantReturns() const { return want_returns_; }
  void SetWantReturns(bool v) { want_returns_ = v; }

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  TScrollStyle scroll_bars_ = ssNone;
  bool word_wrap_ = true;
  bool want_returns_ = true;
};

class TMemo : public TCustomMemo {
  FW_CLASS_INFO()
 public:
  explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

// A combo box: an edit with a drop-down list (csDropDown), an edit over a list that is
// always shown (csSimple), or a drop-down list without an edit (csDropDownList, whose Text
// is the selected item's). Changing the style of an existing window recreates it.
class TCustomComboBox : public TWinControl {
  FW_CLASS_INFO()
 public:
  explicit TCustomComboBox(TComponent* owner);
  const TStringList& Items() const { return items_; }
  void SetItems(const TStringList& items);
  int ItemIndex() const;
  void SetItemIndex(int index);
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle v);
  int DropDownCount() const { return drop_down_count_; }
  void SetDropDownCount(int v) { drop_down_count_ = v; }
  std::string GetText() const override;
  void SetText(const std::string& text) override;

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  TStringList items_;
  int item_index_ = -1;
  TComboBoxStyle style_ = csDropDown;
  int drop_down_count_ = 8;
};

class TComboBox : public TCustomComboBox {
  FW_CLASS_INFO()
 public:
  explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

// A list of strings to choose from; a selection change fires OnClick (as a click would).
class TCustomListBox : public TWinControl {
  FW_CLASS_INFO()
 public:
  explicit TCustomListBox(TComponent* owner);
  const TStringList& Items() const { return items_; }
  void SetItems(const TStringList& items);
  int ItemIndex() const;
  void SetItemIndex(int index);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool v) { sorted_ = v; }
  bool IntegralHeight() const { return integral_height_; }
  void SetIntegralHeight(bool v) { integral_height_ = v; }

  TNotifyEvent OnDblClick;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  TStringList items_;
  int item_index_ = -1;
  bool sorted_ = false;
  bool integral_height_ = false;
};

class TListBox : public TCustomListBox {
  FW_CLASS_INFO()
 public:
  explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};

enum TBevelCut { bvNone, bvLowered, bvRaised };

// A framed box with its caption in the top edge; framework-drawn.
class TCustomGroupBox : public TCustomControl {
  FW_CLASS_INFO()
 public:
  explicit TCustomGroupBox(TComponent* owner);
  // The client area below the caption line, where the group's controls go.
  RECT ContentRect();

 protected:
  void Paint() override;
};

class TGroupBox : public TCustomGroupBox {
  FW_CLASS_INFO()
 public:
  explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};

// A framework-drawn panel: outer and inner bevels around its caption.
class TCustomPanel : public TCustomControl {
  FW_CLASS_INFO()
 public:
  explicit TCustomPanel(TComponent* owner);
  TBevelCut BevelOuter() const { return bevel_outer_; }
  void SetBevelOuter(TBevelCut v);
  TBevelCut BevelInner() const { return bevel_inner_; }
  void SetBevelInner(TBevelCut v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);

 protected:
  void Paint() override;

 private:
  TBevelCut bevel_outer_ = bvRaised;
  TBevelCut bevel_inner_ = bvNone;
  TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
  FW_CLASS_INFO()
 public:
  explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

// Registers every class of this file, TForm, TTimer and every other control family of the
// framework (common controls, buttons, tab controls, ...).
void RegisterStandardClasses();

}  // namespace fw
