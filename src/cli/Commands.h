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
};

int Show(const Io& io, const Options& options);
int Check(const Io& io, const Options& options);
int Diff(const Io& io, const Options& options);
int ListFields(const Io& io, const Options& options);
int Set(const Io& io, const Options& options);
int Stamp(const Io& io, const Options& options);
int New(const Io& io, const Options& options);

// The differences between two missions, in offset order: as lines
// ("YearSetting: 2 -> 3  # 1944 -> 1945", "bytes 36..39 (outside any
// field): 00000000 -> 0A0B0C0D"), or as an array of JSON objects.
// Aircraft and places are named from the lists when they are given.
std::vector<std::string> DifferenceLines(const MissionImage& a, const MissionImage& b, const NameLists& lists = {});
Json DifferencesJson(const MissionImage& a, const MissionImage& b);

}  // namespace kestrane::cli
