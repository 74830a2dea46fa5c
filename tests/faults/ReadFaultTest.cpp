// Bad input on every read path (document, template, alias file, template set file): what cannot
// be read gets its message and changes nothing; what can be read, however odd, loads with every
// value byte kept.

#include "AliasTable.h"
#include "ChildProcess.h"
#include "CliRunner.h"
#include "TankFile.h"
#include "TankFileWriter.h"
#include "TemplateList.h"
#include "TemplateSetFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace tarnwick_test;

namespace {

// Everything a failed load must leave alone, the slots of absent fields included.
struct Snapshot {
    std::string text, path, fileName, alias;
    int modified, crLf;
    Texts slots;

    explicit Snapshot(const CTankFile& file)
        : text(WriteTankText(file)), path(file.m_strPath), fileName(file.m_strFileName),
          alias(file.m_strAlias), modified(file.m_bModified), crLf(file.m_bCrLf) {
        for (const auto& field : file.m_fields)
            slots.push_back(std::to_string(field.m_bPresent) + "|" + field.m_strValue + "|" +
                            std::to_string(field.m_nValue));
    }
    bool operator==(const Snapshot&) const = default;
};

// 0 when every read path refuses path as it should; otherwise the number of the first check that
// failed. It reports rather than asserts so that it can run in a child as another user. good is
// a readable tank file.
int CheckRefused(const std::string& path, const std::string& good) {
    CTankFile document;
    CTemplateList templates;
    CAliasTable aliases;
    if (document.Load(good) != 1 || templates.LoadTemplate(good, aliases) != 1)
        return 1;
    document.m_fields[8].m_strValue = "stale slot"; // an absent field keeps an old value
    document.m_fields[6].m_nValue = 13;
    document.m_bModified = 1;
    document.m_strAlias = "alias";
    const Snapshot before(document);
    // An empty path is no file at all: the document's load says nothing.
    const Texts opening = path.empty() ? Texts{} : Texts{"Error opening tank file '" + path + "'."};
    CMessageCapture messages;
    if (document.Load(path) != 0 || !(Snapshot(document) == before))
        return 2;
    if (messages.Texts() != opening)
        return 3;

    const CTankFile* first = &templates.At(0);
    messages.Clear();
    if (templates.LoadTemplate(path, aliases) != 0 || templates.Size() != 1 ||
        &templates.At(0) != first)
        return 4;
    Texts loading = opening;
    loading.push_back("Error loading tank file '" + path + "'.");
    if (messages.Texts() != loading)
        return 5;

    // The alias file's reader stays silent; the set file's names the file.
    aliases.LoadText("a.odf A\n");
    messages.Clear();
    if (aliases.Load(path) != 0 || !aliases.m_names.empty() || !aliases.m_aliases.empty())
        return 6;
    Texts paths{"kept"};
    if (ReadTemplateSetFile(path, paths) || paths != Texts{"kept"})
        return 7;
    return messages.Texts() == Texts{"Error opening template set file '" + path + "'"} ? 0 : 8;
}

} // namespace

TEST(ReadFaults, UnreadablePathsChangeNothing) {
    CScratchDir scratch;
    const std::string good = scratch / "good.odf";
    WriteBytes(good, "[GameObject]\r\nmaxHealth = 7\r\nbaseName = \"b\"\r\n");
    ASSERT_EQ(::mkfifo((scratch / "fifo.odf").c_str(), 0666), 0);
    fs::create_directory(scratch / "folder.odf");
    fs::create_symlink("loop-b.odf", scratch / "loop-a.odf");
    fs::create_symlink("loop-a.odf", scratch / "loop-b.odf");
    Texts paths = {scratch / "folder.odf",
                   scratch / "fifo.odf",
                   scratch / "loop-a.odf",
                   scratch / "missing.odf",
                   scratch / "missing%s%d.odf",
                   "/dev/null",
                   ""};
    // A regular file whose first read fails: the kernel refuses reads of unmapped memory.
    struct stat st {};
    if (::stat("/proc/self/mem", &st) == 0 && S_ISREG(st.st_mode))
        paths.push_back("/proc/self/mem");
    for (const std::string& path : paths)
        EXPECT_EQ(CheckRefused(path, good), 0) << "path '" << path << "'";
}

TEST(ReadFaults, FileWithoutReadPermissionChangesNothing) {
    CScratchDir scratch;
    fs::permissions(scratch.Path(), fs::perms::all);
    const std::string good = scratch / "good.odf";
    const std::string locked = scratch / "locked.odf";
    WriteBytes(good, "[GameObject]\nmaxHealth = 7\n");
    WriteBytes(locked, "[GameObject]\nmaxHealth = 99\n");
    fs::permissions(good, fs::perms::all);
    fs::permissions(locked, fs::perms::owner_write);
    int status = RunInChild([&] { return BecomeNobody() ? CheckRefused(locked, good) : 77; });
    if (status == 77)
        GTEST_SKIP() << "cannot drop privileges here";
    EXPECT_EQ(status, 0);
}

// A file larger than the memory the program may have: reading it runs out of memory, which must
// fail like an unreadable file instead of ending the program (and the editor with its unsaved
// work). The memory limit makes that certain whatever the machine has.
TEST(ReadFaults, FileTooLargeForMemoryChangesNothing) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer needs more address space than the limit leaves";
#else
    CScratchDir scratch;
    const std::string good = scratch / "good.odf";
    const std::string huge = scratch / "huge.odf";
    WriteBytes(good, "[GameObject]\nmaxHealth = 7\n");
    WriteBytes(huge, "[GameObject]\n");
    fs::resize_file(huge, std::uintmax_t{8} << 30); // sparse: no disk space used
    const int status = RunInChild([&] {
        const rlimit limit{std::size_t{512} << 20, std::size_t{512} << 20};
        if (::setrlimit(RLIMIT_AS, &limit) != 0)
            return 77;
        if (int refused = CheckRefused(huge, good))
            return refused;
        CliResult dump = RunCli({"dump", huge});
        return dump.status == 2 && dump.err == "Error opening tank file '" + huge + "'.\n" ? 0 : 20;
    });
    if (status == 77)
        GTEST_SKIP() << "cannot limit memory here";
    EXPECT_EQ(status, 0);
#endif
}

TEST(ReadFaults, OddBytesLoadAndKeepEveryValueByte) {
    CScratchDir scratch;
    const std::string path = scratch / "odd.odf";
    // NUL bytes, invalid UTF-8 and stray CRs inside a value, and random binary junk around it.
    const std::string value = std::string("a\0b\xff\xfe\xc3(\r z", 10);
    std::mt19937 random(7);
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk += static_cast<char>(random() & 0xff);
    std::erase(junk, '[');
    WriteBytes(path, junk + "\n[GameObject]\nbaseName = \"" + value + "\"\n" + junk + "\n");

    CTankFile document;
    ASSERT_EQ(document.Load(path), 1);
    EXPECT_EQ(document.m_fields[0].m_strValue, value);
    ASSERT_EQ(document.Save(), 1);
    CTankFile again;
    ASSERT_EQ(again.Load(path), 1);
    EXPECT_EQ(again.m_fields[0].m_strValue, value);
}

TEST(ReadFaults, HugeFilesAndLinesLoadWhole) {
    CScratchDir scratch;
    const std::string big = scratch / "big.odf";
    {
        std::ofstream out(big, std::ios::binary);
        out << "[GameObject]\n";
        std::string lines;
        for (int i = 0; i < 4096; ++i)
            lines += "maxHealth = " + std::to_string(i) + " // padding padding\n";
        while (out.tellp() < 50 * 1024 * 1024)
            out << lines;
    }
    CTankFile document;
    ASSERT_EQ(document.Load(big), 1);
    EXPECT_EQ(document.m_fields[6].m_nValue, 4095);

    const std::string value(10 * 1024 * 1024, 'x');
    WriteBytes(scratch / "line.odf", "[GameObject]\nbaseName = \"" + value + "\"\n");
    ASSERT_EQ(document.Load(scratch / "line.odf"), 1);
    EXPECT_EQ(document.m_fields[0].m_strValue, value);
}

TEST(ReadFaults, SetOfThousandsOfMissingFilesReportsEachOnce) {
    CScratchDir scratch;
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += (scratch / ("missing" + std::to_string(i) + ".odf")) + "\n";
    WriteBytes(scratch / "set.txt", text);

    Texts paths;
    ASSERT_TRUE(ReadTemplateSetFile(scratch / "set.txt", paths));
    ASSERT_EQ(paths.size(), 3000u);
    CTemplateList templates;
    CAliasTable aliases;
    CMessageCapture messages;
    for (const std::string& path : paths)
        templates.LoadTemplate(path, aliases);
    EXPECT_TRUE(templates.Empty());
    ASSERT_EQ(messages.Texts().size(), 6000u);
    EXPECT_EQ(messages.Texts()[4], "Error opening tank file '" + paths[2] + "'.");
    EXPECT_EQ(messages.Texts()[5], "Error loading tank file '" + paths[2] + "'.");
}
