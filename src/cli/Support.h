#pragma once
// What every kestrane-msn command shares: its streams, reading a mission
// from a file or standard input, file names in JSON, the catalogues, and
// messages on standard error.

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "catalogues/Catalogue.h"
#include "editors/FieldValues.h"
#include "mission/MissionImage.h"

namespace kestrane::cli {

using Json = nlohmann::ordered_json;

inline constexpr std::string_view kProgram = "kestrane-msn";
inline constexpr std::string_view kStdio = "-";  // a file name that means standard input or output
inline constexpr int kJsonFormat = 1;           // the "format" member of every JSON document

struct Io {
    std::ostream& out;
    std::ostream& err;
    int inFd;  // standard input
};

// A line on standard error: "kestrane-msn: " and the text.
void Complain(const Io& io, std::string_view text);
// A system's reason ("No space left on device") as the end of a sentence.
std::string LowerFirst(std::string reason);

// A mission read from a file, or from standard input for "-", or why not
// (also said on standard error).
struct Input {
    std::optional<MissionImage> image;
    std::string error;
};
Input ReadInput(const Io& io, const std::string& name);

// A JSON document: {"format": 1} and the members.
Json Document(const Json& members);
// The JSON document on out, indented by two blanks.
void PrintJson(const Io& io, const Json& document);

// A JSON document whose last member is a list written entry by entry as a
// command goes through its files, so that many files cost the memory of one:
// {"format": 1, the head's members, "KEY": [entries]}, laid out as
// PrintJson lays it out. Nothing is written when it is off.
class JsonList {
public:
    JsonList(const Io& io, bool on, const Json& head, std::string_view key);
    JsonList(const JsonList&) = delete;
    JsonList& operator=(const JsonList&) = delete;
    void Add(const Json& entry);
    // Closes the list and the document.
    void Finish();

private:
    const Io& io_;
    bool on_;
    bool empty_ = true;
};

// A file name's bytes, reversibly: every byte that is printable ASCII other
// than "%" stands for itself, every other byte is "%" and two upper-case
// hexadecimal digits.
std::string PercentEncoded(std::string_view bytes);
// {"file": name as text (a byte that is not UTF-8 shows as U+FFFD),
// "file_percent": its bytes percent-encoded}, under the given key's names.
void NameFile(Json& object, std::string_view key, const std::string& name);

// The catalogues of a folder. With given set (--catalogues), an aircraft or
// place catalogue that cannot be read is an error; otherwise it gets a note
// on standard error.
std::optional<Catalogues> ReadNamesFrom(const Io& io, const std::string& dir, bool given);

// Every time "-" appears among the inputs past its first is refused: standard
// input can be read only once.
bool StdinOnce(const Io& io, const std::vector<std::string>& inputs);

}  // namespace kestrane::cli
