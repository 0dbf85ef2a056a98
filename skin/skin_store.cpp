#include "skin/skin_store.h"

#include <stdexcept>

TSkinCollectionItem::TSkinCollectionItem(TSkinCollection& collection, int id)
    : collection_(collection), id_(id), name_("SkinItem" + std::to_string(id)) {}

void TSkinCollectionItem::SetName(const std::string& name) {
    if (name == name_) return;
    for (int i = 0; i < collection_.Count(); i++) {
        const TSkinCollectionItem& other = collection_.Item(i);
        if (&other != this && other.Name() == name) throw std::runtime_error("The name " + name + " is already used.");
    }
    name_ = name;
}

void TSkinCollectionItem::Assign(const TSkinCollectionItem& other) {
    if (&other == this) return;
    name_ = other.name_;
    data_ = other.data_;
}

TSkinCollectionItem& TSkinCollection::Add() {
    items_.push_back(std::make_unique<TSkinCollectionItem>(*this, next_id_++));
    return *items_.back();
}

void TSkinCollection::Delete(int index) { items_.erase(items_.begin() + index); }

void TSkinCollection::Assign(const TSkinCollection& other) {
    if (&other == this) return;
    items_.clear();
    for (int i = 0; i < other.Count(); i++) Add().Assign(other.Item(i));
}
