#pragma once
// Shared helpers for the core tests: a scripted file dialog, a throw-away
// start folder with catalogues, crafted mission files and image snapshots.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "mission/MissionFile.h"
#include "ui/Form1.h"

namespace kestrane::test {

// Answers each ShowOpen with the next scripted path; an empty path or an
// empty script is a cancel.
class ScriptedDialog : public CommonDialog {
public:
    std::deque<std::string> answers;
    int shown = 0;
    std::function<void()> afterShow;  // runs once the user has "chosen"
    void ShowOpen() override {
        ++shown;
        if (!answers.empty()) {
            FileName = answers.front();
            answers.pop_front();
        }
        if (afterShow) afterShow();
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

// Lines joined with LF, and a final LF.
std::string Lines(const std::vector<std::string>& lines);
// "Plane 0", "Plane 1", ... as catalogue lines.
std::vector<std::string> Numbered(const std::string& stem, int count);

// A mission whose offsets are set as given, everything else zero.
MissionBytes Mission(std::initializer_list<std::pair<int, std::uint8_t>> bytes = {});
void SetU32(MissionBytes& m, int offset, std::uint32_t value);

// Column 2 of rows 1..400, as the image holds it.
std::vector<std::string> ImageColumn(const Form1& form);
// Every cell of the image.
std::vector<std::string> ImageCells(const Form1& form);
// Every control's caption, text, selection and check state.
std::vector<std::string> ControlStates(const Form1& form);

// A start folder with catalogues and a window model on it.
struct Editor {
    explicit Editor(int planes = 10, int targets = 20, bool blocks = true);
    TempDir dir;
    ScriptedDialog dialog;
    std::unique_ptr<Form1> form;

    // Writes the bytes to a file in the folder and loads it through the dialog.
    void Load(const MissionBytes& bytes, const std::string& name = "in.msn");
    void Press(std::string_view box, int index = -1);  // Enter in a text box
    std::uint8_t Byte(int offset) const { return form->G.Byte(offset + 1).value_or(0); }
    std::vector<std::uint8_t> Bytes(int offset, int count) const;
    // Saves under the name and returns the written file's bytes.
    std::vector<std::uint8_t> Save(const std::string& name = "out");
};

}  // namespace kestrane::test
