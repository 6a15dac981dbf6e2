#include "ui/UnsavedWork.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "editors/Settings.h"
#include "mission/Charset.h"
#include "mission/Checksum.h"
#include "mission/Hex.h"

namespace kestrane {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kFormat = "kestrane-unsaved-mission";
constexpr int kVersion = 2;
constexpr int kFirstVersion = 1;  // every control's state by its place in the window
constexpr std::string_view kFileNameKey = "FileName";
// A list position no catalogue reaches; larger numbers are no selection.
constexpr int kLargestPosition = 1 << 24;

// The key a box's text is kept under: the field it edits.
std::string_view BoxKey(const BoxControl& box) {
    return box.number != nullptr ? box.number->field->name : kMissionNameField.name;
}

std::string Dump(const Json& json, int indent = -1) { return json.dump(indent, ' ', false); }

// A text as JSON: a string when it is valid UTF-8, else its bytes in
// hexadecimal ({"bytes": "63616FE9"}), so that a folder or file name in
// another encoding comes back byte for byte.
Json TextValue(const std::string& text) {
    if (IsValidUtf8(text)) return text;
    return Json{{"bytes", HexBytes(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()))}};
}

std::uint32_t Seal(const Json& body) {
    const std::string text = Dump(body);
    return Crc32(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::optional<MissionBytes> ImageOf(const Json& hex) {
    if (!hex.is_string()) return std::nullopt;
    const auto bytes = BytesOfHex(hex.get_ref<const std::string&>());
    if (!bytes || bytes->size() != kMissionSize) return std::nullopt;
    MissionBytes image{};
    std::copy(bytes->begin(), bytes->end(), image.begin());
    return image;
}

const std::string* StringAt(const Json& object, std::string_view key) {
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? &it->get_ref<const std::string&>() : nullptr;
}

// A text written by TextValue, or none.
std::optional<std::string> TextAt(const Json& object, std::string_view key) {
    if (const std::string* text = StringAt(object, key)) return *text;
    const auto it = object.find(key);
    if (it == object.end() || !it->is_object()) return std::nullopt;
    const std::string* hex = StringAt(*it, "bytes");
    const auto bytes = hex != nullptr ? BytesOfHex(*hex) : std::nullopt;
    if (!bytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

// A list selection: a whole number, -1 or more; anything past every list is none.
std::optional<int> PositionOf(const Json& value) {
    if (!value.is_number_integer()) return std::nullopt;
    const auto n = value.get<std::int64_t>();
    if (n < -1) return std::nullopt;
    return n > kLargestPosition ? -1 : static_cast<int>(n);
}

// The boxes and lists of the first format: every control's [text, value]
// by its place in the window's reading order.
std::string ReadFirstFormat(const Json& body, UnsavedWork& work) {
    const auto controls = body.find("controls");
    if (controls == body.end() || !controls->is_array() || controls->size() != kControlCount)
        return "its controls are not those of this editor";
    auto state = [&](ControlId id) -> const Json& { return (*controls)[Index(id)]; };
    auto valid = [&](ControlId id) {
        const Json& s = state(id);
        return s.is_array() && s.size() == 2 && s[0].is_string() && s[1].is_number_integer();
    };
    for (std::size_t i = 0; i < kBoxControls.size(); ++i) {
        if (!valid(kBoxControls[i].box)) return "a box's text is not text";
        work.boxes[i] = state(kBoxControls[i].box)[0].get<std::string>();
    }
    if (!valid(ControlId::FileNameBox) || !valid(ControlId::AircraftList) || !valid(ControlId::PlaceList))
        return "a box or list is not as this editor keeps it";
    work.fileName = state(ControlId::FileNameBox)[0].get<std::string>();
    const auto aircraft = PositionOf(state(ControlId::AircraftList)[1]);
    const auto place = PositionOf(state(ControlId::PlaceList)[1]);
    if (!aircraft || !place) return "a list selection is out of range";
    work.aircraft = *aircraft;
    work.place = *place;
    return {};
}

std::string ReadBoxesAndLists(const Json& body, UnsavedWork& work) {
    const auto boxes = body.find("boxes");
    const auto lists = body.find("lists");
    if (boxes == body.end() || !boxes->is_object() || lists == body.end() || !lists->is_object())
        return "it has no boxes or lists";
    for (std::size_t i = 0; i < kBoxControls.size(); ++i) {
        const auto text = TextAt(*boxes, BoxKey(kBoxControls[i]));
        if (!text) return "the box " + std::string(BoxKey(kBoxControls[i])) + " has no text";
        work.boxes[i] = *text;
    }
    const auto fileName = TextAt(*boxes, kFileNameKey);
    if (!fileName) return "the file name box has no text";
    work.fileName = *fileName;
    const auto aircraft = lists->find("aircraft");
    const auto place = lists->find("places");
    const auto a = aircraft != lists->end() ? PositionOf(*aircraft) : std::nullopt;
    const auto p = place != lists->end() ? PositionOf(*place) : std::nullopt;
    if (!a || !p) return "a list selection is missing or out of range";
    work.aircraft = *a;
    work.place = *p;
    return {};
}

// The body of a whole, sealed text of this editor, or why not.
std::string Unseal(std::string_view text, Json& body) {
    Json doc = Json::parse(text.begin(), text.end(), nullptr, false);
    if (doc.is_discarded()) return "it is not JSON (damaged or cut short)";
    if (!doc.is_object() || !doc.contains("body") || !doc.contains("seal")) return "it is not a kept work";
    body = std::move(doc["body"]);
    const Json& seal = doc["seal"];
    if (!seal.is_number_unsigned() || seal.get<std::uint64_t>() != Seal(body)) return "its checksum does not match";
    if (!body.is_object()) return "it is not a kept work";
    const std::string* format = StringAt(body, "format");
    if (format == nullptr || *format != kFormat) return "it is not a kept work of this editor";
    return {};
}

std::string Read(std::string_view text, UnsavedWork& work) {
    Json body;
    if (std::string error = Unseal(text, body); !error.empty()) return error;
    const auto version = body.find("version");
    if (version == body.end() || !version->is_number_integer()) return "it has no version number";
    const auto v = version->get<std::int64_t>();
    if (v != kVersion && v != kFirstVersion) return "it is of version " + std::to_string(v) + ", which this editor does not know";
    const std::string* savedAt = StringAt(body, "saved_at");
    if (savedAt == nullptr) return "it has no date";
    work.savedAt = *savedAt;
    for (auto [key, target] : {std::pair{"folder", &work.folder}, std::pair{"file", &work.file}})
        if (auto value = TextAt(body, key)) *target = std::move(*value);
    const auto image = ImageOf(body.value("image", Json()));
    const auto clean = ImageOf(body.value("clean", Json()));
    if (!image || !clean) return "its mission is not 400 bytes";
    work.image = *image;
    work.clean = *clean;
    return v == kVersion ? ReadBoxesAndLists(body, work) : ReadFirstFormat(body, work);
}

}  // namespace

bool UnsavedWork::SameWork(const UnsavedWork& other) const {
    return folder == other.folder && file == other.file && image == other.image && clean == other.clean &&
           boxes == other.boxes && fileName == other.fileName && aircraft == other.aircraft && place == other.place;
}

std::string UnsavedWork::Name() const {
    if (!boxes[0].empty()) return boxes[0];  // the mission name box comes first
    MissionImage shown;
    shown.Assign(image);
    return MissionName(shown);
}

std::string WorkText(const UnsavedWork& work) {
    Json boxes = Json::object();
    for (std::size_t i = 0; i < kBoxControls.size(); ++i) boxes[std::string(BoxKey(kBoxControls[i]))] = TextValue(work.boxes[i]);
    boxes[std::string(kFileNameKey)] = TextValue(work.fileName);
    Json body{{"format", std::string(kFormat)},
              {"version", kVersion},
              {"saved_at", work.savedAt},
              {"folder", TextValue(work.folder)},
              {"file", TextValue(work.file)},
              {"image", HexBytes(work.image)},
              {"clean", HexBytes(work.clean)},
              {"boxes", std::move(boxes)},
              {"lists", {{"aircraft", work.aircraft}, {"places", work.place}}}};
    const std::uint32_t seal = Seal(body);
    return Dump(Json{{"body", std::move(body)}, {"seal", seal}}, 1) + "\n";
}

WorkReading ReadWorkText(std::string_view text) noexcept {
    WorkReading reading;
    try {
        UnsavedWork work;
        reading.error = Read(text, work);
        if (reading.error.empty()) reading.work = std::move(work);
    } catch (...) {
        // A text no check above foresaw (or no memory for it) is refused like any damaged one.
        reading.work.reset();
        reading.error = "it could not be read";
    }
    return reading;
}

}  // namespace kestrane
