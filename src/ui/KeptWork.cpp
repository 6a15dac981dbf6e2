#include "ui/KeptWork.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "mission/Charset.h"
#include "mission/MissionFile.h"

namespace kestrane {

namespace {

std::string Quoted(const std::string& name) { return name.empty() ? std::string() : " \"" + name + "\""; }

// "the unsaved work "Night raid" from 2026-12-07 12:03:05", to the second.
std::string Describe(const UnsavedWork& work) {
    return "the unsaved work" + Quoted(work.Name()) + " from " + work.savedAt.substr(0, 19);
}

std::string Capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

}  // namespace

KeptWork::KeptWork(WorkStore& store, WindowModel& model, std::string restoreKey)
    : store_(store), model_(model), restoreKey_(std::move(restoreKey)) {
    model_.SetKeeper(this);
}

KeptWork::~KeptWork() {
    if (model_.Keeper() == this) model_.SetKeeper(nullptr);
    if (!own_.empty()) store_.Release(own_);
}

KeptWork::Offer KeptWork::Offered() {
    Offer offer;
    std::string unreadable, where;  // "a.json (why), b.json (why)" and the folder they went to
    int named = 0, unnamed = 0;     // past the few named, only counted, so the sentence stays short
    for (const std::string& name : store_.Names()) {
        if (name == own_ || restored_.contains(name)) continue;
        if (!store_.Claim(name)) {  // the work of an editor still running
            ++offer.running;
            continue;
        }
        const WorkStore::Reading read = store_.Read(name);
        WorkReading work = read.ok ? ReadWorkText(read.text) : WorkReading{std::nullopt, read.error};
        store_.Release(name);
        if (work.work) {
            offer.works.push_back({name, std::move(*work.work)});
            continue;
        }
        const std::string aside = store_.SetAside(name, "damaged");
        if (!aside.empty()) where = aside.substr(0, aside.rfind('/'));
        if (named == kMostNamed) {
            ++unnamed;
            continue;
        }
        ++named;
        unreadable += (unreadable.empty() ? "" : ", ") + name + " (" + work.error + (aside.empty() ? ", left in place" : "") + ")";
    }
    if (unnamed > 0) unreadable += " and " + std::to_string(unnamed) + " more";
    if (!unreadable.empty())
        offer.notes += " Kept work that could not be read was set aside" + (where.empty() ? std::string() : " in " + where) +
                       ": " + unreadable + ".";
    std::sort(offer.works.begin(), offer.works.end(), [](const Found& a, const Found& b) {
        return a.work.savedAt != b.work.savedAt ? a.work.savedAt > b.work.savedAt : a.name > b.name;
    });
    return offer;
}

std::string KeptWork::Survey() {
    Offer offer = Offered();
    std::size_t moved = 0;
    std::string where;
    for (std::size_t i = kMostKept; i < offer.works.size(); ++i)
        if (const std::string aside = store_.SetAside(offer.works[i].name, "older"); !aside.empty()) {
            ++moved;
            where = aside.substr(0, aside.rfind('/'));
        }
    if (offer.works.size() > kMostKept) offer.works.resize(kMostKept);
    std::string said = Summary(offer.works) + offer.notes;
    if (moved > 0)
        said += " " + std::to_string(moved) + (moved == 1 ? " older kept work was" : " older kept works were") +
                " moved to " + where + ", past the " + std::to_string(kMostKept) + " newest that " + restoreKey_ + " offers.";
    if (!said.empty() && said.front() == ' ') said.erase(0, 1);
    return said;
}

std::string KeptWork::Summary(const std::vector<Found>& offered) const {
    if (offered.empty()) return {};
    const UnsavedWork& newest = offered.front().work;
    std::string said = offered.size() == 1 ? Capitalised(Describe(newest)) + " is kept: press " + restoreKey_ + " to restore it."
                                           : std::to_string(offered.size()) + " unsaved works are kept; the newest, " +
                                                 Describe(newest) + ", is restored by " + restoreKey_ + ".";
    if (newest.folder != model_.StartDir()) said += " It was made with the start folder " + newest.folder + ".";
    return said;
}

std::string KeptWork::Keep() {
    if (!model_.Unsaved()) {
        Drop();
        return {};
    }
    UnsavedWork work = model_.Work();
    if (!own_.empty() && work.SameWork(lastKept_)) return {};
    if (own_.empty()) {
        // Claimed before it is written, so no other session takes it for
        // the work of one that ended.
        const std::string name = store_.NewName();
        if (!store_.Claim(name)) return "no lock file could be made for it";
        own_ = name;
    }
    work.savedAt = store_.Now();
    const std::string text = WorkText(work);
    if (text.size() > kLargestWorkText)
        return "it would be " + std::to_string(text.size()) + " bytes, more than the " +
               std::to_string(kLargestWorkText >> 20) + " MB a kept work may be: shorten the longest text in a box";
    if (std::string error = store_.Write(own_, text); !error.empty()) return error;
    lastKept_ = std::move(work);
    return {};
}

void KeptWork::Touched(std::int64_t now) {
    if (!due_ || *due_ > now + kKeepDelay) due_ = now + kKeepDelay;
}

void KeptWork::Tick(std::int64_t now) {
    if (due_ && now >= *due_) KeepNow(now);
}

std::string KeptWork::KeepNow(std::int64_t now) {
    due_.reset();
    const std::string error = Keep();
    if (!error.empty() && error != failed_)
        model_.Say("Your unsaved work could not be kept in " + store_.Where() + " (" + error +
                   "); save the mission to keep it.");
    if (error.empty() && !failed_.empty() && model_.Unsaved())
        model_.Say("Your unsaved work is kept again in " + store_.Where() + ".");
    // Work that could not be kept is tried again, quietly, until it is.
    if (!error.empty()) due_ = now + kKeepDelay;
    failed_ = error;
    return error;
}

void KeptWork::Park() {
    if (own_.empty()) return;
    store_.Release(own_);
    own_.clear();
    restoredWork_.reset();
}

void KeptWork::Drop() {
    if (own_.empty()) return;
    const std::string name = own_;
    Park();
    store_.Remove(name);
}

bool KeptWork::HoldsRestoredWork() const { return restoredWork_ && model_.Work().SameWork(*restoredWork_); }

void KeptWork::RestoreNext() {
    const bool swapping = HoldsRestoredWork();
    if (model_.Unsaved() && !swapping) {
        model_.Say(restoreKey_ + " would put kept work in place of your unsaved changes: save or undo them first. "
                   "Nothing was changed.");
        return;
    }
    // The work restored before stays kept as the window holds it now: a
    // change made and undone since it was last kept must not stay in it.
    if (swapping)
        if (const std::string error = Keep(); !error.empty()) {
            model_.Say("The work restored before could not be kept again (" + error + "), so " + restoreKey_ + " changed nothing.");
            return;
        }
    const Offer offer = Offered();
    const std::vector<Found>& offered = offer.works;
    if (offered.empty() || !store_.Claim(offered.front().name)) {
        std::string none = restored_.empty() ? "No unsaved work is kept" : "No other unsaved work is kept";
        if (offer.running > 0)
            none += " but that of " + std::to_string(offer.running) +
                    (offer.running == 1 ? " editor that is still running" : " editors that are still running");
        model_.Say(none + "." + offer.notes);
        return;
    }
    const Found& chosen = offered.front();
    // The work restored before, unchanged, stays kept in its file.
    if (swapping) Park();
    else Drop();
    model_.RestoreWork(chosen.work);
    own_ = chosen.name;
    restored_.insert(own_);
    lastKept_ = model_.Work();
    restoredWork_ = lastKept_;
    std::string said = "Restored " + Describe(chosen.work) + ".";
    if (chosen.work.folder != model_.StartDir())
        said += " It was made with the start folder " + chosen.work.folder + "; its aircraft and places are named from " +
                "the catalogues of " + model_.StartDir() + ", where it will be saved.";
    said += FileSince(chosen.work);
    if (swapping) said += " The work restored before stays kept.";
    if (offered.size() > 1) said += " " + std::to_string(offered.size() - 1) + " more kept: " + restoreKey_ + " restores the next.";
    model_.Say(said + offer.notes);
}

std::string KeptWork::FileSince(const UnsavedWork& work) {
    if (work.file.empty()) return {};
    const std::string name = ReadableText(std::filesystem::path(work.file).filename().string());
    const ReadResult read = ReadMission(work.file);
    if (!read.ok) return read.error == "does not exist" ? " " + name + ", the file it began from, is no longer there." : "";
    if (read.bytes == work.clean) return {};
    model_.AskToCompare(work.file);
    return " " + name + " has changed since this work was kept: the inspector compares the two, and a save over it " +
           "keeps a copy of the file first.";
}

Keeping KeptWork::BeforeReplacing() {
    if (!model_.Unsaved()) {
        Drop();
        return {};
    }
    if (std::string error = Keep(); !error.empty()) return {false, error};
    Park();
    return {true, "Your unsaved changes are kept: " + restoreKey_ + " brings them back."};
}

Keeping KeptWork::BeforeOverwriting(const std::string& path) {
    const Keeping copy = store_.KeepReplaced(path);
    if (!copy.ok || copy.note.empty()) return copy;
    return {true, "The mission it replaced is kept as " + copy.note + "."};
}

void KeptWork::AfterSave() { Keep(); }

}  // namespace kestrane
