#include "TankDocument.h"

#include <QUndoStack>

CTankDocument::CTankDocument(QObject* parent) : QObject(parent), m_undoStack(new QUndoStack(this)) {
    connect(m_undoStack, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit ModifiedChanged(!clean); });
    m_file.Reset();
    KeepSavedValues();
}

CTankDocument::~CTankDocument() {
    // The history goes before the file its steps change, and tells nobody.
    m_undoStack->disconnect(this);
    delete m_undoStack;
}

bool CTankDocument::IsModified() const {
    return !m_undoStack->isClean();
}

void CTankDocument::StartAnew() {
    m_saveStyle.reset();
    // Clearing a history that was not clean makes it clean: the star goes with the old document.
    m_undoStack->clear();
    Stamp();
    KeepSavedValues();
}

void CTankDocument::Reset() {
    m_file.Reset();
    m_bReadFromFile = false;
    StartAnew();
    emit PathChanged();
    emit Replaced();
}

bool CTankDocument::Load(const std::string& path) {
    const bool loaded = m_file.Load(path);
    if (loaded) {
        m_bReadFromFile = true;
        StartAnew();
        emit PathChanged();
    }
    emit Replaced();
    if (loaded)
        emit Opened();
    return loaded;
}

void CTankDocument::ApplyField(const CFieldEntry& value, bool fromHistory) {
    m_file.m_fields[static_cast<std::size_t>(value.Index())] = value;
    emit FieldChanged(value.Index(), fromHistory);
}

void CTankDocument::ApplyOtherKey(int index, const std::string& value, bool present,
                                  bool fromHistory) {
    m_file.m_otherKeys.SetValue(static_cast<std::size_t>(index), value, present);
    emit OtherKeyChanged(index, fromHistory);
}

bool CTankDocument::IsOtherKeyChanged(int index) const {
    const COtherKey now = OtherKey(index);
    const COtherKey saved = m_savedOtherKeys.At(static_cast<std::size_t>(index));
    return now.present != saved.present || (now.present && now.value != saved.value);
}

bool CTankDocument::IsFieldChanged(int index) const {
    const auto at = static_cast<std::size_t>(index);
    return !m_file.m_fields[at].SameValueAs(m_savedFields[at]);
}

void CTankDocument::Stamp() {
    m_strStampPath = m_file.FileLines() ? m_file.m_strPath : std::string();
    m_stamp = m_strStampPath.empty() ? CFileStamp{} : StampOf(m_strStampPath);
}

bool CTankDocument::ChangedOnDisk() const {
    const CFileLines* lines = m_file.FileLines();
    if (!lines || m_strStampPath.empty() || m_strStampPath != m_file.m_strPath)
        return false;
    const CFileStamp now = StampOf(m_strStampPath);
    if (!now.m_bExists || now.m_nSize != lines->Bytes().size())
        return true;
    if (now == m_stamp)
        return false;
    // Touched, or rewritten with as many bytes: only the bytes tell.
    std::string bytes;
    std::error_code unreadable;
    return !ReadWholeFile(m_strStampPath, bytes, unreadable) || bytes != lines->Bytes();
}

bool CTankDocument::Save(SaveStyle style) {
    if (!m_file.Save(style))
        return false;
    Stamp();
    KeepSavedValues();
    m_undoStack->setClean();
    emit Saved();
    return true;
}

bool CTankDocument::SaveAs(const std::string& path, SaveStyle style) {
    if (!m_file.SaveAs(path, style))
        return false;
    emit PathChanged();
    Stamp();
    m_undoStack->setClean();
    emit Saved();
    return true;
}
