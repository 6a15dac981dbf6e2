#pragma once
// The undo history of the window: each step holds the bytes of the fields
// an editor wrote and the controls it changed, before and after, and how
// to say what it did. Undo and redo take the latest step of one list, put
// its side back into the image and the controls, and move it to the other.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "mission/Fields.h"
#include "mission/MissionImage.h"
#include "ui/ControlId.h"

namespace kestrane {

// What a control shows: its caption or text, and its chosen member, check
// state or selected item (-1 for none).
struct ControlState {
    std::string text;
    int value = -1;
    bool operator==(const ControlState&) const = default;
};
using ControlStates = std::array<ControlState, kControlCount>;

class History {
public:
    struct Step {
        std::string title, beforeWords, afterWords;  // "Weather", "Clear", "Overcast"
        struct FieldBytes {
            const Field* field;
            std::vector<std::uint8_t> before, after;
        };
        struct ControlChange {
            ControlId id;
            ControlState before, after;
        };
        std::vector<FieldBytes> fields;
        std::vector<ControlChange> controls;

        void AddField(const Field& field, const MissionBytes& before, const MissionBytes& after);
        void AddControl(ControlId id, ControlState before, ControlState after);
    };

    // A new step; what was undone can no longer be redone.
    void Push(Step step);
    void Clear();
    bool CanUndo() const { return !done_.empty(); }

    // Puts the latest step's before (undo) or after (redo) into the image and
    // the controls; returns that step, or none when there is nothing to take.
    std::optional<Step> Undo(MissionImage& image, ControlStates& controls);
    std::optional<Step> Redo(MissionImage& image, ControlStates& controls);

private:
    static std::optional<Step> Replay(std::vector<Step>& from, std::vector<Step>& to, bool forward, MissionImage& image,
                                      ControlStates& controls);

    std::vector<Step> done_;    // steps that can be undone, the latest last
    std::vector<Step> undone_;  // steps that can be made again
};

}  // namespace kestrane
