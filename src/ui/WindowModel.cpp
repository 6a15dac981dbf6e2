#include "ui/WindowModel.h"

#include <algorithm>
#include <charconv>

#include "catalogues/Catalogue.h"
#include "mission/Charset.h"
#include "mission/Checksum.h"
#include "mission/Hex.h"
#include "mission/MissionFile.h"
#include "ui/ShownImage.h"

namespace kestrane {

namespace {

using C = ControlId;

MissionImage MissionImageOf(const MissionBytes& bytes) {
    MissionImage image;
    image.Assign(bytes);
    return image;
}

// What a save to a path would write over.
enum class Replaces {
    Nothing,           // no file, an empty one, or the same bytes
    Own,               // this session's own file, as it was last loaded or saved
    ChangedElsewhere,  // this session's own file, changed by another program since
    Other,             // another mission (a file too short or unreadable counts)
};
Replaces WhatSaveReplaces(const std::filesystem::path& path, const MissionBytes& bytes, const std::string& ownFile,
                          const MissionBytes& ownBytes) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || std::filesystem::file_size(path, ec) == 0 || ec) return Replaces::Nothing;
    const ReadResult old = ReadMission(path);
    if (old.ok && old.bytes == bytes) return Replaces::Nothing;
    if (ownFile.empty() || !std::filesystem::equivalent(path, ownFile, ec)) return Replaces::Other;
    return old.ok && old.bytes == ownBytes ? Replaces::Own : Replaces::ChangedElsewhere;
}

// "raid" of "/game/raid.msn", "raid" of "raid": the name a save dialog
// offers and a save as checks.
std::string StemOf(const std::filesystem::path& path) {
    std::string name = path.filename().string();
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (name.size() > 4 && std::equal(name.end() - 4, name.end(), ".msn", [&](char a, char b) { return lower(a) == b; }))
        name.resize(name.size() - 4);
    return name;
}

// What a refused drop held, as the end of the sentence that refuses it.
std::string DropHeld(std::size_t count) {
    return count == 0  ? "nothing that names a file was dropped"
           : count > 1 ? std::to_string(count) + " items were dropped"
                       : "only a file on this computer can be loaded";
}

// Catalogues alone, each once: what a game folder's lists are read from.
bool OnlyCatalogues(const std::vector<DroppedItem>& items) {
    constexpr std::string_view kCatalogueFiles[] = {kPlanesFile, kTargetsFile, kBlocksFile};
    std::vector<std::string_view> seen;
    for (const DroppedItem& item : items) {
        if (item.folder || std::find(std::begin(kCatalogueFiles), std::end(kCatalogueFiles), item.name) == std::end(kCatalogueFiles) ||
            std::find(seen.begin(), seen.end(), item.name) != seen.end())
            return false;
        seen.push_back(item.name);
    }
    return !items.empty();
}

}  // namespace

std::string WindowTitle(const std::string& name, std::string_view mark) {
    const std::string app(kWindowTitle);
    return name.empty() ? app + std::string(mark) : name + std::string(mark) + " \u2014 " + app;
}

WindowModel::WindowModel(FileDialog& dialog, const std::filesystem::path& startDir)
    : WindowModel(dialog, ReadCatalogues(startDir)) {}

WindowModel::WindowModel(FileDialog& dialog, Catalogues catalogues) : dialog_(dialog) {
    for (const ControlSpec& spec : AllControls()) SetText(spec.id, std::string(spec.caption));
    SetValue(C::InstantActionBox, 0);
    const std::string read = TakeCatalogues(std::move(catalogues));
    SetText(C::StatusLine, read.empty() ? "Ready: " + ListSizes() + " read from " + ReadableText(startDir_) + "." : read);
}

std::span<const std::string_view> WindowModel::Members(ControlId group) const {
    const OptionControl* option = OptionFor(group);
    if (option == nullptr) return {};
    return std::span(option->setting->captions).first(static_cast<std::size_t>(option->setting->count));
}

// ---- Start-up ----

std::string WindowModel::TakeCatalogues(Catalogues catalogues) {
    startDir_ = catalogues.dir.string();
    ++cataloguesRead_;
    std::string notes;
    auto note = [&](std::string_view file, const std::string& error, std::string_view consequence) {
        if (!notes.empty()) notes += ' ';
        notes.append(file).append(" ").append(error).append(" in ").append(ReadableText(startDir_)).append(": ");
        notes.append(consequence).append(".");
    };

    // A catalogue that is missing, empty or holds entries too long to show
    // gets a note; the list is filled all the same.
    auto check = [&](std::string_view file, const CatalogueFile& catalogue, std::string_view emptyList) {
        if (!catalogue.read) note(file, catalogue.error, emptyList);
        else if (catalogue.Count() == 0) note(file, "is empty", emptyList);
        else if (catalogue.longest > kShownCharacters)
            note(file, "has entries longer than " + std::to_string(kShownCharacters) + " characters",
                 "the lists and labels show their beginning");
    };
    // The lists share the catalogues, which the missions window reads names
    // from too: read once, never copied.
    catalogues_ = std::make_shared<const Catalogues>(std::move(catalogues));
    const CatalogueFile& planes = catalogues_->planes;
    check(kPlanesFile, planes, "the aircraft list holds only Random and None");
    aircraft_ = PickList(std::shared_ptr<const CatalogueFile>(catalogues_, &planes), {"Random", "None"});

    const CatalogueFile& targets = catalogues_->targets;
    check(kTargetsFile, targets, "the target and home base list is empty");
    places_ = PickList(std::shared_ptr<const CatalogueFile>(catalogues_, &targets));

    const CatalogueFile& blocks = catalogues_->blocks;
    for (std::size_t i = 0; i < blocks_.size(); ++i) blocks_[i] = i < blocks.Count() ? std::string(blocks.Line(i)) : std::string();
    if (!blocks.read) note(kBlocksFile, blocks.error, "the settings blocks have no descriptions");
    else if (blocks.Count() < kBlockCount) {
        if (!notes.empty()) notes += ' ';
        notes.append(kBlocksFile).append(" has ").append(std::to_string(blocks.Count()));
        notes += " of " + std::to_string(kBlockCount) + " lines: the remaining block descriptions are empty.";
    }

    return notes;
}

std::string WindowModel::ListSizes() const {
    const int planes = aircraft_.Count() - 2;  // without Random and None
    return std::to_string(planes) + " aircraft and " + std::to_string(places_.Count()) +
           (places_.Count() == 1 ? " place" : " places");
}

void WindowModel::ChangeFolder(Catalogues catalogues) {
    const std::string notes = TakeCatalogues(std::move(catalogues));
    SetValue(C::AircraftList, -1);
    SetValue(C::PlaceList, -1);
    if (image_.Loaded()) Apply(PicksShown(image_, Lists()));
    SetText(C::StatusLine, "Read " + ListSizes() + " from " + ReadableText(startDir_) +
                               "; missions are saved there now." + (notes.empty() ? "" : " " + notes));
}

void WindowModel::OpenRecent(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec) || std::filesystem::is_symlink(path, ec)) return Open(path);
    recent_.Remove(path);
    SetText(C::StatusLine, ReadableText(path) + " is no longer there; it was taken off the recent missions. Nothing was changed.");
}

// ---- Events ----

void WindowModel::Click(ControlId id, int member) {
    switch (id) {
    case C::LoadButton: return Load();
    case C::NewButton: return NewMission();
    case C::SaveButton: return Save();
    case C::EnemySecondaryNumber: return ChooseNone();
    default: break;
    }
    if (const OptionControl* option = OptionFor(id)) return ChooseOption(*option, member);
    if (const SlotControl* slot = SlotFor(id)) return PickAircraft(*slot);
    if (const PlaceControl* place = PlaceFor(id)) return PickPlace(*place);
}

void WindowModel::Check(ControlId id, bool checked) {
    if (id != C::InstantActionBox) return;
    if (!unlocked_) return SetValue(id, checked ? 1 : 0);
    Record(Text(id), kInstantActionField, [&] {
        SetValue(id, checked ? 1 : 0);
        return SetInstantAction(image_, checked);
    });
}

void WindowModel::KeyPress(ControlId box, int characterCode) {
    const BoxControl* binding = BoxFor(box);
    if (binding == nullptr || characterCode != kEnterKey || !unlocked_) return;
    CommitBox(*binding);
}

void WindowModel::CommitBox(const BoxControl& box) {
    const Field& field = box.number != nullptr ? *box.number->field : kMissionNameField;
    const MissionBytes before = image_.Bytes();
    const std::string wordsBefore = FieldWords(image_, field, Lists()), shownBefore = BoxWords(image_, field, Lists());
    const Edit edit = box.number != nullptr ? StoreNumber(image_, *box.number, Text(box.box))
                                            : StoreName(image_, Text(box.box));
    Show(edit);
    // A refused text keeps the user in the box, to mend it. A stored one ends
    // the box's own typing history: undo now takes back the value.
    if (!edit.stored) {
        focusRequest_ = box.box;
        return;
    }
    ++commits_[Index(box.box)];
    if (image_.Bytes() != before) history_.Push(BoxStep(box, wordsBefore, shownBefore, before));
}

History::Step WindowModel::BoxStep(const BoxControl& box, const std::string& wordsBefore, const std::string& shownBefore,
                                   const MissionBytes& before) const {
    const Field& field = box.number != nullptr ? *box.number->field : kMissionNameField;
    History::Step step{box.number != nullptr ? std::string(box.number->caption) : "Mission name", wordsBefore, FieldWords(image_, field, Lists()), {}, {}};
    step.AddField(field, before, image_.Bytes());
    step.AddControl(box.box, {shownBefore, -1}, state_[Index(box.box)]);
    return step;
}

void WindowModel::Type(ControlId box, std::string text) {
    if (Spec(box).kind == ControlKind::TextBox) SetText(box, std::move(text));
}

void WindowModel::Select(ControlId list, int index) {
    if (Spec(list).kind != ControlKind::List) return;
    SetValue(list, index >= 0 && index < Items(list).Count() ? index : -1);
}

void WindowModel::UseEntry(ControlId list, int index, ControlId slot) {
    Select(list, index);
    Click(slot);
}

void WindowModel::Show(const Edit& edit) {
    if (!edit.message.empty()) SetText(C::StatusLine, edit.message);
}

// ---- Undo and redo ----

bool WindowModel::Record(std::string_view title, const Field& field, const std::function<Edit()>& editor) {
    const MissionBytes before = image_.Bytes();
    const ControlStates states = state_;
    const std::string beforeWords = FieldWords(image_, field, Lists());
    const Edit edit = editor();
    Show(edit);
    if (!edit.stored || image_.Bytes() == before) return edit.stored;

    History::Step step{std::string(title), beforeWords, FieldWords(image_, field, Lists()), {}, {}};
    for (const Field* f : edit.written) step.AddField(*f, before, image_.Bytes());
    for (const ControlSpec& spec : AllControls())
        if (spec.id != C::StatusLine && states[Index(spec.id)] != state_[Index(spec.id)])
            step.AddControl(spec.id, states[Index(spec.id)], state_[Index(spec.id)]);
    history_.Push(std::move(step));
    return true;
}


bool WindowModel::Unsaved() const {
    if (Modified()) return true;
    if (!image_.Loaded()) return false;
    // A box holds unsaved text when a save would commit it: it would change
    // its field, or it cannot be stored yet.
    MissionImage committed = image_;
    std::vector<TypedNumber> numbers;
    for (const BoxControl& box : kBoxControls)
        if (box.number != nullptr) numbers.push_back({box.number, Text(box.box)});
    return !CommitTexts(committed, Text(C::NameBox), numbers).stored || committed.Bytes() != image_.Bytes();
}

void WindowModel::Undo() { Replay(false); }
void WindowModel::Redo() { Replay(true); }

void WindowModel::Replay(bool forward) {
    if (!unlocked_) return SetText(C::StatusLine, "No mission is open: load one or make a new one first.");
    const std::optional<History::Step> step = forward ? history_.Redo(image_, state_) : history_.Undo(image_, state_);
    if (!step) return SetText(C::StatusLine, forward ? "Nothing to redo." : "Nothing to undo.");
    for (const History::Step::ControlChange& change : step->controls)
        if (Spec(change.id).kind == ControlKind::TextBox) ++commits_[Index(change.id)];
    SetText(C::StatusLine, forward ? "Redone: " + step->title + " changed from " + step->beforeWords + " to " + step->afterWords + "."
                                   : "Undone: " + step->title + " went back from " + step->afterWords + " to " + step->beforeWords + ".");
}

void WindowModel::StartHistory() {
    history_.Clear();
    clean_ = image_.Bytes();
    origin_ = image_.Bytes();
}

// ---- Editing ----

void WindowModel::ChooseOption(const OptionControl& option, int member) {
    if (member < 0 || member >= option.setting->count) return;
    if (!unlocked_) {
        SetValue(option.group, member);  // the button shows as selected in any case
        SetText(C::StatusLine, "No mission is open: load one or make a new one to change its settings.");
        return;
    }
    Record(option.setting->title, *option.setting->field, [&] {
        SetValue(option.group, member);
        return kestrane::ChooseOption(image_, *option.setting, member);
    });
}

void WindowModel::PickAircraft(const SlotControl& slot) {
    const int p = Value(C::AircraftList);
    const Pick pick = AircraftListPick(p, aircraft_.Count(), aircraft_.Item(p));
    if (!unlocked_ && !PickableWithoutMission(*slot.slot, pick)) {
        SetText(C::StatusLine, "No mission is open: load one or make a new one first.");
        return;
    }
    Record(slot.slot->what, *slot.slot->fields[0], [&]() -> Edit {
        const PickEdit edit = AssignAircraft(image_, *slot.slot, pick);
        if (edit.stored) {
            SetText(slot.name, edit.name);
            SetText(slot.number, edit.number);
        }
        return edit;
    });
}

void WindowModel::PickPlace(const PlaceControl& place) {
    if (!unlocked_) {
        SetText(C::StatusLine, "No mission is open: load one or make a new one first.");
        return;
    }
    const int p = Value(C::PlaceList);
    Record(place.place->what, *place.place->field, [&]() -> Edit {
        const PickEdit edit = AssignPlace(image_, *place.place, Pick{Pick::Kind::Entry, p, places_.Item(p)});
        if (edit.stored) {
            SetText(place.name, edit.name);
            SetText(place.number, edit.number);
        }
        return edit;
    });
}

void WindowModel::ChooseNone() {
    // The number label is a quick way to "None": the labels change at any
    // time, and with a mission open the None code is stored as well, so that
    // what the window shows is what the file gets.
    auto showNone = [this] {
        SetText(C::EnemySecondaryName, "None");
        SetText(C::EnemySecondaryNumber, "");
    };
    if (!unlocked_) return showNone();
    Record(kEnemySecondary.what, *kEnemySecondary.fields[0], [&] {
        showNone();
        return StoreNone(image_, kEnemySecondary);
    });
}

// ---- Loading ----

void WindowModel::Load() {
    const bool wasUnlocked = unlocked_;
    unlocked_ = false;
    const std::string name = dialog_.ChooseFile(startDir_, kMissionFilter, "msn");
    if (name.empty()) {
        SetText(C::StatusLine, image_.Loaded()
                                   ? "Load cancelled: the settings are locked until you load a mission or make a new one."
                                   : "Load cancelled: no file was read.");
        return;
    }
    LoadFile(name, wasUnlocked);
}

void WindowModel::Open(const std::string& path) { LoadFile(path, unlocked_); }

void WindowModel::Drop(const std::vector<std::string>& localFiles, int notLocal) {
    if (localFiles.size() == 1 && notLocal == 0) return Open(localFiles.front());
    const std::size_t count = localFiles.size() + static_cast<std::size_t>(notLocal);
    SetText(C::StatusLine, "Drop one mission file to load it: " + DropHeld(count) + ". Nothing was changed.");
}

DropUse WindowModel::PlanDrop(const std::vector<DroppedItem>& items, int notFiles) {
    if (notFiles == 0 && (OnlyCatalogues(items) || (items.size() == 1 && items.front().folder))) return DropUse::GameFolder;
    if (notFiles == 0 && items.size() == 1) return DropUse::Mission;
    SetText(C::StatusLine, "Drop one mission file to load it, or the game folder or its catalogues to read them: " +
                               DropHeld(items.size() + static_cast<std::size_t>(std::max(notFiles, 0))) +
                               ". Nothing was changed.");
    return DropUse::Nothing;
}

void WindowModel::LoadFile(const std::string& name, bool wasUnlocked) {
    unlocked_ = false;

    // The whole read happens before the image is touched, so a failed read
    // leaves the earlier mission exactly as it was.
    const ReadResult read = ReadMission(name);
    std::string kept;
    if (!read.ok || !KeepBeforeReplacing("Could not load " + ReadableText(name), kept)) {
        unlocked_ = wasUnlocked;
        if (!read.ok)
            SetText(C::StatusLine, "Could not load " + ReadableText(name) + ": the file " + read.error + ". Nothing was changed.");
        return;
    }

    image_.Assign(read.bytes);
    Apply(LoadedLabelsShown(image_, name));
    Apply(SettingsShown(image_, Lists()));
    CommitText(C::NameBox, Text(C::LoadedName));
    unlocked_ = true;
    StartHistory();
    lastFile_ = name;
    recent_.Add(name);
    SetText(C::StatusLine, "Loaded " + ReadableText(name) + "." + kept);
}

bool WindowModel::KeepBeforeReplacing(std::string_view action, std::string& note) {
    if (keeper_ == nullptr) return true;
    const Keeping keeping = keeper_->BeforeReplacing();
    if (!keeping.ok) {
        SetText(C::StatusLine, std::string(action) + ": your unsaved changes could not be kept first (" + keeping.note +
                                   "). Nothing was changed; save them or try again.");
        return false;
    }
    if (!keeping.note.empty()) note = " " + keeping.note;
    return true;
}

// A view of the image applied to the controls; a box's text set from the
// image counts as committed.
void WindowModel::Apply(const Shown& shown) {
    for (const ShownControl& control : shown) {
        if (control.text && Spec(control.id).kind == ControlKind::TextBox) CommitText(control.id, *control.text);
        else if (control.text) SetText(control.id, *control.text);
        if (control.value) SetValue(control.id, *control.value);
    }
}

// ---- New mission and saving ----

bool WindowModel::MakeNewMission(std::string& kept) {
    if (!KeepBeforeReplacing("No new mission was made", kept)) return false;
    image_.MakeNew();
    unlocked_ = true;
    StartHistory();
    lastFile_.clear();  // a new mission has no file: File, Save asks for one
    return true;
}

void WindowModel::NewMission() {
    std::string kept;
    if (!MakeNewMission(kept)) return;
    SetText(C::StatusLine,
            "New mission: every setting is 0, but the controls still show the previous mission until each is changed "
            "(File, New mission shows the new one)." + kept);
}

void WindowModel::NewMissionShown() {
    std::string kept;
    if (!MakeNewMission(kept)) return;
    Apply(LoadedLabelsShown(image_, {}));
    Apply(SettingsShown(image_, Lists()));
    CommitText(C::NameBox, Text(C::LoadedName));
    SetText(C::StatusLine, "New mission: every setting is 0, as the window shows." + kept);
}

std::string WindowModel::TitleName() const {
    if (!lastFile_.empty()) return ReadableText(std::filesystem::path(lastFile_).filename().string());
    return image_.Loaded() ? "Untitled" : "";
}

bool WindowModel::CommitBoxes() {
    const MissionBytes before = image_.Bytes();
    std::vector<std::pair<std::string, std::string>> words;  // each box's field before, in words and as shown
    std::vector<TypedNumber> numbers;
    for (const BoxControl& box : kBoxControls) {
        const Field& field = box.number != nullptr ? *box.number->field : kMissionNameField;
        words.emplace_back(FieldWords(image_, field, Lists()), BoxWords(image_, field, Lists()));
        if (box.number != nullptr) numbers.push_back({box.number, Text(box.box)});
    }
    const Edit edit = CommitTexts(image_, Text(C::NameBox), numbers);
    Show(edit);
    if (!edit.stored) {
        focusRequest_ = FirstRefusedBox();
        return false;
    }
    // A box whose text changed its field is one undo step, as if Enter had
    // been pressed in it, so that undo and redo stay true to the image.
    for (std::size_t i = 0; i < kBoxControls.size(); ++i) {
        const BoxControl& box = kBoxControls[i];
        const Field& field = box.number != nullptr ? *box.number->field : kMissionNameField;
        if (!std::equal(before.begin() + field.offset, before.begin() + field.End(), image_.Bytes().begin() + field.offset))
            history_.Push(BoxStep(box, words[i].first, words[i].second, before));
        ++commits_[Index(box.box)];
    }
    return true;
}

// The first box, in the order a save reads them, whose text cannot be stored.
ControlId WindowModel::FirstRefusedBox() const {
    MissionImage scratch = image_;
    for (const BoxControl& box : kBoxControls) {
        const Edit edit = box.number != nullptr ? StoreNumber(scratch, *box.number, Text(box.box))
                                                : StoreName(scratch, Text(box.box));
        if (!edit.stored) return box.box;
    }
    return ControlId::Count;
}

constexpr std::string_view kNothingToSave = "Nothing to save yet: load a mission or make a new one first. No file was written.";

void WindowModel::Save() {
    if (!image_.Loaded()) return SetText(C::StatusLine, std::string(kNothingToSave));
    const SavePath target = BuildSavePath(startDir_, Text(C::FileNameBox));
    if (!target.ok) {
        SetText(C::StatusLine, target.error);
        focusRequest_ = C::FileNameBox;
        return;
    }
    std::error_code ec;
    const bool elsewhere = !lastFile_.empty() && !std::filesystem::equivalent(target.path, lastFile_, ec);
    SaveTo(target.path, elsewhere ? lastFile_ : std::string());
}

void WindowModel::SaveToOwnFile() {
    if (!image_.Loaded()) return SetText(C::StatusLine, std::string(kNothingToSave));
    if (lastFile_.empty()) return SaveAs();
    SaveTo(lastFile_);
}

void WindowModel::SaveAs() {
    if (!image_.Loaded()) return SetText(C::StatusLine, std::string(kNothingToSave));
    // A box that would be refused is said before a name is asked for.
    if (FirstRefusedBox() != ControlId::Count) return void(CommitBoxes());
    const std::string offered = !lastFile_.empty() ? StemOf(lastFile_)
                                : !Text(C::FileNameBox).empty() ? Text(C::FileNameBox)
                                                                : "Untitled";
    const std::string chosen = dialog_.ChooseSaveFile(startDir_, offered + ".msn", kMissionFilter, "msn");
    if (chosen.empty()) return SetText(C::StatusLine, "Save As cancelled: no file was written.");
    const std::filesystem::path path(chosen);
    const SavePath target = BuildSavePath(path.parent_path().string(), StemOf(path));
    if (!target.ok) return SetText(C::StatusLine, target.error);
    SaveTo(target.path);
}

bool WindowModel::KeepWhatSaveReplaces(const std::filesystem::path& path, const std::string& typedOver,
                                       SaveNotes& notes) {
    const Replaces over = WhatSaveReplaces(path, image_.Bytes(), lastFile_, clean_);
    // A save under the typed name over another mission than the one loaded
    // says so, whoever keeps the copy.
    if (over == Replaces::Other && !typedOver.empty())
        notes.typed = ", the name typed beside \"***.msn\" filename:, not the loaded " + ReadableText(typedOver) +
                      ", which stays as it was";
    if (keeper_ == nullptr || over == Replaces::Nothing || over == Replaces::Own) return true;
    const Keeping keeping = keeper_->BeforeOverwriting(path.string());
    if (!keeping.ok) {
        SetText(C::StatusLine, "Could not save " + ReadableText(path.string()) + ": a copy of the mission it would replace could not be kept (" +
                                   keeping.note + "). Nothing was written.");
        return false;
    }
    const std::string kept = keeping.note.empty() ? std::string() : " " + keeping.note;
    notes.kept = over == Replaces::ChangedElsewhere
                     ? " It replaces changes made to the file elsewhere since this work began." + kept
                     : kept;
    return true;
}

void WindowModel::SaveTo(const std::filesystem::path& path, const std::string& typedOver) {
    if (!CommitBoxes()) return;
    image_.Seal();
    Apply(ChecksumShown(image_));
    // What the save would write over is kept first, unless it is this
    // session's own file as it left it.
    SaveNotes notes;
    if (!KeepWhatSaveReplaces(path, typedOver, notes)) return;
    const SavePath target{true, path, {}};
    const WriteResult written = WriteMissionInPlace(target.path, image_.Bytes());
    // Through a link, the status line names the file that was written too.
    std::string where = ReadableText(target.path.string());
    if (!written.written.empty() && written.written != target.path)
        where = ReadableText(written.written.string()) + " (through the link " + where + ")";
    if (!written.ok) {
        SetText(C::StatusLine, "Could not save " + where + ": " + written.error + ". The mission in the editor is kept." + notes.kept);
        return;
    }
    clean_ = image_.Bytes();
    ++saves_;
    lastFile_ = target.path.string();
    recent_.Add(lastFile_);
    SetText(C::StatusLine, "Saved " + where + notes.typed + "." + notes.kept);
    if (keeper_ != nullptr) keeper_->AfterSave();
}

// ---- Kept work ----

UnsavedWork WindowModel::Work() const {
    UnsavedWork work;
    work.folder = startDir_;
    work.file = lastFile_;
    work.image = image_.Bytes();
    work.clean = clean_;
    for (std::size_t i = 0; i < kBoxControls.size(); ++i) work.boxes[i] = Text(kBoxControls[i].box);
    work.fileName = Text(C::FileNameBox);
    work.aircraft = Value(C::AircraftList);
    work.place = Value(C::PlaceList);
    return work;
}

void WindowModel::RestoreWork(const UnsavedWork& work) {
    image_.Assign(work.image);
    Apply(LoadedLabelsShown(image_, work.file));
    Apply(SettingsShown(image_, Lists()));
    SetText(C::LoadedName, MissionName(MissionImageOf(work.clean)));
    for (std::size_t i = 0; i < kBoxControls.size(); ++i) CommitText(kBoxControls[i].box, work.boxes[i]);
    SetText(C::FileNameBox, work.fileName);
    Select(C::AircraftList, work.aircraft);
    Select(C::PlaceList, work.place);
    unlocked_ = true;
    StartHistory();
    clean_ = work.clean;
    origin_ = work.clean;
    lastFile_ = work.file;
}

}  // namespace kestrane
