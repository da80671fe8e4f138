// Tags: named text values, kept in insertion order with upper-case names.
#include "host/ascii.h"
#include "host/host.h"

namespace host {

namespace {

void requireIndex(int index, int count) {
    if (index < 1 || index > count)
        throw HostError(E_FAIL, "Tags (unknown member) : Integer out of range. " + std::to_string(index) +
                                    " is not in the valid range of 1 to " + std::to_string(count) + ".");
}

}  // namespace

std::string Tags::Name(int index) const {
    requireIndex(index, Count());
    return items_[static_cast<std::size_t>(index - 1)].first;
}

std::string Tags::Value(int index) const {
    requireIndex(index, Count());
    return items_[static_cast<std::size_t>(index - 1)].second;
}

namespace {

// Names are kept upper-case; a name asked for matches in any case.
template <class Items>
auto findTag(Items& items, const std::string& name) {
    return std::find_if(items.begin(), items.end(),
                        [&](const auto& item) { return detail::equalsNoCase(item.first, name); });
}

}  // namespace

std::string Tags::Item(const std::string& name) const {
    auto it = findTag(items_, name);
    return it == items_.end() ? std::string() : it->second;
}

void Tags::Add(const std::string& name, const std::string& value) {
    if (name.empty()) throw HostError(E_FAIL, "Tags.Add : Invalid request. A tag needs a name.");
    auto it = findTag(items_, name);
    if (it != items_.end()) it->second = value;
    else {
        if (items_.empty()) items_.reserve(4);  // shapes and slides mostly carry a few
        items_.emplace_back(detail::asciiUpper(name), value);
    }
    if (onChange_) onChange_();
}

void Tags::Delete(const std::string& name) {
    auto it = findTag(items_, name);
    if (it == items_.end()) return;
    items_.erase(it);
    if (onChange_) onChange_();
}

}  // namespace host
