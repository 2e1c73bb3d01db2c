#include "app/main_form.h"

#include "app/calculator.h"
#include "framework/application.h"

TForm1* Form1 = nullptr;

const fw::TClassInfo& TForm1::StaticClassInfo() {
  static const fw::TClassInfo info = fw::DescribeClass<TForm1, fw::TForm>("TForm1", [](auto& c) {
    c.Field("Button1", &TForm1::Button1);
    c.Field("Label1", &TForm1::Label1);
    c.Field("Edit1", &TForm1::Edit1);
    c.Field("Memo1", &TForm1::Memo1);
    c.Field("Button2", &TForm1::Button2);
    c.Field("Button3", &TForm1::Button3);
    c.Field("Edit2", &TForm1::Edit2);
    c.Field("Edit3", &TForm1::Edit3);
    c.Field("Memo2", &TForm1::Memo2);
    c.Field("Label2", &TForm1::Label2);
    c.Field("Label3", &TForm1::Label3);
    c.Field("Label4", &TForm1::Label4);
    c.Field("Label5", &TForm1::Label5);
    c.Field("Label6", &TForm1::Label6);
    c.Field("Label7", &TForm1::Label7);
    c.Field("Label8", &TForm1::Label8);
    c.Field("SkinData1", &TForm1::SkinData1);
    c.Method("Button1Click", &TForm1::Button1Click);
    c.Method("Button2Click", &TForm1::Button2Click);
    c.Method("Button3Click", &TForm1::Button3Click);
    c.Method("Edit1KeyPress", &TForm1::Edit1KeyPress);
    c.Method("Edit2KeyPress", &TForm1::Edit2KeyPress);
    c.Method("Edit3KeyPress", &TForm1::Edit3KeyPress);
  });
  return info;
}

TForm1::TForm1(fw::TComponent* owner) : fw::TForm(owner) { skin::RegisterSkinDataClass(); }

namespace {

// A message box waits for the user; the conversion error ends the handler as an exception,
// which the window procedure shows in the application's standard error box.
void Apply(const calc::Outcome& outcome, fw::TMemo* memo) {
  switch (outcome.kind) {
    case calc::Outcome::Kind::kMemo:
      memo->SetText(outcome.text);
      break;
    case calc::Outcome::Kind::kMessage:
      fw::Application()->MessageBox(outcome.text);
      break;
    case calc::Outcome::Kind::kConversionError:
      throw fw::EConvertError(outcome.text);
  }
}

void FilterKey(char& key) {
  if (calc::KeyPasses(key)) return;
  fw::Application()->MessageBox(calc::gbk::kDigitsOnly);
  key = 0;
}

}  // namespace

void TForm1::Button1Click(fw::TObject*) { Apply(calc::FactorialClick(Edit1->Text()), Memo1); }

void TForm1::Button2Click(fw::TObject*) {
  Apply(calc::PermutationClick(Edit2->Text(), Edit3->Text()), Memo2);
}

void TForm1::Button3Click(fw::TObject*) {
  Apply(calc::CombinationClick(Edit2->Text(), Edit3->Text()), Memo2);
}

void TForm1::Edit1KeyPress(fw::TObject*, char& key) { FilterKey(key); }
void TForm1::Edit2KeyPress(fw::TObject*, char& key) { FilterKey(key); }
void TForm1::Edit3KeyPress(fw::TObject*, char& key) { FilterKey(key); }
