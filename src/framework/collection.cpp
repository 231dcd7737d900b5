#include "framework/collection.h"

#include <algorithm>

namespace vsi {

const ClassInfo& TCollectionItem::StaticClass() {
  static const ClassInfo info = ClassBuilder<TCollectionItem>("TCollectionItem", &TPersistent::StaticClass()).Build();
  return info;
}

const ClassInfo& TCollection::StaticClass() {
  static const ClassInfo info = ClassBuilder<TCollection>("TCollection", &TPersistent::StaticClass()).Build();
  return info;
}

TCollectionItem::TCollectionItem(TCollection* collection) : collection_(collection) {
  if (collection_) collection_->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
  if (collection_) collection_->RemoveItem(this);
}

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  auto& list = collection_->items_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TCollectionItem::Changed(bool allItems) {
  if (collection_) collection_->Changed(allItems ? nullptr : this);
}

TCollection::TCollection(ItemFactory factory) : factory_(std::move(factory)) {
  if (!factory_) factory_ = [](TCollection* c) { return new TCollectionItem(c); };
}

TCollection::~TCollection() {
  updateCount_ = 1;  // no notifications while tearing down
  while (!items_.empty()) delete items_.back();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) throw ERangeError(Format("List index out of bounds (%d)", index));
  return items_[index];
}

TCollectionItem* TCollection::Add() {
  TCollectionItem* item = factory_(this);
  if (item->collection_ != this) {
    item->collection_ = this;
    InsertItem(item);
  }
  return item;
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  while (!items_.empty()) delete items_.back();
  EndUpdate();
}

void TCollection::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed(nullptr);
}

void TCollection::Changed(TCollectionItem* item) {
  if (updateCount_ == 0) Update(item);
}

void TCollection::InsertItem(TCollectionItem* item) {
  items_.push_back(item);
  Changed(nullptr);
}

void TCollection::RemoveItem(TCollectionItem* item) {
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  item->collection_ = nullptr;
  Changed(nullptr);
}

}  // namespace vsi
