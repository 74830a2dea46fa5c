#pragma once

#include "FieldEntry.h"

#include <string>
#include <vector>

class CFileLines;
class COtherKeys;

// The tank file text of fields in the editor's layout: every group header in schema order, each
// followed by an empty line, the group's present fields in schema order and an empty line.
// Line ends are CR LF when crLf is set, LF otherwise; a UTF-8 byte order mark comes first when
// byteOrderMark is set.
std::string WriteTankText(const std::vector<CFieldEntry>& fields, bool crLf, bool byteOrderMark);

// The tank file text of fields as edited since they were read from lines (lines.Loaded()):
// that file's bytes, but for the lines of the fields whose value or presence changed since.
// - A changed field's last line keeps every byte but its value's text (as the reader found it),
//   which becomes the kept value (KeptValue: a number as given). A line without a usable value
//   becomes its key as the file spells it, " = " and the kept value, with that line's own line
//   end. A field whose value is equal to the one read is not changed, however it was given.
// - A removed field loses every line that set it, so that no earlier line brings it back.
// - A field set that had no line goes after the last non-blank line of the last section whose
//   header selected its group; without such a section, a new section is added at the end: a
//   blank line (unless the file is empty), the group's header and the field's line.
// - An other key whose raw value changed (otherKeys against lines.LoadedOtherKeys()) gets it in
//   place on its last line; one that is absent loses every line that set it.
// New lines end in CR LF when crLf is set, LF otherwise.
std::string WriteKeptText(const CFileLines& lines, const std::vector<CFieldEntry>& fields,
                          const COtherKeys& otherKeys, bool crLf);
