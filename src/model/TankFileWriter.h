#pragma once

#include <string>

class CTankFile;

// The tank file text of file in the program's layout: every group header in schema order,
// each followed by an empty line, the group's present fields in schema order and an empty line.
// Line ends are CR LF when file.m_bCrLf is set, LF otherwise.
std::string WriteTankText(const CTankFile& file);
