// What the missions scanner reads and when it hands rows over, with no
// thread and no disk: listings and a clock of the test's own.

#include <gtest/gtest.h>

#include "ui/MissionScan.h"

namespace kestrane {

namespace {

std::vector<std::string> Files(const std::vector<FolderEntry>& entries) {
    std::vector<std::string> names;
    for (const FolderEntry& e : entries) names.push_back(e.file);
    return names;
}

MissionRow Row(const char* file) {
    MissionRow row;
    row.entry.file = file;
    return row;
}

}  // namespace

TEST(MissionScan, AListingReadsOnlyWhatIsNewOrChangedAndDropsWhatWent) {
    MissionScan scan;
    EXPECT_FALSE(scan.NeedsStats()) << "a first listing reads every file, which tells its size and time";
    const MissionScan::Plan first = scan.Take({{"a.msn", 0, 0}, {"b.msn", 0, 0}, {"c.msn", 0, 0}});
    EXPECT_EQ(Files(first.toRead), (std::vector<std::string>{"a.msn", "b.msn", "c.msn"}));
    scan.Read({"b.msn", 400, 1});  // read as the read found it
    scan.Read({"a.msn", 400, 1});  // c.msn left unread: a newer listing took over
    EXPECT_TRUE(scan.NeedsStats());

    const MissionScan::Plan next = scan.Take({{"b.msn", 400, 2}, {"c.msn", 400, 1}, {"d.msn", 400, 1}});
    EXPECT_EQ(next.gone, (std::vector<std::string>{"a.msn"}));
    EXPECT_EQ(Files(next.toRead), (std::vector<std::string>{"b.msn", "c.msn", "d.msn"}))
        << "b changed in time, c was never read, d is new";
    scan.Read({"b.msn", 400, 2});
    scan.Read({"c.msn", 400, 1});
    scan.Read({"d.msn", 401, 1});
    const MissionScan::Plan same = scan.Take({{"b.msn", 400, 2}, {"c.msn", 400, 1}, {"d.msn", 400, 1}});
    EXPECT_TRUE(same.gone.empty());
    EXPECT_EQ(Files(same.toRead), (std::vector<std::string>{"d.msn"})) << "a change in size alone is a change";

    EXPECT_EQ(scan.Take({}).gone, (std::vector<std::string>{"b.msn", "c.msn", "d.msn"})) << "the folder emptied";
    scan.Read({"e.msn", 400, 1});
    scan.Forget();
    EXPECT_EQ(Files(scan.Take({{"e.msn", 400, 1}}).toRead), (std::vector<std::string>{"e.msn"}))
        << "another folder: nothing is known of it";
}

TEST(MissionScan, RowsGoOverFirstAtOnceThenByCountOrTime) {
    constexpr std::int64_t ms = 1'000'000;
    RowBatches batches(0);
    for (std::size_t i = 1; i < 16; ++i) EXPECT_FALSE(batches.Add(Row("a.msn"), 0)) << i;
    EXPECT_TRUE(batches.Add(Row("a.msn"), 0)) << "the first 16 rows show at once";
    EXPECT_EQ(batches.Take(1 * ms).size(), 16u);
    EXPECT_TRUE(batches.Empty());

    for (std::size_t i = 1; i < 1024; ++i) ASSERT_FALSE(batches.Add(Row("b.msn"), 2 * ms)) << i;
    EXPECT_TRUE(batches.Add(Row("b.msn"), 2 * ms)) << "then 1,024 rows at a time";
    EXPECT_EQ(batches.Take(20 * ms).size(), 1024u);

    EXPECT_FALSE(batches.Add(Row("slow.msn"), 35 * ms)) << "15 ms since the last batch: not yet over";
    EXPECT_TRUE(batches.Add(Row("slow.msn"), 36 * ms)) << "a slow read does not hold back what was read";
    EXPECT_EQ(batches.Take(36 * ms).size(), 2u);
}

}  // namespace kestrane
