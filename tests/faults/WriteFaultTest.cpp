// Every write path meets a failing write: a file size limit hit part-way, a folder or a file
// without write permission, a folder removed before saving, a full file system, a target that is
// a folder or a loop of links, an empty path. Each must report its message once, leave the
// folder as it was byte for byte (no temporary file either) and keep the document modified.

#include "ChildProcess.h"
#include "CliRunner.h"
#include "TankFile.h"
#include "TemplateSetFile.h"

#include <cstring>
#include <sys/mount.h>
#include <sys/resource.h>

using namespace tarnwick_test;

namespace {

enum Fault {
    kSizeLimit,
    kReadOnlyFolder,
    kReadOnlyFile,
    kFullFileSystem,
    kFolderRemoved, // the faults from here on leave a command no file to read
    kTargetIsFolder,
    kLinkLoop,
    kEmptyPath,
    kFaultCount
};
const char* const kFaultNames[] = {"size limit",       "read-only folder", "read-only file",
                                   "full file system", "folder removed",   "target is a folder",
                                   "loop of links",    "empty path"};
// The error the user is told of for each, after the message.
const int kFaultErrors[] = {EFBIG, EACCES, EACCES, ENOSPC, ENOENT, EISDIR, ELOOP, ENOENT};

// In the test: work/unit.odf as the fault wants it. False when this machine cannot stage it.
bool Prepare(Fault fault, const std::string& work) {
    const std::string unit = work + "/unit.odf";
    if (fault == kFullFileSystem && ::mount("tmpfs", work.c_str(), "tmpfs", 0, "size=64k") != 0)
        return false;
    if (fault == kTargetIsFolder)
        return fs::create_directories(unit + "/inside");
    if (fault == kLinkLoop) {
        fs::create_symlink("loop.odf", unit);
        fs::create_symlink("unit.odf", work + "/loop.odf");
        return true;
    }
    WriteBytes(unit, "[GameObject]\n\nmaxHealth = 10\n\n");
    // Only the fault at hand may stop the write: in a read-only folder the file is writable, a
    // read-only file stands in a folder open to anyone.
    fs::permissions(unit, fs::perms(fault == kReadOnlyFile ? 0444 : 0666));
    if (fault == kReadOnlyFile)
        fs::permissions(work, fs::perms::all);
    return true;
}

// In the child, just before the write.
bool Stage(Fault fault, const std::string& work) {
    // Above the length of a message: the command line's stderr is a file under the limit too.
    const rlimit limit{64, 64};
    if (fault == kSizeLimit)
        return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    if (fault == kReadOnlyFolder && ::chmod(work.c_str(), 0555) != 0)
        return false;
    if (fault == kFolderRemoved)
        fs::remove_all(work);
    if (fault == kFullFileSystem) {
        std::ofstream filler(work + "/filler");
        while (filler << std::string(1024, 'x') << std::flush) {
        }
    }
    return fault == kReadOnlyFolder || fault == kReadOnlyFile ? BecomeNobody() : true;
}

// Everything in folder with what it holds: a file's bytes, a link's target.
Texts StateOf(const std::string& folder) {
    Texts state;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
        const std::string path = entry.path().string();
        if (entry.is_symlink())
            state.push_back(path + " -> " + fs::read_symlink(entry.path()).string());
        else if (entry.path().filename() != "filler")
            state.push_back(path + ": " + (entry.is_directory() ? "folder" : ReadBytes(path)));
    }
    std::ranges::sort(state);
    return state;
}

// For the faults before end, runs write in a child after staging the fault: the child checks
// what it can see (results, messages, modified flags) and returns 0 when all is well; the test
// checks the folder.
void ExpectFailedWrites(const std::function<int(Fault, const std::string& work)>& write,
                        Fault end = kFaultCount) {
    for (int i = 0; i < end; ++i) {
        const auto fault = static_cast<Fault>(i);
        SCOPED_TRACE(kFaultNames[fault]);
        CScratchDir scratch;
        const std::string work = scratch / "work";
        fs::create_directories(work);
        fs::permissions(scratch.Path(), fs::perms::all); // nobody must reach the folder
        WriteBytes(scratch / "source.odf", "[GameObject]\n");
        const Texts before = Prepare(fault, work) ? StateOf(work) : Texts{};
        ExpectChildPasses(
            [&] { return !before.empty() && Stage(fault, work) ? write(fault, work) : kSkipped; },
            kFaultNames[fault]);
        // Nothing may bring a removed folder back.
        const Texts gone{"(removed)"};
        if (!before.empty()) {
            EXPECT_EQ(fs::exists(work) ? StateOf(work) : gone,
                      fault == kFolderRemoved ? gone : before);
        }
        ::umount(work.c_str());
        std::error_code ignored;
        fs::permissions(work, fs::perms::owner_all, fs::perm_options::add, ignored);
    }
}

} // namespace

TEST(WriteFaults, CoreWritesAndTheCommandLineKeepTheOldFileAndTheChanges) {
    ExpectFailedWrites([](Fault fault, const std::string& work) {
        // A Save As to a new name writes a new file where the fault concerns the whole folder.
        const std::string target = fault == kEmptyPath ? "" : work + "/unit.odf";
        const std::string newTarget =
            fault == kReadOnlyFile || fault > kFolderRemoved ? target : work + "/new.odf";
        CMessageCapture messages;
        CTankFile document, renamed;
        document.SetPath(target);
        Field(document, "GameObject.maxHealth").m_bPresent = true;
        renamed.Reset();
        document.m_bModified = renamed.m_bModified = true;
        if (document.Save() || renamed.SaveAs(newTarget) ||
            WriteTemplateSetFile(target, Texts(10, work + "/some/path.odf")))
            return 1;
        // A failed Save As leaves the document where it was: untitled.
        if (document.m_bModified != 1 || renamed.m_bModified != 1 ||
            renamed.m_strPath != kUntitledName || !renamed.IsUntitled())
            return 2;
        const std::string why = std::string(" (") + std::strerror(kFaultErrors[fault]) + ")";
        return messages.Lines() == Texts{"Error saving tank file '" + target + "'." + why,
                                         "Error saving tank file '" + newTarget + "'." + why,
                                         "Error writing template set file '" + target + "'" + why}
                   ? 0
                   : 3;
    });

    ExpectFailedWrites(
        [](Fault fault, const std::string& work) {
            // Long enough that the kept file passes the size limit.
            const std::vector<Texts> commands = {
                {"normalize", "unit.odf"},
                {"normalize", "-o", "unit.odf", "../source.odf"},
                {"set", "unit.odf", "GameObject.unitName=" + std::string(60, 'n')}};
            const std::string why = std::string(" (") + std::strerror(kFaultErrors[fault]) + ")\n";
            for (std::size_t i = 0; i < commands.size(); ++i) {
                if (RunCli(commands[i], work) !=
                    CliResult{2, "", "Error saving tank file 'unit.odf'." + why})
                    return 10 + static_cast<int>(i);
            }
            if (fault == kSizeLimit)
                return 0; // it would cut apply's report too
            // work/unit.odf, in the middle of the table, meets the fault; apply goes on past it.
            const std::string parent = work + "/..";
            for (const char* name : {"a.odf", "b.odf"})
                WriteBytes(parent + "/" + name, "[GameObject]\nmaxHealth = 1\n");
            WriteBytes(parent + "/t.csv", "file,GameObject.maxHealth,GameObject.unitName\n"
                                          "a.odf,2,\nwork/unit.odf,3," +
                                              std::string(60, 'n') + "\nb.odf,4,\n");
            const CliResult applied{2,
                                    "a.odf: 1 value changed\nb.odf: 1 value changed\n"
                                    "Total: 2 values changed in 2 files\n",
                                    "Error saving tank file 'work/unit.odf'." + why};
            return RunCli({"apply", "t.csv"}, parent) == applied &&
                           ReadBytes(parent + "/a.odf") == "[GameObject]\nmaxHealth = 2\n" &&
                           ReadBytes(parent + "/b.odf") == "[GameObject]\nmaxHealth = 4\n"
                       ? 0
                       : 20;
        },
        kFolderRemoved);
}
