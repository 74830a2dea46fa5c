// The model's lookups and reset. The schema's rows themselves are pinned by the golden output of
// `tarnwick-cli schema`.

#include "TankFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(TankFile, NewObjectIsEmptyAndResetClearsAllButTheAlias) {
    CTankFile file;
    auto expectCleared = [&] {
        for (const CFieldEntry& field : file.m_fields) {
            EXPECT_FALSE(field.m_bPresent);
            EXPECT_EQ(field.m_strValue, "");
            EXPECT_EQ(field.m_nValue, 0);
        }
        EXPECT_EQ(file.m_bModified, 0);
        EXPECT_EQ(file.m_bCrLf, 0);
        EXPECT_EQ(file.FileLines(), nullptr);
    };
    expectCleared();
    EXPECT_EQ(file.m_strPath + file.m_strFileName + file.m_strAlias, "");
    EXPECT_FALSE(file.IsUntitled());

    for (CFieldEntry& field : file.m_fields) {
        field.m_bPresent = true;
        field.m_strValue = "x";
        field.m_nValue = 7;
    }
    file.m_bModified = 1;
    file.m_bCrLf = 1;
    file.m_strAlias = "ALI";
    file.SetPath("/some/where/tank.odf");
    file.Reset();
    expectCleared();
    EXPECT_EQ(file.m_strPath, "Untitled.odf");
    EXPECT_EQ(file.m_strFileName, "Untitled.odf");
    EXPECT_EQ(file.m_strAlias, "ALI");
    EXPECT_TRUE(file.IsUntitled());
    file.SetPath("Untitled.odf"); // a file of that name is not a new document
    EXPECT_FALSE(file.IsUntitled());
}

TEST(TankFile, FindGroupMatchesTheBracketAndNameAsAPrefixIgnoringAsciiCase) {
    CTankFile file;
    // Each group name with every header text that must select it.
    const std::vector<std::pair<std::string, std::vector<std::string>>> table = {
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
            const CFieldGroup* group = file.FindGroup(header);
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

TEST(TankFile, FileNameIsTheTextAfterTheLastSlashOfEitherKind) {
    EXPECT_EQ(FileNameOf("C:\\tanks\\a.odf"), "a.odf");
    EXPECT_EQ(FileNameOf("C:\\tanks/b.odf"), "b.odf");
    EXPECT_EQ(FileNameOf("/home/x\\y/c.odf"), "c.odf");
    EXPECT_EQ(FileNameOf("c.odf"), "c.odf");
    EXPECT_EQ(FileNameOf("dir/"), "");
    EXPECT_EQ(FileNameOf(""), "");
}

} // namespace
