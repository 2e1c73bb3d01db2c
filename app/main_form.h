// The calculator's form: its controls come from the stored description (main_form.form,
// compiled in as the RCDATA resource "TFORM1"); its handlers apply the calculator's logic.
#pragma once

#include "framework/forms.h"
#include "framework/std_controls.h"
#include "skin/data/skin_data.h"

class TForm1 : public fw::TForm {
  FW_CLASS_INFO()
 public:
  explicit TForm1(fw::TComponent* owner);

  // The controls the form owns, in declaration order (bound by name when it is read).
  fw::TButton* Button1 = nullptr;
  fw::TLabel* Label1 = nullptr;
  fw::TEdit* Edit1 = nullptr;
  fw::TMemo* Memo1 = nullptr;
  fw::TButton* Button2 = nullptr;
  fw::TButton* Button3 = nullptr;
  fw::TEdit* Edit2 = nullptr;
  fw::TEdit* Edit3 = nullptr;
  fw::TMemo* Memo2 = nullptr;
  fw::TLabel* Label2 = nullptr;
  fw::TLabel* Label3 = nullptr;
  fw::TLabel* Label4 = nullptr;
  fw::TLabel* Label5 = nullptr;
  fw::TLabel* Label6 = nullptr;
  fw::TLabel* Label7 = nullptr;
  fw::TLabel* Label8 = nullptr;
  skin::TSkinData* SkinData1 = nullptr;

  void Button1Click(fw::TObject* sender);  // n!
  void Button2Click(fw::TObject* sender);  // P(n, m)
  void Button3Click(fw::TObject* sender);  // C(n, m)
  void Edit1KeyPress(fw::TObject* sender, char& key);
  void Edit2KeyPress(fw::TObject* sender, char& key);
  void Edit3KeyPress(fw::TObject* sender, char& key);
};

// The one instance, created at start-up.
extern TForm1* Form1;
