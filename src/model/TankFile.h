#pragma once

#include "FieldEntry.h"
#include "FileLines.h"
#include "OtherKeys.h"
#include "TextEncoding.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// How a document is written.
enum class SaveStyle {
    Layout,   // the editor's layout: every group in schema order with its present fields
    KeepFile, // the file it was loaded from, changed only in the lines of changed fields
};

// A tank file in memory: the whole built-in schema with a value slot and a presence flag per
// field. The same class holds the edited document and every template. Fields are made once, in
// schema order, and never added, removed or moved, so a field's position is the same field in
// every instance.
class CTankFile {
public:
    // Whether Load keeps the file's lines (the document) or only its values (templates).
    enum class Lines { Keep, Drop };

    CTankFile();
    virtual ~CTankFile();
    CTankFile(const CTankFile&) = delete;
    CTankFile& operator=(const CTankFile&) = delete;

    // Every field absent with cleared slots, path and file name "Untitled.odf" (a document never
    // saved), not modified, LF line ends without a byte order mark, Windows-1252, no file lines.
    // The alias is kept.
    void Reset();

    // The field of group named key, ignoring ASCII case; nullptr for no group or no such field.
    CFieldEntry* FindField(std::string_view key, const CFieldGroup* group);

    // Reads the tank file at path, replacing every value, and with Lines::Keep keeps its lines
    // for a keeping save. An empty path fails silently; a path that is not a readable regular
    // file, a read error or a file too large for memory shows "Error opening tank file '%s'."
    // with the reason and fails with the object unchanged.
    bool Load(const std::string& path, Lines lines = Lines::Keep);

    // Writes the document to m_strPath atomically, in the given style, and clears m_bModified;
    // the written file becomes the one a keeping save keeps. On failure shows "Error saving tank
    // file '%s'." with the reason and changes nothing, the file on disk included.
    bool Save(SaveStyle style = SaveStyle::Layout);

    // Writes the document to path as Save(style) does, and on success takes path as m_strPath
    // (and its file name). A failed save leaves the path as it was.
    bool SaveAs(const std::string& path, SaveStyle style = SaveStyle::Layout);

    // The text that Save(style) writes: the editor's layout, or the file's own lines with only
    // the changed fields' text changed (the layout when there is no file).
    std::string Text(SaveStyle style = SaveStyle::Layout) const;

    // Reads tank file text into the values (fields and other keys) alone: path, flags, lines and
    // alias stay.
    void ReadText(std::string_view bytes);

    // Sets m_strPath and m_strFileName (the text after the last '/' or '\').
    void SetPath(const std::string& path);

    // True from Reset until the document gets a path of its own (Load, SaveAs).
    bool IsUntitled() const { return m_bUntitled; }

    // The file last loaded or saved with its lines; nullptr for a new document or a template.
    const CFileLines* FileLines() const { return m_pLines.get(); }
    // Lines of that file that the editor's layout would drop; none without a file.
    std::size_t UnusedLineCount() const;
    // Those lines and the lines whose value is read unlike it looks (CFileLines::ReportedLines).
    std::vector<CUnusedLine> ReportedLines() const;
    // The name a template goes by where it is listed: its alias, or else its file name.
    const std::string& Label() const { return m_strAlias.empty() ? m_strFileName : m_strAlias; }

    std::vector<CFieldEntry> m_fields; // schema order, all groups (CSchema holds the groups)
    // The keys the file sets that the schema does not know, in file order. They keep their
    // positions for the object's life, until the next Load or Reset: a removed one stays, absent.
    COtherKeys m_otherKeys;
    bool m_bModified = false;
    std::string m_strPath;
    std::string m_strFileName;
    std::string m_strAlias;
    bool m_bCrLf = false;          // save with CR LF line ends: the loaded file's first line did
    bool m_bByteOrderMark = false; // the loaded file began with a UTF-8 byte order mark
    // What the user's text goes into the document as, decided once by Load (EncodingOfBytes).
    TextEncoding m_nEncoding = TextEncoding::Windows1252;

private:
    // Writes the document to path atomically in style, as Save describes.
    bool Write(const std::string& path, SaveStyle style);

    std::unique_ptr<CFileLines> m_pLines;
    bool m_bUntitled = false;
};

// The name of a document that has never been saved.
inline constexpr const char* kUntitledName = "Untitled.odf";
