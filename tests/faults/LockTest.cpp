// Runs that rewrite one file at once take turns, so neither change is lost; a run that holds the
// lock too long is given up on, and a killed run's lock ends with it.

#include "ChildProcess.h"
#include "CliRunner.h"
#include "FolderLock.h"

#include <csignal>
#include <cstdlib>
#include <sys/stat.h>
#include <thread>

using namespace tarnwick_test;

TEST(Lock, RunsAtOnceOnOneFileBothLandAHeldLockIsWaitedForAndAKilledHoldersIsNot) {
    CScratchDir scratch;
    const std::string unit = scratch / "unit.odf", table = scratch / "t.csv";
    for (int round = 0; round < 16; ++round) {
        SCOPED_TRACE(round);
        WriteBytes(unit, "[GameObject]\nmaxHealth = 1\nmaxAmmo = 1\n");
        const std::string health = std::to_string(100 + round), ammo = std::to_string(round);
        WriteBytes(table, "file,GameObject.maxAmmo\n" + unit + "," + ammo + "\n");
        // Every other round the second run is an apply.
        const Texts second =
            round % 2 ? Texts{"apply", table} : Texts{"set", unit, "GameObject.maxAmmo=" + ammo};
        CliResult other;
        std::thread thread([&] { other = RunCli(second); });
        EXPECT_EQ(RunCli({"set", unit, "GameObject.maxHealth=" + health}).status, 0);
        thread.join();
        EXPECT_EQ(other.status, 0) << other;
        ASSERT_EQ(ReadBytes(unit),
                  "[GameObject]\nmaxHealth = " + health + "\nmaxAmmo = " + ammo + "\n");
    }

    // Two folders; the one that runs lock second (they go by inode) is held, so that an apply
    // over both must lock the free one and then wait for the held one.
    Texts folders = {scratch / "a", scratch / "b"};
    std::ranges::sort(folders, {}, [](const std::string& folder) {
        struct stat st {};
        fs::create_directory(folder);
        return ::stat(folder.c_str(), &st) == 0 ? st.st_ino : 0;
    });
    const std::string held = folders[1] + "/held.odf", other = folders[0] + "/other.odf";
    const std::string before = "[GameObject]\nmaxHealth = 1\n";
    WriteBytes(held, before);
    WriteBytes(other, before);
    WriteBytes(scratch / "t.csv", "file,GameObject.maxHealth\n" + other + ",2\n" + held + ",2\n");

    // The lock goes with the folder's open file, which the child shares until it is killed.
    CFolderLock lock;
    ASSERT_TRUE(lock.Lock({held}, std::chrono::seconds(5)));
    const pid_t holder = ::fork();
    if (holder == 0)
        for (;;)
            ::pause();
    lock.Unlock();

    ::setenv("TARNWICK_LOCK_WAIT", "0.05", 1);
    const CliResult refused{2, "",
                            "Folder '" + fs::canonical(folders[1]).string() +
                                "' stays locked by another run writing there; try again when it "
                                "has finished.\n"};
    EXPECT_EQ(RunCli({"set", held, "GameObject.maxHealth=2"}), refused);
    EXPECT_EQ(RunCli({"apply", scratch / "t.csv"}), refused);
    EXPECT_EQ(ReadBytes(other), before);
    ::kill(holder, SIGKILL);
    ExitStatusOf(holder);
    // A lock left by a killed process would make this wait in vain too.
    EXPECT_EQ(RunCli({"set", held, "GameObject.maxHealth=3"}), (CliResult{0, "", ""}));
    ::unsetenv("TARNWICK_LOCK_WAIT");
    EXPECT_EQ(ReadBytes(held), "[GameObject]\nmaxHealth = 3\n");
}
