// The built-in schema as every tank file carries it, and the model's lookups and reset.

#include "Schema.h"
#include "TankFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>

namespace {

struct GroupCounts {
    const char* name;
    int first, count, strings, floats, integers, described;
};

// Field index ranges and counts by type of every group, in order.
constexpr GroupCounts kExpectedGroups[] = {
    {"GameObject", 0, 23, 13, 5, 5, 11},     {"CraftClass", 23, 26, 23, 3, 0, 2},
    {"WingmanClass", 49, 20, 2, 18, 0, 14},  {"HovercraftClass", 69, 22, 4, 18, 0, 14},
    {"TurrettankClass", 91, 6, 2, 4, 0, 2},  {"WalkerClass", 97, 17, 3, 14, 0, 8},
    {"ProducerClass", 114, 18, 12, 3, 3, 2}, {"ArmoryClass", 132, 23, 23, 0, 0, 0},
    {"PersonClass", 155, 18, 17, 1, 0, 0},
};

int GroupIndexOf(const CTankFile& file, const CFieldEntry& field) {
    for (std::size_t i = 0; i < file.m_groups.size(); ++i) {
        if (file.m_groups[i].get() == field.m_pGroup)
            return static_cast<int>(i);
    }
    return -1;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

TEST(Schema, SizesAndCountsByGroupAndType) {
    CTankFile file;
    ASSERT_EQ(file.m_groups.size(), 9u);
    ASSERT_EQ(file.m_fields.size(), 173u);

    int strings = 0, floats = 0, integers = 0, described = 0;
    for (const auto& field : file.m_fields) {
        strings += field->m_nType == FieldType::String;
        floats += field->m_nType == FieldType::Float;
        integers += field->m_nType == FieldType::Integer;
        described += !field->m_strDescription.empty();
    }
    EXPECT_EQ(strings, 99);
    EXPECT_EQ(floats, 66);
    EXPECT_EQ(integers, 8);
    EXPECT_EQ(described, 53);

    for (int g = 0; g < 9; ++g) {
        const GroupCounts& want = kExpectedGroups[g];
        SCOPED_TRACE(want.name);
        EXPECT_EQ(file.m_groups[g]->m_strName, want.name);
        EXPECT_EQ(file.m_groups[g]->m_strDescription, g == 0 ? "This is the game object." : "");
        int s = 0, f = 0, i = 0, d = 0;
        for (int index = want.first; index < want.first + want.count; ++index) {
            const CFieldEntry& field = *file.m_fields[index];
            EXPECT_EQ(GroupIndexOf(file, field), g) << "field " << index;
            s += field.m_nType == FieldType::String;
            f += field.m_nType == FieldType::Float;
            i += field.m_nType == FieldType::Integer;
            d += !field.m_strDescription.empty();
        }
        EXPECT_EQ(s, want.strings);
        EXPECT_EQ(f, want.floats);
        EXPECT_EQ(i, want.integers);
        EXPECT_EQ(d, want.described);
    }
}

TEST(Schema, NamedFieldsStandWhereExpected) {
    CTankFile file;
    auto expectField = [&](int index, const char* group, const char* name, FieldType type,
                           const char* description) {
        SCOPED_TRACE(index);
        const CFieldEntry& field = *file.m_fields[index];
        EXPECT_EQ(field.m_pGroup->m_strName, group);
        EXPECT_EQ(field.m_strName, name);
        EXPECT_EQ(field.m_nType, type);
        EXPECT_EQ(field.m_strDescription, description);
    };
    expectField(0, "GameObject", "baseName", FieldType::String, "defines the apperance");
    expectField(6, "GameObject", "maxHealth", FieldType::Integer, "maximum health possible");
    expectField(22, "GameObject", "weaponmask", FieldType::Integer,
                "determines which weapon AI will use");
    expectField(31, "CraftClass", "selectUser2Msg", FieldType::String, "");
    expectField(32, "CraftClass", "selectUser1Msg", FieldType::String, "");
    expectField(49, "WingmanClass", "setAltitude", FieldType::Float, "hovering alltitude");
    expectField(69, "HovercraftClass", "setAltitude", FieldType::Float, "hovering alltitude");
    expectField(52, "WingmanClass", "alphaTrack", FieldType::Float, "");
    expectField(72, "HovercraftClass", "alphaTrack", FieldType::Float, "");
    expectField(97, "WalkerClass", "alphaDamp", FieldType::Float, "inertial stabilizer");
    expectField(98, "WalkerClass", "alphaTrack", FieldType::Float, "");
    expectField(93, "TurrettankClass", "timeDeploy", FieldType::Float, "time to deploy the unit");
    expectField(94, "TurrettankClass", "timeUndeploy", FieldType::Float,
                "time to undeploy the unit");
    expectField(114, "ProducerClass", "timeDeploy", FieldType::Float, "time to deploy unit");
    expectField(115, "ProducerClass", "timeUndeploy", FieldType::Float, "time to undeploy unit");
    expectField(129, "ProducerClass", "blockedGeyserMsg", FieldType::String, "");
    expectField(61, "WingmanClass", "accelThrust", FieldType::Float,
                "acceleration, if too low the top speed will decrease");
    const char* shared[] = {"jumpSound", "landSound", "stepSound", "animRate"};
    for (int k = 0; k < 4; ++k) {
        FieldType type = k == 3 ? FieldType::Float : FieldType::String;
        expectField(110 + k, "WalkerClass", shared[k], type, "");
        expectField(169 + k, "PersonClass", shared[k], type, "");
    }
    expectField(172, "PersonClass", "animRate", FieldType::Float, "");
}

TEST(Schema, TableInvariantsHold) {
    CTankFile file;
    // No group name begins another, so a header can select at most one group.
    for (const auto& a : file.m_groups) {
        for (const auto& b : file.m_groups) {
            if (a != b) {
                EXPECT_NE(b->m_strName.rfind(a->m_strName, 0), 0u) << a->m_strName;
            }
        }
    }
    std::map<std::string, std::set<int>> groupsByName;
    std::map<std::string, FieldType> typeByName;
    std::size_t longestGroup = 0, longestField = 0, longestDescription = 0;
    for (const auto& group : file.m_groups)
        longestGroup = std::max(longestGroup, group->m_strName.size());
    for (const auto& field : file.m_fields) {
        int g = GroupIndexOf(file, *field);
        EXPECT_TRUE(groupsByName[Lower(field->m_strName)].insert(g).second)
            << field->m_strName << " twice in one group";
        auto [it, fresh] = typeByName.emplace(field->m_strName, field->m_nType);
        EXPECT_TRUE(fresh || it->second == field->m_nType) << field->m_strName;
        longestField = std::max(longestField, field->m_strName.size());
        longestDescription = std::max(longestDescription, field->m_strDescription.size());
    }
    int repeated = 0;
    for (const auto& [name, groups] : groupsByName)
        repeated += groups.size() > 1;
    EXPECT_EQ(repeated, 26);
    EXPECT_EQ(longestGroup, 15u);
    EXPECT_EQ(longestField, 16u);
    EXPECT_EQ(longestDescription, 52u);

    // The groups' fields follow one another in group order.
    int previous = 0;
    for (const auto& field : file.m_fields) {
        int g = GroupIndexOf(file, *field);
        EXPECT_TRUE(g == previous || g == previous + 1);
        previous = g;
    }
}

TEST(Schema, InstancesAgreeFieldByFieldAndMatchTheTable) {
    CTankFile a;
    auto b = std::make_unique<CTankFile>();
    ASSERT_EQ(a.m_fields.size(), b->m_fields.size());
    for (std::size_t i = 0; i < a.m_fields.size(); ++i) {
        const CFieldEntry& x = *a.m_fields[i];
        const CFieldEntry& y = *b->m_fields[i];
        EXPECT_EQ(x.m_strName, y.m_strName);
        EXPECT_EQ(x.m_nType, y.m_nType);
        EXPECT_EQ(x.m_strDescription, y.m_strDescription);
        EXPECT_EQ(x.m_pGroup->m_strName, y.m_pGroup->m_strName);
        EXPECT_NE(x.m_pGroup, y.m_pGroup) << "each instance owns its own groups";
    }
    std::size_t index = 0;
    for (const SchemaGroup& group : BuiltInSchema()) {
        for (const SchemaField& field : group.fields) {
            ASSERT_LT(index, a.m_fields.size());
            EXPECT_EQ(a.m_fields[index]->m_strName, field.name);
            EXPECT_EQ(a.m_fields[index]->m_pGroup->m_strName, group.name);
            ++index;
        }
    }
    EXPECT_EQ(index, 173u);
}

TEST(TankFile, NewObjectIsEmptyAndResetClearsAllButTheAlias) {
    CTankFile file;
    for (const auto& field : file.m_fields) {
        EXPECT_EQ(field->m_bPresent, 0);
        EXPECT_TRUE(field->m_strValue.empty());
        EXPECT_EQ(field->m_fValue, 0.0f);
        EXPECT_EQ(field->m_nValue, 0);
    }
    EXPECT_EQ(file.m_bModified, 0);
    EXPECT_EQ(file.m_strPath, "");
    EXPECT_EQ(file.m_strFileName, "");
    EXPECT_EQ(file.m_strAlias, "");

    for (const auto& field : file.m_fields) {
        field->m_bPresent = 1;
        field->m_strValue = "x";
        field->m_fValue = 1.5f;
        field->m_nValue = 7;
    }
    file.m_bModified = 1;
    file.m_strAlias = "ALI";
    file.SetPath("/some/where/tank.odf");
    file.Reset();
    for (const auto& field : file.m_fields) {
        EXPECT_EQ(field->m_bPresent, 0);
        EXPECT_TRUE(field->m_strValue.empty());
        EXPECT_EQ(field->m_fValue, 0.0f);
        EXPECT_EQ(field->m_nValue, 0);
    }
    EXPECT_EQ(file.m_bModified, 0);
    EXPECT_EQ(file.m_strPath, "Untitled.odf");
    EXPECT_EQ(file.m_strFileName, "Untitled.odf");
    EXPECT_EQ(file.m_strAlias, "ALI");
}

TEST(TankFile, FindGroupMatchesTheBracketAndNameAsAPrefix) {
    CTankFile file;
    auto nameOf = [&](std::string_view header) -> std::string {
        const CFieldGroup* group = file.FindGroup(header);
        return group ? group->m_strName : "(none)";
    };
    EXPECT_EQ(nameOf("[GameObject]"), "GameObject");
    EXPECT_EQ(nameOf("[GameObjectClass]"), "GameObject");
    EXPECT_EQ(nameOf("[GameObject"), "GameObject");
    EXPECT_EQ(nameOf("[CraftClass]"), "CraftClass");
    EXPECT_EQ(nameOf("[PersonClass]"), "PersonClass");
    EXPECT_EQ(nameOf("[craftclass]"), "(none)");
    EXPECT_EQ(nameOf("[Craft]"), "(none)");
    EXPECT_EQ(nameOf("[Game]"), "(none)");
    EXPECT_EQ(nameOf("GameObject"), "(none)");
    EXPECT_EQ(nameOf(" [GameObject]"), "(none)");
    EXPECT_EQ(nameOf("["), "(none)");
    EXPECT_EQ(nameOf(""), "(none)");
    EXPECT_EQ(nameOf("[WalkerClass" + std::string(5000, 'x') + "]"), "WalkerClass");
    EXPECT_EQ(nameOf("[" + std::string(5000, 'W') + "]"), "(none)");
    EXPECT_EQ(file.FindGroup("[HovercraftClass]"), file.m_groups[3].get());
}

TEST(TankFile, FindFieldNeedsTheExactKeyInTheGivenGroup) {
    CTankFile file;
    const CFieldGroup* game = file.m_groups[0].get();
    const CFieldGroup* wingman = file.m_groups[2].get();
    const CFieldGroup* hover = file.m_groups[3].get();
    EXPECT_EQ(file.FindField("setAltitude", wingman), file.m_fields[49].get());
    EXPECT_EQ(file.FindField("setAltitude", hover), file.m_fields[69].get());
    EXPECT_EQ(file.FindField("setAltitude", game), nullptr);
    EXPECT_EQ(file.FindField("setAltitude", nullptr), nullptr);
    EXPECT_EQ(file.FindField("maxHealth", game), file.m_fields[6].get());
    EXPECT_EQ(file.FindField("maxhealth", game), nullptr);
    EXPECT_EQ(file.FindField("maxHealth ", game), nullptr);
    EXPECT_EQ(file.FindField("maxHealt", game), nullptr);
    EXPECT_EQ(file.FindField("weaponmask", game), file.m_fields[22].get());
    EXPECT_EQ(file.FindField("weaponMask", game), nullptr);
    EXPECT_EQ(file.FindField("", game), nullptr);
    EXPECT_EQ(file.FindField(std::string(4000, 'a'), game), nullptr);
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
