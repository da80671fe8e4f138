// A keyed collection as the system's procedures use it: items in order (1-based), each
// optionally under a text key that compares without regard to case; and sorting one by a
// property.
#pragma once

#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/variant.h"
#include "platform/text.h"

namespace plorin {

template <class T>
class Collection {
public:
    int Count() const { return static_cast<int>(items_.size()); }

    // Adds at the end, or before the 1-based position `before`. A key already present
    // raises errDuplicateKey, as a keyed collection does.
    void Add(T item, const std::string& key = {}, int before = 0) {
        if (!key.empty() && find(key))
            raiseError(errDuplicateKey, "This key is already associated with an element of this collection");
        Entry e{std::move(item), key};
        if (before > 0) {
            if (before > Count()) raiseError(errSubscriptOutOfRange, "Subscript out of range");
            items_.insert(items_.begin() + (before - 1), std::move(e));
        } else {
            items_.push_back(std::move(e));
        }
    }
    T& Item(int index) {
        if (index < 1 || index > Count()) raiseError(errSubscriptOutOfRange, "Subscript out of range");
        return items_[index - 1].item;
    }
    const T& Item(int index) const { return const_cast<Collection*>(this)->Item(index); }
    T& Item(const std::string& key) {
        auto* e = find(key);
        if (!e) raiseError(errInvalidArgument, "Invalid procedure call or argument");
        return e->item;
    }
    bool Exists(const std::string& key) const { return const_cast<Collection*>(this)->find(key) != nullptr; }
    void Remove(int index) {
        if (index < 1 || index > Count()) raiseError(errSubscriptOutOfRange, "Subscript out of range");
        items_.erase(items_.begin() + (index - 1));
    }
    const std::string& KeyOf(int index) const { return items_.at(index - 1).key; }
    void Clear() { items_.clear(); }

    // Iteration over the items.
    auto begin() { return Iter<typename std::vector<Entry>::iterator, T>{items_.begin()}; }
    auto end() { return Iter<typename std::vector<Entry>::iterator, T>{items_.end()}; }
    auto begin() const { return Iter<typename std::vector<Entry>::const_iterator, const T>{items_.begin()}; }
    auto end() const { return Iter<typename std::vector<Entry>::const_iterator, const T>{items_.end()}; }

private:
    struct Entry {
        T item;
        std::string key;
    };
    template <class It, class V>
    struct Iter {
        It it;
        V& operator*() const { return it->item; }
        Iter& operator++() {
            ++it;
            return *this;
        }
        bool operator!=(const Iter& o) const { return it != o.it; }
    };
    Entry* find(const std::string& key) {
        if (key.empty()) return nullptr;
        for (auto& e : items_)
            if (!e.key.empty() && platform::equalsNoCase(e.key, key)) return &e;
        return nullptr;
    }
    std::vector<Entry> items_;
};

// Sorts in place by a property (a value read from each item), by selection with removal
// and insertion, so equal values keep their order. With a key property, moved items are
// re-added under the key given by that property's text; otherwise without a key.
template <class T>
void SortCollection(Collection<T>& c, const std::function<Variant(const T&)>& property, bool ascending,
                    const std::function<Variant(const T&)>& keyProperty = nullptr) {
    for (int i = 1; i <= c.Count() - 1; ++i) {
        int best = i;
        Variant bestValue = property(c.Item(i));
        for (int j = i + 1; j <= c.Count(); ++j) {
            Variant v = property(c.Item(j));
            if (ascending ? v.lessThan(bestValue) : bestValue.lessThan(v)) {
                best = j;
                bestValue = v;
            }
        }
        if (best != i) {
            T item = c.Item(best);
            c.Remove(best);
            std::string key = keyProperty ? keyProperty(item).toText() : std::string();
            c.Add(std::move(item), key, i);
        }
    }
}

}  // namespace plorin
