// The model's lookups, paths and reset. The schema's rows themselves are pinned by the golden
// output of `tarnwick-cli schema`.

#include "Schema.h"
#include "TankFile.h"
#include "TestSupport.h"

#include <tuple>

namespace {

using namespace tarnwick_test;

// What New shows of it is the window tests' concern; the line ends and alias are not shown.
TEST(TankFile, ResetClearsAllButTheAliasAndTheSchemaFindsGroupsAndFieldsIgnoringAsciiCase) {
    CTankFile file;
    ASSERT_TRUE(file.Load(DataPath("model/apc.odf"))); // every type of value, CR LF
    EXPECT_FALSE(file.IsUntitled());
    file.m_bModified = true;
    file.m_strAlias = "ALI";
    file.Reset();
    EXPECT_FALSE(file.m_bModified || file.m_bCrLf);
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

    // Groups match their headers as a prefix, fields their whole key, ignoring ASCII case.
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

    // Fields are found by their whole key in their group, ignoring ASCII case.
    const CSchema& schema = CSchema::Get();
    auto path = [&schema](int index) {
        if (index < 0)
            return std::string("(none)");
        const CFieldDefinition& field = schema.Fields()[static_cast<std::size_t>(index)];
        return field.m_pGroup->m_strName + "." + field.m_strName;
    };
    // A key in a group (by its header text), and the field it names.
    const std::tuple<const char*, std::string, const char*> keys[] = {
        {"[WingmanClass]", "setAltitude", "WingmanClass.setAltitude"},
        {"[HovercraftClass]", "setaltitude", "HovercraftClass.setAltitude"},
        {"[GameObject]", "MAXHEALTH", "GameObject.maxHealth"},
        {"[GameObject]", "weaponMask", "GameObject.weaponmask"}, // as the schema spells it
        {"[GameObject]", "setAltitude", "(none)"},
        {"[GameObject]", "maxHealth ", "(none)"},
        {"[GameObject]", " maxHealth", "(none)"},
        {"[GameObject]", "maxHealt", "(none)"},
        {"[GameObject]", "", "(none)"},
        {"[GameObject]", "maxHealth\xc3\x84", "(none)"},
        {"[GameObject]", std::string(4000, 'a'), "(none)"},
        {"[Nothing]", "maxHealth", "(none)"},
    };
    for (const auto& [header, key, found] : keys)
        EXPECT_EQ(path(schema.FindField(key, schema.FindGroup(header))), found)
            << header << " " << key.substr(0, 20);
    // A command line names a field by its group's whole name and its key.
    const std::pair<const char*, const char*> fieldPaths[] = {
        {"gameobject.MAXHEALTH", "GameObject.maxHealth"},
        {"HoverCraftClass.velocForward", "HovercraftClass.velocForward"},
        {"Game.maxHealth", "(none)"},
        {"GameObjectClass.maxHealth", "(none)"},
        {"maxHealth", "(none)"},
        {"GameObject.", "(none)"},
        {".maxHealth", "(none)"},
    };
    for (const auto& [given, found] : fieldPaths)
        EXPECT_EQ(path(schema.FindFieldPath(given)), found) << given;
    // A tank file's own field of the key.
    EXPECT_EQ(file.FindField("maxhealth", schema.FindGroup("[GameObject]")),
              &Field(file, "GameObject.maxHealth"));
}

} // namespace
