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

std::string Tags::Item(const std::string& name) const {
    const std::string key = detail::asciiUpper(name);
    for (const auto& [n, v] : items_)
        if (n == key) return v;
    return {};
}

void Tags::Add(const std::string& name, const std::string& value) {
    if (name.empty()) throw HostError(E_FAIL, "Tags.Add : Invalid request. A tag needs a name.");
    const std::string key = detail::asciiUpper(name);
    auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& item) { return item.first == key; });
    if (it != items_.end())
        it->second = value;
    else
        items_.emplace_back(key, value);
    if (onChange_) onChange_();
}

void Tags::Delete(const std::string& name) {
    const std::string key = detail::asciiUpper(name);
    auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& item) { return item.first == key; });
    if (it == items_.end()) return;
    items_.erase(it);
    if (onChange_) onChange_();
}

}  // namespace host
