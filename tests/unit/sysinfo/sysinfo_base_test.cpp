// The information-object framework: pending changes, change routing, the log, the retrieval
// policy and the property listings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/registry_access.h"
#include "framework/strings.h"
#include "sysinfo/sysinfo_base.h"

namespace vsi {
namespace {

// An object with one settable number that follows the setter pattern.
class TProbeObject : public TSysObject {
  VSI_CLASS(TProbeObject)
  explicit TProbeObject(AppContext& context) : TSysObject(context) {}
  int Value() const { return value_; }
  void SetValue(int v) {
    if (v == value_) return;
    RecordChange("Probe:Value", std::to_string(value_), std::to_string(v));
    value_ = v;
    if (AutoApply()) Apply();
  }
  void Retrieve() override {
    ++retrieves;
    if (failRetrieve) throw Exception("retrieval failed");
  }
  void Apply() override {
    if (!HasChange("Probe:Value")) return;
    CommitChange("Probe:Value");
    ++writes;
  }
  int retrieves = 0;
  int writes = 0;
  bool failRetrieve = false;

 private:
  int value_ = 1;
};

const ClassInfo& TProbeObject::StaticClass() {
  static const ClassInfo info = ClassBuilder<TProbeObject>("TProbeObject", &TSysObject::StaticClass())
                                    .Int("Value", &TProbeObject::Value, &TProbeObject::SetValue)
                                    .Build();
  return info;
}

class TProbeComponent : public TSysBaseComponent {
  VSI_CLASS(TProbeComponent)
  explicit TProbeComponent(TComponent* owner) : TSysBaseComponent(owner) {
    AttachObject(std::make_unique<TProbeObject>(Context()));
  }
  TProbeObject& Probe() const { return *static_cast<TProbeObject*>(Object()); }
};

const ClassInfo& TProbeComponent::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TProbeComponent>("TProbeComponent", &TSysBaseComponent::StaticClass()).Build();
  return info;
}

// A memo stand-in: a component that publishes its lines.
class TLinesHolder : public TComponent {
  VSI_CLASS(TLinesHolder)
  explicit TLinesHolder(TComponent* owner) : TComponent(owner) {}
  TStrings* Lines() const { return lines_.get(); }

 private:
  std::unique_ptr<TStringList> lines_ = std::make_unique<TStringList>();
};

const ClassInfo& TLinesHolder::StaticClass() {
  static const ClassInfo info = ClassBuilder<TLinesHolder>("TLinesHolder", &TComponent::StaticClass())
                                    .Object("Lines", TStrings::StaticClass(), &TLinesHolder::Lines)
                                    .Object("Items", TStrings::StaticClass(), &TLinesHolder::Lines)
                                    .Build();
  return info;
}

// A string list that refuses new lines, as a sorted list refuses duplicates.
class TRefusingList : public TStringList {
 public:
  int Add(const AnsiString&, TObject* = nullptr) override { throw Exception("List is full"); }
};

struct Report {
  TObject* sender;
  std::string name, oldValue, newValue;
  TDateTime time;
};

class SysBaseTest : public ::testing::Test {
 protected:
  SysBaseTest() {
    TFormatSettings& fs = ctx.format();
    fs.shortDateFormat = "dd/mm/yyyy";
    fs.longTimeFormat = "hh:nn:ss";
    fs.dateSeparator = '/';
    fs.timeSeparator = ':';
  }
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TComponent root{ctx};
};

// ---------------------------------------------------------------- pending changes

TEST_F(SysBaseTest, ChangeUndoneLeavesNoEntryAndCommitReportsNothing) {
  TProbeObject obj(ctx);
  std::vector<Report> reports;
  obj.SetChangeHandler([&](TObject* s, const AnsiString& n, const AnsiString& o, const AnsiString& v, TDateTime t) {
    reports.push_back({s, n, o, v, t});
  });
  obj.SetValue(2);
  obj.SetValue(1);
  EXPECT_FALSE(obj.HasChange("Probe:Value"));
  obj.CommitChange("Probe:Value");
  EXPECT_TRUE(reports.empty());
}

TEST_F(SysBaseTest, RepeatedChangeKeepsFirstOldValueAndCommitsOnce) {
  TProbeObject obj(ctx);
  std::vector<Report> reports;
  obj.SetChangeHandler([&](TObject* s, const AnsiString& n, const AnsiString& o, const AnsiString& v, TDateTime t) {
    reports.push_back({s, n, o, v, t});
  });
  obj.SetValue(2);
  obj.SetValue(3);
  ASSERT_EQ(obj.PendingChanges().Count(), 1);
  obj.Apply();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].sender, &obj);
  EXPECT_EQ(reports[0].name, "Probe:Value");
  EXPECT_EQ(reports[0].oldValue, "1");
  EXPECT_EQ(reports[0].newValue, "3");
  EXPECT_DOUBLE_EQ(reports[0].time, dates::EncodeDateTime(fp.system.localTime));
  EXPECT_EQ(obj.PendingChanges().Count(), 0);
  obj.Apply();  // nothing pending any more
  EXPECT_EQ(reports.size(), 1u);
  EXPECT_EQ(obj.writes, 1);
}

TEST_F(SysBaseTest, ChangeNamesCompareExactly) {
  TSysChangeList list;
  list.Record("Disk:Label", "a", "b");
  list.Record("disk:label", "x", "y");
  EXPECT_EQ(list.Count(), 2);
  EXPECT_TRUE(list.Has("Disk:Label"));
  EXPECT_FALSE(list.Has("DISK:LABEL"));
  TPropChange out;
  EXPECT_TRUE(list.Take("disk:label", out));
  EXPECT_EQ(out.oldValue, "x");
  EXPECT_FALSE(list.Take("disk:label", out));
}

TEST_F(SysBaseTest, AutoApplyAppliesRightAfterRecording) {
  TProbeObject obj(ctx);
  obj.SetAutoApply(true);
  obj.SetValue(5);
  EXPECT_EQ(obj.writes, 1);
  EXPECT_FALSE(obj.HasChange("Probe:Value"));
  obj.SetValue(5);  // same value: nothing recorded, nothing applied
  EXPECT_EQ(obj.writes, 1);
}

TEST_F(SysBaseTest, ReportsOfPartsRiseThroughTheParent) {
  TProbeObject parent(ctx), part(ctx);
  part.SetChangeHandler(parent.ForwardToThis());
  std::vector<Report> reports;
  parent.SetChangeHandler([&](TObject* s, const AnsiString& n, const AnsiString& o, const AnsiString& v,
                              TDateTime t) { reports.push_back({s, n, o, v, t}); });
  part.SetValue(4);
  part.Apply();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].sender, &parent);
  EXPECT_EQ(reports[0].newValue, "4");
}

TEST_F(SysBaseTest, CollectionItemsRecordUnderTheirIndex) {
  class Item : public TSysCollectionItem {
   public:
    using TSysCollectionItem::TSysCollectionItem;
    void Touch(const std::string& from, const std::string& to) { RecordItemChange("Card%d:Name", from, to); }
    bool Pending() const { return HasItemChange("Card%d:Name"); }
    void Apply() override {
      if (HasItemChange("Card%d:Name")) CommitItemChange("Card%d:Name");
    }
  };
  TSysCollection coll(ctx, [](TCollection* c) { return new Item(c); });
  std::vector<std::string> names;
  coll.SetChangeHandler([&](TObject*, const AnsiString& n, const AnsiString&, const AnsiString&, TDateTime) {
    names.push_back(n);
  });
  auto* first = static_cast<Item*>(coll.Add());
  auto* second = static_cast<Item*>(coll.Add());
  second->Touch("a", "b");
  EXPECT_TRUE(second->Pending());
  EXPECT_FALSE(first->Pending());
  first->Touch("c", "d");
  coll.Apply();  // index order
  EXPECT_EQ(names, (std::vector<std::string>{"Card0:Name", "Card1:Name"}));
}

// ---------------------------------------------------------------- the log

TEST_F(SysBaseTest, LogLineTable) {
  TSysLog log(&root);
  const TDateTime afternoon = dates::EncodeDateTime(SystemTime{2004, 3, 0, 21, 14, 30, 5, 0});
  const TDateTime midnight = dates::EncodeDateTime(SystemTime{2004, 3, 0, 21, 0, 0, 0, 0});
  struct Case {
    const char* what;
    const char* name;
    const char* oldValue;
    const char* newValue;
    TDateTime when;
    const char* expected;
  } cases[] = {
      {"plain", "Keyboard:Delay", "1", "3", afternoon, "Keyboard:Delay:1 - 3 21/03/2004 14:30:05"},
      {"empty old value", "Disk:Label", "", "DATA", afternoon, "Disk:Label: - DATA 21/03/2004 14:30:05"},
      {"midnight has no time", "Keyboard:Speed", "31", "20", midnight, "Keyboard:Speed:31 - 20 21/03/2004"},
  };
  for (const Case& c : cases) EXPECT_EQ(log.FormatLine(c.name, c.oldValue, c.newValue, c.when), c.expected) << c.what;
}

TEST_F(SysBaseTest, LogWritesEventThenMemoListBoxAndList) {
  TSysLog log(&root);
  auto* memo = new TLinesHolder(&root);
  auto* listBox = new TLinesHolder(&root);
  TStringList strings;
  std::vector<std::string> order;
  log.OnLog = [&](TObject* sender, const AnsiString& n, const AnsiString&, const AnsiString&, TDateTime) {
    EXPECT_EQ(sender, &log);
    EXPECT_EQ(memo->Lines()->Count(), 0);  // the event comes first
    order.push_back(n);
  };
  log.SetMemo(memo);
  log.SetListBox(listBox);
  log.SetStrings(&strings);
  log.Log("Keyboard:Delay", "1", "3", dates::EncodeDateTime(SystemTime{2004, 3, 0, 21, 14, 30, 5, 0}));
  const std::string line = "Keyboard:Delay:1 - 3 21/03/2004 14:30:05";
  EXPECT_EQ(order, std::vector<std::string>{"Keyboard:Delay"});
  ASSERT_EQ(memo->Lines()->Count(), 1);
  EXPECT_EQ(memo->Lines()->Strings(0), line);
  ASSERT_EQ(listBox->Lines()->Count(), 1);
  ASSERT_EQ(strings.Count(), 1);
  EXPECT_EQ(strings.Strings(0), line);
}

TEST_F(SysBaseTest, StringListSinkErrorsAreSwallowed) {
  TSysLog log(&root);
  auto* memo = new TLinesHolder(&root);
  TRefusingList refusing;
  int events = 0;
  log.OnLog = [&](TObject*, const AnsiString&, const AnsiString&, const AnsiString&, TDateTime) { ++events; };
  log.SetMemo(memo);
  log.SetStrings(&refusing);
  EXPECT_NO_THROW(log.Log("A:B", "1", "2", 38000.5));
  EXPECT_NO_THROW(log.Log("A:C", "2", "3", 38000.5));
  EXPECT_EQ(events, 2) << "the log goes on after a refusal";
  EXPECT_EQ(memo->Lines()->Count(), 2);
  EXPECT_EQ(refusing.Count(), 0);
}

TEST_F(SysBaseTest, RemovedMemoAndListBoxAreForgotten) {
  TSysLog log(&root);
  auto* memo = new TLinesHolder(&root);
  auto* listBox = new TLinesHolder(&root);
  log.SetMemo(memo);
  log.SetListBox(listBox);
  delete memo;
  delete listBox;
  EXPECT_EQ(log.Memo(), nullptr);
  EXPECT_EQ(log.ListBox(), nullptr);
  TStringList strings;
  log.SetStrings(&strings);
  EXPECT_NO_THROW(log.Log("A:B", "1", "2", 38000.5));
  EXPECT_EQ(strings.Count(), 1) << "the sink that is left still gets the line";
}

// ---------------------------------------------------------------- components

TEST_F(SysBaseTest, ComponentForwardsCommittedChangesToItsLog) {
  auto* log = new TSysLog(&root);
  TStringList lines;
  log->SetStrings(&lines);
  auto* comp = new TProbeComponent(&root);
  EXPECT_EQ(comp->Probe().OwnerComponent(), comp);
  comp->SetSysLog(log);
  comp->Probe().SetValue(2);
  comp->Probe().SetValue(3);
  comp->Probe().Apply();
  ASSERT_EQ(lines.Count(), 1);
  EXPECT_EQ(lines.Strings(0), "Probe:Value:1 - 3 21/03/2004 14:30:05");
}

TEST_F(SysBaseTest, WithoutLogCommitsStillDropEntries) {
  auto* comp = new TProbeComponent(&root);
  comp->Probe().SetValue(7);
  comp->Probe().Apply();
  EXPECT_EQ(comp->Probe().PendingChanges().Count(), 0);
  EXPECT_EQ(comp->Probe().writes, 1);
}

TEST_F(SysBaseTest, DestroyingTheLogClearsEveryReference) {
  auto* log = new TSysLog(&root);
  auto* a = new TProbeComponent(&root);
  auto* b = new TProbeComponent(&root);
  TComponent otherForm(ctx);
  auto* c = new TProbeComponent(&otherForm);  // another owner: told through free notification
  a->SetSysLog(log);
  b->SetSysLog(log);
  c->SetSysLog(log);
  delete log;
  EXPECT_EQ(a->SysLog(), nullptr);
  EXPECT_EQ(b->SysLog(), nullptr);
  EXPECT_EQ(c->SysLog(), nullptr);
  a->Probe().SetValue(9);
  EXPECT_NO_THROW(a->Probe().Apply());
  EXPECT_EQ(a->Probe().writes, 1) << "applied without a log";
  EXPECT_EQ(a->Probe().PendingChanges().Count(), 0);
}

TEST_F(SysBaseTest, ComponentInCodeDoesNotRetrieve) {
  auto* comp = new TProbeComponent(&root);
  EXPECT_FALSE(comp->AutoRetrieve());
  EXPECT_FALSE(comp->Retrieved());
  EXPECT_EQ(comp->Probe().retrieves, 0);
  comp->SetAutoRetrieve(true);  // a plain switch
  EXPECT_EQ(comp->Probe().retrieves, 0);
}

TEST_F(SysBaseTest, LoadedRetrievesOnlyWithAutoRetrieve) {
  auto* on = new TProbeComponent(&root);
  auto* off = new TProbeComponent(&root);
  SetProp(*on, "AutoRetrieve", PropValue(int64_t{1}));
  on->Loaded();
  off->Loaded();
  EXPECT_EQ(on->Probe().retrieves, 1);
  EXPECT_TRUE(on->Retrieved());
  EXPECT_EQ(off->Probe().retrieves, 0);
  EXPECT_FALSE(off->Retrieved());
}

TEST_F(SysBaseTest, RefreshTwiceFiresBothEventsTwiceInOrder) {
  auto* comp = new TProbeComponent(&root);
  std::vector<std::string> calls;
  comp->OnRefresh = [&](TObject* s) {
    EXPECT_EQ(s, comp);
    calls.push_back("refresh:" + std::to_string(comp->Probe().retrieves));
  };
  comp->OnAfterRefresh = [&](TObject*) { calls.push_back("after:" + std::to_string(comp->Probe().retrieves)); };
  comp->Refresh();
  comp->Refresh();
  EXPECT_EQ(calls, (std::vector<std::string>{"refresh:0", "after:1", "refresh:1", "after:2"}));
  EXPECT_TRUE(comp->Retrieved());
}

TEST_F(SysBaseTest, FailedRetrievalSkipsTheRestAndPropagates) {
  auto* comp = new TProbeComponent(&root);
  bool before = false, after = false;
  comp->OnRefresh = [&](TObject*) { before = true; };
  comp->OnAfterRefresh = [&](TObject*) { after = true; };
  comp->Probe().failRetrieve = true;
  EXPECT_THROW(comp->Refresh(), Exception);
  EXPECT_TRUE(before);
  EXPECT_FALSE(after);
  EXPECT_FALSE(comp->Retrieved());
  // Once retrieved, a later failure keeps the flag.
  comp->Probe().failRetrieve = false;
  comp->Refresh();
  comp->Probe().failRetrieve = true;
  EXPECT_THROW(comp->Refresh(), Exception);
  EXPECT_TRUE(comp->Retrieved());
}

TEST_F(SysBaseTest, PublishedRetrievalProperties) {
  auto* comp = new TProbeComponent(&root);
  const ClassInfo& cls = comp->ClassType();
  for (const char* name : {"About", "SysLog", "Retrieved", "AutoRetrieve", "OnRefresh", "OnAfterRefresh"})
    EXPECT_NE(cls.FindProperty(name), nullptr) << name;
  EXPECT_FALSE(cls.FindProperty("Retrieved")->CanWrite());
}

// ---------------------------------------------------------------- registry accessor

class TRegistryProbe : public TProbeObject {
 public:
  using TProbeObject::TProbeObject;
  using TSysObject::CloseRegKey;
  using TSysObject::CreateRegistry;
  using TSysObject::FreeRegistry;
  using TSysObject::OpenRegKey;
  using TSysObject::OpenRegKeyForWriting;
  using TSysObject::Registry;
  using TSysObject::RegKeyExists;
  using TSysObject::SetRegistryRoot;
};

TEST_F(SysBaseTest, RegistryAccessorOpensForReadingUnlessWriting) {
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, "SOFTWARE\\Velmora", "Name", "x");
  TRegistryProbe obj(ctx);
  EXPECT_FALSE(obj.OpenRegKey("\\SOFTWARE\\Velmora"));  // no accessor yet
  obj.SetRegistryRoot(HKEY_LOCAL_MACHINE_);           // nothing without an accessor
  obj.CreateRegistry();
  EXPECT_FALSE(obj.OpenRegKey("\\SOFTWARE\\Velmora"));  // the new accessor starts at HKEY_CURRENT_USER
  obj.SetRegistryRoot(HKEY_LOCAL_MACHINE_);
  EXPECT_TRUE(obj.RegKeyExists("\\SOFTWARE\\Velmora"));
  ASSERT_TRUE(obj.OpenRegKey("\\SOFTWARE\\Velmora"));
  EXPECT_EQ(fp.registry.HandleAccess(obj.Registry()->CurrentKey()), KEY_READ_);
  ASSERT_TRUE(obj.OpenRegKeyForWriting("\\SOFTWARE\\Velmora"));
  EXPECT_EQ(fp.registry.HandleAccess(obj.Registry()->CurrentKey()), KEY_ALL_ACCESS_);
  obj.CloseRegKey();
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
  obj.OpenRegKey("\\SOFTWARE\\Velmora");
  obj.FreeRegistry();  // freeing closes what is open
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
  EXPECT_FALSE(obj.OpenRegKey("\\SOFTWARE\\Velmora"));
}

// ---------------------------------------------------------------- property listings

enum TColourKind { ckRed, ckGreen, ckBlue };
const EnumInfo kColourNames{{"ckRed", "ckGreen", "ckBlue"}};

class TListedItem : public TSysCollectionItem {
  VSI_CLASS(TListedItem)
  explicit TListedItem(TCollection* c) : TSysCollectionItem(c) {}
  int Width() const { return 640 + Index(); }
};
const ClassInfo& TListedItem::StaticClass() {
  static const ClassInfo info = ClassBuilder<TListedItem>("TListedItem", &TSysCollectionItem::StaticClass())
                                    .Int("Width", &TListedItem::Width)
                                    .Build();
  return info;
}

class TListedPart : public TSysObject {
  VSI_CLASS(TListedPart)
  explicit TListedPart(AppContext& c) : TSysObject(c) {}
  bool Tile() const { return true; }
  void Retrieve() override {}
  void Apply() override {}
};
const ClassInfo& TListedPart::StaticClass() {
  static const ClassInfo info = ClassBuilder<TListedPart>("TListedPart", &TSysObject::StaticClass())
                                    .Bool("Tile", &TListedPart::Tile)
                                    .Build();
  return info;
}

class TListedObject : public TSysObject {
  VSI_CLASS(TListedObject)
  explicit TListedObject(AppContext& c)
      : TSysObject(c), part_(c), modes_(c, [](TCollection* x) { return new TListedItem(x); }) {
    names_.Add("Arial");
    names_.Add("Courier New");
    modes_.Add();
    modes_.Add();
  }
  int Count() const { return 3; }
  int64_t Size() const { return 5000000000; }
  bool Ready() const { return false; }
  int Kind() const { return ckGreen; }
  int Options() const { return 0b101; }
  double Ratio() const { return 1.5; }
  AnsiString Label() const { return "DATA"; }
  TStrings* Names() const { return const_cast<TStringList*>(&names_); }
  TListedPart* Part() const { return const_cast<TListedPart*>(&part_); }
  TSysCollection* Modes() const { return const_cast<TSysCollection*>(&modes_); }
  TNotifyEvent OnChange;
  void Retrieve() override {}
  void Apply() override {}

 private:
  TStringList names_;
  TListedPart part_;
  TSysCollection modes_;
};
const ClassInfo& TListedObject::StaticClass() {
  using L = TListedObject;
  static const ClassInfo info = ClassBuilder<L>("TListedObject", &TSysObject::StaticClass())
                                    .Int("Count", &L::Count)
                                    .Int("Size", &L::Size)
                                    .Bool("Ready", &L::Ready)
                                    .Enum("Kind", kColourNames, &L::Kind)
                                    .Set("Options", kColourNames, &L::Options)
                                    .Float("Ratio", &L::Ratio)
                                    .Text("Label", &L::Label)
                                    .Object("Names", TStrings::StaticClass(), &L::Names)
                                    .Object("Part", TListedPart::StaticClass(), &L::Part)
                                    .Object("Modes", TSysCollection::StaticClass(), &L::Modes)
                                    .Event("OnChange", &L::OnChange)
                                    .Build();
  return info;
}

std::vector<std::string> Lines(const TStrings& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Strings(i));
  return out;
}

TEST_F(SysBaseTest, ListPropertiesWithoutTypes) {
  TListedObject obj(ctx);
  TStringList lines;
  lines.Add("kept");  // the listing appends
  obj.ListProperties(lines);
  EXPECT_EQ(Lines(lines), (std::vector<std::string>{
                              "kept",
                              "Count = 3",
                              "Size = 5000000000",
                              "Ready = False",
                              "Kind = ckGreen",
                              "Options = [ckRed,ckBlue]",
                              "Ratio = 1.5",
                              "Label = DATA",
                              "Names = Arial,\"Courier New\"",
                              "Part.Tile = True",
                              "Modes.Item[0].Width = 640",
                              "Modes.Item[1].Width = 641",
                              "OnChange = UNKNOWN",
                          }));
}

TEST_F(SysBaseTest, ListPropertiesWithTypes) {
  TListedObject obj(ctx);
  TStringList lines;
  obj.ListProperties(lines, true);
  EXPECT_EQ(Lines(lines), (std::vector<std::string>{
                              "Count: Integer = 3",
                              "Size: Integer = 5000000000",
                              "Ready: Boolean = False",
                              "Kind: Enumeration = ckGreen",
                              "Options: Set = [ckRed,ckBlue]",
                              "Ratio: Double = 1.5",
                              "Label: AnsiString = DATA",
                              "Names: TStrings = Arial,\"Courier New\"",
                              "Part.Tile: Boolean = True",
                              "Modes.Item[0].Width: Integer = 640",
                              "Modes.Item[1].Width: Integer = 641",
                              "OnChange: TNotifyEvent = UNKNOWN",
                          }));
}

// ---------------------------------------------------------------- platform flags

TEST_F(SysBaseTest, PlatformFlagsTable) {
  struct Case {
    const char* what;
    OsVersionInfo version;
    bool windowsExtension;
    bool nt, w2000, xp, plus;
  } cases[] = {
      {"Windows 7", {6, 1, 7601, VER_PLATFORM_WIN32_NT_, ""}, false, true, false, false, true},
      {"Windows 2000", {5, 0, 2195, VER_PLATFORM_WIN32_NT_, ""}, false, true, true, false, true},
      {"Windows XP", {5, 1, 2600, VER_PLATFORM_WIN32_NT_, ""}, false, true, false, true, true},
      {"Server 2003", {5, 2, 3790, VER_PLATFORM_WIN32_NT_, ""}, false, true, false, false, true},
      {"95 with the extension", {4, 0, 950, VER_PLATFORM_WIN32_WINDOWS_, ""}, true, false, false, false, true},
      {"95 without it", {4, 0, 950, VER_PLATFORM_WIN32_WINDOWS_, ""}, false, false, false, false, false},
  };
  for (const Case& c : cases) {
    fake::FakePlatform p;
    p.system.version = c.version;
    // The call answers non-zero only where the desktop extension is installed.
    if (!c.windowsExtension) p.system.spi.erase(SPI_GETWINDOWSEXTENSION_);
    AppContext context(p.platform());
    const SysPlatformFlags& f = PlatformFlags(context);
    EXPECT_EQ(f.isNT, c.nt) << c.what;
    EXPECT_EQ(f.isWin2000, c.w2000) << c.what;
    EXPECT_EQ(f.isWinXP, c.xp) << c.what;
    EXPECT_EQ(f.plusAvailable, c.plus) << c.what;
  }
}

}  // namespace
}  // namespace vsi
