#include "ui/Form1.h"

#include <algorithm>

#include "catalogues/Catalogue.h"
#include "editors/Conversions.h"
#include "editors/EditorTables.h"
#include "mission/Cp1252.h"
#include "mission/Layout.h"

namespace kestrane {

namespace {

// Cell texts that loading writes into every row, made once.
struct RowTexts {
    std::array<std::string, Grid::kRows> number;  // column 0
    std::array<std::string, Grid::kRows> offset;  // column 1
    std::array<std::string, 256> hex;             // column 3
    std::array<std::string, 256> character;       // column 4
};

const RowTexts& Texts() {
    static const RowTexts texts = [] {
        RowTexts t;
        for (int r = 1; r < Grid::kRows; ++r) {
            t.number[r] = DecimalText(static_cast<std::uint64_t>(r));
            t.offset[r] = HexText(static_cast<std::uint64_t>(r - 1));
        }
        for (int b = 0; b < 256; ++b) {
            t.hex[b] = HexText(static_cast<std::uint64_t>(b));
            if (b == 0) t.character[b] = std::string(1, '\0');
            else AppendUtf8(t.character[b], Cp1252ToUnicode(static_cast<std::uint8_t>(b)));
        }
        return t;
    }();
    return texts;
}

constexpr std::array<std::pair<int, const char*>, 14> kFrameCaptions{{
    {0, "Cruse Altitude"}, {1, "Year"}, {2, "Time of Day"}, {3, "Weather"},
    {4, "Enemy pilots' skill level"}, {5, "Attack Plane 1"}, {6, "Attack Plane 2"},
    {7, "Target"}, {8, "Home Base"}, {9, "Mission Type"}, {10, "Pilots' skill level"},
    {11, "Altitudes (feet)"}, {19, "Enemy aircraft"}, {22, "AAA"},
}};

}  // namespace

Form1::Form1(CommonDialog& dialog, std::filesystem::path startDir) : CD(dialog) {
    for (const auto& [index, caption] : kFrameCaptions) Frame1[static_cast<std::size_t>(index)].Caption = caption;
    InitOptionGroups();
    RegisterControls();
    StartDir = startDir.string();
    FormLoad();
}

void Form1::FormLoad() {
    CD.InitDir = StartDir;
    CD.Filter = std::string(kMissionFilter);

    G.SetVisible(false);
    G.SetCols(6);
    constexpr std::array<int, 6> widths{600, 0, 600, 0, 0, 3600};
    for (int c = 0; c < 6; ++c) G.SetColWidth(c, widths[static_cast<std::size_t>(c)]);
    for (int c = 0; c <= 4; ++c) G.SetColAlignment(c, Grid::Align::LeftCenter);
    G.Refresh();

    ReadCatalogues();
}

void Form1::ReadCatalogues() {
    const std::filesystem::path dir(StartDir);
    std::string notes;
    auto note = [&](std::string_view file, const std::string& error, std::string_view consequence) {
        if (!notes.empty()) notes += ' ';
        notes.append(file).append(" ").append(error).append(" in ").append(StartDir).append(": ");
        notes.append(consequence).append(".");
    };

    CatalogueFile planes = ReadCatalogue(dir / kPlanesFile);
    const std::size_t planeCount = planes.size();
    if (!planes.read) note(kPlanesFile, planes.error, "the aircraft list holds only Random and None");
    List1.Clear();
    List1.SetNumberedLines(std::move(planes));
    List1.AddItem("Random");
    List1.AddItem("None");

    CatalogueFile targets = ReadCatalogue(dir / kTargetsFile);
    const std::size_t placeCount = targets.size();
    if (!targets.read) note(kTargetsFile, targets.error, "the target and home base list is empty");
    List2.Clear();
    List2.SetNumberedLines(std::move(targets));
    ++listsRevision_;

    for (int r = 9; r <= 272; ++r)
        if (r != Field("InstantActionFlag").row()) G.SetRowHeight(r, 0);

    const CatalogueFile blocks = ReadCatalogue(dir / kBlocksFile);
    for (int i = 0; i < kBlockCount; ++i) {
        const int row = BlockRow(i);
        G.SetRowHeight(row, G.RowHeight(0));
        const auto k = static_cast<std::size_t>(i);
        G.SetTextMatrix(row, 5, k < blocks.size() ? std::string(blocks.line(k)) : std::string());
    }
    if (!blocks.read) note(kBlocksFile, blocks.error, "the settings blocks have no descriptions");
    else if (blocks.size() < kBlockCount) {
        if (!notes.empty()) notes += ' ';
        notes.append(kBlocksFile).append(" has ").append(std::to_string(blocks.size()));
        notes += " of 32 lines: the remaining block descriptions are empty.";
    }

    StatusLine.Caption = notes.empty() ? "Ready: " + std::to_string(planeCount) + " aircraft and " +
                                             std::to_string(placeCount) + " places read from " + StartDir + "."
                                       : notes;
}

// ---- Loading ----

void Form1::Command2_Click() {
    const bool wasOpen = MissionOpen;
    MissionOpen = false;
    CD.DefaultExt = "msn";
    CD.FileName.clear();
    CD.ShowOpen();
    const std::string name = CD.FileName;
    if (name.empty()) {
        StatusLine.Caption = HasMission
                                 ? "Load cancelled: the settings are locked until you load a mission or make a new one."
                                 : "Load cancelled: no file was read.";
        return;
    }

    // The whole read happens before the image is touched, so a failed read
    // leaves the earlier mission exactly as it was.
    const ReadResult read = ReadMission(name);
    if (!read.ok) {
        MissionOpen = wasOpen;
        StatusLine.Caption = "Could not load " + name + ": the file " + read.error + ". Nothing was changed.";
        return;
    }

    Label16.Caption = name;
    FillImage(read.bytes);
    const std::uint32_t checksum = module1.ShowChecksum(Label1, Label2);
    for (int k = 0; k < 4; ++k) Label18[static_cast<std::size_t>(k)].Caption = DecimalText(ChecksumByte(checksum, k));

    DecodeSettings();

    ByteRead(Field("StoredChecksum").row());
    Label15.Caption = DecimalText(static_cast<std::uint64_t>(ReadValue));
    Label3.Caption.clear();
    for (int r = 1; r <= 4; ++r) Label3.Caption += HexText(G.Byte(r).value_or(0));

    // The name shows all 24 bytes; its zero padding shows as nothing.
    const FieldSpec& nameField = Field("MissionName");
    NameBytes nameBytes{};
    for (std::size_t j = 0; j < kNameLength; ++j) nameBytes[j] = G.Byte(nameField.row() + static_cast<int>(j)).value_or(0);
    Label17.Caption = DisplayName(nameBytes);
    Text1.Text = Label17.Caption;

    const int iaRow = Field("InstantActionFlag").row();
    IA.Value = 0;
    IA_Click();
    if (G.Byte(iaRow) == 128) {
        IA.Value = 1;
        IA_Click();
    }
    G.SetTextMatrix(iaRow, 5, "Instant Action");
    G.Refresh();

    MissionOpen = true;
    HasMission = true;
    StatusLine.Caption = "Loaded " + name + ".";
}

void Form1::FillImage(const MissionBytes& bytes) {
    const RowTexts& t = Texts();
    module1.ChecksumText.clear();
    module1.ChecksumText.reserve(kMissionSize - kChecksumFirst);
    for (int r = 1; r <= kMissionSize; ++r) {
        const std::uint8_t b = bytes[static_cast<std::size_t>(r - 1)];
        G.SetTextMatrix(r, 0, t.number[static_cast<std::size_t>(r)]);
        G.SetTextMatrix(r, 1, t.offset[static_cast<std::size_t>(r)]);
        G.SetByte(r, b);
        G.SetTextMatrix(r, 3, t.hex[b]);
        G.SetTextMatrix(r, 4, t.character[b]);
        if (r > kChecksumFirst) module1.ChecksumText += static_cast<char>(b);
    }
}

void Form1::DecodeSettings() {
    for (std::string_view fieldName : kDecodeOrder) {
        const FieldSpec& field = *FindField(fieldName);
        const int v = G.Byte(field.row()).value_or(0);
        switch (field.encoding) {
        case Encoding::OptionIndex:
            if (OptionGroup* group = Find<OptionGroup>(field.control)) SelectOption(*group, v);
            break;
        case Encoding::Count:
            AP1Num.Text = DecimalText(static_cast<std::uint64_t>(v));
            break;
        case Encoding::PlaceCode: {
            const PlaceSpec& place = *PlaceForField(field.name);
            const int n = v + 256 * G.Byte(field.row() + 1).value_or(0);
            (this->*place.name).Caption = List2.List(n);
            (this->*place.number).Caption = DecimalText(static_cast<std::uint64_t>(n));
            break;
        }
        case Encoding::AircraftCode:
        case Encoding::AircraftPosition: {
            const AircraftSlotSpec& slot = *SlotForField(field.name);
            Label& name = this->*slot.name;
            name.Caption = List1.List(v);
            (this->*slot.number).Caption = DecimalText(static_cast<std::uint64_t>(v));
            if (slot.usesCodes && v == 254 && slot.offersNone) name.Caption = "None";
            if (slot.usesCodes && v == 255) name.Caption = "Random";
            break;
        }
        case Encoding::Unsigned32:
            ByteRead(field.row());
            if (TextBox* box = Find<TextBox>(field.control, field.controlIndex))
                box->Text = DecimalText(static_cast<std::uint64_t>(ReadValue));
            break;
        default:
            break;
        }
    }
}

void Form1::ByteRead(int grow) { ReadValue = static_cast<double>(ReadU32(G, grow)); }

// ---- Checksum ----

void Form1::RefreshChecksum() {
    module1.ChecksumText.clear();
    for (int r = kChecksumFirst + 1; r <= kMissionSize; ++r)
        module1.ChecksumText += static_cast<char>(G.Byte(r).value_or(0));
    const std::uint32_t checksum = module1.ShowChecksum(Label1, Label2);
    for (int k = 0; k < 4; ++k) Label18[static_cast<std::size_t>(k)].Caption = DecimalText(ChecksumByte(checksum, k));
}

// ---- New mission ----

void Form1::Command3_Click() {
    for (int r = 1; r <= kMissionSize; ++r) G.SetByte(r, 0);
    const int header = Field("FixedHeader").row();
    for (int k = 0; k < 4; ++k) G.SetByte(header + k, kFixedHeader[static_cast<std::size_t>(k)]);
    MissionOpen = true;
    HasMission = true;
    StatusLine.Caption = "New mission: every setting is 0 until you change it (the window still shows the earlier choices).";
}

// ---- Saving ----

bool Form1::Update() {
    // Every box is checked before anything is written, so a refused box
    // leaves the whole image as it was.
    const NameResult name = EncodeName(Text1.Text);
    if (!name.bytes) {
        StatusLine.Caption = name.error;
        return false;
    }
    std::array<std::uint32_t, kNumericBoxes.size()> values{};
    for (std::size_t i = 0; i < kNumericBoxes.size(); ++i) {
        const NumericBoxSpec& box = kNumericBoxes[i];
        const NumberResult number =
            ReadWholeNumber(NumericBoxCaption(*this, box), Find<TextBox>(box.control, box.index)->Text, kUnsignedMax);
        if (!number.value) {
            StatusLine.Caption = number.error;
            return false;
        }
        values[i] = *number.value;
    }
    const NumberResult count = ReadWholeNumber(Label6.Caption, AP1Num.Text, 255);
    if (!count.value) {
        StatusLine.Caption = count.error;
        return false;
    }

    NameWrite();
    for (std::size_t i = 0; i < 4; ++i) WriteU32(G, kNumericBoxes[i].field->row(), values[i]);  // altitudes
    G.SetByte(Field("AttackPlane1Count").row(), static_cast<std::uint8_t>(*count.value));
    for (std::size_t i = 4; i < kNumericBoxes.size(); ++i) WriteU32(G, kNumericBoxes[i].field->row(), values[i]);
    return true;
}

MissionBytes Form1::ImageBytes() const {
    MissionBytes bytes{};
    for (int r = 1; r <= kMissionSize; ++r) bytes[static_cast<std::size_t>(r - 1)] = G.Byte(r).value_or(0);
    return bytes;
}

void Form1::Command4_Click() {
    if (!HasMission) {
        StatusLine.Caption = "Nothing to save yet: load a mission or make a new one first. No file was written.";
        return;
    }
    const SavePath target = BuildSavePath(StartDir, Text2.Text);
    if (!target.ok) {
        StatusLine.Caption = target.error;
        return;
    }
    if (!Update()) return;

    const int header = Field("FixedHeader").row();
    for (int k = 0; k < 4; ++k) G.SetByte(header + k, kFixedHeader[static_cast<std::size_t>(k)]);
    G.Refresh();
    RefreshChecksum();
    for (int k = 0; k < 4; ++k) G.SetTextMatrix(1 + k, Grid::kValueCol, Label18[static_cast<std::size_t>(k)].Caption);

    const WriteResult written = WriteMissionInPlace(target.path, ImageBytes(), SaveWrite);
    StatusLine.Caption = written.ok ? "Saved " + target.path.string() + "."
                                    : "Could not save " + target.path.string() + ": " + written.error +
                                          ". The mission in the editor is kept.";
}

// ---- Binding for a view ----

void Form1::RegisterControls() {
    auto add = [this](std::string name, int index, ControlPtr control) {
        controls_.push_back({std::move(name), index, control});
    };
    add("Command2", -1, &Command2);
    add("Command3", -1, &Command3);
    add("Command4", -1, &Command4);
    for (auto [name, label] : std::initializer_list<std::pair<const char*, Label*>>{
             {"Label16", &Label16}, {"Label17", &Label17}, {"Label19", &Label19}, {"Label20", &Label20},
             {"Label12", &Label12}, {"Label5", &Label5}, {"Label6", &Label6}, {"Label7", &Label7},
             {"Label8", &Label8}, {"Label9", &Label9}, {"AP1L", &AP1L}, {"AP1N", &AP1N}, {"AP2L", &AP2L},
             {"AP2N", &AP2N}, {"DP1L", &DP1L}, {"DP1N", &DP1N}, {"DP2L", &DP2L}, {"DP2N", &DP2N},
             {"Targl", &Targl}, {"TargLN", &TargLN}, {"HBL", &HBL}, {"HBN", &HBN}, {"Label14", &Label14},
             {"Label1", &Label1}, {"Label2", &Label2}, {"Label15", &Label15}, {"Label3", &Label3},
             {"StatusLine", &StatusLine}})
        add(name, -1, label);
    for (int i = 0; i < 2; ++i) add("Label4", i, &Label4[static_cast<std::size_t>(i)]);
    for (int i = 0; i < 4; ++i) add("Label10", i, &Label10[static_cast<std::size_t>(i)]);
    for (int i = 0; i < 3; ++i) add("Label11", i, &Label11[static_cast<std::size_t>(i)]);
    for (int i = 0; i < 2; ++i) add("Label13", i, &Label13[static_cast<std::size_t>(i)]);
    for (int i = 0; i < 4; ++i) add("Label18", i, &Label18[static_cast<std::size_t>(i)]);

    add("Text1", -1, &Text1);
    add("Text2", -1, &Text2);
    add("AP1Num", -1, &AP1Num);
    add("MDate", -1, &MDate);
    add("MWeather", -1, &MWeather);
    add("TOffset", -1, &TOffset);
    for (int i = 0; i < 4; ++i) add("AltText", i, &AltText[static_cast<std::size_t>(i)]);
    for (int i = 0; i < 2; ++i) add("UKN", i, &UKN[static_cast<std::size_t>(i)]);

    add("IA", -1, &IA);
    for (const OptionGroupSpec& spec : kOptionGroups) add(std::string(spec.control), -1, &(this->*spec.group));
    add("List1", -1, &List1);
    add("List2", -1, &List2);

    for (const auto& [index, caption] : kFrameCaptions) add("Frame1", index, &Frame1[static_cast<std::size_t>(index)]);
    add("Frame2", -1, &Frame2);
    add("Frame3", -1, &Frame3);
}

void Form1::Click(std::string_view name, int index) {
    using Handler = void (Form1::*)();
    static const std::array<std::pair<std::string_view, Handler>, 11> handlers{{
        {"Command2", &Form1::Command2_Click}, {"Command3", &Form1::Command3_Click},
        {"Command4", &Form1::Command4_Click}, {"IA", &Form1::IA_Click}, {"AP1L", &Form1::AP1L_Click},
        {"AP2L", &Form1::AP2L_Click}, {"DP1L", &Form1::DP1L_Click}, {"DP2L", &Form1::DP2L_Click},
        {"DP2N", &Form1::DP2N_Click}, {"Targl", &Form1::Targl_Click}, {"HBL", &Form1::HBL_Click},
    }};
    for (const auto& [handlerName, handler] : handlers)
        if (handlerName == name) return (this->*handler)();
    for (const OptionGroupSpec& spec : kOptionGroups)
        if (spec.control == name) return OptionClick(this->*spec.group, index);
}

void Form1::KeyPress(std::string_view name, int index, int& keyAscii) {
    if (name == "AltText") return AltText_KeyPress(index, keyAscii);
    if (name == "UKN") return UKN_KeyPress(index, keyAscii);
    if (name == "MDate") return MDate_KeyPress(keyAscii);
    if (name == "MWeather") return MWeather_KeyPress(keyAscii);
    if (name == "TOffset") return TOffset_KeyPress(keyAscii);
    if (name == "AP1Num") return AP1Num_KeyPress(keyAscii);
    if (name == "Text1") return Text1_KeyPress(keyAscii);
}

}  // namespace kestrane
