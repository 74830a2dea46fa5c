#pragma once

#include "FieldEntry.h"
#include "FieldGroup.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A tank file in memory: the whole built-in schema with a value slot and a presence flag per
// field. The same class holds the edited document and every template. Groups and fields are
// built once, in schema order, and never added, removed or moved, so a field's position is the
// same field in every instance.
class CTankFile {
public:
    CTankFile();
    virtual ~CTankFile();
    CTankFile(const CTankFile&) = delete;
    CTankFile& operator=(const CTankFile&) = delete;

    // Every field absent with cleared slots, path and file name "Untitled.odf", not modified,
    // LF line ends. The alias is kept.
    void Reset();

    // The group that a header text (from '[' through the first ']') selects: the first group
    // whose "[" + name begins the text, compared case-sensitively. nullptr when none does.
    CFieldGroup* FindGroup(std::string_view headerText) const;

    // The field named key (exactly, case-sensitively) in group; nullptr for no group or no
    // such field.
    CFieldEntry* FindField(std::string_view key, const CFieldGroup* group) const;

    // Reads the tank file at path, replacing every value. Returns 1 on success. An empty path
    // returns 0 silently; a path that is not a readable regular file, or a read error, shows
    // "Error opening tank file '%s'." and returns 0 with the object unchanged.
    int Load(const std::string& path);

    // Writes the document to m_strPath atomically. Returns 1 and clears m_bModified on success;
    // on failure shows "Error saving tank file '%s'.", returns 0 and changes nothing, the file
    // on disk included.
    int Save();

    // Takes path as m_strPath (and its file name), then Save(). The new path stays even when
    // the save fails.
    int SaveAs(const std::string& path);

    // Sets m_strPath and m_strFileName (the text after the last '/' or '\').
    void SetPath(const std::string& path);

    std::vector<std::unique_ptr<CFieldGroup>> m_groups; // owned, schema order
    std::vector<std::unique_ptr<CFieldEntry>> m_fields; // owned, schema order, all groups
    int m_bModified = 0;
    std::string m_strPath;
    std::string m_strFileName;
    std::string m_strAlias;
    int m_bCrLf = 0; // save with CR LF line ends: the loaded file's first line ended so
};

// The part of a path after its last slash or backslash; the whole path when it has neither.
std::string FileNameOf(std::string_view path);
