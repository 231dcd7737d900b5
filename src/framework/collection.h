#pragma once
// Collections: an owned, ordered list of items of one class, with bulk-update brackets.
#include <functional>
#include <memory>
#include <vector>

#include "framework/object.h"

namespace vsi {

class TCollection;

class TCollectionItem : public TPersistent {
  VSI_CLASS(TCollectionItem)
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;
  TCollection* Collection() const { return collection_; }
  int Index() const;
  virtual std::string DisplayName() const { return ClassName(); }

 protected:
  // Tells the collection that this item changed.
  void Changed(bool allItems = false);

 private:
  friend class TCollection;
  TCollection* collection_;
};

class TCollection : public TPersistent {
  VSI_CLASS(TCollection)
  using ItemFactory = std::function<TCollectionItem*(TCollection*)>;
  explicit TCollection(ItemFactory factory = nullptr);
  ~TCollection() override;
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Items(int index) const;
  // A new item from the factory, appended.
  TCollectionItem* Add();
  void Delete(int index);
  void Clear();
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

 protected:
  // Called after a change; `item` is null when the whole collection changed.
  virtual void Update(TCollectionItem* item) {}
  void Changed(TCollectionItem* item);

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);
  ItemFactory factory_;
  std::vector<TCollectionItem*> items_;
  int updateCount_ = 0;
};

}  // namespace vsi
