// TSkinStore: a container of skin packages kept with a form, each under a
// name of its own. Nothing in the skin engine reads packages out of it at
// run time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TSkinCollection;
class TSkinStore;

class TSkinCollectionItem {
public:
    TSkinCollectionItem(TSkinCollection& collection, int id);

    int ID() const { return id_; }
    const std::string& Name() const { return name_; }
    // Throws std::runtime_error when another item of the collection has
    // the name already (compared with case).
    void SetName(const std::string& name);

    // The raw-data property "DataStream": the package bytes, whole.
    const std::vector<uint8_t>& DataStream() const { return data_; }
    void SetDataStream(std::vector<uint8_t> bytes) { data_ = std::move(bytes); }
    size_t DataSize() const { return data_.size(); }

    // Not stored; the caption of the command that loads a package.
    std::string SkinData() const { return "Load Skin"; }
    void SetSkinData(const std::string&) {}

    // Copies the name and the whole package.
    void Assign(const TSkinCollectionItem& other);

private:
    TSkinCollection& collection_;
    int id_;
    std::string name_;
    std::vector<uint8_t> data_;
};

class TSkinCollection {
public:
    explicit TSkinCollection(TSkinStore* owner) : owner_(owner) {}
    TSkinCollection(const TSkinCollection&) = delete;
    TSkinCollection& operator=(const TSkinCollection&) = delete;

    TSkinStore* Owner() const { return owner_; }
    // A new item, named "SkinItem" and its ID; IDs count up from 0 over the
    // life of the collection.
    TSkinCollectionItem& Add();
    int Count() const { return static_cast<int>(items_.size()); }
    TSkinCollectionItem& Item(int index) { return *items_[index]; }
    const TSkinCollectionItem& Item(int index) const { return *items_[index]; }
    void Delete(int index);
    void Clear() { items_.clear(); }
    // Replaces the items by copies of `other`'s.
    void Assign(const TSkinCollection& other);

private:
    TSkinStore* owner_;
    std::vector<std::unique_ptr<TSkinCollectionItem>> items_;
    int next_id_ = 0;
};

class TSkinStore {
public:
    TSkinStore() : Store(this) {}
    TSkinCollection Store;
};
