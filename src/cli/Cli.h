#pragma once
// kestrane-msn: mission files from the command line. The same reading,
// checksum, editors and save as the window, for batches and scripts.

#include <ostream>
#include <string>
#include <vector>

namespace kestrane {

// Exit statuses: 0 all well, 1 a checksum or field differs or a change was
// refused, 2 a file could not be read or written, or the command line is wrong.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDiffers = 1;
inline constexpr int kExitFailed = 2;

// Runs one command line (without the program name) and returns its exit
// status. out and err are its standard output and error, inFd its standard
// input.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, int inFd = 0);

}  // namespace kestrane
