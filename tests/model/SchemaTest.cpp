// The built-in schema as every tank file carries it, and the model's lookups and reset. The text
// of every row is fixed by the golden file of `tarnwick-cli schema`; these are the counts and
// rules that the rest of the program relies on.

#include "Schema.h"
#include "TankFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <set>
#include <vector>

namespace {

TEST(Schema, CountsByGroupAndType) {
    using Counts = std::array<int, 4>; // strings, floats, integers, described
    const struct {
        const char* name;
        int first, count;
        Counts counts;
    } kGroups[] = {
        {"GameObject", 0, 23, {13, 5, 5, 11}},     {"CraftClass", 23, 26, {23, 3, 0, 2}},
        {"WingmanClass", 49, 20, {2, 18, 0, 14}},  {"HovercraftClass", 69, 22, {4, 18, 0, 14}},
        {"TurrettankClass", 91, 6, {2, 4, 0, 2}},  {"WalkerClass", 97, 17, {3, 14, 0, 8}},
        {"ProducerClass", 114, 18, {12, 3, 3, 2}}, {"ArmoryClass", 132, 23, {23, 0, 0, 0}},
        {"PersonClass", 155, 18, {17, 1, 0, 0}},
    };
    CTankFile file;
    ASSERT_EQ(file.m_groups.size(), 9u);
    ASSERT_EQ(file.m_fields.size(), 173u);
    Counts total{};
    for (int g = 0; g < 9; ++g) {
        const auto& want = kGroups[g];
        SCOPED_TRACE(want.name);
        EXPECT_EQ(file.m_groups[g]->m_strName, want.name);
        EXPECT_EQ(file.m_groups[g]->m_strDescription, g == 0 ? "This is the game object." : "");
        Counts got{};
        for (int index = want.first; index < want.first + want.count; ++index) {
            const CFieldEntry& field = *file.m_fields[index];
            EXPECT_EQ(field.m_pGroup, file.m_groups[g].get()) << "field " << index;
            ++got[static_cast<int>(field.m_nType)];
            got[3] += !field.m_strDescription.empty();
        }
        EXPECT_EQ(got, want.counts);
        for (int k = 0; k < 4; ++k)
            total[k] += got[k];
    }
    EXPECT_EQ(total, (Counts{99, 66, 8, 53}));
}

TEST(Schema, NamesFollowTheTableRules) {
    CTankFile file;
    // No group name begins another, so a header can select at most one group.
    std::size_t longestGroup = 0, longestField = 0, longestDescription = 0;
    for (const auto& a : file.m_groups) {
        longestGroup = std::max(longestGroup, a->m_strName.size());
        for (const auto& b : file.m_groups)
            EXPECT_TRUE(a == b || !b->m_strName.starts_with(a->m_strName)) << a->m_strName;
    }
    // A name stands once a group, even ignoring case, and has one type in every group.
    std::map<std::string, std::set<const CFieldGroup*>> groupsByName;
    std::map<std::string, FieldType> typeByName;
    for (const auto& field : file.m_fields) {
        std::string lower = field->m_strName;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(groupsByName[lower].insert(field->m_pGroup).second) << field->m_strName;
        auto [it, fresh] = typeByName.emplace(field->m_strName, field->m_nType);
        EXPECT_TRUE(fresh || it->second == field->m_nType) << field->m_strName;
        longestField = std::max(longestField, field->m_strName.size());
        longestDescription = std::max(longestDescription, field->m_strDescription.size());
    }
    EXPECT_EQ(std::ranges::count_if(groupsByName, [](auto& n) { return n.second.size() > 1; }), 26);
    EXPECT_EQ(longestGroup, 15u);
    EXPECT_EQ(longestField, 16u);
    EXPECT_EQ(longestDescription, 52u);
}

TEST(Schema, NamedFieldsStandWhereExpected) {
    using enum FieldType;
    const struct {
        int index;
        const char *group, *name;
        FieldType type;
        const char* description;
    } kFields[] = {
        {0, "GameObject", "baseName", String, "defines the apperance"},
        {6, "GameObject", "maxHealth", Integer, "maximum health possible"},
        {22, "GameObject", "weaponmask", Integer, "determines which weapon AI will use"},
        {31, "CraftClass", "selectUser2Msg", String, ""},
        {32, "CraftClass", "selectUser1Msg", String, ""},
        {49, "WingmanClass", "setAltitude", Float, "hovering alltitude"},
        {52, "WingmanClass", "alphaTrack", Float, ""},
        {61, "WingmanClass", "accelThrust", Float,
         "acceleration, if too low the top speed will decrease"},
        {69, "HovercraftClass", "setAltitude", Float, "hovering alltitude"},
        {72, "HovercraftClass", "alphaTrack", Float, ""},
        {93, "TurrettankClass", "timeDeploy", Float, "time to deploy the unit"},
        {94, "TurrettankClass", "timeUndeploy", Float, "time to undeploy the unit"},
        {97, "WalkerClass", "alphaDamp", Float, "inertial stabilizer"},
        {98, "WalkerClass", "alphaTrack", Float, ""},
        {110, "WalkerClass", "jumpSound", String, ""},
        {111, "WalkerClass", "landSound", String, ""},
        {112, "WalkerClass", "stepSound", String, ""},
        {113, "WalkerClass", "animRate", Float, ""},
        {114, "ProducerClass", "timeDeploy", Float, "time to deploy unit"},
        {115, "ProducerClass", "timeUndeploy", Float, "time to undeploy unit"},
        {129, "ProducerClass", "blockedGeyserMsg", String, ""},
        {169, "PersonClass", "jumpSound", String, ""},
        {170, "PersonClass", "landSound", String, ""},
        {171, "PersonClass", "stepSound", String, ""},
        {172, "PersonClass", "animRate", Float, ""},
    };
    CTankFile file;
    for (const auto& want : kFields) {
        SCOPED_TRACE(want.index);
        const CFieldEntry& field = *file.m_fields[want.index];
        EXPECT_EQ(field.m_pGroup->m_strName, want.group);
        EXPECT_EQ(field.m_strName, want.name);
        EXPECT_EQ(field.m_nType, want.type);
        EXPECT_EQ(field.m_strDescription, want.description);
    }
}

TEST(TankFile, NewObjectIsEmptyAndResetClearsAllButTheAlias) {
    CTankFile file;
    auto expectCleared = [&] {
        for (const auto& field : file.m_fields) {
            EXPECT_EQ(field->m_bPresent, 0);
            EXPECT_EQ(field->m_strValue, "");
            EXPECT_EQ(field->m_fValue, 0.0f);
            EXPECT_EQ(field->m_nValue, 0);
        }
        EXPECT_EQ(file.m_bModified, 0);
        EXPECT_EQ(file.m_bCrLf, 0);
    };
    expectCleared();
    EXPECT_EQ(file.m_strPath + file.m_strFileName + file.m_strAlias, "");

    for (const auto& field : file.m_fields) {
        field->m_bPresent = 1;
        field->m_strValue = "x";
        field->m_fValue = 1.5f;
        field->m_nValue = 7;
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
}

TEST(TankFile, FindGroupMatchesTheBracketAndNameAsAPrefix) {
    CTankFile file;
    // Each group name with every header text that must select it.
    const std::vector<std::pair<std::string, std::vector<std::string>>> table = {
        {"GameObject", {"[GameObject]", "[GameObjectClass]", "[GameObject"}},
        {"HovercraftClass", {"[HovercraftClass]"}},
        {"PersonClass", {"[PersonClass]"}},
        {"WalkerClass", {"[WalkerClass" + std::string(5000, 'x') + "]"}},
        {"(none)",
         {"[craftclass]", "[Craft]", "[Game]", "GameObject", "xGameObject]", " [GameObject]", "[",
          "", "[" + std::string(5000, 'W') + "]"}},
    };
    for (const auto& [name, headers] : table) {
        for (const std::string& header : headers) {
            const CFieldGroup* group = file.FindGroup(header);
            EXPECT_EQ(group ? group->m_strName : "(none)", name) << header.substr(0, 40);
        }
    }
}

TEST(TankFile, FindFieldNeedsTheExactKeyInTheGivenGroup) {
    CTankFile file;
    const CFieldGroup* game = file.m_groups[0].get();
    EXPECT_EQ(file.FindField("setAltitude", file.m_groups[2].get()), file.m_fields[49].get());
    EXPECT_EQ(file.FindField("setAltitude", file.m_groups[3].get()), file.m_fields[69].get());
    EXPECT_EQ(file.FindField("maxHealth", game), file.m_fields[6].get());
    EXPECT_EQ(file.FindField("weaponmask", game), file.m_fields[22].get());
    const std::string wrongKeys[] = {"setAltitude", "maxhealth", "maxHealth ",          "maxHealt",
                                     "weaponMask",  "",          std::string(4000, 'a')};
    for (const std::string& key : wrongKeys)
        EXPECT_EQ(file.FindField(key, game), nullptr) << key.substr(0, 20);
    EXPECT_EQ(file.FindField("maxHealth", nullptr), nullptr);
    // A group of another instance is not this instance's group.
    CTankFile other;
    EXPECT_EQ(file.FindField("maxHealth", other.m_groups[0].get()), nullptr);
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
