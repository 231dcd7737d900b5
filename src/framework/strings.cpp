#include "framework/strings.h"
#include "framework/ascii.h"

#include <algorithm>
#include <cctype>

namespace vsi {

const ClassInfo& TStrings::StaticClass() {
  static const ClassInfo info = ClassBuilder<TStrings>("TStrings", &TPersistent::StaticClass()).Build();
  return info;
}

const ClassInfo& TStringList::StaticClass() {
  static const ClassInfo info = ClassBuilder<TStringList>("TStringList", &TStrings::StaticClass())
                                    .Bool("Sorted", &TStringList::Sorted, &TStringList::SetSorted)
                                    .Build();
  return info;
}

namespace {
void CheckIndex(int index, int count) {
  if (index < 0 || index >= count) throw ERangeError(Format("List index out of bounds (%d)", index));
}
}  // namespace

const AnsiString& TStrings::Strings(int index) const {
  CheckIndex(index, Count());
  return items_[index].text;
}

void TStrings::SetStrings(int index, const AnsiString& s) {
  CheckIndex(index, Count());
  items_[index].text = s;
  Changed();
}

TObject* TStrings::Objects(int index) const {
  CheckIndex(index, Count());
  return items_[index].object;
}

void TStrings::SetObjects(int index, TObject* object) {
  CheckIndex(index, Count());
  items_[index].object = object;
}

int TStrings::Add(const AnsiString& s, TObject* object) {
  items_.push_back({s, object});
  Changed();
  return Count() - 1;
}

void TStrings::Insert(int index, const AnsiString& s, TObject* object) {
  if (index < 0 || index > Count()) throw ERangeError(Format("List index out of bounds (%d)", index));
  items_.insert(items_.begin() + index, {s, object});
  Changed();
}

void TStrings::Delete(int index) {
  CheckIndex(index, Count());
  items_.erase(items_.begin() + index);
  Changed();
}

void TStrings::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

int TStrings::IndexOf(const AnsiString& s) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(items_[i].text, s)) return i;
  return -1;
}

void TStrings::Exchange(int a, int b) {
  CheckIndex(a, Count());
  CheckIndex(b, Count());
  std::swap(items_[a], items_[b]);
  Changed();
}

AnsiString TStrings::Text() const {
  AnsiString out;
  for (const Item& item : items_) {
    out += item.text;
    out += "\r\n";
  }
  return out;
}

void TStrings::SetText(const AnsiString& text) {
  BeginUpdate();
  items_.clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == AnsiString::npos) {
      items_.push_back({text.substr(start), nullptr});
      break;
    }
    items_.push_back({text.substr(start, end - start), nullptr});
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  pendingChange_ = true;
  EndUpdate();
}

void TStrings::AddStrings(const TStrings& other) {
  BeginUpdate();
  for (const Item& item : other.items_) Add(item.text, item.object);
  EndUpdate();
}

void TStrings::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TStrings*>(&source)) {
    if (src == this) return;
    BeginUpdate();
    items_ = src->items_;
    pendingChange_ = true;
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

void TStrings::BeginUpdate() { ++updateCount_; }

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0 && pendingChange_) {
    pendingChange_ = false;
    if (OnChange) OnChange(this);
  }
}

bool TStrings::operator==(const TStrings& o) const {
  if (Count() != o.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (items_[i].text != o.items_[i].text) return false;
  return true;
}

void TStrings::Changed() {
  if (updateCount_ > 0) {
    pendingChange_ = true;
    return;
  }
  if (OnChange) OnChange(this);
}

void TStringList::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  sorted_ = sorted;
  if (sorted_) Sort();
}

int TStringList::Add(const AnsiString& s, TObject* object) {
  if (!sorted_) return TStrings::Add(s, object);
  auto less = [](const Item& a, const AnsiString& b) {
    return std::lexicographical_compare(a.text.begin(), a.text.end(), b.begin(), b.end(), AsciiLessNoCase);
  };
  auto it = std::lower_bound(items_.begin(), items_.end(), s, less);
  int index = static_cast<int>(it - items_.begin());
  items_.insert(it, {s, object});
  Changed();
  return index;
}

void TStringList::Sort() {
  std::stable_sort(items_.begin(), items_.end(), [](const Item& a, const Item& b) {
    return std::lexicographical_compare(a.text.begin(), a.text.end(), b.text.begin(), b.text.end(),
                                        AsciiLessNoCase);
  });
  Changed();
}

}  // namespace vsi
