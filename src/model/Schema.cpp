#include "Schema.h"

#include "AsciiCase.h"

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
        for (const SchemaField& field : group.fields)
            m_fields.push_back({field.name, nullptr, field.type, field.description});
        made.m_nEndField = static_cast<int>(m_fields.size());
    }
    // The groups have their final addresses only now that all of them are made.
    for (const CFieldGroup& group : m_groups) {
        for (int i = group.m_nFirstField; i < group.m_nEndField; ++i)
            m_fields[static_cast<std::size_t>(i)].m_pGroup = &group;
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

bool CSchema::IsNamed(int index, std::string_view key) const {
    const std::string& name = m_fields[static_cast<std::size_t>(index)].m_strName;
    // Most names differ in length, first or last letter (weaponName1 to weaponName4), and most
    // files spell keys as the schema does; only the rest are compared letter by letter.
    return name.size() == key.size() && !key.empty() &&
           LowerAscii(name.front()) == LowerAscii(key.front()) &&
           LowerAscii(name.back()) == LowerAscii(key.back()) &&
           (name == key || EqualIgnoringAsciiCase(name, key));
}

int CSchema::FindField(std::string_view key, const CFieldGroup* group) const {
    if (!group)
        return -1;
    for (int i = group->m_nFirstField; i < group->m_nEndField; ++i) {
        if (IsNamed(i, key))
            return i;
    }
    return -1;
}

int CSchema::FindField(std::string_view key, const CFieldGroup* group, int hint) const {
    if (group && hint >= group->m_nFirstField && hint < group->m_nEndField && IsNamed(hint, key))
        return hint;
    return FindField(key, group);
}

int CSchema::FindFieldPath(std::string_view path) const {
    const auto dot = path.find('.');
    if (dot == std::string_view::npos)
        return -1;
    for (const CFieldGroup& group : m_groups) {
        if (EqualIgnoringAsciiCase(group.m_strName, path.substr(0, dot)))
            return FindField(path.substr(dot + 1), &group);
    }
    return -1;
}
