#include "TankFile.h"

#include "FileIo.h"
#include "Message.h"
#include "Schema.h"
#include "TankFileReader.h"
#include "TankFileWriter.h"
#include "TextLines.h"

namespace {

constexpr const char* kUntitled = "Untitled.odf";

} // namespace

std::string FileNameOf(std::string_view path) {
    auto split = path.find_last_of("/\\");
    return std::string(split == std::string_view::npos ? path : path.substr(split + 1));
}

CTankFile::CTankFile() {
    m_groups.reserve(kSchemaGroupCount);
    m_fields.reserve(kSchemaFieldCount);
    for (const SchemaGroup& group : BuiltInSchema()) {
        auto& record = m_groups.emplace_back(
            std::make_unique<CFieldGroup>(group.name, group.description));
        for (const SchemaField& field : group.fields)
            m_fields.push_back(std::make_unique<CFieldEntry>(field.name, record.get(), field.type,
                                                             field.description));
    }
}

CTankFile::~CTankFile() = default;

void CTankFile::Reset() {
    m_bModified = 0;
    m_bCrLf = 0;
    for (auto& field : m_fields) {
        field->m_bPresent = 0;
        field->m_fValue = 0.0f;
        field->m_nValue = 0;
        field->m_strValue.clear();
    }
    m_strPath = kUntitled;
    m_strFileName = kUntitled;
}

CFieldGroup* CTankFile::FindGroup(std::string_view headerText) const {
    for (const auto& group : m_groups) {
        std::string_view name = group->m_strName;
        if (headerText.size() > name.size() && headerText[0] == '[' &&
            headerText.substr(1, name.size()) == name)
            return group.get();
    }
    return nullptr;
}

CFieldEntry* CTankFile::FindField(std::string_view key, const CFieldGroup* group) const {
    if (!group)
        return nullptr;
    for (const auto& field : m_fields) {
        if (field->m_pGroup == group && field->m_strName == key)
            return field.get();
    }
    return nullptr;
}

void CTankFile::SetPath(const std::string& path) {
    m_strPath = path;
    m_strFileName = FileNameOf(path);
}

int CTankFile::Load(const std::string& path) {
    if (path.empty())
        return 0;
    // The whole file is read before anything changes, so a failure part-way leaves the object
    // exactly as it was.
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        ShowMessage(FormatText("Error opening tank file '%s'.", path));
        return 0;
    }
    SetPath(path);
    m_bModified = 0;
    m_bCrLf = FirstLineEndsInCrLf(bytes) ? 1 : 0;
    ReadTankText(bytes, *this);
    return 1;
}

int CTankFile::Save() {
    if (!WriteFileAtomically(m_strPath, WriteTankText(*this))) {
        ShowMessage(FormatText("Error saving tank file '%s'.", m_strPath));
        return 0;
    }
    m_bModified = 0;
    return 1;
}

int CTankFile::SaveAs(const std::string& path) {
    SetPath(path);
    return Save();
}
