// kestrane-msn against the window model and the files it leaves behind.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "TestSupport.h"
#include "cli/Cli.h"
#include "editors/FieldValues.h"
#include "mission/Checksum.h"
#include "mission/Hex.h"

namespace kestrane {
namespace {

using test::Editor;
using test::ReadFile;
using test::Stamped;
namespace fs = std::filesystem;

struct CliRun {
    int status;
    std::string out, err;
};

CliRun Cli(std::vector<std::string> args, int inFd = 0) {
    std::ostringstream out, err;
    const int status = RunCli(args, out, err, inFd);
    return {status, out.str(), err.str()};
}

// The program itself, through the shell, for what its main does with the
// standard streams.
int Shell(const std::string& arguments) {
    const int status = std::system((std::string("'" KESTRANE_MSN "' ") + arguments + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Text(const MissionBytes& m) { return std::string(m.begin(), m.end()); }

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// What show prints, set takes back: each line, and all of them at once,
// leave the file's bytes as they were; standard input reads the same. Set
// reads numbers as the window's boxes do, and a list's Random entry is
// stored as its position (the eleventh of ten planes).
TEST(Cli, EveryLineShowPrintsSetAgainLeavesTheFileAsItWas) {
    Editor ed(10, 20);
    const std::string dir = ed.dir.path().string(), file = (ed.dir / "m.msn").string(), out = (ed.dir / "o.msn").string();
    test::WriteFile(file, test::Mission());
    ASSERT_EQ(Cli({"set", file, "YearSetting=1944", "EnemySecondaryType=None", "TargetNumber=Place 7", "InstantActionFlag=on",
                   "MissionName=\"Raid\\n#2\"", "AttackPlane2Type=Plane 3", "AttackPrimaryAltitude=1.5e4",
                   "AttackPlane1Count=&H10", "AttackPlane1Type=Random", "--catalogues", dir}).status, kExitOk);
    const CliRun show = Cli({"show", file, "--catalogues", dir});
    const std::vector<std::string> lines = LinesOf(show.out);
    ASSERT_EQ(lines.size(), 28u) << show.out;
    for (const char* line : {"YearSetting=2  # 1944", "EnemySecondaryType=None", "TargetNumber=7  # Place 7",
                             "InstantActionFlag=on", "MissionName=\"Raid\\n#2\"", "AttackPlane2Type=3  # Plane 3",
                             "AttackPrimaryAltitude=15000", "AttackPlane1Count=16", "AttackPlane1Type=10  # Random"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    std::vector<std::string> all{"set", file, "-o", out, "--catalogues", dir};
    all.insert(all.end(), lines.begin(), lines.end());
    EXPECT_EQ(Cli(all).status, kExitOk);
    EXPECT_EQ(ReadFile(out), ReadFile(file));

    const int in = ::open(file.c_str(), O_RDONLY);
    EXPECT_EQ(Cli({"show", "-", "--catalogues", dir}, in).out, show.out);
    ::close(in);
    const CliRun two = Cli({"show", file, file, "--catalogues", dir});
    EXPECT_EQ(LinesOf(two.out).at(28), file + ": " + lines[0]);  // several files: each line names its file
}

TEST(Cli, SetWritesWhereItIsToldOrRefusesAndWritesNothing) {
    test::TempDir dir;
    const std::string file = (dir / "m.msn").string(), out = (dir / "out.msn").string();
    test::WriteFile(file, test::Mission());
    const std::string before = ReadFile(file);
    const struct { std::vector<std::string> args; std::string says; } failures[] = {
        {{"set", file, "YearSetting=1", "--catalogues", dir.path().string()}, "--catalogues " + dir.path().string() +
                                                                              ": planes.txt was not found in "},
        {{"set", file, "NoSuchField=1"}, "no field is named NoSuchField"},
        {{"set", file, "Yearsetting=1"}, "did you mean YearSetting?"},
        {{"set", file, "YearSetting=1", "-o", ""}, "-o: the output file name is empty"},
        {{"set", file, file, "YearSetting=1", "-o", out}, "-o takes one input file"},
        {{"set", "-", "YearSetting=1"}, "standard input (-) cannot be written in place"}};
    for (const auto& f : failures) {
        const CliRun run = Cli(f.args);
        EXPECT_EQ(run.status, kExitFailed) << f.says;
        EXPECT_NE(run.err.find("kestrane-msn: "), std::string::npos);
        EXPECT_NE(run.err.find(f.says), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_FALSE(fs::exists(out));

    MissionImage expected;
    expected.Assign(test::Mission({{272, 3}}));
    expected.Seal();
    EXPECT_EQ(Cli({"set", file, "YearSetting=3", "-o", out}).status, kExitOk);
    EXPECT_EQ(ReadFile(out), Text(expected.Bytes()));
    const CliRun piped = Cli({"set", file, "YearSetting=3", "-o", "-"});
    EXPECT_EQ(piped.out, Text(expected.Bytes()));
    EXPECT_EQ(piped.err, "kestrane-msn: " + file + ": Year: 1945.\nkestrane-msn: Saved to standard output.\n");
    EXPECT_EQ(ReadFile(file), before);

    // Without --catalogues, names are read from the current folder; their
    // absence there is a note, and positions still go.
    const fs::path cwd = fs::current_path();
    fs::current_path(dir.path());
    const CliRun noted = Cli({"set", file, "AttackPlane2Type=2"});
    fs::current_path(cwd);
    EXPECT_NE(noted.err.find("kestrane-msn: note: planes.txt was not found in ."), std::string::npos) << noted.err;
    EXPECT_EQ(ReadFile(file)[304], 2);
}

// Several files: each written in place, a failure (c.msn is missing) leaves
// the others done, the status is the worst; a dry run writes nothing, a
// backup keeps FILE~.
TEST(Cli, BatchesDryRunsAndBackups) {
    test::TempDir dir;
    const std::string a = (dir / "a.msn").string(), b = (dir / "b.msn").string(), c = (dir / "c.msn").string();
    test::WriteFile(a, test::Mission());
    test::WriteFile(b, test::Mission({{100, 7}}));
    const CliRun dry = Cli({"set", a, "--dry-run", "YearSetting=3", b});
    EXPECT_EQ(dry.status, kExitOk);
    EXPECT_NE(dry.out.find(a + ": YearSetting: 0 -> 3  # 1940 -> 1945\n"), std::string::npos) << dry.out;
    EXPECT_EQ(ReadFile(a), Text(test::Mission()));
    EXPECT_EQ(Cli({"set", a, c, b, "YearSetting=3", "--backup"}).status, kExitFailed);
    EXPECT_EQ(ReadFile(a)[272], 3);
    EXPECT_EQ(ReadFile(b)[272], 3);
    EXPECT_EQ(ReadFile(b + "~"), Text(test::Mission({{100, 7}})));

    // A stamp that cannot keep its backup (a folder holds the name) writes
    // nothing; a file whose checksum is right is left alone, and no backup made.
    test::WriteFile(a, test::Mission({{272, 3}}));
    test::WriteFile(b, test::Mission());
    test::WriteFile(c, Stamped(test::Mission()));
    const auto untouched = fs::last_write_time(c);
    fs::remove(b + "~");
    fs::create_directories(b + "~/full");
    const CliRun stamp = Cli({"stamp", "--backup", a, b, c});
    EXPECT_EQ(stamp.status, kExitFailed);
    EXPECT_NE(stamp.err.find("could not keep a backup as " + b + "~"), std::string::npos) << stamp.err;
    EXPECT_EQ(ReadFile(b), Text(test::Mission()));
    EXPECT_EQ(stamp.out, a + ": checksum " + Hex(MissionChecksum(test::Mission({{272, 3}})), 8) + " written\n" + c +
                             ": ok, not written\n");
    EXPECT_EQ(fs::last_write_time(c), untouched);
    EXPECT_FALSE(fs::exists(c + "~"));
}

// A dry run says when the save would fail, with the status of a failure.
TEST(Cli, ADryRunSaysWhenTheSaveWouldFail) {
    test::TempDir dir;
    const std::string file = (dir / "m.msn").string(), inside = file + "/out.msn";
    test::WriteFile(file, test::Mission());
    const CliRun intoAFile = Cli({"set", file, "YearSetting=1", "--dry-run", "-o", inside});
    EXPECT_EQ(intoAFile.status, kExitFailed);
    EXPECT_EQ(intoAFile.err, "kestrane-msn: could not save " + inside + ": not a directory (dry run: nothing was written)\n");
    EXPECT_EQ(intoAFile.out, "");
    if (::geteuid() == 0) GTEST_SKIP() << "permission bits refuse root nothing";
    fs::permissions(file, fs::perms::owner_read);
    const CliRun readOnly = Cli({"stamp", file, "--dry-run"});
    EXPECT_EQ(readOnly.status, kExitFailed);
    EXPECT_NE(readOnly.err.find("could not save " + file + ": permission denied (dry run"), std::string::npos) << readOnly.err;
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(Cli({"stamp", file, "--dry-run"}).status, kExitOk);
    EXPECT_EQ(Cli({"stamp", file, "--dry-run", "--backup"}).status, kExitFailed) << "FILE~ cannot be made";
}

// Two runs on one file at once: each waits for the other's lock, so both
// changes land.
TEST(Cli, ConcurrentSetsOfOneFileBothLand) {
    test::TempDir dir;
    const std::string file = (dir / "m.msn").string(), said = (dir / "said.txt").string();
    const std::string set = "'" KESTRANE_MSN "' set '" + file + "' ";
    const std::string both = "(" + set + "YearSetting=2 & p=$!; " + set + "WeatherSetting=1; s=$?; wait $p || s=$?; exit $s) >'" +
                             said + "' 2>&1";
    for (int round = 0; round < 25; ++round) {
        test::WriteFile(file, test::Mission());
        ASSERT_EQ(std::system(both.c_str()), 0) << ReadFile(said);
        const std::string now = ReadFile(file);
        ASSERT_EQ(now[272], 2) << "round " << round;
        ASSERT_EQ(now[280], 1) << "round " << round;
    }
}

// A backup copies data stretches only: a 256 MiB sparse file's FILE~ takes
// no more disk than the file, and holds its bytes.
TEST(Cli, ABackupOfASparseFileIsAsSparseAndHoldsItsBytes) {
    test::TempDir dir;
    const std::string file = (dir / "big.msn").string(), backup = file + "~";
    test::WriteFile(file, test::Mission());
    test::WriteFile(dir / "old.msn", test::Mission());
    fs::resize_file(file, 256 << 20);
    std::fstream(file, std::ios::in | std::ios::out | std::ios::binary).seekp(128 << 20).write("middle", 6);
    ASSERT_EQ(Cli({"set", "--backup", file, "YearSetting=1"}).status, kExitOk);
    struct stat source {}, kept {};
    ASSERT_EQ(::stat(file.c_str(), &source), 0);
    ASSERT_EQ(::stat(backup.c_str(), &kept), 0);
    EXPECT_EQ(std::system(("cmp -s -i 400 '" + file + "' '" + backup + "'").c_str()), 0) << "the bytes after the mission";
    EXPECT_EQ(std::system(("head -c 400 '" + backup + "' | cmp -s - '" + (dir / "old.msn").string() + "'").c_str()), 0);
    if (source.st_blocks * 512 >= 64 << 20) GTEST_SKIP() << "this file system keeps no holes";
    EXPECT_LE(kept.st_blocks, source.st_blocks + 16) << "the holes were written out";
}

// A batch with backups interrupted by SIGINT at any moment leaves no
// temporary file beside its missions.
TEST(Cli, AnInterruptedBackupBatchLeavesNoTemporaryFile) {
    test::TempDir dir;
    std::vector<std::string> args{KESTRANE_MSN, "set", "--backup", "YearSetting=1"};
    for (int i = 0; i < 4; ++i) {
        args.push_back((dir / ("m" + std::to_string(i) + ".msn")).string());
        test::WriteFile(args.back(), Text(test::Mission()) + std::string(16 << 20, 'x'));
    }
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    // Interrupted (or not, for a negative delay) that long after it starts:
    // whether the signal ended it.
    const auto run = [&](std::chrono::microseconds delay) {
        const pid_t child = ::fork();
        if (child == 0) {
            const int said = ::open((dir / "said.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(said, 1), ::dup2(said, 2);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        std::this_thread::sleep_for(delay);
        if (delay.count() >= 0) ::kill(child, SIGINT);
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFSIGNALED(status);
    };
    const auto start = std::chrono::steady_clock::now();
    ASSERT_FALSE(run(std::chrono::microseconds(-1)));
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    int interrupted = 0;
    for (int step = 1; step <= 12; ++step) {  // spread over the whole run
        interrupted += run(whole * step / 12) ? 1 : 0;
        for (const auto& entry : fs::directory_iterator(dir.path()))
            ASSERT_EQ(entry.path().filename().string().find("~."), std::string::npos) << "at step " << step << " of 12";
    }
    EXPECT_GT(interrupted, 0) << "no run was interrupted";
}

TEST(Cli, CheckSaysTheWorstOfAllFiles) {
    test::TempDir dir;
    const std::string good = (dir / "good.msn").string(), bad = (dir / "bad.msn").string(), cut = (dir / "cut.msn").string();
    test::WriteFile(good, Stamped(test::Mission({{300, 4}})));
    test::WriteFile(bad, test::Mission({{300, 4}}));
    test::WriteFile(cut, std::string(399, '\0'));
    EXPECT_EQ(Cli({"check", good}).status, kExitOk);
    EXPECT_EQ(Cli({"check", bad, good}).status, kExitDiffers);
    const CliRun run = Cli({"check", cut, good, bad});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.err, "kestrane-msn: " + cut + ": the file is only 399 bytes long; a mission file has 400\n");
}

TEST(Cli, DiffComparesAll400Bytes) {
    test::TempDir dir;
    const std::string a = (dir / "a.msn").string(), b = (dir / "b.msn").string();
    test::WriteFile(a, test::Mission());
    const struct { MissionBytes b; int status; std::string out; } cases[] = {
        {test::Mission(), kExitOk, ""},
        {test::Mission({{100, 1}}), kExitDiffers, "byte 100 (outside any field): 00 -> 01\n"},
        {test::Mission({{273, 1}, {274, 2}}), kExitDiffers, "bytes 273..274 (outside any field): 0000 -> 0102\n"},
        {test::Mission({{272, 3}, {364, 2}}), kExitDiffers, "YearSetting: 0 -> 3  # 1940 -> 1945\nPilotSkillCopy: 0 -> 2  # Random -> Seasoned\n"}};
    for (const auto& c : cases) {
        test::WriteFile(b, c.b);
        const CliRun run = Cli({"diff", a, b});
        EXPECT_EQ(run.status, c.status) << c.out;
        EXPECT_EQ(run.out, c.out);
    }
    const auto doc = nlohmann::json::parse(Cli({"diff", "--json", a, b}).out);
    EXPECT_EQ(doc["differences"][1]["offset"], 364);
    EXPECT_EQ(doc["differences"][1]["b_bytes"], "02");

    // With the catalogues, places are named as the Missions window's Compare names them.
    Editor ed(10, 20);
    test::WriteFile(b, test::Mission({{288, 7}}));
    const CliRun named = Cli({"diff", "--catalogues", ed.dir.path().string(), a, b});
    EXPECT_EQ(named.out, "TargetNumber: 0 -> 7  # Place 0 -> Place 7\n") << named.err;
    const auto names = nlohmann::json::parse(Cli({"diff", "--json", "--catalogues", ed.dir.path().string(), a, b}).out);
    EXPECT_EQ(names["differences"][0]["b_name"], "Place 7");
}

// set --from: one change a line, comments and blank lines skipped; a bad
// line refuses the whole run, by its number, and nothing is written.
TEST(Cli, SetTakesChangesFromAFileOrRefusesItWhole) {
    test::TempDir dir;
    const std::string file = (dir / "m.msn").string(), list = (dir / "changes.txt").string();
    test::WriteFile(file, test::Mission());
    const struct { std::string text; int status; std::string err; } bad[] = {
        {"YearSetting=3\n# a comment\nnot a change\n", kExitFailed, "--from " + list + ", line 3: \"not a change\" is no FIELD=VALUE change"},
        {"\nYearSeting=3\n", kExitFailed, "--from " + list + ", line 2: no field is named YearSeting"},
        {"WeatherSetting=1\nYearSetting=9\n", kExitDiffers, "--from " + list + ", line 2: Year: \"9\" is no choice"}};
    for (const auto& c : bad) {
        test::WriteFile(list, c.text);
        const CliRun run = Cli({"set", "--from", list, file});
        EXPECT_EQ(run.status, c.status) << c.text;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        EXPECT_EQ(ReadFile(file), Text(test::Mission()));
    }
    test::WriteFile(list, "# settings\r\n\r\n  YearSetting=3  # 1945\r\nMissionName=\"Raid #2\"\nWeatherSetting=1\n");
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const std::string text = ReadFile(list);
    ASSERT_EQ(::write(pipeFds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(pipeFds[1]);
    const CliRun run = Cli({"set", "--from", "-", file, "WeatherSetting=2"}, pipeFds[0]);
    ::close(pipeFds[0]);
    EXPECT_EQ(run.status, kExitOk) << run.err;
    const std::string now = ReadFile(file);
    EXPECT_EQ(std::vector<int>({now[272], now[280], now[12], now[17]}), std::vector<int>({3, 2, 'R', '#'}));
}

// list: the Missions window's columns for every .msn file of a folder,
// tab-separated under their titles, or as JSON; a file that is no mission
// is a row saying why.
TEST(Cli, ListPrintsTheMissionsWindowsRows) {
    Editor ed(10, 20);
    test::WriteFile(ed.dir / "a.msn", Stamped(test::Mission({{12, 'R'}, {272, 3}, {288, 7}})));
    test::WriteFile(ed.dir / "b\tc.MSN", std::string(12, 'x'));
    test::WriteFile(ed.dir / "notes.txt", "x");
    const CliRun run = Cli({"list", ed.dir.path().string()});
    EXPECT_EQ(run.status, kExitFailed) << "a file is not a mission";
    const std::vector<std::string> lines = LinesOf(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    EXPECT_EQ(lines[0], "File\tMission name\tYear\tTime of day\tWeather\tMission type\tAttack plane 1\tTarget\tHome base\t"
                        "Checksum\tSize\tModified\tNote");
    EXPECT_TRUE(lines[1].starts_with("a.msn\tR\t1945\tRandom\tRandom\tEscort Flight\tPlane 0\tPlace 7\tPlace 0\tright\t400\t"))
        << lines[1];
    EXPECT_TRUE(lines[2].starts_with("b?c.MSN\t")) << lines[2];
    EXPECT_NE(lines[2].find("\tnot a mission\t12\t"), std::string::npos) << lines[2];
    EXPECT_TRUE(lines[2].ends_with("\tThe file is only 12 bytes long; a mission file has 400.")) << lines[2];
    const auto doc = nlohmann::json::parse(Cli({"list", "--json", ed.dir.path().string()}).out);
    EXPECT_EQ(doc["missions"][0]["target"], "Place 7");
    EXPECT_EQ(doc["missions"][1]["file_percent"], "b%09c.MSN");
    EXPECT_EQ(doc["missions"][1]["mission"], false);
    EXPECT_EQ(Cli({"list", (ed.dir / "a.msn").string()}).status, kExitFailed);
}

// Every document carries its format; a name that is not UTF-8 comes back
// byte for byte from file_percent. New writes the blank mission the
// window's New and Save write.
TEST(Cli, JsonForEveryCommandAndTheBlankMissionOfNew) {
    test::TempDir dir;
    const std::string file = (dir / "caf\xE9 100%.msn").string(), other = (dir / "o.msn").string();
    test::WriteFile(file, test::Mission());
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"show", file}, {"check", file}, {"diff", file, file}, {"fields"},
          {"set", file, "YearSetting=1", "--dry-run"}, {"stamp", file, "--dry-run"}, {"new", "-o", other}}) {
        std::vector<std::string> json = args;
        json.push_back("--json");
        const CliRun run = Cli(json);
        EXPECT_LE(run.status, kExitDiffers) << args[0] << run.err;
        EXPECT_EQ(nlohmann::json::parse(run.out)["format"], 1) << args[0];
    }
    std::string blank = {122, static_cast<char>(203), 123, 63, 101, 2, 0, static_cast<char>(170)};
    blank.resize(400, '\0');
    EXPECT_EQ(ReadFile(other), blank);
    const auto doc = nlohmann::json::parse(Cli({"check", "--json", file}).out)["files"][0];
    EXPECT_EQ(doc["file_percent"], (dir / "caf%E9%20100%25.msn").string());
    // A mission name is a plain string, not a JSON string within one.
    test::WriteFile(other, test::Mission({{12, 'R'}}));
    EXPECT_EQ(nlohmann::json::parse(Cli({"show", "--json", other}).out)["files"][0]["values"]["MissionName"], "R");
    EXPECT_EQ(nlohmann::json::parse(Cli({"diff", "--json", file, other}).out)["differences"][0]["b"], "R");
    const auto fields = nlohmann::json::parse(Cli({"fields", "--json"}).out);
    EXPECT_EQ(fields["fields"][4]["choices"], nlohmann::json({"1940", "1943", "1944", "1945"}));
}

TEST(Cli, CommandLineMistakesAreNamedOnStandardError) {
    const struct { std::vector<std::string> args; std::string err; } cases[] = {
        {{"shwo", "x.msn"}, "kestrane-msn: \"shwo\" is no command; the commands are show, check, stamp, set, diff, list, new or fields\n"},
        {{}, "kestrane-msn: a command is required: show, check, stamp, set, diff, list, new or fields\n"},
        {{"check", "--bogus", "x.msn"}, "kestrane-msn: The following argument was not expected: --bogus (see kestrane-msn --help)\n"},
        {{"check"}, "kestrane-msn: FILE is required (see kestrane-msn --help)\n"},
        {{"check", "-", "-"}, "kestrane-msn: standard input (-) can be read only once\n"}};
    for (const auto& c : cases) {
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.status, kExitFailed);
        EXPECT_EQ(run.err, c.err);
    }
}

// What main does with the standard streams: a failed write to standard
// output is an error, and a closed one is no file's stand-in.
TEST(Cli, StandardOutputFailuresAreErrors) {
    test::TempDir dir;
    const std::string file = (dir / "m.msn").string();
    test::WriteFile(file, test::Mission());
    EXPECT_EQ(Shell("check '" + file + "' >/dev/full"), kExitFailed);
    EXPECT_NE(std::system("'" KESTRANE_MSN "' new -o - 2>&1 >/dev/full | grep -q Saved"), 0) << "said before it failed";
    EXPECT_EQ(Shell("check '" + file + "' >/dev/null"), kExitDiffers);
    EXPECT_EQ(Shell("stamp '" + file + "' >&-"), kExitFailed);
    EXPECT_EQ(ReadFile(file), Text(Stamped(test::Mission())));
}

// The completion files offer every settable field, no other, and every
// command and option the program takes.
TEST(Cli, CompletionsOfferWhatTheProgramTakes) {
    std::vector<std::string> words;
    const CliRun help = Cli({"--help"});
    const std::regex command(R"(\n  ([a-z]+) )"), option(R"(--[a-z-]+)");
    for (std::sregex_iterator c(help.out.begin(), help.out.end(), command), end; c != end; ++c) {
        words.push_back((*c)[1]);
        const std::string text = Cli({words.back(), "--help"}).out;
        for (std::sregex_iterator o(text.begin(), text.end(), option); o != end; ++o) words.push_back(o->str());
    }
    ASSERT_GT(words.size(), 20u);
    for (const char* name : {"kestrane-msn.bash", "_kestrane-msn", "kestrane-msn.fish"}) {
        const std::string text = ReadFile(fs::path(KESTRANE_SOURCE_DIR) / "data/completions" / name);
        for (const std::string& word : words) {
            const bool fish = std::string_view(name).ends_with(".fish");  // fish writes --json as -l json
            const std::string written = fish && word.starts_with("--") ? "-l " + word.substr(2) : word;
            EXPECT_NE(text.find(written), std::string::npos) << name << ": " << written;
        }
        for (const Field& field : kFields)
            EXPECT_EQ(std::regex_search(text, std::regex("\\b" + std::string(field.name) + "\\b")), Settable(field))
                << name << ": " << field.name;
    }
}

}  // namespace
}  // namespace kestrane
