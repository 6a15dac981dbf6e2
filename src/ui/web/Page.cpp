// The page's bindings: the window model, its sheet and the names of its
// controls, offered to the page's script through embind. The page forwards
// each event here and then shows what the model holds; nothing is decided
// or worded on the script's side.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "catalogues/Catalogue.h"
#include "ui/Arrangement.h"
#include "ui/ByteInspector.h"
#include "ui/Commands.h"
#include "ui/ControlNames.h"
#include "ui/Controls.h"
#include "ui/MissionFolder.h"
#include "ui/WindowModel.h"

namespace kestrane {

namespace {

using emscripten::val;

// The game folder in the page's memory file system: the catalogues chosen
// are written here, a mission chosen is written here before it is opened,
// and Save! writes here before the page hands the bytes to the browser.
constexpr const char* kGameFolder = "/game";

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

// The control the page treats apart: the button that asks for a file,
// which the page asks for before it forwards the click.
val Ids() {
    val ids = val::object();
    ids.set("LoadButton", static_cast<int>(ControlId::LoadButton));
    return ids;
}

val Commands() {
    val commands = val::object();
    commands.set("ChooseGameFolder", PlainCommandCaption(Command::ChooseGameFolder));
    commands.set("Save", PlainCommandCaption(Command::Save));
    commands.set("SaveAs", PlainCommandCaption(Command::SaveAs));
    commands.set("NewMission", PlainCommandCaption(Command::NewMission));
    commands.set("Undo", PlainCommandCaption(Command::Undo));
    commands.set("Redo", PlainCommandCaption(Command::Redo));
    commands.set("Missions", PlainCommandCaption(Command::Missions));
    commands.set("Inspector", PlainCommandCaption(Command::Inspector));
    return commands;
}

val CatalogueNames() {
    val names = val::array();
    for (const std::string_view name : {kPlanesFile, kTargetsFile, kBlocksFile}) names.call<void>("push", std::string(name));
    return names;
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
    val Missions() const {
        const NameLists lists{&model_.Items(ControlId::AircraftList).Lines(), &model_.Items(ControlId::PlaceList).Lines()};
        std::vector<MissionRow> read;
        const OpenFolder folder(model_.StartDir());
        for (const FolderEntry& entry : ListMissionFiles(folder)) read.push_back(ReadMissionRow(folder, entry, lists));
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
    }
    void FilterMissions(std::string text) { filter_ = std::move(text); }
    int MissionsSortColumn() const { return static_cast<int>(order_.column); }
    bool MissionsDescending() const { return order_.descending; }

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

private:
    PageDialog dialog_;
    WindowModel model_;
    ByteInspector inspector_;
    MissionOrder order_;
    std::string filter_;
};

}  // namespace kestrane

EMSCRIPTEN_BINDINGS(kestrane_page) {
    using kestrane::Page;
    emscripten::function("sheet", &kestrane::Sheet);
    emscripten::function("ids", &kestrane::Ids);
    emscripten::function("commands", &kestrane::Commands);
    emscripten::function("catalogueNames", &kestrane::CatalogueNames);
    emscripten::function("missionColumns", &kestrane::MissionColumns);
    emscripten::function("inspectorColumns", &kestrane::InspectorColumns);
    emscripten::function("missionsWords", &kestrane::MissionsWords);
    emscripten::function("entryUses", &kestrane::EntryUsesOf);
    emscripten::function("inspectorName", +[] { return std::string(kestrane::kInspectorName); });
    emscripten::function("missionSize", +[] { return kestrane::kMissionSize; });
    emscripten::function("gameFolder", +[] { return std::string(kestrane::kGameFolder); });
    emscripten::enum_<kestrane::DropUse>("DropUse")
        .value("Mission", kestrane::DropUse::Mission)
        .value("GameFolder", kestrane::DropUse::GameFolder)
        .value("Nothing", kestrane::DropUse::Nothing);
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
        .function("takeCompare", &Page::TakeCompare);
}
