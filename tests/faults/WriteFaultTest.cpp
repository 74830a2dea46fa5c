// Every write path meets a failing write: a file size limit hit part-way, a folder or a file
// without write permission, a folder removed before saving, a full file system, a target that is
// a folder or a loop of links, an empty path. Each must report its message once, leave the
// folder as it was byte for byte (no temporary file either) and keep the document modified.

#include "ChildProcess.h"
#include "CliRunner.h"
#include "TankFile.h"
#include "TemplateSetFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/mount.h>
#include <sys/resource.h>

using namespace tarnwick_test;

namespace {

const char* const kOld = "[GameObject]\n\nmaxHealth = 10\n\n";

enum class Fault {
    SizeLimit,
    ReadOnlyFolder,
    ReadOnlyFile,
    FolderRemoved,
    FullFileSystem,
    TargetIsFolder,
    LinkLoop,
    EmptyPath
};

// In the order of Fault.
const char* const kFaultNames[] = {"size limit",     "read-only folder", "read-only file",
                                   "folder removed", "full file system", "target is a folder",
                                   "loop of links",  "empty path"};

// Faults that stop any file being written in the folder, rather than concerning the target.
bool HitsTheFolder(Fault fault) {
    return fault == Fault::SizeLimit || fault == Fault::ReadOnlyFolder ||
           fault == Fault::FolderRemoved || fault == Fault::FullFileSystem;
}

constexpr int kSkipped = 77;

// A folder "work" holding the target unit.odf as the fault wants it; for a full file system, a
// small tmpfs mounted on the folder.
class CFaultFolder {
public:
    explicit CFaultFolder(Fault fault) : m_fault(fault), m_path(m_scratch / "work") {
        fs::create_directories(m_path);
        fs::permissions(m_scratch.Path(), fs::perms::all); // nobody must reach the folder
        if (fault == Fault::FullFileSystem)
            m_bMounted = ::mount("tmpfs", m_path.c_str(), "tmpfs", 0, "size=64k") == 0;
        const std::string unit = m_path + "/unit.odf";
        if (fault == Fault::TargetIsFolder) {
            fs::create_directories(unit + "/inside");
        } else if (fault == Fault::LinkLoop) {
            fs::create_symlink("loop.odf", unit);
            fs::create_symlink("unit.odf", m_path + "/loop.odf");
        } else {
            std::ofstream(unit, std::ios::binary) << kOld;
            // Only the fault at hand may stop the write: in a read-only folder the file itself
            // is writable by anyone.
            const int mode = fault == Fault::ReadOnlyFile     ? 0444
                             : fault == Fault::ReadOnlyFolder ? 0666
                                                              : 0644;
            fs::permissions(unit, static_cast<fs::perms>(mode));
        }
        if (fault == Fault::ReadOnlyFile)
            fs::permissions(m_path, fs::perms::all);
        std::ofstream(m_scratch / "source.odf", std::ios::binary) << kOld;
    }
    ~CFaultFolder() {
        std::error_code ignored;
        fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
        if (m_bMounted)
            ::umount(m_path.c_str());
    }
    bool Usable() const { return m_fault != Fault::FullFileSystem || m_bMounted; }
    std::string Path() const { return m_path; }
    std::string Target() const { return m_fault == Fault::EmptyPath ? "" : m_path + "/unit.odf"; }
    // Where a Save As to a new name goes: a new file where the folder is at fault.
    std::string NewTarget() const {
        return HitsTheFolder(m_fault) ? m_path + "/new.odf" : Target();
    }

    // Every entry with what it holds: a file's bytes, a link's target, a folder's entries.
    Texts State() const {
        Texts state;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(m_path, error)) {
            std::string name = entry.path().filename().string();
            if (name == "filler")
                continue;
            if (entry.is_symlink())
                state.push_back(name + " -> " + fs::read_symlink(entry.path()).string());
            else if (entry.is_directory())
                state.push_back(name + "/ " +
                                std::to_string(std::distance(fs::directory_iterator(entry.path()),
                                                             fs::directory_iterator())));
            else
                state.push_back(name + ": " + ReadBytes(entry.path()));
        }
        std::sort(state.begin(), state.end());
        return state;
    }

private:
    CScratchDir m_scratch;
    Fault m_fault;
    std::string m_path;
    bool m_bMounted = false;
};

// In the child: applies the fault just before the write. Returns false when this machine
// cannot stage it.
bool Stage(Fault fault, const std::string& folder) {
    switch (fault) {
    case Fault::SizeLimit: {
        const rlimit limit{40, 40};
        return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    case Fault::ReadOnlyFolder:
        return ::chmod(folder.c_str(), 0555) == 0 && BecomeNobody();
    case Fault::ReadOnlyFile:
        return BecomeNobody();
    case Fault::FolderRemoved:
        fs::remove_all(folder);
        return true;
    case Fault::FullFileSystem: {
        std::ofstream filler(folder + "/filler", std::ios::binary);
        std::string block(1024, 'x');
        while (filler.write(block.data(), block.size()))
            filler.flush();
        return true;
    }
    default:
        return true;
    }
}

// For every fault (or those of only), runs write in a child after staging the fault; the child
// checks what it can see (result, messages, modified flag) and the parent checks the folder.
// prepare, when given, adds files to the folder before the fault is staged.
void ExpectFailedWrites(const std::function<int(const CFaultFolder&)>& write,
                        const std::vector<Fault>& only = {},
                        const std::function<void(const CFaultFolder&)>& prepare = {}) {
    for (std::size_t i = 0; i < std::size(kFaultNames); ++i) {
        const auto fault = static_cast<Fault>(i);
        if (!only.empty() && std::ranges::find(only, fault) == only.end())
            continue;
        SCOPED_TRACE(kFaultNames[i]);
        CFaultFolder folder(fault);
        if (prepare)
            prepare(folder);
        const Texts before = folder.State();
        int status = !folder.Usable() ? kSkipped : RunInChild([&] {
            return Stage(fault, folder.Path()) ? write(folder) : kSkipped;
        });
        if (status == kSkipped) {
            std::printf("[ SKIPPED  ] %s: cannot be staged here\n", kFaultNames[i]);
            continue;
        }
        EXPECT_EQ(status, 0);
        if (fault == Fault::FolderRemoved)
            EXPECT_FALSE(fs::exists(folder.Path())); // nothing may bring it back
        else
            EXPECT_EQ(folder.State(), before);
    }
}

// The child's checks, as an exit status naming the first that failed.
int CheckFailure(int result, const CMessageCapture& messages, const std::string& expected,
                 int modified) {
    if (result != 0)
        return 1;
    if (messages.Texts() != Texts{expected})
        return 2;
    return modified == 1 ? 0 : 3;
}

} // namespace

TEST(WriteFaults, SaveKeepsTheOldFileAndTheChanges) {
    ExpectFailedWrites([](const CFaultFolder& folder) {
        CTankFile document;
        document.SetPath(folder.Target());
        document.m_fields[6].m_bPresent = 1;
        document.m_fields[6].m_nValue = 1500;
        document.m_bModified = 1;
        CMessageCapture messages;
        int result = document.Save();
        return CheckFailure(result, messages, "Error saving tank file '" + folder.Target() + "'.",
                            document.m_bModified);
    });
}

TEST(WriteFaults, SaveAsLeavesNoFileBehindAndKeepsTheNewPath) {
    ExpectFailedWrites([](const CFaultFolder& folder) {
        const std::string path = folder.NewTarget();
        CTankFile document;
        document.Reset();
        document.m_bModified = 1;
        CMessageCapture messages;
        int result = document.SaveAs(path);
        if (document.m_strPath != path || document.m_strFileName != FileNameOf(path))
            return 4;
        return CheckFailure(result, messages, "Error saving tank file '" + path + "'.",
                            document.m_bModified);
    });
}

TEST(WriteFaults, SetFileKeepsTheOldFile) {
    ExpectFailedWrites([](const CFaultFolder& folder) {
        Texts paths(10, folder.Path() + "/some/template/path.odf");
        CMessageCapture messages;
        bool ok = WriteTemplateSetFile(folder.Target(), paths);
        return CheckFailure(ok ? 1 : 0, messages,
                            "Error writing template set file '" + folder.Target() + "'", 1);
    });
}

TEST(WriteFaults, CommandLineKeepsTheOldFile) {
    const std::vector<Texts> commands = {
        {"normalize", "unit.odf"},
        {"normalize", "-o", "unit.odf", "../source.odf"},
        // Long enough that the kept file passes the size limit.
        {"set", "unit.odf", "GameObject.unitName=" + std::string(60, 'n')},
    };
    for (const Texts& arguments : commands) {
        SCOPED_TRACE(arguments[0] + " " + arguments[1]);
        // The other faults leave the command no file to read: the command-line tests cover that.
        ExpectFailedWrites(
            [&](const CFaultFolder& folder) {
                CliResult result = RunCli(arguments, folder.Path());
                if (result.status != 2)
                    return 20 + result.status;
                return result.err == "Error saving tank file 'unit.odf'.\n" ? 0 : 9;
            },
            {Fault::SizeLimit, Fault::ReadOnlyFolder, Fault::ReadOnlyFile, Fault::FullFileSystem});
    }
}

TEST(WriteFaults, ApplyGoesOnPastAFileItCannotWrite) {
    // work/unit.odf, in the middle of the table, meets the fault; the files beside it are
    // writable by anyone. (A size limit would cut the report too, which goes to a file here.)
    ExpectFailedWrites(
        [](const CFaultFolder& folder) {
            CliResult result = RunCli({"apply", "t.csv"}, folder.Path() + "/..");
            const std::string report = "a.odf: 1 value changed\nb.odf: 1 value changed\n"
                                       "Total: 2 values changed in 2 files\n";
            if (result.status != 2 || result.out != report)
                return 20 + result.status;
            if (result.err != "Error saving tank file 'work/unit.odf'.\n")
                return 9;
            return ReadBytes(folder.Path() + "/../a.odf") == "[GameObject]\nmaxHealth = 2\n" &&
                           ReadBytes(folder.Path() + "/../b.odf") == "[GameObject]\nmaxHealth = 4\n"
                       ? 0
                       : 10;
        },
        {Fault::ReadOnlyFolder, Fault::ReadOnlyFile, Fault::FullFileSystem},
        [](const CFaultFolder& folder) {
            const std::string parent = folder.Path() + "/..";
            for (const char* name : {"a.odf", "b.odf"}) {
                WriteBytes(parent + "/" + name, "[GameObject]\nmaxHealth = 1\n");
                fs::permissions(parent + "/" + name, static_cast<fs::perms>(0666));
            }
            WriteBytes(parent + "/t.csv", "file,GameObject.maxHealth,GameObject.unitName\n"
                                          "a.odf,2,\nwork/unit.odf,3," +
                                              std::string(60, 'n') + "\nb.odf,4,\n");
        });
}
