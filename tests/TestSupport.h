#pragma once
// Shared helpers for the tests: a scripted open dialog, a throw-away start
// folder with catalogues, crafted mission files, and a window model on them.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "mission/MissionImage.h"
#include "ui/WindowModel.h"

// The WebAssembly build runs these tests under node, whose file system, as
// em++'s C library gives it, makes a plain file where a named pipe is asked
// for, reads no pipe as Linux does, and sizes no file past 4 GiB. What needs
// any of these is skipped there, saying so.
#ifdef __EMSCRIPTEN__
#define KESTRANE_SKIP_UNDER_NODE(why) GTEST_SKIP() << "not under node: " << (why)
#else
#define KESTRANE_SKIP_UNDER_NODE(why) static_cast<void>(0)
#endif

namespace kestrane::test {

// Answers each dialog with the next scripted path; an empty path or an
// empty script is a cancel. A save dialog's folder and offered name are kept.
class ScriptedDialog : public FileDialog {
public:
    std::deque<std::string> answers;
    int shown = 0;
    std::string offered;  // the last save dialog's folder and name, joined by '/'
    std::string ChooseSaveFile(const std::string& folder, const std::string& name, std::string_view filter,
                               std::string_view suffix) override {
        offered = folder + "/" + name;
        return ChooseFile(folder, filter, suffix);
    }
    std::string ChooseFile(const std::string&, std::string_view, std::string_view) override {
        ++shown;
        std::string chosen;
        if (!answers.empty()) {
            chosen = answers.front();
            answers.pop_front();
        }
        return chosen;
    }
};

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& path, const std::string& bytes);
void WriteFile(const std::filesystem::path& path, const MissionBytes& bytes);
std::string ReadFile(const std::filesystem::path& path);
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
// Every entry under a folder by relative path: a file's bytes, or "<other>".
std::map<std::string, std::string> FolderContents(const std::filesystem::path& dir);

// A character device node of the test's own, never a link to one of the
// system's: the memory devices' zero (5) or full (7). False where nodes
// cannot be made (not root).
bool MakeDevice(const std::filesystem::path& path, unsigned minor);
inline constexpr unsigned kZeroDevice = 5, kFullDevice = 7;

// Lines joined with LF, and a final LF.
std::string Lines(const std::vector<std::string>& lines);
// "Plane 0", "Plane 1", ... as catalogue lines.
std::vector<std::string> Numbered(const std::string& stem, int count);

// A mission whose offsets are set as given, everything else zero.
MissionBytes Mission(std::initializer_list<std::pair<int, std::uint8_t>> bytes = {});
void SetU32(MissionBytes& m, int offset, std::uint32_t value);
// The mission with the checksum of its bytes stored in it.
MissionBytes Stamped(MissionBytes m);

// Every control's text and value but the status line's, for "nothing
// changed" checks.
std::vector<std::string> ControlStates(const WindowModel& model);

// A start folder with catalogues and a window model on it.
struct Editor {
    explicit Editor(int planes = 10, int targets = 20, bool blocks = true);
    TempDir dir;
    ScriptedDialog dialog;
    std::unique_ptr<WindowModel> model;

    // Writes the bytes to a file in the folder and loads it through the dialog.
    void Load(const MissionBytes& bytes, const std::string& name = "in.msn");
    // Types the text into a box and presses Enter.
    void Enter(ControlId box, const std::string& text);
    const std::string& Status() const { return model->Text(ControlId::StatusLine); }
    // Saves under the name and returns the written file's bytes.
    std::vector<std::uint8_t> Save(const std::string& name = "out");
};

}  // namespace kestrane::test
