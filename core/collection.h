// A keyed collection as the system's procedures use it: items in order (1-based), each
// optionally under a text key that compares without regard to case.
#pragma once

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "core/errors.h"
#include "platform/text.h"

namespace plorin {

template <class T>
class Collection {
public:
    int Count() const { return static_cast<int>(items_.size()); }

    // Adds at the end, or before the 1-based position `before`. A key already present
    // raises error 457, as a keyed collection does.
    void Add(T item, const std::string& key = {}, int before = 0) {
        if (!key.empty() && find(key)) raiseError(457, "This key is already associated with an element of this collection");
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
        Iter& operator++() { ++it; return *this; }
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

}  // namespace plorin
