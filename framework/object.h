#pragma once
// Roots of the framework's class tree: TObject (the type of every event's Sender) and
// TPersistent (objects that can be assigned from one another, such as fonts and string lists).

namespace fw {

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

class TPersistent : public TObject {};

}  // namespace fw
