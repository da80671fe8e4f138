// Sorting a keyed collection.
#include <gtest/gtest.h>

#include <string>

#include "core/collection.h"
#include "core/variant.h"

namespace {

struct Item {
    std::string name;
    plorin::Variant value;
};

TEST(Collection, SortingKeepsEqualValuesInTheirOrder) {
    plorin::Collection<Item> c;
    c.Add({"a", 3});
    c.Add({"b", 1});
    c.Add({"c", 2});
    c.Add({"d", 1});
    auto value = [](const Item& i) { return i.value; };
    auto names = [&] {
        std::string s;
        for (auto& i : c) s += i.name;
        return s;
    };
    plorin::SortCollection<Item>(c, value, true);
    EXPECT_EQ(names(), "bdca");
    plorin::SortCollection<Item>(c, value, false);
    EXPECT_EQ(names(), "acbd");
}

TEST(Collection, SortingWithAKeyPropertyReAddsMovedItemsUnderTheirKeys) {
    plorin::Collection<Item> c;
    c.Add({"zeta", "z"}, "zeta");
    c.Add({"alpha", "a"}, "alpha");
    plorin::SortCollection<Item>(
        c, [](const Item& i) { return i.value; }, true, [](const Item& i) { return plorin::Variant(i.name); });
    EXPECT_EQ(c.Item(1).name, "alpha");
    EXPECT_EQ(c.Item("ALPHA").name, "alpha");
    EXPECT_EQ(c.Item("zeta").name, "zeta");
}

}  // namespace
