#pragma once

#include <functional>
#include <string>
#include <vector>

class CAliasTable;
class CTemplateList;
class QWidget;

// Loads each of paths as a new last template, in order, with the messages of a failed load; a
// path of a file that is a template already is passed over.
// Once loading has taken half a second a progress dialog names the file being loaded; cancelling it
// stops before the next file and keeps the templates already loaded. onLoaded hears the path of
// every template that loaded, onFailed that of every file tried that did not, after its messages.
// Returns how many loaded.
int LoadTemplatesWithProgress(QWidget* parent, CTemplateList& templates,
                              const CAliasTable& aliasTable, const std::vector<std::string>& paths,
                              const std::function<void(const std::string&)>& onLoaded = {},
                              const std::function<void(const std::string&)>& onFailed = {});
