#include "TankFile.h"

#include "FileError.h"
#include "FileIo.h"
#include "Message.h"
#include "Schema.h"
#include "TankFileReader.h"
#include "TankFileWriter.h"
#include "TextLines.h"

#include <algorithm>
#include <exception>

CTankFile::CTankFile() : m_fields(NewFieldList()) {}

CTankFile::~CTankFile() = default;

void CTankFile::Reset() {
    m_bModified = false;
    m_bCrLf = false;
    m_bByteOrderMark = false;
    m_nEncoding = TextEncoding::Windows1252;
    for (CFieldEntry& field : m_fields)
        field.Clear();
    m_otherKeys.Clear();
    m_strPath = kUntitledName;
    m_strFileName = kUntitledName;
    m_pLines.reset();
    m_bUntitled = true;
}

CFieldEntry* CTankFile::FindField(std::string_view key, const CFieldGroup* group) {
    const int index = CSchema::Get().FindField(key, group);
    return index < 0 ? nullptr : &m_fields[static_cast<std::size_t>(index)];
}

void CTankFile::SetPath(const std::string& path) {
    m_strPath = path;
    m_strFileName = FileNameOf(path);
    m_bUntitled = false;
}

std::size_t CTankFile::UnusedLineCount() const {
    return m_pLines ? m_pLines->UnusedLineCount() : 0;
}

std::vector<CUnusedLine> CTankFile::ReportedLines() const {
    return m_pLines ? m_pLines->ReportedLines() : std::vector<CUnusedLine>{};
}

bool CTankFile::Load(const std::string& path, Lines keep) {
    if (path.empty())
        return false;
    // Everything is read into new objects first and only then swapped in, so a failure
    // part-way (a read error, memory running out on a huge file) leaves this one as it was.
    std::error_code error;
    try {
        std::string bytes;
        if (ReadWholeFile(path, bytes, error)) {
            std::vector<CFieldEntry> fields = NewFieldList();
            COtherKeys otherKeys;
            std::unique_ptr<CFileLines> lines;
            if (keep == Lines::Keep)
                lines = std::make_unique<CFileLines>(std::move(bytes));
            ReadTankText(lines ? lines->Bytes() : std::string_view(bytes), fields, lines.get(),
                         &otherKeys);
            std::string fileName = FileNameOf(path);
            std::string copy = path;
            const std::string_view read = lines ? lines->Bytes() : std::string_view(bytes);
            m_bCrLf = FirstLineEndsInCrLf(read);
            m_bByteOrderMark = read.starts_with(kUtf8ByteOrderMark);
            m_nEncoding = EncodingOfBytes(read);
            // Field by field, so that every field keeps its address for the object's life.
            std::ranges::move(fields, m_fields.begin());
            m_otherKeys = std::move(otherKeys);
            m_pLines = std::move(lines);
            m_strPath.swap(copy);
            m_strFileName.swap(fileName);
            m_bUntitled = false;
            m_bModified = false;
            return true;
        }
    } catch (const std::exception&) {
        // Memory ran out: the file is too large to edit, which is a failure like any other.
        error = FileError::TooLarge;
    }
    ShowMessage(FormatText("Error opening tank file '%s'.", path), error);
    return false;
}

bool CTankFile::Save(SaveStyle style) {
    return Write(m_strPath, style);
}

bool CTankFile::SaveAs(const std::string& path, SaveStyle style) {
    if (!Write(path, style))
        return false;
    SetPath(path);
    return true;
}

bool CTankFile::Write(const std::string& path, SaveStyle style) {
    std::error_code error;
    try {
        std::string text = Text(style);
        // What a later keeping save keeps is the file as it is now on disk.
        auto lines = std::make_unique<CFileLines>(std::move(text));
        std::vector<CFieldEntry> scratch = NewFieldList();
        ReadTankText(lines->Bytes(), scratch, lines.get());
        // The document's other keys keep their positions (views and the history refer to them),
        // removed ones included.
        lines->KeepOtherKeyPositions(m_otherKeys);
        if (WriteFileAtomically(path, lines->Bytes(), error)) {
            m_pLines = std::move(lines);
            m_bModified = false;
            return true;
        }
    } catch (const std::exception&) {
        // Memory ran out: the file is too large to edit, which is a failure like any other.
        error = FileError::TooLarge;
    }
    ShowMessage(FormatText("Error saving tank file '%s'.", path), error);
    return false;
}

std::string CTankFile::Text(SaveStyle style) const {
    if (style == SaveStyle::KeepFile && m_pLines)
        return WriteKeptText(*m_pLines, m_fields, m_otherKeys, m_bCrLf);
    return WriteTankText(m_fields, m_bCrLf, m_bByteOrderMark);
}

void CTankFile::ReadText(std::string_view bytes) {
    ReadTankText(bytes, m_fields, nullptr, &m_otherKeys);
}
