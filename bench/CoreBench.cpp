// Micro-benchmarks of the core: checksum, load, one edit, save, the number
// reading rule and catalogue reading at growing sizes. Every case works on
// real files in a throw-away folder, so loads and saves include their system
// calls.

#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "catalogues/Catalogue.h"
#include "editors/NumberReading.h"
#include "editors/Settings.h"
#include "mission/Checksum.h"
#include "mission/MissionFile.h"
#include "ui/Controls.h"
#include "ui/WindowModel.h"

namespace {

using kestrane::ControlId;
using kestrane::MissionBytes;
using kestrane::WindowModel;

// Answers every open dialog with the same path.
class FixedDialog : public kestrane::FileDialog {
public:
    std::string answer;
    std::string ChooseFile(const std::string&, std::string_view, std::string_view) override { return answer; }
    std::string ChooseSaveFile(const std::string&, const std::string&, std::string_view, std::string_view) override {
        return answer;
    }
};

class ScratchDir {
public:
    ScratchDir() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("kestrane-bench-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

void WriteText(const std::filesystem::path& path, std::string_view text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// A catalogue of the given length with lines of a typical width.
std::string CatalogueText(std::string_view stem, std::int64_t lines) {
    std::string text;
    text.reserve(static_cast<std::size_t>(lines) * 28);
    for (std::int64_t i = 0; i < lines; ++i) {
        text += stem;
        text += ' ';
        text += std::to_string(i);
        text += " (Northern sector)\n";
    }
    return text;
}

void WriteCatalogues(const ScratchDir& dir, std::int64_t planes, std::int64_t targets) {
    WriteText(dir / kestrane::kPlanesFile, CatalogueText("Aircraft", planes));
    WriteText(dir / kestrane::kTargetsFile, CatalogueText("Target", targets));
    WriteText(dir / kestrane::kBlocksFile, CatalogueText("Block", 32));
}

// A mission with every kind of field set to something that decodes to a
// real catalogue entry, a selected option or a non-trivial number.
MissionBytes TypicalMission() {
    kestrane::MissionImage m;
    m.MakeNew();
    m.SetU8(9, 128);
    const std::string_view name = "Dawn raid on the docks";
    for (std::size_t i = 0; i < name.size(); ++i) m.SetU8(12 + static_cast<int>(i), static_cast<std::uint8_t>(name[i]));
    for (int i = 36; i < 272; ++i) m.SetU8(i, static_cast<std::uint8_t>(i * 7));
    m.SetU8(272, 2); m.SetU8(276, 1); m.SetU8(280, 3); m.SetU8(284, 1);
    m.SetU32(288, 17); m.SetU8(292, 4); m.SetU8(296, 2); m.SetU32(300, 42);
    m.SetU32(304, kestrane::kRandomCode);
    m.SetU8(308, 1); m.SetU8(312, 2); m.SetU8(316, 1);
    m.SetU32(320, 5); m.SetU32(324, 7); m.SetU8(328, 3); m.SetU8(332, 2);
    m.SetU32(336, 12); m.SetU32(340, 99); m.SetU32(344, 3); m.SetU32(348, 19440606); m.SetU32(352, 250);
    m.SetU32(356, 3); m.SetU32(360, kestrane::kRandomCode); m.SetU8(364, 2);
    m.SetU32(368, 15000); m.SetU32(372, 12000); m.SetU8(376, 1); m.SetU32(380, 5); m.SetU32(384, 7); m.SetU8(388, 3);
    m.SetU32(392, 18000); m.SetU32(396, 9000);
    m.Seal();
    return m.Bytes();
}

void WriteMission(const std::filesystem::path& path, const MissionBytes& m) {
    WriteText(path, std::string_view(reinterpret_cast<const char*>(m.data()), m.size()));
}

// A start folder with typical catalogues, a mission file and a window model
// that has loaded it.
struct LoadedEditor {
    explicit LoadedEditor(std::int64_t planes = 100, std::int64_t targets = 100) {
        WriteCatalogues(dir, planes, targets);
        WriteMission(dir / "typical.msn", TypicalMission());
        dialog.answer = (dir / "typical.msn").string();
        model = std::make_unique<WindowModel>(dialog, dir.path());
        model->Click(ControlId::LoadButton);
        if (!model->EditorsUnlocked())
            throw std::runtime_error("benchmark mission did not load: " + model->Text(ControlId::StatusLine));
    }
    ScratchDir dir;
    FixedDialog dialog;
    std::unique_ptr<WindowModel> model;
};

// ---- Checksum ----

void BM_Crc32_396(benchmark::State& state) {
    const MissionBytes m = TypicalMission();
    const std::span<const std::uint8_t> bytes = std::span(m).subspan(kestrane::kChecksumStart);
    for (auto _ : state) benchmark::DoNotOptimize(kestrane::Crc32(bytes));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_Crc32_396);

// The checksum as load and save take it: over offsets 4..399 of the image.
void BM_MissionChecksum_396(benchmark::State& state) {
    const MissionBytes m = TypicalMission();
    for (auto _ : state) benchmark::DoNotOptimize(kestrane::MissionChecksum(m));
    state.SetBytesProcessed(state.iterations() * 396);
}
BENCHMARK(BM_MissionChecksum_396);

// ---- Load ----

// The file read alone (open, stat, 400-byte read, close), the floor under a
// load.
void BM_ReadMission(benchmark::State& state) {
    ScratchDir dir;
    WriteMission(dir / "typical.msn", TypicalMission());
    const std::filesystem::path path = dir / "typical.msn";
    for (auto _ : state) {
        kestrane::ReadResult r = kestrane::ReadMission(path);
        benchmark::DoNotOptimize(r.bytes.data());
    }
}
BENCHMARK(BM_ReadMission);

// A whole load through the model: dialog, read, checksum, decode every field
// into its control, name and flag.
void BM_Load(benchmark::State& state) {
    LoadedEditor editor;
    for (auto _ : state) {
        editor.model->Click(ControlId::LoadButton);
        benchmark::DoNotOptimize(editor.model->Text(ControlId::ChecksumDecimal).data());
    }
    if (!editor.model->EditorsUnlocked()) state.SkipWithError("load failed");
}
BENCHMARK(BM_Load);

// ---- Edits ----

void BM_EditOptionClick(benchmark::State& state) {
    LoadedEditor editor;
    int i = 0;
    for (auto _ : state) {
        editor.model->Click(ControlId::YearOptions, i);
        i = (i + 1) & 3;
    }
    if (editor.model->Image().U8(kestrane::kYear.field->offset) != ((i + 3) & 3)) state.SkipWithError("not stored");
}
BENCHMARK(BM_EditOptionClick);

void BM_EditNumericEnter(benchmark::State& state) {
    LoadedEditor editor;
    editor.model->Type(ControlId::AttackPrimaryAltitudeBox, "1500");
    for (auto _ : state) editor.model->KeyPress(ControlId::AttackPrimaryAltitudeBox, kestrane::kEnterKey);
    if (editor.model->Image().U32(kestrane::kAttackPrimaryAltitude.field->offset) != 1500) state.SkipWithError("not stored");
}
BENCHMARK(BM_EditNumericEnter);

// ---- Save ----

// Commit every box, stamp the header, checksum and write 400 bytes (with the
// write's fsync) through the model.
void BM_Save(benchmark::State& state) {
    LoadedEditor editor;
    editor.model->Type(ControlId::FileNameBox, "bench-out");
    for (auto _ : state) {
        editor.model->Click(ControlId::SaveButton);
        benchmark::DoNotOptimize(editor.model->Text(ControlId::StatusLine).data());
    }
    const std::string& status = editor.model->Text(ControlId::StatusLine);
    if (status.rfind("Saved ", 0) != 0) state.SkipWithError(status.c_str());
}
BENCHMARK(BM_Save);

// The save's work without the file: commit every box's text into the image,
// then stamp the header and checksum.
void BM_CommitAndSeal(benchmark::State& state) {
    LoadedEditor editor;
    kestrane::MissionImage image = editor.model->Image();
    std::vector<kestrane::TypedNumber> numbers;
    for (const kestrane::BoxControl& box : kestrane::kBoxControls)
        if (box.number != nullptr) numbers.push_back({box.number, editor.model->Text(box.box)});
    const std::string& name = editor.model->Text(ControlId::NameBox);
    for (auto _ : state) {
        benchmark::DoNotOptimize(kestrane::CommitTexts(image, name, numbers).stored);
        image.Seal();
    }
    if (image.Bytes() != TypicalMission()) state.SkipWithError("commit changed the mission");
}
BENCHMARK(BM_CommitAndSeal);

// The file write alone, fsync included: what the save pays the system.
void BM_WriteMissionInPlace(benchmark::State& state) {
    ScratchDir dir;
    const MissionBytes m = TypicalMission();
    const std::filesystem::path path = dir / "write.msn";
    for (auto _ : state) benchmark::DoNotOptimize(kestrane::WriteMissionInPlace(path, m).ok);
}
BENCHMARK(BM_WriteMissionInPlace);

// The bare system calls of a 400-byte write in place, to tell the write from
// the flush that follows it: 0 no flush, 1 fdatasync, 2 fsync.
void BM_Pwrite400(benchmark::State& state) {
    ScratchDir dir;
    const MissionBytes m = TypicalMission();
    const std::string path = (dir / "raw.msn").string();
    const int flush = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        benchmark::DoNotOptimize(::pwrite(fd, m.data(), m.size(), 0));
        if (flush == 1) ::fdatasync(fd);
        if (flush == 2) ::fsync(fd);
        ::close(fd);
    }
    state.SetLabel(flush == 0 ? "no flush" : flush == 1 ? "fdatasync" : "fsync");
}
BENCHMARK(BM_Pwrite400)->DenseRange(0, 2);

// ---- Number reading ----

constexpr std::array<std::string_view, 8> kNumberTexts{
    "1500", "15000", "2 500", "1.5E3", "12abc", "1,500", "&HFFFF", "",
};

void BM_ReadNumber(benchmark::State& state) {
    const std::string text(kNumberTexts[static_cast<std::size_t>(state.range(0))]);
    for (auto _ : state) benchmark::DoNotOptimize(kestrane::ReadNumber(text));
    state.SetLabel("\"" + text + "\"");
}
BENCHMARK(BM_ReadNumber)->DenseRange(0, static_cast<int>(kNumberTexts.size()) - 1);

// ---- Catalogues ----

void BM_ReadCatalogue(benchmark::State& state) {
    ScratchDir dir;
    const std::filesystem::path path = dir / kestrane::kTargetsFile;
    WriteText(path, CatalogueText("Target", state.range(0)));
    for (auto _ : state) {
        kestrane::CatalogueFile file = kestrane::ReadCatalogue(path);
        benchmark::DoNotOptimize(file.starts.data());
    }
    state.SetComplexityN(state.range(0));
}
// An empty catalogue is its own family: a complexity fit needs N > 0.
BENCHMARK(BM_ReadCatalogue)->Name("BM_ReadCatalogue_Empty")->Arg(0);
BENCHMARK(BM_ReadCatalogue)->Arg(100)->Arg(10000)->Arg(65536)->Complexity(benchmark::oN);

// Window model start-up with planes.txt and targets.txt both N lines long
// and a 32-line blocks.txt.
void BM_WindowModelConstruct(benchmark::State& state) {
    ScratchDir dir;
    WriteCatalogues(dir, state.range(0), state.range(0));
    FixedDialog dialog;
    for (auto _ : state) {
        WindowModel model(dialog, dir.path());
        benchmark::DoNotOptimize(model.Items(ControlId::PlaceList).Count());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_WindowModelConstruct)->Name("BM_WindowModelConstruct_Empty")->Arg(0);
BENCHMARK(BM_WindowModelConstruct)->Arg(100)->Arg(10000)->Arg(65536)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
