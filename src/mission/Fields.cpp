#include "mission/Fields.h"

#include <algorithm>

namespace kestrane {

const Field* FindField(std::string_view name) {
    for (const Field& f : kFields)
        if (f.name == name) return &f;
    return nullptr;
}

const Field* FieldAt(int offset) {
    for (const Field& f : kFields)
        if (f.Holds(offset)) return &f;
    return nullptr;
}

std::vector<ByteRange> RangesOutsideFields() {
    std::vector<ByteRange> ranges;
    for (int at = 0; at < kMissionSize; ++at) {
        if (FieldAt(at) != nullptr) continue;
        if (!ranges.empty() && ranges.back().End() == at) ++ranges.back().length;
        else ranges.push_back({at, 1});
    }
    return ranges;
}

std::vector<Difference> Differences(const MissionBytes& a, const MissionBytes& b) {
    std::vector<Difference> found;
    int at = 0;
    while (at < kMissionSize) {
        const Field* field = FieldAt(at);
        const int end = field != nullptr ? field->End() : at + 1;
        if (!std::equal(a.begin() + at, a.begin() + end, b.begin() + at)) {
            if (field != nullptr) found.push_back({field, {at, field->width}});
            else if (!found.empty() && found.back().field == nullptr && found.back().bytes.End() == at)
                ++found.back().bytes.length;
            else found.push_back({nullptr, {at, 1}});
        }
        at = end;
    }
    return found;
}

}  // namespace kestrane
