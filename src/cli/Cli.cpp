#include "cli/Cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "cli/Commands.h"

namespace kestrane {

namespace {

using cli::Options;

constexpr const char* kCommands = "show, check, stamp, set, diff, new or fields";

// One subcommand whose callback runs its command with the options and
// leaves the exit status.
CLI::App* Command(CLI::App& app, const char* name, const char* about, int (*run)(const cli::Io&, const Options&),
                  const cli::Io& io, const Options& options, int& status) {
    CLI::App* command = app.add_subcommand(name, about);
    command->callback([run, &io, &options, &status] { status = run(io, options); });
    return command;
}

void AddJson(CLI::App* command, Options& o) { command->add_flag("--json", o.json, "Print one JSON document (see the man page)"); }

void AddCatalogues(CLI::App* command, Options& o) {
    command->add_option_function<std::string>(
        "--catalogues", [&o](const std::string& dir) { o.catalogues = dir, o.cataloguesGiven = true; },
        "Folder holding planes.txt and targets.txt (default: .)");
}

CLI::Option* AddOutput(CLI::App* command, Options& o, const char* about) {
    return command->add_option_function<std::string>(
        "-o,--output", [&o](const std::string& file) { o.output = file, o.outputGiven = true; }, about);
}

void AddWriting(CLI::App* command, Options& o) {
    AddOutput(command, o, "Write to this file (- for standard output) instead of in place");
    command->add_flag("--dry-run", o.dryRun, "Say what would change and write nothing");
    command->add_flag("--backup", o.backup, "Keep the file as FILE~ before writing over it");
}

void DefineCommands(CLI::App& app, Options& o, const cli::Io& io, int& status) {
    CLI::App* show = Command(app, "show", "Print each settable field as FIELD=VALUE, the form set takes back.",
                             cli::Show, io, o, status);
    show->add_option("FILE", o.args, "Mission files (- for standard input)")->required();
    AddJson(show, o);
    AddCatalogues(show, o);

    CLI::App* check = Command(app, "check", "Say whether each file's stored checksum is right.", cli::Check, io, o, status);
    check->add_option("FILE", o.args, "Mission files (- for standard input)")->required();
    AddJson(check, o);

    CLI::App* stamp = Command(app, "stamp", "Write the right checksum into each file where it is wrong.", cli::Stamp, io, o, status);
    stamp->add_option("FILE", o.args, "Mission files, written in place (- with -o)")->required();
    AddWriting(stamp, o);
    AddJson(stamp, o);

    CLI::App* set = Command(app, "set", "Change fields as the editor would, then save each file as the editor does.",
                            cli::Set, io, o, status);
    set->add_option("FILE_OR_CHANGE", o.args, "Mission files and FIELD=VALUE changes, e.g. YearSetting=1945")->required();
    AddWriting(set, o);
    AddCatalogues(set, o);
    AddJson(set, o);

    CLI::App* diff = Command(app, "diff", "Print the fields and bytes that differ between two files.", cli::Diff, io, o, status);
    diff->add_option("A B", o.args, "The two mission files (- for standard input)")->required()->expected(2);
    AddJson(diff, o);

    CLI::App* made = Command(app, "new", "Write a new mission, as the editor's Make a new mission and Save! do.", cli::New,
                             io, o, status);
    AddOutput(made, o, "The file to write (- for standard output)")->required();
    AddJson(made, o);

    CLI::App* fields = Command(app, "fields", "List every field: name, offset, width and the values set takes.",
                               cli::ListFields, io, o, status);
    AddJson(fields, o);
}

// The error for a command line with no known command: its first word
// named, or the commands listed.
std::string NoCommand(const std::vector<std::string>& args) {
    const auto word = std::find_if(args.begin(), args.end(), [](const std::string& a) { return !a.starts_with("-"); });
    if (word == args.end()) return std::string("a command is required: ") + kCommands;
    return "\"" + *word + "\" is no command; the commands are " + kCommands;
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
    DefineCommands(app, options, io, status);
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
