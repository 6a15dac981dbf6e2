#pragma once
// The window model: the editor's one window as plain C++. It owns the
// mission image, the state of every control (by its typed id) and the pick
// lists. Every action is an event that runs to completion: a view forwards a
// click, a key, a typed text or a list selection, then shows the model's
// state. Editing goes through the editors, which the model runs only while a
// mission is open.

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editors/Settings.h"
#include "mission/MissionImage.h"
#include "ui/ControlId.h"
#include "ui/Controls.h"
#include "ui/History.h"
#include "ui/PickList.h"
#include "ui/RecentFiles.h"
#include "ui/ShownImage.h"
#include "ui/UnsavedWork.h"

namespace kestrane {

inline constexpr std::string_view kWindowTitle = "Kestrane Mission maker";
inline constexpr std::string_view kMissionFilter = "Mission files(*.msn) |*.msn";
inline constexpr int kEnterKey = 13;  // the character code a box reports for Enter

// The window's title: the work's name (WindowModel::TitleName), the mark of
// unsaved work, a dash and the program's name; before any work, the
// program's name and the mark.
std::string WindowTitle(const std::string& name, std::string_view mark);

// The file dialogs. A view supplies real ones; tests script them.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    // Asks for a file to open in the folder, offering the filter
    // ("Description|pattern"); returns its path, or empty when cancelled.
    virtual std::string ChooseFile(const std::string& folder, std::string_view filter, std::string_view suffix) = 0;
    // Asks for a file to save to, in the folder, with the name offered;
    // returns its path, or empty when cancelled.
    virtual std::string ChooseSaveFile(const std::string& folder, const std::string& name, std::string_view filter,
                                       std::string_view suffix) = 0;
};

// What the window model asks of whoever keeps unsaved work, before it
// replaces or overwrites anything. A keeping that fails stops the action.
struct Keeping {
    bool ok = true;
    std::string note;  // a sentence for the status line, or why it failed
};
class WorkKeeper {
public:
    virtual ~WorkKeeper() = default;
    // A load or a new mission is about to replace the window's work: keep
    // what is unsaved first.
    virtual Keeping BeforeReplacing() = 0;
    // A save is about to write over a different mission at path: keep a
    // copy of that file first.
    virtual Keeping BeforeOverwriting(const std::string& path) = 0;
    // A save wrote the mission: the work is saved now.
    virtual void AfterSave() = 0;
};

// An item dropped on a view: its name, and whether it is a folder.
struct DroppedItem {
    std::string name;
    bool folder = false;
};
// What a drop is for where a view can take a game folder as well.
enum class DropUse { Mission, GameFolder, Nothing };

class WindowModel {
public:
    // Start-up: the start folder is the given folder (the current directory
    // when the program starts); the catalogues are read from it.
    explicit WindowModel(FileDialog& dialog, const std::filesystem::path& startDir = std::filesystem::current_path());
    // Start-up with the start folder's catalogues read already.
    WindowModel(FileDialog& dialog, Catalogues catalogues);
    WindowModel(const WindowModel&) = delete;
    WindowModel& operator=(const WindowModel&) = delete;

    // ---- State ----
    const MissionImage& Image() const { return image_; }
    const std::string& StartDir() const { return startDir_; }
    // Whether the editors may write: after a load or a new mission, until a
    // load is started.
    bool EditorsUnlocked() const { return unlocked_; }
    // A control's caption, or a box's text.
    const std::string& Text(ControlId id) const { return state_[Index(id)].text; }
    // An option group's chosen member, the check box's state (0 or 1), or a
    // list's selected item; -1 for none.
    int Value(ControlId id) const { return state_[Index(id)].value; }
    // The members of an option group.
    std::span<const std::string_view> Members(ControlId group) const;
    const PickList& Items(ControlId list) const { return list == ControlId::AircraftList ? aircraft_ : places_; }
    // The catalogues the lists show, shared with whoever reads names from them.
    const std::shared_ptr<const Catalogues>& SharedCatalogues() const { return catalogues_; }
    // The description of settings block 0..31, from "blocks.txt".
    const std::string& BlockDescription(int block) const { return blocks_[static_cast<std::size_t>(block)]; }

    // ---- Events ----
    // A click on a button, a clickable label, or member of an option group.
    void Click(ControlId id, int member = -1);
    // The check box set to a state by the user.
    void Check(ControlId id, bool checked);
    // A key that makes a character in a text box, by its character code;
    // only Enter (13) acts.
    void KeyPress(ControlId box, int characterCode);
    // The text of a box as the user left it.
    void Type(ControlId box, std::string text);
    // An item selected in a list (-1 for none).
    void Select(ControlId list, int index);
    // A list entry's context menu: the entry put into the slot, as selecting
    // it and clicking the slot does (the same refusals, the same undo step).
    void UseEntry(ControlId list, int index, ControlId slot);
    // A file named outside the dialog (on the command line), loaded exactly
    // as if it had been chosen in it.
    void Open(const std::string& path);
    // File, Save: the mission back to its own file, the one last loaded or
    // saved, as the sheet's Save writes (commit, stamp, the same refusals
    // and copy of a replaced file); a mission with no file yet is saved as.
    void SaveToOwnFile();
    // File, Save As: a file asked for in a save dialog opened in the start
    // folder with the current name, then written as Save writes.
    void SaveAs();
    // File, New mission: a new mission made as the sheet's button makes it,
    // then every control shown from it, as a load shows a mission.
    void NewMissionShown();
    // The name the title gives the work: the file's name, "Untitled" for a
    // mission that has no file yet, empty before any.
    std::string TitleName() const;
    // Takes back the last change an editor made to the image, or makes it
    // again; each says in the status line what it did.
    void Undo();
    void Redo();
    bool CanUndo() const { return history_.CanUndo(); }
    // Whether the image differs from what was last loaded, made new or saved.
    bool Modified() const { return image_.Loaded() && image_.Bytes() != clean_; }
    // Whether closing now would lose work: the image is modified, or a box
    // holds text that a save would commit.
    bool Unsaved() const;
    // The image as the last load or new mission made it.
    const MissionBytes& Origin() const { return origin_; }

    // The user's work as it stands, to be kept across the end of a session.
    UnsavedWork Work() const;
    // Brings kept work back: the image, the boxes' texts and the list
    // selections (a selection past today's lists is none); everything else
    // is shown from the image and today's catalogues, as after a load.
    void RestoreWork(const UnsavedWork& work);
    // Counts the times catalogues were read (at start, and for each game
    // folder chosen), so that a view knows when its lists were replaced.
    unsigned CataloguesRead() const { return cataloguesRead_; }
    // The file last loaded or saved, empty before either.
    const std::string& LastFile() const { return lastFile_; }
    // The missions last loaded or saved, newest first.
    const RecentFiles& Recent() const { return recent_; }
    void SetRecent(RecentFiles recent) { recent_ = std::move(recent); }
    // Loads a recent mission; one that has gone is taken off the list.
    void OpenRecent(const std::string& path);
    // Another start folder, chosen by the user: its catalogues replace the
    // lists and block descriptions, missions are saved there from now on,
    // and a mission being edited keeps its bytes and box texts while its
    // labels show names from the new lists.
    void ChangeFolder(Catalogues catalogues);
    // Who keeps unsaved work before a load, new mission or save replaces it.
    void SetKeeper(WorkKeeper* keeper) { keeper_ = keeper; }
    WorkKeeper* Keeper() const { return keeper_; }
    // The box a refusal asks the user to look at (the one whose text was
    // refused), once; Count when there is none.
    ControlId TakeFocusRequest() { return std::exchange(focusRequest_, ControlId::Count); }
    // A file the work is to be compared with in the inspector (one changed
    // on disk since the work was kept), once; empty when there is none.
    void AskToCompare(std::string path) { compareRequest_ = std::move(path); }
    std::string TakeCompareRequest() { return std::exchange(compareRequest_, std::string()); }
    // Counts the times a box's text was committed to the image or set from
    // it, so that a view can end the box's own typing history each time.
    unsigned BoxCommits(ControlId box) const { return commits_[Index(box)]; }
    // Puts a note of the view's in the status line (unsaved work kept, a
    // damaged recovery file set aside).
    void Say(std::string text) { SetText(ControlId::StatusLine, std::move(text)); }
    // Counts the sentences put in the status line, the same one twice
    // included, so that a view can announce each as it is said.
    unsigned Said() const { return said_; }
    // How many saves have written a file.
    int Saves() const { return saves_; }

    // Files dropped on the window: one local file loads as if chosen in the
    // dialog; anything else changes nothing and says why. notLocal counts
    // the dropped items that are not local files.
    void Drop(const std::vector<std::string>& localFiles, int notLocal);
    // Items dropped where a game folder can be taken too (the page, which
    // keeps what it reads in a folder of its own): one folder, or catalogues
    // alone (planes.txt, targets.txt, blocks.txt, each once), are to become
    // the game folder; one other file is to be loaded as Drop loads it;
    // anything else changes nothing and says why. notFiles counts the
    // dropped things that are neither a file nor a folder.
    DropUse PlanDrop(const std::vector<DroppedItem>& items, int notFiles);

private:
    // Takes a folder's catalogues; returns what the status line says of them.
    std::string TakeCatalogues(Catalogues catalogues);
    // "40 aircraft and 65 places"
    std::string ListSizes() const;
    void Load();
    void LoadFile(const std::string& name, bool wasUnlocked);
    // Makes the image a new mission; false (with the reason shown) when the
    // unsaved work could not be kept first. The note says it was kept.
    bool MakeNewMission(std::string& kept);
    void NewMission();
    void Save();
    // Commits the boxes, stamps the checksum and writes the mission to the
    // path: the one write of every save. typedOver names a loaded file that
    // a save under the typed name does not write.
    void SaveTo(const std::filesystem::path& path, const std::string& typedOver = {});
    // Keeps a copy of what a save to the path would replace, when that is
    // not this session's own file as it left it; false (with the reason
    // shown) when it cannot. The notes say what the save replaces.
    struct SaveNotes {
        std::string typed;  // a save under the typed name over another mission than the loaded one
        std::string kept;   // where the copy of what it replaced is
    };
    bool KeepWhatSaveReplaces(const std::filesystem::path& path, const std::string& typedOver, SaveNotes& notes);
    // Commits every box into the image; false (with the reason shown) when
    // any box is refused, and then nothing is written.
    bool CommitBoxes();
    ControlId FirstRefusedBox() const;
    // Shows the image in the controls (ShownImage.h).
    void Apply(const Shown& shown);
    ShownLists Lists() const { return {aircraft_, places_}; }
    void ChooseOption(const OptionControl& option, int member);
    void PickAircraft(const SlotControl& slot);
    void PickPlace(const PlaceControl& place);
    void ChooseNone();
    void Show(const Edit& edit);
    // Runs an editor as one undoable step; false when the editor refused.
    bool Record(std::string_view title, const Field& field, const std::function<Edit()>& editor);
    // Commits a box's text by Enter; the one way a box's step is made is BoxStep.
    void CommitBox(const BoxControl& box);
    // The step of a box whose text changed its field: the field's bytes, and
    // the box giving back the value it showed before.
    History::Step BoxStep(const BoxControl& box, const std::string& wordsBefore, const std::string& shownBefore,
                          const MissionBytes& before) const;
    // Undo or redo, said in the status line.
    void Replay(bool forward);
    void StartHistory();
    void SetText(ControlId id, std::string text) {
        if (id == ControlId::StatusLine) ++said_;
        state_[Index(id)].text = std::move(text);
    }
    // A box's text as committed to the image or shown from it.
    void CommitText(ControlId box, std::string text) {
        SetText(box, std::move(text));
        ++commits_[Index(box)];
    }
    // Asks the keeper to keep the unsaved work before it is replaced; false
    // (with the reason shown) when it could not.
    bool KeepBeforeReplacing(std::string_view action, std::string& note);
    void SetValue(ControlId id, int value) { state_[Index(id)].value = value; }

    FileDialog& dialog_;
    std::string startDir_;
    MissionImage image_;
    bool unlocked_ = false;
    ControlStates state_;
    std::shared_ptr<const Catalogues> catalogues_;  // the lists' lines and the missions window's names
    PickList aircraft_;
    PickList places_;
    std::array<std::string, kBlockCount> blocks_;
    History history_;
    MissionBytes clean_{};       // the image as last loaded, made new or saved
    MissionBytes origin_{};      // the image as last loaded or made new
    int saves_ = 0;
    std::string lastFile_;
    RecentFiles recent_;
    WorkKeeper* keeper_ = nullptr;
    std::array<unsigned, kControlCount> commits_{};
    ControlId focusRequest_ = ControlId::Count;
    std::string compareRequest_;
    unsigned said_ = 0;
    unsigned cataloguesRead_ = 0;
};

}  // namespace kestrane
