#pragma once

#include <string>
#include <string_view>
#include <vector>

// A template set file lists one tank file path a line, in template order.

// Reads the paths of the set file at path, line by line (blank lines, empty or of blanks and
// tabs, are skipped; a last line without a line end counts), each as TemplatePathIn gives it. On
// failure shows "Error opening template set file '%s'" with the reason and returns false with paths
// untouched.
bool ReadTemplateSetFile(const std::string& path, std::vector<std::string>& paths);

// Where the template that line of the set file at setPath names is opened: line itself when it
// is empty, absolute or names something from the current folder; else, when the set file's own
// folder holds it, its path there (made absolute, so that a set saved elsewhere still finds it);
// else line, so that the failure names what the file says.
std::string TemplatePathIn(const std::string& setPath, const std::string& line);

// The paths of set file text: one a line, without line ends; blank lines are skipped.
std::vector<std::string> ParseTemplateSetText(std::string_view bytes);

// Writes paths to the set file at path atomically, each followed by LF. On failure shows
// "Error writing template set file '%s'" with the reason and returns false; the old file stays
// as it was.
bool WriteTemplateSetFile(const std::string& path, const std::vector<std::string>& paths);
