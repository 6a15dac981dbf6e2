#pragma once
// A pick list: a catalogue's lines shown as " n:line" items, then the items
// added one by one (the aircraft list's "Random" and "None"). An item's text
// is made when it is asked for, so a list of tens of thousands of places
// costs no more than its file. The lines are shared, not copied: they belong
// to the window's catalogues, which the missions window reads names from too.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "catalogues/Catalogue.h"

namespace kestrane {

class PickList {
public:
    PickList() = default;
    explicit PickList(std::shared_ptr<const CatalogueFile> lines, std::vector<std::string> extra = {})
        : numbered_(std::move(lines)), extra_(std::move(extra)) {}

    // The catalogue's lines, without the items added.
    const CatalogueFile& Lines() const { return numbered_ ? *numbered_ : kNone; }
    int Count() const { return static_cast<int>(Lines().Count() + extra_.size()); }
    // The item text at an index; empty before the first and past the end.
    std::string Item(int index) const {
        if (index < 0) return {};
        const auto i = static_cast<std::size_t>(index);
        const CatalogueFile& lines = Lines();
        if (i < lines.Count()) return CatalogueItem(i, lines.Line(i));
        return i - lines.Count() < extra_.size() ? extra_[i - lines.Count()] : std::string();
    }

private:
    static inline const CatalogueFile kNone{};
    std::shared_ptr<const CatalogueFile> numbered_;
    std::vector<std::string> extra_;
};

}  // namespace kestrane
