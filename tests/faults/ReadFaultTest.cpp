// Bad input on every read path: what cannot be read gets its message and changes nothing;
// what can be read, however odd, loads with every value byte kept.

#include "AliasTable.h"
#include "ChildProcess.h"
#include "TankFile.h"
#include "TankFileWriter.h"
#include "TemplateList.h"
#include "TemplateSetFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>

using namespace tarnwick_test;

namespace {

// A document with content, a path and unsaved changes, to see that a failed load keeps them.
void PrepareDocument(CTankFile& document, const std::string& path) {
    std::ofstream(path, std::ios::binary) << "[GameObject]\nmaxHealth = 7\nbaseName = \"b\"\n";
    ASSERT_EQ(document.Load(path), 1);
    document.m_fields[6]->m_nValue = 8;
    document.m_bModified = 1;
    document.m_strAlias = "alias";
}

void ExpectUnchanged(const CTankFile& document, const std::string& path) {
    EXPECT_EQ(document.m_strPath, path);
    EXPECT_EQ(document.m_strFileName, "good.odf");
    EXPECT_EQ(document.m_bModified, 1);
    EXPECT_EQ(document.m_strAlias, "alias");
    EXPECT_EQ(document.m_fields[6]->m_nValue, 8);
    EXPECT_EQ(document.m_fields[0]->m_strValue, "b");
    EXPECT_EQ(document.m_fields[0]->m_bPresent, 1);
}

} // namespace

TEST(ReadFaults, UnreadablePathsChangeNothing) {
    CScratchDir scratch;
    const std::string good = scratch / "good.odf";
    ::mkfifo((scratch / "fifo.odf").c_str(), 0666);
    fs::create_directory(scratch / "folder.odf");
    fs::create_symlink("loop-b.odf", scratch / "loop-a.odf");
    fs::create_symlink("loop-a.odf", scratch / "loop-b.odf");
    for (const char* name : {"folder.odf", "fifo.odf", "loop-a.odf", "missing.odf"}) {
        SCOPED_TRACE(name);
        CTankFile document;
        PrepareDocument(document, good);
        CMessageCapture messages;
        EXPECT_EQ(document.Load(scratch / name), 0);
        EXPECT_EQ(messages.Texts(),
                  std::vector<std::string>{"Error opening tank file '" + (scratch / name) + "'."});
        ExpectUnchanged(document, good);

        CAliasTable aliases;
        aliases.LoadText("a.odf A\n");
        EXPECT_EQ(aliases.Load(scratch / name), 0);
        EXPECT_TRUE(aliases.m_names.empty());

        messages.Clear();
        std::vector<std::string> paths{"kept"};
        EXPECT_FALSE(ReadTemplateSetFile(scratch / name, paths));
        EXPECT_EQ(paths, std::vector<std::string>{"kept"});
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Error opening template set file '" +
                                                             (scratch / name) + "'"});
    }
}

TEST(ReadFaults, FileWithoutReadPermissionChangesNothing) {
    CScratchDir scratch;
    fs::permissions(scratch.Path(), fs::perms::all);
    const std::string good = scratch / "good.odf";
    const std::string locked = scratch / "locked.odf";
    std::ofstream(locked) << "[GameObject]\nmaxHealth = 99\n";
    fs::permissions(locked, fs::perms::owner_write);
    int status = RunInChild([&] {
        CTankFile document;
        PrepareDocument(document, good);
        fs::permissions(good, fs::perms::all);
        if (!BecomeNobody())
            return 77;
        CMessageCapture messages;
        if (document.Load(locked) != 0)
            return 1;
        if (messages.Texts() !=
            std::vector<std::string>{"Error opening tank file '" + locked + "'."})
            return 2;
        return document.m_fields[6]->m_nValue == 8 && document.m_bModified == 1 ? 0 : 3;
    });
    if (status == 77)
        GTEST_SKIP() << "cannot drop privileges here";
    EXPECT_EQ(status, 0);
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
    std::ofstream(path, std::ios::binary)
        << junk << "\n[GameObject]\nbaseName = \"" << value << "\"\n"
        << junk << "\n";

    CTankFile document;
    ASSERT_EQ(document.Load(path), 1);
    EXPECT_EQ(document.m_fields[0]->m_strValue, value);
    ASSERT_EQ(document.Save(), 1);
    CTankFile again;
    ASSERT_EQ(again.Load(path), 1);
    EXPECT_EQ(again.m_fields[0]->m_strValue, value);
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
    EXPECT_EQ(document.m_fields[6]->m_nValue, 4095);

    const std::string longLine = scratch / "line.odf";
    const std::string value(10 * 1024 * 1024, 'x');
    std::ofstream(longLine, std::ios::binary) << "[GameObject]\nbaseName = \"" << value << "\"\n";
    ASSERT_EQ(document.Load(longLine), 1);
    EXPECT_EQ(document.m_fields[0]->m_strValue, value);
}

TEST(ReadFaults, SetOfThousandsOfMissingFilesReportsEachOnce) {
    CScratchDir scratch;
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += (scratch / ("missing" + std::to_string(i) + ".odf")) + "\n";
    std::ofstream(scratch / "set.txt") << text;

    std::vector<std::string> paths;
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
