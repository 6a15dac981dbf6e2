#pragma once
// The window model: the one window of the editor as plain C++. It owns the
// mission image G, every control as a named holder, and the form-level
// state. Every action is an event handler that runs to completion; a view
// forwards an event (a click with its index, a key with its code, a list
// selection, a text edit) and then shows the model's state.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "mission/Checksum.h"
#include "mission/Grid.h"
#include "mission/MissionFile.h"
#include "ui/Controls.h"

namespace kestrane {

inline constexpr std::string_view kWindowCaption = "Kestrane Mission maker";
inline constexpr std::string_view kMissionFilter = "Mission files(*.msn) |*.msn";

class Form1 {
public:
    // Start-up: StartDir is the given folder (the current directory when the
    // program starts), the dialog is set up and the catalogues are read.
    explicit Form1(CommonDialog& dialog, std::filesystem::path startDir = std::filesystem::current_path());
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // ---- Form-level state ----
    Grid G;
    CommonDialog& CD;
    std::string StartDir;
    double ReadValue = 0;
    bool MissionOpen = false;
    Module1 module1;

    // True once the image holds a mission (a completed load or a new
    // mission); a cancelled load does not clear it.
    bool HasMission = false;
    // The single write that saving makes; tests replace it.
    WriteFn SaveWrite = nullptr;

    // ---- Controls ----
    std::string Caption{kWindowCaption};
    Button Command2{"Load a \".msn\" file"};
    Button Command3{"Make a new mission"};
    Button Command4{"Save!"};

    Label Label16;  // path of the loaded file
    Label Label17;  // mission name as read from the file
    Label Label19{"Miission name :"};
    Label Label20{"\"***.msn\" filename:"};
    TextBox Text1;  // mission name
    TextBox Text2;  // file name to save under
    CheckBox IA{"Instant Action"};

    std::array<Label, 2> Label4{{{"Aircraft"}, {"Target/Home Base"}}};
    ListBox List1;  // aircraft, then "Random" and "None"
    ListBox List2;  // targets and home bases

    OptionGroup Yrbut, TOD, Weather, MTBut, PAlt, AP2But, Pskill, EPskill, BSBut, AAA;

    std::array<Label, 4> Label10{{{"Attack Primary"}, {"Attack Secondary"}, {"Enemy Primary"}, {"Enemy Secondary"}}};
    std::array<TextBox, 4> AltText;
    std::array<Label, 3> Label11{{{"Mission Date"}, {"Mission Weather"}, {"Target Offset"}}};
    TextBox MDate, MWeather, TOffset;
    Label Label12{"We have no idea as yet what these do and what values might be entered."};
    std::array<Label, 2> Label13{{{"UK#1"}, {"UK#2"}}};
    std::array<TextBox, 2> UKN;

    Label Label5{"Formation size:"};
    Label Label6{"Number of aircraft:"};
    Label Label7{"Primary:"};
    Label Label8{"Secondary:"};
    Label Label9{"Battle size:"};
    TextBox AP1Num;
    Label AP1L, AP1N, AP2L, AP2N, DP1L, DP1N, DP2L, DP2N;
    Label Targl, TargLN, HBL, HBN;

    Label Label14{"Current checksum:"};
    Label Label1, Label2;        // computed checksum, decimal and hexadecimal
    std::array<Label, 4> Label18;  // its four bytes, least significant first
    Label Label15, Label3;       // stored checksum, decimal and hexadecimal bytes

    // Frame1 is a sparse frame array (members 0..11, 19 and 22 are used).
    std::array<Frame, 23> Frame1;
    Frame Frame2{"Miscellaneous Values"};
    Frame Frame3{"Two unknown settings"};

    // The window's status line: what the last action did or why it was refused.
    Label StatusLine;

    // ---- Event handlers ----
    void Command2_Click();  // load
    void Command3_Click();  // new mission
    void Command4_Click();  // save

    void Yrbut_Click(int index);
    void TOD_Click(int index);
    void Weather_Click(int index);
    void MTBut_Click(int index);
    void PAlt_Click(int index);
    void AP2But_Click(int index);
    void Pskill_Click(int index);
    void EPskill_Click(int index);
    void BSBut_Click(int index);
    void AAA_Click(int index);

    void AltText_KeyPress(int index, int& keyAscii);
    void UKN_KeyPress(int index, int& keyAscii);
    void MDate_KeyPress(int& keyAscii);
    void MWeather_KeyPress(int& keyAscii);
    void TOffset_KeyPress(int& keyAscii);
    void AP1Num_KeyPress(int& keyAscii);
    void Text1_KeyPress(int& keyAscii);

    void IA_Click();

    void AP1L_Click();
    void AP2L_Click();
    void DP1L_Click();
    void DP2L_Click();
    void DP2N_Click();
    void Targl_Click();
    void HBL_Click();

    // ---- Form methods ----
    // Reads the unsigned little-endian value of rows grow..grow+3 into ReadValue.
    void ByteRead(int grow);
    // Reads a number from the text and writes it as four bytes from firstRow.
    // A value outside 0..4294967295 writes nothing and returns false.
    bool ByteWrite(std::string_view text, int firstRow);
    // Writes the text of Text1 into the mission name; a name that the field
    // cannot hold writes nothing and returns false.
    bool NameWrite();
    // Commits every text box into the image; when any box is refused,
    // nothing is written and false is returned.
    bool Update();
    // Checksum of rows 5..400 into Label1, Label2 and Label18.
    void RefreshChecksum();

    // ---- Binding for a view ----
    using ControlPtr = std::variant<Label*, TextBox*, CheckBox*, OptionGroup*, ListBox*, Button*, Frame*>;
    struct ControlEntry {
        std::string name;
        int index;  // member of a control array, -1 otherwise
        ControlPtr control;
    };
    // Every control, by the name it has in the window and its array index.
    const std::vector<ControlEntry>& Controls() const { return controls_; }
    template <class T>
    T* Find(std::string_view name, int index = -1) const {
        for (const ControlEntry& e : controls_)
            if (e.name == name && e.index == index)
                if (T* const* p = std::get_if<T*>(&e.control)) return *p;
        return nullptr;
    }
    // Generic events: a click on a button, label, check box or option member
    // (index), and a key press in a text box. Unknown names do nothing.
    void Click(std::string_view name, int index = -1);
    void KeyPress(std::string_view name, int index, int& keyAscii);
    // Notes for the view: the list contents change only at start-up.
    int ListsRevision() const { return listsRevision_; }

private:
    friend struct FormEditors;

    void FormLoad();
    void ReadCatalogues();
    void RegisterControls();
    void InitOptionGroups();
    void OptionClick(OptionGroup& group, int index);
    void SelectOption(OptionGroup& group, int value);
    void FillImage(const MissionBytes& bytes);
    void DecodeSettings();
    MissionBytes ImageBytes() const;
    bool CommitNumericBox(std::string_view caption, std::string_view text, int firstRow);

    std::vector<ControlEntry> controls_;
    int listsRevision_ = 0;
    std::vector<std::string> blockDescriptions_;
};

}  // namespace kestrane
