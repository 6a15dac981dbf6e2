// Any bytes, any length, as a mission file loaded through the window model:
// a file of 400 bytes or more loads, its first 400 bytes become the image,
// and saving it back keeps bytes 8 to 399 and writes the fixed header and
// the checksum before them, and neither leaves the mission marked modified;
// a shorter file is refused and leaves the image and every control as they
// were.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "mission/Checksum.h"
#include "mission/Fields.h"
#include "ui/WindowModel.h"

namespace {

using kestrane::ControlId;

struct FixedDialog : kestrane::FileDialog {
    std::string answer;
    std::string ChooseFile(const std::string&, std::string_view, std::string_view) override { return answer; }
    std::string ChooseSaveFile(const std::string&, const std::string&, std::string_view, std::string_view) override {
        return answer;
    }
};

struct Setup {
    std::filesystem::path dir;
    FixedDialog dialog;
    std::unique_ptr<kestrane::WindowModel> model;
    Setup() {
        dir = std::filesystem::temp_directory_path() / ("kestrane-fuzz-load-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "planes.txt") << "A\nB\nC\n";
        std::ofstream(dir / "targets.txt") << "X\nY\n";
        dialog.answer = (dir / "in.msn").string();
        model = std::make_unique<kestrane::WindowModel>(dialog, dir);
        model->Type(ControlId::FileNameBox, "out");
    }
    ~Setup() { std::filesystem::remove_all(dir); }
};

// Every control's text and value but the status line's.
std::vector<std::string> ControlStates(const kestrane::WindowModel& model) {
    std::vector<std::string> states;
    for (std::size_t i = 0; i < kestrane::kControlCount; ++i) {
        const auto id = static_cast<ControlId>(i);
        if (id == ControlId::StatusLine) continue;
        states.push_back(model.Text(id) + '\x1F' + std::to_string(model.Value(id)));
    }
    return states;
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Setup s;
    kestrane::WindowModel& model = *s.model;
    {
        std::ofstream out(s.dir / "in.msn", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const kestrane::MissionBytes imageBefore = model.Image().Bytes();
    const bool loadedBefore = model.Image().Loaded();
    const bool unlockedBefore = model.EditorsUnlocked();
    const std::vector<std::string> statesBefore = ControlStates(model);

    model.Click(ControlId::LoadButton);
    if (size < kestrane::kMissionSize) {
        if (model.Image().Bytes() != imageBefore || model.Image().Loaded() != loadedBefore) std::abort();
        if (model.EditorsUnlocked() != unlockedBefore) std::abort();
        if (ControlStates(model) != statesBefore) std::abort();
        if (model.Text(ControlId::StatusLine).rfind("Could not load ", 0) != 0) std::abort();
        return 0;
    }

    if (!model.Image().Loaded() || !model.EditorsUnlocked() || model.Modified()) std::abort();
    for (std::size_t i = 0; i < kestrane::kMissionSize; ++i)
        if (model.Image().Bytes()[i] != data[i]) std::abort();
    if (model.Text(ControlId::StoredChecksumDecimal) != std::to_string(kestrane::StoredChecksum(model.Image().Bytes())))
        std::abort();

    model.Click(ControlId::SaveButton);
    if (model.Text(ControlId::StatusLine).rfind("Saved ", 0) != 0 || model.Modified()) std::abort();
    const std::string saved = ReadAll(s.dir / "out.msn");
    if (saved.size() != kestrane::kMissionSize) std::abort();
    kestrane::MissionBytes written{};
    for (std::size_t i = 0; i < written.size(); ++i) written[i] = static_cast<std::uint8_t>(saved[i]);
    for (std::size_t i = 8; i < kestrane::kMissionSize; ++i)
        if (written[i] != data[i]) std::abort();
    for (std::size_t k = 0; k < kestrane::kFixedHeader.size(); ++k)
        if (written[static_cast<std::size_t>(kestrane::kFixedHeaderField.offset) + k] != kestrane::kFixedHeader[k])
            std::abort();
    if (kestrane::StoredChecksum(written) != kestrane::MissionChecksum(written)) std::abort();
    if (written != model.Image().Bytes()) std::abort();
    return 0;
}
