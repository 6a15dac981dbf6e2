#pragma once
// Kept work in the browser's storage (IndexedDB), for the kept-work policy
// of every view (ui/KeptWork.h). The storage answers later than the policy
// asks, so the store holds what the page read of it at start (and again
// before a restore) and hands each change to the page's script, which
// writes it; a write the browser refuses comes back here and is the answer
// to the next one, so that the policy says it in the status line and tries
// again. A running page holds a Web Lock on its own kept work, as a
// desktop session holds a lock file: the names others hold are read with
// the storage.
//
// The page's game folder is its memory file system's folder; a save writes
// there first. Where that folder stands for a folder on disk the page may
// write to, a mission a save replaces is copied into its "replaced" folder
// first, and every file written is listed for the page to write to disk.

#include <emscripten/val.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "ui/KeptWork.h"

namespace kestrane {

class BrowserStore : public WorkStore {
public:
    // storage: the script's side, with put(name, text), remove(name),
    // claim(name) and release(name), each answered later if at all.
    explicit BrowserStore(emscripten::val storage);

    // What the storage holds (an array of [name, text]) and the names of
    // kept works that other running pages hold.
    void Take(const emscripten::val& entries, const emscripten::val& heldElsewhere);
    // The browser refused the storage or a write: errorName and message are
    // the browser's own. Said, as the policy says a failed keep, until a
    // write is accepted again.
    void Refused(const std::string& errorName, const std::string& message);
    void Accepted() { refused_.clear(); }
    // Why the storage refuses the page's work, while it does; empty else.
    const std::string& Refusal() const { return refused_; }

    // Whether the game folder stands for a folder the page writes to.
    void SetFolderWritable(bool writable) { folderWritable_ = writable; }
    // The files written into the game folder since the page last asked.
    std::vector<std::string> TakeWritten();
    void Wrote(const std::string& path) { written_.push_back(path); }

    std::vector<std::string> Names() override;
    Reading Read(const std::string& name) override;
    std::string Write(const std::string& name, std::string_view text) override;
    void Remove(const std::string& name) override;
    std::string SetAside(const std::string& name, const std::string& folder) override;
    bool Claim(const std::string& name) override;
    void Release(const std::string& name) override;
    std::string NewName() override;
    std::string Now() override;
    Keeping KeepReplaced(const std::string& path) override;
    std::string Where() override { return "this browser's storage"; }

private:
    emscripten::val storage_;
    std::map<std::string, std::string> works_;  // name -> text; set-aside ones as "folder/name"
    std::set<std::string> heldElsewhere_;
    std::set<std::string> mine_;
    std::string refused_;
    bool folderWritable_ = false;
    std::vector<std::string> written_;
};

}  // namespace kestrane
