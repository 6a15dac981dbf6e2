#include "ui/History.h"

namespace kestrane {

namespace {

std::vector<std::uint8_t> BytesOf(const MissionBytes& image, const Field& field) {
    return std::vector<std::uint8_t>(image.begin() + field.offset, image.begin() + field.End());
}

}  // namespace

void History::Step::AddField(const Field& field, const MissionBytes& before, const MissionBytes& after) {
    fields.push_back({&field, BytesOf(before, field), BytesOf(after, field)});
}

void History::Step::AddControl(ControlId id, ControlState before, ControlState after) {
    controls.push_back({id, std::move(before), std::move(after)});
}

void History::Push(Step step) {
    done_.push_back(std::move(step));
    undone_.clear();
}

void History::Clear() {
    done_.clear();
    undone_.clear();
}

std::optional<History::Step> History::Undo(MissionImage& image, ControlStates& controls) {
    return Replay(done_, undone_, false, image, controls);
}

std::optional<History::Step> History::Redo(MissionImage& image, ControlStates& controls) {
    return Replay(undone_, done_, true, image, controls);
}

std::optional<History::Step> History::Replay(std::vector<Step>& from, std::vector<Step>& to, bool forward,
                                             MissionImage& image, ControlStates& controls) {
    if (from.empty()) return std::nullopt;
    to.push_back(std::move(from.back()));
    from.pop_back();
    const Step& step = to.back();
    for (const Step::FieldBytes& f : step.fields) {
        const std::vector<std::uint8_t>& bytes = forward ? f.after : f.before;
        for (std::size_t i = 0; i < bytes.size(); ++i) image.SetU8(f.field->offset + static_cast<int>(i), bytes[i]);
    }
    for (const Step::ControlChange& change : step.controls)
        controls[Index(change.id)] = forward ? change.after : change.before;
    return step;
}

}  // namespace kestrane
