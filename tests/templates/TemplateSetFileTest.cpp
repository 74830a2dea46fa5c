// Template set files: one tank file path a line.

#include "TemplateSetFile.h"
#include "AliasTable.h"
#include "TemplateList.h"
#include "TestSupport.h"

namespace {

using namespace tarnwick_test;

using Paths = std::vector<std::string>;

TEST(TemplateSetFile, ReadTakesEveryLineAsAPath) {
    CScratchDir dir;
    const std::string longPath = "/" + std::string(3000, 'p') + ".odf";
    const struct {
        std::string bytes;
        Paths want;
    } cases[] = {
        {"", {}},
        {"\n", {""}},
        {"/a.odf\n/b.odf\n", {"/a.odf", "/b.odf"}},
        {"/a.odf\n/b.odf", {"/a.odf", "/b.odf"}},
        {"/a.odf\r\nb c.odf \r\n", {"/a.odf", "b c.odf "}},
        {"/a.odf\n\n\n/b.odf\n", {"/a.odf", "", "", "/b.odf"}},
        {"x\r\r\n", {"x\r"}},
        {longPath + "\n\xe9t\xc3\xa9.odf\n", {longPath, "\xe9t\xc3\xa9.odf"}},
    };
    CMessageCapture messages;
    for (const auto& c : cases) {
        WriteBytes(dir / "set.txt", c.bytes);
        Paths paths{"left over"};
        ASSERT_TRUE(ReadTemplateSetFile(dir / "set.txt", paths));
        EXPECT_EQ(paths, c.want) << "bytes \"" << c.bytes.substr(0, 40) << "\"";
    }
    EXPECT_TRUE(messages.Texts().empty());
}

TEST(TemplateSetFile, UnreadableSetFileIsReported) {
    CScratchDir dir;
    for (const std::string& path : {dir / "missing.txt", dir.Path().string()}) {
        CMessageCapture messages;
        Paths paths{"kept"};
        EXPECT_FALSE(ReadTemplateSetFile(path, paths));
        EXPECT_EQ(paths, Paths{"kept"});
        EXPECT_EQ(messages.Texts(), Paths{"Error opening template set file '" + path + "'"});
    }
}

TEST(TemplateSetFile, WriteUsesLfAndReadsBack) {
    CScratchDir dir;
    CMessageCapture messages;
    const Paths paths{"/t/a.odf", "C:\\tanks\\b.odf", "rel ative.odf", "/t/a.odf"};
    ASSERT_TRUE(WriteTemplateSetFile(dir / "set.txt", paths));
    EXPECT_EQ(ReadBytes(dir / "set.txt"), "/t/a.odf\nC:\\tanks\\b.odf\nrel ative.odf\n/t/a.odf\n");
    Paths back;
    ASSERT_TRUE(ReadTemplateSetFile(dir / "set.txt", back));
    EXPECT_EQ(back, paths);

    ASSERT_TRUE(WriteTemplateSetFile(dir / "set.txt", {}));
    EXPECT_EQ(ReadBytes(dir / "set.txt"), "");
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(dir.Entries(), Paths{"set.txt"});
}

TEST(TemplateSetFile, FailedWriteKeepsTheOldFile) {
    CScratchDir dir;
    WriteBytes(dir / "old.txt", "/old.odf\n");
    fs::create_directory(dir.Path() / "folder.txt");
    const auto before = dir.Entries();
    for (const std::string& path : {dir / "missing/set.txt", dir / "folder.txt", std::string()}) {
        CMessageCapture messages;
        EXPECT_FALSE(WriteTemplateSetFile(path, {"/new.odf"}));
        EXPECT_EQ(messages.Texts(), Paths{"Error writing template set file '" + path + "'"});
    }
    EXPECT_EQ(dir.Entries(), before);
    EXPECT_TRUE(fs::is_empty(dir.Path() / "folder.txt"));

    if (PermissionsAreEnforced(dir)) {
        fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
        CMessageCapture messages;
        EXPECT_FALSE(WriteTemplateSetFile(dir / "old.txt", {"/new.odf"}));
        fs::permissions(dir.Path(), fs::perms::owner_all);
        EXPECT_EQ(messages.Texts().size(), 1u);
        EXPECT_EQ(dir.Entries(), before);
    }
    EXPECT_EQ(ReadBytes(dir / "old.txt"), "/old.odf\n");
}

// Saving the list's paths and loading them back gives the same templates in the same order;
// a path that no longer loads is reported and skipped.
TEST(TemplateSetFile, SavedSetLoadsTheSameTemplates) {
    CScratchDir dir;
    WriteBytes(dir / "one.odf", "[GameObject]\nmaxAmmo = 1\n");
    WriteBytes(dir / "two.odf", "[GameObject]\nmaxAmmo = 2\n");
    WriteBytes(dir / "gone.odf", "[GameObject]\n");
    WriteBytes(dir / "alias.txt", "ONE.ODF First\n");
    CAliasTable aliases;
    ASSERT_EQ(aliases.Load(dir / "alias.txt"), 1);

    CTemplateList list;
    for (const char* name : {"one.odf", "gone.odf", "two.odf"})
        ASSERT_EQ(list.LoadTemplate(dir / name, aliases), 1);
    ASSERT_TRUE(WriteTemplateSetFile(dir / "set.txt", list.Paths()));
    fs::remove(dir.Path() / "gone.odf");

    Paths paths;
    ASSERT_TRUE(ReadTemplateSetFile(dir / "set.txt", paths));
    CTemplateList loaded;
    CMessageCapture messages;
    for (const std::string& path : paths)
        loaded.LoadTemplate(path, aliases);
    const std::string gone = dir / "gone.odf";
    EXPECT_EQ(messages.Texts(), (Paths{"Error opening tank file '" + gone + "'.",
                                       "Error loading tank file '" + gone + "'."}));
    ASSERT_EQ(loaded.Size(), 2u);
    EXPECT_EQ(loaded.At(0).m_strAlias, "First");
    EXPECT_EQ(loaded.At(0).m_fields[7]->m_nValue, 1);
    EXPECT_EQ(loaded.At(1).m_strAlias, "");
    EXPECT_EQ(loaded.At(1).m_fields[7]->m_nValue, 2);
}

} // namespace
