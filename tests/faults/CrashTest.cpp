// A save killed at any moment leaves the target either complete and old or complete and new.

#include "ChildProcess.h"
#include "TankFile.h"
#include "TankFileWriter.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <thread>

using namespace tarnwick_test;

TEST(Crash, KilledSavesLeaveOldOrNewContent) {
    CScratchDir scratch;
    const std::string target = scratch / "unit.odf";

    // Two documents of different sizes, so that a torn write could not pass for either.
    CTankFile first, second;
    for (auto& field : second.m_fields) {
        field.m_bPresent = true;
        field.m_strValue = std::string(200, 'v');
        field.m_nValue = -42;
    }
    const std::string firstBytes = WriteTankText(first);
    const std::string secondBytes = WriteTankText(second);
    WriteBytes(target, firstBytes);

    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> delayMicroseconds(0, 10000);
    const int kills = 40;
    for (int kill = 0; kill < kills; ++kill) {
        pid_t pid = ::fork();
        if (pid == 0) {
            for (int round = 0;; ++round) {
                CTankFile& document = round % 2 ? first : second;
                document.SaveAs(target);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ::kill(pid, SIGKILL);
        ExitStatusOf(pid);
        std::string bytes = ReadBytes(target);
        ASSERT_TRUE(bytes == firstBytes || bytes == secondBytes)
            << "after kill " << kill << " the target holds " << bytes.size() << " bytes";
    }
}
