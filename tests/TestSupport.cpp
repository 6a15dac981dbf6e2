#include "TestSupport.h"

#include <atomic>
#include <fstream>
#include <random>
#include <unistd.h>

namespace kestrane::test {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("kestrane-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void WriteFile(const std::filesystem::path& path, const MissionBytes& bytes) {
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    const std::string s = ReadFile(path);
    return {s.begin(), s.end()};
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

std::vector<std::string> Numbered(const std::string& stem, int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) lines.push_back(stem + " " + std::to_string(i));
    return lines;
}

MissionBytes Mission(std::initializer_list<std::pair<int, std::uint8_t>> bytes) {
    MissionBytes m{};
    for (const auto& [offset, value] : bytes) m[static_cast<std::size_t>(offset)] = value;
    return m;
}

void SetU32(MissionBytes& m, int offset, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) m[static_cast<std::size_t>(offset + k)] = static_cast<std::uint8_t>(value >> (8 * k));
}

std::vector<std::string> ImageColumn(const Form1& form) {
    std::vector<std::string> column;
    for (int r = 1; r <= 400; ++r) column.push_back(form.G.TextMatrix(r, 2));
    return column;
}

std::vector<std::string> ImageCells(const Form1& form) {
    std::vector<std::string> cells;
    for (int r = 0; r < Grid::kRows; ++r)
        for (int c = 0; c < Grid::kCols; ++c) cells.push_back(form.G.TextMatrix(r, c));
    return cells;
}

std::vector<std::string> ControlStates(const Form1& form) {
    std::vector<std::string> states;
    for (const Form1::ControlEntry& e : form.Controls()) {
        if (e.name == "StatusLine") continue;
        const std::string key = e.name + "(" + std::to_string(e.index) + ")=";
        std::visit(
            [&](auto* c) {
                using T = std::remove_pointer_t<decltype(c)>;
                if constexpr (std::is_same_v<T, Label> || std::is_same_v<T, Button> || std::is_same_v<T, Frame>)
                    states.push_back(key + c->Caption);
                else if constexpr (std::is_same_v<T, TextBox>)
                    states.push_back(key + c->Text);
                else if constexpr (std::is_same_v<T, CheckBox> || std::is_same_v<T, OptionGroup>)
                    states.push_back(key + std::to_string(c->Value));
                else if constexpr (std::is_same_v<T, ListBox>)
                    states.push_back(key + std::to_string(c->ListCount()) + "/" + std::to_string(c->ListIndex));
            },
            e.control);
    }
    return states;
}

Editor::Editor(int planes, int targets, bool blocks) {
    WriteFile(dir / "planes.txt", Lines(Numbered("Plane", planes)));
    WriteFile(dir / "targets.txt", Lines(Numbered("Place", targets)));
    if (blocks) WriteFile(dir / "blocks.txt", Lines(Numbered("Block", 32)));
    form = std::make_unique<Form1>(dialog, dir.path());
}

void Editor::Load(const MissionBytes& bytes, const std::string& name) {
    WriteFile(dir / name, bytes);
    dialog.answers.push_back((dir / name).string());
    form->Command2_Click();
}

void Editor::Press(std::string_view box, int index) {
    int key = kEnterKey;
    form->KeyPress(box, index, key);
}

std::vector<std::uint8_t> Editor::Bytes(int offset, int count) const {
    std::vector<std::uint8_t> out;
    for (int i = 0; i < count; ++i) out.push_back(Byte(offset + i));
    return out;
}

std::vector<std::uint8_t> Editor::Save(const std::string& name) {
    form->Text2.Text = name;
    form->Command4_Click();
    return ReadBytes(dir / (name + ".msn"));
}

}  // namespace kestrane::test
