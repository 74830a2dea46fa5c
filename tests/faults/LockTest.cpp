// Runs that rewrite one file at once take turns, so neither change is lost; a run that holds the
// lock too long is given up on, and a killed run's lock ends with it.

#include "ChildProcess.h"
#include "CliRunner.h"
#include "FolderLock.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/stat.h>
#include <thread>

using namespace tarnwick_test;

TEST(Lock, RunsAtOnceOnOneFileBothLand) {
    CScratchDir scratch;
    const std::string unit = scratch / "unit.odf", table = scratch / "t.csv";
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        WriteBytes(unit, "[GameObject]\nmaxHealth = 1\nmaxAmmo = 1\n");
        const std::string health = std::to_string(100 + round), ammo = std::to_string(round);
        // Every other round the second run is an apply.
        WriteBytes(table, "file,GameObject.maxAmmo\n" + unit + "," + ammo + "\n");
        std::vector<std::string> second = {"set", unit, "GameObject.maxAmmo=" + ammo};
        if (round % 2)
            second = {"apply", table};
        CliResult other;
        std::thread thread([&] { other = RunCli(second); });
        CliResult first = RunCli({"set", unit, "GameObject.maxHealth=" + health});
        thread.join();
        EXPECT_EQ(first.status, 0) << first.err;
        EXPECT_EQ(other.status, 0) << other.err;
        ASSERT_EQ(ReadBytes(unit),
                  "[GameObject]\nmaxHealth = " + health + "\nmaxAmmo = " + ammo + "\n");
    }
}

TEST(Lock, AHeldLockIsWaitedForAndAKilledHoldersIsNot) {
    // Two folders; the one that runs lock second (they go by inode) is held, so that an apply
    // over both must lock the free one and then wait for the held one.
    CScratchDir scratch;
    fs::create_directories(scratch / "a");
    fs::create_directories(scratch / "b");
    struct stat a {
    }, b{};
    ASSERT_EQ(::stat((scratch / "a").c_str(), &a) | ::stat((scratch / "b").c_str(), &b), 0);
    const std::string held = scratch / (a.st_ino > b.st_ino ? "a" : "b");
    const std::string free = scratch / (a.st_ino > b.st_ino ? "b" : "a");
    const std::string unit = held + "/unit.odf", other = free + "/other.odf";
    const std::string table = scratch / "t.csv", before = "[GameObject]\nmaxHealth = 1\n";
    WriteBytes(unit, before);
    WriteBytes(other, before);
    WriteBytes(table, "file,GameObject.maxHealth\n" + other + ",2\n" + unit + ",2\n");

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t holder = ::fork();
    if (holder == 0) {
        CFolderLock lock;
        if (lock.Lock({unit}, std::chrono::seconds(5)) && ::write(ready[1], "x", 1) == 1)
            ::pause();
        ::_exit(1);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);

    ::setenv("TARNWICK_LOCK_WAIT", "0.2", 1);
    CliResult refused = RunCli({"set", unit, "GameObject.maxHealth=2"});
    CliResult refusedApply = RunCli({"apply", table});
    ::kill(holder, SIGKILL);
    ExitStatusOf(holder);
    // A lock left by a killed process would make this wait in vain too.
    CliResult after = RunCli({"set", unit, "GameObject.maxHealth=3"});
    ::unsetenv("TARNWICK_LOCK_WAIT");

    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "Folder '" + fs::canonical(held).string() +
                               "' stays locked by another run writing there; try again when it "
                               "has finished.\n");
    EXPECT_EQ(refusedApply.status, 2);
    EXPECT_EQ(refusedApply.err, refused.err);
    EXPECT_EQ(ReadBytes(other), before);
    EXPECT_EQ(after.status, 0) << after.err;
    EXPECT_EQ(ReadBytes(unit), "[GameObject]\nmaxHealth = 3\n");
}
