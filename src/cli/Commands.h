#pragma once
// The kestrane-msn commands, each run by its subcommand's callback.

#include <string>
#include <vector>

#include "cli/Support.h"

namespace kestrane::cli {

// Everything the command line gives a command; each command uses its part.
struct Options {
    std::vector<std::string> args;  // files; for set, files and FIELD=VALUE changes
    bool json = false;
    std::string catalogues = ".";
    bool cataloguesGiven = false;
    std::string output;
    bool outputGiven = false;
    bool dryRun = false;
    bool backup = false;
    std::string from;  // set --from: a file of changes
    bool fromGiven = false;
};

int Show(const Io& io, const Options& options);
int Check(const Io& io, const Options& options);
int Diff(const Io& io, const Options& options);
int ListFields(const Io& io, const Options& options);
int List(const Io& io, const Options& options);
int Set(const Io& io, const Options& options);
int Stamp(const Io& io, const Options& options);
int New(const Io& io, const Options& options);

// The differences between two missions (as DifferenceLines finds them), as
// an array of JSON objects; aircraft and places named from the lists.
Json DifferencesJson(const MissionImage& a, const MissionImage& b, const NameLists& lists = {});

}  // namespace kestrane::cli
