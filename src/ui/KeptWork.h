#pragma once
// Unsaved work kept across the end of a session, so that no edit is lost
// however a session ends: each running editor keeps its own unsaved work in
// a file of its own, rewrites it as the work changes and when the session
// ends, and removes it when nothing is left unsaved (after a save, say). At
// the next start the kept works of sessions that ended are offered, newest
// first, one Ctrl+R each. A kept work leaves the store only by being
// restored into a session, which then owns it.
//
// The policy is here, the files behind a small storage interface, so that
// what is kept, when, and what a restore trusts can be tried without a
// window or a disk.

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ui/UnsavedWork.h"
#include "ui/WindowModel.h"

namespace kestrane {

// The folder of kept works, as the policy needs it.
class WorkStore {
public:
    virtual ~WorkStore() = default;

    // The names of the kept works, in any order.
    virtual std::vector<std::string> Names() = 0;
    struct Reading {
        bool ok = false;
        std::string text;
        std::string error;  // why not: not a plain file, too large, unreadable
    };
    // A kept work's text; only a plain file of a sensible size is read, and
    // nothing waits on it (a pipe in its place answers at once).
    virtual Reading Read(const std::string& name) = 0;
    // Writes the text whole or not at all; empty when done, else the reason.
    virtual std::string Write(const std::string& name, std::string_view text) = 0;
    virtual void Remove(const std::string& name) = 0;
    // Moves a kept work out of the way, into the folder of that name beside
    // the kept works: "damaged" for one that cannot be read, "older" for one
    // past the newest kMostKept. Where it went, or empty when it could not
    // be moved.
    virtual std::string SetAside(const std::string& name, const std::string& folder) = 0;
    // Takes a name for this session; false when a running session holds it.
    // A session that ended, however it ended, holds nothing.
    virtual bool Claim(const std::string& name) = 0;
    virtual void Release(const std::string& name) = 0;
    // A name no kept work has, for this session's own work.
    virtual std::string NewName() = 0;
    // The date and time now, as kept works carry it: "2026-12-07 12:03:05",
    // with any fraction of a second after it, so that the texts sort by time.
    virtual std::string Now() = 0;
    // A copy of a mission file that a save is about to replace, kept whole;
    // the note is where the copy is, or why there is none. An empty note
    // with ok: the save leaves the file it replaces as it was (a page's
    // save is a download), so no copy is needed.
    virtual Keeping KeepReplaced(const std::string& path) = 0;
    // Where the kept works are, as the status line names it.
    virtual std::string Where() = 0;
};

class KeptWork : public WorkKeeper {
public:
    static constexpr std::size_t kMostKept = 20;
    // Kept works set aside at once that the status line names one by one.
    static constexpr int kMostNamed = 3;

    // restoreKey names the key that restores kept work, as the status line
    // says it: the browser keeps Ctrl+R for itself, so the page has another.
    KeptWork(WorkStore& store, WindowModel& model, std::string restoreKey = "Ctrl+R");
    ~KeptWork() override;
    KeptWork(const KeptWork&) = delete;
    KeptWork& operator=(const KeptWork&) = delete;

    // At start: what is kept from sessions that ended, as a sentence for the
    // status line (empty when nothing is); kept works that cannot be read
    // are set aside, and only the newest kMostKept are offered: the older
    // ones are moved aside, never deleted.
    std::string Survey();
    // Keeps the window's unsaved work now, or ends this session's file when
    // nothing is unsaved. Empty when done, else why the work is not kept.
    std::string Keep();

    // When work is kept, on the view's clock (milliseconds of any steady
    // clock): within kKeepDelay of a change, so that typing never waits on
    // the disk, and again every kKeepDelay while a keep fails.
    static constexpr std::int64_t kKeepDelay = 2000;
    // The work may have changed: a keep is due kKeepDelay from now, unless
    // one is due sooner.
    void Touched(std::int64_t now);
    // When the next keep is due, or none.
    std::optional<std::int64_t> Due() const { return due_; }
    // The view's clock: keeps the work when a keep is due.
    void Tick(std::int64_t now);
    // Keeps the work at once (the session ends, a close). A failure is said
    // in the status line once, until a keep succeeds again, which is said
    // too; a failed keep is due again kKeepDelay later. Empty when kept,
    // else why not.
    std::string KeepNow(std::int64_t now);
    // The store lost a write it had taken (a browser refuses a write after
    // the store answered): the work is kept again at once, and a failure
    // said. Empty when kept, else why not.
    std::string KeepAgain(std::int64_t now) {
        lastKept_ = {};
        return KeepNow(now);
    }
    // The restore key: the newest kept work not yet restored, into the window.
    void RestoreNext();
    // The name of this session's own file, empty when it has none.
    const std::string& Own() const { return own_; }

    // WorkKeeper: what the window model asks before and after it replaces
    // or saves the work.
    Keeping BeforeReplacing() override;
    Keeping BeforeOverwriting(const std::string& path) override;
    void AfterSave() override;

private:
    struct Found {
        std::string name;
        UnsavedWork work;
    };
    struct Offer {
        std::vector<Found> works;  // newest first
        std::string notes;         // what was set aside, as sentences
        int running = 0;           // kept works of editors still running
    };
    // The kept works of sessions that ended and that this one has not
    // restored; those that cannot be read are set aside.
    Offer Offered();
    // This session stops owning its file, which stays as a kept work.
    void Park();
    void Drop();
    std::string Summary(const std::vector<Found>& offered) const;
    // Whether the window holds exactly the work last restored, unchanged.
    bool HoldsRestoredWork() const;
    // What became of the file a restored work came from since it was kept,
    // as a sentence for the status line (empty when it holds what the work
    // began from); a changed file is compared with the work in the inspector.
    std::string FileSince(const UnsavedWork& work);

    WorkStore& store_;
    WindowModel& model_;
    std::string restoreKey_;
    std::string own_;       // this session's file, claimed
    UnsavedWork lastKept_;  // what that file holds
    std::optional<UnsavedWork> restoredWork_;  // the work as restored, while the window may still hold it
    std::set<std::string> restored_;           // the kept works this session has restored
    std::optional<std::int64_t> due_;          // when the next keep is due
    std::string failed_;                       // why the last keep failed, while it does
};

}  // namespace kestrane
