// Ownership, notifications and published-property streaming of components.
#include "framework/component.h"
#include "framework/form_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using fw::TComponent;

std::vector<std::string>* g_probe_log = nullptr;  // for probes a reader creates

// Records every notification it receives, and its own destruction, in a shared log.
class Probe : public TComponent {
  FW_CLASS_INFO()
 public:
  explicit Probe(TComponent* owner, std::vector<std::string>* log = nullptr)
      : TComponent(owner), log_(log ? log : g_probe_log) {}
  ~Probe() override {
    if (log_) log_->push_back("free " + Name());
  }
  void Notification(TComponent* c, fw::TOperation op) override {
    if (log_) log_->push_back(Name() + (op == fw::opInsert ? " +" : " -") + c->Name());
    TComponent::Notification(c, op);
  }
  void Loaded() override {
    TComponent::Loaded();
    if (log_) log_->push_back("loaded " + Name());
  }

  std::vector<std::string>* log_;
};

const fw::TClassInfo& Probe::StaticClassInfo() {
  static const fw::TClassInfo info = fw::DescribeClass<Probe, TComponent>("TProbe", [](auto&) {});
  return info;
}

TEST(ComponentOwnership, OwnerFreesComponentsLastFirst) {
  std::vector<std::string> log;
  auto* root = new Probe(nullptr, &log);
  root->SetName("Root");
  for (const char* name : {"A", "B", "C"}) (new Probe(root, &log))->SetName(name);
  log.clear();
  delete root;
  EXPECT_THAT(log, testing::ElementsAre("free Root", "free C", "free B", "free A"));
}

TEST(ComponentOwnership, FreeingOneNotifiesTheWholeOwnerTree) {
  std::vector<std::string> log;
  Probe root(nullptr, &log);
  root.SetName("Root");
  auto* a = new Probe(&root, &log);
  a->SetName("A");
  auto* a1 = new Probe(a, &log);  // owned one level deeper: still told
  a1->SetName("A1");
  auto* b = new Probe(&root, &log);
  b->SetName("B");
  log.clear();
  delete b;
  EXPECT_THAT(log, testing::ElementsAre("free B", "Root -B", "A -B", "A1 -B"));
  EXPECT_EQ(root.ComponentCount(), 1);
  EXPECT_EQ(root.FindComponent("b"), nullptr);
  EXPECT_EQ(root.FindComponent("a"), a);
}

TEST(ComponentOwnership, FreeNotificationReachesComponentsOutsideTheTree) {
  std::vector<std::string> log;
  Probe watcher(nullptr, &log);
  watcher.SetName("W");
  {
    Probe watched(nullptr, &log);
    watched.SetName("X");
    watched.FreeNotification(&watcher);
  }
  EXPECT_THAT(log, testing::Contains("W -X"));
  // The link is gone both ways: freeing the watcher later touches nothing.
}

TEST(ComponentOwnership, InsertMovesAndNamesStayUnique) {
  Probe first(nullptr), second(nullptr);
  auto* c = new Probe(&first);
  c->SetName("Child");
  second.InsertComponent(c);
  EXPECT_EQ(c->Owner(), &second);
  EXPECT_EQ(first.ComponentCount(), 0);
  auto* other = new Probe(&second);
  EXPECT_THROW(other->SetName("CHILD"), fw::Exception);
  EXPECT_THROW(other->SetName("1abc"), fw::Exception);
  EXPECT_EQ(c->ComponentIndex(), 0);
  EXPECT_EQ(other->ComponentIndex(), 1);
}

// A component with one property of every kind, a defined binary property and events.
enum TMode { mdOff, mdSlow, mdFast };
class Gadget : public TComponent {
  FW_CLASS_INFO()
 public:
  explicit Gadget(TComponent* owner) : TComponent(owner) {}
  bool Active() const { return active_; }
  void SetActive(bool v) { active_ = v; }
  int32_t Count() const { return count_; }
  void SetCount(int32_t v) { count_ = v; }
  std::string Title() const { return title_; }
  void SetTitle(const std::string& v) { title_ = v; }
  std::u16string Caption() const { return caption_; }
  void SetCaption(const std::u16string& v) { caption_ = v; }
  TMode Mode() const { return mode_; }
  void SetMode(TMode v) { mode_ = v; }
  uint32_t Kinds() const { return kinds_; }
  void SetKinds(uint32_t v) { kinds_ = v; }
  const fw::TStringList& Lines() const { return lines_; }
  void SetLines(const fw::TStringList& v) { lines_ = v; }
  fw::TColor Color() const { return color_; }
  void SetColor(fw::TColor v) { color_ = v; }
  void DefineProperties(fw::TFiler& filer) override {
    filer.DefineBinaryProperty(
        "Blob",
        [this](fw::TStream& s) {
          const int32_t n = s.ReadInt32();
          if (n < 0 || n > s.Remaining()) throw fw::EReadError("bad blob size");
          blob_.resize(static_cast<size_t>(n));
          s.ReadBuffer(blob_.data(), blob_.size());
        },
        [this](fw::TStream& s) {
          s.WriteInt32(static_cast<int32_t>(blob_.size()));
          s.WriteBuffer(blob_.data(), blob_.size());
        },
        true);
  }

  fw::TNotifyEvent OnChange;
  fw::TEvent<void(fw::TObject*, char&)> OnKey;
  bool active_ = false;
  int32_t count_ = 0;
  std::string title_;
  std::u16string caption_;
  TMode mode_ = mdOff;
  uint32_t kinds_ = 0;
  fw::TStringList lines_;
  fw::TColor color_ = fw::clBlack;
  std::vector<uint8_t> blob_;
};

const fw::TClassInfo& Gadget::StaticClassInfo() {
  static const fw::TClassInfo info = fw::DescribeClass<Gadget, TComponent>("TGadget", [](auto& c) {
    c.Bool("Active", &Gadget::Active, &Gadget::SetActive);
    c.Integer("Count", &Gadget::Count, &Gadget::SetCount);
    c.String("Title", &Gadget::Title, &Gadget::SetTitle);
    c.WideString("Caption", &Gadget::Caption, &Gadget::SetCaption);
    c.Enum("Mode", {"mdOff", "mdSlow", "mdFast"}, &Gadget::Mode, &Gadget::SetMode);
    c.Set("Kinds", {"kA", "kB", "kC"}, &Gadget::Kinds, &Gadget::SetKinds);
    c.StringList("Lines", &Gadget::Lines, &Gadget::SetLines);
    c.Color("Color", &Gadget::Color, &Gadget::SetColor);
    c.Event("OnChange", &Gadget::OnChange);
    c.Event("OnKey", &Gadget::OnKey);
  });
  return info;
}

// A root that publishes fields and handlers, as a form does.
class Holder : public TComponent {
  FW_CLASS_INFO()
 public:
  explicit Holder(TComponent* owner = nullptr) : TComponent(owner) {}
  void GadgetChange(fw::TObject* sender) { changed.push_back(static_cast<TComponent*>(sender)); }
  void GadgetKey(fw::TObject*, char& key) { key = 0; }
  Gadget* Gadget1 = nullptr;
  Probe* Probe1 = nullptr;
  std::vector<TComponent*> changed;
};

const fw::TClassInfo& Holder::StaticClassInfo() {
  static const fw::TClassInfo info = fw::DescribeClass<Holder, TComponent>("THolder", [](auto& c) {
    c.Field("Gadget1", &Holder::Gadget1);
    c.Field("Probe1", &Holder::Probe1);
    c.Method("GadgetChange", &Holder::GadgetChange);
    c.Method("GadgetKey", &Holder::GadgetKey);
  });
  return info;
}

class ComponentStreaming : public testing::Test {
 protected:
  void SetUp() override {
    fw::RegisterComponentClass(Gadget::StaticClassInfo());
    fw::RegisterComponentClass(Probe::StaticClassInfo());
  }
};

constexpr const char* kDescription = R"(object Holder1: THolder
  Tag = 7
  object Gadget1: TGadget
    Active = True
    Count = -15
    Title = 'it''s'#13#10
    Caption = u'阶乘'#33
    Mode = mdFast
    Kinds = [kA, kC]
    Lines = ( 'one' u'two' )
    Color = clBtnFace
    OnChange = GadgetChange
    OnKey = GadgetKey
    Blob = { 03000000 0A0B0C }
  end
end
)";

TEST_F(ComponentStreaming, ReadAssignsEveryKindAndBindsFieldsAndHandlers) {
  Holder holder;
  fw::ReadComponentFromText(holder, kDescription);
  ASSERT_NE(holder.Gadget1, nullptr);
  const Gadget& g = *holder.Gadget1;
  EXPECT_EQ(holder.Name(), "Holder1");
  EXPECT_EQ(holder.Tag(), 7);
  EXPECT_EQ(g.Owner(), &holder);
  EXPECT_TRUE(g.active_);
  EXPECT_EQ(g.count_, -15);
  EXPECT_EQ(g.title_, "it's\r\n");
  EXPECT_EQ(g.caption_, u"\u9636\u4E58!");
  EXPECT_EQ(g.mode_, mdFast);
  EXPECT_EQ(g.kinds_, 0b101u);
  EXPECT_EQ(g.lines_, (fw::TStringList{"one", "two"}));
  EXPECT_EQ(g.color_, fw::clBtnFace);
  EXPECT_EQ(g.blob_, (std::vector<uint8_t>{10, 11, 12}));
  ASSERT_TRUE(g.OnChange);
  g.OnChange(holder.Gadget1);
  EXPECT_THAT(holder.changed, testing::ElementsAre(holder.Gadget1));
  char key = 'x';
  g.OnKey(holder.Gadget1, key);
  EXPECT_EQ(key, 0);
  EXPECT_FALSE(g.IsLoading());
}

TEST_F(ComponentStreaming, WriteGivesBackWhatWasRead) {
  Holder holder;
  fw::ReadComponentFromText(holder, kDescription);
  const std::string text = fw::WriteComponentToText(holder);
  Holder again;
  fw::ReadComponentFromText(again, text);
  EXPECT_EQ(fw::WriteComponentToText(again), text);
  EXPECT_THAT(text, testing::HasSubstr("OnChange = GadgetChange"));
  EXPECT_THAT(text, testing::HasSubstr("Blob = {\n      030000000A0B0C}"));
}

TEST_F(ComponentStreaming, PropertiesAreWrittenInDeclarationOrderBaseFirst) {
  Gadget g(nullptr);
  const fw::FormObject o = fw::WriteComponentProperties(g);
  std::vector<std::string> names;
  for (const auto& p : o.properties) names.push_back(p.name);
  // Unassigned events are not stored; the defined property comes last.
  EXPECT_THAT(names, testing::ElementsAre("Tag", "Active", "Count", "Title", "Caption", "Mode",
                                          "Kinds", "Lines", "Color", "Blob"));
  EXPECT_EQ(o.properties.back().value.bytes, (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST_F(ComponentStreaming, LoadedRunsAfterAllPropertiesRootFirst) {
  std::vector<std::string> log;
  g_probe_log = &log;
  Holder holder;
  const char* text = R"(object H: THolder
    object Probe1: TProbe
      object P2: TProbe
      end
    end
  end)";
  fw::ReadComponentFromText(holder, text);
  ASSERT_NE(holder.Probe1, nullptr);
  EXPECT_EQ(holder.Probe1->Name(), "Probe1");
  EXPECT_EQ(holder.ComponentCount(), 2);  // both owned by the root, whatever the nesting
  // Probe1 hears of P2 joining the root (before P2 is named), then Loaded runs in order.
  EXPECT_THAT(log, testing::ElementsAre("Probe1 +", "loaded Probe1", "loaded P2"));
  g_probe_log = nullptr;
}

TEST_F(ComponentStreaming, PropertiesCanBeReadAndSetByName) {
  Gadget g(nullptr);
  EXPECT_EQ(fw::GetPublishedProperty(g, "active"), fw::FormValue::Ident("False"));
  EXPECT_TRUE(fw::SetPublishedProperty(g, "Active", fw::FormValue::Ident("True")));
  EXPECT_TRUE(g.active_);
  EXPECT_EQ(fw::GetPublishedProperty(g, "Kinds"), fw::FormValue::Set({}));
  EXPECT_FALSE(fw::GetPublishedProperty(g, "Flat").has_value());
  EXPECT_FALSE(fw::SetPublishedProperty(g, "Flat", fw::FormValue::Ident("True")));
  EXPECT_THROW(fw::SetPublishedProperty(g, "Count", fw::FormValue::Ident("True")), fw::EReadError);
}

struct BadCase {
  const char* text;
  const char* message;
};

TEST_F(ComponentStreaming, BadDescriptionsGiveErrorsWithLines) {
  const BadCase cases[] = {
      {"object H: THolder\n  Nope = 1\nend", "line 2: Property Nope does not exist"},
      {"object H: THolder\n object G: TNothing\n end\nend", "line 2: Class TNothing not found"},
      {"object H: THolder\n object G: TGadget\n  Count = 'x'\n end\nend",
       "line 3: Invalid value for property Count: expected an integer"},
      {"object H: THolder\n object G: TGadget\n  Mode = mdWarp\n end\nend",
       "line 3: Invalid value for property Mode"},
      {"object H: THolder\n object G: TGadget\n  Kinds = [kZ]\n end\nend",
       "unknown set member 'kZ'"},
      {"object H: THolder\n object G: TGadget\n  OnChange = Missing\n end\nend",
       "line 3: Method 'Missing' not found"},
      {"object H: THolder\n object G: TGadget\n  OnChange = GadgetKey\n end\nend",
       "does not fit event OnChange"},
      {"object H: THolder\n object Gadget1: TProbe\n end\nend",
       "line 2: Field Gadget1 does not fit class TProbe"},
      {"object H: THolder\n object G: TGadget\n  Blob = { FFFFFF7F }\n end\nend",
       "line 3: bad blob size"},
      {"object H: THolder\n object G: TGadget\n end\n object G: TGadget\n end\nend",
       "line 4: A component named G already exists"},
      {"object H: TGadget\nend", "does not fit class THolder"},
      {"object H: THolder\n Tag = 4294967295\nend", "out of range"},
      {"object H: THolder\n Tag = \nend", "line 3:"},
  };
  for (const auto& c : cases) {
    Holder holder;
    try {
      fw::ReadComponentFromText(holder, c.text);
      ADD_FAILURE() << "no error for: " << c.text;
    } catch (const fw::EReadError& e) {
      EXPECT_THAT(e.what(), testing::HasSubstr(c.message)) << c.text;
    }
  }
}

}  // namespace
