#pragma once
// String lists: ordered lines with an optional object each, bulk-update brackets and a change
// notification (memos, combo boxes and the property listings use them).
#include <functional>
#include <string>
#include <vector>

#include "framework/object.h"

namespace vsi {

class TStrings : public TPersistent {
  VSI_CLASS(TStrings)
  int Count() const { return static_cast<int>(items_.size()); }
  const AnsiString& Strings(int index) const;
  void SetStrings(int index, const AnsiString& s);
  TObject* Objects(int index) const;
  void SetObjects(int index, TObject* object);
  virtual int Add(const AnsiString& s, TObject* object = nullptr);
  virtual void Insert(int index, const AnsiString& s, TObject* object = nullptr);
  void Delete(int index);
  void Clear();
  int IndexOf(const AnsiString& s) const;  // case-insensitive, as the framework compares
  void Exchange(int a, int b);
  // All lines joined with CR LF, each line terminated.
  AnsiString Text() const;
  // Splits at CR LF, LF or CR.
  void SetText(const AnsiString& text);
  void AddStrings(const TStrings& other);
  void Assign(const TPersistent& source) override;
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }
  bool operator==(const TStrings& o) const;

  TNotifyEvent OnChange;

 protected:
  void Changed();
  struct Item {
    AnsiString text;
    TObject* object = nullptr;
  };
  std::vector<Item> items_;
  int updateCount_ = 0;
  bool pendingChange_ = false;
};

class TStringList : public TStrings {
  VSI_CLASS(TStringList)
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  int Add(const AnsiString& s, TObject* object = nullptr) override;
  void Sort();

 private:
  bool sorted_ = false;
};

}  // namespace vsi
