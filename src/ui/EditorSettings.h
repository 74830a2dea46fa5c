#pragma once

#include <QString>

#include <memory>
#include <string>
#include <vector>

class QSettings;
class QWidget;

// What the editor remembers between runs, and nothing about a tank file's content: the files
// last opened or saved, where its windows were, the split of the main window, the template list
// and the tree's open groups and selected item. Kept in the settings file tarnwick.conf of one
// folder (the user's is tarnwick under the XDG configuration folder). Settings made without a
// folder read and write nothing: every value is its default.
class CEditorSettings {
public:
    // The most files Open Recent lists.
    static constexpr std::size_t kMaxRecentFiles = 10;

    CEditorSettings();
    explicit CEditorSettings(const QString& folder);
    ~CEditorSettings();
    CEditorSettings(const CEditorSettings&) = delete;
    CEditorSettings& operator=(const CEditorSettings&) = delete;

    // The user's settings folder.
    static QString UserFolder();

    // Most recent first. A path is kept whole (made absolute), so it opens from any folder.
    std::vector<std::string> RecentFiles() const;
    // Puts path first, once, dropping the oldest past kMaxRecentFiles.
    void AddRecentFile(const std::string& path);
    void RemoveRecentFile(const std::string& path);
    void ClearRecentFiles();

    std::vector<std::string> Templates() const;
    void SetTemplates(const std::vector<std::string>& paths);

    // A top-level window's size, position and maximised state, under name.
    void SaveWindow(const QString& name, const QWidget& window);
    // Gives window the size it was saved with (no larger than the screen it goes on) and its
    // position, unless that position is off every screen: the window then goes where the
    // window manager puts a new one. False when nothing was saved.
    bool RestoreWindow(const QString& name, QWidget& window) const;
    // A maximised window is shown so once the window is on screen.
    bool WasMaximised(const QString& name) const;

    // Other state of a window part, as it saves itself (a splitter's state).
    QByteArray State(const QString& key) const;
    void SetState(const QString& key, const QByteArray& state);

    // Names such as the tree's open groups, or the group and item names of its selection.
    std::vector<std::string> Names(const QString& key) const;
    void SetNames(const QString& key, const std::vector<std::string>& names);

private:
    std::unique_ptr<QSettings> m_pSettings; // none: nothing is read or written
};
