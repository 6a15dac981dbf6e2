// Any bytes, any length, as a mission file: a file of 400 bytes or more
// loads, and saving it back keeps its bytes 8 to 399; a shorter one is
// refused and leaves the image as it was.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <unistd.h>

#include "ui/Form1.h"

namespace {

struct FixedDialog : kestrane::CommonDialog {
    std::string answer;
    void ShowOpen() override { FileName = answer; }
};

struct Setup {
    std::filesystem::path dir;
    FixedDialog dialog;
    std::unique_ptr<kestrane::Form1> form;
    Setup() {
        dir = std::filesystem::temp_directory_path() / ("kestrane-fuzz-load-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "planes.txt") << "A\nB\nC\n";
        std::ofstream(dir / "targets.txt") << "X\nY\n";
        dialog.answer = (dir / "in.msn").string();
        form = std::make_unique<kestrane::Form1>(dialog, dir);
        form->Text2.Text = "out";
    }
    ~Setup() { std::filesystem::remove_all(dir); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Setup s;
    kestrane::Form1& form = *s.form;
    {
        std::ofstream out(s.dir / "in.msn", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::vector<std::string> before;
    for (int r = 1; r <= 400; ++r) before.push_back(form.G.TextMatrix(r, 2));

    form.Command2_Click();
    if (size < 400) {
        for (int r = 1; r <= 400; ++r)
            if (form.G.TextMatrix(r, 2) != before[static_cast<std::size_t>(r - 1)]) std::abort();
        return 0;
    }
    if (!form.MissionOpen) std::abort();
    form.Command4_Click();
    std::ifstream in(s.dir / "out.msn", std::ios::binary);
    std::string saved{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (saved.size() != 400) std::abort();
    for (std::size_t i = 8; i < 400; ++i)
        if (static_cast<std::uint8_t>(saved[i]) != data[i]) std::abort();
    return 0;
}
