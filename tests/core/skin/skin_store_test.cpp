#include <gtest/gtest.h>

#include <stdexcept>

#include "skin/skin_store.h"

TEST(SkinStore, ItemsAndNames) {
    TSkinStore store;
    EXPECT_EQ(store.Store.Owner(), &store);
    TSkinCollectionItem& a = store.Store.Add();
    TSkinCollectionItem& b = store.Store.Add();
    EXPECT_EQ(a.Name(), "SkinItem0");
    EXPECT_EQ(b.Name(), "SkinItem1");
    EXPECT_EQ(a.SkinData(), "Load Skin");
    a.SetSkinData("x");
    EXPECT_EQ(a.SkinData(), "Load Skin");

    // IDs count on over the life of the collection.
    store.Store.Delete(1);
    EXPECT_EQ(store.Store.Add().Name(), "SkinItem2");

    a.SetName("SkinItem0");  // its own name: nothing happens
    try {
        a.SetName("SkinItem2");
        FAIL() << "a used name was accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "The name SkinItem2 is already used.");
    }
    EXPECT_EQ(a.Name(), "SkinItem0");
    a.SetName("skinitem2");  // names compare with case
    EXPECT_EQ(a.Name(), "skinitem2");
}

TEST(SkinStore, AssignCopiesNamesAndPackages) {
    TSkinStore from, to;
    TSkinCollectionItem& item = from.Store.Add();
    item.SetName("Blue");
    item.SetDataStream({1, 2, 3});
    from.Store.Add().SetDataStream({4});
    EXPECT_EQ(item.DataSize(), 3u);

    to.Store.Add();
    to.Store.Assign(from.Store);
    ASSERT_EQ(to.Store.Count(), 2);
    EXPECT_EQ(to.Store.Item(0).Name(), "Blue");
    EXPECT_EQ(to.Store.Item(0).DataStream(), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(to.Store.Item(1).Name(), "SkinItem1");
    EXPECT_EQ(to.Store.Item(1).DataSize(), 1u);

    TSkinCollectionItem& copy = to.Store.Add();
    copy.Assign(item);
    EXPECT_EQ(copy.Name(), "Blue");
    EXPECT_EQ(copy.DataSize(), 3u);
}
