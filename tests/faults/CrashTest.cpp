// A save killed at any moment leaves the target either complete and old or complete and new.

#include "ChildProcess.h"
#include "TankFile.h"
#include "TestSupport.h"

#include <chrono>
#include <csignal>
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
    const std::string firstBytes = first.Text();
    const std::string secondBytes = second.Text();
    WriteBytes(target, firstBytes);

    for (int kill = 0; kill < 40; ++kill) {
        pid_t pid = ::fork();
        if (pid == 0) {
            for (int round = 0;; ++round) {
                CTankFile& document = round % 2 ? first : second;
                document.SaveAs(target);
            }
        }
        // Spread over many saves, so that kills fall in every part of one.
        std::this_thread::sleep_for(std::chrono::microseconds(kill * 250));
        ::kill(pid, SIGKILL);
        ExitStatusOf(pid);
        std::string bytes = ReadBytes(target);
        ASSERT_TRUE(bytes == firstBytes || bytes == secondBytes)
            << "after kill " << kill << " the target holds " << bytes.size() << " bytes";
    }
}
