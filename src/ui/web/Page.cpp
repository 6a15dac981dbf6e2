// The page's bindings: the window model, its sheet and the names of its
// controls, offered to the page's script through embind. The page forwards
// each event here and then shows what the model holds; nothing is decided
// or worded on the script's side.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "catalogues/Catalogue.h"
#include "mission/Charset.h"
#include "ui/Arrangement.h"
#include "ui/ByteInspector.h"
#include "ui/Commands.h"
#include "ui/ControlNames.h"
#include "ui/Controls.h"
#include "ui/KeptWork.h"
#include "ui/MissionFolder.h"
#include "ui/StartFolder.h"
#include "ui/WindowModel.h"
#include "ui/web/BrowserStore.h"

namespace kestrane {

namespace {

using emscripten::val;

// The game folder in the page's memory file system: the catalogues chosen
// are written here, a mission chosen is written here before it is opened,
// and Save! writes here before the page hands the bytes to the browser.
constexpr const char* kGameFolder = "/game";

// The most the page reads of a file of the game folder: far more than any
// mission or catalogue holds.
constexpr std::size_t kLargestRead = 16 << 20;

// The browser keeps Ctrl+R (reload) for itself.
constexpr const char* kRestoreKey = "Alt+R";

// The page cannot ask for a file while the model waits: the page has
// written the file chosen into the game folder already and names it here
// before the model asks. A save dialog is the browser's download, which
// keeps the name offered.
class PageDialog : public FileDialog {
public:
    void Choose(std::string path) { chosen_ = std::move(path); }
    std::string ChooseFile(const std::string&, std::string_view, std::string_view) override {
        return std::exchange(chosen_, std::string());
    }
    std::string ChooseSaveFile(const std::string& folder, const std::string& name, std::string_view,
                               std::string_view) override {
        return (std::filesystem::path(folder) / name).string();
    }

private:
    std::string chosen_;
};

Catalogues GameCatalogues() {
    std::filesystem::create_directories(kGameFolder);
    return ReadCatalogues(kGameFolder);
}

ControlId Id(int id) { return static_cast<ControlId>(id); }

std::string LargestRead() { return std::to_string(kLargestRead >> 20) + " MB"; }

const char* KindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::Frame: return "frame";
    case ControlKind::Label: return "label";
    case ControlKind::ClickableLabel: return "slot";
    case ControlKind::Button: return "button";
    case ControlKind::TextBox: return "box";
    case ControlKind::CheckBox: return "check";
    case ControlKind::Options: return "option";
    case ControlKind::List: return "list";
    case ControlKind::StatusLine: return "status";
    }
    return "";
}

val Rect(const TwipRect& r) {
    val rect = val::object();
    rect.set("left", TwipsToPixels(r.left));
    rect.set("top", TwipsToPixels(r.top));
    rect.set("width", TwipsToPixels(r.width));
    rect.set("height", TwipsToPixels(r.height));
    return rect;
}

// One control of the sheet as the page builds it: its place in pixels
// (relative to its frame, or to the window), its kind, and how it is named.
val SheetEntry(const Placement& p) {
    val entry = val::object();
    entry.set("id", static_cast<int>(p.id));
    entry.set("member", p.member);
    entry.set("parent", p.onWindow() ? -1 : static_cast<int>(p.parent));
    entry.set("kind", std::string(KindName(Spec(p.id).kind)));
    entry.set("rect", Rect({p.left, p.top, p.width, p.height}));
    entry.set("namedBy", static_cast<int>(NamingCaption(p.id)));
    const ControlId caption = GroupCaption(p.id);
    entry.set("groupCaption", caption == ControlId::Count ? -1 : static_cast<int>(caption));
    if (caption != ControlId::Count) entry.set("groupRect", Rect(GroupBounds(p.id)));
    if (const Description* d = FindDescription(p.id)) {
        entry.set("what", std::string(d->what));
        entry.set("hint", std::string(d->hint));
        entry.set("reach", d->reach == Reach::Tab ? std::string("tab") : d->reach == Reach::Press ? "press" : "none");
    }
    return entry;
}

// Every control in reading order, and the window's size, in pixels.
val Sheet() {
    val sheet = val::object();
    val controls = val::array();
    for (const Placement& p : Arrangement()) controls.call<void>("push", SheetEntry(p));
    sheet.set("controls", controls);
    sheet.set("width", TwipsToPixels(kWindowWidth));
    sheet.set("height", TwipsToPixels(kWindowHeight));
    sheet.set("none", static_cast<int>(ControlId::Count));
    return sheet;
}

// The controls the page treats apart: the button that asks for a file,
// which the page asks for before it forwards the click, and the button that
// saves, before which a game folder on disk is read again.
val Ids() {
    val ids = val::object();
    ids.set("LoadButton", static_cast<int>(ControlId::LoadButton));
    ids.set("SaveButton", static_cast<int>(ControlId::SaveButton));
    return ids;
}

val Commands() {
    val commands = val::object();
    commands.set("Load", PlainCommandCaption(Command::Load));
    commands.set("ChooseGameFolder", PlainCommandCaption(Command::ChooseGameFolder));
    commands.set("Save", PlainCommandCaption(Command::Save));
    commands.set("SaveAs", PlainCommandCaption(Command::SaveAs));
    commands.set("NewMission", PlainCommandCaption(Command::NewMission));
    commands.set("Undo", PlainCommandCaption(Command::Undo));
    commands.set("Redo", PlainCommandCaption(Command::Redo));
    commands.set("Missions", PlainCommandCaption(Command::Missions));
    commands.set("Inspector", PlainCommandCaption(Command::Inspector));
    commands.set("RestoreWork", PlainCommandCaption(Command::RestoreWork));
    commands.set("Keys", PlainCommandCaption(Command::Keys));
    return commands;
}

val CatalogueNames() {
    val names = val::array();
    for (const std::string_view name : {kPlanesFile, kTargetsFile, kBlocksFile}) names.call<void>("push", std::string(name));
    return names;
}

// The keys of the sheet, each as [keys, action], and the two column titles.
val SheetKeyRows() {
    val rows = val::array();
    for (const SheetKey& key : SheetKeys()) {
        val row = val::array();
        row.call<void>("push", std::string(key.keys));
        row.call<void>("push", std::string(key.action));
        rows.call<void>("push", row);
    }
    return rows;
}

val KeysColumns() {
    val titles = val::array();
    titles.call<void>("push", std::string(kKeysColumn));
    titles.call<void>("push", std::string(kActionColumn));
    return titles;
}

val MissionColumns() {
    val titles = val::array();
    for (std::size_t c = 0; c < kMissionColumns; ++c)
        titles.call<void>("push", std::string(ColumnTitle(static_cast<MissionColumn>(c))));
    return titles;
}

// The missions panel's words besides its column titles.
val MissionsWords() {
    val words = val::object();
    words.set("filter", WithoutAccessKey(kFilterCaption));
    words.set("compare", std::string(kCompareCaption));
    words.set("stamp", WithoutAccessKey(kStampCaption));
    words.set("compareChosen", WithoutAccessKey(kCompareChosenCaption));
    words.set("differences", std::string(kDifferencesName));
    return words;
}

// What a list entry's menu offers: each slot and the menu's caption for it.
val EntryUsesOf(int list) {
    val uses = val::array();
    for (const EntryUse& use : EntryUses(Id(list))) {
        val shown = val::object();
        shown.set("slot", static_cast<int>(use.slot));
        shown.set("caption", std::string(use.caption));
        uses.call<void>("push", shown);
    }
    return uses;
}

val InspectorColumns() {
    val titles = val::array();
    for (int c = 0; c < kInspectorColumns; ++c) titles.call<void>("push", std::string(InspectorTitle(static_cast<InspectorColumn>(c))));
    return titles;
}

}  // namespace

// The editor as the page sees it: events in, the model's state out.
class Page {
public:
    Page() : model_(dialog_, GameCatalogues()), inspector_(model_) {}

    void Click(int id, int member) { model_.Click(Id(id), member); }
    void Check(int id, bool checked) { model_.Check(Id(id), checked); }
    void Type(int id, std::string text) { model_.Type(Id(id), std::move(text)); }
    void KeyPress(int id, int code) { model_.KeyPress(Id(id), code); }
    void Select(int id, int index) { model_.Select(Id(id), index); }
    void UseEntry(int list, int index, int slot) { model_.UseEntry(Id(list), index, Id(slot)); }
    void Undo() { model_.Undo(); }
    void Redo() { model_.Redo(); }
    void NewMission() { model_.NewMissionShown(); }
    void Save() { model_.SaveToOwnFile(); }
    void SaveAs() { model_.SaveAs(); }
    void Open(const std::string& path) { model_.Open(path); }
    // The Load button with the file the page wrote, or none when cancelled.
    void Load(const std::string& path) {
        dialog_.Choose(path);
        model_.Click(ControlId::LoadButton);
    }
    // The game folder's catalogues, written into it by the page, read.
    void ChangeFolder() { model_.ChangeFolder(GameCatalogues()); }
    // What was dropped ({name, folder} each, and how many other things): a
    // mission, the game folder, or nothing, the model having said why.
    DropUse PlanDrop(const val& items, int notFiles) {
        std::vector<DroppedItem> dropped;
        const unsigned count = items["length"].as<unsigned>();
        for (unsigned i = 0; i < count; ++i)
            dropped.push_back({items[i]["name"].as<std::string>(), items[i]["folder"].as<bool>()});
        return model_.PlanDrop(dropped, notFiles);
    }

    std::string Text(int id) const { return model_.Text(Id(id)); }
    int Value(int id) const { return model_.Value(Id(id)); }
    std::string Name(int id) const { return AccessibleNameOf(FindDescription(Id(id)), model_.Text(Id(id))); }
    val Members(int group) const {
        val members = val::array();
        for (const std::string_view m : model_.Members(Id(group))) members.call<void>("push", std::string(m));
        return members;
    }
    int ItemCount(int list) const { return model_.Items(Id(list)).Count(); }
    std::string Item(int list, int index) const { return model_.Items(Id(list)).Item(index); }
    unsigned CataloguesRead() const { return model_.CataloguesRead(); }
    std::string Title() const { return WindowTitle(model_.TitleName(), model_.Unsaved() ? "*" : ""); }
    int Saves() const { return model_.Saves(); }
    unsigned Said() const { return model_.Said(); }
    std::string LastFile() const { return model_.LastFile(); }
    unsigned BoxCommits(int id) const { return model_.BoxCommits(Id(id)); }
    int TakeFocusRequest() { return static_cast<int>(model_.TakeFocusRequest()); }
    // The missions of the game folder, each file read and decoded into a
    // row of texts (MissionFolder.h), with the path that opens it: the rows
    // the filter keeps, in the order chosen.
    val Missions() {
        // Sorting and filtering show the rows last read again; anything
        // else may have changed the files, so they are read again.
        if (!reorderOnly_ || read_.empty()) {
            const NameLists lists{&model_.Items(ControlId::AircraftList).Lines(), &model_.Items(ControlId::PlaceList).Lines()};
            read_.clear();
            const OpenFolder folder(model_.StartDir());
            for (const FolderEntry& entry : ListMissionFiles(folder)) read_.push_back(ReadMissionRow(folder, entry, lists));
        }
        reorderOnly_ = false;
        const std::vector<MissionRow>& read = read_;
        val rows = val::array();
        for (const std::size_t i : ShownRows(read, order_, filter_)) {
            val texts = val::array();
            for (const std::string& text : read[i].texts) texts.call<void>("push", text);
            val shown = val::object();
            shown.set("path", (std::filesystem::path(model_.StartDir()) / read[i].entry.file).string());
            shown.set("texts", texts);
            rows.call<void>("push", shown);
        }
        return rows;
    }
    // A column's header chosen, and the filter's text, for Missions.
    void SortMissions(int column) {
        if (column >= 0 && column < static_cast<int>(kMissionColumns)) order_.Choose(static_cast<MissionColumn>(column));
        reorderOnly_ = true;
    }
    void FilterMissions(std::string text) {
        filter_ = std::move(text);
        reorderOnly_ = true;
    }
    int MissionsSortColumn() const { return static_cast<int>(order_.column); }
    bool MissionsDescending() const { return order_.descending; }

    // The missions chosen compared field by field: what is said goes to the
    // status line; the differences, when the two were compared, are
    // returned as lines, else null.
    val CompareMissions(val paths) {
        std::vector<std::filesystem::path> files;
        for (const std::string& path : emscripten::vecFromJSArray<std::string>(paths)) files.emplace_back(path);
        const NameLists lists{&model_.Items(ControlId::AircraftList).Lines(), &model_.Items(ControlId::PlaceList).Lines()};
        ChosenComparison compared = CompareChosen(files, lists);
        model_.Say(std::move(compared.said));
        if (!compared.compared) return val::null();
        std::string text;
        for (const std::string& line : compared.lines) text += (text.empty() ? "" : "\n") + line;
        return val(text);
    }

    // A mission's Compare: the model asks for the file to be compared with
    // the window's mission in the inspector.
    void Compare(const std::string& path) { model_.AskToCompare(path); }
    // The comparison the model asked for, made in the inspector and said in
    // the status line; false when none was asked for.
    bool TakeCompare() {
        const std::string path = model_.TakeCompareRequest();
        if (path.empty()) return false;
        model_.Say(inspector_.Compare(path));
        return true;
    }

    // The inspector's row of a byte: a text for each column, and whether it
    // is marked (changed since the last load or new mission, or differing
    // from the comparison).
    val InspectorRow(int offset) const {
        const ByteInspector::Row row = inspector_.RowAt(offset);
        val texts = val::array();
        for (int c = 0; c < kInspectorColumns; ++c) texts.call<void>("push", InspectorText(row, static_cast<InspectorColumn>(c)));
        val shown = val::object();
        shown.set("texts", texts);
        shown.set("marked", row.Marked());
        return shown;
    }

    // ---- Unsaved work, kept in the browser's storage ----

    // Starts keeping the work once the page has read the storage (or the
    // browser refused it, errorName and message saying why): what is kept
    // from pages that closed, or the refusal, is said after what the status
    // line says.
    void StartKeeping(val storage, val entries, val heldElsewhere, const std::string& errorName,
                      const std::string& message) {
        store_ = std::make_unique<BrowserStore>(std::move(storage));
        store_->Take(entries, heldElsewhere);
        if (!errorName.empty()) store_->Refused(errorName, message);
        kept_ = std::make_unique<KeptWork>(*store_, model_, kRestoreKey);
        std::string said = kept_->Survey();
        if (!store_->Refusal().empty())
            said = "Unsaved work cannot be kept in " + store_->Where() + " (" + store_->Refusal() +
                   "): save your missions to keep them.";
        if (!said.empty()) model_.Say(model_.Text(ControlId::StatusLine) + " " + said);
    }
    // The storage read again (before a restore, which may find work of
    // pages closed since).
    void TakeStorage(val entries, val heldElsewhere) {
        if (store_) store_->Take(entries, heldElsewhere);
    }
    // A write the storage took was refused later: the first refusal keeps
    // the work again at once, so that it is said; later ones wait for the
    // policy's next try.
    void StorageRefused(const std::string& name, const std::string& message, double now) {
        if (!store_) return;
        const bool first = store_->Refusal().empty();
        store_->Refused(name, message);
        if (first && kept_) kept_->KeepAgain(static_cast<std::int64_t>(now));
    }
    void StorageAccepted() {
        if (store_) store_->Accepted();
    }
    // The policy's clock: milliseconds of the page's steady clock.
    void Touched(double now) {
        if (kept_) kept_->Touched(static_cast<std::int64_t>(now));
    }
    double KeepDue() const { return kept_ && kept_->Due() ? static_cast<double>(*kept_->Due()) : -1; }
    void Tick(double now) {
        if (kept_) kept_->Tick(static_cast<std::int64_t>(now));
    }
    void KeepNow(double now) {
        if (kept_) kept_->KeepNow(static_cast<std::int64_t>(now));
    }
    void RestoreNext() {
        if (kept_) kept_->RestoreNext();
    }

    // ---- A game folder on disk ----

    void SetFolderWritable(bool writable) {
        if (store_) store_->SetFolderWritable(writable);
    }
    // The files written into the game folder since the page last asked, in
    // the order written: copies of replaced missions before the save.
    val TakeWritten() {
        val paths = val::array();
        if (store_)
            for (const std::string& path : store_->TakeWritten()) paths.call<void>("push", path);
        if (model_.Saves() != savesWritten_) {
            savesWritten_ = model_.Saves();
            paths.call<void>("push", model_.LastFile());
        }
        return paths;
    }
    // The missions panel's Stamp checksums over the missions of the given
    // paths: the files stamped are written to the folder on disk with the
    // next files the page takes.
    void Stamp(val paths) {
        std::vector<std::filesystem::path> files;
        for (const std::string& path : emscripten::vecFromJSArray<std::string>(paths)) files.emplace_back(path);
        StampedFiles stamped = StampChecksums(files);
        if (store_)
            for (const std::filesystem::path& file : stamped.written) store_->Wrote(file.string());
        model_.Say(std::move(stamped.said));
    }

    // A file the browser would not write into the folder on disk: the page
    // downloads it instead, so that nothing is lost.
    void FolderWriteFailed(const std::string& path, const std::string& errorName, const std::string& message) {
        const std::string why = errorName == "Changed" ? "the file there changed since the page read it, or was not read"
                                : message.empty()      ? errorName
                                                       : message;
        model_.Say("Could not write " + ReadableText(std::filesystem::path(path).filename().string()) +
                   " into the game folder (" + why + "): it is downloaded instead.");
    }
    // The folder on disk could not be read again (gone, or the browser took
    // the page's right away): saves download from now on. stopped: the
    // command that read it first (a save, say) was not carried out.
    void FolderLost(const std::string& errorName, const std::string& message, bool stopped) {
        model_.Say("The game folder on disk could not be read again (" + (message.empty() ? errorName : message) + ")" +
                   (stopped ? ", and nothing was changed" : "") +
                   ": saves are downloaded from now on; choose the folder again to save into it.");
    }
    // Files of the folder chosen that the page did not read, each as [name,
    // why]: why is empty for a file larger than the page reads of a file,
    // else the browser's error.
    void Skipped(val files) {
        std::string large, unread;
        for (const val& file : emscripten::vecFromJSArray<val>(files)) {
            const std::string name = ReadableText(file[0].as<std::string>());
            const std::string why = file[1].as<std::string>();
            if (why.empty()) large += (large.empty() ? "" : ", ") + name;
            else unread += (unread.empty() ? "" : ", ") + name + " (" + why + ")";
        }
        std::string said;
        if (!large.empty()) said += " Not read, each larger than the " + LargestRead() + " the page reads of a file: " + large + ".";
        if (!unread.empty()) said += " Not read, the browser could not read them: " + unread + ".";
        if (!said.empty()) model_.Say(model_.Text(ControlId::StatusLine) + said);
    }
    // A mission chosen or dropped that the page did not read (why as for
    // Skipped): nothing changes.
    void Unread(const std::string& name, const std::string& why) {
        model_.Say("Could not load " + (std::filesystem::path(kGameFolder) / ReadableText(name)).string() + ": " +
                   (why.empty() ? "it is larger than the " + LargestRead() + " the page reads of a file"
                                : "the browser could not read it (" + why + ")") +
                   ". Nothing was changed.");
    }

private:
    PageDialog dialog_;
    WindowModel model_;
    ByteInspector inspector_;
    std::unique_ptr<BrowserStore> store_;
    std::unique_ptr<KeptWork> kept_;  // after the store and the model, so that it goes first
    int savesWritten_ = 0;
    MissionOrder order_;
    std::string filter_;
    std::vector<MissionRow> read_;  // the missions as last read
    bool reorderOnly_ = false;      // only the order or the filter changed since
};

}  // namespace kestrane

// What the page builds from and names things with, the same for every
// model.
EMSCRIPTEN_BINDINGS(kestrane_page_names) {
    emscripten::function("sheet", &kestrane::Sheet);
    emscripten::function("ids", &kestrane::Ids);
    emscripten::function("commands", &kestrane::Commands);
    emscripten::function("catalogueNames", &kestrane::CatalogueNames);
    emscripten::function("ownFileName", &kestrane::GameFolderName);
    emscripten::function("missionColumns", &kestrane::MissionColumns);
    emscripten::function("sheetKeys", &kestrane::SheetKeyRows);
    emscripten::function("keysColumns", &kestrane::KeysColumns);
    emscripten::function("inspectorColumns", &kestrane::InspectorColumns);
    emscripten::function("missionsWords", &kestrane::MissionsWords);
    emscripten::function("entryUses", &kestrane::EntryUsesOf);
    emscripten::function("inspectorName", +[] { return std::string(kestrane::kInspectorName); });
    emscripten::function("missionSize", +[] { return kestrane::kMissionSize; });
    emscripten::function("gameFolder", +[] { return std::string(kestrane::kGameFolder); });
    // What the page says when its module cannot start in this browser, the
    // browser's reason after it: read at build time, as the module never ran.
    emscripten::function("startRefused", +[] {
        return std::string("This browser could not start the editor, so nothing you do here is kept or saved; "
                           "open the page in a current Chromium, Firefox or Safari. The browser said: ");
    });
    emscripten::function("largestRead", +[] { return static_cast<double>(kestrane::kLargestRead); });
    emscripten::enum_<kestrane::DropUse>("DropUse")
        .value("Mission", kestrane::DropUse::Mission)
        .value("GameFolder", kestrane::DropUse::GameFolder)
        .value("Nothing", kestrane::DropUse::Nothing);
}

// The editor: events in, the model's state out.
EMSCRIPTEN_BINDINGS(kestrane_page) {
    using kestrane::Page;
    emscripten::class_<Page>("Page")
        .constructor<>()
        .function("click", &Page::Click)
        .function("check", &Page::Check)
        .function("type", &Page::Type)
        .function("keyPress", &Page::KeyPress)
        .function("select", &Page::Select)
        .function("useEntry", &Page::UseEntry)
        .function("undo", &Page::Undo)
        .function("redo", &Page::Redo)
        .function("newMission", &Page::NewMission)
        .function("save", &Page::Save)
        .function("saveAs", &Page::SaveAs)
        .function("open", &Page::Open)
        .function("load", &Page::Load)
        .function("changeFolder", &Page::ChangeFolder)
        .function("planDrop", &Page::PlanDrop)
        .function("text", &Page::Text)
        .function("value", &Page::Value)
        .function("name", &Page::Name)
        .function("members", &Page::Members)
        .function("itemCount", &Page::ItemCount)
        .function("item", &Page::Item)
        .function("cataloguesRead", &Page::CataloguesRead)
        .function("title", &Page::Title)
        .function("saves", &Page::Saves)
        .function("said", &Page::Said)
        .function("lastFile", &Page::LastFile)
        .function("boxCommits", &Page::BoxCommits)
        .function("takeFocusRequest", &Page::TakeFocusRequest)
        .function("missions", &Page::Missions)
        .function("sortMissions", &Page::SortMissions)
        .function("filterMissions", &Page::FilterMissions)
        .function("missionsSortColumn", &Page::MissionsSortColumn)
        .function("missionsDescending", &Page::MissionsDescending)
        .function("inspectorRow", &Page::InspectorRow)
        .function("compare", &Page::Compare)
        .function("takeCompare", &Page::TakeCompare)
        .function("compareMissions", &Page::CompareMissions)
        .function("startKeeping", &Page::StartKeeping)
        .function("takeStorage", &Page::TakeStorage)
        .function("storageRefused", &Page::StorageRefused)
        .function("storageAccepted", &Page::StorageAccepted)
        .function("touched", &Page::Touched)
        .function("keepDue", &Page::KeepDue)
        .function("tick", &Page::Tick)
        .function("keepNow", &Page::KeepNow)
        .function("restoreNext", &Page::RestoreNext)
        .function("setFolderWritable", &Page::SetFolderWritable)
        .function("takeWritten", &Page::TakeWritten)
        .function("stamp", &Page::Stamp)
        .function("folderWriteFailed", &Page::FolderWriteFailed)
        .function("skipped", &Page::Skipped)
        .function("unread", &Page::Unread)
        .function("folderLost", &Page::FolderLost);
}
