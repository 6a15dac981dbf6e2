#include "cli/Support.h"

#include <algorithm>

#include "mission/MissionFile.h"

namespace kestrane::cli {

void Complain(const Io& io, std::string_view text) { io.err << kProgram << ": " << text << "\n"; }

std::string LowerFirst(std::string reason) {
    if (!reason.empty() && reason[0] >= 'A' && reason[0] <= 'Z') reason[0] = static_cast<char>(reason[0] - 'A' + 'a');
    return reason;
}

Input ReadInput(const Io& io, const std::string& name) {
    const bool stdinput = name == kStdio;
    const ReadResult read = stdinput ? ReadMissionFrom(io.inFd) : ReadMission(name);
    Input input;
    if (!read.ok) {
        input.error = (stdinput ? "standard input " : "the file ") + read.error;
        Complain(io, name + ": " + input.error);
        return input;
    }
    input.image.emplace();
    input.image->Assign(read.bytes);
    return input;
}

namespace {

std::string Dumped(const Json& value) { return value.dump(2, ' ', false, Json::error_handler_t::replace); }

}  // namespace

Json Document(const Json& members) {
    Json document{{"format", kJsonFormat}};
    if (members.is_object()) document.update(members);
    return document;
}

void PrintJson(const Io& io, const Json& document) {
    // A file name need not be UTF-8: its "file" text shows such bytes as
    // U+FFFD, and "file_percent" keeps them.
    io.out << Dumped(document) << "\n";
}

JsonList::JsonList(const Io& io, bool on, const Json& head, std::string_view key) : io_(io), on_(on) {
    if (!on_) return;
    io_.out << "{\n";
    const Json document = Document(head);
    for (const auto& [name, value] : document.items()) io_.out << "  " << Dumped(name) << ": " << Dumped(value) << ",\n";
    io_.out << "  " << Dumped(std::string(key)) << ": [";
}

void JsonList::Add(const Json& entry) {
    if (!on_) return;
    std::string text = empty_ ? "\n    " : ",\n    ";
    for (const char c : Dumped(entry)) text.append(c == '\n' ? "\n    " : std::string_view(&c, 1));
    io_.out << text;
    empty_ = false;
}

void JsonList::Finish() {
    if (on_) io_.out << (empty_ ? "]\n}\n" : "\n  ]\n}\n");
}

std::string PercentEncoded(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c > 0x20 && c < 0x7F && c != '%') text += ch;
        else text.append(1, '%').append(1, kDigits[c >> 4]).append(1, kDigits[c & 0xF]);
    }
    return text;
}

void NameFile(Json& object, std::string_view key, const std::string& name) {
    object[std::string(key)] = name;
    object[std::string(key) + "_percent"] = PercentEncoded(name);
}

std::optional<Catalogues> ReadNamesFrom(const Io& io, const std::string& dir, bool given) {
    Catalogues catalogues = ReadCatalogues(dir);
    bool ok = true;
    for (const auto& [file, list, what] : {std::tuple{kPlanesFile, &catalogues.planes, "aircraft"},
                                           {kTargetsFile, &catalogues.targets, "places"}}) {
        if (list->read) continue;
        const std::string where = std::string(file) + " " + list->error + " in " + dir;
        if (given) Complain(io, "--catalogues " + dir + ": " + where);
        else Complain(io, "note: " + where + ", so " + what + " go by list position only (see --catalogues)");
        ok = ok && !given;
    }
    if (!ok) return std::nullopt;
    return catalogues;
}

bool StdinOnce(const Io& io, const std::vector<std::string>& inputs) {
    if (std::count(inputs.begin(), inputs.end(), std::string(kStdio)) <= 1) return true;
    Complain(io, "standard input (-) can be read only once");
    return false;
}

}  // namespace kestrane::cli
