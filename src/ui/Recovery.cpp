// Unsaved work as a recovery text: the image, the image last loaded or
// saved, and every control's state, in JSON with a checksum over the whole,
// so that a damaged or cut file is never taken in part.

#include <nlohmann/json.hpp>

#include "mission/Checksum.h"
#include "mission/Hex.h"
#include "ui/WindowModel.h"

namespace kestrane {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kFormat = "kestrane-unsaved-mission";
constexpr int kVersion = 1;

std::optional<MissionBytes> FromHex(const std::string& hex) {
    const auto read = BytesOfHex(hex);
    if (!read || read->size() != kMissionSize) return std::nullopt;
    MissionBytes bytes{};
    std::copy(read->begin(), read->end(), bytes.begin());
    return bytes;
}

// Texts that are not valid UTF-8 (a folder name in another encoding, say)
// are written with replacement characters rather than refused.
std::string Dump(const Json& json, int indent = -1) {
    return json.dump(indent, ' ', false, Json::error_handler_t::replace);
}

std::uint32_t Seal(const Json& body) {
    const std::string text = Dump(body);
    return Crc32(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// The body of a whole, sealed recovery text of this editor, or null.
std::optional<Json> Unseal(std::string_view text) {
    const Json doc = Json::parse(text.begin(), text.end(), nullptr, false);
    if (doc.is_discarded() || !doc.is_object() || !doc.contains("body") || !doc.contains("seal")) return std::nullopt;
    const Json& body = doc.at("body");
    if (!doc.at("seal").is_number_unsigned() || doc.at("seal").get<std::uint32_t>() != Seal(body)) return std::nullopt;
    if (!body.is_object()) return std::nullopt;
    for (const char* key : {"format", "saved_at", "image", "clean"})
        if (!body.contains(key) || !body.at(key).is_string()) return std::nullopt;
    if (body.at("format") != kFormat || body.value("version", 0) != kVersion) return std::nullopt;
    if (!body.contains("controls") || !body.at("controls").is_array() || body.at("controls").size() != kControlCount)
        return std::nullopt;
    return body;
}

}  // namespace

std::string WindowModel::RecoveryText(std::string_view savedAt) const {
    Json controls = Json::array();
    for (const ControlState& state : state_) controls.push_back({state.text, state.value});
    Json body{{"format", std::string(kFormat)},   {"version", kVersion},           {"saved_at", std::string(savedAt)},
              {"image", HexBytes(image_.Bytes())}, {"clean", HexBytes(clean_)}, {"controls", controls}};
    const std::uint32_t seal = Seal(body);
    return Dump(Json{{"body", std::move(body)}, {"seal", seal}}, 1) + "\n";
}

std::string WindowModel::RecoverySavedAt(std::string_view text) {
    const std::optional<Json> body = Unseal(text);
    return body ? body->at("saved_at").get<std::string>() : std::string();
}

bool WindowModel::Restore(std::string_view text) {
    const std::optional<Json> body = Unseal(text);
    if (!body) return false;
    try {
        const std::optional<MissionBytes> image = FromHex(body->at("image").get<std::string>());
        const std::optional<MissionBytes> clean = FromHex(body->at("clean").get<std::string>());
        if (!image || !clean) return false;
        std::array<ControlState, kControlCount> states;
        for (std::size_t i = 0; i < kControlCount; ++i) {
            const Json& control = body->at("controls").at(i);
            states[i] = {control.at(0).get<std::string>(), control.at(1).get<int>()};
            // A value that cannot be chosen now (a shorter catalogue, say) is no choice.
            const auto id = static_cast<ControlId>(i);
            const ControlKind kind = Spec(id).kind;
            const int count = kind == ControlKind::List       ? Items(id).Count()
                              : kind == ControlKind::Options  ? static_cast<int>(Members(id).size())
                              : kind == ControlKind::CheckBox ? 2
                                                              : 0;
            if (states[i].value >= count) states[i].value = count > 0 ? -1 : states[i].value;
            if (kind == ControlKind::CheckBox && states[i].value < 0) states[i].value = 0;
        }
        const std::string status = "Restored the unsaved work from " + body->at("saved_at").get<std::string>() + ".";
        image_.Assign(*image);
        state_ = states;
        history_.clear();
        undone_.clear();
        clean_ = *clean;
        origin_ = *clean;
        unlocked_ = true;
        SetText(ControlId::StatusLine, status);
        return true;
    } catch (const Json::exception&) {
        return false;
    }
}

}  // namespace kestrane
