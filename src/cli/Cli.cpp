#include "cli/Cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "cli/Commands.h"

namespace kestrane {

namespace {

using cli::Options;

// What a command takes besides its positional arguments.
enum Takes : unsigned { kJson = 1, kCatalogues = 2, kWriting = 4, kOutputOnly = 8, kChangeList = 16, kOptional = 32 };

struct CommandRow {
    const char* name;
    const char* about;
    int (*run)(const cli::Io&, const Options&);
    const char* positional;  // its name in the help, or null for none
    const char* positionalAbout;
    int count;  // how many positional arguments: -1 any number (one at least, unless kOptional)
    unsigned takes;
};

constexpr CommandRow kCommandTable[] = {
    {"show", "Print each settable field as FIELD=VALUE, the form set takes back.", cli::Show, "FILE",
     "Mission files (- for standard input)", -1, kJson | kCatalogues},
    {"check", "Say whether each file's stored checksum is right.", cli::Check, "FILE",
     "Mission files (- for standard input)", -1, kJson},
    {"stamp", "Write the right checksum into each file where it is wrong.", cli::Stamp, "FILE",
     "Mission files, written in place (- with -o)", -1, kJson | kWriting},
    {"set", "Change fields as the editor would, then save each file as the editor does.", cli::Set, "FILE_OR_CHANGE",
     "Mission files and FIELD=VALUE changes, e.g. YearSetting=1945", -1, kJson | kCatalogues | kWriting | kChangeList},
    {"diff", "Print the fields and bytes that differ between two files.", cli::Diff, "A B",
     "The two mission files (- for standard input)", 2, kJson | kCatalogues},
    {"list", "Print a line for each .msn file of a folder, with the Missions window's columns.", cli::List, "FOLDER",
     "The folder (default: the current one)", 1, kJson | kCatalogues | kOptional},
    {"new", "Write a new mission, as the editor's Make a new mission and Save! do.", cli::New, nullptr, nullptr, 0,
     kJson | kOutputOnly},
    {"fields", "List every field: name, offset, width and the values set takes.", cli::ListFields, nullptr, nullptr, 0,
     kJson},
};

// "show, check, ... or fields"
std::string CommandNames() {
    std::string names;
    for (const CommandRow& row : kCommandTable)
        names += (names.empty() ? "" : &row == std::end(kCommandTable) - 1 ? " or " : ", ") + std::string(row.name);
    return names;
}

CLI::Option* AddOutput(CLI::App* command, Options& o, const char* about) {
    return command->add_option_function<std::string>(
        "-o,--output", [&o](const std::string& file) { o.output = file, o.outputGiven = true; }, about);
}

// One subcommand from its row, whose callback runs the command and leaves
// its exit status.
void AddCommand(CLI::App& app, const CommandRow& row, Options& o, const cli::Io& io, int& status) {
    CLI::App* command = app.add_subcommand(row.name, row.about);
    command->callback([run = row.run, &io, &o, &status] { status = run(io, o); });
    if (row.positional != nullptr) {
        CLI::Option* positional = command->add_option(row.positional, o.args, row.positionalAbout)->expected(row.count);
        if (!(row.takes & kOptional)) positional->required();
    }
    if (row.takes & kChangeList)
        command->add_option_function<std::string>(
            "--from", [&o](const std::string& file) { o.from = file, o.fromGiven = true; },
            "Read FIELD=VALUE changes from this file, one a line (- for standard input)");
    if (row.takes & kWriting) {
        AddOutput(command, o, "Write to this file (- for standard output) instead of in place");
        command->add_flag("--dry-run", o.dryRun, "Say what would change and write nothing");
        command->add_flag("--backup", o.backup, "Keep the file as FILE~ before writing over it");
    }
    if (row.takes & kOutputOnly) AddOutput(command, o, "The file to write (- for standard output)")->required();
    if (row.takes & kCatalogues)
        command->add_option_function<std::string>(
            "--catalogues", [&o](const std::string& dir) { o.catalogues = dir, o.cataloguesGiven = true; },
            row.takes & kOptional ? "Folder holding planes.txt and targets.txt (default: the listed folder)"
                                  : "Folder holding planes.txt and targets.txt (default: .)");
    if (row.takes & kJson) command->add_flag("--json", o.json, "Print one JSON document (see the man page)");
}

// The error for a command line with no known command: its first word
// named, or the commands listed.
std::string NoCommand(const std::vector<std::string>& args) {
    const auto word = std::find_if(args.begin(), args.end(), [](const std::string& a) { return !a.starts_with("-"); });
    if (word == args.end()) return "a command is required: " + CommandNames();
    return "\"" + *word + "\" is no command; the commands are " + CommandNames();
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, int inFd) {
    const cli::Io io{out, err, inFd};
    CLI::App app{"Look at, check, stamp, change, compare and make .msn mission files.", std::string(cli::kProgram)};
    app.set_version_flag("--version", std::string(cli::kProgram) + " " + KESTRANE_VERSION);
    app.require_subcommand(1);
    app.failure_message([](const CLI::App*, const CLI::Error& e) {
        return std::string(cli::kProgram) + ": " + e.what() + " (see kestrane-msn --help)\n";
    });
    Options options;
    int status = -1;
    for (const CommandRow& row : kCommandTable) AddCommand(app, row, options, io, status);
    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const bool asked = e.get_exit_code() == 0;  // --help or --version
        if (!asked && app.get_subcommands().empty()) {
            cli::Complain(io, NoCommand(args));
            return kExitFailed;
        }
        return app.exit(e, out, err) == 0 ? kExitOk : kExitFailed;
    } catch (const std::exception& e) {
        cli::Complain(io, std::string("unexpected failure: ") + e.what());
        return kExitFailed;
    }
    return status;
}

}  // namespace kestrane
