// Target and home base: a click on the name label takes the entry selected
// in the place list and stores its position as a two-byte place code.

#include "editors/Conversions.h"
#include "editors/EditorTables.h"

namespace kestrane {

const PlaceSpec kTarget{"Target", &Form1::Targl, &Form1::TargLN, &Field("TargetNumber")};
const PlaceSpec kHomeBase{"Home base", &Form1::HBL, &Form1::HBN, &Field("HomeBaseNumber")};

const PlaceSpec* PlaceForField(std::string_view fieldName) {
    if (fieldName == kTarget.field->name) return &kTarget;
    if (fieldName == kHomeBase.field->name) return &kHomeBase;
    return nullptr;
}

namespace {
constexpr int kLastPlace = 65535;  // the most a two-byte code holds

void AssignPlace(Form1& form, const PlaceSpec& place) {
    if (!form.MissionOpen) {
        form.StatusLine.Caption = "No mission is open: load one or make a new one first.";
        return;
    }
    const int p = form.List2.ListIndex;
    if (p < 0) {
        form.StatusLine.Caption = "Select a place in the Target/Home Base list first, then click the " +
                                  std::string(place.what == "Target" ? "target" : "home base") + ".";
        return;
    }
    if (p > kLastPlace) {
        form.StatusLine.Caption = std::string(place.what) + ": list position " + std::to_string(p) +
                                  " cannot be stored (a mission file holds places 0 to 65535); nothing was changed.";
        return;
    }
    (form.*place.name).Caption = form.List2.List(p);
    (form.*place.number).Caption = std::to_string(p);
    WriteU16(form.G, place.field->row(), static_cast<std::uint32_t>(p));
    form.StatusLine.Caption = std::string(place.what) + ": " + (form.*place.name).Caption + ".";
}
}  // namespace

void Form1::Targl_Click() { AssignPlace(*this, kTarget); }
void Form1::HBL_Click() { AssignPlace(*this, kHomeBase); }

}  // namespace kestrane
