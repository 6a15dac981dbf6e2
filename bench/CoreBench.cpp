// Micro-benchmarks of the core: checksum, load, one edit, save, the number
// reading rule and catalogue reading at growing sizes. Every case works on
// real files in a throw-away folder, so loads and saves include their system
// calls.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "catalogues/Catalogue.h"
#include "editors/NumberReading.h"
#include "mission/Checksum.h"
#include "mission/MissionFile.h"
#include "ui/Controls.h"
#include "ui/Form1.h"

namespace {

using kestrane::Form1;
using kestrane::MissionBytes;

// Answers every open dialog with the same path.
class FixedDialog : public kestrane::CommonDialog {
public:
    std::string answer;
    void ShowOpen() override { FileName = answer; }
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
    MissionBytes m{};
    m[4] = 101; m[5] = 2; m[6] = 0; m[7] = 170;
    m[9] = 128;
    const std::string_view name = "Dawn raid on the docks";
    for (std::size_t i = 0; i < name.size(); ++i) m[12 + i] = static_cast<std::uint8_t>(name[i]);
    for (std::size_t i = 36; i < 272; ++i) m[i] = static_cast<std::uint8_t>(i * 7);
    auto u32 = [&m](int offset, std::uint32_t v) {
        for (int k = 0; k < 4; ++k) m[static_cast<std::size_t>(offset + k)] = static_cast<std::uint8_t>(v >> (8 * k));
    };
    m[272] = 2; m[276] = 1; m[280] = 3; m[284] = 1;
    u32(288, 17); m[292] = 4; m[296] = 2; u32(300, 42);
    u32(304, 255u | 255u << 8 | 255u << 16 | 255u << 24);
    m[308] = 1; m[312] = 2; m[316] = 1;
    u32(320, 5); u32(324, 7); m[328] = 3; m[332] = 2;
    u32(336, 12); u32(340, 99); u32(344, 3); u32(348, 19440606); u32(352, 250);
    u32(356, 3); u32(360, 255u | 255u << 8 | 255u << 16 | 255u << 24); m[364] = 2;
    u32(368, 15000); u32(372, 12000); m[376] = 1; u32(380, 5); u32(384, 7); m[388] = 3;
    u32(392, 18000); u32(396, 9000);
    const std::uint32_t crc = kestrane::Crc32(std::string_view(reinterpret_cast<const char*>(m.data()) + 4, 396));
    u32(0, crc);
    return m;
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
        form = std::make_unique<Form1>(dialog, dir.path());
        form->Command2_Click();
        if (!form->MissionOpen) throw std::runtime_error("benchmark mission did not load: " + form->StatusLine.Caption);
    }
    ScratchDir dir;
    FixedDialog dialog;
    std::unique_ptr<Form1> form;
};

std::string ChecksumBytes() {
    const MissionBytes m = TypicalMission();
    return std::string(reinterpret_cast<const char*>(m.data()) + 4, 396);
}

// ---- Checksum ----

void BM_Crc32_396(benchmark::State& state) {
    const std::string bytes = ChecksumBytes();
    for (auto _ : state) benchmark::DoNotOptimize(kestrane::Crc32(bytes));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_Crc32_396);

// The window's path: table check, running value over ChecksumText and the
// two caption texts.
void BM_ShowChecksum_396(benchmark::State& state) {
    kestrane::Module1 module;
    module.ChecksumText = ChecksumBytes();
    kestrane::Label decimal, hex;
    for (auto _ : state) benchmark::DoNotOptimize(module.ShowChecksum(decimal, hex));
    state.SetBytesProcessed(state.iterations() * 396);
}
BENCHMARK(BM_ShowChecksum_396);

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

// A whole load through the model: dialog, read, fill the 400 rows, checksum,
// decode every field into its control, name and flag.
void BM_Load(benchmark::State& state) {
    LoadedEditor editor;
    for (auto _ : state) {
        editor.form->Command2_Click();
        benchmark::DoNotOptimize(editor.form->Label1.Caption.data());
    }
    if (!editor.form->MissionOpen) state.SkipWithError("load failed");
}
BENCHMARK(BM_Load);

// The checksum of rows 5..400 as the save recomputes it from the image text.
void BM_RefreshChecksum(benchmark::State& state) {
    LoadedEditor editor;
    for (auto _ : state) {
        editor.form->RefreshChecksum();
        benchmark::DoNotOptimize(editor.form->Label1.Caption.data());
    }
}
BENCHMARK(BM_RefreshChecksum);

// ---- Edits ----

void BM_EditOptionClick(benchmark::State& state) {
    LoadedEditor editor;
    int i = 0;
    for (auto _ : state) {
        editor.form->Yrbut_Click(i);
        i = (i + 1) & 3;
    }
}
BENCHMARK(BM_EditOptionClick);

void BM_EditNumericEnter(benchmark::State& state) {
    LoadedEditor editor;
    editor.form->AltText[0].Text = "1500";
    for (auto _ : state) {
        int key = kestrane::kEnterKey;
        editor.form->AltText_KeyPress(0, key);
    }
}
BENCHMARK(BM_EditNumericEnter);

// ---- Save ----

// Commit every box, stamp the header, checksum and write 400 bytes (with the
// write's fsync) through the model.
void BM_Save(benchmark::State& state) {
    LoadedEditor editor;
    editor.form->Text2.Text = "bench-out";
    for (auto _ : state) {
        editor.form->Command4_Click();
        benchmark::DoNotOptimize(editor.form->StatusLine.Caption.data());
    }
    if (editor.form->StatusLine.Caption.rfind("Saved ", 0) != 0) state.SkipWithError(editor.form->StatusLine.Caption.c_str());
}
BENCHMARK(BM_Save);

// The save's work without the file: Update and the checksum.
void BM_UpdateAndChecksum(benchmark::State& state) {
    LoadedEditor editor;
    for (auto _ : state) {
        benchmark::DoNotOptimize(editor.form->Update());
        editor.form->RefreshChecksum();
    }
}
BENCHMARK(BM_UpdateAndChecksum);

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
void BM_Form1Construct(benchmark::State& state) {
    ScratchDir dir;
    WriteCatalogues(dir, state.range(0), state.range(0));
    FixedDialog dialog;
    for (auto _ : state) {
        Form1 form(dialog, dir.path());
        benchmark::DoNotOptimize(form.List2.ListCount());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Form1Construct)->Name("BM_Form1Construct_Empty")->Arg(0);
BENCHMARK(BM_Form1Construct)->Arg(100)->Arg(10000)->Arg(65536)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
