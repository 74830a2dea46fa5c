// The model's lookups, paths and reset. The schema's rows themselves are pinned by the golden
// output of `tarnwick-cli schema`.

#include "Schema.h"
#include "TankFile.h"
#include "TestSupport.h"

namespace {

using namespace tarnwick_test;

// What New shows of it is the window tests' concern; the line ends and alias are not shown.
TEST(TankFile, ResetClearsAllButTheAlias) {
    CTankFile file;
    ASSERT_EQ(file.Load(DataPath("model/apc.odf")), 1); // every type of value, CR LF
    EXPECT_FALSE(file.IsUntitled());
    file.m_bModified = 1;
    file.m_strAlias = "ALI";
    file.Reset();
    EXPECT_EQ(file.m_bModified + file.m_bCrLf, 0);
    EXPECT_EQ(file.m_strPath + " " + file.m_strFileName + " " + file.m_strAlias,
              "Untitled.odf Untitled.odf ALI");
    EXPECT_TRUE(file.IsUntitled());

    // The file name is the text after the last slash of either kind; a file named as a new
    // document is not one.
    const std::pair<std::string, std::string> paths[] = {{"C:\\tanks\\a.odf", "a.odf"},
                                                         {"/home/x\\y/c.odf", "c.odf"},
                                                         {"Untitled.odf", "Untitled.odf"},
                                                         {"dir/", ""},
                                                         {"", ""}};
    for (const auto& [path, name] : paths) {
        file.SetPath(path);
        EXPECT_EQ(file.m_strPath + " " + file.m_strFileName, path + " " + name);
        EXPECT_FALSE(file.IsUntitled());
    }
}

TEST(Schema, FindGroupMatchesTheBracketAndNameAsAPrefixIgnoringAsciiCase) {
    // Each group name with every header text that must select it.
    const std::vector<std::pair<std::string, Texts>> table = {
        {"GameObject",
         {"[GameObject]", "[GameObjectClass]", "[GameObject", "[gameobject]", "[GAMEOBJECTCLASS]"}},
        {"HovercraftClass", {"[HovercraftClass]", "[HoverCraftClass]"}},
        {"TurrettankClass", {"[TurretTankClass]"}},
        {"WalkerClass", {"[WalkerClass" + std::string(5000, 'x') + "]"}},
        {"(none)",
         {"[Craft]", "[Game]", "GameObject", "xGameObject]", " [GameObject]", "[", "",
          "[G\xc3\x84meObject]", "[" + std::string(5000, 'W') + "]"}},
    };
    for (const auto& [name, headers] : table) {
        for (const std::string& header : headers) {
            const CFieldGroup* group = CSchema::Get().FindGroup(header);
            EXPECT_EQ(group ? group->m_strName : "(none)", name) << header.substr(0, 40);
        }
    }
}

TEST(TankFile, FindFieldNeedsTheWholeKeyInTheGivenGroupIgnoringAsciiCase) {
    CTankFile file;
    const CFieldGroup* game = &file.m_groups[0];
    EXPECT_EQ(file.FindField("setAltitude", &file.m_groups[2]), &file.m_fields[49]);
    EXPECT_EQ(file.FindField("setaltitude", &file.m_groups[3]), &file.m_fields[69]);
    EXPECT_EQ(file.FindField("maxHealth", game), &file.m_fields[6]);
    EXPECT_EQ(file.FindField("MAXHEALTH", game), &file.m_fields[6]);
    EXPECT_EQ(file.FindField("weaponMask", game), &file.m_fields[22]);
    EXPECT_EQ(file.m_fields[22].Name(), "weaponmask"); // written as the schema spells it
    const std::string wrongKeys[] = {"setAltitude",         "maxHealth ", "maxHealt",
                                     " maxHealth",          "",           "maxHealth\xc3\x84",
                                     std::string(4000, 'a')};
    for (const std::string& key : wrongKeys)
        EXPECT_EQ(file.FindField(key, game), nullptr) << key.substr(0, 20);
    EXPECT_EQ(file.FindField("maxHealth", nullptr), nullptr);
}

} // namespace
