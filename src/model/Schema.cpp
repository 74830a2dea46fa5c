#include "Schema.h"

#include "AsciiCase.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <span>

namespace {

struct SchemaField {
    const char* name;
    FieldType type;
    const char* description;
};

struct SchemaGroup {
    const char* name;
    const char* description;
    std::span<const SchemaField> fields;
};

// Descriptions are the program's own texts and are kept word for word, spelling included.
constexpr SchemaField kGameObjectFields[] = {
    {"baseName", FieldType::String, "defines the apperance"},
    {"classLabel", FieldType::String, "vehicle type"},
    {"collisionRadius", FieldType::Float, ""},
    {"scrapValue", FieldType::Integer, "amount of scrap until will leave upon destruction"},
    {"scrapCost", FieldType::Integer, "amount of scrap unit will cost to build"},
    {"buildTime", FieldType::Float, "seconds to build"},
    {"maxHealth", FieldType::Integer, "maximum health possible"},
    {"maxAmmo", FieldType::Integer, "maximum ammo possible"},
    {"unitName", FieldType::String, ""},
    {"aiName", FieldType::String, "defines self-image of unit as AI"},
    {"aiName2", FieldType::String, "defines how AI units react to this unit"},
    {"heatSignature", FieldType::Float, "determines how easily enemy missles will lock-on"},
    {"imageSignature", FieldType::Float, ""},
    {"radarSignature", FieldType::Float, ""},
    {"weaponHard1", FieldType::String, ""},
    {"weaponName1", FieldType::String, ""},
    {"weaponHard2", FieldType::String, ""},
    {"weaponName2", FieldType::String, ""},
    {"weaponHard3", FieldType::String, ""},
    {"weaponName3", FieldType::String, ""},
    {"weaponHard4", FieldType::String, ""},
    {"weaponName4", FieldType::String, ""},
    {"weaponmask", FieldType::Integer, "determines which weapon AI will use"},
};

constexpr SchemaField kCraftClassFields[] = {
    {"rangeScan", FieldType::Float, "range of units radar scan"},
    {"periodScan", FieldType::Float, "time between scans of radar"},
    {"velocJam", FieldType::Float, ""},
    {"selectWaitMsg", FieldType::String, ""},
    {"selectAttackMsg", FieldType::String, ""},
    {"selectFollowMsg", FieldType::String, ""},
    {"selectGoMsg", FieldType::String, ""},
    {"selectOtherMsg", FieldType::String, ""},
    {"selectUser2Msg", FieldType::String, ""},
    {"selectUser1Msg", FieldType::String, ""},
    {"goMsg", FieldType::String, ""},
    {"goObjectMsg", FieldType::String, ""},
    {"attackMsg", FieldType::String, ""},
    {"followMsg", FieldType::String, ""},
    {"followMeMsg", FieldType::String, ""},
    {"repairMsg", FieldType::String, ""},
    {"reloadMsg", FieldType::String, ""},
    {"rescueMsg", FieldType::String, ""},
    {"recycleMsg", FieldType::String, ""},
    {"otherMsg", FieldType::String, ""},
    {"user1Msg", FieldType::String, ""},
    {"user2Msg", FieldType::String, ""},
    {"killedMsg", FieldType::String, ""},
    {"diedMsg", FieldType::String, ""},
    {"deployedMsg", FieldType::String, ""},
    {"packedMsg", FieldType::String, ""},
};

constexpr SchemaField kWingmanClassFields[] = {
    {"setAltitude", FieldType::Float, "hovering alltitude"},
    {"accelDragStop", FieldType::Float, "low speed coast to stop"},
    {"accelDragFull", FieldType::Float, "high speed coast to stop"},
    {"alphaTrack", FieldType::Float, ""},
    {"alphaDamp", FieldType::Float, "inertial stabilizer"},
    {"pitchPitch", FieldType::Float, ""},
    {"pitchThrust", FieldType::Float, ""},
    {"rollStrafe", FieldType::Float, "yaw when strafing"},
    {"rollSteer", FieldType::Float, "yaw when turning"},
    {"velocForward", FieldType::Float, "maximum speed forward"},
    {"velocReverse", FieldType::Float, "maximum speed reverse"},
    {"velocStrafe", FieldType::Float, "maximum speed strafe"},
    {"accelThrust", FieldType::Float, "acceleration, if too low the top speed will decrease"},
    {"accelBrake", FieldType::Float, "power of the brake thrusters"},
    {"omegaSpin", FieldType::Float, "turn rate when stationary"},
    {"omegaTurn", FieldType::Float, "turn rate when moving"},
    {"alphaSteer", FieldType::Float, ""},
    {"accelJump", FieldType::Float, "power of jump thrusters, affects jump amplitude"},
    {"soundThrust", FieldType::String, ""},
    {"soundTurbo", FieldType::String, ""},
};

constexpr SchemaField kHovercraftClassFields[] = {
    {"setAltitude", FieldType::Float, "hovering alltitude"},
    {"accelDragStop", FieldType::Float, "low speed coast to stop"},
    {"accelDragFull", FieldType::Float, "high speed coast to stop"},
    {"alphaTrack", FieldType::Float, ""},
    {"alphaDamp", FieldType::Float, "inertial stabilizer"},
    {"pitchPitch", FieldType::Float, ""},
    {"pitchThrust", FieldType::Float, ""},
    {"rollStrafe", FieldType::Float, "yaw when strafing"},
    {"rollSteer", FieldType::Float, "yaw when turning"},
    {"velocForward", FieldType::Float, "maximum speed forward"},
    {"velocReverse", FieldType::Float, "maximum speed reverse"},
    {"velocStrafe", FieldType::Float, "maximum speed strafe"},
    {"accelThrust", FieldType::Float, "acceleration, if too low the top speed will decrease"},
    {"accelBrake", FieldType::Float, "power of the brake thrusters"},
    {"omegaSpin", FieldType::Float, "turn rate when stationary"},
    {"omegaTurn", FieldType::Float, "turn rate when moving"},
    {"alphaSteer", FieldType::Float, ""},
    {"accelJump", FieldType::Float, "power of jump thrusters, affects jump amplitude"},
    {"soundThrust", FieldType::String, ""},
    {"soundSteer", FieldType::String, ""},
    {"soundDeploy", FieldType::String, ""},
    {"soundUndeploy", FieldType::String, ""},
};

constexpr SchemaField kTurrettankClassFields[] = {
    {"omegaTurret", FieldType::Float, ""},
    {"alphaTurret", FieldType::Float, ""},
    {"timeDeploy", FieldType::Float, "time to deploy the unit"},
    {"timeUndeploy", FieldType::Float, "time to undeploy the unit"},
    {"soundThrust", FieldType::String, ""},
    {"soundTurbo", FieldType::String, ""},
};

constexpr SchemaField kWalkerClassFields[] = {
    {"alphaDamp", FieldType::Float, "inertial stabilizer"},
    {"alphaTrack", FieldType::Float, ""},
    {"pitchPitch", FieldType::Float, ""},
    {"pitchThrust", FieldType::Float, ""},
    {"rollStrafe", FieldType::Float, "yaw when strafing"},
    {"velocForward", FieldType::Float, "maximum speed forward"},
    {"velocReverse", FieldType::Float, "maximum speed reverse"},
    {"velocStrafe", FieldType::Float, "maximum speed strafe"},
    {"accelThrust", FieldType::Float, "acceleration, if too low the top speed will decrease"},
    {"omegaSpin", FieldType::Float, "turn rate when stationary"},
    {"omegaTurn", FieldType::Float, "turn rate when moving"},
    {"alphaSteer", FieldType::Float, ""},
    {"velocJump", FieldType::Float, ""},
    {"jumpSound", FieldType::String, ""},
    {"landSound", FieldType::String, ""},
    {"stepSound", FieldType::String, ""},
    {"animRate", FieldType::Float, ""},
};

constexpr SchemaField kProducerClassFields[] = {
    {"timeDeploy", FieldType::Float, "time to deploy unit"},
    {"timeUndeploy", FieldType::Float, "time to undeploy unit"},
    {"timeRepair", FieldType::Float, ""},
    {"healthRepair", FieldType::Integer, ""},
    {"scrapHold", FieldType::Integer, ""},
    {"pilotHold", FieldType::Integer, ""},
    {"buildItem1", FieldType::String, ""},
    {"buildItem2", FieldType::String, ""},
    {"buildItem3", FieldType::String, ""},
    {"buildItem4", FieldType::String, ""},
    {"buildItem5", FieldType::String, ""},
    {"buildItem6", FieldType::String, ""},
    {"buildItem7", FieldType::String, ""},
    {"buildItem8", FieldType::String, ""},
    {"buildItem9", FieldType::String, ""},
    {"blockedGeyserMsg", FieldType::String, ""},
    {"soundBuild", FieldType::String, ""},
    {"soundFinish", FieldType::String, ""},
};

constexpr SchemaField kArmoryClassFields[] = {
    {"cannonItem1", FieldType::String, ""},  {"cannonItem2", FieldType::String, ""},
    {"cannonItem3", FieldType::String, ""},  {"cannonItem4", FieldType::String, ""},
    {"cannonItem5", FieldType::String, ""},  {"rocketItem1", FieldType::String, ""},
    {"rocketItem2", FieldType::String, ""},  {"rocketItem3", FieldType::String, ""},
    {"rocketItem4", FieldType::String, ""},  {"rocketItem5", FieldType::String, ""},
    {"rocketItem6", FieldType::String, ""},  {"mortarItem1", FieldType::String, ""},
    {"mortarItem2", FieldType::String, ""},  {"mortarItem3", FieldType::String, ""},
    {"mortarItem4", FieldType::String, ""},  {"specialItem1", FieldType::String, ""},
    {"specialItem2", FieldType::String, ""}, {"specialItem3", FieldType::String, ""},
    {"specialItem4", FieldType::String, ""}, {"specialItem5", FieldType::String, ""},
    {"specialItem6", FieldType::String, ""}, {"specialItem7", FieldType::String, ""},
    {"specialItem8", FieldType::String, ""},
};

constexpr SchemaField kPersonClassFields[] = {
    {"painSound1", FieldType::String, ""}, {"painSound2", FieldType::String, ""},
    {"painSound3", FieldType::String, ""}, {"painSound4", FieldType::String, ""},
    {"painSound5", FieldType::String, ""}, {"painSound6", FieldType::String, ""},
    {"burnSound1", FieldType::String, ""}, {"burnSound2", FieldType::String, ""},
    {"dieSound1", FieldType::String, ""},  {"dieSound2", FieldType::String, ""},
    {"dieSound3", FieldType::String, ""},  {"dieSound4", FieldType::String, ""},
    {"dieSound5", FieldType::String, ""},  {"crushSound", FieldType::String, ""},
    {"jumpSound", FieldType::String, ""},  {"landSound", FieldType::String, ""},
    {"stepSound", FieldType::String, ""},  {"animRate", FieldType::Float, ""},
};

constexpr SchemaGroup kGroups[] = {
    {"GameObject", "This is the game object.", kGameObjectFields},
    {"CraftClass", "", kCraftClassFields},
    {"WingmanClass", "", kWingmanClassFields},
    {"HovercraftClass", "", kHovercraftClassFields},
    {"TurrettankClass", "", kTurrettankClassFields},
    {"WalkerClass", "", kWalkerClassFields},
    {"ProducerClass", "", kProducerClassFields},
    {"ArmoryClass", "", kArmoryClassFields},
    {"PersonClass", "", kPersonClassFields},
};

// A power of two, about three times the number of fields, so that a probe rarely goes on.
constexpr std::size_t kFieldTableSize = 512;

// Longer than any field's name (the longest has 16 bytes), so a longer key names no field.
constexpr std::size_t kLongestName = 32;

// FNV-1a, folded into the loop that lowers a key: std::hash would read the key a second time.
struct CLowered {
    char text[kLongestName];
    std::size_t size = 0;
    std::uint32_t hash = 2166136261u;

    explicit CLowered(std::string_view name) {
        for (char c : name) {
            c = LowerAscii(c);
            text[size++] = c;
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        }
    }
    std::string_view View() const { return {text, size}; }
};

std::size_t SlotOf(const CLowered& name, int group) {
    return (name.hash + static_cast<std::size_t>(group)) % kFieldTableSize;
}

} // namespace

CSchema::CSchema() {
    m_groups.reserve(std::size(kGroups));
    m_fields.reserve(kSchemaFieldCount);
    for (const SchemaGroup& group : kGroups) {
        CFieldGroup& made = m_groups.emplace_back();
        made.m_strName = group.name;
        made.m_strDescription = group.description;
        made.m_nIndex = static_cast<int>(m_groups.size() - 1);
        made.m_nFirstField = static_cast<int>(m_fields.size());
        for (const SchemaField& field : group.fields) {
            if (std::string_view(field.name).size() > kLongestName)
                std::abort(); // a mistake in the table above, caught at the first start
            m_fields.push_back({field.name, nullptr, field.type, field.description});
        }
        made.m_nEndField = static_cast<int>(m_fields.size());
    }
    // The groups have their final addresses only now that all of them are made.
    for (const CFieldGroup& group : m_groups) {
        for (int i = group.m_nFirstField; i < group.m_nEndField; ++i)
            m_fields[static_cast<std::size_t>(i)].m_pGroup = &group;
    }
    m_fieldTable.assign(kFieldTableSize, -1);
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const CFieldDefinition& field = m_fields[i];
        const CLowered lower(field.m_strName);
        m_lowerNames.emplace_back(lower.View());
        std::size_t slot = SlotOf(lower, field.m_pGroup->m_nIndex);
        while (m_fieldTable[slot] >= 0)
            slot = (slot + 1) % kFieldTableSize;
        m_fieldTable[slot] = static_cast<std::int16_t>(i);
    }
}

const CSchema& CSchema::Get() {
    static const CSchema schema;
    return schema;
}

const CFieldGroup* CSchema::FindGroup(std::string_view headerText) const {
    if (headerText.empty() || headerText[0] != '[')
        return nullptr;
    headerText.remove_prefix(1);
    for (const CFieldGroup& group : m_groups) {
        if (StartsWithIgnoringAsciiCase(headerText, group.m_strName))
            return &group;
    }
    return nullptr;
}

int CSchema::FindField(std::string_view key, const CFieldGroup* group) const {
    if (!group || key.size() > kLongestName)
        return -1;
    const CLowered lower(key);
    for (std::size_t slot = SlotOf(lower, group->m_nIndex);; slot = (slot + 1) % kFieldTableSize) {
        const int i = m_fieldTable[slot];
        if (i < 0)
            return -1;
        const std::size_t field = static_cast<std::size_t>(i);
        if (m_fields[field].m_pGroup == group && m_lowerNames[field] == lower.View())
            return i;
    }
}
