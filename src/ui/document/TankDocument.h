#pragma once

#include "FileIo.h"
#include "TankFile.h"

#include <QObject>

#include <optional>
#include <string>

class QUndoStack;

// The document the editor works on: the loaded tank file, its undo history, the user's answer
// about keeping the file's unknown lines, and what the file looked like when it was read or
// written. Views read it and change it only through undo steps (CFieldEditCommand) pushed onto
// its history, so every view follows every change by the signals below, whichever view made it.
//
// "Modified" is the history's clean state and nothing else: undoing back to what was last opened
// or saved leaves nothing to save.
class CTankDocument : public QObject {
    Q_OBJECT
public:
    explicit CTankDocument(QObject* parent = nullptr);
    ~CTankDocument() override;

    const CTankFile& File() const { return m_file; }
    const CFieldEntry& Field(int index) const {
        return m_file.m_fields[static_cast<std::size_t>(index)];
    }
    QUndoStack* UndoStack() const { return m_undoStack; }

    const std::string& Path() const { return m_file.m_strPath; }
    const std::string& FileName() const { return m_file.m_strFileName; }
    bool IsUntitled() const { return m_file.IsUntitled(); }
    // True from a successful Load until New: such a document is saved as its file, changed only
    // where the user changed it; a new one in the editor's layout.
    bool IsReadFromFile() const { return m_bReadFromFile; }
    bool IsModified() const;

    // A new document, "Untitled.odf": no history, no answer about unknown lines. Emits Replaced.
    void Reset();
    // Reads the tank file at path. On success it replaces the document as Reset does; on failure
    // (reported by the core) the document, its history and its answer stay as they were. Emits
    // Replaced either way, so that views are rebuilt from what the document now holds.
    bool Load(const std::string& path);

    // Puts value into the field of its index and emits FieldChanged. Only the undo steps call
    // this (views push a CFieldEditCommand onto UndoStack()); fromHistory tells an undo or redo
    // from the change as first made.
    void ApplyField(const CFieldEntry& value, bool fromHistory);

    // True while the field at index holds another value than when the document was last read or
    // written: undoing back to that value makes it false again.
    bool IsFieldChanged(int index) const;

    // The other key at index (a position in the file's m_otherKeys) and its raw value.
    COtherKey OtherKey(int index) const {
        return m_file.m_otherKeys.At(static_cast<std::size_t>(index));
    }
    // Gives the other key at index value, or removes it when present is false, and emits
    // OtherKeyChanged; only the undo steps call this, as ApplyField.
    void ApplyOtherKey(int index, const std::string& value, bool present, bool fromHistory);
    // As IsFieldChanged, for the other key at index.
    bool IsOtherKeyChanged(int index) const;

    // The answer about keeping unknown lines, until New or Open.
    const std::optional<SaveStyle>& SaveStyleAnswer() const { return m_saveStyle; }
    void SetSaveStyleAnswer(SaveStyle style) { m_saveStyle = style; }
    std::size_t UnusedLineCount() const { return m_file.UnusedLineCount(); }

    // True when another program has changed or removed the file since it was loaded or saved:
    // its size or its bytes differ (a new modification time alone is no change). False for a
    // document without a file, and after SaveAs gave it a path not written yet.
    bool ChangedOnDisk() const;

    // Writes the document to its path (Save) or to path, which it takes only when the write
    // succeeds (SaveAs). On success the history is marked clean and Saved is emitted; failures
    // are reported by the core and change nothing. Neither asks anything: the file commands do.
    bool Save(SaveStyle style);
    bool SaveAs(const std::string& path, SaveStyle style);

signals:
    // The field at index changed: by the user (fromHistory false) or by an undo or redo.
    void FieldChanged(int index, bool fromHistory);
    // The same for the other key at index.
    void OtherKeyChanged(int index, bool fromHistory);
    // The whole document was replaced (New, Open) or an Open failed; every view shows it anew.
    void Replaced();
    // The document gained or lost changes to save.
    void ModifiedChanged(bool modified);
    // The document took another path (Save As).
    void PathChanged();
    // The document was written; its file's lines are now those written.
    void Saved();
    // A file was read into the document (Load succeeded).
    void Opened();

private:
    // Forgets the history, the answer and the stamp's file for a document read or made anew.
    void StartAnew();
    void Stamp();
    // Takes the fields as they now are as those last read or written.
    void KeepSavedValues() {
        m_savedFields = m_file.m_fields;
        m_savedOtherKeys = m_file.m_otherKeys;
    }

    CTankFile m_file;
    QUndoStack* m_undoStack;
    std::optional<SaveStyle> m_saveStyle;
    bool m_bReadFromFile = false;
    std::string m_strStampPath; // the file m_stamp describes
    CFileStamp m_stamp;
    std::vector<CFieldEntry> m_savedFields; // each field as last read or written
    COtherKeys m_savedOtherKeys;
};
