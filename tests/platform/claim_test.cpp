// Claiming message files on the real file system: a claim never replaces, and one watcher's hold keeps
// every other watcher off the file until it lets go.
#include "platform/claim.h"
#include "platform/platform.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zorvant::platform {
namespace {
using testing::TempFolder;

TEST(Claim, NeverReplacesAnEarlierClaimAndHoldsOffOtherWatchers) {
    TempFolder folder;
    const std::string m = folder.file("m.txt"), claimed = folder.file("m.txt~zorvant");
    folder.write("m.txt", "first\r\n");
    Claim first = claimFile(m, claimed);
    ASSERT_EQ(first.status, ClaimStatus::Claimed);
    EXPECT_FALSE(plainFileExists(m));

    folder.write("m.txt", "second\r\n");
    EXPECT_EQ(claimFile(m, claimed).status, ClaimStatus::Taken);
    EXPECT_EQ(folder.read("m.txt~zorvant"), "first\r\n");
    EXPECT_EQ(folder.read("m.txt"), "second\r\n");
    EXPECT_EQ(holdClaimed(claimed).status, ClaimStatus::Busy); // another watcher's, while it holds it

    first.hold = FileHold(); // the watcher ended
    Claim later = holdClaimed(claimed);
    EXPECT_EQ(later.status, ClaimStatus::Claimed);
    EXPECT_EQ(later.hold.state().size, 7);
    EXPECT_TRUE(later.hold.state().endsWithLineEnd);

    EXPECT_FALSE(renameFile(m, claimed));
    EXPECT_EQ(folder.read("m.txt~zorvant"), "first\r\n");
}

TEST(Claim, WhatCannotBeClaimedSaysWhy) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo((folder.path() / "pipe.txt").c_str(), 0600), 0);
    EXPECT_EQ(claimFile(folder.file("pipe.txt"), folder.file("pipe.txt~zorvant")).status,
              ClaimStatus::NotPlainFile);
    EXPECT_EQ(claimFile(folder.file("none.txt"), folder.file("none.txt~zorvant")).status,
              ClaimStatus::Missing);

    folder.write("m.txt", "A\r\n");
    ASSERT_TRUE(createFolder(folder.file("m.txt~zorvant")));
    EXPECT_EQ(claimFile(folder.file("m.txt"), folder.file("m.txt~zorvant")).status, ClaimStatus::Taken);
    EXPECT_EQ(holdClaimed(folder.file("m.txt~zorvant")).status, ClaimStatus::Folder);

    const std::string longName(250, 'n'); // fits, but not with the suffix
    folder.write(longName, "A\r\n");
    const Claim tooLong = claimFile(folder.file(longName), folder.file(longName + "~zorvant"));
    EXPECT_EQ(tooLong.status, ClaimStatus::Failed);
    EXPECT_FALSE(tooLong.reason.empty());
    EXPECT_EQ(folder.read(longName), "A\r\n");
}

} // namespace
} // namespace zorvant::platform
