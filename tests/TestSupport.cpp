#include "TestSupport.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "mission/Checksum.h"

namespace kestrane::test {

// A new folder of its own, even beside tests run at once in other processes
// (under node every process has the same id).
TempDir::TempDir() {
    std::string name = (std::filesystem::temp_directory_path() / "kestrane-test-XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr) throw std::system_error(errno, std::generic_category(), "mkdtemp");
    path_ = name;
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

std::map<std::string, std::string> FolderContents(const std::filesystem::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        files[entry.path().lexically_relative(dir).string()] =
            entry.is_regular_file() && !entry.is_symlink() ? ReadFile(entry.path()) : "<other>";
    return files;
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

MissionBytes Stamped(MissionBytes m) {
    SetU32(m, 0, MissionChecksum(m));
    return m;
}

std::vector<std::string> ControlStates(const WindowModel& model) {
    std::vector<std::string> states;
    for (const ControlSpec& spec : AllControls())
        if (spec.id != ControlId::StatusLine)
            states.push_back(model.Text(spec.id) + "|" + std::to_string(model.Value(spec.id)));
    return states;
}

Editor::Editor(int planes, int targets, bool blocks) {
    WriteFile(dir / "planes.txt", Lines(Numbered("Plane", planes)));
    WriteFile(dir / "targets.txt", Lines(Numbered("Place", targets)));
    if (blocks) WriteFile(dir / "blocks.txt", Lines(Numbered("Block", 32)));
    model = std::make_unique<WindowModel>(dialog, dir.path());
}

void Editor::Load(const MissionBytes& bytes, const std::string& name) {
    WriteFile(dir / name, bytes);
    dialog.answers.push_back((dir / name).string());
    model->Click(ControlId::LoadButton);
}

void Editor::Enter(ControlId box, const std::string& text) {
    model->Type(box, text);
    model->KeyPress(box, kEnterKey);
}

std::vector<std::uint8_t> Editor::Save(const std::string& name) {
    model->Type(ControlId::FileNameBox, name);
    model->Click(ControlId::SaveButton);
    return ReadBytes(dir / (name + ".msn"));
}

bool MakeDevice(const std::filesystem::path& path, unsigned minor) {
#ifdef __EMSCRIPTEN__
    (void)path, (void)minor;
    return false;  // node's file system makes a plain file
#else
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, minor)) == 0;
#endif
}

}  // namespace kestrane::test
