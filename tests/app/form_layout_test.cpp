// The stored description of the calculator's form against its layout table.
#include "framework/form_description.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

std::string_view MainFormText();

namespace {

using fw::FormObject;
using fw::FormValue;

int64_t Int(const FormObject& object, const char* name) {
  const fw::FormProperty* p = object.FindProperty(name);
  if (!p) {
    ADD_FAILURE() << object.name << "." << name << " missing";
    return -1;
  }
  EXPECT_EQ(p->value.kind, FormValue::Kind::kInteger) << object.name << "." << name;
  return p->value.integer;
}

std::string Ident(const FormObject& object, const char* name) {
  const fw::FormProperty* p = object.FindProperty(name);
  if (!p || p->value.kind != FormValue::Kind::kIdent) return "<none>";
  return p->value.text;
}

std::string WideUtf8(const FormObject& object, const char* name) {
  const fw::FormProperty* p = object.FindProperty(name);
  if (!p || p->value.kind != FormValue::Kind::kWideString) return "<none>";
  return fw::Utf8FromUtf16(p->value.wide);
}

void ExpectFont(const FormObject& object) {
  SCOPED_TRACE(object.name);
  const fw::FormProperty* name = object.FindProperty("Font.Name");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->value.text, "MS Sans Serif");
  EXPECT_EQ(Int(object, "Font.Height"), -15);
  EXPECT_EQ(Ident(object, "Font.Charset"), "DEFAULT_CHARSET");
  EXPECT_EQ(Ident(object, "Font.Color"), "clWindowText");
  const fw::FormProperty* style = object.FindProperty("Font.Style");
  ASSERT_NE(style, nullptr);
  EXPECT_TRUE(style->value.set.empty());
}

TEST(MainFormDescription, FormProperties) {
  const FormObject form = fw::ParseFormDescription(MainFormText());
  EXPECT_EQ(form.name, "Form1");
  EXPECT_EQ(form.class_name, "TForm1");
  EXPECT_EQ(Int(form, "Left"), 409);
  EXPECT_EQ(Int(form, "Top"), 277);
  EXPECT_EQ(Int(form, "ClientWidth"), 574);
  EXPECT_EQ(Int(form, "ClientHeight"), 336);
  EXPECT_EQ(Ident(form, "BorderStyle"), "bsSingle");
  const fw::FormProperty* icons = form.FindProperty("BorderIcons");
  ASSERT_NE(icons, nullptr);
  EXPECT_EQ(icons->value.set, std::vector<std::string>{"biSystemMenu"});
  EXPECT_EQ(Ident(form, "Color"), "clBtnFace");
  EXPECT_EQ(Ident(form, "Position"), "poDesigned");
  EXPECT_EQ(Int(form, "PixelsPerInch"), 96);
  EXPECT_EQ(WideUtf8(form, "Caption"), "阶乘排列组合计算");
  ExpectFont(form);
}

struct ControlRow {
  const char* name;
  const char* kind;
  int left, top, width, height;
  const char* caption;  // nullptr: no caption stored
  int tab_order;        // -1: takes no focus
  const char* handler;  // OnClick / OnKeyPress handler, or nullptr
  bool auto_size;       // labels only
};

// In the order the form declares its fields.
const ControlRow kControls[] = {
    {"Button1", "TButton", 74, 176, 167, 33, "阶乘 n！", 1, "Button1Click", false},
    {"Label1", "TLabel", 72, 40, 177, 16, "请输入n的值：", -1, nullptr, false},
    {"Edit1", "TEdit", 72, 72, 169, 24, nullptr, 0, "Edit1KeyPress", false},
    {"Memo1", "TMemo", 72, 104, 169, 57, nullptr, 2, nullptr, false},
    {"Button2", "TButton", 330, 216, 167, 33, "排列 P（n，m）", 5, "Button2Click", false},
    {"Button3", "TButton", 330, 256, 167, 33, "组合 C（n，m）", 6, "Button3Click", false},
    {"Edit2", "TEdit", 328, 72, 169, 24, nullptr, 3, "Edit2KeyPress", false},
    {"Edit3", "TEdit", 328, 104, 169, 24, nullptr, 4, "Edit3KeyPress", false},
    {"Memo2", "TMemo", 328, 136, 169, 57, nullptr, 7, nullptr, false},
    {"Label2", "TLabel", 24, 72, 19, 16, "n：", -1, nullptr, true},
    {"Label3", "TLabel", 24, 112, 41, 16, "结果：", -1, nullptr, false},
    {"Label4", "TLabel", 328, 40, 177, 16, "请输入n，m的值：", -1, nullptr, false},
    {"Label5", "TLabel", 280, 104, 23, 16, "m：", -1, nullptr, true},
    {"Label6", "TLabel", 280, 144, 41, 16, "结果：", -1, nullptr, false},
    {"Label7", "TLabel", 280, 72, 19, 16, "n：", -1, nullptr, true},
    {"Label8", "TLabel", 32, 248, 249, 33, "ps：只能计算170以内的阶乘。", -1, nullptr, false},
};

TEST(MainFormDescription, ControlsMatchTheLayoutTable) {
  const FormObject form = fw::ParseFormDescription(MainFormText());
  ASSERT_EQ(form.children.size(), std::size(kControls));
  for (size_t i = 0; i < form.children.size(); ++i) {
    const FormObject& c = form.children[i];
    const ControlRow& row = kControls[i];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(c.name, row.name);
    EXPECT_EQ(c.class_name, row.kind);
    EXPECT_TRUE(c.children.empty());
    EXPECT_EQ(Int(c, "Left"), row.left);
    EXPECT_EQ(Int(c, "Top"), row.top);
    EXPECT_EQ(Int(c, "Width"), row.width);
    EXPECT_EQ(Int(c, "Height"), row.height);
    if (row.caption) {
      EXPECT_EQ(WideUtf8(c, "Caption"), row.caption);
    } else {
      EXPECT_EQ(c.FindProperty("Caption"), nullptr);
      EXPECT_EQ(c.FindProperty("Text"), nullptr);  // edits and memos start empty
      EXPECT_EQ(c.FindProperty("Lines"), nullptr);
    }
    if (row.tab_order >= 0) {
      EXPECT_EQ(Int(c, "TabOrder"), row.tab_order);
    } else {
      EXPECT_EQ(c.FindProperty("TabOrder"), nullptr);
    }
    const std::string kind = row.kind;
    const char* event = kind == "TButton" ? "OnClick" : "OnKeyPress";
    if (row.handler) {
      EXPECT_EQ(Ident(c, event), row.handler);
    } else {
      EXPECT_EQ(c.FindProperty("OnClick"), nullptr);
      EXPECT_EQ(c.FindProperty("OnKeyPress"), nullptr);
    }
    // The memos only display results; everything else is enabled.
    EXPECT_EQ(Ident(c, "Enabled"), kind == "TMemo" ? "False" : "<none>");
    if (kind == "TLabel") {
      EXPECT_EQ(Ident(c, "AutoSize"), row.auto_size ? "<none>" : "False");
    }
    // The edit boxes carry their own font, the same as the form's.
    if (kind == "TEdit") {
      ExpectFont(c);
      EXPECT_EQ(Ident(c, "ParentFont"), "False");
    } else {
      EXPECT_EQ(c.FindProperty("Font.Name"), nullptr);
    }
  }
}

}  // namespace
