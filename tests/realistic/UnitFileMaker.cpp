#include "UnitFileMaker.h"

#include <map>

namespace {

// The sections of each kind of unit, as real files spell their headers; the last three kinds
// have a section the schema does not know.
const std::vector<std::vector<std::string>> kKinds = {
    {"GameObjectClass", "CraftClass", "HoverCraftClass"},
    {"GameObjectClass", "CraftClass", "HoverCraftClass", "ProducerClass"},
    {"GameObjectClass", "CraftClass", "HoverCraftClass", "ArmoryClass"},
    {"GameObjectClass", "CraftClass", "WalkerClass"},
    {"GameObjectClass", "CraftClass", "TurretTankClass"},
    {"GameObjectClass", "CraftClass", "WingmanClass"},
    {"GameObjectClass", "PersonClass"},
    {"GameObjectClass", "BuildingClass"},
    {"GameObjectClass", "PowerUpClass"},
    {"GameObjectClass", "WeaponPowerUpClass"},
};
const std::map<std::string, std::vector<std::string>> kOtherKeys = {
    {"GameObjectClass", {"geometryName", "cockpitName", "armorClass", "isAssault", "lifeSpan"}},
    {"CraftClass", {"avoidSpeed", "selectNoneMsg", "engageRange"}},
    {"HoverCraftClass", {"soundTurbo", "cloakAllowed", "timeDeploy"}},
    {"WalkerClass", {"legName", "timeDeploy"}},
    {"TurretTankClass", {"weaponName", "cloakAllowed"}},
    {"WingmanClass", {"cloakAllowed"}},
    {"ProducerClass", {"buildRequire1", "powerName"}},
    {"ArmoryClass", {"cannonItem6"}},
    {"PersonClass", {"weaponName", "cloakAllowed"}},
    {"BuildingClass", {"powerCost", "lightName", "soundAmbient"}},
    {"PowerUpClass", {"soundPickup", "healthBoost"}},
    {"WeaponPowerUpClass", {"weaponName", "soundPickup"}},
};
const std::vector<std::string> kOtherValues = {"\"avtank3.wav\"", "0.5",    "NULL", "1", "L",
                                               "\"ivtank\"",      "250.0f", ""};
const std::vector<std::string> kComments = {"// hover tank, first pass", "//-----------------",
                                            "// from the 1.3 patch", "//maxHealth = 3000"};
const std::vector<std::string> kNames = {"Grizzly",          "Sabre", "Panzerj\xC3\xA4ger",
                                         "Mot\xC3\xB6rhead", "Bolt",  "Caf\xC3\xA9 Racer"};
// clang-format off
const std::vector<std::string> kFloats = {
    "5.0", "5.0f", "30", "2.5", "0.0f", ".5", "-2.5", "1e3", "120.0", "0.25", "2.5F",
    "459.99999999999994", "0.0000004", "0.12345678", "16777217", "2.0f"};
// clang-format on
const std::vector<std::string> kWords = {"avtank",  "hp_cannon_1", "gminigun", "TankFriend",
                                         "wingman", "avscav",      "gspstab"};
const std::vector<std::string> kSeparators = {" = ", " = ", " = ", "=", "\t=\t", " =\t", "\t\t= "};

} // namespace

std::string CUnitFileMaker::Make() {
    m_bClean = P(15);
    m_b1252 = P(60);
    std::vector<std::string> lines;
    if (!m_bClean && P(50))
        lines.insert(lines.end(), {Pick(kComments),
                                   m_b1252 ? "// Panzerj\xE4ger \x97 tank hunter"
                                           : "// Panzerj\xC3\xA4ger \xE2\x80\x94 "
                                             "tank hunter",
                                   ""});
    const auto& kind = kKinds[N(m_bClean ? 7 : kKinds.size())];
    for (const std::string& header : kind)
        Section(header, 55, lines);
    if (!m_bClean && P(8)) // a second section for a group, as a later patch appends one
        Section(kind[N(kind.size())], 10, lines);
    const std::string eol = P(50) ? "\r\n" : "\n";
    std::string bytes = !m_b1252 && P(20) ? "\xEF\xBB\xBF" : "";
    for (const std::string& line : lines)
        bytes += line + eol;
    return P(15) ? bytes.substr(0, bytes.size() - eol.size()) : bytes;
}

void CUnitFileMaker::Section(const std::string& header, int density,
                             std::vector<std::string>& lines) {
    std::string group; // the schema's group the header names, when it names one
    for (const SchemaField& field : m_schema)
        if (Lower(header).starts_with(Lower(field.group)))
            group = field.group;
    const std::string spelled = P(6) && !group.empty() ? group : P(4) ? Lower(header) : header;
    const std::string blank = group.empty() && P(10) ? " " : "";
    lines.push_back("[" + blank + spelled + blank + "]" +
                    (!m_bClean && P(4) ? " // " + header : ""));
    const std::size_t first = lines.size();
    for (const SchemaField& field : m_schema) {
        if (field.group != group || !P(density))
            continue;
        const std::string key = field.name == "weaponmask" && P(80) ? "weaponMask"
                                : P(3)                              ? Lower(field.name)
                                                                    : field.name;
        if (!m_bClean && P(4)) // set twice; the first line is dropped, or holds no value
            lines.push_back(Line(key, P(40) ? "NULL" : Value(field)));
        lines.push_back((!m_bClean && P(2) ? "\t" : "") + Line(key, Value(field)));
    }
    for (const std::string& key : m_bClean ? std::vector<std::string>{} : kOtherKeys.at(header))
        for (int n = P(group.empty() ? 80 : 30) + P(5); n > 0; --n)
            lines.insert(lines.begin() + first + N(lines.size() - first + 1),
                         Line(key, Pick(kOtherValues)));
    if (!m_bClean && P(10))
        lines.insert(lines.begin() + first + N(lines.size() - first + 1), Pick(kComments));
    if (P(85))
        lines.push_back(m_bClean || P(95) ? "" : "  \t");
}

std::string CUnitFileMaker::Line(const std::string& key, const std::string& value) {
    const std::string comment = !m_bClean && P(8) ? (P(50) ? " // was 2000" : "\t// tuned") : "";
    return key + Pick(kSeparators) + value + comment;
}

std::string CUnitFileMaker::Value(const SchemaField& field) {
    if (field.type == 'I' && field.name == "weaponmask") { // a bit string, such as 00011
        std::string bits;
        for (int n = 0; n < 5; ++n)
            bits += static_cast<char>('0' + N(2));
        return bits;
    }
    if (field.type == 'I')
        return std::to_string(N(80) * 25);
    if (field.type == 'F')
        return Pick(kFloats);
    if (!m_bClean && P(4))
        return "NULL";
    std::string text = field.name == "unitName" ? Pick(kNames) : Pick(kWords);
    if (Lower(field.name).find("sound") != std::string::npos || field.name.ends_with("Msg"))
        text = text.substr(0, 5) + std::to_string(N(9)) + ".wav";
    if (m_b1252)
        text = ToWindows1252(text);
    if (!m_bClean && P(5))
        return "\"\"" + text + "\";\""; // doubled quotes, as some tools write them
    return "\"" + text + "\"" + (!m_bClean && P(6) ? ";" : "");
}
