// Every write path meets a failing write: a file size limit hit part-way, a folder without
// write permission, a folder removed before saving, a target that is a folder, a full file
// system. Each must report its message once, leave the old file byte for byte, leave no
// temporary file and keep the document modified.

#include "ChildProcess.h"
#include "TankFile.h"
#include "TemplateSetFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mount.h>

using namespace tarnwick_test;

namespace {

const char* const kOld = "[GameObject]\n\nmaxHealth = 10\n\n";

enum class Fault { SizeLimit, ReadOnlyFolder, FolderRemoved, FullFileSystem };

// In the child: applies the fault just before the write. Returns false when this machine
// cannot stage it.
bool Stage(Fault fault, const std::string& folder) {
    switch (fault) {
    case Fault::SizeLimit:
        LimitFileSize(40);
        return true;
    case Fault::ReadOnlyFolder:
        return ::chmod(folder.c_str(), 0555) == 0 && BecomeNobody();
    case Fault::FolderRemoved:
        fs::remove_all(folder);
        return true;
    case Fault::FullFileSystem: {
        // Fill the small file system the folder is mounted on.
        std::ofstream filler(folder + "/filler", std::ios::binary);
        std::string block(1024, 'x');
        while (filler.write(block.data(), block.size()))
            filler.flush();
        return true;
    }
    }
    return false;
}

constexpr int kSkipped = 77;

// A folder for one fault case; for a full file system, a small tmpfs mounted on it.
class CFaultFolder {
public:
    explicit CFaultFolder(Fault fault) : m_path(m_scratch / "work") {
        fs::create_directories(m_path);
        if (fault == Fault::FullFileSystem)
            m_bMounted = ::mount("tmpfs", m_path.c_str(), "tmpfs", 0, "size=64k") == 0;
        if (fault == Fault::ReadOnlyFolder)
            fs::permissions(m_scratch.Path(), fs::perms::all); // nobody must reach the folder
        std::ofstream(Path() + "/unit.odf", std::ios::binary) << kOld;
        std::ofstream(m_scratch / "source.odf", std::ios::binary) << kOld;
        if (fault == Fault::ReadOnlyFolder)
            fs::permissions(Path() + "/unit.odf", fs::perms::owner_all | fs::perms::others_read);
    }
    ~CFaultFolder() {
        if (m_bMounted)
            ::umount(m_path.c_str());
    }
    bool Usable(Fault fault) const { return fault != Fault::FullFileSystem || m_bMounted; }
    std::string Path() const { return m_path; }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(m_path, error))
            if (entry.path().filename() != "filler")
                names.push_back(entry.path().filename().string());
        return names;
    }

private:
    CScratchDir m_scratch;
    std::string m_path;
    bool m_bMounted = false;
};

const std::pair<Fault, const char*> kFaults[] = {
    {Fault::SizeLimit, "size limit"},
    {Fault::ReadOnlyFolder, "read-only folder"},
    {Fault::FolderRemoved, "folder removed"},
    {Fault::FullFileSystem, "full file system"},
};

// Runs save in a child after staging fault; the child checks what it can see (result,
// messages, modified flag) and the parent checks the folder.
void ExpectFailedWrite(Fault fault, const char* name,
                       const std::function<int(const std::string& folder)>& save) {
    SCOPED_TRACE(name);
    CFaultFolder folder(fault);
    if (!folder.Usable(fault)) {
        std::printf("[ SKIPPED  ] %s: cannot be staged here\n", name);
        return;
    }
    int status = RunInChild([&] {
        if (!Stage(fault, folder.Path()))
            return kSkipped;
        return save(folder.Path());
    });
    if (status == kSkipped) {
        std::printf("[ SKIPPED  ] %s: cannot be staged here\n", name);
        return;
    }
    EXPECT_EQ(status, 0);
    if (fault == Fault::FolderRemoved)
        return; // nothing is left to compare
    EXPECT_EQ(ReadBytes(folder.Path() + "/unit.odf"), kOld);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"unit.odf"});
}

// The child's checks, as an exit status naming the first that failed.
int CheckFailure(int result, const CMessageCapture& messages, const std::string& expected,
                 int modified) {
    if (result != 0)
        return 1;
    if (messages.Texts() != std::vector<std::string>{expected})
        return 2;
    if (modified != 1)
        return 3;
    return 0;
}

} // namespace

TEST(WriteFaults, SaveKeepsTheOldFileAndTheChanges) {
    for (auto [fault, name] : kFaults) {
        ExpectFailedWrite(fault, name, [](const std::string& folder) {
            CTankFile document;
            document.SetPath(folder + "/unit.odf");
            document.m_fields[6]->m_bPresent = 1;
            document.m_fields[6]->m_nValue = 1500;
            document.m_bModified = 1;
            CMessageCapture messages;
            int result = document.Save();
            return CheckFailure(result, messages,
                                "Error saving tank file '" + folder + "/unit.odf'.",
                                document.m_bModified);
        });
    }
}

TEST(WriteFaults, SaveAsLeavesNoFileBehind) {
    for (auto [fault, name] : kFaults) {
        ExpectFailedWrite(fault, name, [](const std::string& folder) {
            CTankFile document;
            document.Reset();
            document.m_bModified = 1;
            CMessageCapture messages;
            int result = document.SaveAs(folder + "/new.odf");
            return CheckFailure(result, messages,
                                "Error saving tank file '" + folder + "/new.odf'.",
                                document.m_bModified);
        });
    }
}

TEST(WriteFaults, SaveOverAFolderFails) {
    CScratchDir scratch;
    fs::create_directories(scratch / "unit.odf/inside");
    CTankFile document;
    document.Reset();
    document.m_bModified = 1;
    CMessageCapture messages;
    EXPECT_EQ(document.SaveAs(scratch / "unit.odf"), 0);
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"Error saving tank file '" + (scratch / "unit.odf") + "'."});
    EXPECT_EQ(document.m_bModified, 1);
    EXPECT_TRUE(fs::is_directory(scratch / "unit.odf/inside"));
    EXPECT_EQ(scratch.Entries(), std::vector<std::string>{"unit.odf"});
}

TEST(WriteFaults, SetFileKeepsTheOldFile) {
    for (auto [fault, name] : kFaults) {
        ExpectFailedWrite(fault, name, [](const std::string& folder) {
            // The set file stands where unit.odf stood, so the parent's checks apply.
            std::vector<std::string> paths(10, folder + "/some/template/path.odf");
            CMessageCapture messages;
            bool ok = WriteTemplateSetFile(folder + "/unit.odf", paths);
            return CheckFailure(ok ? 1 : 0, messages,
                                "Error writing template set file '" + folder + "/unit.odf'", 1);
        });
    }
}

#ifdef TARNWICK_CLI
TEST(WriteFaults, CommandLineKeepsTheOldFile) {
    const std::vector<std::vector<std::string>> commands = {
        {"normalize", "unit.odf"},
        {"normalize", "-o", "unit.odf", "../source.odf"},
        {"set", "unit.odf", "GameObject.maxHealth=1500"},
    };
    for (const auto& arguments : commands) {
        for (auto [fault, name] : kFaults) {
            if (fault == Fault::FolderRemoved)
                continue; // the command could not even read its file
            SCOPED_TRACE(arguments[0] + " " + arguments[1]);
            ExpectFailedWrite(fault, name, [&](const std::string& folder) {
                int err =
                    ::open((folder + "/../stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
                pid_t pid = ::fork();
                if (pid == 0) {
                    ::dup2(err, 2);
                    if (::chdir(folder.c_str()) != 0)
                        ::_exit(100);
                    std::vector<char*> argv{const_cast<char*>(TARNWICK_CLI)};
                    for (const auto& argument : arguments)
                        argv.push_back(const_cast<char*>(argument.c_str()));
                    argv.push_back(nullptr);
                    ::execv(TARNWICK_CLI, argv.data());
                    ::_exit(101);
                }
                int status = ExitStatusOf(pid);
                ::close(err);
                if (status != 2)
                    return 10 + status;
                std::string printed = ReadBytes(folder + "/../stderr.txt");
                return printed == "Error saving tank file 'unit.odf'.\n" ? 0 : 9;
            });
        }
    }
}
#endif
