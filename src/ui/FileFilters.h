#pragma once

// The filters of the file dialogs, in Qt's form.
inline constexpr const char* kTankFilter = "Tank Files (*.odf);;All Files (*)";
inline constexpr const char* kSetFilter = "Text Files (*.txt);;All Files (*)";
