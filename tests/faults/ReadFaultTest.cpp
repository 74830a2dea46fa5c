// Bad input on every read path (document, template, alias file, template set file): what cannot
// be read gets its message and changes nothing. Odd bytes that can be read are the golden pairs'
// and the fuzzers' concern.

#include "AliasTable.h"
#include "ChildProcess.h"
#include "TankFile.h"
#include "TemplateList.h"
#include "TemplateSetFile.h"
#include "TestSupport.h"

#include <sys/resource.h>
#include <sys/stat.h>

using namespace tarnwick_test;

namespace {

// Everything a failed load must leave alone, the slots of absent fields included.
Texts Snapshot(const CTankFile& file) {
    Texts state{file.Text(), file.m_strPath, file.m_strFileName, file.m_strAlias,
                std::to_string(file.m_bModified) + std::to_string(file.m_bCrLf)};
    for (const auto& field : file.m_fields)
        state.push_back(std::to_string(field.m_bPresent) + field.m_strValue + "|" +
                        std::to_string(field.m_nValue));
    return state;
}

// 0 when every read path refuses path as it should, saying why with reason; otherwise the number
// of the first check that failed. It reports rather than asserts, since it runs in a child. good
// is a readable tank file.
int CheckRefused(const std::string& path, const std::string& reason, const std::string& good) {
    CTankFile document;
    CTemplateList templates;
    CAliasTable aliases;
    if (document.Load(good) != 1 || templates.LoadTemplate(good, aliases) != 1)
        return 1;
    Field(document, "GameObject.unitName").m_strValue =
        "stale slot"; // an absent field keeps an old value
    Field(document, "GameObject.maxHealth").m_nValue = 13;
    document.m_bModified = true;
    document.m_strAlias = "alias";
    const Texts before = Snapshot(document);
    // An empty path is no file at all: the document's load says nothing.
    const Texts opening =
        path.empty() ? Texts{} : Texts{"Error opening tank file '" + path + "'. (" + reason + ")"};
    CMessageCapture messages;
    if (document.Load(path) != 0 || Snapshot(document) != before)
        return 2;
    if (messages.Lines() != opening)
        return 3;

    const CTankFile* first = &templates.At(0);
    messages.Clear();
    if (templates.LoadTemplate(path, aliases) != 0 || templates.Size() != 1 ||
        &templates.At(0) != first)
        return 4;
    Texts loading = opening;
    loading.push_back("Error loading tank file '" + path + "'.");
    if (messages.Lines() != loading)
        return 5;

    // The alias file's reader stays silent, and tells its caller why; the set file's names the
    // file.
    aliases.LoadText("a.odf A\n");
    messages.Clear();
    std::error_code error;
    if (aliases.Load(path, &error) != 0 || !aliases.m_names.empty() || !aliases.m_aliases.empty() ||
        error.message() != reason)
        return 6;
    Texts paths{"kept"};
    if (ReadTemplateSetFile(path, paths) || paths != Texts{"kept"})
        return 7;
    return messages.Lines() ==
                   Texts{"Error opening template set file '" + path + "' (" + reason + ")"}
               ? 0
               : 8;
}

} // namespace

TEST(ReadFaults, UnreadablePathsChangeNothing) {
    CScratchDir scratch;
    const std::string good = scratch / "good.odf", locked = scratch / "locked.odf",
                      huge = scratch / "huge.odf";
    WriteBytes(good, "[GameObject]\r\nmaxHealth = 7\r\nbaseName = \"b\"\r\n");
    ASSERT_EQ(::mkfifo((scratch / "fifo.odf").c_str(), 0666), 0);
    fs::create_directory(scratch / "folder.odf");
    fs::create_symlink("loop-b.odf", scratch / "loop-a.odf");
    fs::create_symlink("loop-a.odf", scratch / "loop-b.odf");
    WriteBytes(locked, "[GameObject]\nmaxHealth = 99\n");
    fs::permissions(locked, fs::perms::owner_write);
    fs::permissions(scratch.Path(), fs::perms::all); // nobody must reach the files
    fs::permissions(good, fs::perms::all);
    WriteBytes(huge, "[GameObject]\n");
    fs::resize_file(huge, std::uintmax_t{8} << 30); // sparse: no disk space used
    struct stat st {};
    // Each path, with the reason it is refused for and what a child does first to make it
    // unreadable.
    const std::string notThere = "No such file or directory", notRegular = "not a regular file";
    const std::vector<std::tuple<std::string, std::string, std::function<bool()>>> cases = {
        {scratch / "folder.odf", "Is a directory", {}},
        {scratch / "fifo.odf", notRegular, {}},
        {scratch / "loop-a.odf", "Too many levels of symbolic links", {}},
        {scratch / "missing%s%d.odf", notThere, {}},
        {"/dev/null", notRegular, {}},
        {"", notThere, {}},
        // A regular file whose first read fails: the kernel refuses reads of unmapped memory.
        {"/proc/self/mem", "Input/output error",
         [&] { return ::stat("/proc/self/mem", &st) == 0 && S_ISREG(st.st_mode); }},
        {locked, "Permission denied", BecomeNobody},
        // A file larger than the memory the program may have: running out of memory must fail
        // like an unreadable file instead of ending the program (and the editor with its
        // unsaved work). The limit makes that certain whatever the machine has; the address
        // sanitizer needs more address space than it leaves.
        {huge, "larger than the memory available",
         [] {
#if defined(__SANITIZE_ADDRESS__)
             return false;
#endif
             const rlimit limit{std::size_t{512} << 20, std::size_t{512} << 20};
             return ::setrlimit(RLIMIT_AS, &limit) == 0;
         }},
    };
    for (const auto& [path, reason, stage] : cases)
        ExpectChildPasses(
            [&] { return !stage || stage() ? CheckRefused(path, reason, good) : kSkipped; },
            "path '" + path + "'");
}
